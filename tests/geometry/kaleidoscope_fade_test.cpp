// The kaleidoscope layers' fade state machine: staggered first appearance, one step per call,
// holds drawn from the shared generator, the brightness limit read on every step, and the
// rebuild flag raised exactly when a layer reaches black.
#include "geometry/kaleidoscope.h"
#include "platform/system/random.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

using K = Kaleidoscope;

namespace {

constexpr double Interval = 0.09;

class Kaleidoscope_Fade : public ::testing::Test {
protected:
    void SetUp() override
    {
        K::Reset();
        Program_Random().Reset();
        Saved = Live_Settings();
        Live_Settings().Brightness = 0x30303030;
    }
    void TearDown() override
    {
        Live_Settings() = Saved;
        Program_Random().Reset();
    }
    // Calls Fade with the given elapsed time until the colour changes; returns the calls made.
    int Calls_Until_Step(int layer, double elapsed)
    {
        const uint32_t before = K::Colour[layer];
        for (int calls = 1; calls < 100000; ++calls) {
            K::Fade(layer, Interval, elapsed);
            if (K::Colour[layer] != before)
                return calls;
        }
        return -1;
    }
    Settings Saved;
};

} // namespace

TEST_F(Kaleidoscope_Fade, FirstAppearanceIsStaggeredAndRebuildClearsAtOnce)
{
    // Start values −6, −12, −20: the first step comes once the timer passes the interval.
    const int expected_calls[3] = {61, 121, 201};
    for (int layer = 0; layer < 3; ++layer) {
        EXPECT_EQ(K::Rebuild[layer], 1);
        K::Initialise_Symmetry(4, layer);
        K::Fade(layer, Interval, 0.1);
        EXPECT_EQ(K::Rebuild[layer], 0) << layer; // cleared on every brightening call
        EXPECT_EQ(Calls_Until_Step(layer, 0.1) + 1, expected_calls[layer]) << layer;
        EXPECT_EQ(K::Colour[layer], 0x01010101u);
        EXPECT_DOUBLE_EQ(K::Fade_In_Timer[layer], 0.0);
    }
    // The colour reaches the drawn vertices (and the quad of screen layers) when it steps.
    EXPECT_EQ(K::Layer_Vertices[K::Background][11].color, 0x01010101u);
    EXPECT_EQ(K::Layer_Quad[K::Midground][2].color, 0x01010101u);
    EXPECT_EQ(K::Foreground_Vertices[11].color, 0x01010101u);
    EXPECT_EQ(K::Foreground_Vertices[12].color, 0u); // beyond the four triangles drawn
}

TEST_F(Kaleidoscope_Fade, HoldsAtFullBrightnessAndAtBlack)
{
    Random::srand(77);
    Random_Generator expected;
    expected.Seed(77);
    K::Colour[K::Midground] = 0x2F2F2F2F;
    K::Fade_In_Timer[K::Midground] = 0.0;

    K::Fade(K::Midground, Interval, 0.1); // reaches the limit: hold of (rand() mod 300)/10 s
    EXPECT_EQ(K::Colour[K::Midground], 0x30303030u);
    EXPECT_EQ(K::Fading_Out[K::Midground], 1);
    EXPECT_DOUBLE_EQ(K::Fade_In_Timer[K::Midground], (expected.Next() % 300) * -0.1);

    // The first dimming call of the midground draws its own hold first.
    const double first_hold = (expected.Next() % 100) * -0.1;
    K::Fade(K::Midground, Interval, 0.05);
    EXPECT_DOUBLE_EQ(K::Fade_Out_Timer[K::Midground], first_hold + 0.05);
    const int calls = Calls_Until_Step(K::Midground, 0.05) + 1;
    EXPECT_NEAR(calls * 0.05, -first_hold + Interval, 0.051);
    EXPECT_EQ(K::Colour[K::Midground], 0x2F2F2F2Fu);
    EXPECT_EQ(Program_Random().Current_State(), expected.Current_State()); // no further draws
}

TEST_F(Kaleidoscope_Fade, RebuildIsRaisedExactlyWhenBlackIsReached)
{
    Random::srand(5);
    Random_Generator expected;
    expected.Seed(5);
    K::Initialise_Symmetry(6, K::Background);
    K::Colour[K::Background] = 0x02020202;
    K::Fading_Out[K::Background] = 1;
    K::Rebuild[K::Background] = 0;

    K::Fade(K::Background, Interval, 0.1); // the background's first dimming starts at 0: no draw
    EXPECT_EQ(K::Colour[K::Background], 0x01010101u);
    EXPECT_EQ(K::Rebuild[K::Background], 0);
    K::Fade(K::Background, Interval, 0.1);
    EXPECT_EQ(K::Colour[K::Background], 0u);
    EXPECT_EQ(K::Rebuild[K::Background], 1);
    EXPECT_EQ(K::Fading_Out[K::Background], 0);
    EXPECT_DOUBLE_EQ(K::Fade_Out_Timer[K::Background], (expected.Next() % 50) * -0.1);
    EXPECT_EQ(K::Layer_Vertices[K::Background][17].color, 0u);
    EXPECT_EQ(K::Layer_Quad[K::Background][0].color, 0u);

    K::Fade(K::Background, Interval, 0.0); // the next (brightening) call clears it
    EXPECT_EQ(K::Rebuild[K::Background], 0);
}

TEST_F(Kaleidoscope_Fade, AtMostOneStepPerCallHoweverLongTheFrame)
{
    K::Fade_In_Timer[K::Foreground] = 0.0;
    K::Fade(K::Foreground, Interval, 100.0);
    EXPECT_EQ(K::Colour[K::Foreground], 0x01010101u);
    K::Fade(K::Foreground, Interval, Interval); // not greater than the interval: no step
    EXPECT_EQ(K::Colour[K::Foreground], 0x01010101u);
}

TEST_F(Kaleidoscope_Fade, LoweringTheLimitWhileBrighteningTurnsAtTheNextStep)
{
    Live_Settings().Brightness = 0xCCCCCCCC;
    K::Colour[K::Background] = 0x50505050;
    K::Fade_In_Timer[K::Background] = 0.0;
    K::Fade(K::Background, Interval, 0.1);
    EXPECT_EQ(K::Fading_Out[K::Background], 0);
    Live_Settings().Brightness = 0x30303030;
    K::Fade(K::Background, Interval, 0.1);
    EXPECT_EQ(K::Colour[K::Background], 0x52525252u);
    EXPECT_EQ(K::Fading_Out[K::Background], 1);
}

TEST_F(Kaleidoscope_Fade, BlackLayerStaysBlackWhileDimming)
{
    K::Fading_Out[K::Midground] = 1;
    K::Fade_Out_Started[K::Midground] = true;
    K::Fade(K::Midground, Interval, 10.0);
    EXPECT_EQ(K::Colour[K::Midground], 0u);
    EXPECT_EQ(K::Rebuild[K::Midground], 1); // as constructed; only a brightening call clears it
}
