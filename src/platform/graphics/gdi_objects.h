// Inside the GDI layer: the objects behind the handles (bitmaps, fonts), the device context
// with its drawing state, and the handle registry that lets every call refuse a handle that is
// not (or no longer) a live object instead of touching freed memory.
#pragma once

#include "platform/graphics/bmp_reader.h"
#include "platform/graphics/gdi.h"
#include "platform/graphics/surface.h"

#include <vector>

struct Gdi_Object {
    enum class Kind { Bitmap, Font };
    explicit Gdi_Object(Kind kind) : Type(kind) {}
    virtual ~Gdi_Object() = default;
    Kind Type;
    bool Stock = false;
    int Holders = 0; // device-context states (current or saved) that have it selected
};

struct Bitmap_Object : Gdi_Object {
    Bitmap_Object() : Gdi_Object(Kind::Bitmap) {}
    Bmp_Image Image;
};

struct Font_Object : Gdi_Object {
    Font_Object() : Gdi_Object(Kind::Font) {}
    LOGFONTA Font{};
};

// Registers a new object and returns its handle; Gdi_Find answers null for anything that is not
// a live object of that kind.
HGDIOBJ Gdi_Register(Gdi_Object* object);
Gdi_Object* Gdi_Find(HGDIOBJ handle);
Bitmap_Object* Gdi_Find_Bitmap(HGDIOBJ handle);
Font_Object* Gdi_Find_Font(HGDIOBJ handle);

struct Dc_State {
    int Map_Mode = MM_TEXT;
    POINT Window_Org{0, 0};
    POINT Viewport_Org{0, 0};
    SIZE Window_Ext{1, 1};
    SIZE Viewport_Ext{1, 1};
    int Graphics_Mode = GM_COMPATIBLE;
    XFORM World{1, 0, 0, 1, 0, 0};
    COLORREF Text_Colour = 0;
    COLORREF Back_Colour = 0xFFFFFF;
    int Back_Mode = OPAQUE;
    Font_Object* Font = nullptr;
    Bitmap_Object* Bitmap = nullptr;
};

// A device context: on a surface (from IDirectDrawSurface7::GetDC) or in memory with a bitmap.
struct HDC__ {
    IDirectDrawSurface7* Surface = nullptr;  // surface DCs
    Bitmap_Object* Default_Bitmap = nullptr; // memory DCs: the 1 × 1 bitmap they start with
    Dc_State State;
    std::vector<Dc_State> Saved;

    int Device_Width() const;
    int Device_Height() const;
    // Logical → device and back, through the world transform and the page mapping.
    void To_Device(double x, double y, double& dx, double& dy) const;
    void To_Logical(double dx, double dy, double& x, double& y) const;
    // Device units per logical unit along y (for font heights).
    double Vertical_Scale() const;
};

// Checks a handle against the live device contexts.
HDC__* Gdi_Find_DC(HDC dc);

// For IDirectDrawSurface7::GetDC / ReleaseDC.
HDC Gdi_Create_Surface_DC(IDirectDrawSurface7* surface);
bool Gdi_Delete_Surface_DC(HDC dc, IDirectDrawSurface7* surface);

// The stock system font (created on first use).
Font_Object* Gdi_System_Font();
