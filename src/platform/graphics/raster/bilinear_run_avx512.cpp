// The flat bilinear run (Block_Functions::shade_run) for AVX-512, sixteen pixels a block in
// 16-bit lanes. Each channel of a pixel's 2 x 2 neighbourhood is one 32-bit lane of four bytes
// (upper row first and second tap, then the lower row), picked by byte permutes, so that the
// bilinear sum is taken in two exact stages on word pairs: across each texel row in 16-bit
// lanes (the row sum is below 2^16), then down the two rows with one 16 x 16 -> 32-bit
// multiply-add of rows offset into signed range. Where the block's sixteen texel pairs lie in
// a window of 32 or 64 texels (the layers are magnified several times), the bytes are picked
// from the window's two or four registers directly; elsewhere each pixel's neighbourhood is
// loaded from the texture's row pairs, where it lies in 16 bytes. Texel positions are stepped
// modulo 2^32, which is exact inside a texture of up to 256 texels a side and exact modulo 256
// texels in any; blocks that clamp or load pairs take them exactly from 64-bit lanes. The last
// block is masked. A triangle's rows may come together (Avx512_Shade_Rows): what the runs
// share is then set up once.
#include "platform/graphics/raster/bilinear_block.h"
#include "platform/graphics/raster/bilinear_run_bounds.h"

// g++ 12 takes the undefined pass-through operand inside its own AVX-512 intrinsics for an
// uninitialised read (its bug 105593); the warning says nothing about this file.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#pragma GCC diagnostic ignored "-Wuninitialized"
#endif
#include <algorithm>
#include <immintrin.h>

namespace Raster {
namespace {

#define RUN_TARGET __attribute__((target("avx512f,avx512bw,avx512vl,avx512dq,avx512vbmi,avx2,bmi2")))
// Inlined into the block loop, so the taps stay in registers.
#define RUN_INLINE RUN_TARGET inline __attribute__((always_inline))
#define RUN_INLINE_LAMBDA                                                                                    \
    __attribute__((always_inline, target("avx512f,avx512bw,avx512vl,avx512dq,avx512vbmi,avx2,bmi2")))

using Mask = __mmask16;

// Eight positions p + k * dp (k = first .. first + 7), biased by 2^46 so that a logical shift floors.
RUN_TARGET inline __m512i Biased_Positions(int64_t p, int64_t dp, int first)
{
    const __m512i k = _mm512_add_epi64(_mm512_set_epi64(7, 6, 5, 4, 3, 2, 1, 0), _mm512_set1_epi64(first));
    return _mm512_add_epi64(_mm512_set1_epi64(p + (int64_t{1} << 46)),
                            _mm512_mullo_epi64(k, _mm512_set1_epi64(dp)));
}

// Sixteen 32-bit lanes from the low halves of two vectors of eight 64-bit ones.
RUN_TARGET inline __m512i Join(__m512i first, __m512i second)
{
    return _mm512_inserti64x4(_mm512_castsi256_si512(_mm512_cvtepi64_epi32(first)),
                              _mm512_cvtepi64_epi32(second), 1);
}

// The positions of a block's sixteen pixels: their low 32 bits, stepped a block at a time by one
// wrapping add, and their offsets k * dp from the block's first, for exact lanes when needed.
struct Position_Lanes {
    __m512i low, step;
    __m512i offsets[2];
};

RUN_TARGET inline Position_Lanes Start_Positions(int64_t p, int64_t dp)
{
    Position_Lanes l;
    l.offsets[0] = Biased_Positions(0, dp, 0);
    l.offsets[1] = Biased_Positions(0, dp, 8);
    l.low = _mm512_add_epi32(Join(l.offsets[0], l.offsets[1]), _mm512_set1_epi32(static_cast<int32_t>(p)));
    l.step = _mm512_set1_epi32(static_cast<int32_t>(static_cast<uint64_t>(16 * dp)));
    return l;
}

// Each lane's position with 8 fraction bits, exactly: p >> 16 of p = first + k * dp (|p| < 2^45).
RUN_TARGET inline __m512i Exact_Positions(const Position_Lanes& l, int64_t first)
{
    const __m512i base = _mm512_set1_epi64(first - (int64_t{1} << 46)); // undoes the offsets' bias
    return Join(_mm512_srai_epi64(_mm512_add_epi64(base, l.offsets[0]), 16),
                _mm512_srai_epi64(_mm512_add_epi64(base, l.offsets[1]), 16));
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

// Each lane's index of its first tap in a window of the given width at (wx, wy), modulo 256:
// the positions may be known modulo 256 texels only, and the permutes read the low bits.
template <int Columns> RUN_TARGET inline __m512i Window_Index(int32_t wx, int32_t wy, __m512i x0, __m512i y0)
{
    constexpr int shift = Columns == 32 ? 5 : Columns == 16 ? 4 : Columns == 8 ? 3 : 2;
    static_assert(1 << shift == Columns);
    return _mm512_sub_epi32(_mm512_add_epi32(_mm512_slli_epi32(y0, shift), x0),
                            _mm512_set1_epi32(wy * Columns + wx));
}

RUN_TARGET inline const uint8_t* Window_Base(const Source& s, int32_t wx, int32_t wy)
{
    return s.pixels + static_cast<intptr_t>(wy) * s.pitch + 4 * wx;
}

// Whether a window holds pairs whose first taps span across x down texels (a pair reaches one
// texel right of and below its first tap), inside the texture.
template <int Columns, int Rows> inline bool Fits(const Source& s, const Block_Bounds& b)
{
    return b.across <= Columns - 2 && b.down <= Rows - 2 && s.width >= Columns && s.height >= Rows;
}

// The window's corner from the block's first taps, moved back inside the texture.
template <int Columns, int Rows>
inline void Place_Window(const Source& s, const Block_Bounds& b, int32_t& wx, int32_t& wy)
{
    wx = b.left < s.width - Columns ? b.left : s.width - Columns;
    wy = b.top < s.height - Rows ? b.top : s.height - Rows;
}

// Byte offset of each dword within its 128-bit lane, in all four bytes (for byte shuffles;
// the zeroing bytes 0x80 stay negative).
RUN_TARGET inline __m512i Dword_Base()
{
    return _mm512_set4_epi32(0x0C0C0C0C, 0x08080808, 0x04040404, 0);
}

// Byte offset of each dword within the register, in all four bytes (for byte permutes).
RUN_TARGET inline __m512i Lane_Bytes()
{
    constexpr int32_t b = 0x01010101;
    return _mm512_set_epi32(60 * b, 56 * b, 52 * b, 48 * b, 44 * b, 40 * b, 36 * b, 32 * b, 28 * b, 24 * b,
                            20 * b, 16 * b, 12 * b, 8 * b, 4 * b, 0);
}

// One channel of each pixel's neighbourhood, four bytes a lane: first and second tap of the
// upper row, then of the lower row.
struct Channels {
    __m512i blue, green, red;
};

// The four byte offsets (within a 128-byte table) of a channel's bytes: the taps at +0 and +1
// texels in the upper row, +0 and +1 in the lower row, which lies Row texels further on.
constexpr int32_t Neighbourhood_Bytes(int channel, int row)
{
    return channel | (4 + channel) << 8 | (4 * row + channel) << 16 | (4 * row + 4 + channel) << 24;
}

// A channel's bytes from a window's registers as a table of 128 or 256 bytes; with four, the
// offsets' top bit chooses the pair (upper: upper_half) the bytes come from.
template <int Parts>
RUN_TARGET inline __m512i Window_Channel(const __m512i* w, __m512i bytes, int32_t offsets,
                                         __mmask64 upper_half)
{
    const __m512i at = _mm512_add_epi8(bytes, _mm512_set1_epi32(offsets));
    const __m512i lower = _mm512_permutex2var_epi8(w[0], at, w[1]);
    if constexpr (Parts == 2)
        return lower;
    return _mm512_mask_blend_epi8(upper_half, lower, _mm512_permutex2var_epi8(w[2], at, w[3]));
}

// Channels of a block whose pairs all lie in a window of 32 or 64 texels at (wx, wy), its two
// or four registers used as one table: each lane's four byte offsets are four times its first
// tap's index (in each byte; below 256, as every pair lies inside) plus those of the channel.
// The channel's offset (0..2) leaves each byte's top bit as it is, so one mask serves all three.
template <int Columns, int Rows>
RUN_INLINE Channels Window_Channels(const Source& s, int32_t wx, int32_t wy, __m512i x0, __m512i y0)
{
    constexpr int parts = Columns * Rows / 16;
    static_assert(parts == 2 || parts == 4);
    const uint8_t* base = Window_Base(s, wx, wy);
    // Written out, not looped: g++ keeps a looped array on the stack, and the permutes then
    // reload each 64-byte part just after its store, which stalls.
    __m512i w[parts];
    w[0] = Window_Part<Columns>(base, s.pitch, 0);
    w[1] = Window_Part<Columns>(base, s.pitch, 1);
    if constexpr (parts == 4) {
        w[2] = Window_Part<Columns>(base, s.pitch, 2);
        w[3] = Window_Part<Columns>(base, s.pitch, 3);
    }
    const __m512i index = _mm512_slli_epi32(Window_Index<Columns>(wx, wy, x0, y0), 2);
    const __m512i bytes = _mm512_shuffle_epi8(index, Dword_Base());
    const __mmask64 upper_half =
        parts == 4
            ? _mm512_movepi8_mask(_mm512_add_epi8(bytes, _mm512_set1_epi32(Neighbourhood_Bytes(0, Columns))))
            : 0;
    return {Window_Channel<parts>(w, bytes, Neighbourhood_Bytes(0, Columns), upper_half),
            Window_Channel<parts>(w, bytes, Neighbourhood_Bytes(1, Columns), upper_half),
            Window_Channel<parts>(w, bytes, Neighbourhood_Bytes(2, Columns), upper_half)};
}

// Four pixels' neighbourhoods, 16 bytes each from the row pairs, one to a 128-bit lane.
RUN_INLINE __m512i Four_Neighbourhoods(const uint8_t* row_pairs, const int32_t* offsets)
{
    auto at = [&](int i) { return reinterpret_cast<const __m128i*>(row_pairs + offsets[i]); };
    __m512i q = _mm512_castsi128_si512(_mm_loadu_si128(at(0)));
    q = _mm512_inserti32x4(q, _mm_loadu_si128(at(1)), 1);
    q = _mm512_inserti32x4(q, _mm_loadu_si128(at(2)), 2);
    return _mm512_inserti32x4(q, _mm_loadu_si128(at(3)), 3);
}

// Channels of a block whose pairs lie too far apart for a window (x0, y0: its first taps,
// exactly): each pixel's neighbourhood is loaded from the row pairs, eight pixels to a pair
// of registers, and its channel bytes picked in the order Bilinear_Channel takes them.
RUN_INLINE Channels Pair_Channels(const Source& s, __m512i x0, __m512i y0)
{
    alignas(64) int32_t offsets[16];
    _mm512_store_si512(offsets, _mm512_add_epi32(_mm512_mullo_epi32(y0, _mm512_set1_epi32(8 * s.width)),
                                                 _mm512_slli_epi32(x0, 3)));
    const __m512i q0 = Four_Neighbourhoods(s.row_pairs, offsets),
                  q1 = Four_Neighbourhoods(s.row_pairs, offsets + 4);
    const __m512i q2 = Four_Neighbourhoods(s.row_pairs, offsets + 8),
                  q3 = Four_Neighbourhoods(s.row_pairs, offsets + 12);
    // Pixel i's neighbourhood at 16 * (i % 8) of its pair of registers: the texels (x, y) at +0,
    // (x, y + 1) at +4, (x + 1, y) at +8, (x + 1, y + 1) at +12.
    const __m512i first =
        _mm512_add_epi8(_mm512_slli_epi32(_mm512_and_si512(Lane_Bytes(), _mm512_set1_epi8(0x1C)), 2),
                        _mm512_set1_epi32(0x0C040800));
    auto channel = [&](int c) RUN_INLINE_LAMBDA {
        const __m512i at = _mm512_add_epi8(first, _mm512_set1_epi8(static_cast<char>(c)));
        return _mm512_mask_blend_epi8(0xFFFFFFFF00000000ull, _mm512_permutex2var_epi8(q0, at, q1),
                                      _mm512_permutex2var_epi8(q2, at, q3));
    };
    return {channel(0), channel(1), channel(2)};
}

// The window shapes, width and height in texels, narrowest first: a block takes the first that
// holds its pairs, else they are loaded from the row pairs.
#define RUN_WINDOW_SHAPES 8, 4, 16, 2, 4, 8, 32, 2, 16, 4, 8, 8, 4, 16

template <int W, int H, int... More> inline bool Fits_Some(const Source& s, const Block_Bounds& b)
{
    if constexpr (sizeof...(More) == 0) {
        return Fits<W, H>(s, b);
    } else {
        return Fits<W, H>(s, b) || Fits_Some<More...>(s, b);
    }
}

// Whether some window holds the block's pairs.
inline bool Windowed(const Source& s, const Block_Bounds& b)
{
    return Fits_Some<RUN_WINDOW_SHAPES>(s, b);
}

// x0, y0: exact where no window holds the pairs; a window needs them modulo 256 only.
template <int W, int H, int... More>
RUN_INLINE Channels Block_Channels(const Source& s, const Block_Bounds& b, __m512i x0, __m512i y0)
{
    if (Fits<W, H>(s, b)) {
        int32_t wx, wy;
        Place_Window<W, H>(s, b, wx, wy);
        return Window_Channels<W, H>(s, wx, wy, x0, y0);
    }
    if constexpr (sizeof...(More) == 0) {
        return Pair_Channels(s, x0, y0);
    } else {
        return Block_Channels<More...>(s, b, x0, y0);
    }
}

#include "platform/graphics/raster/bilinear_run_shading.h"

// What the runs of one texture, texel steps and diffuse colour share.
struct Run_Setup {
    Source s;
    Diffuse d;
    int64_t du, dv;
    Position_Lanes pu, pv; // of a run from position 0
    bool small;            // positions modulo 2^32 are exact inside the texture (256 texels a side)
};

RUN_INLINE Run_Setup Set_Up_Runs(const Texture& texture, int64_t du, int64_t dv, uint32_t diffuse)
{
    Run_Setup r{{texture.pixels, texture.row_pairs, texture.pitch, texture.width - 2, texture.height - 2,
                 texture.width, texture.height},
                {},
                du,
                dv,
                Start_Positions(0, du),
                Start_Positions(0, dv),
                texture.width <= 256 && texture.height <= 256};
    const uint32_t red = (diffuse >> 16) & 255, green = (diffuse >> 8) & 255, blue = diffuse & 255;
    r.d.low = Word_Pairs(blue, red);
    r.d.high = Word_Pairs(green, 0);
    r.d.low_bias = Word_Pairs(128 * blue + 128, 128 * red + 128);
    r.d.high_bias = Word_Pairs(128 * green + 128, 128);
    return r;
}

// The quantiser's bias plus one (Quantise_Words) of a 16-bit run: from the dither biases of
// its first eight pixels (two dither periods), or to round to the nearest level.
RUN_INLINE __m512i Bias_Plus_One(const uint32_t* dither_bias)
{
    if (!dither_bias)
        return _mm512_set1_epi16(128);
    // (2D + 1) * 255 / 32 floored, + 1, in both words.
    const __m256i eight = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dither_bias));
    const __m512i b =
        _mm512_add_epi32(_mm512_srli_epi32(_mm512_broadcast_i64x4(eight), 5), _mm512_set1_epi32(1));
    return _mm512_or_si512(b, _mm512_slli_epi32(b, 16));
}

// Bytes: 4 for X8R8G8B8, else 2 (Five_Six_Five: 5-6-5, else X1-5-5-5).
template <int Bytes, bool Five_Six_Five, bool Add>
RUN_INLINE void Run(const Run_Setup& r, int64_t u, int64_t v, int count, uint8_t* out, __m512i bias_plus_one)
{
    const Source& s = r.s;
    const bool small = r.small;
    Position_Lanes pu = r.pu, pv = r.pv;
    pu.low = _mm512_add_epi32(pu.low, _mm512_set1_epi32(static_cast<int32_t>(u)));
    pv.low = _mm512_add_epi32(pv.low, _mm512_set1_epi32(static_cast<int32_t>(v)));
    int64_t block_u = u, block_v = v; // the positions of each block's first pixel
    for (int k = 0; k < count; k += 16) {
        const int n = count - k < 16 ? count - k : 16;
        const Mask mask = static_cast<Mask>((1u << n) - 1);
        const bool whole = n == 16;
        const Block_Bounds bounds = whole
                                        ? Bounds(s, block_u, 15 * r.du, block_v, 15 * r.dv, true)
                                        : Bounds(s, block_u, (n - 1) * r.du, block_v, (n - 1) * r.dv, false);
        Channels channels;
        Fractions fractions;
        if (bounds.inside) {
            fractions = Low_Fractions(pu.low, pv.low);
            __m512i x0 = _mm512_srli_epi32(pu.low, 24), y0 = _mm512_srli_epi32(pv.low, 24);
            if (!small && !Windowed(s, bounds)) {
                x0 = _mm512_srai_epi32(Exact_Positions(pu, block_u), 8);
                y0 = _mm512_srai_epi32(Exact_Positions(pv, block_v), 8);
            }
            channels = Block_Channels<RUN_WINDOW_SHAPES>(s, bounds, x0, y0);
        } else {
            __m512i x0, y0, fu, fv;
            Pair_Taps(Exact_Positions(pu, block_u), s.last_x, x0, fu);
            Pair_Taps(Exact_Positions(pv, block_v), s.last_y, y0, fv);
            fractions = Pair_Fractions(fu, fv);
            channels = Block_Channels<RUN_WINDOW_SHAPES>(s, bounds, x0, y0);
        }
        block_u += 16 * r.du, block_v += 16 * r.dv;
        pu.low = _mm512_add_epi32(pu.low, pu.step);
        pv.low = _mm512_add_epi32(pv.low, pv.step);
        const Words c = Shade(channels, fractions, r.d);
        if constexpr (Bytes == 4)
            Store_32<Add>(c, out + 4 * k, mask);
        else
            Store_16<Five_Six_Five, Add>(c, out + 2 * k, mask, bias_plus_one);
    }
}

template <int Bytes, bool Five_Six_Five, bool Add>
RUN_TARGET void One_Run(const Texture& texture, int64_t u, int64_t du, int64_t v, int64_t dv,
                        uint32_t diffuse, int count, const Run_Output& output)
{
    Run<Bytes, Five_Six_Five, Add>(Set_Up_Runs(texture, du, dv, diffuse), u, v, count, output.pixels,
                                   Bias_Plus_One(Bytes == 2 ? output.dither_bias : nullptr));
}

template <int Bytes, bool Five_Six_Five, bool Add>
RUN_TARGET void Rows(const Rows_Job& job, const Row_Extent* rows, int count)
{
    const Run_Setup r = Set_Up_Runs(*job.texture, job.u.a, job.v.a, job.diffuse);
    for (const Row_Extent* row = rows; row != rows + count; ++row) {
        const Row_Start start = Start_Of<Bytes>(job, *row);
        Run<Bytes, Five_Six_Five, Add>(r, start.u, start.v, start.count, start.out,
                                       Bias_Plus_One(start.dither_bias));
    }
}

} // namespace

bool Avx512_May_Load_Pairs(const Texture& texture, int64_t du, int64_t dv)
{
    // A block's first taps lie at most floor(15 |d|) + 1 texels apart (clamping only brings them
    // closer): a window that holds that many holds every block's.
    auto reach = [](int64_t d) {
        const int64_t texels = (15 * (d < 0 ? -d : d) >> 24) + 1;
        return static_cast<int32_t>(texels < 1024 ? texels : 1024);
    };
    const Source s{nullptr, nullptr, 0, texture.width - 2, texture.height - 2, texture.width, texture.height};
    return !Windowed(s, {0, 0, reach(du), reach(dv), true});
}

bool Avx512_Needs_Row_Pairs(const Texture& texture, int64_t du, int64_t dv)
{
    return texture.row_pairs == nullptr && Avx512_May_Load_Pairs(texture, du, dv);
}

// The run for any count: the target format and the blend are chosen once per run.
RUN_TARGET void Avx512_Shade_Run(const Texture& texture, int64_t u, int64_t du, int64_t v, int64_t dv,
                                 uint32_t diffuse, int count, const Run_Output& output)
{
    auto run = output.sixteen_bits ? output.five_six_five
                                         ? (output.add ? One_Run<2, true, true> : One_Run<2, true, false>)
                                         : (output.add ? One_Run<2, false, true> : One_Run<2, false, false>)
               : output.add ? One_Run<4, false, true>
                                   : One_Run<4, false, false>;
    run(texture, u, du, v, dv, diffuse, count, output);
}

RUN_TARGET void Avx512_Shade_Rows(const Rows_Job& job, const Row_Extent* rows, int count)
{
    auto draw = job.sixteen_bits ? job.five_six_five
                                       ? (job.add ? Rows<2, true, true> : Rows<2, true, false>)
                                       : (job.add ? Rows<2, false, true> : Rows<2, false, false>)
                : job.add ? Rows<4, false, true>
                                 : Rows<4, false, false>;
    draw(job, rows, count);
}

} // namespace Raster
