// The gradient: its 0.025 s gate, the triangle-wave levels, the 16-bit band replacement, the
// black edge rows, partial row groups, and a plain re-implementation over many updates.
#include <gtest/gtest.h>

#include "effects/gradient.h"
#include "effects_support.h"
#include "platform/system/random.h"

namespace {

using effects_test::Buffer;

struct Plain_Gradient {
    bool up;
    int band;
    float off = 0;
    bool first = true;
    double elapsed = 0;

    void Update(Buffer& b, double dt, bool is_565)
    {
        const bool is16 = b.bytes_per_pixel == 2;
        elapsed += dt;
        if (elapsed < 0.025)
            return;
        elapsed = 0;
        if (first)
            off = float(-band), first = false;
        if (is16 && band > 32)
            band = 8 << (Random::rand() % 3);
        const int N = b.width, top = is16 ? 31 : 255;
        int step = (is16 ? 64 : 512) / band, level = 0;
        auto put = [&](int row, uint32_t g) {
            const uint32_t v = is16 ? g | g << 5 | g << (is_565 ? 11 : 10) : g | g << 8 | g << 16;
            for (int x = 0; x < N / 8 * 8; ++x)
                std::memcpy(b.data() + row * b.pitch + x * b.bytes_per_pixel, &v, b.bytes_per_pixel);
        };
        auto next = [&] {
            level += step;
            if (level > top || level < 0)
                step = -step;
            level = std::clamp(level, 0, top);
        };
        if (!up) {
            for (int i = int(off); i < N; ++i, next())
                if (i >= 0)
                    put(i, i * level / N);
            if (++off >= 0)
                off = float(-band);
        } else {
            for (int i = int(off); i >= 0; --i, next())
                if (i < N)
                    put(i, (N - i) * level / N);
            if (--off < N)
                off = float(band + N - 1);
        }
    }
};

class Gradient_Test : public ::testing::Test {
protected:
    void SetUp() override { Program_Random().Reset(); }
    void TearDown() override { Program_Random().Reset(); }
    Gradient gradient;
};

TEST_F(Gradient_Test, GoldenAgainstPlainUpdates)
{
    for (bool sixteen : {false, true}) {
        Random::srand(7);
        Gradient mine_gradient;
        mine_gradient.Choose_Random_Bands();
        mine_gradient.is_565 = true;
        Random::srand(7);
        Plain_Gradient plain{.up = false, .band = 0};
        plain.band = 8 << (Random::rand() % 6);
        plain.up = Random::rand() % 2 == 0;
        const int bpp = sixteen ? 2 : 4;
        Buffer mine(256, 256, bpp), expected(256, 256, bpp);
        // Three frames as the program sees them at 60 Hz, then enough to wrap the offset and
        // to turn the direction around once.
        for (int frame = 0; frame < 300; ++frame) {
            if (frame == 150) {
                mine_gradient.upward = !mine_gradient.upward;
                plain.up = !plain.up;
            }
            const double dt = frame < 3 ? 1.0 / 60 : 0.03;
            if (sixteen)
                ASSERT_EQ(mine_gradient.Frame_Move_16(mine.data(), mine.pitch, 256, 256, dt), 1);
            else
                ASSERT_EQ(mine_gradient.Frame_Move_32(mine.data(), mine.pitch, 256, 256, dt), 1);
            plain.Update(expected, dt, true);
            if (frame == 2 || frame == 100 || frame == 150 || frame == 299) {
                ASSERT_EQ(mine.Hash(), expected.Hash()) << "frame " << frame << " at " << bpp * 8 << " bits";
            }
        }
        EXPECT_TRUE(mine.Guards_Intact());
    }
}

TEST_F(Gradient_Test, DrawsOnlyAfterAFortiethOfASecond)
{
    Buffer buffer(16, 16, 4);
    buffer.Clear(0x77);
    gradient.upward = false;
    EXPECT_EQ(gradient.Frame_Move_32(buffer.data(), buffer.pitch, 16, 16, 0.02), 1);
    EXPECT_EQ(buffer.Pixel(0, 0), 0x77777777u);
    EXPECT_DOUBLE_EQ(gradient.state_32.elapsed, 0.02);
    EXPECT_EQ(gradient.Frame_Move_32(buffer.data(), buffer.pitch, 16, 16, 0.02), 1);
    EXPECT_EQ(buffer.Pixel(0, 0), 0u); // row 0 downward is black
    EXPECT_EQ(gradient.state_32.elapsed, 0.0);
    EXPECT_EQ(gradient.state_16.elapsed, 0.0); // each depth keeps its own time

    // Within the quiet interval even a null address goes unnoticed; after it, it is reported.
    effects_test::Report_Capture capture;
    EXPECT_EQ(gradient.Frame_Move_32(nullptr, 64, 16, 16, 0.01), 1);
    EXPECT_EQ(gradient.Frame_Move_32(nullptr, 64, 16, 16, 0.02), 0);
    EXPECT_EQ(gradient.Frame_Move_16(nullptr, 32, 16, 16, 0.03), 0);
    const std::vector<std::string> expected = {"Gradient::Frame_Move_32: NULL Surface FAILED",
                                               "Gradient::Frame_Move_16: NULL Surface FAILED"};
    EXPECT_EQ(capture.Reports(), expected);
}

TEST_F(Gradient_Test, TriangleLevelsForBandsOf256And8)
{
    auto levels = [](int32_t band, int count) {
        std::vector<int> seen;
        int32_t level = 0, step = 512 / band;
        for (int i = 0; i < count; ++i, Gradient_Next_Level(level, step, 255))
            seen.push_back(level);
        return seen;
    };
    EXPECT_EQ(levels(8, 9), (std::vector<int>{0, 64, 128, 192, 255, 191, 127, 63, 0}));
    const std::vector<int> wide = levels(256, 257);
    for (int i = 0; i < 128; ++i) {
        ASSERT_EQ(wide[i], 2 * i);
        ASSERT_EQ(wide[128 + i], 255 - 2 * i);
    }
    EXPECT_EQ(wide[256], 0);

    // On the texture, the first update of a downward band starts a full period above row 0,
    // so row i shows (i × level of i) div 256.
    for (int32_t band : {8, 256}) {
        Gradient g;
        g.upward = false;
        g.band = band;
        Buffer buffer(256, 256, 4);
        g.Frame_Move_32(buffer.data(), buffer.pitch, 256, 256, 0.025);
        const std::vector<int> level = levels(band, 256);
        for (int i = 0; i < 256; ++i) {
            const uint32_t grey = uint32_t(i * level[i] / 256);
            ASSERT_EQ(buffer.Pixel(100, i), grey | grey << 8 | grey << 16) << "band " << band << " row " << i;
        }
    }
}

TEST_F(Gradient_Test, SixteenBitsReplacesLongBandsWithOneDraw)
{
    for (int32_t band : {64, 128, 256}) {
        Random::srand(band);
        const int32_t expected = 8 << (Random::rand() % 3);
        const int next = Random::rand();
        Random::srand(band);
        Gradient g;
        g.band = band;
        Buffer buffer(32, 32, 2);
        g.Frame_Move_16(buffer.data(), buffer.pitch, 32, 32, 0.05);
        EXPECT_EQ(g.band, expected);
        EXPECT_EQ(Random::rand(), next);
        g.Frame_Move_16(buffer.data(), buffer.pitch, 32, 32, 0.05);
        EXPECT_EQ(g.band, expected); // stays
    }
    Gradient g;
    g.band = 32;
    Buffer buffer(32, 32, 2);
    Random::srand(1);
    g.Frame_Move_16(buffer.data(), buffer.pitch, 32, 32, 0.05);
    EXPECT_EQ(g.band, 32);
    EXPECT_EQ(Program_Random().Current_State(), 1u);
}

TEST_F(Gradient_Test, UpwardLastRowIsBlackAtSide256)
{
    Random::srand(4);
    gradient.upward = true;
    gradient.band = 16;
    Buffer buffer(256, 256, 4);
    for (int update = 0; update < 40; ++update) {
        buffer.Clear(0x33);
        gradient.Frame_Move_32(buffer.data(), buffer.pitch, 256, 256, 0.025);
        // The first update finds the offset above the texture and draws nothing.
        if (update > 0) {
            ASSERT_EQ(buffer.Pixel(7, 255), 0u) << update;
        }
    }
    EXPECT_GT(buffer.Pixel(7, 0) & 0xFF, 0u);
}

TEST_F(Gradient_Test, PartialGroupsAndShortSurfacesStayUntouched)
{
    gradient.upward = false;
    gradient.band = 8;
    Buffer buffer(20, 20, 4);
    buffer.Clear(0x44);
    gradient.Frame_Move_32(buffer.data(), buffer.pitch, 20, 20, 0.1);
    for (int y = 0; y < 20; ++y)
        for (int x = 16; x < 20; ++x)
            ASSERT_EQ(buffer.Pixel(x, y), 0x44444444u);
    EXPECT_NE(buffer.Pixel(15, 19), 0x44444444u);

    // A surface shorter than it is wide is cut at its last row.
    Buffer short_one(64, 10, 2);
    for (bool up : {false, true}) {
        gradient.upward = up;
        for (int update = 0; update < 20; ++update)
            gradient.Frame_Move_16(short_one.data(), short_one.pitch, 64, 10, 0.1);
    }
    EXPECT_TRUE(short_one.Guards_Intact());
}

} // namespace
