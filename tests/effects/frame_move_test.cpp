// The effects' frame updates on real texture surfaces: lookup, lock, dispatch by depth and
// green mask, unlock, results and reports.
#include <gtest/gtest.h>

#include <cmath>

#include "effects/gradient.h"
#include "effects/plasma.h"
#include "effects/sine_wave.h"
#include "effects_support.h"
#include "platform/graphics/surface.h"
#include "platform/system/random.h"
#include "settings/settings_file.h"
#include "texture_support.h"

namespace {

using effects_test::Fake_Texture_Store;
using effects_test::Pixel_Of;
using effects_test::Report_Capture;

class Frame_Move_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program_Random().Reset();
        Live_Settings().Plasma_Contrast = 4;
        Live_Settings().Plasma_Interference = 9.5f;
        Live_Settings().Sine_Wave_Density = 0.85;
        Live_Settings().Sine_Wave_Variance = 3;
    }
    void TearDown() override { Program_Random().Reset(); }

    void Fill_With(IDirectDrawSurface7* surface, uint8_t value)
    {
        std::memset(surface->Bits(), value, std::size_t(surface->Pitch()) * surface->Height());
    }

    Fake_Texture_Store store;
};

TEST_F(Frame_Move_Test, PlasmaDispatchesByDepthAndGreenMask)
{
    Plasma plasma;
    ASSERT_EQ(plasma.Setup_Plasma(64, 64), 1);
    EXPECT_EQ(plasma.Frame_Move("PlasmaTexture", 0.1), E_FAIL); // no surface

    for (Pixel_Layout layout :
         {Pixel_Layout::X1R5G5B5, Pixel_Layout::R5G6B5, Pixel_Layout::R8G8B8, Pixel_Layout::X8R8G8B8}) {
        IDirectDrawSurface7* surface = store.Add("PlasmaTexture", layout, 64, 64);
        plasma.is_565 = layout != Pixel_Layout::R5G6B5;
        EXPECT_EQ(plasma.Frame_Move("PlasmaTexture", 0.1), 0);
        EXPECT_EQ(plasma.is_565, layout == Pixel_Layout::R5G6B5);
        EXPECT_FALSE(surface->Is_Locked());
        // Every pixel written: a 5-5-5 surface keeps bit 15 clear, a 32-bit one its top byte.
        uint32_t any = 0;
        for (DWORD y = 0; y < 64; ++y)
            for (DWORD x = 0; x < 64; ++x) {
                const uint32_t pixel = Pixel_Of(surface, x, y);
                any |= pixel;
                if (layout == Pixel_Layout::X1R5G5B5) {
                    ASSERT_EQ(pixel & 0x8000, 0u);
                }
                if (layout == Pixel_Layout::X8R8G8B8) {
                    ASSERT_EQ(pixel & 0xFF000000u, 0u);
                }
            }
        EXPECT_NE(any, 0u);
    }
}

TEST_F(Frame_Move_Test, PlasmaLeavesAnEightBitSurfaceAlone)
{
    Plasma plasma;
    ASSERT_EQ(plasma.Setup_Plasma(32, 32), 1);
    IDirectDrawSurface7* surface = store.Add("PlasmaTexture", Pixel_Layout::P8, 32, 32);
    Fill_With(surface, 0x5A);
    const float phase = plasma.wave[2].phase[3];
    Report_Capture capture;
    EXPECT_EQ(plasma.Frame_Move("PlasmaTexture", 0.1), 0);
    EXPECT_EQ(capture.Reports(), std::vector<std::string>{"Plasma::Frame_Move(): Unhandled texure bpp 8"});
    EXPECT_FALSE(surface->Is_Locked());
    EXPECT_EQ(Pixel_Of(surface, 31, 31), 0x5Au);
    EXPECT_EQ(plasma.wave[2].phase[3], phase);
}

TEST_F(Frame_Move_Test, PlasmaWithoutTablesTouchesNothing)
{
    Plasma plasma;
    IDirectDrawSurface7* surface = store.Add("PlasmaTexture", Pixel_Layout::X8R8G8B8, 16, 16);
    Fill_With(surface, 0x21);
    EXPECT_EQ(plasma.Frame_Move("PlasmaTexture", 0.1), 0);
    EXPECT_EQ(Pixel_Of(surface, 3, 3), 0x21212121u);
    EXPECT_TRUE(store.Calls.empty());
}

TEST_F(Frame_Move_Test, ALockFailureIsPassedOn)
{
    Plasma plasma;
    ASSERT_EQ(plasma.Setup_Plasma(16, 16), 1);
    Sine_Wave sine;
    Gradient gradient;
    for (const char* name : {"PlasmaTexture", "SineTexture", "GradientTexture"})
        store.Add(name, Pixel_Layout::X8R8G8B8, 16, 16)->Mark_Lost();
    EXPECT_EQ(plasma.Frame_Move("PlasmaTexture", 0.1), DDERR_SURFACELOST);
    EXPECT_EQ(sine.Frame_Move("SineTexture", 0.1), DDERR_SURFACELOST);
    EXPECT_EQ(gradient.Frame_Move("GradientTexture", 0.1), DDERR_SURFACELOST);
    EXPECT_EQ(sine.Frame_Move("NoTexture", 0.1), E_FAIL);
    EXPECT_EQ(gradient.Frame_Move("NoTexture", 0.1), E_FAIL);
}

TEST_F(Frame_Move_Test, SineWaveClearsReadsItsSettingsAndRefusesTwentyFourBits)
{
    Sine_Wave sine;
    Live_Settings().Sine_Wave_Variance = -5; // a damaged file: used as 1
    Live_Settings().Sine_Wave_Density = 0.5;
    IDirectDrawSurface7* surface = store.Add("SineTexture", Pixel_Layout::X8R8G8B8, 64, 64);
    Fill_With(surface, 0xC3);
    EXPECT_EQ(sine.Frame_Move("SineTexture", 0.2), 0);
    EXPECT_EQ(sine.variance, 1);
    EXPECT_EQ(sine.density, 0.5);
    EXPECT_DOUBLE_EQ(sine.state[Sine_Wave::Normal_32].time, 0.1);
    EXPECT_FALSE(surface->Is_Locked());
    // Cleared first: only band pixels are lit, and none keeps the old top byte.
    int black = 0;
    for (DWORD y = 0; y < 64; ++y)
        for (DWORD x = 0; x < 64; ++x) {
            ASSERT_EQ(Pixel_Of(surface, x, y) & 0xFF000000u, 0u);
            black += Pixel_Of(surface, x, y) == 0;
        }
    EXPECT_GT(black, 64 * 64 / 2);

    sine.inverted = TRUE;
    store.Add("SineTexture", Pixel_Layout::R5G6B5, 64, 64);
    EXPECT_EQ(sine.Frame_Move("SineTexture", 0.2), 0);
    EXPECT_TRUE(sine.is_565);
    EXPECT_TRUE(sine.state[Sine_Wave::Inverted_16].used);

    IDirectDrawSurface7* deep = store.Add("SineTexture", Pixel_Layout::R8G8B8, 64, 64);
    Report_Capture capture;
    EXPECT_EQ(sine.Frame_Move("SineTexture", 0.2), E_FAIL);
    EXPECT_EQ(capture.Reports(),
              std::vector<std::string>{"Sine_Wave::Frame_Move(): Unhandled texture bpp 24"});
    EXPECT_FALSE(deep->Is_Locked());
}

// A damaged settings file reaches the wave only through the view's ranges: a density near the
// double's limit once drove the wave's time to infinity and the band tops to NaN.
TEST_F(Frame_Move_Test, SineWaveTakesDamagedSettingsWithinTheirRanges)
{
    Sine_Wave sine;
    Live_Settings().Sine_Wave_Density = 1e300;
    Live_Settings().Sine_Wave_Variance = 1 << 30;
    store.Add("SineTexture", Pixel_Layout::X8R8G8B8, 32, 32);
    for (int frame = 0; frame < 3; ++frame)
        ASSERT_EQ(sine.Frame_Move("SineTexture", 1e10), 0);
    EXPECT_EQ(sine.density, 1.0);
    EXPECT_EQ(sine.variance, 100);
    EXPECT_TRUE(std::isfinite(sine.state[Sine_Wave::Normal_32].time));
}

TEST_F(Frame_Move_Test, ClearSurfaceGivesUpOnALockedOrLostSurface)
{
    IDirectDrawSurface7* surface = store.Add("SineTexture", Pixel_Layout::R5G6B5, 8, 8);
    Fill_With(surface, 0xFF);
    EXPECT_TRUE(Sine_Wave::Clear_Surface(surface));
    EXPECT_EQ(Pixel_Of(surface, 7, 7), 0u);
    Locked_Pixels locked;
    ASSERT_EQ(Lock_Effect_Texture(surface, locked), DD_OK);
    EXPECT_EQ(locked.bit_count, 16u);
    EXPECT_EQ(locked.green_mask, 0x07E0u);
    EXPECT_FALSE(Sine_Wave::Clear_Surface(surface));
    surface->Unlock(nullptr);
    surface->Mark_Lost();
    EXPECT_FALSE(Sine_Wave::Clear_Surface(surface));
}

TEST_F(Frame_Move_Test, GradientLocksEveryFrameAndTracesItsFillOnce)
{
    Gradient gradient;
    gradient.upward = false;
    IDirectDrawSurface7* surface = store.Add("GradientTexture", Pixel_Layout::X1R5G5B5, 36, 36);
    Fill_With(surface, 0x11);
    Report_Capture capture;
    Set_Trace_Enabled(true);
    EXPECT_EQ(gradient.Frame_Move("GradientTexture", 0.01), 0); // locked, nothing drawn yet
    EXPECT_EQ(Pixel_Of(surface, 0, 5), 0x1111u);
    EXPECT_EQ(store.Calls.size(), 1u);
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_EQ(gradient.Frame_Move("GradientTexture", 0.03), 0);
    EXPECT_EQ(Trace_Depth(), 0);
    Set_Trace_Enabled(false);
    EXPECT_FALSE(gradient.is_565);
    EXPECT_FALSE(surface->Is_Locked());
    EXPECT_EQ(Pixel_Of(surface, 0, 0), 0u);
    EXPECT_EQ(Pixel_Of(surface, 35, 5), 0x1111u); // the last 36 mod 8 pixels of a row stay
    const std::vector<std::string> expected = {"Enter Gradient::Frame_Move", "Exit  Gradient::Frame_Move",
                                               "Enter Gradient::Frame_Move_16",
                                               "Exit  Gradient::Frame_Move 16"};
    EXPECT_EQ(capture.Reports(), expected);
}

TEST_F(Frame_Move_Test, GradientRefusesOtherDepths)
{
    Gradient gradient;
    IDirectDrawSurface7* surface = store.Add("GradientTexture", Pixel_Layout::R8G8B8, 16, 16);
    Report_Capture capture;
    EXPECT_EQ(gradient.Frame_Move("GradientTexture", 0.1), E_FAIL);
    EXPECT_EQ(capture.Reports(),
              std::vector<std::string>{"Gradient::Frame_Move(): Unhandled texture bpp 24"});
    EXPECT_FALSE(surface->Is_Locked());
}

} // namespace
