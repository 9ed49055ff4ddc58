// The plasma's tables: the values the rings must take, their mirror symmetry, the contrast
// clamp, and the allocation failure path with its reports.
#include <gtest/gtest.h>

#include "effects/plasma.h"
#include "effects_support.h"
#include "platform/system/random.h"
#include "settings/settings_file.h"

namespace {

class Plasma_Tables : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program_Random().Reset();
        Live_Settings().Plasma_Contrast = 4;
        Live_Settings().Plasma_Interference = 9.5f;
        Live_Settings().Plasma_Random = 0;
    }
    void TearDown() override { Program_Random().Reset(); }

    // Builds at the given contrast and returns the table entry at column x, row y.
    void Build(int32_t side, int32_t contrast)
    {
        Live_Settings().Plasma_Contrast = contrast;
        ASSERT_EQ(plasma.Setup_Plasma(side, side), 1);
    }
    uint8_t Distance(int w, int32_t x, int32_t y) const
    {
        return plasma.wave[w].distance_table[std::size_t(y) * 2 * plasma.wave[w].width + x];
    }
    uint8_t Ripple(int w, int32_t x, int32_t y) const
    {
        return plasma.wave[w].ripple_table[std::size_t(y) * 2 * plasma.wave[w].width + x];
    }

    Plasma plasma;
};

TEST_F(Plasma_Tables, CornersWrapModulo256)
{
    Build(256, 2);
    // dx = dy = 256: D = 358.06…, × 5.4 / 2 = 966.76 → 966 mod 256.
    for (auto [x, y] : {std::pair{0, 0}, {511, 0}, {0, 511}, {511, 511}})
        EXPECT_EQ(Distance(0, x, y), 198) << x << "," << y;
    plasma.Shutdown_Plasma();
    Build(256, 4);
    EXPECT_EQ(Distance(2, 0, 0), 227);
    EXPECT_EQ(Distance(2, 511, 511), 227);
}

TEST_F(Plasma_Tables, CentreEntries)
{
    Build(256, 4);
    for (int w = 0; w < 3; ++w)
        for (auto [x, y] : {std::pair{255, 255}, {256, 255}, {255, 256}, {256, 256}}) {
            EXPECT_EQ(Distance(w, x, y), 0);
            EXPECT_EQ(Ripple(w, x, y), 12);
        }
}

TEST_F(Plasma_Tables, MirrorSymmetryOfBothTables)
{
    Build(64, 3);
    const int32_t n = 128;
    for (int32_t y = 0; y < n; ++y)
        for (int32_t x = 0; x < n; ++x) {
            ASSERT_EQ(Distance(1, x, y), Distance(1, n - 1 - x, y));
            ASSERT_EQ(Distance(1, x, y), Distance(1, x, n - 1 - y));
            ASSERT_EQ(Ripple(1, x, y), Ripple(1, n - 1 - x, y));
            ASSERT_EQ(Ripple(1, x, y), Ripple(1, x, n - 1 - y));
        }
}

TEST_F(Plasma_Tables, RippleBoundsAtTheContrastLimits)
{
    Build(256, 2);
    int high = 0;
    for (int32_t i = 0; i < 512 * 512; ++i)
        high = std::max<int>(high, plasma.wave[0].ripple_table[i]);
    EXPECT_LE(high, 50);
    EXPECT_GE(high, 49); // the sine does reach its crest somewhere
    plasma.Shutdown_Plasma();
    Build(256, 25);
    for (int32_t i = 0; i < 512 * 512; ++i)
        ASSERT_LE(plasma.wave[0].ripple_table[i], 4);
}

TEST_F(Plasma_Tables, ContrastOutsideTheRangeIsClamped)
{
    auto tables_at = [&](int32_t contrast) {
        Program_Random().Reset();
        Build(32, contrast);
        std::vector<uint8_t> bytes(plasma.wave[0].distance_table.get(),
                                   plasma.wave[0].distance_table.get() + 64 * 64);
        bytes.insert(bytes.end(), plasma.wave[0].ripple_table.get(),
                     plasma.wave[0].ripple_table.get() + 64 * 64);
        plasma.Shutdown_Plasma();
        return bytes;
    };
    EXPECT_EQ(tables_at(1), tables_at(2));
    EXPECT_EQ(tables_at(30), tables_at(25));
    EXPECT_NE(tables_at(2), tables_at(25));
}

TEST_F(Plasma_Tables, PhasesComeFromEightDrawsPerWave)
{
    Random::srand(7);
    int draws[25];
    for (int& d : draws)
        d = Random::rand();
    Random::srand(7);
    Build(16, 4);
    for (int w = 0; w < 3; ++w)
        for (int i = 0; i < 8; ++i) {
            const float expected = float(draws[8 * w + i]) / 16384.0f;
            EXPECT_EQ(plasma.wave[w].phase[i], i % 2 == 0 ? expected : -expected);
        }
    EXPECT_EQ(Random::rand(), draws[24]);
}

TEST_F(Plasma_Tables, AFailedWaveLeavesNoTablesAndReports)
{
    effects_test::Report_Capture capture;
    EXPECT_EQ(plasma.Setup_Plasma(Plasma_Max_Side + 1, 16), 0);
    EXPECT_FALSE(plasma.Has_Tables());
    EXPECT_EQ(plasma.size, 256);
    const std::vector<std::string> expected = {
        "Setup_Plasma():\n\nUnable to allocate memory for plasma table 1",
        "Setup_Plasma():\n\nUnable to Setup Plasma"};
    EXPECT_EQ(capture.Reports(), expected);

    // Without tables the fills touch nothing; freeing twice is harmless.
    effects_test::Buffer buffer(16, 16, 4);
    buffer.Clear(0x55);
    EXPECT_EQ(plasma.Multi_Colour_Plasma_32(buffer.data(), buffer.pitch, 16, 16, 0.1), 0);
    EXPECT_EQ(buffer.Pixel(3, 3), 0x55555555u);
    plasma.Shutdown_Plasma();
    plasma.Shutdown_Plasma();

    ASSERT_EQ(plasma.Setup_Plasma(512, 512), 1);
    EXPECT_EQ(plasma.size, 512);
}

TEST_F(Plasma_Tables, ChooseColoursKeepsOneChannelOrHalvesAll)
{
    Random::srand(3);
    for (int round = 0; round < 40; ++round) {
        plasma.Choose_Colours();
        const int kept = (plasma.red_shift == 0) + (plasma.green_shift == 0) + (plasma.blue_shift == 0);
        ASSERT_LE(kept, 1);
    }
    // Random mode draws a contrast of 2 … 24 and an interference of 3.0 … 11.9 after the shifts.
    Live_Settings().Plasma_Random = 1;
    Random::srand(11);
    const int n = Random::rand() % 4, c = Random::rand() % 23 + 2, k = Random::rand() % 90 + 30;
    Random::srand(11);
    plasma.Choose_Colours();
    EXPECT_EQ(plasma.red_shift, n == 1 ? 0 : 1);
    EXPECT_EQ(Live_Settings().Plasma_Contrast, c);
    EXPECT_EQ(Live_Settings().Plasma_Interference, float(k) * 0.1f);
}

TEST(Plasma_Fold, TurnsTheSumBack)
{
    EXPECT_EQ(Plasma_Fold(127), 127);
    EXPECT_EQ(Plasma_Fold(128), 127);
    EXPECT_EQ(Plasma_Fold(255), 0);
    EXPECT_EQ(Plasma_Fold(uint8_t(256 % 256)), 0);
    EXPECT_EQ(Plasma_Fold(uint8_t(383 % 256)), 127);
    EXPECT_EQ(Plasma_Fold(0), 0);
}

} // namespace
