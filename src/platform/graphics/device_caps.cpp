// Capabilities and texture formats of the rasterizing devices.
#include "platform/graphics/device_caps.h"

#include "platform/graphics/pixel_format.h"

#include <array>

const GUID IID_IDirect3DRGBDevice = {
    0x4C0D3A10, 0x7A51, 0x4C6E, {0x9A, 0x10, 0x4C, 0x75, 0x63, 0x69, 0x76, 0x10}};
const GUID IID_IDirect3DRefDevice = {
    0x4C0D3A11, 0x7A51, 0x4C6E, {0x9A, 0x10, 0x4C, 0x75, 0x63, 0x69, 0x76, 0x11}};
const GUID IID_IDirect3DHALDevice = {
    0x4C0D3A12, 0x7A51, 0x4C6E, {0x9A, 0x10, 0x4C, 0x75, 0x63, 0x69, 0x76, 0x12}};
const GUID IID_IDirect3DTnLHalDevice = {
    0x4C0D3A13, 0x7A51, 0x4C6E, {0x9A, 0x10, 0x4C, 0x75, 0x63, 0x69, 0x76, 0x13}};
const GUID IID_IDirect3D7 = {0x4C0D3A02, 0x7A51, 0x4C6E, {0x9A, 0x10, 0x4C, 0x75, 0x63, 0x69, 0x76, 0x02}};

namespace {

D3DPRIMCAPS Primitive_Caps()
{
    D3DPRIMCAPS caps{};
    caps.dwSize = sizeof(D3DPRIMCAPS);
    caps.dwRasterCaps = D3DPRASTERCAPS_DITHER | D3DPRASTERCAPS_SUBPIXEL | D3DPRASTERCAPS_ZTEST;
    caps.dwZCmpCaps = 0xFF; // every comparison
    caps.dwSrcBlendCaps = D3DPBLENDCAPS_ZERO | D3DPBLENDCAPS_ONE;
    caps.dwDestBlendCaps = D3DPBLENDCAPS_ZERO | D3DPBLENDCAPS_ONE;
    caps.dwAlphaCmpCaps = D3DPCMPCAPS_ALWAYS;
    caps.dwShadeCaps = D3DPSHADECAPS_COLORFLATRGB | D3DPSHADECAPS_COLORGOURAUDRGB;
    caps.dwTextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_ALPHA;
    caps.dwTextureFilterCaps = D3DPTFILTERCAPS_NEAREST | D3DPTFILTERCAPS_LINEAR | D3DPTFILTERCAPS_MINFPOINT |
                               D3DPTFILTERCAPS_MINFLINEAR | D3DPTFILTERCAPS_MAGFPOINT |
                               D3DPTFILTERCAPS_MAGFLINEAR;
    caps.dwTextureBlendCaps = D3DPTBLENDCAPS_MODULATE;
    caps.dwTextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_CLAMP;
    return caps;
}

} // namespace

D3DDEVICEDESC7 Rasterizer_Device_Description(REFGUID device_type)
{
    D3DDEVICEDESC7 desc{};
    desc.dwDevCaps = D3DDEVCAPS_FLOATTLVERTEX | D3DDEVCAPS_EXECUTESYSTEMMEMORY |
                     D3DDEVCAPS_TLVERTEXSYSTEMMEMORY | D3DDEVCAPS_TEXTURESYSTEMMEMORY |
                     D3DDEVCAPS_DRAWPRIMTLVERTEX | D3DDEVCAPS_DRAWPRIMITIVES2;
    desc.dpcLineCaps = Primitive_Caps();
    desc.dpcTriCaps = Primitive_Caps();
    desc.dwDeviceRenderBitDepth = DDBD_16 | DDBD_32;
    desc.dwDeviceZBufferBitDepth = DDBD_16 | DDBD_24 | DDBD_32;
    desc.dwMinTextureWidth = 1;
    desc.dwMinTextureHeight = 1;
    desc.dwMaxTextureWidth = 4096;
    desc.dwMaxTextureHeight = 4096;
    desc.dwMaxTextureRepeat = 4096;
    desc.dwMaxTextureAspectRatio = 4096;
    desc.dwMaxAnisotropy = 1;
    desc.dwFVFCaps = 1; // one set of texture coordinates
    desc.dwTextureOpCaps = D3DTEXOPCAPS_SELECTARG1 | D3DTEXOPCAPS_SELECTARG2 | D3DTEXOPCAPS_MODULATE;
    desc.wMaxTextureBlendStages = 1;
    desc.wMaxSimultaneousTextures = 1;
    desc.dvMaxVertexW = 1.0e10f;
    desc.deviceGUID = device_type;
    return desc;
}

std::span<const DDPIXELFORMAT> Rasterizer_Texture_Formats()
{
    static const std::array<DDPIXELFORMAT, 8> formats = {
        Make_Pixel_Format(Pixel_Layout::R5G6B5),   Make_Pixel_Format(Pixel_Layout::X1R5G5B5),
        Make_Pixel_Format(Pixel_Layout::A1R5G5B5), Make_Pixel_Format(Pixel_Layout::A4R4G4B4),
        Make_Pixel_Format(Pixel_Layout::R8G8B8),   Make_Pixel_Format(Pixel_Layout::X8R8G8B8),
        Make_Pixel_Format(Pixel_Layout::A8R8G8B8), Make_Pixel_Format(Pixel_Layout::P8),
    };
    return formats;
}

HRESULT Enumerate_Pixel_Formats(std::span<const DDPIXELFORMAT> formats,
                                LPD3DENUMPIXELFORMATSCALLBACK callback, void* context)
{
    if (!callback) {
        return DDERR_INVALIDPARAMS;
    }
    for (const DDPIXELFORMAT& f : formats) {
        DDPIXELFORMAT offered = f; // the callback may write into what it is given
        if (callback(&offered, context) == D3DENUMRET_CANCEL) {
            break;
        }
    }
    return D3D_OK;
}
