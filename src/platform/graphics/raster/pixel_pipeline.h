// The per-pixel steps shared by both rasterizers: texel decoding for every texture format,
// point and bilinear sampling with clamp/wrap/mirror addressing, the stage-0 colour
// operation, blending and the store into the target with optional ordered dithering. All
// integer, as raster_arithmetic.h states; both rasterizers call exactly these functions,
// so only their traversal differs.
#pragma once

#include "platform/graphics/raster/raster_arithmetic.h"
#include "platform/graphics/raster/raster_types.h"
#include "platform/graphics/raster/triangle_setup.h"

#include <cstdint>
#include <cstring>

namespace Raster {

struct Rgb {
    uint32_t r, g, b;
};

inline uint16_t Load_16(const uint8_t* p)
{
    uint16_t value;
    std::memcpy(&value, p, 2);
    return value;
}

inline uint32_t Load_32(const uint8_t* p)
{
    uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
}

// Texel (x, y) of a texture as 8-bit channels; alpha is not used by the colour operation.
inline Rgb Fetch_Texel(const Texture& texture, int32_t x, int32_t y)
{
    const uint8_t* row = texture.pixels + static_cast<intptr_t>(y) * texture.pitch;
    switch (texture.format) {
    case Pixel_Format::R5G6B5: {
        uint32_t p = Load_16(row + 2 * x);
        return {Widen_5(p >> 11), Widen_6((p >> 5) & 63), Widen_5(p & 31)};
    }
    case Pixel_Format::X1R5G5B5:
    case Pixel_Format::A1R5G5B5: {
        uint32_t p = Load_16(row + 2 * x);
        return {Widen_5((p >> 10) & 31), Widen_5((p >> 5) & 31), Widen_5(p & 31)};
    }
    case Pixel_Format::A4R4G4B4: {
        uint32_t p = Load_16(row + 2 * x);
        return {Widen_4((p >> 8) & 15), Widen_4((p >> 4) & 15), Widen_4(p & 15)};
    }
    case Pixel_Format::R8G8B8: {
        const uint8_t* p = row + 3 * x;
        return {p[2], p[1], p[0]};
    }
    case Pixel_Format::X8R8G8B8:
    case Pixel_Format::A8R8G8B8: {
        uint32_t p = Load_32(row + 4 * x);
        return {(p >> 16) & 255, (p >> 8) & 255, p & 255};
    }
    case Pixel_Format::P8: {
        uint32_t p = texture.palette ? texture.palette[row[x]] : 0;
        return {(p >> 16) & 255, (p >> 8) & 255, p & 255};
    }
    }
    return {0, 0, 0};
}

inline int32_t Address_Texel(int64_t index, int32_t size, Address mode)
{
    switch (mode) {
    case Address::Wrap: {
        int64_t m = index % size;
        return static_cast<int32_t>(m < 0 ? m + size : m);
    }
    case Address::Mirror: {
        int64_t period = 2 * static_cast<int64_t>(size);
        int64_t m = index % period;
        if (m < 0)
            m += period;
        return static_cast<int32_t>(m < size ? m : period - 1 - m);
    }
    case Address::Clamp:
        break;
    }
    return static_cast<int32_t>(index < 0 ? 0 : index >= size ? size - 1 : index);
}

// u and v: texel positions with Texel_Fraction_Bits, texel centres at integers.
inline Rgb Sample(const Texture& texture, const State& state, Filter filter, int64_t u, int64_t v)
{
    constexpr int shift = Texel_Fraction_Bits;
    if (filter == Filter::Point) {
        int64_t iu = (u + (int64_t{1} << (shift - 1))) >> shift;
        int64_t iv = (v + (int64_t{1} << (shift - 1))) >> shift;
        return Fetch_Texel(texture, Address_Texel(iu, texture.width, state.address_u),
                           Address_Texel(iv, texture.height, state.address_v));
    }
    constexpr int weight_shift = shift - Bilinear_Weight_Bits;
    int64_t ub = u >> weight_shift, vb = v >> weight_shift;
    uint32_t fu = static_cast<uint32_t>(ub & 255), fv = static_cast<uint32_t>(vb & 255);
    int64_t iu = ub >> Bilinear_Weight_Bits, iv = vb >> Bilinear_Weight_Bits;
    int32_t x0 = Address_Texel(iu, texture.width, state.address_u);
    int32_t x1 = Address_Texel(iu + 1, texture.width, state.address_u);
    int32_t y0 = Address_Texel(iv, texture.height, state.address_v);
    int32_t y1 = Address_Texel(iv + 1, texture.height, state.address_v);
    Rgb t00 = Fetch_Texel(texture, x0, y0), t10 = Fetch_Texel(texture, x1, y0);
    Rgb t01 = Fetch_Texel(texture, x0, y1), t11 = Fetch_Texel(texture, x1, y1);
    uint32_t w00 = (256 - fu) * (256 - fv), w10 = fu * (256 - fv), w01 = (256 - fu) * fv, w11 = fu * fv;
    auto mix = [&](uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
        return (a * w00 + b * w10 + c * w01 + d * w11 + 32768) >> 16;
    };
    return {mix(t00.r, t10.r, t01.r, t11.r), mix(t00.g, t10.g, t01.g, t11.g),
            mix(t00.b, t10.b, t01.b, t11.b)};
}

// Perspective: texel position = s / q, floored, minus half a texel.
inline int64_t Perspective_Divide(int64_t s, int64_t q)
{
    if (q < 1)
        q = 1;
    __int128 n = static_cast<__int128>(s) << Texel_Fraction_Bits;
    __int128 quotient = n / q;
    if ((n % q != 0) && (n < 0))
        quotient -= 1;
    return static_cast<int64_t>(quotient) - (int64_t{1} << (Texel_Fraction_Bits - 1));
}

// The attribute values of one pixel, evaluated from the planes.
struct Pixel_Attributes {
    int64_t r, g, b;
    int64_t u, v; // or s, t for perspective
    int64_t q;
};

inline Pixel_Attributes Attributes_At(const Triangle_Setup& s, int32_t x, int32_t y)
{
    if (s.perspective)
        return {s.red.At(x, y), s.green.At(x, y), s.blue.At(x, y), s.s.At(x, y), s.t.At(x, y), s.q.At(x, y)};
    return {s.red.At(x, y), s.green.At(x, y), s.blue.At(x, y), s.u.At(x, y), s.v.At(x, y), 0};
}

inline Rgb Shade(const Triangle_Setup& setup, const State& state, const Pixel_Attributes& a)
{
    Rgb diffuse{Colour_From_Plane(a.r), Colour_From_Plane(a.g), Colour_From_Plane(a.b)};
    if (!state.textured || state.colour == Colour_Source::Diffuse)
        return diffuse;
    int64_t u = a.u, v = a.v;
    if (setup.perspective) {
        u = Perspective_Divide(a.u, a.q);
        v = Perspective_Divide(a.v, a.q);
    }
    Rgb texel = Sample(state.texture, state, setup.filter, u, v);
    if (state.colour == Colour_Source::Texture)
        return texel;
    return {Modulate(texel.r, diffuse.r), Modulate(texel.g, diffuse.g), Modulate(texel.b, diffuse.b)};
}

inline Rgb Read_Target(const uint8_t* p, Pixel_Format format)
{
    if (format == Pixel_Format::R5G6B5) {
        uint32_t d = Load_16(p);
        return {Widen_5(d >> 11), Widen_6((d >> 5) & 63), Widen_5(d & 31)};
    }
    if (format == Pixel_Format::X1R5G5B5) {
        uint32_t d = Load_16(p);
        return {Widen_5((d >> 10) & 31), Widen_5((d >> 5) & 31), Widen_5(d & 31)};
    }
    uint32_t d = Load_32(p);
    return {(d >> 16) & 255, (d >> 8) & 255, d & 255};
}

inline void Store_Target(uint8_t* p, Pixel_Format format, Rgb c, bool dither, int32_t x, int32_t y)
{
    if (format == Pixel_Format::X8R8G8B8) {
        uint32_t d = (c.r << 16) | (c.g << 8) | c.b;
        std::memcpy(p, &d, 4);
        return;
    }
    uint32_t level = Dither_Matrix[y & 3][x & 3];
    auto q5 = [&](uint32_t v) { return dither ? Quantise_Dithered(v, 31, level) : Quantise_Nearest(v, 31); };
    auto q6 = [&](uint32_t v) { return dither ? Quantise_Dithered(v, 63, level) : Quantise_Nearest(v, 63); };
    uint16_t d = format == Pixel_Format::R5G6B5
                     ? static_cast<uint16_t>((q5(c.r) << 11) | (q6(c.g) << 5) | q5(c.b))
                     : static_cast<uint16_t>((q5(c.r) << 10) | (q5(c.g) << 5) | q5(c.b));
    std::memcpy(p, &d, 2);
}

inline void Blend_Pixel(const Target& target, const State& state, int32_t x, int32_t y, Rgb source)
{
    if (state.blend == Blend::Keep)
        return;
    uint8_t* p = target.pixels + static_cast<intptr_t>(y) * target.pitch +
                 static_cast<intptr_t>(x) * Bytes_Per_Pixel(target.format);
    if (state.blend == Blend::Add) {
        Rgb d = Read_Target(p, target.format);
        source = {Add_Saturate(source.r, d.r), Add_Saturate(source.g, d.g), Add_Saturate(source.b, d.b)};
    }
    Store_Target(p, target.format, source, state.dither, x, y);
}

} // namespace Raster
