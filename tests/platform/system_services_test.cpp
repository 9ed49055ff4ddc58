// The system services: data directory, folder search masks, clocks and the display mode.
#include "log/sage_system.h"
#include "platform/system/clock.h"
#include "platform/system/data_dir.h"
#include "platform/system/display_mode.h"
#include "platform/system/folder_search.h"
#include "platform/system/message_box.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

using test_support::Env_Guard;
using test_support::Temp_Folder;
using test_support::Write_File;

namespace {

TEST(Data_Directory, XdgDataHomeWhenAbsoluteElseHomeShare)
{
    Env_Guard home("HOME", "/home/someone");
    {
        Env_Guard data("XDG_DATA_HOME", "/data/here/");
        EXPECT_EQ(Windows_Directory(), "/data/here");
        EXPECT_EQ(Windows_Directory_Plus("/Lucivanta/error_log.txt"), "/data/here/Lucivanta/error_log.txt");
    }
    for (const char* value : {"relative/path", ""}) {
        Env_Guard data("XDG_DATA_HOME", value);
        EXPECT_EQ(Windows_Directory(), "/home/someone/.local/share");
    }
}

TEST(Data_Directory, CopyReportsTheNeededSizeWhenTooSmall)
{
    Env_Guard data("XDG_DATA_HOME", "/abc");
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(GetWindowsDirectoryA(buffer, 4), 5u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetWindowsDirectoryA(buffer, sizeof buffer), 4u);
    EXPECT_STREQ(buffer, "/abc");
}

TEST(Folder_Search, MasksIgnoreCaseAndUseStarAndQuestionMark)
{
    EXPECT_TRUE(Mask_Matches("*.BMP", "wall.bmp"));
    EXPECT_TRUE(Mask_Matches("*.mp3", "Track 01.MP3"));
    EXPECT_TRUE(Mask_Matches("*", ""));
    EXPECT_TRUE(Mask_Matches("a?c*", "abc"));
    EXPECT_TRUE(Mask_Matches("*a*b*c", "xxaxxbxxbxc"));
    EXPECT_FALSE(Mask_Matches("*.BMP", "wall.bmp.txt"));
    EXPECT_FALSE(Mask_Matches("?.bmp", ".bmp"));
    EXPECT_FALSE(Mask_Matches("a", ""));
    EXPECT_FALSE(Mask_Matches(std::string(40, '*').append("b").c_str(), std::string(4000, 'a').c_str()));
}

TEST(Folder_Search, FindsRegularFilesSortedByName)
{
    Temp_Folder folder;
    for (const char* name : {"c.BMP", "a.bmp", "b.Bmp", "notes.txt"})
        Write_File(folder / name, "x");
    std::filesystem::create_directory(folder / "folder.bmp");
    const std::vector<std::string> expected = {"a.bmp", "b.Bmp", "c.BMP"};
    EXPECT_EQ(Find_Files(folder.Path().string(), "*.BMP"), expected);
    EXPECT_EQ(Find_Files(folder.Path().string() + "/", "*.bmp"), expected);
    EXPECT_TRUE(Find_Files(folder / "missing", "*").empty());
}

TEST(Clock, ManualSourceDrivesEveryCounter)
{
    Manual_Clock manual;
    manual.Nanoseconds = 5'000'000'000LL;
    Set_Clock_Source(&manual);
    LARGE_INTEGER count{}, frequency{};
    EXPECT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_TRUE(QueryPerformanceCounter(&count));
    EXPECT_EQ(timeGetTime(), 5000u);
    manual.Advance_Milliseconds(16.5);
    LARGE_INTEGER later{};
    QueryPerformanceCounter(&later);
    EXPECT_DOUBLE_EQ(double(later.QuadPart - count.QuadPart) / double(frequency.QuadPart), 0.0165);
    EXPECT_EQ(timeGetTime(), 5016u);
    SYSTEMTIME time{};
    GetLocalTime(&time);
    EXPECT_EQ(time.wHour, 9);
    Set_Clock_Source(nullptr);

    const DWORD before = timeGetTime();
    QueryPerformanceCounter(&count);
    QueryPerformanceCounter(&later);
    EXPECT_GE(later.QuadPart, count.QuadPart);
    EXPECT_LT(timeGetTime() - before, 1000u);
}

TEST(Display_Mode, FailureLeavesTheCallersValues)
{
    Fixed_Display_Mode none(0, 0, 0, false);
    Set_Display_Mode_Source(&none);
    Message_Box_Recorder reports;
    int width = 640, height = 480, bits = 16;
    EXPECT_FALSE(Sage::Grab_Current_Display_Mode(width, height, bits));
    ASSERT_EQ(reports.Boxes.size(), 1u);
    EXPECT_EQ(reports.Boxes[0].Text, "Sage::Grab_Current_Display_Mode FAILED");
    EXPECT_EQ(width, 640);
    EXPECT_EQ(bits, 16);
    Set_Display_Mode_Source(nullptr);
}

TEST(Display_Mode, NoXDisplayIsAFailure)
{
    Env_Guard display("DISPLAY", ":9999");
    Display_Mode mode;
    EXPECT_FALSE(X_Display_Current_Mode(mode));
}

} // namespace
