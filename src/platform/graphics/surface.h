// The surface (IDirectDrawSurface7): a rectangle of pixels in one pixel format, in aligned
// memory the surface owns. The program locks it to read or write pixels, fills and copies
// with Blt, draws text through GetDC, and the device renders into it or samples it.
//
// Memory: rows are Pitch() bytes apart; the pitch is a multiple of 16 and the first byte is
// 64-byte aligned, so SIMD code may use aligned loads on row starts. New surfaces are black.
// A surface is made only by IDirectDraw7::CreateSurface and lives while references remain.
#pragma once

#include "platform/graphics/palette.h"
#include "platform/graphics/pixel_format.h"
#include "platform/graphics/ref_counted.h"

#include <cstdint>
#include <memory>
#include <vector>

class IDirectDraw7;

class IDirectDrawSurface7 : public Ref_Counted {
public:
    // What CreateSurface decided: size, format and caps of the new surface.
    struct Shape {
        DWORD Width = 0;
        DWORD Height = 0;
        DDPIXELFORMAT Format{};
        DDSCAPS2 Caps{};
        DWORD Texture_Stage = 0;
        bool Has_Texture_Stage = false;
    };
    // Null with *result set when the memory cannot be had (DDERR_OUTOFMEMORY, or
    // DDERR_OUTOFVIDEOMEMORY for video-memory surfaces).
    static IDirectDrawSurface7* Create(IDirectDraw7* owner, const Shape& shape, HRESULT* result);

    // rect may be null (whole surface); desc->dwSize must be 124 or sizeof(DDSURFACEDESC2).
    HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event);
    HRESULT Unlock(RECT* rect);
    // Colour fill (DDBLT_COLORFILL, fx->dwFillColor is a pixel value of this surface's format),
    // depth fill (DDBLT_DEPTHFILL) or copy from source: nearest-pixel scaling where the rectangles
    // differ in size, conversion where the formats differ. Null rectangles mean whole surfaces.
    HRESULT Blt(RECT* dest_rect, IDirectDrawSurface7* source, RECT* source_rect, DWORD flags, DDBLTFX* fx);
    // Swaps the pixels of this front buffer with its back buffer (or the given target).
    HRESULT Flip(IDirectDrawSurface7* target, DWORD flags);
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc);
    HRESULT GetPixelFormat(DDPIXELFORMAT* format);
    HRESULT GetCaps(DDSCAPS2* caps);
    HRESULT SetPalette(IDirectDrawPalette* palette);
    HRESULT GetPalette(IDirectDrawPalette** palette);
    HRESULT SetClipper(IDirectDrawClipper* clipper);
    HRESULT GetDC(HDC* dc);
    HRESULT ReleaseDC(HDC dc);
    // The first attached surface whose caps include all the asked caps (reference added).
    HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** attached);
    // Attaches a z-buffer (the only kind the program attaches); a reference is kept.
    HRESULT AddAttachedSurface(IDirectDrawSurface7* surface);
    HRESULT DeleteAttachedSurface(DWORD flags, IDirectDrawSurface7* surface);
    // The DirectDraw object that made the surface (reference added).
    HRESULT GetDDInterface(IDirectDraw7** directdraw);
    HRESULT IsLost();
    HRESULT Restore();

    // ---- Direct access for the devices, the GDI layer and the presenters (no lock needed).
    DWORD Width() const { return Surface_Shape.Width; }
    DWORD Height() const { return Surface_Shape.Height; }
    LONG Pitch() const { return Row_Pitch; }
    // The writable pixels: asking for them counts as a change (see Revision).
    uint8_t* Bits()
    {
        Mark_Changed();
        return Memory.get();
    }
    const uint8_t* Bits() const { return Memory.get(); }
    const DDPIXELFORMAT& Format() const { return Surface_Shape.Format; }
    DWORD Caps() const { return Surface_Shape.Caps.dwCaps; }
    // The attached palette's colours, or null when none is attached.
    const Palette_Colours* Palette() const;
    bool Is_Locked() const { return Lock_Count > 0; }
    // Changes whenever the pixels or the attached palette may have changed: on every Lock,
    // Unlock, Blt, Flip, GetDC, Restore, SetPalette, palette entry change and request for
    // writable Bits(). A device that renders into the surface marks it when it has drawn.
    // Copies of the pixels (a device's widened texture) stay valid while it is unchanged.
    uint64_t Revision() const;
    void Mark_Changed() { Pixels_Revision = Next_Revision(); }
    // Makes the surface lost, as a display change does on the original platform: Lock, Blt and
    // GetDC fail with DDERR_SURFACELOST until Restore (tests of the restore paths use it).
    void Mark_Lost() { Lost = true; }

private:
    struct Aligned_Free {
        void operator()(uint8_t* p) const;
    };

    IDirectDrawSurface7(IDirectDraw7* owner, const Shape& shape);
    ~IDirectDrawSurface7() override;

    bool Inside(const RECT& r) const;
    HRESULT Fill(const RECT& r, DWORD value);
    HRESULT Copy_From(const RECT& dest, IDirectDrawSurface7& source, const RECT& src);
    void Fill_Description(DDSURFACEDESC2* desc) const;

    IDirectDraw7* Owner;
    Shape Surface_Shape;
    LONG Row_Pitch = 0;
    std::unique_ptr<uint8_t, Aligned_Free> Memory;
    IDirectDrawPalette* Attached_Palette = nullptr;
    IDirectDrawClipper* Attached_Clipper = nullptr;
    std::vector<IDirectDrawSurface7*> Attached;
    uint64_t Pixels_Revision = Next_Revision();
    int Lock_Count = 0;
    bool DC_Held = false;
    bool Lost = false;
};
