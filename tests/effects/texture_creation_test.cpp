// Creating the effects' textures from the desktop's depth: the flags per depth and effect,
// the retries with fewer flags, the reports, and recreation only when the depth class changes.
#include <gtest/gtest.h>

#include "effects/gradient.h"
#include "effects/plasma.h"
#include "effects/sine_wave.h"
#include "effects_support.h"
#include "platform/system/random.h"
#include "texture_support.h"

namespace {

using effects_test::Desktop_Guard;
using effects_test::Fake_Texture_Store;
using effects_test::Report_Capture;

class Texture_Creation : public ::testing::Test {
protected:
    void SetUp() override { Program_Random().Reset(); }
    void TearDown() override { Program_Random().Reset(); }
    Fake_Texture_Store store;
    Plasma plasma;
    Sine_Wave sine;
    Gradient gradient;
};

TEST_F(Texture_Creation, FlagsFollowTheDesktopDepth)
{
    struct Case {
        int desktop;
        DWORD plasma, others;
    };
    for (Case c : {Case{15, 8, 8}, Case{16, 8, 8}, Case{24, 4, 8}, Case{32, 4, 4}}) {
        Desktop_Guard desktop(c.desktop);
        plasma.created_flags = sine.created_flags = gradient.created_flags = 0;
        store.Calls.clear();
        EXPECT_EQ(plasma.Initialise_Plasma_Texture("PlasmaTexture", 512), 1);
        EXPECT_EQ(sine.Initialise_Sine_Wave_Texture("SineTexture", 256), 1);
        EXPECT_EQ(gradient.Initialise_Gradient_Texture("GradientTexture", 256), 1);
        const std::vector<std::string> expected = {
            "create PlasmaTexture 512x512 stage 0 flags " + std::to_string(c.plasma | TEXTR_WITH_ALPHA),
            "create SineTexture 256x256 stage 0 flags " + std::to_string(c.others | TEXTR_WITH_ALPHA),
            "create GradientTexture 256x256 stage 0 flags " + std::to_string(c.others | TEXTR_WITH_ALPHA)};
        EXPECT_EQ(store.Calls, expected) << c.desktop;
        EXPECT_EQ(plasma.created_flags, c.plasma);
        EXPECT_EQ(sine.created_flags, c.others);
    }
}

TEST_F(Texture_Creation, RecreatedOnlyWhenTheDepthClassChanges)
{
    {
        Desktop_Guard desktop(24);
        EXPECT_EQ(plasma.Initialise_Plasma_Texture("PlasmaTexture", 256), 1);
    }
    store.Calls.clear();
    {
        Desktop_Guard desktop(32);
        EXPECT_EQ(plasma.Initialise_Plasma_Texture("PlasmaTexture", 256), 1);
        EXPECT_TRUE(store.Calls.empty());
    }
    Desktop_Guard desktop(16);
    EXPECT_EQ(plasma.Initialise_Plasma_Texture("PlasmaTexture", 256), 1);
    const std::vector<std::string> expected = {"invalidate PlasmaTexture", "delete PlasmaTexture",
                                               "create PlasmaTexture 256x256 stage 0 flags 24"};
    EXPECT_EQ(store.Calls, expected);
}

TEST_F(Texture_Creation, RetriesWithFewerFlagsThenReports)
{
    Desktop_Guard desktop(32);
    Report_Capture capture;
    store.Create_Results = {E_FAIL, E_OUTOFMEMORY, E_INVALIDARG};
    EXPECT_EQ(plasma.Initialise_Plasma_Texture("PlasmaTexture", 256), E_INVALIDARG);
    const std::vector<std::string> tried = {"create PlasmaTexture 256x256 stage 0 flags 20",
                                            "create PlasmaTexture 256x256 stage 0 flags 4",
                                            "create PlasmaTexture 256x256 stage 0 flags 8"};
    EXPECT_EQ(store.Calls, tried);

    store.Create_Results = {E_FAIL, E_FAIL, E_OUTOFMEMORY};
    EXPECT_EQ(gradient.Initialise_Gradient_Texture("GradientTexture", 256), 0);
    store.Create_Results = {E_FAIL, E_FAIL, E_FAIL};
    EXPECT_EQ(sine.Initialise_Sine_Wave_Texture("SineTexture", 256), E_FAIL);
    const std::vector<std::string> reports = {
        "Plasma::Initialise_Plasma_Texture(): D3DTextr_CreateEmptyTexture Plasma FAILED with return code "
        "-2147024809",
        "Gradient::Initialise_Gradient_Texture(): D3DTextr_CreateEmptyTexture Plasma FAILED with return code "
        "-2147024882",
        "Sine_Wave::Initialise_Sine_Wave_Texture(): D3DTextr_CreateEmptyTexture Plasma FAILED with return "
        "code "
        "-2147467259"};
    EXPECT_EQ(capture.Reports(), reports);

    // A texture that could not be made is made again at the next device creation; the second
    // attempt of the plasma's (its flags without alpha) succeeds.
    store.Calls.clear();
    store.Create_Results = {E_FAIL};
    EXPECT_EQ(plasma.Initialise_Plasma_Texture("PlasmaTexture", 256), 1);
    EXPECT_EQ(store.Calls.size(), 2u);
    EXPECT_EQ(plasma.created_flags, TEXTR_32BPP);
}

TEST_F(Texture_Creation, UnreadableOrUnusableDesktop)
{
    Report_Capture capture;
    {
        Desktop_Guard desktop(32, false);
        EXPECT_EQ(plasma.Initialise_Plasma_Texture("PlasmaTexture", 256), 0);
        EXPECT_EQ(gradient.Initialise_Gradient_Texture("GradientTexture", 256), 0);
    }
    Desktop_Guard desktop(8);
    EXPECT_EQ(plasma.Initialise_Plasma_Texture("PlasmaTexture", 256), 0);
    EXPECT_EQ(sine.Initialise_Sine_Wave_Texture("SineTexture", 256), 0);
    EXPECT_EQ(gradient.Initialise_Gradient_Texture("GradientTexture", 256), 0);
    const std::vector<std::string> expected = {
        "Sage::Grab_Current_Display_Mode FAILED",
        "Plasma::Initialise_Plasma_Texture: Grab_Current_Display_Mode FAILED",
        "Sage::Grab_Current_Display_Mode FAILED",
        "Gradient::Initialise_Gradient_Texture: Grab_Current_Display_Mode FAILED",
        "Plasma::Initialise_Plasma_Texture: Invalid desktop bpp 8",
        "Sine_Wave::Initialise_Sine_Wave_Texture: Invalid bpp 8",
        "Gradient::Initialise_Gradient_Texture: Invalid bpp 8"};
    EXPECT_EQ(capture.Reports(), expected);
    EXPECT_TRUE(store.Calls.empty());
}

} // namespace
