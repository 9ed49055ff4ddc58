// The error log's file format, its size limit and its fall-back to message boxes.
#include "log/error_log.h"

#include "platform/system/clock.h"
#include "platform/system/display_mode.h"
#include "platform/system/message_box.h"
#include "platform/system/os_version.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <string>

using test_support::Read_File;
using test_support::Temp_Folder;
using test_support::Write_File;

namespace {

class Error_Log_Test : public ::testing::Test {
protected:
    Error_Log_Test()
    {
        Reset_Diagnostics();
        Set_Clock_Source(&Clock);
        Set_Display_Mode_Source(&Display);
    }
    ~Error_Log_Test() override
    {
        Reset_Diagnostics();
        Set_Clock_Source(nullptr);
        Set_Display_Mode_Source(nullptr);
        Set_Version_Query(nullptr);
    }

    Error_Log& Log = Program_Error_Log();
    Manual_Clock Clock; // 9:05:03, Sunday December 6, 2026
    Fixed_Display_Mode Display{1024, 768, 16};
    Message_Box_Recorder Boxes;
    Temp_Folder Folder;
    std::string Path = Folder / "error_log.txt";
};

TEST_F(Error_Log_Test, FreshRunWritesHeaderSystemAndDisplayLines)
{
    ASSERT_TRUE(Log.Open_Log(Path.c_str()));
    EXPECT_TRUE(Log.Log_Operating_System());
    EXPECT_TRUE(Log.Log_Display_Mode());
    Report("Main-FrameMove() FAILED with return code -5");
    EXPECT_EQ(Read_File(Path), "\r\n\r\n9:5:3, Sunday December 6, 2026\r\nError Log File\r\n"
                               "\r\n** Operating System: UNKNOWN **\r\n"
                               "\r\n** Display (w,h,bpp) == (1024, 768, 16) **\r\n"
                               "\r\nMain-FrameMove() FAILED with return code -5");
    EXPECT_TRUE(Boxes.Boxes.empty());
}

TEST_F(Error_Log_Test, OpeningTruncatesThePreviousRun)
{
    Write_File(Path, std::string(5000, 'x'));
    ASSERT_TRUE(Log.Open_Log(Path.c_str()));
    EXPECT_EQ(Read_File(Path).substr(0, 4), "\r\n\r\n");
    EXPECT_EQ(Read_File(Path).find('x'), std::string::npos);
}

TEST_F(Error_Log_Test, MissingFolderShowsTheFailureAndLaterReportsInBoxes)
{
    const std::string missing = Folder / "no-such-folder/error_log.txt";
    EXPECT_FALSE(Log.Open_Log(missing.c_str()));
    EXPECT_EQ(Log.Enabled, 0);
    Report("Load(): Invalid settings filesize");
    ASSERT_EQ(Boxes.Boxes.size(), 2u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Save_Error_Log_To_File() CreateFile FILE FAILED");
    EXPECT_EQ(Boxes.Boxes[0].Caption, "Error");
    EXPECT_EQ(Boxes.Boxes[0].Type, MB_ICONERROR);
    EXPECT_EQ(Boxes.Boxes[1].Text, "Load(): Invalid settings filesize");
    // Nothing shows when the log is not even asked to write a line.
    EXPECT_FALSE(Log.Log_Operating_System());
    EXPECT_FALSE(Log.Log_Display_Mode());
    EXPECT_EQ(Boxes.Boxes.size(), 2u);
}

// The size is checked before each write: a file of exactly the limit takes one more record.
TEST_F(Error_Log_Test, SizeLimitAcceptsAtTheLimitAndRefusesAbove)
{
    for (long size : {Error_Log::Max_File_Size, Error_Log::Max_File_Size + 1}) {
        Reset_Diagnostics();
        Boxes.Boxes.clear();
        Write_File(Path, std::string(static_cast<std::size_t>(size), 'x'));
        Log.Enabled = 1;
        std::snprintf(Log.Path, sizeof Log.Path, "%s", Path.c_str());
        Report("first");
        Report("second");
        const std::string bytes = Read_File(Path);
        if (size == Error_Log::Max_File_Size) {
            EXPECT_EQ(bytes.substr(static_cast<std::size_t>(size)), "\r\nfirst");
            ASSERT_EQ(Boxes.Boxes.size(), 2u);
            EXPECT_EQ(Boxes.Boxes[0].Text, "Save_Error_Log_To_File() Max Error log file size EXCEEDED");
            EXPECT_EQ(Boxes.Boxes[1].Text, "second");
        } else {
            EXPECT_EQ(bytes.size(), static_cast<std::size_t>(size));
            ASSERT_EQ(Boxes.Boxes.size(), 3u);
            EXPECT_EQ(Boxes.Boxes[0].Text, "Save_Error_Log_To_File() Max Error log file size EXCEEDED");
            EXPECT_EQ(Boxes.Boxes[1].Text, "first");
            EXPECT_EQ(Boxes.Boxes[2].Text, "second");
        }
        EXPECT_EQ(Log.Enabled, 0);
    }
}

TEST_F(Error_Log_Test, AppendModeNeedsAnExistingFile)
{
    EXPECT_FALSE(Log.Save_Error_Log_To_File(Path.c_str(), "text", Error_Log::Mode_Append));
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Save_Error_Log_To_File() CreateFile APPEND TO FILE FAILED");
    EXPECT_FALSE(Log.Save_Error_Log_To_File("", "text", Error_Log::Mode_Create));
    EXPECT_EQ(Boxes.Boxes.size(), 1u);
}

TEST_F(Error_Log_Test, LongTextsAreCutToTheBuffers)
{
    const std::string long_text(3000, 'a');
    ASSERT_TRUE(Log.Open_Log(Path.c_str()));
    const std::size_t header = Read_File(Path).size();
    Report(long_text.c_str());
    EXPECT_EQ(Read_File(Path).size(), header + 2 + 257);

    Log.Close_Log();
    Log.Enabled = 0;
    Report(long_text.c_str());
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, std::string(511, 'a'));
}

TEST_F(Error_Log_Test, ReportTextIsNotUsedAsAFormat)
{
    Report("100% done %s %n");
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "100% done %s %n");
}

TEST_F(Error_Log_Test, FormattedReportGoesThroughTheMessageBuffer)
{
    Report("Main-%s() FAILED with return code %d", "FrameMove", -5);
    EXPECT_STREQ(Message_Buffer, "Main-FrameMove() FAILED with return code -5");
    // The buffer may be an argument of its own report.
    Report("again: %s", Message_Buffer);
    ASSERT_EQ(Boxes.Boxes.size(), 2u);
    EXPECT_EQ(Boxes.Boxes[1].Text, "again: Main-FrameMove() FAILED with return code -5");
}

DWORD Platform_Id = 0, Major = 0, Minor = 0;
BOOL Fake_Version(OSVERSIONINFOA* info)
{
    info->dwPlatformId = Platform_Id;
    info->dwMajorVersion = Major;
    info->dwMinorVersion = Minor;
    return TRUE;
}

TEST_F(Error_Log_Test, OperatingSystemLineForEachClass)
{
    struct Case {
        DWORD Platform, Major, Minor;
        const char* Line;
    };
    const Case cases[] = {
        {1, 4, 0, "\r\n** Operating System: Windows 95 **\r\n"},
        {1, 4, 10, "\r\n** Operating System: Windows 98 **\r\n"},
        {2, 4, 0, "\r\n** Operating System: Windows NT **\r\n"},
        {2, 5, 0, "\r\n** Operating System: Windows 2000 **\r\n"},
        {0, 1, 0, ""}, // Win32s writes nothing
    };
    Set_Version_Query(Fake_Version);
    for (const Case& c : cases) {
        Reset_Diagnostics();
        Platform_Id = c.Platform, Major = c.Major, Minor = c.Minor;
        ASSERT_TRUE(Log.Open_Log(Path.c_str()));
        const std::size_t header = Read_File(Path).size();
        EXPECT_TRUE(Log.Log_Operating_System());
        EXPECT_EQ(Read_File(Path).substr(header), c.Line);
    }
}

TEST_F(Error_Log_Test, DisplayFailureReportsAndWritesNoDisplayLine)
{
    Display.Available = false;
    ASSERT_TRUE(Log.Open_Log(Path.c_str()));
    const std::size_t header = Read_File(Path).size();
    EXPECT_FALSE(Log.Log_Display_Mode());
    EXPECT_EQ(Read_File(Path).substr(header), "\r\nSage::Grab_Current_Display_Mode FAILED");
}

TEST_F(Error_Log_Test, TimeStampUsesDayAndMonthNames)
{
    Clock.Time = SYSTEMTIME{1999, 2, 6, 27, 23, 59, 58, 0};
    ASSERT_TRUE(Log.Open_Log(Path.c_str()));
    EXPECT_EQ(Read_File(Path), "\r\n\r\n23:59:58, Saturday February 27, 1999\r\nError Log File\r\n");
}

} // namespace
