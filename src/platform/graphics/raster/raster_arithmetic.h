// The numeric contract of both rasterizers (reference and software), stated once.
//
// Everything that decides a pixel's bytes is integer arithmetic on the numbers below, so a
// plain per-pixel evaluation (the reference) and a stepped, banded, multi-threaded one (the
// software device) give byte-identical targets. Floating point ends at triangle set-up: the
// set-up is one shared function, so both rasterizers start from the same integers.
//
// Positions. Screen positions are snapped to 1/16 pixel (4 sub-pixel bits, rounded to
// nearest, ties away from zero). Pixel centres lie at integer coordinates: pixel (x, y) is
// sampled at (16x, 16y) in snapped units. Positions are first clipped to a guard band of
// +-2^20 pixels, so snapped values stay below 2^25 and the edge function
// E = dX * (16y - Y0) - dY * (16x - X0) stays below 2^52: exact in int64, and its set-up
// determinant is exact in a double.
//
// Coverage. A pixel is covered when every edge function is > 0, or == 0 on a top or a left
// edge (top: horizontal and above the interior; left: on the interior's left). Each edge is
// snapped once and shared exactly, so the triangles of a fan cover every pixel once.
//
// Attributes. Each attribute a is a plane a(x, y) = C + A*x + B*y in int64 fixed point over
// integer pixel coordinates, evaluated exactly (stepping by A along a span equals direct
// evaluation). Colour channels use 16 fraction bits; texture coordinates are in texel units
// with 24 fraction bits, already shifted by half a texel so that texel centres lie at
// integers ((i + 0.5) / size in texture space). Perspective-correct coordinates (when
// D3DRENDERSTATE_TEXTUREPERSPECTIVE is TRUE) interpolate s = u*q, t = v*q and q = 1/w
// (normalised to the largest of the three) with 30 fraction bits and divide per pixel with
// a 128-bit floor division.
//
// Per-pixel rounding (all exact integers):
//   colour channel  = clamp((plane + 2^15) >> 16, 0, 255)
//   point sample    : texel index = (u + 2^23) >> 24, i.e. floor of the texture position
//   bilinear sample : position floored to 8 fraction bits; weights w = f and 256 - f;
//                     result = (sum texel * wu * wv + 2^15) >> 16
//   modulate        = (t*d + 128 + ((t*d + 128) >> 8)) >> 8 — exactly round(t*d / 255), so
//                     255 keeps the texel and 0 gives black
//   add             = min(255, source + destination) per channel
//   to 5 or 6 bits  : with dithering, (c * M * 32 + (2 * D + 1) * 255) / (255 * 32) with the
//                     4x4 ordered-dither value D (0..15) of the pixel, M = 31 or 63; without,
//                     round(c * M / 255). A 16-bit destination read back for adding is
//                     widened by bit replication.
#pragma once

#include <cstdint>

namespace Raster {

inline constexpr int Sub_Pixel_Bits = 4;
inline constexpr int64_t Sub_Pixel_Scale = 1 << Sub_Pixel_Bits;
inline constexpr double Guard_Band = 1048576.0; // 2^20 pixels each side of the origin

inline constexpr int Colour_Fraction_Bits = 16;
inline constexpr int Texel_Fraction_Bits = 24;
inline constexpr int Perspective_Fraction_Bits = 30;
inline constexpr int Bilinear_Weight_Bits = 8;

// Texture coordinates are limited to +-1024 repetitions so that texel positions (up to
// 2^21 texels with 24 fraction bits) stay far inside int64 and the 128-bit division.
inline constexpr double Texture_Coordinate_Limit = 1024.0;

// Plane coefficients are saturated so that C + A*x + B*y over any target (below 2^15
// pixels a side) cannot overflow int64.
inline constexpr int64_t Plane_Gradient_Limit = int64_t{1} << 44;
inline constexpr int64_t Plane_Constant_Limit = int64_t{1} << 60;

// 4x4 ordered-dither matrix (values 0..15), indexed [y & 3][x & 3].
inline constexpr uint8_t Dither_Matrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

inline int64_t Floor_Shift(int64_t value, int bits)
{
    return value >> bits; // arithmetic shift: floor division by 2^bits
}

// Division rounding towards minus infinity (d != 0).
inline int64_t Floor_Div(int64_t n, int64_t d)
{
    int64_t q = n / d;
    return (n % d != 0 && ((n < 0) != (d < 0))) ? q - 1 : q;
}

inline uint32_t Colour_From_Plane(int64_t value)
{
    int64_t c = (value + (int64_t{1} << (Colour_Fraction_Bits - 1))) >> Colour_Fraction_Bits;
    return c < 0 ? 0u : c > 255 ? 255u : static_cast<uint32_t>(c);
}

inline uint32_t Modulate(uint32_t t, uint32_t d)
{
    uint32_t p = t * d + 128;
    return (p + (p >> 8)) >> 8;
}

inline uint32_t Add_Saturate(uint32_t s, uint32_t d)
{
    uint32_t sum = s + d;
    return sum > 255 ? 255 : sum;
}

inline uint32_t Quantise_Dithered(uint32_t c, uint32_t max_level, uint32_t dither)
{
    return (c * max_level * 32 + (2 * dither + 1) * 255) / (255 * 32);
}

inline uint32_t Quantise_Nearest(uint32_t c, uint32_t max_level)
{
    return (c * max_level * 2 + 255) / 510;
}

inline uint32_t Widen_5(uint32_t c)
{
    return (c << 3) | (c >> 2);
}
inline uint32_t Widen_6(uint32_t c)
{
    return (c << 2) | (c >> 4);
}
inline uint32_t Widen_4(uint32_t c)
{
    return c * 17;
}

} // namespace Raster
