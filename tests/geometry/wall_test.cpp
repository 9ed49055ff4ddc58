// The wall image: its pickers over real folders below the data directory, the square's
// placement, drawing and fade cycle.
#include "geometry/wall.h"
#include "log/error_log.h"
#include "platform/system/count_files_in_folder.h"
#include "platform/system/message_box.h"
#include "platform/system/random.h"
#include "recording_device.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

using test_support::Env_Guard;
using test_support::Temp_Folder;
using test_support::Write_File;

namespace {

class Wall_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        D3DWall.Reset();
        Program_Random().Reset();
        Reset_Diagnostics();
        std::filesystem::create_directories(Images);
        std::filesystem::create_directories(Backdrops);
    }
    void TearDown() override
    {
        D3DWall.Reset();
        Program_Random().Reset();
    }
    std::string Pick_Image()
    {
        char path[Wall_Image::Path_Size] = {};
        EXPECT_EQ(D3DWall.Select_Random_Image(path), 1);
        return path;
    }

    Temp_Folder Data;
    Env_Guard Data_Home{"XDG_DATA_HOME", Data.Path().string()};
    std::string Images = Data / "Lucivanta/Images/";
    std::string Backdrops = Data / "Lucivanta/Backdrop/";
    Message_Box_Recorder Reports;
};

} // namespace

TEST_F(Wall_Test, OneBitmapIsAlwaysPicked)
{
    Write_File(Images + "Logo.BMP", "x");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Pick_Image(), Images + "Logo.BMP");
}

TEST_F(Wall_Test, TwoBitmapsStartWithTheSecondAndAlternate)
{
    Write_File(Images + "a.bmp", "x"); // lower-case extensions count too
    Write_File(Images + "b.Bmp", "x");
    Write_File(Images + "c.png", "x");
    EXPECT_EQ(Pick_Image(), Images + "b.Bmp");
    EXPECT_EQ(Pick_Image(), Images + "a.bmp");
    EXPECT_EQ(Pick_Image(), Images + "b.Bmp");
    // The backdrop picker keeps its own last pick.
    Write_File(Backdrops + "x.BMP", "x");
    Write_File(Backdrops + "y.BMP", "x");
    char path[Wall_Image::Path_Size] = {};
    EXPECT_EQ(D3DWall.Select_Random_Backdrop(path), 1);
    EXPECT_EQ(std::string(path), Backdrops + "y.BMP");
    EXPECT_TRUE(Reports.Boxes.empty());
}

TEST_F(Wall_Test, EmptyOrMissingFoldersFailWithTheirReports)
{
    char path[Wall_Image::Path_Size] = "unchanged";
    EXPECT_EQ(D3DWall.Select_Random_Image(path), 0);
    std::filesystem::remove_all(Backdrops);
    EXPECT_EQ(D3DWall.Select_Random_Backdrop(path), 0);
    EXPECT_STREQ(path, "unchanged");
    ASSERT_EQ(Reports.Boxes.size(), 2u);
    EXPECT_EQ(Reports.Boxes[0].Text, "Select_Random_Image(): Count_Files_In_Folder FAILED");
    EXPECT_EQ(Reports.Boxes[1].Text, "Select_Random_Backdrop(): Count_Files_In_Folder FAILED");
}

TEST_F(Wall_Test, CountingIgnoresFoldersAndOtherMasks)
{
    Write_File(Images + "one.BMP", "x");
    std::filesystem::create_directories(Images + "folder.BMP");
    int count = -1;
    EXPECT_TRUE(Sage::Count_Files_In_Folder((Images + "*.BMP").c_str(), &count));
    EXPECT_EQ(count, 1);
    EXPECT_FALSE(Sage::Count_Files_In_Folder((Images + "*.MP3").c_str(), &count));
    EXPECT_EQ(count, 0);
}

TEST_F(Wall_Test, SquareSizeDependsOnTheViewportWidth)
{
    D3DWall.Initialise_Quad();
    D3DWall.Initialise_Image_Coordinates(1024, 768); // a third of the height
    const float side = 768 * 0.33333334f;
    EXPECT_FLOAT_EQ(D3DWall.Quad[0].sx, (1024 - side) / 2); // bottom-left
    EXPECT_FLOAT_EQ(D3DWall.Quad[0].sy, (768 + side) / 2);
    EXPECT_FLOAT_EQ(D3DWall.Quad[3].sx, (1024 + side) / 2); // top-right
    EXPECT_FLOAT_EQ(D3DWall.Quad[3].sy, (768 - side) / 2);

    D3DWall.Initialise_Image_Coordinates(200, 150); // narrower: 256 even on a tiny viewport
    EXPECT_FLOAT_EQ(D3DWall.Quad[1].sx, -28);
    EXPECT_FLOAT_EQ(D3DWall.Quad[1].sy, -53);
    EXPECT_FLOAT_EQ(D3DWall.Quad[2].sx, 228);
    EXPECT_FLOAT_EQ(D3DWall.Quad[2].sy, 203);
    // The texture stands upright; only x and y were placed.
    EXPECT_EQ(D3DWall.Quad[0].tv, 1.0f);
    EXPECT_EQ(D3DWall.Quad[1].tv, 0.0f);
    EXPECT_EQ(D3DWall.Quad[2].rhw, 0.5f);
}

TEST_F(Wall_Test, RenderPassesTheDeviceResultThrough)
{
    Recording_Device device;
    EXPECT_EQ(D3DWall.Render(&device), D3D_OK);
    device.Fail_From_Call = 0;
    EXPECT_EQ(D3DWall.Render(&device), device.Failure);
    ASSERT_EQ(device.Draws.size(), 2u);
    EXPECT_EQ(device.Draws[0].Type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(device.Draws[0].Vertices, D3DWall.Quad);
    EXPECT_EQ(device.Draws[0].Count, 4u);
}

TEST_F(Wall_Test, FadeCycleWithHoldsAndNewImageAtBlack)
{
    Random::srand(31);
    Random_Generator expected;
    expected.Seed(31);
    D3DWall.Initialise_Quad();
    int calls = 0;
    while (D3DWall.Colour == 0 && calls < 1000) {
        D3DWall.Fade(0.09, 0.1);
        ++calls;
    }
    EXPECT_EQ(calls, 51); // begins to appear about 5 s after start
    while (D3DWall.Fading_Out == 0)
        D3DWall.Fade(0.09, 0.1);
    EXPECT_EQ(D3DWall.Colour, Wall_Image::Full_Brightness); // whatever the brightness setting
    EXPECT_EQ(D3DWall.Quad[3].color, Wall_Image::Full_Brightness);
    EXPECT_DOUBLE_EQ(D3DWall.Fade_In_Timer, -20.0 - (expected.Next() % 100) * 0.1);

    const double hold = -20.0 - (expected.Next() % 100) * 0.1;
    D3DWall.Fade(0.09, 0.5);
    EXPECT_DOUBLE_EQ(D3DWall.Fade_Out_Timer, hold + 0.5);
    while (D3DWall.Colour != 0) {
        EXPECT_EQ(D3DWall.New_Image, 0);
        D3DWall.Fade(0.09, 0.1);
    }
    EXPECT_EQ(D3DWall.New_Image, 1);
    EXPECT_EQ(D3DWall.Fading_Out, 0);
    EXPECT_DOUBLE_EQ(D3DWall.Fade_Out_Timer, -20.0 - (expected.Next() % 100) * 0.1);
    EXPECT_EQ(D3DWall.Quad[0].color, 0u);
    D3DWall.Fade(0.09, 0.0); // the next call clears the flag
    EXPECT_EQ(D3DWall.New_Image, 0);
}
