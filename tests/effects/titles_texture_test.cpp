// The titles texture: made in the depth of the desktop without an alpha channel, made again
// only when the depth class changes or the last attempt failed, and redrawn from black with
// each new title (cut to 255 characters).
#include <gtest/gtest.h>

#include "effects/titles.h"
#include "log/error_log.h"
#include "platform/graphics/surface.h"
#include "platform/system/message_box.h"
#include "texture_support.h"

#include <algorithm>

using effects_test::Desktop_Guard;
using effects_test::Fake_Texture_Store;

namespace {

class Titles_Texture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Reset_Diagnostics();
        Titles.Reset();
    }
    void TearDown() override { Titles.Reset(); }

    // Every pixel of the surface, for comparing two drawings.
    static std::vector<uint32_t> Pixels(IDirectDrawSurface7* surface)
    {
        std::vector<uint32_t> pixels;
        for (DWORD y = 0; y < surface->Height(); ++y)
            for (DWORD x = 0; x < surface->Width(); ++x)
                pixels.push_back(effects_test::Pixel_Of(surface, x, y) & 0xFFFFFF);
        return pixels;
    }
    static bool All_Black(const std::vector<uint32_t>& pixels)
    {
        return std::all_of(pixels.begin(), pixels.end(), [](uint32_t p) { return p == 0; });
    }

    Fake_Texture_Store Store;
    Message_Box_Recorder Reports;
};

} // namespace

TEST_F(Titles_Texture, MadeInTheDesktopDepthAndAgainOnlyWhenItChanges)
{
    {
        Desktop_Guard desktop(24);
        EXPECT_EQ(Titles.Initialise_Titles_Texture("Music Title", 512), 1);
        EXPECT_EQ(Titles.Initialise_Titles_Texture("Music Title", 512), 1); // exists already
    }
    {
        Desktop_Guard desktop(16);
        EXPECT_EQ(Titles.Initialise_Titles_Texture("Music Title", 256), 1);
    }
    const std::vector<std::string> expected = {"create Music Title 512x512 stage 0 flags 4",
                                               "invalidate Music Title", "delete Music Title",
                                               "create Music Title 256x256 stage 0 flags 8"};
    EXPECT_EQ(Store.Calls, expected);
    EXPECT_TRUE(Reports.Boxes.empty());
}

TEST_F(Titles_Texture, FailedCreationIsReportedAndRetriedAtTheNextCall)
{
    Desktop_Guard desktop(32);
    const HRESULT no_memory = static_cast<HRESULT>(0x8007000Eu);
    Store.Create_Results = {no_memory, no_memory};
    EXPECT_EQ(Titles.Initialise_Titles_Texture("Music Title", 512), no_memory);
    // The scene's second try at 256 must really create the texture.
    EXPECT_EQ(Titles.Initialise_Titles_Texture("Music Title", 256), 1);
    const std::vector<std::string> expected = {"create Music Title 512x512 stage 0 flags 4",
                                               "create Music Title 512x512 stage 0 flags 8",
                                               "create Music Title 256x256 stage 0 flags 4"};
    EXPECT_EQ(Store.Calls, expected);
    ASSERT_EQ(Reports.Boxes.size(), 1u);
    EXPECT_EQ(
        Reports.Boxes[0].Text,
        "Titles::Initialise_Titles_Texture(): D3DTextr_CreateEmptyTexture Titles FAILED with return code " +
            std::to_string(no_memory));
}

TEST_F(Titles_Texture, UnusableDesktopIsReported)
{
    {
        Desktop_Guard desktop(8);
        EXPECT_EQ(Titles.Initialise_Titles_Texture("Music Title", 256), 0);
    }
    {
        Desktop_Guard desktop(32, false);
        EXPECT_EQ(Titles.Initialise_Titles_Texture("Music Title", 256), 0);
    }
    ASSERT_EQ(Reports.Boxes.size(), 3u); // the mode query reports its own failure first
    EXPECT_EQ(Reports.Boxes[0].Text, "Titles::Initialise_Titles_Texture: Invalid desktop bpp 8");
    EXPECT_EQ(Reports.Boxes[2].Text, "Titles::Initialise_Titles_Texture: Grab_Current_Display_Mode FAILED");
    EXPECT_TRUE(Store.Calls.empty());
}

TEST_F(Titles_Texture, EachTitleIsDrawnOnBlackAndCutTo255Characters)
{
    EXPECT_EQ(Titles.Update_Title_Text("Music Title", "Anything"), 0); // no surface yet
    IDirectDrawSurface7* surface = Store.Add("Music Title", Pixel_Layout::X8R8G8B8, 256, 256);

    EXPECT_EQ(Titles.Update_Title_Text("Music Title", "First Song"), 1);
    EXPECT_FALSE(All_Black(Pixels(surface)));
    EXPECT_EQ(Titles.Update_Title_Text("Music Title", ""), 1);
    EXPECT_TRUE(All_Black(Pixels(surface))); // the old title is gone

    const std::string long_title = "A" + std::string(299, 'i');
    EXPECT_EQ(Titles.Update_Title_Text("Music Title", long_title.c_str()), 1);
    const std::vector<uint32_t> cut = Pixels(surface);
    EXPECT_EQ(Titles.Update_Title_Text("Music Title", long_title.substr(0, 255).c_str()), 1);
    EXPECT_EQ(Pixels(surface), cut);
    EXPECT_FALSE(surface->Is_Locked());
}

TEST_F(Titles_Texture, FailedLockIsPassedBack)
{
    IDirectDrawSurface7* surface = Store.Add("Music Title", Pixel_Layout::R5G6B5, 256, 256);
    surface->Mark_Lost();
    const HRESULT lost = static_cast<HRESULT>(0x887601C2u);
    EXPECT_EQ(Titles.Update_Title_Text("Music Title", "Song"), lost);
}
