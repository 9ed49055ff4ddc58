// Result codes of the DirectDraw- and Direct3D-shaped graphics layer, with the values of the
// platform they stand in for, so the program's code can pass them through and compare them
// as it was written to. Generic codes (S_OK, E_FAIL, …) come from platform/win_types.h.
#pragma once

#include "platform/win_types.h"

inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);

inline constexpr HRESULT DD_OK = S_OK;
inline constexpr HRESULT D3D_OK = S_OK;

// Facility 0x876 codes: 0x88760000 | code.
constexpr HRESULT Make_DD_Result(unsigned code)
{
    return static_cast<HRESULT>(0x88760000u | code);
}

inline constexpr HRESULT DDERR_GENERIC = E_FAIL;
inline constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
inline constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
inline constexpr HRESULT DDERR_UNSUPPORTED = E_NOTIMPL;
inline constexpr HRESULT DDERR_CANNOTATTACHSURFACE = Make_DD_Result(10);
inline constexpr HRESULT DDERR_CANNOTDETACHSURFACE = Make_DD_Result(20);
inline constexpr HRESULT DDERR_INVALIDCAPS = Make_DD_Result(100);
inline constexpr HRESULT DDERR_INVALIDMODE = Make_DD_Result(120);
inline constexpr HRESULT DDERR_INVALIDOBJECT = Make_DD_Result(130);
inline constexpr HRESULT DDERR_INVALIDPIXELFORMAT = Make_DD_Result(145);
inline constexpr HRESULT DDERR_INVALIDRECT = Make_DD_Result(150);
inline constexpr HRESULT DDERR_LOCKEDSURFACES = Make_DD_Result(160); // 0x887600A0
inline constexpr HRESULT DDERR_NOEXCLUSIVEMODE = Make_DD_Result(225);
inline constexpr HRESULT DDERR_NOTFOUND = Make_DD_Result(255);         // 0x887600FF
inline constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = Make_DD_Result(380); // 0x8876017C
inline constexpr HRESULT DDERR_SURFACEBUSY = Make_DD_Result(430);
inline constexpr HRESULT DDERR_SURFACELOST = Make_DD_Result(450); // 0x887601C2
inline constexpr HRESULT DDERR_SURFACENOTATTACHED = Make_DD_Result(460);
inline constexpr HRESULT DDERR_WASSTILLDRAWING = Make_DD_Result(540); // 0x8876021C
inline constexpr HRESULT DDERR_NOPALETTEATTACHED = Make_DD_Result(572);
inline constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = Make_DD_Result(581);
inline constexpr HRESULT DDERR_NOTLOCKED = Make_DD_Result(584);
inline constexpr HRESULT DDERR_WRONGMODE = Make_DD_Result(587);
inline constexpr HRESULT DDERR_CANTCREATEDC = Make_DD_Result(593);
inline constexpr HRESULT DDERR_NOTFLIPPABLE = Make_DD_Result(582);
inline constexpr HRESULT DDERR_DCALREADYCREATED = Make_DD_Result(620);

inline constexpr HRESULT D3DERR_INVALID_DEVICE = Make_DD_Result(705);
inline constexpr HRESULT D3DERR_INITFAILED = Make_DD_Result(706);
inline constexpr HRESULT D3DERR_INVALIDPRIMITIVETYPE = Make_DD_Result(2048);
inline constexpr HRESULT D3DERR_INVALIDVERTEXTYPE = Make_DD_Result(2049);
inline constexpr HRESULT D3DERR_SCENE_IN_SCENE = Make_DD_Result(740);
inline constexpr HRESULT D3DERR_SCENE_NOT_IN_SCENE = Make_DD_Result(741);
inline constexpr HRESULT D3DERR_SCENE_BEGIN_FAILED = Make_DD_Result(742);
inline constexpr HRESULT D3DERR_SCENE_END_FAILED = Make_DD_Result(743);
inline constexpr HRESULT D3DERR_NOCURRENTVIEWPORT = Make_DD_Result(2103);
inline constexpr HRESULT D3DERR_VIEWPORTHASNODEVICE = Make_DD_Result(2104);
