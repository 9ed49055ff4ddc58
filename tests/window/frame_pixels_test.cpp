// A frame's rows converted at once agree with its pixels read one by one, in every format.
#include "platform/window/frame_pixels.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

TEST(Frame_Pixels, RowsAgreeWithSinglePixelsInEveryFormat)
{
    std::mt19937 random(12);
    struct Case {
        int Bits;
        uint32_t Green_Mask;
    } cases[] = {{16, 0x07E0}, {16, 0x03E0}, {24, 0xFF00}, {32, 0xFF00}};
    for (const Case& c : cases) {
        const int width = 37, height = 3, pitch = width * c.Bits / 8 + 6;
        std::vector<uint8_t> bytes(static_cast<std::size_t>(pitch) * height);
        for (uint8_t& byte : bytes) {
            byte = static_cast<uint8_t>(random());
        }
        const Frame_Pixels frame{bytes.data(), pitch, width, height, c.Bits, c.Green_Mask};
        std::vector<uint32_t> row(width);
        for (int y = 0; y < height; ++y) {
            Frame_Row_Rgb(frame, y, row.data());
            for (int x = 0; x < width; ++x) {
                ASSERT_EQ(row[x], Frame_Pixel_Rgb(frame, x, y)) << c.Bits << " bits at " << x << "," << y;
            }
        }
    }
}

} // namespace
