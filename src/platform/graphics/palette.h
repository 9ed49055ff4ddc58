// The 256-entry palette of 8-bit palettised surfaces (IDirectDrawPalette), and the clipper
// that binds a primary surface to a window (IDirectDrawClipper; kept for the calls the
// framework makes, clipping itself is the presenter's business).
#pragma once

#include "platform/graphics/pixel_format.h"
#include "platform/graphics/ref_counted.h"

#include <cstdint>

// Revisions of pixels and palettes: every change takes a new value from one process-wide
// counter, so a revision never repeats, not even for memory that is freed and reused.
uint64_t Next_Revision();

class IDirectDrawPalette : public Ref_Counted {
public:
    // flags: DDPCAPS_*; with DDPCAPS_ALPHA, each entry's peFlags is its alpha.
    IDirectDrawPalette(DWORD flags, const PALETTEENTRY* entries);

    HRESULT GetCaps(DWORD* caps);
    HRESULT GetEntries(DWORD flags, DWORD start, DWORD count, PALETTEENTRY* entries);
    HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, const PALETTEENTRY* entries);

    // The entries as A8R8G8B8 words (alpha 0xFF unless the palette carries alpha).
    const Palette_Colours& Colours() const { return Argb; }
    // Changes whenever the entries may have changed.
    uint64_t Revision() const { return Entries_Revision; }

private:
    void Refresh_Colours();

    DWORD Caps;
    PALETTEENTRY Entries[256] = {};
    Palette_Colours Argb{};
    uint64_t Entries_Revision = 0;
};

class IDirectDrawClipper : public Ref_Counted {
public:
    HRESULT SetHWnd(DWORD flags, HWND window);
    HRESULT GetHWnd(HWND* window);

private:
    HWND Window = nullptr;
};
