// The pixel formats surfaces are made in, and the codec that turns a pixel of any of them into
// an A8R8G8B8 word and back (used by Blt's converting copy, the GDI layer and the tests).
//
// Decoding widens each channel by repeating its top bits (5-bit 0x1F → 0xFF, 0x10 → 0x84), so
// every format's extremes map to 0 and 255 and decode-then-encode gives the pixel back.
// A format without alpha decodes with alpha 0xFF. An 8-bit palettised pixel decodes through its
// palette (peFlags as alpha when the palette carries alpha, else 0xFF); encoding to it picks the
// nearest palette entry.
#pragma once

#include "platform/graphics/ddraw_types.h"

#include <array>
#include <cstdint>

enum class Pixel_Layout { R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4, R8G8B8, X8R8G8B8, A8R8G8B8, P8 };

DDPIXELFORMAT Make_Pixel_Format(Pixel_Layout layout);
DDPIXELFORMAT Make_Z_Buffer_Format(DWORD depth);

// Colour formats a surface can hold: RGB at 16, 24 or 32 bits with masks inside the pixel, or
// 8-bit palettised.
bool Is_Colour_Format(const DDPIXELFORMAT& format);
bool Is_Z_Buffer_Format(const DDPIXELFORMAT& format);
bool Same_Pixel_Format(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b);
// Bytes one pixel takes in memory (24-bit pixels take three; a 24-bit z-buffer four).
DWORD Bytes_Per_Pixel(const DDPIXELFORMAT& format);

// A palette as A8R8G8B8 words.
using Palette_Colours = std::array<uint32_t, 256>;

class Pixel_Codec {
public:
    // palette: required for 8-bit formats (a missing one reads as a grey ramp).
    explicit Pixel_Codec(const DDPIXELFORMAT& format, const Palette_Colours* palette = nullptr);

    uint32_t Decode(const uint8_t* pixel) const;
    void Encode(uint32_t argb, uint8_t* pixel) const;
    // The pixel value of a colour, as the low bits of a word (a DDBLTFX fill colour).
    uint32_t Pixel_Value(uint32_t argb) const;
    uint32_t Decode_Value(uint32_t value) const;
    DWORD Bytes() const { return Pixel_Bytes; }

private:
    struct Channel {
        uint32_t Mask = 0;
        int Shift = 0;
        int Bits = 0;
    };
    static Channel Channel_Of(uint32_t mask);
    static uint32_t Widen(uint32_t value, int bits);
    uint8_t Nearest_Index(uint32_t argb) const;

    Channel Red, Green, Blue, Alpha;
    DWORD Pixel_Bytes = 4;
    bool Palettised = false;
    Palette_Colours Palette{};
};
