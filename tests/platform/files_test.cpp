// The file helpers against a hostile file system: pipes and devices in a file's place.
#include "log/error_log.h"
#include "log/sage_system.h"
#include "platform/system/files.h"
#include "platform/system/message_box.h"
#include "platform/system/saver_flag.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using test_support::Env_Guard;
using test_support::Temp_Folder;

namespace {

// Every open of a named pipe is refused at once, whether or not a peer holds its other end.
TEST(Files, PipesAreRefusedWithoutWaitingForAPeer)
{
    Temp_Folder folder;
    const std::string pipe = folder / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(Files::Open_For_Reading(pipe.c_str()), Files::Invalid_Handle);
    EXPECT_EQ(Files::Open_For_Writing(pipe.c_str(), true), Files::Invalid_Handle);
    EXPECT_EQ(Files::Open_For_Writing(pipe.c_str(), false), Files::Invalid_Handle);
    std::vector<uint8_t> bytes;
    EXPECT_EQ(Files::Read_All(pipe, bytes, 1024), Files::Read_Result::Cannot_Read);
    EXPECT_TRUE(Sage::FileExists(pipe.c_str())) << "there, so its reader reports the failed open";
    EXPECT_FALSE(Sage::FileExists(folder.Path().c_str()));

    Message_Box_Recorder boxes;
    Reset_Diagnostics();
    EXPECT_FALSE(Program_Error_Log().Open_Log(pipe.c_str()));
    ASSERT_FALSE(boxes.Boxes.empty());
    EXPECT_EQ(boxes.Boxes[0].Text, "Save_Error_Log_To_File() CreateFile FILE FAILED");
    Reset_Diagnostics();

    Env_Guard runtime("XDG_RUNTIME_DIR", folder.Path().string());
    ASSERT_EQ(::mkfifo(Saver_Flag_Path().c_str(), 0600), 0);
    EXPECT_FALSE(Saver_Flag_Is_Set());
}

} // namespace
