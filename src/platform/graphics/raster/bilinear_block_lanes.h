// The body of the vector block functions (see bilinear_block.h), compiled once per instruction
// set: each file that includes it defines BLOCK_TARGET, the target attribute of its functions,
// and includes it inside a namespace of its own. The arithmetic is in 32-bit lanes of 256-bit
// vectors; built for AVX-512, the compiler has twice the registers (no spills) and shorter forms.
// Needs bilinear_block.h, <cstring> and <immintrin.h> included before the namespace opens.
namespace {

BLOCK_TARGET inline __m256i Clamp_Lanes(__m256i i, __m256i last)
{
    return _mm256_max_epi32(_mm256_min_epi32(i, last), _mm256_setzero_si256());
}

struct Taps {
    __m256i t00, t10, t01, t11;
    __m256i w00, w10, w01, w11;
};

// One channel: the bilinear sum of the four taps, rounded, then modulated by the diffuse.
BLOCK_TARGET inline __m256i Channel(const Taps& taps, int shift, __m256i d)
{
    const __m256i m255 = _mm256_set1_epi32(255);
    __m256i c00 = _mm256_and_si256(_mm256_srli_epi32(taps.t00, shift), m255);
    __m256i c10 = _mm256_and_si256(_mm256_srli_epi32(taps.t10, shift), m255);
    __m256i c01 = _mm256_and_si256(_mm256_srli_epi32(taps.t01, shift), m255);
    __m256i c11 = _mm256_and_si256(_mm256_srli_epi32(taps.t11, shift), m255);
    __m256i sum = _mm256_add_epi32(_mm256_mullo_epi32(c00, taps.w00), _mm256_mullo_epi32(c10, taps.w10));
    sum = _mm256_add_epi32(sum, _mm256_mullo_epi32(c01, taps.w01));
    sum = _mm256_add_epi32(sum, _mm256_mullo_epi32(c11, taps.w11));
    __m256i texel = _mm256_srli_epi32(_mm256_add_epi32(sum, _mm256_set1_epi32(32768)), 16);
    __m256i p = _mm256_add_epi32(_mm256_mullo_epi32(texel, d), _mm256_set1_epi32(128));
    return _mm256_srli_epi32(_mm256_add_epi32(p, _mm256_srli_epi32(p, 8)), 8);
}

BLOCK_TARGET inline __m256i Load(const uint32_t* lanes)
{
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lanes));
}

BLOCK_TARGET inline void Set_Weights(Taps& taps, __m256i fu, __m256i fv)
{
    const __m256i m256 = _mm256_set1_epi32(256);
    __m256i gu = _mm256_sub_epi32(m256, fu), gv = _mm256_sub_epi32(m256, fv);
    taps.w00 = _mm256_mullo_epi32(gu, gv);
    taps.w10 = _mm256_mullo_epi32(fu, gv);
    taps.w01 = _mm256_mullo_epi32(gu, fv);
    taps.w11 = _mm256_mullo_epi32(fu, fv);
}

// floor(x / 255) for 0 <= x < 65790, as shifts and one product.
BLOCK_TARGET inline __m256i Divide_255(__m256i x)
{
    // x * 257 + 257 as a shift and adds: the same integer without a 32-bit product.
    __m256i times_257 = _mm256_add_epi32(_mm256_slli_epi32(x, 8), x);
    return _mm256_srli_epi32(_mm256_add_epi32(times_257, _mm256_set1_epi32(257)), 16);
}

// One channel to max_level (31 or 63): dithered (c*M*32 + bias) / 8160, or nearest
// (c*M*2 + 255) / 510, each as a floor of a floor so that the quotient is exact.
BLOCK_TARGET inline __m256i Quantise(__m256i c, int max_level, const uint32_t* dither_bias)
{
    // c * max_level with max_level = 2^k - 1.
    __m256i scaled = _mm256_sub_epi32(_mm256_sll_epi32(c, _mm_cvtsi32_si128(max_level == 63 ? 6 : 5)), c);
    if (dither_bias) {
        __m256i bias = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dither_bias));
        __m256i x = _mm256_add_epi32(_mm256_slli_epi32(scaled, 5), bias);
        return Divide_255(_mm256_srli_epi32(x, 5));
    }
    __m256i x = _mm256_add_epi32(_mm256_slli_epi32(scaled, 1), _mm256_set1_epi32(255));
    return Divide_255(_mm256_srli_epi32(x, 1));
}

BLOCK_TARGET inline __m256i Widen_Lanes(__m256i c, int bits)
{
    return _mm256_or_si256(_mm256_slli_epi32(c, 8 - bits), _mm256_srli_epi32(c, 2 * bits - 8));
}

} // namespace

namespace {

BLOCK_TARGET inline void Store_Lanes_16(__m256i s, uint8_t* out, bool five_six_five, bool add,
                                        const uint32_t* dither_bias)
{
    const __m256i m255 = _mm256_set1_epi32(255);
    __m256i r = _mm256_and_si256(_mm256_srli_epi32(s, 16), m255);
    __m256i g = _mm256_and_si256(_mm256_srli_epi32(s, 8), m255);
    __m256i b = _mm256_and_si256(s, m255);
    const int green_bits = five_six_five ? 6 : 5;
    const int red_shift = five_six_five ? 11 : 10;
    if (add) {
        __m256i d = _mm256_cvtepu16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(out)));
        __m256i dr = _mm256_and_si256(_mm256_srli_epi32(d, red_shift), _mm256_set1_epi32(31));
        __m256i dg = _mm256_and_si256(_mm256_srli_epi32(d, 5), _mm256_set1_epi32((1 << green_bits) - 1));
        __m256i db = _mm256_and_si256(d, _mm256_set1_epi32(31));
        r = _mm256_min_epi32(_mm256_add_epi32(r, Widen_Lanes(dr, 5)), m255);
        g = _mm256_min_epi32(_mm256_add_epi32(g, Widen_Lanes(dg, green_bits)), m255);
        b = _mm256_min_epi32(_mm256_add_epi32(b, Widen_Lanes(db, 5)), m255);
    }
    __m256i qr = Quantise(r, 31, dither_bias);
    __m256i qg = Quantise(g, (1 << green_bits) - 1, dither_bias);
    __m256i qb = Quantise(b, 31, dither_bias);
    __m256i pixel =
        _mm256_or_si256(_mm256_slli_epi32(qr, red_shift), _mm256_or_si256(_mm256_slli_epi32(qg, 5), qb));
    __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi32(pixel, pixel), 0x08);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(packed));
}

} // namespace

BLOCK_TARGET static void Store_Block_16(const uint32_t source[8], uint8_t* out, bool five_six_five, bool add,
                                        const uint32_t* dither_bias)
{
    Store_Lanes_16(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(source)), out, five_six_five, add,
                   dither_bias);
}

BLOCK_TARGET static void Shade_Bilinear_Block(const Texture& texture, const Bilinear_Block& block,
                                              uint32_t out[8])
{
    const __m256i m255 = _mm256_set1_epi32(255);
    const __m256i last_x = _mm256_set1_epi32(texture.width - 1),
                  last_y = _mm256_set1_epi32(texture.height - 1);
    const __m256i one = _mm256_set1_epi32(1), pitch = _mm256_set1_epi32(texture.pitch / 4);
    __m256i ub = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block.u));
    __m256i vb = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(block.v));
    __m256i fu = _mm256_and_si256(ub, m255), fv = _mm256_and_si256(vb, m255);
    __m256i iu = _mm256_srai_epi32(ub, 8), iv = _mm256_srai_epi32(vb, 8);
    __m256i x0 = Clamp_Lanes(iu, last_x), x1 = Clamp_Lanes(_mm256_add_epi32(iu, one), last_x);
    __m256i row0 = _mm256_mullo_epi32(Clamp_Lanes(iv, last_y), pitch);
    __m256i row1 = _mm256_mullo_epi32(Clamp_Lanes(_mm256_add_epi32(iv, one), last_y), pitch);
    const int* base = reinterpret_cast<const int*>(texture.pixels);
    Taps taps;
    taps.t00 = _mm256_i32gather_epi32(base, _mm256_add_epi32(row0, x0), 4);
    taps.t10 = _mm256_i32gather_epi32(base, _mm256_add_epi32(row0, x1), 4);
    taps.t01 = _mm256_i32gather_epi32(base, _mm256_add_epi32(row1, x0), 4);
    taps.t11 = _mm256_i32gather_epi32(base, _mm256_add_epi32(row1, x1), 4);
    Set_Weights(taps, fu, fv);
    __m256i rgb = _mm256_or_si256(_mm256_slli_epi32(Channel(taps, 16, Load(block.red)), 16),
                                  _mm256_or_si256(_mm256_slli_epi32(Channel(taps, 8, Load(block.green)), 8),
                                                  Channel(taps, 0, Load(block.blue))));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), rgb);
}

BLOCK_TARGET static void Add_Block_32(const uint32_t source[8], uint32_t* out)
{
    __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source));
    __m256i d = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(out));
    // Saturating byte adds give min(255, s + d) per channel; the X byte is cleared.
    __m256i sum = _mm256_adds_epu8(s, d);
    sum = _mm256_and_si256(sum, _mm256_set1_epi32(0x00FFFFFF));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), sum);
}
