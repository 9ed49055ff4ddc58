// Making a texture's surface for a device, and filling it from the bitmap or the rgba data.
#include "d3dframe/texture_surface.h"

#include "d3dframe/d3dutil.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/directdraw.h"
#include "platform/graphics/gdi.h"

#include <bit>
#include <cstring>

namespace {

struct Format_Search {
    DDPIXELFORMAT* Format;
    bool Found;
    DWORD Bits;
    bool Use_Alpha;
    bool Use_Palette;
};

HRESULT Test_Format(DDPIXELFORMAT* f, void* context)
{
    auto* search = static_cast<Format_Search*>(context);
    if (!f || !search) {
        return D3DENUMRET_OK;
    }
    if (f->dwFlags & (DDPF_LUMINANCE | DDPF_BUMPLUMINANCE | DDPF_BUMPDUDV)) {
        return D3DENUMRET_OK;
    }
    if (search->Use_Palette) {
        if (!(f->dwFlags & DDPF_PALETTEINDEXED8)) {
            return D3DENUMRET_OK;
        }
    } else {
        if (f->dwRGBBitCount < 16 || f->dwFourCC != 0 || f->dwRGBAlphaBitMask == 0xF000) {
            return D3DENUMRET_OK;
        }
        bool has_alpha = (f->dwFlags & DDPF_ALPHAPIXELS) != 0;
        if (has_alpha != search->Use_Alpha || f->dwRGBBitCount != search->Bits) {
            return D3DENUMRET_OK;
        }
    }
    std::memcpy(search->Format, f, sizeof(DDPIXELFORMAT));
    search->Found = true;
    return D3DENUMRET_CANCEL;
}

DWORD Next_Power_Of_Two(DWORD value)
{
    DWORD p = 1;
    while (p < value && p < 0x80000000u) {
        p <<= 1;
    }
    return p;
}

// The DirectDraw object behind a surface (reference added), or null.
IDirectDraw7* DirectDraw_Of(IDirectDrawSurface7* surface)
{
    IDirectDraw7* directdraw = nullptr;
    return surface && SUCCEEDED(surface->GetDDInterface(&directdraw)) ? directdraw : nullptr;
}

HRESULT Lock_Waiting(IDirectDrawSurface7* surface, DDSURFACEDESC2& desc)
{
    HRESULT hr;
    while ((hr = surface->Lock(nullptr, &desc, 0, nullptr)) == DDERR_WASSTILLDRAWING) {
    }
    return hr;
}

// A system-memory surface of the texture's pixel format and the given size.
HRESULT Make_Temporary(IDirectDraw7* directdraw, IDirectDrawSurface7* texture, DWORD width, DWORD height,
                       IDirectDrawSurface7** temporary)
{
    DDSURFACEDESC2 desc;
    D3DUtil_InitSurfaceDesc(desc);
    texture->GetSurfaceDesc(&desc);
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_TEXTURESTAGE;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
    desc.ddsCaps.dwCaps2 = 0;
    desc.dwWidth = width;
    desc.dwHeight = height;
    return directdraw->CreateSurface(&desc, temporary);
}

void Attach_Bitmap_Palette(IDirectDraw7* directdraw, HDC memory, DWORD flags, IDirectDrawSurface7* temporary,
                           IDirectDrawSurface7* texture)
{
    RGBQUAD table[256] = {};
    UINT count = GetDIBColorTable(memory, 0, 256, table);
    PALETTEENTRY entries[256] = {};
    for (UINT i = 0; i < count; ++i) {
        entries[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
        bool black = !table[i].rgbRed && !table[i].rgbGreen && !table[i].rgbBlue;
        bool white = table[i].rgbRed == 0xFF && table[i].rgbGreen == 0xFF && table[i].rgbBlue == 0xFF;
        if (flags & TEXTR_BLACK_KEY) {
            entries[i].peFlags = black ? 0 : 0xFF;
        } else if (flags & TEXTR_WHITE_KEY) {
            entries[i].peFlags = white ? 0 : 0xFF;
        }
    }
    DWORD caps = DDPCAPS_8BIT | DDPCAPS_ALLOW256;
    if (flags & (TEXTR_WHITE_KEY | TEXTR_BLACK_KEY)) {
        caps |= DDPCAPS_ALPHA;
    }
    IDirectDrawPalette* palette = nullptr;
    if (SUCCEEDED(directdraw->CreatePalette(caps, entries, &palette))) {
        temporary->SetPalette(palette);
        texture->SetPalette(palette);
        palette->Release();
    }
}

// Key colours become transparent: every pixel's alpha bits are set unless its colour is the key.
void Apply_Key_Alpha(IDirectDrawSurface7* texture, DWORD flags)
{
    DDSURFACEDESC2 desc;
    D3DUtil_InitSurfaceDesc(desc);
    if (FAILED(Lock_Waiting(texture, desc))) {
        return;
    }
    const DDPIXELFORMAT& f = desc.ddpfPixelFormat;
    const DWORD alpha = f.dwRGBAlphaBitMask;
    const DWORD colour_mask = f.dwRBitMask | f.dwGBitMask | f.dwBBitMask;
    const DWORD key = (flags & TEXTR_WHITE_KEY) ? colour_mask : 0;
    auto* row = static_cast<uint8_t*>(desc.lpSurface);
    for (DWORD y = 0; y < desc.dwHeight; ++y, row += desc.lPitch) {
        for (DWORD x = 0; x < desc.dwWidth; ++x) {
            if (f.dwRGBBitCount == 16) {
                uint16_t p;
                std::memcpy(&p, row + x * 2, 2);
                DWORD c = p & colour_mask;
                p = static_cast<uint16_t>(c != key ? c | alpha : c);
                std::memcpy(row + x * 2, &p, 2);
            } else if (f.dwRGBBitCount == 32) {
                uint32_t p;
                std::memcpy(&p, row + x * 4, 4);
                DWORD c = p & colour_mask;
                p = c != key ? c | alpha : c;
                std::memcpy(row + x * 4, &p, 4);
            }
        }
    }
    texture->Unlock(nullptr);
}

// Shifts that move an 8-bit channel into a mask: right by (8 − width), left by the lowest bit.
struct Channel_Shift {
    DWORD Mask;
    int Left;  // "shift left" of the conversion: bits dropped from the 8-bit value
    int Right; // "shift right" of the conversion: position of the mask's lowest bit
};

Channel_Shift Shift_Of(DWORD mask)
{
    if (mask == 0) {
        return {0, 8, 0};
    }
    int low = std::countr_zero(mask);
    int width = 32 - std::countl_zero(mask) - low;
    return {mask, 8 - width, low};
}

DWORD Place(DWORD c, const Channel_Shift& s)
{
    if (s.Left >= 8 || s.Left < -24) {
        return 0;
    }
    DWORD v = s.Left >= 0 ? c >> s.Left : c << -s.Left;
    return (v << s.Right) & s.Mask;
}

} // namespace

void Apply_Texture_Size_Rules(const D3DDEVICEDESC7& caps, DWORD& width, DWORD& height)
{
    DWORD texture_caps = caps.dpcTriCaps.dwTextureCaps;
    if (texture_caps & D3DPTEXTURECAPS_POW2) {
        width = Next_Power_Of_Two(width);
        height = Next_Power_Of_Two(height);
    }
    DWORD max_width = caps.dwMaxTextureWidth ? caps.dwMaxTextureWidth : 256;
    DWORD max_height = caps.dwMaxTextureHeight ? caps.dwMaxTextureHeight : 256;
    width = width > max_width ? max_width : width;
    height = height > max_height ? max_height : height;
    if (texture_caps & D3DPTEXTURECAPS_SQUAREONLY) {
        width = height = width > height ? width : height;
    }
}

HRESULT Make_Texture_Surface(NamedTexture& texture, IDirect3DDevice7* device)
{
    Safe_Release(texture.surface);
    if (!device) {
        return E_INVALIDARG;
    }
    D3DDEVICEDESC7 caps{};
    if (FAILED(device->GetCaps(&caps))) {
        return E_FAIL;
    }
    DDSURFACEDESC2 desc;
    D3DUtil_InitSurfaceDesc(desc, DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_TEXTURESTAGE,
                            DDSCAPS_TEXTURE);
    desc.dwTextureStage = texture.stage;
    desc.dwWidth = texture.width;
    desc.dwHeight = texture.height;
    if (caps.deviceGUID == IID_IDirect3DHALDevice || caps.deviceGUID == IID_IDirect3DTnLHalDevice) {
        desc.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE;
    } else {
        desc.ddsCaps.dwCaps |= DDSCAPS_SYSTEMMEMORY;
    }
    Apply_Texture_Size_Rules(caps, desc.dwWidth, desc.dwHeight);

    // A palette comes only from a bitmap's colour table: rgba data has none to offer.
    Format_Search search{&desc.ddpfPixelFormat, false, texture.bpp, texture.has_alpha != FALSE,
                         texture.bpp <= 8 && !texture.rgba};
    if (texture.flags & TEXTR_16BPP) {
        search.Bits = 16;
    } else if (texture.flags & TEXTR_32BPP) {
        search.Bits = 32;
    }
    if ((texture.flags & (TEXTR_WHITE_KEY | TEXTR_BLACK_KEY)) && search.Use_Palette) {
        search.Use_Alpha = true;
        search.Use_Palette = (caps.dpcTriCaps.dwTextureCaps & D3DPTEXTURECAPS_ALPHAPALETTE) != 0;
    }
    device->EnumTextureFormats(Test_Format, &search);
    if (!search.Found) {
        search.Use_Palette = false;
        search.Bits = 16;
        device->EnumTextureFormats(Test_Format, &search);
        if (!search.Found) {
            return E_FAIL;
        }
    }

    IDirectDrawSurface7* target = nullptr;
    HRESULT hr = device->GetRenderTarget(&target);
    if (FAILED(hr)) {
        return hr;
    }
    IDirectDraw7* directdraw = DirectDraw_Of(target);
    target->Release();
    if (!directdraw) {
        return E_FAIL;
    }
    hr = directdraw->CreateSurface(&desc, &texture.surface);
    directdraw->Release();
    if (FAILED(hr)) {
        texture.surface = nullptr;
        return hr;
    }
    if (texture.bitmap) {
        hr = Copy_Bitmap_To_Surface(texture);
    } else if (texture.rgba) {
        hr = Copy_Rgba_To_Surface(texture);
    }
    if (FAILED(hr)) {
        Safe_Release(texture.surface); // a failed restore leaves the record without surface
    }
    return hr;
}

HRESULT Copy_Bitmap_To_Surface(NamedTexture& texture)
{
    IDirectDrawSurface7* surface = texture.surface;
    IDirectDraw7* directdraw = DirectDraw_Of(surface);
    if (!directdraw) {
        return E_FAIL;
    }
    BITMAP bm{};
    GetObjectA(texture.bitmap, sizeof bm, &bm);
    IDirectDrawSurface7* temporary = nullptr;
    HRESULT hr = Make_Temporary(directdraw, surface, static_cast<DWORD>(bm.bmWidth),
                                static_cast<DWORD>(bm.bmHeight), &temporary);
    if (FAILED(hr)) {
        directdraw->Release();
        return hr;
    }
    HDC memory = CreateCompatibleDC(nullptr);
    if (!memory) {
        temporary->Release();
        directdraw->Release();
        return S_OK;
    }
    HGDIOBJ previous = SelectObject(memory, texture.bitmap);
    if (surface->Format().dwRGBBitCount == 8) {
        Attach_Bitmap_Palette(directdraw, memory, texture.flags, temporary, surface);
    }
    HDC dc = nullptr;
    if (SUCCEEDED(temporary->GetDC(&dc))) {
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, memory, 0, 0, SRCCOPY);
        temporary->ReleaseDC(dc);
    }
    SelectObject(memory, previous);
    DeleteDC(memory);

    surface->Blt(nullptr, temporary, nullptr, DDBLT_WAIT, nullptr);
    temporary->Release();

    if (surface->Format().dwRGBAlphaBitMask != 0 && (texture.flags & (TEXTR_WHITE_KEY | TEXTR_BLACK_KEY))) {
        Apply_Key_Alpha(surface, texture.flags);
    }
    directdraw->Release();
    return S_OK;
}

HRESULT Copy_Rgba_To_Surface(NamedTexture& texture)
{
    IDirectDrawSurface7* surface = texture.surface;
    IDirectDraw7* directdraw = DirectDraw_Of(surface);
    if (!directdraw) {
        return E_FAIL;
    }
    IDirectDrawSurface7* temporary = nullptr;
    if (FAILED(Make_Temporary(directdraw, surface, texture.width, texture.height, &temporary))) {
        directdraw->Release();
        return S_OK;
    }
    DDSURFACEDESC2 desc;
    D3DUtil_InitSurfaceDesc(desc);
    if (SUCCEEDED(Lock_Waiting(temporary, desc))) {
        const DDPIXELFORMAT& f = desc.ddpfPixelFormat;
        const Channel_Shift red = Shift_Of(f.dwRBitMask), green = Shift_Of(f.dwGBitMask);
        const Channel_Shift blue = Shift_Of(f.dwBBitMask), alpha = Shift_Of(f.dwRGBAlphaBitMask);
        const DWORD bytes = f.dwRGBBitCount / 8;
        auto* row = static_cast<uint8_t*>(desc.lpSurface);
        for (DWORD y = 0; y < desc.dwHeight; ++y, row += desc.lPitch) {
            for (DWORD x = 0; x < desc.dwWidth; ++x) {
                uint32_t word = texture.rgba[size_t{y} * texture.width + x];
                uint32_t pixel = Place(word >> 24, red) + Place((word >> 16) & 0xFF, green) +
                                 Place((word >> 8) & 0xFF, blue) + Place(word & 0xFF, alpha);
                // Each pixel is written at the format's own size (24-bit formats take three bytes).
                std::memcpy(row + x * bytes, &pixel, bytes);
            }
        }
        temporary->Unlock(nullptr);
    }
    surface->Blt(nullptr, temporary, nullptr, DDBLT_WAIT, nullptr);
    temporary->Release();
    directdraw->Release();
    return S_OK;
}
