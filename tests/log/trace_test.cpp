// The Enter/Exit trace: indentation, the depth cap, the one-shot flags and the switch.
#include "log/error_log.h"

#include "platform/system/message_box.h"

#include <gtest/gtest.h>

namespace {

class Trace_Test : public ::testing::Test {
protected:
    Trace_Test()
    {
        Reset_Diagnostics();
        Set_Trace_Enabled(true);
    }
    ~Trace_Test() override { Reset_Diagnostics(); }

    // With the log closed every line arrives as a message box.
    Message_Box_Recorder Lines;
};

TEST_F(Trace_Test, NestedOperationsAreIndentedAndTracedOnce)
{
    for (int frame = 0; frame < 2; ++frame) {
        Trace_Enter("CD3DApplication::Render3DEnvironment");
        Trace_Enter("FrameMove");
        Trace_Exit("FrameMove");
        Trace_Exit("CD3DApplication::Render3DEnvironment");
    }
    ASSERT_EQ(Lines.Boxes.size(), 4u);
    EXPECT_EQ(Lines.Boxes[0].Text, "Enter CD3DApplication::Render3DEnvironment");
    EXPECT_EQ(Lines.Boxes[1].Text, "\tEnter FrameMove");
    EXPECT_EQ(Lines.Boxes[2].Text, "\tExit  FrameMove");
    EXPECT_EQ(Lines.Boxes[3].Text, "Exit  CD3DApplication::Render3DEnvironment");
    EXPECT_EQ(Trace_Depth(), 0);
}

TEST_F(Trace_Test, FailedOperationWritesItsEnterLineAgain)
{
    Trace_Enter("InitDeviceObjects"); // fails: no Exit
    Trace_Enter("InitDeviceObjects");
    Trace_Exit("InitDeviceObjects");
    ASSERT_EQ(Lines.Boxes.size(), 3u);
    EXPECT_EQ(Lines.Boxes[0].Text, "Enter InitDeviceObjects");
    EXPECT_EQ(Lines.Boxes[1].Text, "\tEnter InitDeviceObjects");
    EXPECT_EQ(Lines.Boxes[2].Text, "\tExit  InitDeviceObjects");
    EXPECT_EQ(Trace_Depth(), 1); // the failed run's depth is never given back
}

TEST_F(Trace_Test, DepthStaysWithinZeroAndFiveHundredTwelve)
{
    for (int i = 0; i < 600; ++i)
        Trace_Enter("Deep");
    EXPECT_EQ(Trace_Depth(), 512);
    // The line is built whole in the shared buffer; the box shows what fits of it.
    EXPECT_EQ(std::string(Message_Buffer), std::string(512, '\t') + "Enter Deep");
    EXPECT_EQ(Lines.Boxes.back().Text, std::string(511, '\t'));

    Reset_Diagnostics();
    Set_Trace_Enabled(true);
    Trace_Exit("Shallow");
    EXPECT_EQ(Trace_Depth(), 0);
}

TEST_F(Trace_Test, SwitchedOffWritesNothingAndSetsNoFlag)
{
    Set_Trace_Enabled(false);
    Trace_Enter("Render");
    Trace_Exit("Render");
    EXPECT_TRUE(Lines.Boxes.empty());
    Set_Trace_Enabled(true);
    Trace_Enter("Render");
    EXPECT_EQ(Lines.Boxes.size(), 1u);
}

} // namespace
