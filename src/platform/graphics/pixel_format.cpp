// Pixel formats and the per-pixel codec (see pixel_format.h for the widening rule).
#include "platform/graphics/pixel_format.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

DDPIXELFORMAT Rgb_Format(DWORD bits, DWORD r, DWORD g, DWORD b, DWORD a)
{
    DDPIXELFORMAT f{};
    f.dwSize = sizeof(DDPIXELFORMAT);
    f.dwFlags = DDPF_RGB | (a ? DDPF_ALPHAPIXELS : 0);
    f.dwRGBBitCount = bits;
    f.dwRBitMask = r;
    f.dwGBitMask = g;
    f.dwBBitMask = b;
    f.dwRGBAlphaBitMask = a;
    return f;
}

} // namespace

DDPIXELFORMAT Make_Pixel_Format(Pixel_Layout layout)
{
    switch (layout) {
    case Pixel_Layout::R5G6B5:
        return Rgb_Format(16, 0xF800, 0x07E0, 0x001F, 0);
    case Pixel_Layout::X1R5G5B5:
        return Rgb_Format(16, 0x7C00, 0x03E0, 0x001F, 0);
    case Pixel_Layout::A1R5G5B5:
        return Rgb_Format(16, 0x7C00, 0x03E0, 0x001F, 0x8000);
    case Pixel_Layout::A4R4G4B4:
        return Rgb_Format(16, 0x0F00, 0x00F0, 0x000F, 0xF000);
    case Pixel_Layout::R8G8B8:
        return Rgb_Format(24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    case Pixel_Layout::X8R8G8B8:
        return Rgb_Format(32, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    case Pixel_Layout::A8R8G8B8:
        return Rgb_Format(32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000);
    case Pixel_Layout::P8:
        break;
    }
    DDPIXELFORMAT f{};
    f.dwSize = sizeof(DDPIXELFORMAT);
    f.dwFlags = DDPF_RGB | DDPF_PALETTEINDEXED8;
    f.dwRGBBitCount = 8;
    return f;
}

DDPIXELFORMAT Make_Z_Buffer_Format(DWORD depth)
{
    DDPIXELFORMAT f{};
    f.dwSize = sizeof(DDPIXELFORMAT);
    f.dwFlags = DDPF_ZBUFFER;
    f.dwZBufferBitDepth = depth;
    f.dwZBitMask = depth >= 32 ? 0xFFFFFFFFu : ((1u << depth) - 1);
    return f;
}

bool Is_Colour_Format(const DDPIXELFORMAT& f)
{
    if (f.dwFlags & DDPF_PALETTEINDEXED8) {
        return f.dwRGBBitCount == 8;
    }
    if (!(f.dwFlags & DDPF_RGB) || (f.dwFlags & (DDPF_FOURCC | DDPF_ZBUFFER))) {
        return false;
    }
    DWORD bits = f.dwRGBBitCount;
    if (bits != 16 && bits != 24 && bits != 32) {
        return false;
    }
    uint64_t limit = (uint64_t{1} << bits) - 1;
    uint64_t all = uint64_t{f.dwRBitMask} | f.dwGBitMask | f.dwBBitMask |
                   ((f.dwFlags & DDPF_ALPHAPIXELS) ? f.dwRGBAlphaBitMask : 0);
    return all != 0 && (all & ~limit) == 0;
}

bool Is_Z_Buffer_Format(const DDPIXELFORMAT& f)
{
    return (f.dwFlags & DDPF_ZBUFFER) &&
           (f.dwZBufferBitDepth == 16 || f.dwZBufferBitDepth == 24 || f.dwZBufferBitDepth == 32);
}

bool Same_Pixel_Format(const DDPIXELFORMAT& a, const DDPIXELFORMAT& b)
{
    DWORD alpha_a = (a.dwFlags & DDPF_ALPHAPIXELS) ? a.dwRGBAlphaBitMask : 0;
    DWORD alpha_b = (b.dwFlags & DDPF_ALPHAPIXELS) ? b.dwRGBAlphaBitMask : 0;
    bool pal_a = a.dwFlags & DDPF_PALETTEINDEXED8;
    bool pal_b = b.dwFlags & DDPF_PALETTEINDEXED8;
    if (pal_a || pal_b) {
        return pal_a == pal_b;
    }
    return a.dwRGBBitCount == b.dwRGBBitCount && a.dwRBitMask == b.dwRBitMask &&
           a.dwGBitMask == b.dwGBitMask && a.dwBBitMask == b.dwBBitMask && alpha_a == alpha_b;
}

DWORD Bytes_Per_Pixel(const DDPIXELFORMAT& f)
{
    if (f.dwFlags & DDPF_ZBUFFER) {
        return f.dwZBufferBitDepth <= 16 ? 2 : 4;
    }
    return (f.dwRGBBitCount + 7) / 8;
}

Pixel_Codec::Channel Pixel_Codec::Channel_Of(uint32_t mask)
{
    Channel c;
    c.Mask = mask;
    if (mask != 0) {
        c.Shift = std::countr_zero(mask);
        c.Bits = 32 - std::countl_zero(mask) - c.Shift;
    }
    return c;
}

uint32_t Pixel_Codec::Widen(uint32_t value, int bits)
{
    if (bits >= 8) {
        return value >> (bits - 8);
    }
    uint32_t out = 0;
    int filled = 0;
    while (filled < 8) {
        out = (out << bits) | value;
        filled += bits;
    }
    return out >> (filled - 8);
}

Pixel_Codec::Pixel_Codec(const DDPIXELFORMAT& format, const Palette_Colours* palette)
{
    Pixel_Bytes = Bytes_Per_Pixel(format);
    Palettised = (format.dwFlags & DDPF_PALETTEINDEXED8) != 0;
    if (Palettised) {
        for (uint32_t i = 0; i < 256; ++i) {
            Palette[i] = palette ? (*palette)[i] : (0xFF000000u | i * 0x010101u);
        }
        return;
    }
    Red = Channel_Of(format.dwRBitMask);
    Green = Channel_Of(format.dwGBitMask);
    Blue = Channel_Of(format.dwBBitMask);
    Alpha = Channel_Of((format.dwFlags & DDPF_ALPHAPIXELS) ? format.dwRGBAlphaBitMask : 0);
}

uint32_t Pixel_Codec::Decode_Value(uint32_t value) const
{
    if (Palettised) {
        return Palette[value & 0xFF];
    }
    auto part = [value](const Channel& c, uint32_t missing) {
        return c.Bits ? Widen((value & c.Mask) >> c.Shift, c.Bits) : missing;
    };
    return part(Alpha, 0xFF) << 24 | part(Red, 0) << 16 | part(Green, 0) << 8 | part(Blue, 0);
}

uint32_t Pixel_Codec::Decode(const uint8_t* p) const
{
    uint32_t value = 0;
    std::memcpy(&value, p, Pixel_Bytes);
    return Decode_Value(value);
}

uint8_t Pixel_Codec::Nearest_Index(uint32_t argb) const
{
    int best = 0;
    int64_t best_distance = INT64_MAX;
    for (int i = 0; i < 256; ++i) {
        int64_t distance = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            int d = static_cast<int>((argb >> shift) & 0xFF) - static_cast<int>((Palette[i] >> shift) & 0xFF);
            distance += d * d;
        }
        if (distance < best_distance) {
            best_distance = distance;
            best = i;
        }
    }
    return static_cast<uint8_t>(best);
}

uint32_t Pixel_Codec::Pixel_Value(uint32_t argb) const
{
    if (Palettised) {
        return Nearest_Index(argb);
    }
    auto part = [](const Channel& c, uint32_t value8) {
        return c.Bits ? ((value8 >> (8 - std::min(c.Bits, 8))) << c.Shift) & c.Mask : 0;
    };
    return part(Alpha, argb >> 24) | part(Red, (argb >> 16) & 0xFF) | part(Green, (argb >> 8) & 0xFF) |
           part(Blue, argb & 0xFF);
}

void Pixel_Codec::Encode(uint32_t argb, uint8_t* p) const
{
    uint32_t value = Pixel_Value(argb);
    std::memcpy(p, &value, Pixel_Bytes);
}
