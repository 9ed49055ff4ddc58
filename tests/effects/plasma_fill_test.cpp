// The plasma's fills against a second, deliberately plain implementation of the formulas
// (tables from the distance formula at every entry, no mirroring, no row buffers), and the
// packing, shift, freeze, limit and null-address behaviour at each depth.
#include <gtest/gtest.h>

#include <cmath>

#include "effects/plasma.h"
#include "effects_support.h"
#include "platform/system/random.h"
#include "settings/settings_file.h"

namespace {

using effects_test::Buffer;

// The plain plasma: phases and tables from the formulas, channel bytes per pixel.
struct Plain_Plasma {
    int W, H;
    float phase[3][8];
    std::vector<int> dist[3], rip[3];

    Plain_Plasma(int side, int c, float k) : W(side), H(side)
    {
        for (int w = 0; w < 3; ++w) {
            for (int i = 0; i < 8; ++i)
                phase[w][i] = float(Random::rand()) * (i % 2 ? -0.00006103515625f : 0.00006103515625f);
            for (int y = 0; y < 2 * H; ++y)
                for (int x = 0; x < 2 * W; ++x) {
                    const int dx = x < W ? W - x : x - W + 1, dy = y < H ? H - y : y - H + 1;
                    const double D = std::sqrt(double(dx * dx + dy * dy + 16)) - 4;
                    dist[w].push_back(int(D * double(5.4f) / c) & 255);
                    rip[w].push_back(int((std::sin(D / k) + 1) * 50 / c) & 255);
                }
        }
    }
    void Advance(double dt)
    {
        const float C[8] = {0.068f, 0.08f, 0.24f, 0.16f, 0.32f, 0.12f, 0.28f, 0.04f};
        for (int w = 0; w < 3; ++w)
            for (int i = 0; i < 8; ++i)
                phase[w][i] = float(phase[w][i] + (i % 2 ? -1 : 1) * (double(C[i]) / (1.65 / dt)));
    }
    // Folded channel byte of wave w for pixel (x, y).
    int Channel(int w, int x, int y) const
    {
        const float* p = phase[w];
        const int ax = W / 2, ay = H / 2;
        auto O = [&](double sx, double sy) { return ax + int(ax * sx) + (ay + int(ay * sy)) * 2 * W; };
        const int R = y * 2 * W + x / 4;
        const int s = dist[w][O(std::cos(double(p[2])), std::sin(double(p[3]))) + R] +
                      rip[w][O(std::sin(double(p[0])), std::cos(double(p[1]))) + R] +
                      rip[w][O(std::cos(double(p[4])), std::sin(double(p[5]))) + R] +
                      rip[w][O(std::cos(double(p[6])), std::sin(double(p[7]))) + R];
        return s % 256 < 128 ? s % 256 : 255 - s % 256;
    }
};

class Plasma_Fill : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program_Random().Reset();
        Live_Settings().Plasma_Contrast = 4;
        Live_Settings().Plasma_Interference = 9.5f;
        Random::srand(7);
        ASSERT_EQ(plasma.Setup_Plasma(256, 256), 1);
    }
    void TearDown() override { Program_Random().Reset(); }

    Plasma plasma;
};

TEST_F(Plasma_Fill, GoldenThirtyTwoBits)
{
    Random::srand(7);
    Plain_Plasma plain(256, 4, 9.5f);
    Buffer mine(256, 256, 4), expected(256, 256, 4);
    for (int frame = 0; frame < 3; ++frame) {
        ASSERT_EQ(plasma.Multi_Colour_Plasma_32(mine.data(), mine.pitch, 256, 256, 1.0 / 60), 1);
        plain.Advance(1.0 / 60);
    }
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            const uint32_t v = (plain.Channel(0, x, y) * 2) | (plain.Channel(1, x, y) * 2) << 8 |
                               (plain.Channel(2, x, y) * 2) << 16;
            std::memcpy(expected.data() + y * expected.pitch + x * 4, &v, 4);
        }
    EXPECT_EQ(mine.Hash(), expected.Hash());
    EXPECT_TRUE(mine.Guards_Intact());
}

TEST_F(Plasma_Fill, SixteenAndTwentyFourBitPacking)
{
    Random::srand(7);
    Plain_Plasma plain(256, 4, 9.5f);
    plain.Advance(0.05);
    Buffer b16(256, 256, 2), b24(256, 256, 3);
    plasma.is_565 = true;
    ASSERT_EQ(plasma.Multi_Colour_Plasma_16(b16.data(), b16.pitch, 256, 256, 0.05), 1);
    ASSERT_EQ(plasma.Multi_Colour_Plasma_24(b24.data(), b24.pitch, 256, 256, 0.0), 1);
    for (int y = 0; y < 256; y += 3)
        for (int x = 0; x < 256; x += 5) {
            const int b = plain.Channel(0, x, y), g = plain.Channel(1, x, y), r = plain.Channel(2, x, y);
            ASSERT_EQ(b16.Pixel(x, y), uint32_t((b >> 2) | (g >> 1) << 5 | (r >> 2) << 11)) << x << "," << y;
            ASSERT_EQ(b24.Pixel(x, y), uint32_t(b * 2 | (g * 2) << 8 | (r * 2) << 16)) << x << "," << y;
        }
    // 5-5-5: green loses one more bit, red moves down, bit 15 stays clear.
    plasma.is_565 = false;
    ASSERT_EQ(plasma.Multi_Colour_Plasma_16(b16.data(), b16.pitch, 256, 256, 0.0), 1);
    for (int y = 0; y < 256; y += 7)
        for (int x = 0; x < 256; x += 3) {
            const int b = plain.Channel(0, x, y), g = plain.Channel(1, x, y), r = plain.Channel(2, x, y);
            ASSERT_EQ(b16.Pixel(x, y), uint32_t((b >> 2) | (g >> 2) << 5 | (r >> 2) << 10));
        }
    EXPECT_TRUE(b16.Guards_Intact());
    EXPECT_TRUE(b24.Guards_Intact());
}

TEST_F(Plasma_Fill, ChannelBoundsFollowTheShifts)
{
    Buffer buffer(256, 256, 4);
    auto highest = [&](int shift) {
        plasma.red_shift = plasma.green_shift = plasma.blue_shift = shift;
        int high = 0;
        for (int frame = 0; frame < 4; ++frame) {
            plasma.Multi_Colour_Plasma_32(buffer.data(), buffer.pitch, 256, 256, 0.3);
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x) {
                    const uint32_t v = buffer.Pixel(x, y);
                    EXPECT_EQ(v & 0xFF010101u, 0u); // even channels, top byte clear
                    high = std::max({high, int(v & 0xFF), int(v >> 8 & 0xFF), int(v >> 16 & 0xFF)});
                }
        }
        return high;
    };
    EXPECT_EQ(highest(1), 126);
    EXPECT_EQ(highest(0), 254);
}

TEST_F(Plasma_Fill, ZeroElapsedTimeFreezesThePicture)
{
    Buffer first(256, 256, 4), second(256, 256, 4);
    plasma.Multi_Colour_Plasma_32(first.data(), first.pitch, 256, 256, 0.0);
    float phase[8];
    std::copy(std::begin(plasma.wave[1].phase), std::end(plasma.wave[1].phase), phase);
    plasma.Multi_Colour_Plasma_32(second.data(), second.pitch, 256, 256, 0.0);
    EXPECT_TRUE(std::equal(std::begin(phase), std::end(phase), plasma.wave[1].phase));
    EXPECT_EQ(first.Hash(), second.Hash());
    plasma.Multi_Colour_Plasma_32(second.data(), second.pitch, 256, 256, 0.5);
    EXPECT_NE(first.Hash(), second.Hash());
}

TEST_F(Plasma_Fill, NullAddressReportsButPhasesMove)
{
    effects_test::Report_Capture capture;
    const float before = plasma.wave[0].phase[0];
    EXPECT_EQ(plasma.Multi_Colour_Plasma_32(nullptr, 1024, 256, 256, 0.1), 0);
    EXPECT_EQ(plasma.Multi_Colour_Plasma_24(nullptr, 768, 256, 256, 0.1), 0);
    EXPECT_EQ(plasma.Multi_Colour_Plasma_16(nullptr, 512, 256, 256, 0.1), 0);
    EXPECT_GT(plasma.wave[0].phase[0], before);
    const std::vector<std::string> expected = {"Process 32 Plasma():NULL destination surface",
                                               "Multi Plasma_24():NULL destination surface",
                                               "Process Plasma():\n\nNULL destination surface"};
    EXPECT_EQ(capture.Reports(), expected);
}

TEST_F(Plasma_Fill, StaysInsideASmallerSurfaceAndTheTableSize)
{
    Buffer full(256, 256, 4);
    plasma.Multi_Colour_Plasma_32(full.data(), full.pitch, 256, 256, 0.0);
    // A surface smaller than the tables (and a width not a multiple of four) gets the same
    // picture cut to its size; a larger one gets only the table's 256 × 256.
    Buffer small(101, 60, 4), large(300, 280, 4);
    plasma.Multi_Colour_Plasma_32(small.data(), small.pitch, 101, 60, 0.0);
    plasma.Multi_Colour_Plasma_32(large.data(), large.pitch, 300, 280, 0.0);
    EXPECT_TRUE(small.Guards_Intact());
    EXPECT_TRUE(large.Guards_Intact());
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 101; ++x)
            ASSERT_EQ(small.Pixel(x, y), full.Pixel(x, y));
    EXPECT_EQ(large.Pixel(255, 255), full.Pixel(255, 255));
    EXPECT_EQ(large.Pixel(256, 10), 0u);
    EXPECT_EQ(large.Pixel(10, 256), 0u);
}

TEST_F(Plasma_Fill, AbsurdElapsedTimesNeverSampleOutsideTheTables)
{
    Buffer buffer(256, 256, 4);
    for (double dt : {1e300, -1e300, std::nan(""), 1e9})
        EXPECT_EQ(plasma.Multi_Colour_Plasma_32(buffer.data(), buffer.pitch, 256, 256, dt), 1);
    EXPECT_TRUE(buffer.Guards_Intact());
}

} // namespace
