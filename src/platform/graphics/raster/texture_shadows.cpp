// Widened texture copies of the software rasterizer.
#include "platform/graphics/raster/texture_shadows.h"

#include "platform/graphics/raster/bilinear_block.h"
#include "platform/graphics/raster/pixel_pipeline.h"

#include <algorithm>
#include <immintrin.h>

namespace Raster {
namespace {

// Flushes a kept copy survives without being used (a frame takes one or two).
constexpr uint64_t Kept_Flushes = 64;

inline uint32_t Pack(uint32_t r, uint32_t g, uint32_t b)
{
    return r << 16 | g << 8 | b;
}

template <typename Decode> void Widen_Rows(const Texture& texture, uint32_t* out, Decode decode)
{
    for (int32_t y = 0; y < texture.height; ++y, out += texture.width) {
        const uint8_t* row = texture.pixels + static_cast<intptr_t>(y) * texture.pitch;
        for (int32_t x = 0; x < texture.width; ++x)
            out[x] = decode(row, x);
    }
}

// A 16-bit texel layout: where each channel sits and how wide it is. Widening a channel of
// n bits is (c << (8 - n)) | (c >> (2n - 8)), which for n = 4 is c * 17 as Widen_4 has it.
struct Layout_16 {
    int red_shift, red_bits, green_bits; // green lies just below red, blue below green from bit 0
};
constexpr Layout_16 Layout_565{11, 5, 6}, Layout_1555{10, 5, 5}, Layout_4444{8, 4, 4};

inline uint32_t Widen_Bits(uint32_t c, int bits)
{
    return (c << (8 - bits)) | (c >> (2 * bits - 8));
}

inline uint32_t Widen_16(uint32_t p, Layout_16 l)
{
    const int green_shift = l.red_shift - l.green_bits, blue_bits = green_shift;
    return Pack(Widen_Bits((p >> l.red_shift) & ((1u << l.red_bits) - 1), l.red_bits),
                Widen_Bits((p >> green_shift) & ((1u << l.green_bits) - 1), l.green_bits),
                Widen_Bits(p & ((1u << blue_bits) - 1), blue_bits));
}

#define WIDEN_TARGET __attribute__((target("avx2")))

WIDEN_TARGET inline __m256i Widen_Words(__m256i c, int bits)
{
    return _mm256_or_si256(_mm256_sll_epi16(c, _mm_cvtsi32_si128(8 - bits)),
                           _mm256_srl_epi16(c, _mm_cvtsi32_si128(2 * bits - 8)));
}

// Sixteen texels a step in 16-bit lanes: red in one word, green and blue in the other, then
// interleaved into 32-bit texels; the row's last texels go one by one.
WIDEN_TARGET void Widen_Rows_16_Avx2(const Texture& texture, uint32_t* out, Layout_16 l)
{
    const int green_shift = l.red_shift - l.green_bits, blue_bits = green_shift;
    const __m256i red_mask = _mm256_set1_epi16(static_cast<short>((1 << l.red_bits) - 1));
    const __m256i green_mask = _mm256_set1_epi16(static_cast<short>((1 << l.green_bits) - 1));
    const __m256i blue_mask = _mm256_set1_epi16(static_cast<short>((1 << blue_bits) - 1));
    for (int32_t y = 0; y < texture.height; ++y, out += texture.width) {
        const uint8_t* row = texture.pixels + static_cast<intptr_t>(y) * texture.pitch;
        int32_t x = 0;
        for (; x + 16 <= texture.width; x += 16) {
            __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + 2 * x));
            // Texels 0-3, 8-11 in the low quarters and 4-7, 12-15 in the high ones, so that the
            // lane-wise unpacks below give texels 0-7 and 8-15 in order.
            p = _mm256_permute4x64_epi64(p, 0xD8);
            __m256i r = Widen_Words(
                _mm256_and_si256(_mm256_srl_epi16(p, _mm_cvtsi32_si128(l.red_shift)), red_mask), l.red_bits);
            __m256i g =
                Widen_Words(_mm256_and_si256(_mm256_srl_epi16(p, _mm_cvtsi32_si128(green_shift)), green_mask),
                            l.green_bits);
            __m256i b = Widen_Words(_mm256_and_si256(p, blue_mask), blue_bits);
            __m256i gb = _mm256_or_si256(_mm256_slli_epi16(g, 8), b);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), _mm256_unpacklo_epi16(gb, r));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x + 8), _mm256_unpackhi_epi16(gb, r));
        }
        for (; x < texture.width; ++x)
            out[x] = Widen_16(Load_16(row + 2 * x), l);
    }
}

#undef WIDEN_TARGET

void Widen_Rows_16(const Texture& texture, uint32_t* out, Layout_16 l)
{
    static const bool avx2 = Avx2_Blocks.available();
    if (avx2)
        return Widen_Rows_16_Avx2(texture, out, l);
    Widen_Rows(texture, out,
               [l](const uint8_t* row, int32_t x) { return Widen_16(Load_16(row + 2 * x), l); });
}

} // namespace

void Widen_Texels(const Texture& texture, uint32_t* out)
{
    switch (texture.format) {
    case Pixel_Format::R5G6B5:
        return Widen_Rows_16(texture, out, Layout_565);
    case Pixel_Format::X1R5G5B5:
    case Pixel_Format::A1R5G5B5:
        return Widen_Rows_16(texture, out, Layout_1555);
    case Pixel_Format::A4R4G4B4:
        return Widen_Rows_16(texture, out, Layout_4444);
    case Pixel_Format::R8G8B8:
        return Widen_Rows(texture, out, [](const uint8_t* row, int32_t x) {
            const uint8_t* p = row + 3 * x;
            return Pack(p[2], p[1], p[0]);
        });
    case Pixel_Format::P8:
        if (!texture.palette) {
            std::fill_n(out, static_cast<size_t>(texture.width) * texture.height, 0u);
            return;
        }
        return Widen_Rows(texture, out, [palette = texture.palette](const uint8_t* row, int32_t x) {
            return palette[row[x]] & 0xFFFFFF;
        });
    case Pixel_Format::X8R8G8B8:
    case Pixel_Format::A8R8G8B8:
        return Widen_Rows(texture, out,
                          [](const uint8_t* row, int32_t x) { return Load_32(row + 4 * x) & 0xFFFFFF; });
    }
}

Texture Texture_Shadows::Widened(const Texture& texture)
{
    if (texture.format == Pixel_Format::X8R8G8B8 || texture.format == Pixel_Format::A8R8G8B8 ||
        texture.width <= 0 || texture.height <= 0)
        return texture;
    const uint32_t* texels = Kept(texture, false);
    if (!texels) {
        std::vector<uint32_t> widened =
            Free_Buffer(texture, static_cast<size_t>(texture.width) * texture.height, false);
        Widen_Texels(texture, widened.data());
        texels = Keep(texture, std::move(widened), false);
    }
    return Texture{reinterpret_cast<const uint8_t*>(texels),
                   texture.width * 4,
                   texture.width,
                   texture.height,
                   Pixel_Format::X8R8G8B8,
                   nullptr,
                   texture.revision};
}

namespace {

// The rows' texels interleaved with those of the rows below them (Texture::row_pairs), four at a
// step: every flush of a texture redrawn each frame takes them anew.
void Pair_Rows(const Texture& texture, uint32_t* out)
{
    for (int32_t y = 0; y + 1 < texture.height; ++y) {
        const uint8_t* row = texture.pixels + static_cast<intptr_t>(y) * texture.pitch;
        const uint8_t* below = row + texture.pitch;
        int32_t x = 0;
        for (; x + 4 <= texture.width; x += 4, out += 8) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 4 * x));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(below + 4 * x));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi32(a, b));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), _mm_unpackhi_epi32(a, b));
        }
        for (; x < texture.width; ++x, out += 2) {
            out[0] = Load_32(row + 4 * x);
            out[1] = Load_32(below + 4 * x);
        }
    }
}

} // namespace

Texture Texture_Shadows::With_Row_Pairs(const Texture& texture)
{
    Texture widened = Widened(texture);
    const int64_t bytes = int64_t{8} * widened.width * (widened.height - 1);
    if (widened.width < 2 || widened.height < 2 || bytes >= int64_t{1} << 31)
        return widened;
    const uint32_t* pairs = Kept(texture, true);
    if (!pairs) {
        std::vector<uint32_t> texels = Free_Buffer(texture, static_cast<size_t>(bytes / 4), true);
        Pair_Rows(widened, texels.data());
        pairs = Keep(texture, std::move(texels), true);
    }
    widened.row_pairs = reinterpret_cast<const uint8_t*>(pairs);
    return widened;
}

// The copy of this kind taken of texture at its revision, if one is kept (marked used).
const uint32_t* Texture_Shadows::Kept(const Texture& texture, bool row_pairs)
{
    if (texture.revision != 0)
        for (Shadow& shadow : kept_)
            if (shadow.row_pairs == row_pairs && shadow.source == texture) {
                shadow.last_used = flush_;
                return shadow.texels.data();
            }
    return nullptr;
}

// Keeps a new copy: over flushes while the revision stays, or for this flush only without one.
const uint32_t* Texture_Shadows::Keep(const Texture& texture, std::vector<uint32_t> texels, bool row_pairs)
{
    if (texture.revision == 0) {
        retired_.push_back(std::move(texels));
        return retired_.back().data();
    }
    kept_.push_back({texture, std::move(texels), flush_, row_pairs});
    return kept_.back().texels.data();
}

// A texture redrawn every frame comes back with a new revision: the copy of an earlier one,
// unused in this flush, is written over instead of a new one allocated and cleared.
std::vector<uint32_t> Texture_Shadows::Free_Buffer(const Texture& texture, size_t size, bool row_pairs)
{
    for (auto shadow = kept_.begin(); shadow != kept_.end(); ++shadow)
        if (shadow->source.pixels == texture.pixels && shadow->source.revision < texture.revision &&
            shadow->last_used < flush_ && shadow->row_pairs == row_pairs && shadow->texels.size() == size) {
            std::vector<uint32_t> texels = std::move(shadow->texels);
            kept_.erase(shadow);
            return texels;
        }
    return std::vector<uint32_t>(size);
}

void Texture_Shadows::End_Flush()
{
    retired_.clear();
    // Copies unused for a while go, and so do a texture's earlier revisions (never asked for again).
    auto superseded = [&](const Shadow& shadow) {
        return std::any_of(kept_.begin(), kept_.end(), [&](const Shadow& other) {
            return other.source.pixels == shadow.source.pixels &&
                   other.source.revision > shadow.source.revision;
        });
    };
    std::deque<Shadow> kept;
    for (Shadow& shadow : kept_)
        if (shadow.last_used + Kept_Flushes >= flush_ && !superseded(shadow))
            kept.push_back(std::move(shadow));
    kept_ = std::move(kept);
    ++flush_;
}

} // namespace Raster
