// Result codes of device enumeration (ENUMERR_) and of the framework (FWERR_), and the message
// box that turns a result code into a sentence for the user.
#pragma once

#include "platform/win_types.h"

#include <cstddef>

inline constexpr HRESULT ENUMERR_NO_DIRECTDRAW = static_cast<HRESULT>(0x81000001u);
inline constexpr HRESULT ENUMERR_ENUMERATION_FAILED = static_cast<HRESULT>(0x81000002u);
inline constexpr HRESULT ENUMERR_SUGGEST_REFERENCE = static_cast<HRESULT>(0x81000003u);
inline constexpr HRESULT ENUMERR_NO_COMPATIBLE_DEVICE = static_cast<HRESULT>(0x81000004u);

inline constexpr HRESULT FWERR_INIT_FAILED = static_cast<HRESULT>(0x82000000u);
inline constexpr HRESULT FWERR_NO_DIRECTDRAW = static_cast<HRESULT>(0x82000001u);
inline constexpr HRESULT FWERR_NO_COOP_LEVEL = static_cast<HRESULT>(0x82000002u);
inline constexpr HRESULT FWERR_NO_DIRECT3D = static_cast<HRESULT>(0x82000003u);
inline constexpr HRESULT FWERR_NO_DEVICE = static_cast<HRESULT>(0x82000004u);
inline constexpr HRESULT FWERR_NO_ZBUFFER = static_cast<HRESULT>(0x82000005u);
inline constexpr HRESULT FWERR_BAD_ZBUFFER_DEPTH = static_cast<HRESULT>(0x82000006u);
inline constexpr HRESULT FWERR_NO_VIEWPORT = static_cast<HRESULT>(0x82000007u);
inline constexpr HRESULT FWERR_NO_PRIMARY = static_cast<HRESULT>(0x82000008u);
inline constexpr HRESULT FWERR_NO_CLIPPER = static_cast<HRESULT>(0x82000009u);
inline constexpr HRESULT FWERR_BAD_DISPLAY_MODE = static_cast<HRESULT>(0x8200000Au);
inline constexpr HRESULT FWERR_NO_BACKBUFFER = static_cast<HRESULT>(0x8200000Bu);
inline constexpr HRESULT FWERR_REFCOUNT_LEFT = static_cast<HRESULT>(0x8200000Cu);
inline constexpr HRESULT FWERR_NO_RENDER_TARGET = static_cast<HRESULT>(0x8200000Du);
inline constexpr HRESULT FWERR_DESKTOP_TOO_FEW_COLOURS = static_cast<HRESULT>(0x8200000Eu);
inline constexpr HRESULT FWERR_NOT_OPEN = static_cast<HRESULT>(0x8200000Fu);

inline constexpr DWORD ERRMSG_MUST_EXIT = 1;
inline constexpr DWORD ERRMSG_SWITCHED_TO_SOFTWARE = 2;

// Writes the message for the code and kind into buffer (at most size − 1 characters) and
// returns the message-box type: MB_ICONERROR for ERRMSG_MUST_EXIT, MB_ICONWARNING otherwise.
UINT Framework_Error_Text(HRESULT code, DWORD kind, char* buffer, std::size_t size);

// Shows the message in a box owned by no window, captioned with the application's window title.
void ShowFrameworkError(HRESULT code, DWORD kind, const char* window_title);
