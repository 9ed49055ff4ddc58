// The application frame on the headless window system and the software device: creation and
// window placement, pausing by minimising, Go/stop and Single step against a manual clock,
// the frame-rate text, the preview child, and the orderly end after a failing frame.
#include "app/d3dapp.h"
#include "d3dframe/d3denum.h"

#include "app/command_line.h"
#include "log/error_log.h"
#include "platform/system/clock.h"
#include "platform/system/display_mode.h"
#include "platform/system/message_box.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Test_Application : public CD3DApplication {
public:
    std::vector<std::string> Calls;
    std::vector<float> Frame_Times;
    int Renders = 0;
    HRESULT Render_Result = S_OK;

    HRESULT OneTimeSceneInit() override { return Note("OneTimeSceneInit"); }
    HRESULT InitDeviceObjects() override { return Note("InitDeviceObjects"); }
    HRESULT Release_Device_Objects() override { return Note("Release_Device_Objects"); }
    HRESULT FinalCleanup() override { return Note("FinalCleanup"); }
    HRESULT FrameMove(float time) override
    {
        Frame_Times.push_back(time);
        return S_OK;
    }
    HRESULT Render() override
    {
        ++Renders;
        return Render_Result;
    }
    int Count(const std::string& call) const
    {
        return static_cast<int>(std::count(Calls.begin(), Calls.end(), call));
    }

private:
    HRESULT Note(const char* call)
    {
        Calls.push_back(call);
        return S_OK;
    }
};

class Frame_Test : public ::testing::Test {
protected:
    Frame_Test()
    {
        Install_Window_System(nullptr);
        Reset_Frame_State();
        D3DEnum_Reset();
        Reset_Diagnostics();
        Set_Clock_Source(&Clock);
        Set_Display_Mode_Source(&Desktop);
        Set_Message_Box_Backend(&Boxes);
        Clock.Advance_Milliseconds(5000);
    }
    ~Frame_Test() override
    {
        Set_Clock_Source(nullptr);
        Set_Display_Mode_Source(nullptr);
        Set_Message_Box_Backend(nullptr);
        Install_Window_System(nullptr);
    }
    Window_System& Windows() { return Current_Window_System(); }
    Headless_Backend& Headless() { return The_Headless_Backend(); }
    void Command(Test_Application& app, int id)
    {
        SendMessageA(app.Window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    }
    void Frame(Test_Application& app, double step_ms = 20)
    {
        Clock.Advance_Milliseconds(step_ms);
        ASSERT_EQ(app.Render3DEnvironment(), S_OK);
    }

    Manual_Clock Clock;
    Fixed_Display_Mode Desktop{1024, 768, 32};
    Message_Box_Recorder Boxes;
};

TEST_F(Frame_Test, CreateCentresTheWindowAndIsReady)
{
    Test_Application app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    EXPECT_TRUE(app.Ready);
    EXPECT_TRUE(app.Active);
    RECT r{};
    ASSERT_TRUE(GetWindowRect(app.Window, &r));
    EXPECT_EQ(r.left, 256);
    EXPECT_EQ(r.top, 128);
    EXPECT_EQ(r.right, 768);
    EXPECT_EQ(r.bottom, 640);
    EXPECT_EQ(GetMenu(app.Window), app.Menu_Handle);
    EXPECT_EQ(app.Calls, (std::vector<std::string>{"OneTimeSceneInit", "InitDeviceObjects"}));
    EXPECT_EQ(app.Render_Target_Desc.dwWidth, 512u);
    EXPECT_EQ(app.Render_Target_Desc.dwHeight, 512u);
}

TEST_F(Frame_Test, MinimisingStopsFramesAndRestoringRebuildsOnce)
{
    Test_Application app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    ShowWindow(app.Window, SW_MINIMIZE);
    EXPECT_FALSE(app.Active);
    int polls = 0;
    Headless().On_Idle_Wait = [&] {
        // While minimised the loop waits instead of drawing; restoring lets it draw again.
        ++polls;
        EXPECT_EQ(app.Renders, 0);
        ShowWindow(app.Window, SW_RESTORE);
    };
    Headless().On_Idle_Poll = [&] {
        if (app.Renders == 3) {
            PostMessageA(app.Window, WM_CLOSE, 0, 0);
        }
    };
    app.Message_Loop();
    EXPECT_EQ(polls, 1);
    EXPECT_EQ(app.Renders, 3);
    EXPECT_EQ(app.Count("InitDeviceObjects"), 2);
    EXPECT_EQ(app.Count("Release_Device_Objects"), 2); // the rebuild and the end
    EXPECT_EQ(app.Calls.back(), "FinalCleanup");
}

TEST_F(Frame_Test, GoStopTwiceKeepsSceneTimeContinuousAndSingleStepAnimatesOneFrame)
{
    Test_Application app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    Frame(app);
    float before = app.Frame_Times.back();
    Command(app, IDM_TOGGLESTART);
    EXPECT_FALSE(app.Frame_Moving);
    Frame(app, 700);
    Frame(app, 700);
    EXPECT_EQ(app.Frame_Times.size(), 1u); // stopped: drawn but not animated
    Command(app, IDM_TOGGLESTART);
    Frame(app, 20);
    EXPECT_NEAR(app.Frame_Times.back() - before, 0.020f, 1e-4f);

    Command(app, IDM_TOGGLESTART);
    Command(app, IDM_SINGLESTEP);
    Frame(app);
    Frame(app);
    Frame(app);
    EXPECT_EQ(app.Frame_Times.size(), 3u);
    EXPECT_EQ(app.Renders, 7);
}

TEST_F(Frame_Test, FrameRateTextReadsZeroDuringTheFirstSecond)
{
    Test_Application app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    app.Show_Stats = true;
    Reset_Frame_State();
    Program_Frame_State().Stats_Last_Time = static_cast<float>(timeGetTime() * 0.001);
    for (int i = 0; i < 10; ++i) {
        Frame(app, 50);
    }
    EXPECT_STREQ(app.Frame_Rate_Text, "   0.00 fps (512x512x32)");
    for (int i = 0; i < 11; ++i) {
        Frame(app, 50);
    }
    // 21 frames over 1.05 s.
    EXPECT_STREQ(app.Frame_Rate_Text, "  20.00 fps (512x512x32)");
}

TEST_F(Frame_Test, PreviewChildTakesTheParentsClientArea)
{
    WNDCLASSA parent_class{};
    parent_class.lpfnWndProc = DefWindowProcA;
    parent_class.lpszClassName = "Preview Parent";
    RegisterClassA(&parent_class);
    HWND parent = CreateWindowExA(0, "Preview Parent", "", WS_VISIBLE, 40, 50, 152, 112, nullptr, nullptr,
                                  nullptr, nullptr);
    Test_Application app;
    ASSERT_EQ(app.Create_ScreenSaver_Preview(nullptr, "", parent), S_OK);
    EXPECT_EQ(GetParent(app.Window), parent);
    RECT client{};
    GetClientRect(app.Window, &client);
    EXPECT_EQ(client.right, 152);
    EXPECT_EQ(client.bottom, 112);
    const Window_Record* child = Windows().Find(app.Window);
    EXPECT_EQ(child->Rect.left, 0);
    EXPECT_EQ(child->Rect.top, 0);
    EXPECT_EQ(GetMenu(app.Window), nullptr);

    Test_Application orphan;
    EXPECT_EQ(orphan.Create_ScreenSaver_Preview(nullptr, "", reinterpret_cast<HWND>(0x4D2)), E_FAIL);
}

TEST_F(Frame_Test, FailingFrameDestroysTheWindowAndEndsInOrder)
{
    Test_Application app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    app.Render_Result = E_FAIL;
    app.Calls.clear();
    EXPECT_EQ(app.Message_Loop(), 0u);
    EXPECT_FALSE(IsWindow(app.Window));
    EXPECT_EQ(app.Renders, 1);
    EXPECT_EQ(app.Calls, (std::vector<std::string>{"Release_Device_Objects", "FinalCleanup"}));
    EXPECT_EQ(app.Framework, nullptr);
    EXPECT_FALSE(app.Ready);
}

TEST_F(Frame_Test, AcceleratorsAndMenuCommandsReachTheFrame)
{
    Test_Application app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    Windows().Post_Key(app.Window, VK_SPACE);  // single step
    Windows().Post_Key(app.Window, VK_ESCAPE); // exit
    app.Message_Loop();
    EXPECT_FALSE(app.Frame_Moving);
    EXPECT_FALSE(IsWindow(app.Window));
    EXPECT_EQ(app.Calls.back(), "FinalCleanup");
}

TEST_F(Frame_Test, ToggleAndMaximiseChangeWindowStyle)
{
    Test_Application app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    ASSERT_TRUE(app.ToggleFullScreen());
    EXPECT_FALSE(app.Device_Info->windowed);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(app.Window, GWL_STYLE)), WS_POPUP | WS_SYSMENU | WS_VISIBLE);
    ASSERT_TRUE(app.ToggleFullScreen());
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(app.Window, GWL_STYLE)) & WS_OVERLAPPEDWINDOW,
              WS_OVERLAPPEDWINDOW);
    RECT r{};
    GetWindowRect(app.Window, &r);
    EXPECT_EQ(r.left, 256);

    app.Maximise_Window();
    EXPECT_TRUE(app.Window_Maximised);
    EXPECT_EQ(GetMenu(app.Window), nullptr);
    EXPECT_TRUE(Windows().Cursor_Hidden());
    GetWindowRect(app.Window, &r);
    EXPECT_EQ(r.right, 1024);
    app.Restore_Window();
    EXPECT_EQ(GetMenu(app.Window), app.Menu_Handle);
    EXPECT_FALSE(app.Window_Maximised);
}

} // namespace
