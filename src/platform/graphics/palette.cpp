// Palette and clipper objects.
#include "platform/graphics/palette.h"

#include <atomic>
#include <cstring>

uint64_t Next_Revision()
{
    static std::atomic<uint64_t> counter{0};
    return ++counter;
}

IDirectDrawPalette::IDirectDrawPalette(DWORD flags, const PALETTEENTRY* entries) : Caps(flags)
{
    if (entries) {
        std::memcpy(Entries, entries, sizeof Entries);
    }
    Refresh_Colours();
}

HRESULT IDirectDrawPalette::GetCaps(DWORD* caps)
{
    if (!caps) {
        return DDERR_INVALIDPARAMS;
    }
    *caps = Caps;
    return DD_OK;
}

HRESULT IDirectDrawPalette::GetEntries(DWORD, DWORD start, DWORD count, PALETTEENTRY* entries)
{
    if (!entries || start > 256 || count > 256 - start) {
        return DDERR_INVALIDPARAMS;
    }
    std::memcpy(entries, Entries + start, count * sizeof(PALETTEENTRY));
    return DD_OK;
}

HRESULT IDirectDrawPalette::SetEntries(DWORD, DWORD start, DWORD count, const PALETTEENTRY* entries)
{
    if (!entries || start > 256 || count > 256 - start) {
        return DDERR_INVALIDPARAMS;
    }
    std::memcpy(Entries + start, entries, count * sizeof(PALETTEENTRY));
    Refresh_Colours();
    return DD_OK;
}

void IDirectDrawPalette::Refresh_Colours()
{
    bool has_alpha = (Caps & DDPCAPS_ALPHA) != 0;
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = Entries[i];
        uint32_t alpha = has_alpha ? e.peFlags : 0xFFu;
        Argb[i] = alpha << 24 | uint32_t{e.peRed} << 16 | uint32_t{e.peGreen} << 8 | e.peBlue;
    }
    Entries_Revision = Next_Revision();
}

HRESULT IDirectDrawClipper::SetHWnd(DWORD, HWND window)
{
    Window = window;
    return DD_OK;
}

HRESULT IDirectDrawClipper::GetHWnd(HWND* window)
{
    if (!window) {
        return DDERR_INVALIDPARAMS;
    }
    *window = Window;
    return DD_OK;
}
