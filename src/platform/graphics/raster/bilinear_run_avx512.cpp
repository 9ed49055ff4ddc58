// The flat bilinear run (Block_Functions::shade_run) for AVX-512, sixteen pixels a block in
// 16-bit lanes. Each texel is split into two word pairs (blue and red; green and the unused
// byte), so one instruction works on two channels of sixteen pixels. The bilinear sum is
// taken in two exact stages: across each texel row in 16-bit lanes (the row sum is below
// 2^16), then down the two rows with a 16 x 16 -> 32-bit multiply-add of rows offset into
// signed range. Where the block's sixteen texel pairs lie in a window of 32 or 64 texels (the
// layers are magnified several times), the window is loaded once and the taps picked from it
// with permutes; elsewhere the pairs are gathered. The last block is masked.
#include "platform/graphics/raster/bilinear_block.h"

// g++ 12 takes the undefined pass-through operand inside its own AVX-512 intrinsics for an
// uninitialised read (its bug 105593); the warning says nothing about this file.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
#include <immintrin.h>

namespace Raster {
namespace {

#define RUN_TARGET __attribute__((target("avx512f,avx512bw,avx512vl,avx512dq,avx2,bmi2")))
// Inlined into the block loop, so the taps stay in registers.
#define RUN_INLINE RUN_TARGET inline __attribute__((always_inline))

using Mask = __mmask16;

// The run's texture, as the block needs it.
struct Source {
    const uint8_t* pixels;
    int32_t pitch;
    int32_t last_x, last_y; // the first tap of a pair is at most these (size - 2)
    int32_t width, height;
};

// Eight positions p + k * dp (k = first .. first + 7), biased by 2^46 so that a logical shift floors.
RUN_TARGET inline __m512i Biased_Positions(int64_t p, int64_t dp, int first)
{
    const __m512i k = _mm512_add_epi64(_mm512_set_epi64(7, 6, 5, 4, 3, 2, 1, 0), _mm512_set1_epi64(first));
    return _mm512_add_epi64(_mm512_set1_epi64(p + (int64_t{1} << 46)),
                            _mm512_mullo_epi64(k, _mm512_set1_epi64(dp)));
}

// The positions of a block's sixteen pixels, stepped a block at a time in 32-bit lanes: each
// 24-bit position p is held as p >> 16 (its value with 8 fraction bits, below 2^29 in magnitude
// along the run) and its low 16 bits, whose carry goes into the first. Wrapping 32-bit sums
// leave both exact wherever the true value fits, as it does for every pixel of the run.
struct Position_Lanes {
    __m512i high, low;
    __m512i step_high, step_low;
};

// Sixteen 32-bit lanes from the low halves of two vectors of eight 64-bit ones.
RUN_TARGET inline __m512i Join(__m512i first, __m512i second)
{
    return _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvtepi64_epi32(first)),
                              _mm512_cvtepi64_epi32(second), 1);
}

RUN_TARGET inline Position_Lanes Start_Positions(int64_t p, int64_t dp)
{
    const __m512i a = Biased_Positions(p, dp, 0), b = Biased_Positions(p, dp, 8);
    const int64_t step = 16 * dp;
    Position_Lanes l;
    l.high = _mm512_sub_epi32(Join(_mm512_srli_epi64(a, 16), _mm512_srli_epi64(b, 16)),
                              _mm512_set1_epi32(1 << 30));
    l.low = _mm512_and_si512(Join(a, b), _mm512_set1_epi32(0xFFFF));
    l.step_high = _mm512_set1_epi32(static_cast<int32_t>(static_cast<uint64_t>(step >> 16)));
    l.step_low = _mm512_set1_epi32(static_cast<int32_t>(step & 0xFFFF));
    return l;
}

RUN_TARGET inline void Step_Positions(Position_Lanes& l)
{
    const __m512i low = _mm512_add_epi32(l.low, l.step_low);
    l.high = _mm512_add_epi32(_mm512_add_epi32(l.high, l.step_high), _mm512_srli_epi32(low, 16));
    l.low = _mm512_and_si512(low, _mm512_set1_epi32(0xFFFF));
}

// The pair's first tap and the weight of its second, clamping folded in: left of the texture
// both taps are texel 0 (weight 0), right of it both are the last texel (weight 256).
RUN_TARGET inline void Pair_Taps(__m512i position, int32_t last, __m512i& index, __m512i& fraction)
{
    const __m512i last_pair = _mm512_set1_epi32(last);
    __m512i i = _mm512_srai_epi32(position, 8);
    __m512i f = _mm512_and_si512(position, _mm512_set1_epi32(255));
    Mask before = _mm512_cmplt_epi32_mask(i, _mm512_setzero_si512());
    Mask beyond = _mm512_cmpgt_epi32_mask(i, last_pair);
    index = _mm512_max_epi32(_mm512_min_epi32(i, last_pair), _mm512_setzero_si512());
    f = _mm512_mask_mov_epi32(f, before, _mm512_setzero_si512());
    fraction = _mm512_mask_mov_epi32(f, beyond, _mm512_set1_epi32(256));
}

struct Taps {
    __m512i t00, t10, t01, t11; // X8R8G8B8 texels: first and second tap of the upper and lower row
};

// Sixteen texels of a window of the given width from its row r (and the rows after it, for
// windows narrower than sixteen), texel c at lane (r * Columns + c) % 16.
template <int Columns> RUN_TARGET inline __m512i Window_Part(const uint8_t* base, int32_t pitch, int part)
{
    const int first = part * 16;
    const uint8_t* row = base + static_cast<intptr_t>(first / Columns) * pitch;
    if constexpr (Columns >= 16)
        return _mm512_loadu_si512(row + 4 * (first % Columns));
    if constexpr (Columns == 8)
        return _mm512_inserti64x4(
            _mm512_castsi256_si512(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row))),
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + pitch)), 1);
    __m512i v = _mm512_castsi128_si512(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row)));
    v = _mm512_inserti32x4(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + pitch)), 1);
    v = _mm512_inserti32x4(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * pitch)), 2);
    return _mm512_inserti32x4(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 3 * pitch)), 3);
}

// Texel index (0..31, or 0..63) of each lane from the window's registers.
template <int Parts> RUN_TARGET inline __m512i Pick(const __m512i* w, __m512i index)
{
    __m512i low = _mm512_permutex2var_epi32(w[0], index, w[1]);
    if constexpr (Parts == 2)
        return low;
    __m512i high = _mm512_permutex2var_epi32(w[Parts - 2], index, w[Parts - 1]);
    return _mm512_mask_blend_epi32(_mm512_test_epi32_mask(index, _mm512_set1_epi32(32)), low, high);
}

// Taps of a block whose pairs all lie in the window of Rows x Columns texels at (wx, wy):
// 32 or 64 texels in two or four registers, picked by permutes (and, for 64, a blend on the
// index's bit 5).
template <int Columns, int Rows>
RUN_TARGET inline Taps Window_Taps(const Source& s, int32_t wx, int32_t wy, __m512i x0, __m512i y0)
{
    constexpr int parts = Columns * Rows / 16;
    static_assert(parts == 2 || parts == 4);
    const uint8_t* base = s.pixels + static_cast<intptr_t>(wy) * s.pitch + 4 * wx;
    __m512i w[parts];
    for (int i = 0; i < parts; ++i)
        w[i] = Window_Part<Columns>(base, s.pitch, i);
    constexpr int shift = Columns == 32 ? 5 : Columns == 16 ? 4 : Columns == 8 ? 3 : 2;
    static_assert(1 << shift == Columns);
    __m512i index = _mm512_sub_epi32(_mm512_add_epi32(_mm512_slli_epi32(y0, shift), x0),
                                     _mm512_set1_epi32(wy * Columns + wx));
    const __m512i one = _mm512_set1_epi32(1), down = _mm512_set1_epi32(Columns);
    Taps t;
    t.t00 = Pick<parts>(w, index);
    t.t10 = Pick<parts>(w, _mm512_add_epi32(index, one));
    index = _mm512_add_epi32(index, down);
    t.t01 = Pick<parts>(w, index);
    t.t11 = Pick<parts>(w, _mm512_add_epi32(index, one));
    return t;
}

// Both texels of each pair as one 64-bit element, eight pairs a gather, then split.
RUN_TARGET inline Taps Gathered_Taps(const Source& s, __m512i x0, __m512i y0)
{
    __m512i offset =
        _mm512_add_epi32(_mm512_mullo_epi32(y0, _mm512_set1_epi32(s.pitch)), _mm512_slli_epi32(x0, 2));
    const __m512i first = _mm512_set_epi32(30, 28, 26, 24, 22, 20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 0);
    const __m512i second = _mm512_add_epi32(first, _mm512_set1_epi32(1));
    Taps t;
    for (int row = 0; row < 2; ++row) {
        const uint8_t* base = s.pixels + row * s.pitch;
        __m512i a = _mm512_i32gather_epi64(_mm512_castsi512_si256(offset), base, 1);
        __m512i b = _mm512_i32gather_epi64(_mm512_extracti64x4_epi64(offset, 1), base, 1);
        (row == 0 ? t.t00 : t.t01) = _mm512_permutex2var_epi32(a, first, b);
        (row == 0 ? t.t10 : t.t11) = _mm512_permutex2var_epi32(a, second, b);
    }
    return t;
}

// The first taps of a block's pairs span [left, left + across] x [top, top + down]; inside:
// a whole block with no lane clamped.
struct Block_Bounds {
    int32_t left, top, across, down;
    bool inside;
};

// From the positions of lanes 0 and n - 1: positions are linear along the run and clamping
// keeps their order, so the two ends bound every lane.
inline Block_Bounds Bounds(const Source& s, int64_t u, int64_t du, int64_t v, int64_t dv, int n)
{
    int64_t xa = u >> 24, xb = (u + (n - 1) * du) >> 24, ya = v >> 24, yb = (v + (n - 1) * dv) >> 24;
    int64_t x_low = xa < xb ? xa : xb, x_high = xa < xb ? xb : xa;
    int64_t y_low = ya < yb ? ya : yb, y_high = ya < yb ? yb : ya;
    auto clamp = [](int64_t i, int32_t last) {
        return static_cast<int32_t>(i < 0 ? 0 : i > last ? last : i);
    };
    Block_Bounds b;
    b.left = clamp(x_low, s.last_x);
    b.top = clamp(y_low, s.last_y);
    b.across = clamp(x_high, s.last_x) - b.left;
    b.down = clamp(y_high, s.last_y) - b.top;
    // The lanes past the end of a last block are not bounded; clamped, they stay readable.
    b.inside = n == 16 && x_low >= 0 && x_high <= s.last_x && y_low >= 0 && y_high <= s.last_y;
    return b;
}

// Whether a window holds pairs whose first taps span across x down texels (a pair reaches one
// texel right of and below its first tap), inside the texture.
template <int Columns, int Rows> inline bool Fits(const Source& s, int32_t across, int32_t down)
{
    return across <= Columns - 2 && down <= Rows - 2 && s.width >= Columns && s.height >= Rows;
}

// The window from the block's first taps (left, top), moved back inside the texture.
template <int Columns, int Rows>
RUN_TARGET inline Taps Placed_Window(const Source& s, int32_t left, int32_t top, __m512i x0, __m512i y0)
{
    return Window_Taps<Columns, Rows>(s, left < s.width - Columns ? left : s.width - Columns,
                                      top < s.height - Rows ? top : s.height - Rows, x0, y0);
}

// The block's taps from the narrowest window shape that holds them, or gathered.
RUN_INLINE Taps Block_Taps(const Source& s, const Block_Bounds& b, __m512i x0, __m512i y0)
{
    const int32_t left = b.left, top = b.top, across = b.across, down = b.down;
    if (Fits<16, 2>(s, across, down))
        return Placed_Window<16, 2>(s, left, top, x0, y0);
    if (Fits<8, 4>(s, across, down))
        return Placed_Window<8, 4>(s, left, top, x0, y0);
    if (Fits<4, 8>(s, across, down))
        return Placed_Window<4, 8>(s, left, top, x0, y0);
    if (Fits<32, 2>(s, across, down))
        return Placed_Window<32, 2>(s, left, top, x0, y0);
    if (Fits<16, 4>(s, across, down))
        return Placed_Window<16, 4>(s, left, top, x0, y0);
    if (Fits<8, 8>(s, across, down))
        return Placed_Window<8, 8>(s, left, top, x0, y0);
    if (Fits<4, 16>(s, across, down))
        return Placed_Window<4, 16>(s, left, top, x0, y0);
    return Gathered_Taps(s, x0, y0);
}

// Byte offset of each dword within its 128-bit lane, in all four bytes (for byte shuffles;
// the zeroing bytes 0x80 stay negative).
RUN_TARGET inline __m512i Dword_Base()
{
    return _mm512_set4_epi32(0x0C0C0C0C, 0x08080808, 0x04040404, 0);
}

// Word pairs of texels: blue and red (low), or green and the fourth byte (high), each 0..255.
RUN_TARGET inline __m512i Low_Words(__m512i t)
{
    return _mm512_and_si512(t, _mm512_set1_epi32(0x00FF00FF));
}
RUN_TARGET inline __m512i High_Words(__m512i t)
{
    const __m512i bytes_1_3 = _mm512_set1_epi32(static_cast<int>(0x80038001u));
    return _mm512_shuffle_epi8(t, _mm512_add_epi8(bytes_1_3, Dword_Base()));
}
// Blue and red shifted into the high byte of their words.
RUN_TARGET inline __m512i Low_Words_High_Byte(__m512i t)
{
    const __m512i bytes_0_2 = _mm512_set1_epi32(static_cast<int>(0x02800080u));
    return _mm512_shuffle_epi8(t, _mm512_add_epi8(bytes_0_2, Dword_Base()));
}

// One texel row across its pair: c0 * (256 - f) + c1 * f = 256 * c0 + f * (c1 - c0), which is
// 0..65280 and so exact in 16-bit lanes, less 32640 to bring it into signed range. c0_high is
// c0 already shifted into the high byte of each word.
RUN_TARGET inline __m512i Row_Sum(__m512i c0_high, __m512i c0, __m512i c1, __m512i f)
{
    __m512i lerp = _mm512_mullo_epi16(_mm512_sub_epi16(c1, c0), f);
    return _mm512_add_epi16(_mm512_sub_epi16(c0_high, _mm512_set1_epi16(32640)), lerp);
}

// Down the two rows: (256 - fv) * h0 + fv * h1 with the rows offset by -32640 is the full sum
// plus 2^15 less 2^23, so the rounded texel channel (sum + 2^15) >> 16 is that >> 16, plus 128.
// The unpacks and the pack are lane-local and undo each other's order. Gives channel - 128.
RUN_TARGET inline __m512i Column_Sum(__m512i h0, __m512i h1, __m512i weights_low, __m512i weights_high)
{
    __m512i low = _mm512_madd_epi16(_mm512_unpacklo_epi16(h0, h1), weights_low);
    __m512i high = _mm512_madd_epi16(_mm512_unpackhi_epi16(h0, h1), weights_high);
    return _mm512_packs_epi32(_mm512_srai_epi32(low, 16), _mm512_srai_epi32(high, 16));
}

// round(t * d / 255) as (p + (p >> 8)) >> 8, p = t * d + 128, from t - 128: p = (t - 128) * d
// + (128 * d + 128), which is below 2^16, so wrapping 16-bit products give it exactly. The
// shift-add-shift is (p * 257) >> 16: p + floor(p / 256) and p + p / 256 have the same floor
// after division by 256, the first being an integer.
RUN_TARGET inline __m512i Modulate_Words(__m512i biased, __m512i d, __m512i d_bias)
{
    __m512i p = _mm512_add_epi16(_mm512_mullo_epi16(biased, d), d_bias);
    return _mm512_mulhi_epu16(p, _mm512_set1_epi16(257));
}

// The colour of each pixel as word pairs (blue, red) and (green, 0), all 0..255.
struct Words {
    __m512i low, high;
};

struct Diffuse {
    __m512i low, high, low_bias, high_bias;
};

RUN_TARGET inline Words Shade(const Taps& t, __m512i fu, __m512i fv, const Diffuse& d)
{
    const __m512i high_bytes = _mm512_set1_epi32(static_cast<int>(0xFF00FF00u));
    __m512i fu2 = _mm512_or_si512(fu, _mm512_slli_epi32(fu, 16));
    __m512i wv = _mm512_or_si512(_mm512_sub_epi32(_mm512_set1_epi32(256), fv), _mm512_slli_epi32(fv, 16));
    __m512i w_low = _mm512_unpacklo_epi32(wv, wv), w_high = _mm512_unpackhi_epi32(wv, wv);
    __m512i l00 = Low_Words(t.t00), l10 = Low_Words(t.t10), l01 = Low_Words(t.t01), l11 = Low_Words(t.t11);
    __m512i h00 = High_Words(t.t00), h10 = High_Words(t.t10), h01 = High_Words(t.t01),
            h11 = High_Words(t.t11);
    __m512i low0 = Row_Sum(Low_Words_High_Byte(t.t00), l00, l10, fu2);
    __m512i low1 = Row_Sum(Low_Words_High_Byte(t.t01), l01, l11, fu2);
    __m512i high0 = Row_Sum(_mm512_and_si512(t.t00, high_bytes), h00, h10, fu2);
    __m512i high1 = Row_Sum(_mm512_and_si512(t.t01, high_bytes), h01, h11, fu2);
    Words w;
    w.low = Modulate_Words(Column_Sum(low0, low1, w_low, w_high), d.low, d.low_bias);
    w.high = Modulate_Words(Column_Sum(high0, high1, w_low, w_high), d.high, d.high_bias);
    return w;
}

// The dest's 5- or 6-bit channels widened by bit replication, as word pairs like Words.
template <bool Five_Six_Five> RUN_TARGET inline Words Read_16(__m512i d)
{
    constexpr int red_shift = Five_Six_Five ? 11 : 10, green_mask = Five_Six_Five ? 63 : 31;
    __m512i low =
        _mm512_or_si512(_mm512_and_si512(d, _mm512_set1_epi32(31)),
                        _mm512_and_si512(_mm512_slli_epi32(d, 16 - red_shift), _mm512_set1_epi32(31 << 16)));
    __m512i high = _mm512_and_si512(_mm512_srli_epi32(d, 5), _mm512_set1_epi32(green_mask));
    low = _mm512_or_si512(_mm512_slli_epi16(low, 3), _mm512_srli_epi16(low, 2));
    high = Five_Six_Five ? _mm512_or_si512(_mm512_slli_epi16(high, 2), _mm512_srli_epi16(high, 4))
                         : _mm512_or_si512(_mm512_slli_epi16(high, 3), _mm512_srli_epi16(high, 2));
    return {low, high};
}

// c * M to M = 2^bits - 1 levels, then floor((c * M + bias) / 255) as a high product with 257,
// exact below 65790: bias is 127 to round to the nearest level, or floor((2D + 1) * 255 / 32)
// with the pixel's dither value D; bias_plus_one carries it with the + 1 of the division.
RUN_TARGET inline __m512i Quantise_Words(__m512i c, int bits, __m512i bias_plus_one)
{
    __m512i scaled = _mm512_sub_epi16(_mm512_sll_epi16(c, _mm_cvtsi32_si128(bits)), c);
    return _mm512_mulhi_epu16(_mm512_add_epi16(scaled, bias_plus_one), _mm512_set1_epi16(257));
}

template <bool Five_Six_Five, bool Add>
RUN_TARGET inline void Store_16(Words c, uint8_t* out, Mask mask, __m512i bias_plus_one)
{
    if constexpr (Add) {
        Words d = Read_16<Five_Six_Five>(_mm512_cvtepu16_epi32(_mm256_maskz_loadu_epi16(mask, out)));
        const __m512i top = _mm512_set1_epi16(255);
        c.low = _mm512_min_epu16(_mm512_add_epi16(c.low, d.low), top);
        c.high = _mm512_min_epu16(_mm512_add_epi16(c.high, d.high), top);
    }
    __m512i low = Quantise_Words(c.low, 5, bias_plus_one);
    __m512i high = Quantise_Words(c.high, Five_Six_Five ? 6 : 5, bias_plus_one);
    // Blue stays in bits 0-4, red moves from bit 16 to 11 (or 10), green from bit 0 to 5; the
    // fourth byte quantises to 0.
    __m512i red = Five_Six_Five ? _mm512_and_si512(_mm512_srli_epi32(low, 5), _mm512_set1_epi32(0xF800))
                                : _mm512_and_si512(_mm512_srli_epi32(low, 6), _mm512_set1_epi32(0x7C00));
    __m512i pixel = _mm512_or_si512(_mm512_or_si512(_mm512_and_si512(low, _mm512_set1_epi32(0xFFFF)), red),
                                    _mm512_slli_epi32(high, 5));
    _mm256_mask_storeu_epi16(out, mask, _mm512_cvtepi32_epi16(pixel));
}

template <bool Add> RUN_TARGET inline void Store_32(const Words& c, uint8_t* out, Mask mask)
{
    __m512i pixel = _mm512_or_si512(c.low, _mm512_slli_epi32(c.high, 8));
    if constexpr (Add)
        pixel = _mm512_and_si512(_mm512_adds_epu8(pixel, _mm512_maskz_loadu_epi32(mask, out)),
                                 _mm512_set1_epi32(0x00FFFFFF));
    _mm512_mask_storeu_epi32(out, mask, pixel);
}

RUN_TARGET inline __m512i Word_Pairs(uint32_t low, uint32_t high)
{
    return _mm512_set1_epi32(static_cast<int>(low | high << 16));
}

// Bytes: 4 for X8R8G8B8, else 2 (Five_Six_Five: 5-6-5, else X1-5-5-5).
template <int Bytes, bool Five_Six_Five, bool Add>
RUN_TARGET void Run(const Texture& texture, int64_t u, int64_t du, int64_t v, int64_t dv, uint32_t diffuse,
                    int count, const Run_Output& output)
{
    const Source s{texture.pixels,     texture.pitch, texture.width - 2,
                   texture.height - 2, texture.width, texture.height};
    Diffuse d;
    const uint32_t red = (diffuse >> 16) & 255, green = (diffuse >> 8) & 255, blue = diffuse & 255;
    d.low = Word_Pairs(blue, red);
    d.high = Word_Pairs(green, 0);
    d.low_bias = Word_Pairs(128 * blue + 128, 128 * red + 128);
    d.high_bias = Word_Pairs(128 * green + 128, 128);
    __m512i bias_plus_one = _mm512_set1_epi16(128);
    if (Bytes == 2 && output.dither_bias) {
        // (2D + 1) * 255 / 32 floored, + 1, in both words; eight pixels are two dither periods.
        __m256i eight = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(output.dither_bias));
        __m512i b =
            _mm512_add_epi32(_mm512_srli_epi32(_mm512_broadcast_i64x4(eight), 5), _mm512_set1_epi32(1));
        bias_plus_one = _mm512_or_si512(b, _mm512_slli_epi32(b, 16));
    }
    Position_Lanes pu = Start_Positions(u, du), pv = Start_Positions(v, dv);
    for (int k = 0; k < count; k += 16) {
        const int n = count - k < 16 ? count - k : 16;
        const Mask mask = static_cast<Mask>((1u << n) - 1);
        __m512i x0, y0, fu, fv;
        const Block_Bounds bounds = Bounds(s, u + k * du, du, v + k * dv, dv, n);
        if (bounds.inside) {
            const __m512i m255 = _mm512_set1_epi32(255);
            x0 = _mm512_srai_epi32(pu.high, 8), fu = _mm512_and_si512(pu.high, m255);
            y0 = _mm512_srai_epi32(pv.high, 8), fv = _mm512_and_si512(pv.high, m255);
        } else {
            Pair_Taps(pu.high, s.last_x, x0, fu);
            Pair_Taps(pv.high, s.last_y, y0, fv);
        }
        Step_Positions(pu);
        Step_Positions(pv);
        Taps taps = Block_Taps(s, bounds, x0, y0);
        Words c = Shade(taps, fu, fv, d);
        if constexpr (Bytes == 4)
            Store_32<Add>(c, output.pixels + 4 * k, mask);
        else
            Store_16<Five_Six_Five, Add>(c, output.pixels + 2 * k, mask, bias_plus_one);
    }
}

} // namespace

// The run for any count: the target format and the blend are chosen once per run.
RUN_TARGET void Avx512_Shade_Run(const Texture& texture, int64_t u, int64_t du, int64_t v, int64_t dv,
                                 uint32_t diffuse, int count, const Run_Output& output)
{
    auto run = output.sixteen_bits ? output.five_six_five
                                         ? (output.add ? Run<2, true, true> : Run<2, true, false>)
                                         : (output.add ? Run<2, false, true> : Run<2, false, false>)
               : output.add ? Run<4, false, true>
                                   : Run<4, false, false>;
    run(texture, u, du, v, dv, diffuse, count, output);
}

} // namespace Raster
