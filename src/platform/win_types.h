// The basic types, handles and result codes of the original platform, shared by every
// interface of the platform layer (system, window, graphics, audio) so that the program's
// code keeps the shapes it was written against. One header, so each name is declared once.
//
// Result codes: 32 bits, negative for failure; platform codes pass through unchanged.
#pragma once

#include <cstdint>

using BOOL = int32_t;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using HRESULT = int32_t;

// Message parameters and results are pointer-sized, as on the original platform.
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

// Opaque handles: pointers to incomplete types so that they cannot be mixed up.
using HANDLE = void*;
using HWND = struct HWND__*;
using HMENU = struct HMENU__*;
using HINSTANCE = struct HINSTANCE__*;
using HICON = struct HICON__*;
using HCURSOR = struct HCURSOR__*;
using HACCEL = struct HACCEL__*;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

// A rectangle's extent and equality, as the window code compares geometry.
inline constexpr LONG Rect_Width(const RECT& r)
{
    return r.right - r.left;
}
inline constexpr LONG Rect_Height(const RECT& r)
{
    return r.bottom - r.top;
}
inline constexpr bool Same_Rect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct POINT {
    LONG x;
    LONG y;
};

struct SIZE {
    LONG cx;
    LONG cy;
};

inline constexpr WORD LOWORD(uintptr_t value)
{
    return static_cast<WORD>(value & 0xFFFF);
}
inline constexpr WORD HIWORD(uintptr_t value)
{
    return static_cast<WORD>((value >> 16) & 0xFFFF);
}
inline constexpr LPARAM MAKELPARAM(WORD low, WORD high)
{
    return static_cast<LPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
inline constexpr WPARAM MAKEWPARAM(WORD low, WORD high)
{
    return static_cast<WPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}

// Generic result codes.
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

inline constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
inline constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}
