// The subset of GDI the program calls: device contexts on surfaces and memory DCs, mapping
// modes and extents, fonts and one-line text (pango-cairo over the surface's own pixels),
// bitmaps loaded from files by our own reader, BitBlt with SRCCOPY, and the bitmap's colour
// table. Names, structures and values are the platform's.
//
// Units: logical coordinates map to device pixels through the window/viewport origins and
// extents (MM_ANISOTROPIC) after the world transform (GM_ADVANCED); MM_TEXT maps one to one.
// The device reports 96 pixels per inch.
#pragma once

#include "platform/graphics/ddraw_types.h"

using HGDIOBJ = void*;
using HBITMAP = struct HBITMAP__*;
using HFONT = struct HFONT__*;
using COLORREF = DWORD; // 0x00BBGGRR

inline constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b)
{
    return COLORREF{r} | COLORREF{g} << 8 | COLORREF{b} << 16;
}

// ---- Bitmaps ------------------------------------------------------------------------------

inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT LR_DEFAULTCOLOR = 0x0000;
inline constexpr UINT LR_LOADFROMFILE = 0x0010;
inline constexpr UINT LR_CREATEDIBSECTION = 0x2000;

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void* bmBits;
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};
static_assert(sizeof(RGBQUAD) == 4);

// With LR_LOADFROMFILE, reads the bitmap file `name` (the program has no bitmap resources, so
// any other load finds nothing). Null when the file cannot be read or is refused; the reason is
// then on the debug channel and in Last_Bitmap_Error().
HANDLE LoadImageA(HINSTANCE instance, const char* name, UINT type, int width, int height, UINT flags);
const char* Last_Bitmap_Error();
// Fills a BITMAP (for a bitmap) or a LOGFONTA (for a font); returns the bytes written, 0 on failure.
int GetObjectA(HGDIOBJ object, int size, void* buffer);
BOOL DeleteObject(HGDIOBJ object);

// ---- Device contexts ----------------------------------------------------------------------

HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Up to `count` entries of the colour table of the bitmap selected into the memory DC.
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colours);

inline constexpr DWORD SRCCOPY = 0x00CC0020;
// Copies a rectangle of pixels (converted to the destination's format; an 8-bit bitmap into an
// 8-bit surface copies its indices). Only SRCCOPY.
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int source_x, int source_y, DWORD rop);

inline constexpr int HORZSIZE = 4;
inline constexpr int VERTSIZE = 6;
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int BITSPIXEL = 12;
inline constexpr int PLANES = 14;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
int GetDeviceCaps(HDC dc, int index);

inline constexpr int MM_TEXT = 1;
inline constexpr int MM_ANISOTROPIC = 8;
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);
BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* previous);
BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* previous);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL DPtoLP(HDC dc, POINT* points, int count);
BOOL LPtoDP(HDC dc, POINT* points, int count);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);

inline constexpr int GM_COMPATIBLE = 1;
inline constexpr int GM_ADVANCED = 2;
int SetGraphicsMode(HDC dc, int mode);
struct XFORM {
    float eM11;
    float eM12;
    float eM21;
    float eM22;
    float eDx;
    float eDy;
};
inline constexpr DWORD MWT_IDENTITY = 1;
inline constexpr DWORD MWT_LEFTMULTIPLY = 2;
inline constexpr DWORD MWT_RIGHTMULTIPLY = 3;
BOOL ModifyWorldTransform(HDC dc, const XFORM* transform, DWORD mode);

// ---- Text ---------------------------------------------------------------------------------

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF SetBkColor(HDC dc, COLORREF colour);
int SetBkMode(HDC dc, int mode);

inline constexpr int LF_FACESIZE = 32;
inline constexpr BYTE DEFAULT_CHARSET = 1;
inline constexpr LONG FW_DONTCARE = 0;
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;

struct LOGFONTA {
    LONG lfHeight; // < 0: character (em) height; > 0: cell height; 0: default; logical units
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];
};

struct TEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};

inline constexpr int SYSTEM_FONT = 13;
HGDIOBJ GetStockObject(int which);
// The face name is resolved by fontconfig ("Arial" → Liberation Sans where installed).
HFONT CreateFontIndirectA(const LOGFONTA* font);
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
inline constexpr UINT ETO_OPAQUE = 0x0002;
inline constexpr UINT ETO_CLIPPED = 0x0004;
// One line, the reference point at the top-left of the text cell; text of `count` bytes.
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                 const int* dx);
