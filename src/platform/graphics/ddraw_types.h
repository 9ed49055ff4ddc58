// Structures and constants of the DirectDraw-shaped surface layer, with the field names, byte
// layouts and values of the platform calls they stand in for, so the program's code fills and
// reads them as it was written to.
//
// Layout note: DDSURFACEDESC2 carries the surface pointer `lpSurface`, which is 8 bytes wide on a
// 64-bit build and naturally aligned (at offset 40), so the structure is 136 bytes here instead of
// the 124 of the 32-bit platform; the fields before the pointer keep their offsets.
// Callers still write 124 into dwSize (DDSURFACEDESC2_SIZE); the layer accepts 124 and the
// structure's own size. Every other structure keeps its original size exactly.
#pragma once

#include "platform/graphics/dd_codes.h"
#include "platform/graphics/guid.h"
#include "platform/win_types.h"

#include <cstddef>
#include <cstdint>

using HDC = struct HDC__*;
using LPVOID = void*;

// ---- Pixel format -------------------------------------------------------------------------

inline constexpr DWORD DDPF_ALPHAPIXELS = 0x00000001;
inline constexpr DWORD DDPF_ALPHA = 0x00000002;
inline constexpr DWORD DDPF_FOURCC = 0x00000004;
inline constexpr DWORD DDPF_PALETTEINDEXED4 = 0x00000008;
inline constexpr DWORD DDPF_PALETTEINDEXEDTO8 = 0x00000010;
inline constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
inline constexpr DWORD DDPF_RGB = 0x00000040;
inline constexpr DWORD DDPF_COMPRESSED = 0x00000080;
inline constexpr DWORD DDPF_RGBTOYUV = 0x00000100;
inline constexpr DWORD DDPF_YUV = 0x00000200;
inline constexpr DWORD DDPF_ZBUFFER = 0x00000400;
inline constexpr DWORD DDPF_PALETTEINDEXED1 = 0x00000800;
inline constexpr DWORD DDPF_PALETTEINDEXED2 = 0x00001000;
inline constexpr DWORD DDPF_ZPIXELS = 0x00002000;
inline constexpr DWORD DDPF_STENCILBUFFER = 0x00004000;
inline constexpr DWORD DDPF_ALPHAPREMULT = 0x00008000;
inline constexpr DWORD DDPF_LUMINANCE = 0x00020000;
inline constexpr DWORD DDPF_BUMPLUMINANCE = 0x00040000;
inline constexpr DWORD DDPF_BUMPDUDV = 0x00080000;

struct DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    union {
        DWORD dwRGBBitCount;
        DWORD dwZBufferBitDepth;
        DWORD dwAlphaBitDepth;
        DWORD dwLuminanceBitCount;
    };
    union {
        DWORD dwRBitMask;
        DWORD dwStencilBitDepth;
    };
    union {
        DWORD dwGBitMask;
        DWORD dwZBitMask;
    };
    union {
        DWORD dwBBitMask;
        DWORD dwStencilBitMask;
    };
    union {
        DWORD dwRGBAlphaBitMask;
        DWORD dwRGBZBitMask;
    };
};
static_assert(sizeof(DDPIXELFORMAT) == 32);

// ---- Surface description ------------------------------------------------------------------

inline constexpr DWORD DDSD_CAPS = 0x00000001;
inline constexpr DWORD DDSD_HEIGHT = 0x00000002;
inline constexpr DWORD DDSD_WIDTH = 0x00000004;
inline constexpr DWORD DDSD_PITCH = 0x00000008;
inline constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
inline constexpr DWORD DDSD_ZBUFFERBITDEPTH = 0x00000040;
inline constexpr DWORD DDSD_ALPHABITDEPTH = 0x00000080;
inline constexpr DWORD DDSD_LPSURFACE = 0x00000800;
inline constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
inline constexpr DWORD DDSD_CKDESTOVERLAY = 0x00002000;
inline constexpr DWORD DDSD_CKDESTBLT = 0x00004000;
inline constexpr DWORD DDSD_CKSRCOVERLAY = 0x00008000;
inline constexpr DWORD DDSD_CKSRCBLT = 0x00010000;
inline constexpr DWORD DDSD_MIPMAPCOUNT = 0x00020000;
inline constexpr DWORD DDSD_REFRESHRATE = 0x00040000;
inline constexpr DWORD DDSD_LINEARSIZE = 0x00080000;
inline constexpr DWORD DDSD_TEXTURESTAGE = 0x00100000;
inline constexpr DWORD DDSD_FVF = 0x00200000;
inline constexpr DWORD DDSD_SRCVBHANDLE = 0x00400000;
inline constexpr DWORD DDSD_DEPTH = 0x00800000;

inline constexpr DWORD DDSCAPS_ALPHA = 0x00000002;
inline constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
inline constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
inline constexpr DWORD DDSCAPS_FLIP = 0x00000010;
inline constexpr DWORD DDSCAPS_FRONTBUFFER = 0x00000020;
inline constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
inline constexpr DWORD DDSCAPS_OVERLAY = 0x00000080;
inline constexpr DWORD DDSCAPS_PALETTE = 0x00000100;
inline constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
inline constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
inline constexpr DWORD DDSCAPS_TEXTURE = 0x00001000;
inline constexpr DWORD DDSCAPS_3DDEVICE = 0x00002000;
inline constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;
inline constexpr DWORD DDSCAPS_VISIBLE = 0x00008000;
inline constexpr DWORD DDSCAPS_WRITEONLY = 0x00010000;
inline constexpr DWORD DDSCAPS_ZBUFFER = 0x00020000;
inline constexpr DWORD DDSCAPS_OWNDC = 0x00040000;
inline constexpr DWORD DDSCAPS_MIPMAP = 0x00400000;
inline constexpr DWORD DDSCAPS_LOCALVIDMEM = 0x10000000;
inline constexpr DWORD DDSCAPS_NONLOCALVIDMEM = 0x20000000;
inline constexpr DWORD DDSCAPS_STANDARDVGAMODE = 0x40000000;

inline constexpr DWORD DDSCAPS2_HINTDYNAMIC = 0x00000004;
inline constexpr DWORD DDSCAPS2_HINTSTATIC = 0x00000008;
inline constexpr DWORD DDSCAPS2_TEXTUREMANAGE = 0x00000010;
inline constexpr DWORD DDSCAPS2_OPAQUE = 0x00000080;
inline constexpr DWORD DDSCAPS2_D3DTEXTUREMANAGE = 0x00020000;
inline constexpr DWORD DDSCAPS2_DONOTPERSIST = 0x00040000;
inline constexpr DWORD DDSCAPS2_STEREOSURFACELEFT = 0x00080000;

struct DDSCAPS2 {
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCaps3;
    union {
        DWORD dwCaps4;
        DWORD dwVolumeDepth;
    };
};
static_assert(sizeof(DDSCAPS2) == 16);

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
};
static_assert(sizeof(DDCOLORKEY) == 8);

struct DDSURFACEDESC2 {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    union {
        LONG lPitch;
        DWORD dwLinearSize;
    };
    union {
        DWORD dwBackBufferCount;
        DWORD dwDepth;
    };
    union {
        DWORD dwMipMapCount;
        DWORD dwRefreshRate;
        DWORD dwSrcVBHandle;
    };
    DWORD dwAlphaBitDepth;
    DWORD dwReserved;
    LPVOID lpSurface;
    union {
        DDCOLORKEY ddckCKDestOverlay;
        DWORD dwEmptyFaceColor;
    };
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    union {
        DDPIXELFORMAT ddpfPixelFormat;
        DWORD dwFVF;
    };
    DDSCAPS2 ddsCaps;
    DWORD dwTextureStage;
};
// The size the program writes into dwSize (the 32-bit platform's structure size).
inline constexpr DWORD DDSURFACEDESC2_SIZE = 124;
static_assert(offsetof(DDSURFACEDESC2, dwReserved) == 32);
static_assert(sizeof(LPVOID) != 8 || sizeof(DDSURFACEDESC2) == 136);

// True when dwSize carries a size the layer accepts for a DDSURFACEDESC2.
inline bool Valid_Surface_Desc_Size(DWORD size)
{
    return size == DDSURFACEDESC2_SIZE || size == sizeof(DDSURFACEDESC2);
}

// ---- Lock, Blt, Flip ----------------------------------------------------------------------

inline constexpr DWORD DDLOCK_SURFACEMEMORYPTR = 0x00000000;
inline constexpr DWORD DDLOCK_WAIT = 0x00000001;
inline constexpr DWORD DDLOCK_EVENT = 0x00000002;
inline constexpr DWORD DDLOCK_READONLY = 0x00000010;
inline constexpr DWORD DDLOCK_WRITEONLY = 0x00000020;
inline constexpr DWORD DDLOCK_NOSYSLOCK = 0x00000800;
inline constexpr DWORD DDLOCK_DISCARDCONTENTS = 0x00002000;
inline constexpr DWORD DDLOCK_DONOTWAIT = 0x00004000;

inline constexpr DWORD DDBLT_ALPHADEST = 0x00000001;
inline constexpr DWORD DDBLT_ASYNC = 0x00000200;
inline constexpr DWORD DDBLT_COLORFILL = 0x00000400;
inline constexpr DWORD DDBLT_DDFX = 0x00000800;
inline constexpr DWORD DDBLT_DDROPS = 0x00001000;
inline constexpr DWORD DDBLT_KEYDEST = 0x00002000;
inline constexpr DWORD DDBLT_KEYSRC = 0x00008000;
inline constexpr DWORD DDBLT_ROP = 0x00020000;
inline constexpr DWORD DDBLT_ZBUFFER = 0x00040000;
inline constexpr DWORD DDBLT_WAIT = 0x01000000;
inline constexpr DWORD DDBLT_DEPTHFILL = 0x02000000;
inline constexpr DWORD DDBLT_DONOTWAIT = 0x08000000;

inline constexpr DWORD DDFLIP_WAIT = 0x00000001;
inline constexpr DWORD DDFLIP_EVEN = 0x00000002;
inline constexpr DWORD DDFLIP_ODD = 0x00000004;
inline constexpr DWORD DDFLIP_NOVSYNC = 0x00000008;
inline constexpr DWORD DDFLIP_STEREO = 0x00000010;
inline constexpr DWORD DDFLIP_DONOTWAIT = 0x00000020;

// The original structure's pointer members (alternatives of the z, alpha and pattern
// operands) are never used by the program and are kept here as 32-bit fields, so the
// structure keeps its 100 bytes.
struct DDBLTFX {
    DWORD dwSize;
    DWORD dwDDFX;
    DWORD dwROP;
    DWORD dwDDROP;
    DWORD dwRotationAngle;
    DWORD dwZBufferOpCode;
    DWORD dwZBufferLow;
    DWORD dwZBufferHigh;
    DWORD dwZBufferBaseDest;
    DWORD dwZDestConstBitDepth;
    DWORD dwZDestConst;
    DWORD dwZSrcConstBitDepth;
    DWORD dwZSrcConst;
    DWORD dwAlphaEdgeBlendBitDepth;
    DWORD dwAlphaEdgeBlend;
    DWORD dwReserved;
    DWORD dwAlphaDestConstBitDepth;
    DWORD dwAlphaDestConst;
    DWORD dwAlphaSrcConstBitDepth;
    DWORD dwAlphaSrcConst;
    union {
        DWORD dwFillColor;
        DWORD dwFillDepth;
        DWORD dwFillPixel;
    };
    DDCOLORKEY ddckDestColorkey;
    DDCOLORKEY ddckSrcColorkey;
};
static_assert(sizeof(DDBLTFX) == 100);

// ---- Palettes -----------------------------------------------------------------------------

inline constexpr DWORD DDPCAPS_4BIT = 0x00000001;
inline constexpr DWORD DDPCAPS_8BITENTRIES = 0x00000002;
inline constexpr DWORD DDPCAPS_8BIT = 0x00000004;
inline constexpr DWORD DDPCAPS_INITIALIZE = 0x00000008;
inline constexpr DWORD DDPCAPS_PRIMARYSURFACE = 0x00000010;
inline constexpr DWORD DDPCAPS_PRIMARYSURFACELEFT = 0x00000020;
inline constexpr DWORD DDPCAPS_ALLOW256 = 0x00000040;
inline constexpr DWORD DDPCAPS_VSYNC = 0x00000080;
inline constexpr DWORD DDPCAPS_1BIT = 0x00000100;
inline constexpr DWORD DDPCAPS_2BIT = 0x00000200;
inline constexpr DWORD DDPCAPS_ALPHA = 0x00000400;

// As a 32-bit word: red in the low byte, then green, blue, flags (alpha with DDPCAPS_ALPHA).
struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};
static_assert(sizeof(PALETTEENTRY) == 4);

// ---- DirectDraw object --------------------------------------------------------------------

inline constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
inline constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
inline constexpr DWORD DDSCL_NOWINDOWCHANGES = 0x00000004;
inline constexpr DWORD DDSCL_NORMAL = 0x00000008;
inline constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
inline constexpr DWORD DDSCL_ALLOWMODEX = 0x00000040;
inline constexpr DWORD DDSCL_MULTITHREADED = 0x00000400;
inline constexpr DWORD DDSCL_FPUSETUP = 0x00000800;
inline constexpr DWORD DDSCL_FPUPRESERVE = 0x00001000;

inline constexpr DWORD DDSDM_STANDARDVGAMODE = 0x00000001;

inline constexpr DWORD DDENUM_ATTACHEDSECONDARYDEVICES = 0x00000001;
inline constexpr DWORD DDENUM_DETACHEDSECONDARYDEVICES = 0x00000002;
inline constexpr DWORD DDENUM_NONDISPLAYDEVICES = 0x00000004;

inline constexpr HRESULT DDENUMRET_CANCEL = 0;
inline constexpr HRESULT DDENUMRET_OK = 1;

inline constexpr DWORD DDCAPS_3D = 0x00000001;
inline constexpr DWORD DDCAPS_BLT = 0x00000040;
inline constexpr DWORD DDCAPS_BLTCOLORFILL = 0x04000000;
inline constexpr DWORD DDCAPS_BLTSTRETCH = 0x00000200;
inline constexpr DWORD DDCAPS2_CANRENDERWINDOWED = 0x00080000;

inline constexpr DWORD DDBD_1 = 0x00004000;
inline constexpr DWORD DDBD_2 = 0x00002000;
inline constexpr DWORD DDBD_4 = 0x00001000;
inline constexpr DWORD DDBD_8 = 0x00000800;
inline constexpr DWORD DDBD_16 = 0x00000400;
inline constexpr DWORD DDBD_24 = 0x00000200;
inline constexpr DWORD DDBD_32 = 0x00000100;

// The driver capabilities: 380 bytes as on the platform. The program reads only the size and
// the capability words at the front; the rest is kept as reserved space of the right size.
struct DDCAPS {
    DWORD dwSize;
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCKeyCaps;
    DWORD dwFXCaps;
    DWORD dwFXAlphaCaps;
    DWORD dwPalCaps;
    DWORD dwSVCaps;
    DWORD dwRest[87];
};
static_assert(sizeof(DDCAPS) == 380);

using LPDDENUMMODESCALLBACK2 = HRESULT (*)(DDSURFACEDESC2* mode, void* context);
