// The DirectDraw object: surface and palette creation, emulated display modes, cooperative level.
#include "platform/graphics/directdraw.h"
#include "platform/window/window.h"

#include <algorithm>
#include <cstring>
#include <new>

// Identifier of the DirectDraw 7 interface (our own value; only equality matters).
const GUID IID_IDirectDraw7 = {0x4C0D3A01, 0x7A51, 0x4C6E, {0x9A, 0x10, 0x4C, 0x75, 0x63, 0x69, 0x76, 0x01}};

namespace {

// Surfaces larger than this on a side are refused as invalid requests.
constexpr DWORD Max_Surface_Side = 16384;

} // namespace

bool Display_Pixel_Format(DWORD bits, DDPIXELFORMAT* format)
{
    switch (bits) {
    case 8:
        *format = Make_Pixel_Format(Pixel_Layout::P8);
        return true;
    case 15:
        *format = Make_Pixel_Format(Pixel_Layout::X1R5G5B5);
        return true;
    case 16:
        *format = Make_Pixel_Format(Pixel_Layout::R5G6B5);
        return true;
    case 24:
        *format = Make_Pixel_Format(Pixel_Layout::R8G8B8);
        return true;
    case 32:
        *format = Make_Pixel_Format(Pixel_Layout::X8R8G8B8);
        return true;
    default:
        return false;
    }
}

void IDirectDraw7::Register_Surface(IDirectDrawSurface7* surface)
{
    Surfaces.push_back(surface);
}

void IDirectDraw7::Unregister_Surface(IDirectDrawSurface7* surface)
{
    Surfaces.erase(std::remove(Surfaces.begin(), Surfaces.end(), surface), Surfaces.end());
}

bool IDirectDraw7::Current_Mode(Screen_Mode* mode)
{
    if (Has_Set_Mode) {
        *mode = Set_Mode;
        return true;
    }
    Display_Mode desktop;
    if (!Get_Current_Display_Mode(desktop) || desktop.Width <= 0 || desktop.Height <= 0 ||
        desktop.Bits_Per_Pixel <= 0) {
        return false;
    }
    *mode = {static_cast<DWORD>(desktop.Width), static_cast<DWORD>(desktop.Height),
             static_cast<DWORD>(desktop.Bits_Per_Pixel), 0};
    return true;
}

HRESULT IDirectDraw7::CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, void*)
{
    if (!surface) {
        return DDERR_INVALIDPARAMS;
    }
    *surface = nullptr;
    if (!desc || !Valid_Surface_Desc_Size(desc->dwSize) || !(desc->dwFlags & DDSD_CAPS)) {
        return DDERR_INVALIDPARAMS;
    }
    if (Next_Create_Failure != DD_OK) {
        HRESULT code = Next_Create_Failure;
        Next_Create_Failure = DD_OK;
        return code;
    }
    if (desc->ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) {
        return Create_Primary(*desc, surface);
    }
    return Create_Plain(*desc, surface);
}

HRESULT IDirectDraw7::Create_Plain(const DDSURFACEDESC2& desc, IDirectDrawSurface7** surface)
{
    const DWORD size_flags = DDSD_WIDTH | DDSD_HEIGHT;
    if ((desc.dwFlags & size_flags) != size_flags || desc.dwWidth == 0 || desc.dwHeight == 0 ||
        desc.dwWidth > Max_Surface_Side || desc.dwHeight > Max_Surface_Side) {
        return DDERR_INVALIDPARAMS;
    }
    IDirectDrawSurface7::Shape shape;
    shape.Width = desc.dwWidth;
    shape.Height = desc.dwHeight;
    shape.Caps = desc.ddsCaps;
    if (desc.dwFlags & DDSD_TEXTURESTAGE) {
        shape.Has_Texture_Stage = true;
        shape.Texture_Stage = desc.dwTextureStage;
    }
    if (desc.dwFlags & DDSD_PIXELFORMAT) {
        shape.Format = desc.ddpfPixelFormat;
    } else {
        Screen_Mode mode;
        if (!Current_Mode(&mode) || !Display_Pixel_Format(mode.Bits_Per_Pixel, &shape.Format)) {
            return DDERR_INVALIDPIXELFORMAT;
        }
    }
    shape.Format.dwSize = sizeof(DDPIXELFORMAT);
    bool z_buffer = (shape.Caps.dwCaps & DDSCAPS_ZBUFFER) != 0;
    if (z_buffer ? !Is_Z_Buffer_Format(shape.Format) : !Is_Colour_Format(shape.Format)) {
        return DDERR_INVALIDPIXELFORMAT;
    }
    if (!(shape.Caps.dwCaps & (DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY))) {
        shape.Caps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
    }
    HRESULT result = DD_OK;
    *surface = IDirectDrawSurface7::Create(this, shape, &result);
    return result;
}

HRESULT IDirectDraw7::Create_Primary(const DDSURFACEDESC2& desc, IDirectDrawSurface7** surface)
{
    if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT)) {
        return DDERR_INVALIDPARAMS;
    }
    Screen_Mode mode;
    IDirectDrawSurface7::Shape shape;
    if (!Current_Mode(&mode) || !Display_Pixel_Format(mode.Bits_Per_Pixel, &shape.Format)) {
        return DDERR_INVALIDMODE;
    }
    bool chain = (desc.ddsCaps.dwCaps & DDSCAPS_FLIP) != 0;
    if (chain && (!(desc.dwFlags & DDSD_BACKBUFFERCOUNT) || desc.dwBackBufferCount == 0 ||
                  !(Level & DDSCL_EXCLUSIVE))) {
        return DDERR_INVALIDPARAMS;
    }
    shape.Width = mode.Width;
    shape.Height = mode.Height;
    shape.Caps = desc.ddsCaps;
    shape.Caps.dwCaps |= DDSCAPS_VISIBLE | (chain ? DDSCAPS_FRONTBUFFER : 0);
    HRESULT result = DD_OK;
    IDirectDrawSurface7* front = IDirectDrawSurface7::Create(this, shape, &result);
    if (!front) {
        return result;
    }
    if (chain) {
        IDirectDrawSurface7::Shape back_shape = shape;
        back_shape.Caps.dwCaps =
            (desc.ddsCaps.dwCaps & ~(DDSCAPS_PRIMARYSURFACE | DDSCAPS_VISIBLE)) | DDSCAPS_BACKBUFFER;
        back_shape.Caps.dwCaps2 = desc.ddsCaps.dwCaps2 & ~DDSCAPS2_STEREOSURFACELEFT;
        IDirectDrawSurface7* back = IDirectDrawSurface7::Create(this, back_shape, &result);
        if (!back) {
            front->Release();
            return result;
        }
        front->AddAttachedSurface(back);
        back->Release();
        if (desc.ddsCaps.dwCaps2 & DDSCAPS2_STEREOSURFACELEFT) {
            IDirectDrawSurface7::Shape left_shape = back_shape;
            left_shape.Caps.dwCaps &= ~DDSCAPS_BACKBUFFER;
            left_shape.Caps.dwCaps2 = DDSCAPS2_STEREOSURFACELEFT;
            IDirectDrawSurface7* left = IDirectDrawSurface7::Create(this, left_shape, &result);
            if (!left) {
                front->Release();
                return result;
            }
            back->AddAttachedSurface(left);
            left->Release();
        }
    }
    *surface = front;
    return DD_OK;
}

HRESULT IDirectDraw7::CreatePalette(DWORD flags, PALETTEENTRY* entries, IDirectDrawPalette** palette, void*)
{
    if (!palette) {
        return DDERR_INVALIDPARAMS;
    }
    *palette = nullptr;
    if (!entries || !(flags & DDPCAPS_8BIT)) {
        return DDERR_INVALIDPARAMS;
    }
    *palette = new (std::nothrow) IDirectDrawPalette(flags, entries);
    return *palette ? DD_OK : DDERR_OUTOFMEMORY;
}

HRESULT IDirectDraw7::CreateClipper(DWORD, IDirectDrawClipper** clipper, void*)
{
    if (!clipper) {
        return DDERR_INVALIDPARAMS;
    }
    *clipper = new (std::nothrow) IDirectDrawClipper();
    return *clipper ? DD_OK : DDERR_OUTOFMEMORY;
}

HRESULT IDirectDraw7::GetDisplayMode(DDSURFACEDESC2* desc)
{
    if (!desc || !Valid_Surface_Desc_Size(desc->dwSize)) {
        return DDERR_INVALIDPARAMS;
    }
    Screen_Mode mode;
    if (!Current_Mode(&mode)) {
        return DDERR_GENERIC;
    }
    DWORD size = desc->dwSize;
    std::memset(desc, 0, sizeof *desc);
    desc->dwSize = size;
    desc->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
    desc->dwWidth = mode.Width;
    desc->dwHeight = mode.Height;
    desc->dwRefreshRate = mode.Refresh_Rate;
    if (!Display_Pixel_Format(mode.Bits_Per_Pixel, &desc->ddpfPixelFormat)) {
        desc->ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
        desc->ddpfPixelFormat.dwFlags = DDPF_RGB;
        desc->ddpfPixelFormat.dwRGBBitCount = mode.Bits_Per_Pixel;
    }
    desc->lPitch = static_cast<LONG>(mode.Width * ((mode.Bits_Per_Pixel + 7) / 8));
    return DD_OK;
}

HRESULT IDirectDraw7::SetDisplayMode(DWORD width, DWORD height, DWORD bits, DWORD refresh, DWORD)
{
    if (!(Level & DDSCL_EXCLUSIVE)) {
        return DDERR_NOEXCLUSIVEMODE;
    }
    for (const Screen_Mode& m : Full_Screen_Modes().Modes()) {
        if (m.Width == width && m.Height == height && m.Bits_Per_Pixel == bits) {
            Set_Mode = {width, height, bits, refresh ? refresh : m.Refresh_Rate};
            Has_Set_Mode = true;
            return DD_OK;
        }
    }
    return DDERR_INVALIDMODE;
}

HRESULT IDirectDraw7::RestoreDisplayMode()
{
    Has_Set_Mode = false;
    return DD_OK;
}

HRESULT IDirectDraw7::EnumDisplayModes(DWORD, DDSURFACEDESC2* filter, void* context,
                                       LPDDENUMMODESCALLBACK2 callback)
{
    if (!callback) {
        return DDERR_INVALIDPARAMS;
    }
    for (const Screen_Mode& m : Full_Screen_Modes().Modes()) {
        if (filter && (filter->dwFlags & DDSD_WIDTH) && filter->dwWidth != m.Width) {
            continue;
        }
        if (filter && (filter->dwFlags & DDSD_HEIGHT) && filter->dwHeight != m.Height) {
            continue;
        }
        DDSURFACEDESC2 desc{};
        desc.dwSize = DDSURFACEDESC2_SIZE;
        desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
        desc.dwWidth = m.Width;
        desc.dwHeight = m.Height;
        desc.dwRefreshRate = m.Refresh_Rate;
        desc.lPitch = static_cast<LONG>(m.Width * ((m.Bits_Per_Pixel + 7) / 8));
        if (!Display_Pixel_Format(m.Bits_Per_Pixel, &desc.ddpfPixelFormat)) {
            continue;
        }
        if (callback(&desc, context) == DDENUMRET_CANCEL) {
            break;
        }
    }
    return DD_OK;
}

HRESULT IDirectDraw7::SetCooperativeLevel(HWND window, DWORD flags)
{
    bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    bool fullscreen = (flags & DDSCL_FULLSCREEN) != 0;
    bool normal = (flags & DDSCL_NORMAL) != 0;
    if (exclusive != fullscreen || (exclusive && normal) || (!exclusive && !normal) ||
        (exclusive && !window)) {
        return DDERR_INVALIDPARAMS;
    }
    if (normal) {
        Has_Set_Mode = false;
    }
    Level = flags;
    Level_Window = window;
    if (exclusive && IsWindow(window)) {
        // The exclusive owner of the display covers the whole screen above every other window;
        // the modes are emulated, so the screen keeps the desktop's size.
        SetWindowPos(window, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                     SWP_SHOWWINDOW);
    }
    return DD_OK;
}

HRESULT IDirectDraw7::TestCooperativeLevel()
{
    return Cooperative_Result;
}

HRESULT IDirectDraw7::RestoreAllSurfaces()
{
    for (IDirectDrawSurface7* s : Surfaces) {
        s->Restore();
    }
    return DD_OK;
}

HRESULT IDirectDraw7::FlipToGDISurface()
{
    return DD_OK;
}

HRESULT IDirectDraw7::GetCaps(DDCAPS* driver_caps, DDCAPS* emulation_caps)
{
    if (!driver_caps && !emulation_caps) {
        return DDERR_INVALIDPARAMS;
    }
    for (DDCAPS* caps : {driver_caps, emulation_caps}) {
        if (!caps) {
            continue;
        }
        if (caps->dwSize != sizeof(DDCAPS)) {
            return DDERR_INVALIDPARAMS;
        }
        std::memset(caps, 0, sizeof *caps);
        caps->dwSize = sizeof(DDCAPS);
        caps->dwCaps = DDCAPS_BLT | DDCAPS_BLTCOLORFILL | DDCAPS_BLTSTRETCH;
        caps->dwCaps2 = DDCAPS2_CANRENDERWINDOWED;
        caps->dwPalCaps = DDPCAPS_8BIT | DDPCAPS_ALLOW256 | DDPCAPS_ALPHA;
    }
    return DD_OK;
}

HRESULT DirectDrawCreateEx(GUID* driver, void** directdraw, REFIID iid, void*)
{
    if (!directdraw) {
        return DDERR_INVALIDPARAMS;
    }
    *directdraw = nullptr;
    if (driver) {
        return DDERR_INVALIDPARAMS;
    }
    if (!(iid == IID_IDirectDraw7)) {
        return E_NOINTERFACE;
    }
    auto* object = new (std::nothrow) IDirectDraw7();
    if (!object) {
        return DDERR_OUTOFMEMORY;
    }
    *directdraw = object;
    return DD_OK;
}

HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, void* context, DWORD)
{
    if (!callback) {
        return DDERR_INVALIDPARAMS;
    }
    char description[] = "Primary Display Driver";
    char name[] = "display";
    callback(nullptr, description, name, context, nullptr);
    return DD_OK;
}
