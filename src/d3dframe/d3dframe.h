// CD3DFramework7: everything the program draws with — the DirectDraw object, the front and
// back buffers (and a left back buffer in stereo), the z-buffer, the Direct3D object and the
// device with its viewport. Opened for one device and mode, windowed or full screen (display
// modes are emulated: a full-screen device renders at the mode's size and depth and the
// present step scales it to the screen); closed before the device or mode changes. Failures
// come back as FWERR_ codes with a debug line on the debug channel.
#pragma once

#include "platform/graphics/direct3d.h"
#include "platform/window/window.h"

inline constexpr DWORD FW_FULLSCREEN = 0x1;
inline constexpr DWORD FW_STEREO = 0x2;
inline constexpr DWORD FW_ZBUFFER = 0x4;
inline constexpr DWORD FW_NO_FPU_SETUP = 0x8;

class CD3DFramework7 {
public:
    CD3DFramework7() = default;
    ~CD3DFramework7();
    CD3DFramework7(const CD3DFramework7&) = delete;
    CD3DFramework7& operator=(const CD3DFramework7&) = delete;

    // driver: none for the primary display; mode: may be none when windowed.
    HRESULT OpenDevice(HWND window, GUID* driver, GUID* device_type, DDSURFACEDESC2* mode, DWORD flags);
    HRESULT CloseDevice();
    HRESULT PresentFrame();
    HRESULT RestoreLostSurfaces();
    void MoveScreenRect(int x, int y);
    HRESULT ShowGdiSurface(bool redraw_frame);

    // No reference is added.
    IDirectDraw7* GetDirectDraw() const { return directdraw; }
    IDirect3D7* GetDirect3D() const { return direct3d; }
    IDirect3DDevice7* GetD3DDevice() const { return device; }
    IDirectDrawSurface7* GetRenderSurface() const { return back_buffer; }
    IDirectDrawSurface7* GetRenderSurfaceLeft() const { return back_buffer_left; }
    IDirectDrawSurface7* GetFrontBuffer() const { return front_buffer; }
    IDirectDrawSurface7* GetZBuffer() const { return zbuffer; }
    bool Is_Fullscreen() const { return is_fullscreen; }
    bool Is_Stereo() const { return is_stereo; }
    DWORD Render_Width() const { return render_width; }
    DWORD Render_Height() const { return render_height; }
    const RECT& Screen_Rect() const { return screen_rect; }
    DWORD Device_Memory_Type() const { return device_memory_type; }

private:
    HRESULT Create_DirectDraw(GUID* driver, DWORD flags);
    HRESULT Create_Fullscreen_Buffers(DDSURFACEDESC2* mode);
    HRESULT Create_Windowed_Buffers();
    HRESULT Create_Direct3D(GUID* device_type);
    HRESULT Create_ZBuffer(GUID* device_type);
    HRESULT Surface_Failure(HRESULT code, HRESULT fallback, const char* message);

    HWND hwnd = nullptr;
    bool is_fullscreen = false;
    bool is_stereo = false;
    DWORD render_width = 0;
    DWORD render_height = 0;
    RECT screen_rect{};
    IDirectDraw7* directdraw = nullptr;
    IDirect3D7* direct3d = nullptr;
    IDirect3DDevice7* device = nullptr;
    IDirectDrawSurface7* front_buffer = nullptr;
    IDirectDrawSurface7* back_buffer = nullptr;
    IDirectDrawSurface7* back_buffer_left = nullptr;
    IDirectDrawSurface7* zbuffer = nullptr;
    DWORD device_memory_type = 0;
};

// A surface's pixels as the present step takes them (no copy: valid while the surface is).
Frame_Pixels Frame_Pixels_Of(IDirectDrawSurface7* surface);
