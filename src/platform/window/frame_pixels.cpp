// Pixel reads of presented frames.
#include "platform/window/frame_pixels.h"

#include <bit>
#include <cstddef>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

uint32_t Widen(uint32_t value, int bits)
{
    return bits == 5 ? (value << 3) | (value >> 2) : (value << 2) | (value >> 4);
}

// A 16-bit frame word (5-6-5, or 5-5-5 below an unused top bit) as 0x00RRGGBB.
template <bool Six_Green> uint32_t Widen_Word(uint32_t word)
{
    const uint32_t red = Widen(Six_Green ? (word >> 11) & 0x1F : (word >> 10) & 0x1F, 5);
    const uint32_t green = Six_Green ? Widen((word >> 5) & 0x3F, 6) : Widen((word >> 5) & 0x1F, 5);
    return (red << 16) | (green << 8) | Widen(word & 0x1F, 5);
}

} // namespace

uint32_t Frame_Pixel_Rgb(const Frame_Pixels& frame, int x, int y)
{
    const auto* row =
        static_cast<const uint8_t*>(frame.Pixels) + static_cast<std::ptrdiff_t>(y) * frame.Pitch;
    if (frame.Bits_Per_Pixel == 32 || frame.Bits_Per_Pixel == 24) {
        const uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * (frame.Bits_Per_Pixel / 8);
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
               (static_cast<uint32_t>(p[2]) << 16);
    }
    const uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * 2;
    const uint32_t word = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
    return frame.Green_Mask == 0x07E0 ? Widen_Word<true>(word) : Widen_Word<false>(word);
}

namespace {

// A 16-bit row widened word by word. Every frame of a 16-bit mode goes through this (2 million
// pixels at 1920 x 1080), so eight words at a time where SSE2 is at hand, then the rest.
template <bool Six_Green> void Widen_Row(const uint8_t* row, int width, uint32_t* out)
{
    static_assert(std::endian::native == std::endian::little, "frames store their words little-endian");
    int x = 0;
#if defined(__SSE2__)
    const __m128i five = _mm_set1_epi16(0x1F), six = _mm_set1_epi16(0x3F);
    for (; x + 8 <= width; x += 8) {
        const __m128i words =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + 2 * static_cast<std::ptrdiff_t>(x)));
        const __m128i red = _mm_and_si128(_mm_srli_epi16(words, Six_Green ? 11 : 10), five);
        const __m128i green = _mm_and_si128(_mm_srli_epi16(words, 5), Six_Green ? six : five);
        const __m128i blue = _mm_and_si128(words, five);
        const __m128i wide_red = _mm_or_si128(_mm_slli_epi16(red, 3), _mm_srli_epi16(red, 2));
        const __m128i wide_green = Six_Green
                                       ? _mm_or_si128(_mm_slli_epi16(green, 2), _mm_srli_epi16(green, 4))
                                       : _mm_or_si128(_mm_slli_epi16(green, 3), _mm_srli_epi16(green, 2));
        const __m128i wide_blue = _mm_or_si128(_mm_slli_epi16(blue, 3), _mm_srli_epi16(blue, 2));
        // Green and blue make the low half of each pixel's word, red the high half.
        const __m128i low = _mm_or_si128(wide_blue, _mm_slli_epi16(wide_green, 8));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_unpacklo_epi16(low, wide_red));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x + 4), _mm_unpackhi_epi16(low, wide_red));
    }
#endif
    for (; x < width; ++x) {
        uint16_t stored;
        std::memcpy(&stored, row + 2 * static_cast<std::ptrdiff_t>(x), 2);
        out[x] = Widen_Word<Six_Green>(stored);
    }
}

} // namespace

void Frame_Row_Rgb(const Frame_Pixels& frame, int y, uint32_t* out)
{
    const auto* row =
        static_cast<const uint8_t*>(frame.Pixels) + static_cast<std::ptrdiff_t>(y) * frame.Pitch;
    if (frame.Bits_Per_Pixel == 32 || frame.Bits_Per_Pixel == 24) {
        const int step = frame.Bits_Per_Pixel / 8;
        for (int x = 0; x < frame.Width; ++x) {
            const uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * step;
            out[x] = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                     (static_cast<uint32_t>(p[2]) << 16);
        }
        return;
    }
    if (frame.Green_Mask == 0x07E0) {
        Widen_Row<true>(row, frame.Width, out);
    } else {
        Widen_Row<false>(row, frame.Width, out);
    }
}

bool Frame_Is_Valid(const Frame_Pixels& frame)
{
    const int bits = frame.Bits_Per_Pixel;
    return frame.Pixels != nullptr && frame.Width > 0 && frame.Height > 0 &&
           (bits == 16 || bits == 24 || bits == 32) && frame.Pitch >= frame.Width * (bits / 8);
}

RECT Frame_Aspect_Box(int w, int h, int area_width, int area_height)
{
    int64_t width = area_width, height = area_height;
    if (static_cast<int64_t>(w) * area_height > static_cast<int64_t>(h) * area_width) {
        height = static_cast<int64_t>(h) * area_width / w;
    } else {
        width = static_cast<int64_t>(w) * area_height / h;
    }
    const LONG left = static_cast<LONG>((area_width - width) / 2);
    const LONG top = static_cast<LONG>((area_height - height) / 2);
    return RECT{left, top, left + static_cast<LONG>(width), top + static_cast<LONG>(height)};
}
