// Pixel reads of presented frames.
#include "platform/window/frame_pixels.h"

#include <cstddef>

namespace {

uint32_t Widen(uint32_t value, int bits)
{
    return bits == 5 ? (value << 3) | (value >> 2) : (value << 2) | (value >> 4);
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
    const bool six_green = frame.Green_Mask == 0x07E0;
    const uint32_t red = Widen(six_green ? (word >> 11) & 0x1F : (word >> 10) & 0x1F, 5);
    const uint32_t green = six_green ? Widen((word >> 5) & 0x3F, 6) : Widen((word >> 5) & 0x1F, 5);
    const uint32_t blue = Widen(word & 0x1F, 5);
    return (red << 16) | (green << 8) | blue;
}

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
    const bool six_green = frame.Green_Mask == 0x07E0;
    for (int x = 0; x < frame.Width; ++x) {
        const uint32_t word =
            static_cast<uint32_t>(row[2 * x]) | (static_cast<uint32_t>(row[2 * x + 1]) << 8);
        const uint32_t red = Widen(six_green ? (word >> 11) & 0x1F : (word >> 10) & 0x1F, 5);
        const uint32_t green = six_green ? Widen((word >> 5) & 0x3F, 6) : Widen((word >> 5) & 0x1F, 5);
        out[x] = (red << 16) | (green << 8) | Widen(word & 0x1F, 5);
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
