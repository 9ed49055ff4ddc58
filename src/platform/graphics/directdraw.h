// The DirectDraw object (IDirectDraw7): makes surfaces, palettes and clippers, answers the
// display mode (the desktop's, from platform/system/display_mode.h), and keeps the cooperative
// level. Display modes are emulated, never switched:
// SetDisplayMode records the mode a full-screen device renders at (the presenter scales it to
// the screen), GetDisplayMode answers it, and without one the desktop's mode.
//
// Every surface holds a reference to the DirectDraw object that made it, so the object outlives
// its surfaces and a reference count left at close means surfaces are still alive.
#pragma once

#include "platform/graphics/display_modes.h"
#include "platform/graphics/palette.h"
#include "platform/graphics/surface.h"
#include "platform/system/display_mode.h"

#include <vector>

extern const GUID IID_IDirectDraw7;

class IDirectDraw7 : public Ref_Counted {
public:
    IDirectDraw7() = default;

    HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, void* outer = nullptr);
    HRESULT CreatePalette(DWORD flags, PALETTEENTRY* entries, IDirectDrawPalette** palette,
                          void* outer = nullptr);
    HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, void* outer = nullptr);
    HRESULT GetDisplayMode(DDSURFACEDESC2* desc);
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bits_per_pixel, DWORD refresh_rate, DWORD flags);
    HRESULT RestoreDisplayMode();
    HRESULT EnumDisplayModes(DWORD flags, DDSURFACEDESC2* filter, void* context,
                             LPDDENUMMODESCALLBACK2 callback);
    HRESULT SetCooperativeLevel(HWND window, DWORD flags);
    HRESULT TestCooperativeLevel();
    HRESULT RestoreAllSurfaces();
    HRESULT FlipToGDISurface();
    HRESULT GetCaps(DDCAPS* driver_caps, DDCAPS* emulation_caps);

    // ---- Ours.
    DWORD Cooperative_Level() const { return Level; }
    HWND Cooperative_Window() const { return Level_Window; }
    // True while SetDisplayMode's emulated mode is in force.
    bool Mode_Set() const { return Has_Set_Mode; }
    // The next CreateSurface fails with this code (tests of the failure paths).
    void Inject_Create_Surface_Failure(HRESULT code) { Next_Create_Failure = code; }
    // TestCooperativeLevel answers this code until set back to DD_OK (tests of the frame loop).
    void Simulate_Cooperative_Result(HRESULT code) { Cooperative_Result = code; }

    // Surfaces register themselves so RestoreAllSurfaces can reach them.
    void Register_Surface(IDirectDrawSurface7* surface);
    void Unregister_Surface(IDirectDrawSurface7* surface);

private:
    ~IDirectDraw7() override = default;
    bool Current_Mode(Screen_Mode* mode);
    HRESULT Create_Primary(const DDSURFACEDESC2& desc, IDirectDrawSurface7** surface);
    HRESULT Create_Plain(const DDSURFACEDESC2& desc, IDirectDrawSurface7** surface);

    DWORD Level = 0;
    HWND Level_Window = nullptr;
    bool Has_Set_Mode = false;
    Screen_Mode Set_Mode{};
    HRESULT Next_Create_Failure = DD_OK;
    HRESULT Cooperative_Result = DD_OK;
    std::vector<IDirectDrawSurface7*> Surfaces;
};

// The pixel format of a display depth: 8 palettised, 15 X1-5-5-5, 16 5-6-5, 24 R8G8B8,
// 32 X8R8G8B8. False for other depths.
bool Display_Pixel_Format(DWORD bits_per_pixel, DDPIXELFORMAT* format);

// driver must be null (the primary display is the only driver); iid must be IID_IDirectDraw7.
HRESULT DirectDrawCreateEx(GUID* driver, void** directdraw, REFIID iid, void* outer);

using LPDDENUMCALLBACKEXA = BOOL (*)(GUID* driver, char* description, char* name, void* context,
                                     void* monitor);
// Offers the one display driver: no GUID, "Primary Display Driver", "display".
HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, void* context, DWORD flags);
