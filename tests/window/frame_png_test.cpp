// PNG output of frames: pixel formats decoded to the right colours, the same frame gives the
// same bytes, and a file that cannot be written leaves nothing behind.
#include "platform/window/frame_png.h"
#include "png_read.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

using test_support::Read_File;
using test_support::Read_Png_Rgb;
using test_support::Temp_Folder;

namespace {

TEST(Frame_Png, EveryDepthDecodesToItsColours)
{
    Temp_Folder folder;
    // Pure red, green, blue and white in each format, on a padded pitch.
    uint16_t rgb565[8] = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0xDEAD, 0xDEAD, 0xDEAD, 0xDEAD};
    uint16_t rgb555[8] = {0x7C00, 0x03E0, 0x001F, 0x7FFF};
    uint32_t xrgb[4] = {0xFFFF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    const std::vector<uint8_t> expected = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    struct Case {
        Frame_Pixels Frame;
    } cases[] = {
        {{rgb565, 16, 4, 1, 16, 0x07E0}},
        {{rgb555, 16, 4, 1, 16, 0x03E0}},
        {{xrgb, 16, 4, 1, 32, 0x0000FF00}},
    };
    for (const Case& c : cases) {
        const std::string path = folder / "frame.png";
        ASSERT_TRUE(Write_Frame_Png(path, c.Frame));
        int width = 0, height = 0;
        EXPECT_EQ(Read_Png_Rgb(path, width, height), expected) << c.Frame.Bits_Per_Pixel;
        EXPECT_EQ(width, 4);
        EXPECT_EQ(height, 1);
    }
}

TEST(Frame_Png, SameFrameSameBytesAndNoPartialFiles)
{
    Temp_Folder folder;
    std::vector<uint32_t> pixels(64 * 48);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<uint32_t>(i * 2654435761u);
    }
    Frame_Pixels frame{pixels.data(), 64 * 4, 64, 48, 32, 0xFF00};
    ASSERT_TRUE(Write_Frame_Png(folder / "a.png", frame));
    ASSERT_TRUE(Write_Frame_Png(folder / "b.png", frame));
    EXPECT_EQ(Read_File(folder / "a.png"), Read_File(folder / "b.png"));

    EXPECT_FALSE(Write_Frame_Png(folder / "missing/c.png", frame));
    Frame_Pixels odd = frame;
    odd.Bits_Per_Pixel = 8;
    EXPECT_FALSE(Write_Frame_Png(folder / "d.png", odd));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
}

} // namespace
