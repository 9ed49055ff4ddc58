// The framework's surfaces, device, z-buffer and present step.
#include "d3dframe/d3dframe.h"

#include "d3dframe/d3dutil.h"
#include "d3dframe/debug_trace.h"
#include "d3dframe/framework_error.h"
#include "platform/graphics/dd_codes.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/pixel_format.h"
#include "platform/window/window.h"

#include <cstring>

namespace {

constexpr const char* Source_Name = "d3dframe\\d3dframe";

// The back buffer of a windowed device takes the desktop's depth in a format the devices can
// render into: 16 bits 5-6-5, 15 bits X1-5-5-5, 24 and 32 bits X8R8G8B8.
DDPIXELFORMAT Windowed_Format(DWORD desktop_bits)
{
    if (desktop_bits == 16)
        return Make_Pixel_Format(Pixel_Layout::R5G6B5);
    if (desktop_bits == 15)
        return Make_Pixel_Format(Pixel_Layout::X1R5G5B5);
    return Make_Pixel_Format(Pixel_Layout::X8R8G8B8);
}

struct Z_Format_Search {
    DDPIXELFORMAT* format;
    DWORD depth;
    bool found;
};

HRESULT Accept_Z_Format(DDPIXELFORMAT* offered, void* context)
{
    auto* search = static_cast<Z_Format_Search*>(context);
    if (offered->dwRGBBitCount != search->depth)
        return D3DENUMRET_OK;
    std::memcpy(search->format, offered, sizeof(DDPIXELFORMAT));
    search->found = true;
    return D3DENUMRET_CANCEL;
}

} // namespace

Frame_Pixels Frame_Pixels_Of(IDirectDrawSurface7* surface)
{
    Frame_Pixels frame;
    frame.Pixels = surface->Bits();
    frame.Pitch = surface->Pitch();
    frame.Width = static_cast<int>(surface->Width());
    frame.Height = static_cast<int>(surface->Height());
    frame.Bits_Per_Pixel = static_cast<int>(surface->Format().dwRGBBitCount);
    frame.Green_Mask = surface->Format().dwGBitMask;
    return frame;
}

CD3DFramework7::~CD3DFramework7()
{
    CloseDevice();
}

HRESULT CD3DFramework7::OpenDevice(HWND window, GUID* driver, GUID* device_type, DDSURFACEDESC2* mode,
                                   DWORD flags)
{
    bool fullscreen = (flags & FW_FULLSCREEN) != 0;
    if (!window || !device_type || (fullscreen && !mode))
        return E_INVALIDARG;
    hwnd = window;
    is_fullscreen = fullscreen;
    is_stereo = (flags & FW_STEREO) && fullscreen && (mode->ddsCaps.dwCaps2 & DDSCAPS2_STEREOSURFACELEFT);
    device_memory_type = (*device_type == IID_IDirect3DHALDevice || *device_type == IID_IDirect3DTnLHalDevice)
                             ? DDSCAPS_VIDEOMEMORY
                             : DDSCAPS_SYSTEMMEMORY;

    HRESULT result = Create_DirectDraw(driver, flags);
    if (SUCCEEDED(result))
        result = is_fullscreen ? Create_Fullscreen_Buffers(mode) : Create_Windowed_Buffers();
    if (SUCCEEDED(result))
        result = Create_Direct3D(device_type);
    if (SUCCEEDED(result) && (flags & FW_ZBUFFER))
        result = Create_ZBuffer(device_type);
    if (FAILED(result)) {
        CloseDevice();
        return result;
    }
    return S_OK;
}

HRESULT CD3DFramework7::Create_DirectDraw(GUID* driver, DWORD flags)
{
    void* object = nullptr;
    if (FAILED(DirectDrawCreateEx(driver, &object, IID_IDirectDraw7, nullptr))) {
        DEBUG_MSG(Source_Name, "Could not create DirectDraw");
        return FWERR_NO_DIRECTDRAW;
    }
    directdraw = static_cast<IDirectDraw7*>(object);
    DWORD level = is_fullscreen ? DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT : DDSCL_NORMAL;
    if (!(flags & FW_NO_FPU_SETUP))
        level |= DDSCL_FPUSETUP;
    if (FAILED(directdraw->SetCooperativeLevel(hwnd, level))) {
        DEBUG_MSG(Source_Name, "Couldn't set coop level");
        return FWERR_NO_COOP_LEVEL;
    }
    DDSURFACEDESC2 desktop;
    D3DUtil_InitSurfaceDesc(desktop);
    if (FAILED(directdraw->GetDisplayMode(&desktop)) || desktop.ddpfPixelFormat.dwRGBBitCount <= 8)
        return FWERR_DESKTOP_TOO_FEW_COLOURS;
    return S_OK;
}

HRESULT CD3DFramework7::Surface_Failure(HRESULT code, HRESULT fallback, const char* message)
{
    DEBUG_ERR(Source_Name, code, message);
    if (code == DDERR_OUTOFVIDEOMEMORY) {
        DEBUG_MSG(Source_Name, "Error: Out of video memory");
        return code;
    }
    return fallback;
}

HRESULT CD3DFramework7::Create_Fullscreen_Buffers(DDSURFACEDESC2* mode)
{
    screen_rect = {0, 0, static_cast<LONG>(mode->dwWidth), static_cast<LONG>(mode->dwHeight)};
    render_width = mode->dwWidth;
    render_height = mode->dwHeight;
    DWORD bits = mode->ddpfPixelFormat.dwRGBBitCount;
    DWORD vga = (mode->dwWidth == 320 && mode->dwHeight == 200 && bits == 8) ? DDSDM_STANDARDVGAMODE : 0;
    if (FAILED(directdraw->SetDisplayMode(mode->dwWidth, mode->dwHeight, bits, mode->dwRefreshRate, vga))) {
        DEBUG_MSG(Source_Name, "Can't set display mode");
        return FWERR_BAD_DISPLAY_MODE;
    }

    DDSURFACEDESC2 desc;
    D3DUtil_InitSurfaceDesc(desc, DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                            DDSCAPS_PRIMARYSURFACE | DDSCAPS_3DDEVICE | DDSCAPS_FLIP | DDSCAPS_COMPLEX);
    desc.dwBackBufferCount = 1;
    if (is_stereo) {
        desc.ddsCaps.dwCaps |= DDSCAPS_VIDEOMEMORY;
        desc.ddsCaps.dwCaps2 |= DDSCAPS2_STEREOSURFACELEFT;
    }
    HRESULT result = directdraw->CreateSurface(&desc, &front_buffer);
    if (FAILED(result))
        return Surface_Failure(result, FWERR_NO_PRIMARY, "Error: Can't create primary surface");

    // GetAttachedSurface gives the back buffer its own reference: the one this object owns.
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    result = front_buffer->GetAttachedSurface(&caps, &back_buffer);
    if (FAILED(result)) {
        DEBUG_ERR(Source_Name, result, "Error: Can't get the backbuffer");
        return FWERR_NO_BACKBUFFER;
    }
    if (is_stereo) {
        DDSCAPS2 left{};
        left.dwCaps2 = DDSCAPS2_STEREOSURFACELEFT;
        result = back_buffer->GetAttachedSurface(&left, &back_buffer_left);
        if (FAILED(result)) {
            DEBUG_ERR(Source_Name, result, "Error: Can't get the left backbuffer");
            return FWERR_NO_BACKBUFFER;
        }
    }
    return S_OK;
}

HRESULT CD3DFramework7::Create_Windowed_Buffers()
{
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT top_left{client.left, client.top}, bottom_right{client.right, client.bottom};
    ClientToScreen(hwnd, &top_left);
    ClientToScreen(hwnd, &bottom_right);
    screen_rect = {top_left.x, top_left.y, bottom_right.x, bottom_right.y};
    render_width = static_cast<DWORD>(std::max<LONG>(screen_rect.right - screen_rect.left, 0));
    render_height = static_cast<DWORD>(std::max<LONG>(screen_rect.bottom - screen_rect.top, 0));

    DDSURFACEDESC2 desc;
    D3DUtil_InitSurfaceDesc(desc, DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    HRESULT result = directdraw->CreateSurface(&desc, &front_buffer);
    if (FAILED(result))
        return Surface_Failure(result, FWERR_NO_PRIMARY, "Error: Can't create primary surface");

    IDirectDrawClipper* clipper = nullptr;
    if (FAILED(directdraw->CreateClipper(0, &clipper))) {
        DEBUG_MSG(Source_Name, "Error: Couldn't create clipper");
        return FWERR_NO_CLIPPER;
    }
    clipper->SetHWnd(0, hwnd);
    front_buffer->SetClipper(clipper);
    clipper->Release();

    DDSURFACEDESC2 desktop;
    D3DUtil_InitSurfaceDesc(desktop);
    directdraw->GetDisplayMode(&desktop);
    D3DUtil_InitSurfaceDesc(desc, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT,
                            DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
    desc.dwWidth = render_width;
    desc.dwHeight = render_height;
    desc.ddpfPixelFormat = Windowed_Format(desktop.ddpfPixelFormat.dwRGBBitCount);
    result = directdraw->CreateSurface(&desc, &back_buffer);
    if (FAILED(result))
        return Surface_Failure(result, FWERR_NO_BACKBUFFER, "Error: Couldn't create the backbuffer");
    return S_OK;
}

HRESULT CD3DFramework7::Create_Direct3D(GUID* device_type)
{
    if (FAILED(Query_Direct3D7(directdraw, &direct3d))) {
        DEBUG_MSG(Source_Name, "Couldn't get the Direct3D interface");
        return FWERR_NO_DIRECT3D;
    }
    if (FAILED(direct3d->CreateDevice(*device_type, back_buffer, &device))) {
        DEBUG_MSG(Source_Name, "Couldn't create the D3DDevice");
        return FWERR_NO_DEVICE;
    }
    D3DVIEWPORT7 viewport{0, 0, render_width, render_height, 0.0f, 1.0f};
    if (FAILED(device->SetViewport(&viewport))) {
        DEBUG_MSG(Source_Name, "Error: Couldn't set current viewport to device");
        return FWERR_NO_VIEWPORT;
    }
    return S_OK;
}

HRESULT CD3DFramework7::Create_ZBuffer(GUID* device_type)
{
    D3DDEVICEDESC7 caps;
    device->GetCaps(&caps);
    if (caps.dpcTriCaps.dwRasterCaps & D3DPRASTERCAPS_ZBUFFERLESSHSR)
        return S_OK;

    DDSURFACEDESC2 desc;
    D3DUtil_InitSurfaceDesc(desc);
    back_buffer->GetSurfaceDesc(&desc);
    desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_CAPS | DDSD_PIXELFORMAT;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | device_memory_type;
    desc.ddsCaps.dwCaps2 = 0;
    Z_Format_Search search{&desc.ddpfPixelFormat, desc.ddpfPixelFormat.dwRGBBitCount, false};
    direct3d->EnumZBufferFormats(*device_type, Accept_Z_Format, &search);
    if (!search.found) {
        search.depth = 16;
        direct3d->EnumZBufferFormats(*device_type, Accept_Z_Format, &search);
    }
    if (!search.found) {
        DEBUG_MSG(Source_Name, "Device doesn't support requested zbuffer format");
        return FWERR_NO_ZBUFFER;
    }
    HRESULT result = directdraw->CreateSurface(&desc, &zbuffer);
    if (FAILED(result))
        return Surface_Failure(result, FWERR_NO_ZBUFFER, "Error: Couldn't create a ZBuffer surface");
    if (FAILED(back_buffer->AddAttachedSurface(zbuffer))) {
        DEBUG_MSG(Source_Name, "Error: Couldn't attach zbuffer to render surface");
        return FWERR_NO_ZBUFFER;
    }
    if (is_stereo && FAILED(back_buffer_left->AddAttachedSurface(zbuffer))) {
        DEBUG_MSG(Source_Name, "Error: Couldn't attach zbuffer to left render surface");
        return FWERR_NO_ZBUFFER;
    }
    if (FAILED(device->SetRenderTarget(back_buffer, 0))) {
        DEBUG_MSG(Source_Name, "Error: SetRenderTarget() failed after attaching zbuffer!");
        return FWERR_NO_ZBUFFER;
    }
    return S_OK;
}

HRESULT CD3DFramework7::CloseDevice()
{
    if (directdraw)
        directdraw->SetCooperativeLevel(hwnd, DDSCL_NORMAL);
    bool referenced = false;
    if (device && device->Release() > 0) {
        DEBUG_MSG(Source_Name, "Error: D3DDevice object is still referenced!");
        referenced = true;
    }
    device = nullptr;
    Safe_Release(back_buffer);
    Safe_Release(back_buffer_left);
    Safe_Release(zbuffer);
    Safe_Release(front_buffer);
    Safe_Release(direct3d);
    if (directdraw && directdraw->Release() > 0) {
        DEBUG_MSG(Source_Name, "Error: DDraw object is still referenced!");
        referenced = true;
    }
    directdraw = nullptr;
    return referenced ? FWERR_REFCOUNT_LEFT : S_OK;
}

HRESULT CD3DFramework7::PresentFrame()
{
    if (!front_buffer)
        return FWERR_NOT_OPEN;
    if (is_fullscreen) {
        HRESULT result = front_buffer->Flip(nullptr, is_stereo ? DDFLIP_WAIT | DDFLIP_STEREO : DDFLIP_WAIT);
        if (FAILED(result))
            return result;
        // The emulated mode fills the screen, keeping its aspect.
        Frame_Pixels frame = Frame_Pixels_Of(front_buffer);
        frame.Keep_Aspect = true;
        return Present_Frame(hwnd, &frame) ? S_OK : DDERR_GENERIC;
    }
    // Windowed, the back buffer goes straight to the window's client area, which stands in
    // for the blit into the primary surface.
    const Frame_Pixels frame = Frame_Pixels_Of(back_buffer);
    return Present_Frame(hwnd, &frame) ? S_OK : DDERR_GENERIC;
}

HRESULT CD3DFramework7::RestoreLostSurfaces()
{
    if (directdraw)
        directdraw->RestoreAllSurfaces();
    return S_OK;
}

void CD3DFramework7::MoveScreenRect(int x, int y)
{
    if (is_fullscreen)
        return;
    screen_rect = {x, y, x + static_cast<LONG>(render_width), y + static_cast<LONG>(render_height)};
}

HRESULT CD3DFramework7::ShowGdiSurface(bool)
{
    // Redrawing the window's frame and menu bar is the window backend's business here.
    if (is_fullscreen && directdraw)
        directdraw->FlipToGDISurface();
    return S_OK;
}
