// The flat bilinear run (Block_Functions::shade_run) for AVX2, eight pixels a block in 16-bit
// lanes, for processors without the AVX-512 run: the same exact two-stage sums as that run
// (see bilinear_run_shading.h) in 256-bit registers. Each pixel's two texel pairs, of the
// upper and the lower row, are loaded as 64-bit words into one 128-bit lane, and in-lane
// shuffles and a transpose turn them into one 32-bit lane per channel of four bytes (upper row
// first and second tap, then the lower row); on the processors measured, gathers and texel
// windows picked by byte shuffles were both slower. Blocks inside a texture of up to 256 texels
// a side take their taps from positions stepped modulo 2^32; the others take them exactly
// from 64-bit lanes, and clamp where they leave the texture. The last block of a run goes
// through a small buffer, so that nothing past the run is read or written.
#include "platform/graphics/raster/bilinear_block.h"
#include "platform/graphics/raster/bilinear_run_bounds.h"

#include <cstring>
#include <immintrin.h>

namespace Raster {
namespace {

#define RUN2_TARGET __attribute__((target("avx2")))
#define RUN2_INLINE RUN2_TARGET inline __attribute__((always_inline))
#define RUN2_INLINE_LAMBDA __attribute__((always_inline, target("avx2")))

// Positions p + k * dp of lanes i, i + 1, j, j + 1, biased by 2^46 so that a logical shift floors.
RUN2_INLINE __m256i Biased_Lanes(int64_t p, int64_t dp, int i, int j)
{
    constexpr int64_t bias = int64_t{1} << 46;
    return _mm256_set_epi64x(bias + p + (j + 1) * dp, bias + p + j * dp, bias + p + (i + 1) * dp,
                             bias + p + i * dp);
}

// Positions with 8 fraction bits of lanes 0, 1, 4, 5 (in a) and 2, 3, 6, 7 (in b), exact below
// 2^45 in magnitude: back to eight int32 lanes in order.
RUN2_INLINE __m256i Block_Lanes(__m256i a, __m256i b)
{
    __m256i low = _mm256_castps_si256(_mm256_shuffle_ps(_mm256_castsi256_ps(_mm256_srli_epi64(a, 16)),
                                                        _mm256_castsi256_ps(_mm256_srli_epi64(b, 16)),
                                                        _MM_SHUFFLE(2, 0, 2, 0)));
    return _mm256_sub_epi32(low, _mm256_set1_epi32(1 << 30));
}

// The pair's first tap and the weight of its second, clamping folded in: left of the texture
// both taps are texel 0 (weight 0), right of it both are the last texel (weight 256).
RUN2_INLINE void Pair_Taps(__m256i position, __m256i last_pair, __m256i& index, __m256i& fraction)
{
    const __m256i i = _mm256_srai_epi32(position, 8);
    const __m256i f = _mm256_and_si256(position, _mm256_set1_epi32(255));
    const __m256i before = _mm256_cmpgt_epi32(_mm256_setzero_si256(), i);
    const __m256i beyond = _mm256_cmpgt_epi32(i, last_pair);
    index = _mm256_max_epi32(_mm256_min_epi32(i, last_pair), _mm256_setzero_si256());
    fraction = _mm256_or_si256(_mm256_andnot_si256(_mm256_or_si256(before, beyond), f),
                               _mm256_and_si256(beyond, _mm256_set1_epi32(256)));
}

// One channel of each pixel's neighbourhood, four bytes a lane.
struct Channels {
    __m256i blue, green, red;
};

// Two pixels' neighbourhoods, one to a 128-bit lane: the pair of the upper row, then the lower.
RUN2_INLINE __m256i Two_Neighbourhoods(const Source& s, int32_t first, int32_t second)
{
    auto lane = [&](int32_t offset) RUN2_INLINE_LAMBDA {
        const uint8_t* upper = s.pixels + offset;
        const __m128i pair = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(upper));
        return _mm_castpd_si128(
            _mm_loadh_pd(_mm_castsi128_pd(pair), reinterpret_cast<const double*>(upper + s.pitch)));
    };
    return _mm256_inserti128_si256(_mm256_castsi128_si256(lane(first)), lane(second), 1);
}

// The neighbourhoods of eight pixels whose first taps are at the byte offsets (from the
// texture's first texel): each pixel's two texel pairs are loaded into a 128-bit lane (pixels i
// and i + 4 share a register), their channel bytes picked in-lane and the lanes transposed.
RUN2_INLINE Channels Load_Channels(const Source& s, __m256i offsets)
{
    alignas(32) int32_t at[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(at), offsets);
    // Per pixel the bytes b g r x b g r x of the upper pair, then of the lower: each channel's
    // four bytes into one dword, blue, green, red, zero.
    const __m256i pick = _mm256_setr_epi8(0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, -1, -1, -1, -1, 0, 4, 8, 12,
                                          1, 5, 9, 13, 2, 6, 10, 14, -1, -1, -1, -1);
    const __m256i p0 = _mm256_shuffle_epi8(Two_Neighbourhoods(s, at[0], at[4]), pick);
    const __m256i p1 = _mm256_shuffle_epi8(Two_Neighbourhoods(s, at[1], at[5]), pick);
    const __m256i p2 = _mm256_shuffle_epi8(Two_Neighbourhoods(s, at[2], at[6]), pick);
    const __m256i p3 = _mm256_shuffle_epi8(Two_Neighbourhoods(s, at[3], at[7]), pick);
    // The 4 x 4 transpose of each lane's dwords: pixels 0-3 in the low lane, 4-7 in the high.
    const __m256i bg01 = _mm256_unpacklo_epi32(p0, p1), bg23 = _mm256_unpacklo_epi32(p2, p3);
    const __m256i r01 = _mm256_unpackhi_epi32(p0, p1), r23 = _mm256_unpackhi_epi32(p2, p3);
    return {_mm256_unpacklo_epi64(bg01, bg23), _mm256_unpackhi_epi64(bg01, bg23),
            _mm256_unpacklo_epi64(r01, r23)};
}

// One channel's bilinear sum from its four bytes, as the AVX-512 run takes it: across each row
// 256 * c0 + fu * (c1 - c0) less 32640, in signed words; down, one multiply-add with
// (256 - fv, fv). Gives channel - 128 in the high word.
RUN2_INLINE __m256i Bilinear_Channel(__m256i bytes, __m256i fu_pairs, __m256i weights)
{
    const __m256i difference = _mm256_maddubs_epi16(bytes, _mm256_set1_epi16(0x01FF));
    __m256i row = _mm256_add_epi16(_mm256_slli_epi16(bytes, 8), _mm256_mullo_epi16(difference, fu_pairs));
    row = _mm256_sub_epi16(row, _mm256_set1_epi16(32640));
    return _mm256_madd_epi16(row, weights);
}

// round(t * d / 255) from t - 128, as (p * 257) >> 16 with p = (t - 128) * d + 128 * d + 128.
RUN2_INLINE __m256i Modulate_Words(__m256i biased, __m256i d, __m256i d_bias)
{
    const __m256i p = _mm256_add_epi16(_mm256_mullo_epi16(biased, d), d_bias);
    return _mm256_mulhi_epu16(p, _mm256_set1_epi16(257));
}

// The colour of each pixel as word pairs (blue, red) and (green, 0), all 0..255.
struct Words {
    __m256i low, high;
};

struct Diffuse {
    __m256i low, high, low_bias, high_bias;
};

RUN2_INLINE __m256i Word_Pairs(uint32_t low, uint32_t high)
{
    return _mm256_set1_epi32(static_cast<int>(low | high << 16));
}

// fu in both words of each lane, and the weights (256 - fv, fv) of the two rows.
struct Fractions {
    __m256i fu_pairs, weights;
};

RUN2_INLINE Fractions Pair_Fractions(__m256i fu, __m256i fv)
{
    return {_mm256_or_si256(fu, _mm256_slli_epi32(fu, 16)),
            _mm256_or_si256(_mm256_sub_epi32(_mm256_set1_epi32(256), fv), _mm256_slli_epi32(fv, 16))};
}

// From positions modulo 2^32, whose bits 16-23 are the fraction: copied into both words.
RUN2_INLINE Fractions Low_Fractions(__m256i u, __m256i v)
{
    const __m256i both_words = _mm256_setr_epi8(2, -1, 2, -1, 6, -1, 6, -1, 10, -1, 10, -1, 14, -1, 14, -1, 2,
                                                -1, 2, -1, 6, -1, 6, -1, 10, -1, 10, -1, 14, -1, 14, -1);
    const __m256i fv = _mm256_shuffle_epi8(v, both_words);
    return {_mm256_shuffle_epi8(u, both_words),
            _mm256_blend_epi16(_mm256_sub_epi16(_mm256_set1_epi16(256), fv), fv, 0xAA)};
}

RUN2_INLINE Words Shade(const Channels& c, const Fractions& f, const Diffuse& d)
{
    const __m256i blue = Bilinear_Channel(c.blue, f.fu_pairs, f.weights);
    const __m256i green = Bilinear_Channel(c.green, f.fu_pairs, f.weights);
    const __m256i red = Bilinear_Channel(c.red, f.fu_pairs, f.weights);
    // The high words of blue and red as the low and high words of each lane.
    const __m256i low = _mm256_blend_epi16(_mm256_srli_epi32(blue, 16), red, 0xAA);
    return {Modulate_Words(low, d.low, d.low_bias),
            Modulate_Words(_mm256_srli_epi32(green, 16), d.high, d.high_bias)};
}

template <bool Add> RUN2_INLINE void Store_32(const Words& c, uint8_t* out)
{
    __m256i pixel = _mm256_or_si256(c.low, _mm256_slli_epi32(c.high, 8));
    auto* lanes = reinterpret_cast<__m256i*>(out);
    if constexpr (Add)
        pixel = _mm256_and_si256(_mm256_adds_epu8(pixel, _mm256_loadu_si256(lanes)),
                                 _mm256_set1_epi32(0x00FFFFFF));
    _mm256_storeu_si256(lanes, pixel);
}

// The dest's 5- or 6-bit channels widened by bit replication, as word pairs like Words.
template <bool Five_Six_Five> RUN2_INLINE Words Read_16(__m256i d)
{
    constexpr int red_shift = Five_Six_Five ? 11 : 10, green_mask = Five_Six_Five ? 63 : 31;
    __m256i low =
        _mm256_or_si256(_mm256_and_si256(d, _mm256_set1_epi32(31)),
                        _mm256_and_si256(_mm256_slli_epi32(d, 16 - red_shift), _mm256_set1_epi32(31 << 16)));
    __m256i high = _mm256_and_si256(_mm256_srli_epi32(d, 5), _mm256_set1_epi32(green_mask));
    low = _mm256_or_si256(_mm256_slli_epi16(low, 3), _mm256_srli_epi16(low, 2));
    high = Five_Six_Five ? _mm256_or_si256(_mm256_slli_epi16(high, 2), _mm256_srli_epi16(high, 4))
                         : _mm256_or_si256(_mm256_slli_epi16(high, 3), _mm256_srli_epi16(high, 2));
    return {low, high};
}

// floor((c * M + bias) / 255) with M = 2^bits - 1, as the AVX-512 run quantises.
RUN2_INLINE __m256i Quantise_Words(__m256i c, int bits, __m256i bias_plus_one)
{
    const __m256i scaled = _mm256_sub_epi16(_mm256_sll_epi16(c, _mm_cvtsi32_si128(bits)), c);
    return _mm256_mulhi_epu16(_mm256_add_epi16(scaled, bias_plus_one), _mm256_set1_epi16(257));
}

template <bool Five_Six_Five, bool Add>
RUN2_INLINE void Store_16(Words c, uint8_t* out, __m256i bias_plus_one)
{
    auto* lanes = reinterpret_cast<__m128i*>(out);
    if constexpr (Add) {
        const Words d = Read_16<Five_Six_Five>(_mm256_cvtepu16_epi32(_mm_loadu_si128(lanes)));
        const __m256i top = _mm256_set1_epi16(255);
        c.low = _mm256_min_epu16(_mm256_add_epi16(c.low, d.low), top);
        c.high = _mm256_min_epu16(_mm256_add_epi16(c.high, d.high), top);
    }
    const __m256i low = Quantise_Words(c.low, 5, bias_plus_one);
    const __m256i high = Quantise_Words(c.high, Five_Six_Five ? 6 : 5, bias_plus_one);
    // Blue stays in bits 0-4, red moves from bit 16 to 11 (or 10), green from bit 0 to 5.
    const __m256i red = Five_Six_Five
                            ? _mm256_and_si256(_mm256_srli_epi32(low, 5), _mm256_set1_epi32(0xF800))
                            : _mm256_and_si256(_mm256_srli_epi32(low, 6), _mm256_set1_epi32(0x7C00));
    const __m256i pixel = _mm256_or_si256(
        _mm256_or_si256(_mm256_and_si256(low, _mm256_set1_epi32(0xFFFF)), red), _mm256_slli_epi32(high, 5));
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi32(pixel, pixel), 0x08);
    _mm_storeu_si128(lanes, _mm256_castsi256_si128(packed));
}

// The quantiser's bias plus one of a 16-bit run: from the dither biases of its first eight
// pixels (two dither periods, which every block repeats), or to round to the nearest level.
RUN2_INLINE __m256i Bias_Plus_One(const uint32_t* dither_bias)
{
    if (!dither_bias)
        return _mm256_set1_epi16(128);
    const __m256i biases = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dither_bias));
    const __m256i b = _mm256_add_epi32(_mm256_srli_epi32(biases, 5), _mm256_set1_epi32(1));
    return _mm256_or_si256(b, _mm256_slli_epi32(b, 16));
}

// What the runs of one texture, texel steps and diffuse colour share.
struct Run_Setup {
    Source s;
    Diffuse d;
    int64_t du, dv;
    __m256i lanes_u[2], lanes_v[2]; // Biased_Lanes of a run from position 0
    __m256i low_u, low_v;           // the lanes' positions modulo 2^32 in a run from 0
    __m256i step_u, step_v;         // a block's step of those
    __m256i last_x, last_y, pitch, word_pitch;
    // Positions modulo 2^32 give the texels inside the texture (256 texels a side).
    bool small;
    bool word_offsets; // texel coordinates and the pitch fit signed words
};

// Positions k * d of lanes k = 0..7 modulo 2^32.
RUN2_INLINE __m256i Low_Lanes(int64_t d)
{
    const auto step = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(d)));
    return _mm256_mullo_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), _mm256_set1_epi32(step));
}

RUN2_INLINE Run_Setup Set_Up_Runs(const Texture& texture, int64_t du, int64_t dv, uint32_t diffuse)
{
    Run_Setup r;
    r.s = {texture.pixels,     texture.row_pairs, texture.pitch, texture.width - 2,
           texture.height - 2, texture.width,     texture.height};
    r.du = du, r.dv = dv;
    r.lanes_u[0] = Biased_Lanes(0, du, 0, 4), r.lanes_u[1] = Biased_Lanes(0, du, 2, 6);
    r.lanes_v[0] = Biased_Lanes(0, dv, 0, 4), r.lanes_v[1] = Biased_Lanes(0, dv, 2, 6);
    r.low_u = Low_Lanes(du), r.low_v = Low_Lanes(dv);
    r.step_u = _mm256_set1_epi32(static_cast<int32_t>(static_cast<uint64_t>(8 * du)));
    r.step_v = _mm256_set1_epi32(static_cast<int32_t>(static_cast<uint64_t>(8 * dv)));
    r.last_x = _mm256_set1_epi32(r.s.last_x), r.last_y = _mm256_set1_epi32(r.s.last_y);
    r.pitch = _mm256_set1_epi32(texture.pitch);
    r.word_pitch = _mm256_set1_epi32(texture.pitch << 16 | 4);
    r.small = texture.width <= 256 && texture.height <= 256;
    r.word_offsets = texture.width < 32768 && texture.height < 32768 && texture.pitch < 32768;
    const uint32_t red = (diffuse >> 16) & 255, green = (diffuse >> 8) & 255, blue = diffuse & 255;
    r.d.low = Word_Pairs(blue, red);
    r.d.high = Word_Pairs(green, 0);
    r.d.low_bias = Word_Pairs(128 * blue + 128, 128 * red + 128);
    r.d.high_bias = Word_Pairs(128 * green + 128, 128);
    return r;
}

// The exact positions (8 fraction bits) of a block's lanes from that of its first pixel.
RUN2_INLINE __m256i Exact_Positions(const __m256i lanes[2], int64_t first)
{
    const __m256i base = _mm256_set1_epi64x(first);
    return Block_Lanes(_mm256_add_epi64(lanes[0], base), _mm256_add_epi64(lanes[1], base));
}

// The byte offsets of first taps inside the texture (from its first texel).
RUN2_INLINE __m256i Offsets(const Run_Setup& r, __m256i x0, __m256i y0)
{
    if (r.word_offsets) // x, y as words: 4 x + pitch y in one multiply-add
        return _mm256_madd_epi16(_mm256_blend_epi16(x0, _mm256_slli_epi32(y0, 16), 0xAA), r.word_pitch);
    return _mm256_add_epi32(_mm256_mullo_epi32(y0, r.pitch), _mm256_slli_epi32(x0, 2));
}

// Bytes: 4 for X8R8G8B8, else 2 (Five_Six_Five: 5-6-5, else X1-5-5-5).
template <int Bytes, bool Five_Six_Five, bool Add>
RUN2_INLINE void Run(const Run_Setup& r, int64_t u, int64_t v, int count, uint8_t* out, __m256i bias_plus_one)
{
    __m256i lu = _mm256_add_epi32(r.low_u, _mm256_set1_epi32(static_cast<int32_t>(u)));
    __m256i lv = _mm256_add_epi32(r.low_v, _mm256_set1_epi32(static_cast<int32_t>(v)));
    int64_t block_u = u, block_v = v; // the positions of each block's first pixel
    alignas(32) uint8_t last_block[8 * Bytes];
    for (int k = 0; k < count; k += 8) {
        const int n = count - k < 8 ? count - k : 8;
        const bool whole = n == 8;
        const Block_Bounds bounds = Bounds(r.s, block_u, (n - 1) * r.du, block_v, (n - 1) * r.dv, whole);
        Fractions fractions;
        __m256i x0, y0;
        if (bounds.inside && r.small) {
            fractions = Low_Fractions(lu, lv);
            x0 = _mm256_srli_epi32(lu, 24), y0 = _mm256_srli_epi32(lv, 24);
        } else {
            const __m256i pu = Exact_Positions(r.lanes_u, block_u), pv = Exact_Positions(r.lanes_v, block_v);
            __m256i fu, fv;
            if (bounds.inside) {
                x0 = _mm256_srai_epi32(pu, 8), fu = _mm256_and_si256(pu, _mm256_set1_epi32(255));
                y0 = _mm256_srai_epi32(pv, 8), fv = _mm256_and_si256(pv, _mm256_set1_epi32(255));
            } else {
                Pair_Taps(pu, r.last_x, x0, fu);
                Pair_Taps(pv, r.last_y, y0, fv);
            }
            fractions = Pair_Fractions(fu, fv);
        }
        const Channels channels = Load_Channels(r.s, Offsets(r, x0, y0));
        block_u += 8 * r.du, block_v += 8 * r.dv;
        lu = _mm256_add_epi32(lu, r.step_u), lv = _mm256_add_epi32(lv, r.step_v);
        const Words c = Shade(channels, fractions, r.d);
        uint8_t* block = out + Bytes * k;
        if (!whole) {
            if constexpr (Add)
                std::memcpy(last_block, block, static_cast<size_t>(n) * Bytes);
            block = last_block;
        }
        if constexpr (Bytes == 4)
            Store_32<Add>(c, block);
        else
            Store_16<Five_Six_Five, Add>(c, block, bias_plus_one);
        if (!whole)
            std::memcpy(out + Bytes * k, last_block, static_cast<size_t>(n) * Bytes);
    }
}

template <int Bytes, bool Five_Six_Five, bool Add>
RUN2_TARGET void One_Run(const Texture& texture, int64_t u, int64_t du, int64_t v, int64_t dv,
                         uint32_t diffuse, int count, const Run_Output& output)
{
    Run<Bytes, Five_Six_Five, Add>(Set_Up_Runs(texture, du, dv, diffuse), u, v, count, output.pixels,
                                   Bias_Plus_One(Bytes == 2 ? output.dither_bias : nullptr));
}

template <int Bytes, bool Five_Six_Five, bool Add>
RUN2_TARGET void Rows(const Rows_Job& job, const Row_Extent* rows, int count)
{
    const Run_Setup r = Set_Up_Runs(*job.texture, job.u.a, job.v.a, job.diffuse);
    for (const Row_Extent* row = rows; row != rows + count; ++row) {
        const Row_Start start = Start_Of<Bytes>(job, *row);
        Run<Bytes, Five_Six_Five, Add>(r, start.u, start.v, start.count, start.out,
                                       Bias_Plus_One(start.dither_bias));
    }
}

} // namespace

// The run for any count: the target format and the blend are chosen once per run.
RUN2_TARGET void Avx2_Shade_Run(const Texture& texture, int64_t u, int64_t du, int64_t v, int64_t dv,
                                uint32_t diffuse, int count, const Run_Output& output)
{
    auto run = output.sixteen_bits ? output.five_six_five
                                         ? (output.add ? One_Run<2, true, true> : One_Run<2, true, false>)
                                         : (output.add ? One_Run<2, false, true> : One_Run<2, false, false>)
               : output.add ? One_Run<4, false, true>
                                   : One_Run<4, false, false>;
    run(texture, u, du, v, dv, diffuse, count, output);
}

RUN2_TARGET void Avx2_Shade_Rows(const Rows_Job& job, const Row_Extent* rows, int count)
{
    auto draw = job.sixteen_bits ? job.five_six_five
                                       ? (job.add ? Rows<2, true, true> : Rows<2, true, false>)
                                       : (job.add ? Rows<2, false, true> : Rows<2, false, false>)
                : job.add ? Rows<4, false, true>
                                 : Rows<4, false, false>;
    draw(job, rows, count);
}

} // namespace Raster
