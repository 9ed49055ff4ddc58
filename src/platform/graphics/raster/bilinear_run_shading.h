// The AVX-512 run's arithmetic on a block of sixteen pixels once their neighbourhoods' channel
// bytes are picked (bilinear_run_avx512.cpp): the bilinear sums in two exact stages, the
// modulation by the diffuse colour and the stores into each target format, all in 16-bit
// lanes. Included by that file inside its anonymous namespace, after RUN_TARGET, Mask,
// Channels, Dword_Base and Lane_Bytes.

// One channel's bilinear sum from its four bytes, as two exact stages. Across each row:
// c0 * (256 - fu) + c1 * fu = 256 * c0 + fu * (c1 - c0), 0..65280 in a word, less 32640 to
// bring it into signed range (c1 - c0 is one multiply-add of the bytes with -1 and 1). Down:
// (256 - fv) * h0 + fv * h1 is the full sum plus 2^15 less 2^23, so the rounded channel
// (sum + 2^15) >> 16 is its high word, plus 128. Gives channel - 128 in the high word.
RUN_TARGET inline __m512i Bilinear_Channel(__m512i bytes, __m512i fu_pairs, __m512i weights)
{
    const __m512i difference = _mm512_maddubs_epi16(bytes, _mm512_set1_epi16(0x01FF));
    __m512i row = _mm512_add_epi16(_mm512_slli_epi16(bytes, 8), _mm512_mullo_epi16(difference, fu_pairs));
    row = _mm512_sub_epi16(row, _mm512_set1_epi16(32640));
    return _mm512_madd_epi16(row, weights);
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

// fu in both words of each lane, and the weights (256 - fv, fv) of the two rows.
struct Fractions {
    __m512i fu_pairs, weights;
};

RUN_TARGET inline Fractions Pair_Fractions(__m512i fu, __m512i fv)
{
    return {_mm512_or_si512(fu, _mm512_slli_epi32(fu, 16)),
            _mm512_or_si512(_mm512_sub_epi32(_mm512_set1_epi32(256), fv), _mm512_slli_epi32(fv, 16))};
}

// From positions modulo 2^32, whose bits 16-23 are the fraction: copied into both words.
RUN_TARGET inline Fractions Low_Fractions(__m512i u, __m512i v)
{
    const __m512i both_words =
        _mm512_add_epi8(_mm512_set1_epi32(static_cast<int>(0x80028002u)), Dword_Base());
    const __m512i fv = _mm512_shuffle_epi8(v, both_words);
    return {_mm512_shuffle_epi8(u, both_words),
            _mm512_mask_sub_epi16(fv, 0x55555555, _mm512_set1_epi16(256), fv)};
}

RUN_TARGET inline Words Shade(const Channels& c, const Fractions& f, const Diffuse& d)
{
    const __m512i blue = Bilinear_Channel(c.blue, f.fu_pairs, f.weights);
    const __m512i green = Bilinear_Channel(c.green, f.fu_pairs, f.weights);
    const __m512i red = Bilinear_Channel(c.red, f.fu_pairs, f.weights);
    Words w;
    // The high words of blue and red as the low and high words of each lane.
    const __m512i odd_words =
        _mm512_set_epi32(0x3F001F, 0x3D001D, 0x3B001B, 0x390019, 0x370017, 0x350015, 0x330013, 0x310011,
                         0x2F000F, 0x2D000D, 0x2B000B, 0x290009, 0x270007, 0x250005, 0x230003, 0x210001);
    w.low = Modulate_Words(_mm512_permutex2var_epi16(blue, odd_words, red), d.low, d.low_bias);
    w.high = Modulate_Words(_mm512_srli_epi32(green, 16), d.high, d.high_bias);
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
    // Bytes 0 and 2 of each lane from the low words, 1 from the high (offsets 64..), and 3 from
    // the high's zero word; added, the fourth byte is kept at zero.
    const __m512i bytes = _mm512_add_epi8(_mm512_set1_epi32(0x42024000), Lane_Bytes());
    __m512i pixel = _mm512_permutex2var_epi8(c.low, bytes, c.high);
    if constexpr (Add)
        pixel = _mm512_maskz_adds_epu8(0x7777777777777777ull, pixel, _mm512_maskz_loadu_epi32(mask, out));
    _mm512_mask_storeu_epi32(out, mask, pixel);
}

RUN_TARGET inline __m512i Word_Pairs(uint32_t low, uint32_t high)
{
    return _mm512_set1_epi32(static_cast<int>(low | high << 16));
}
