// The headless window system: the order of the messages the platform sends, the queue and
// WM_QUIT, destruction, accelerators of the program's table, menus and check marks,
// placement, presenting, and modal dialogs.
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Seen {
    HWND Window;
    UINT Message;
    WPARAM W;
    LPARAM L;
};
std::vector<Seen> Log;
bool Destroy_Again_On_Destroy = false;

LRESULT Record_Message(HWND window, UINT message, WPARAM w, LPARAM l)
{
    Log.push_back({window, message, w, l});
    if (message == WM_DESTROY && Destroy_Again_On_Destroy) {
        DestroyWindow(window);
    }
    return DefWindowProcA(window, message, w, l);
}

class Window_System_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        Install_Window_System(nullptr);
        Log.clear();
        Destroy_Again_On_Destroy = false;
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = Record_Message;
        window_class.lpszClassName = "Test Window";
        ASSERT_NE(RegisterClassA(&window_class), 0);
    }
    HWND Make(int x = 10, int y = 20, int width = 300, int height = 200, HWND parent = nullptr,
              DWORD style = 0)
    {
        return CreateWindowExA(0, "test window", "T", style, x, y, width, height, parent, nullptr, nullptr,
                               nullptr);
    }
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> result;
        for (const Seen& seen : Log) {
            result.push_back(seen.Message);
        }
        return result;
    }
    Window_System& System() { return Current_Window_System(); }
    Headless_Backend& Headless() { return The_Headless_Backend(); }
};

TEST_F(Window_System_Test, CreationSendsTheMessagesOfThePlatformInOrder)
{
    HWND window = Make();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_GETMINMAXINFO, WM_CREATE, WM_SIZE, WM_MOVE}));
    EXPECT_EQ(Log[2].W, SIZE_RESTORED);
    EXPECT_EQ(Log[2].L, MAKELPARAM(300, 200));
    EXPECT_EQ(Log[3].L, MAKELPARAM(10, 20));
    RECT client{}, outer{};
    ASSERT_TRUE(GetClientRect(window, &client));
    ASSERT_TRUE(GetWindowRect(window, &outer));
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.bottom, 220);
    // A class registered twice is refused; an unknown class or parent creates nothing.
    WNDCLASSA again{};
    again.lpszClassName = "TEST WINDOW";
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(CreateWindowExA(0, "none", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(Make(0, 0, 5, 5, reinterpret_cast<HWND>(0x77)), nullptr);
    EXPECT_FALSE(GetClientRect(reinterpret_cast<HWND>(0x77), &client));
}

TEST_F(Window_System_Test, QueueKeepsOrderAndDeliversQuitLast)
{
    HWND window = Make();
    PostMessageA(window, WM_USER + 1, 1, 0);
    PostQuitMessage(7);
    PostMessageA(window, WM_USER + 2, 2, 0);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(message.message, WM_USER + 1u);
    ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, WM_USER + 1u);
    ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, WM_USER + 2u);
    EXPECT_FALSE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    // With nothing posted and no input to come, waiting ends instead of hanging.
    EXPECT_FALSE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, WM_QUIT);
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x99), WM_USER, 0, 0));
}

TEST_F(Window_System_Test, IdleWaitMayPostInput)
{
    HWND window = Make();
    int calls = 0;
    Headless().On_Idle_Wait = [&] {
        if (++calls == 1) {
            PostMessageA(window, WM_USER, 5, 0);
        }
    };
    MSG message{};
    ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.wParam, 5u);
    EXPECT_FALSE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(calls, 2);
}

TEST_F(Window_System_Test, DestroySendsOneDestroyToParentThenChildAndDropsTheirMessages)
{
    HWND parent = Make();
    HWND child = Make(0, 0, 50, 40, parent, WS_CHILD | WS_VISIBLE);
    PostMessageA(parent, WM_USER, 0, 0);
    PostMessageA(child, WM_USER, 0, 0);
    Log.clear();
    Destroy_Again_On_Destroy = true;
    EXPECT_TRUE(DestroyWindow(parent));
    ASSERT_EQ(Log.size(), 2u);
    EXPECT_EQ(Log[0].Window, parent);
    EXPECT_EQ(Log[1].Window, child);
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(System().Pending_Messages(), 0u);
    EXPECT_FALSE(DestroyWindow(parent));
}

TEST_F(Window_System_Test, CloseByDefaultDestroys)
{
    HWND window = Make();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Window_System_Test, ProgramAcceleratorsNeedTheirExactModifiers)
{
    HWND window = Make();
    HACCEL table = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(IDR_MAIN_ACCEL));
    ASSERT_NE(table, nullptr);
    struct Case {
        int Key;
        DWORD Modifiers;
        int Command; // 0: not an accelerator
    } cases[] = {
        {VK_RETURN, 0, IDM_TOGGLESTART},
        {VK_RETURN, Modifier_Alt, IDM_TOGGLEFULLSCREEN},
        {'F', Modifier_Control, IDM_FRAMERATE},
        {'F', 0, 0},
        {'M', Modifier_Control | Modifier_Shift, 0},
        {VK_ESCAPE, 0, IDM_EXIT},
        {'X', Modifier_Alt, IDM_EXIT},
        {VK_SPACE, 0, IDM_SINGLESTEP},
        {VK_F2, 0, IDM_CHANGEDEVICE},
        {'Q', 0, 0},
    };
    for (const Case& c : cases) {
        Log.clear();
        System().Post_Key(window, c.Key, c.Modifiers);
        MSG message{};
        ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
        int translated = TranslateAcceleratorA(window, table, &message);
        EXPECT_EQ(translated != 0, c.Command != 0) << c.Key;
        if (c.Command != 0) {
            ASSERT_EQ(Log.size(), 1u);
            EXPECT_EQ(Log[0].Message, WM_COMMAND);
            EXPECT_EQ(LOWORD(Log[0].W), c.Command);
        } else {
            EXPECT_TRUE(Log.empty());
        }
    }
}

TEST_F(Window_System_Test, MenusCarryTemplateChecksAndReportPreviousState)
{
    HWND window = Make();
    HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDR_MENU));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenu(window), nullptr);
    ASSERT_TRUE(SetMenu(window, menu));
    EXPECT_EQ(GetMenu(window), menu);
    EXPECT_EQ(GetMenuState(menu, IDM_MUSIC_ON, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(GetMenuState(menu, IDM_SYMBOLS, MF_BYCOMMAND), MF_CHECKED);
    EXPECT_EQ(GetMenuState(menu, IDM_TITLES_ON, MF_BYCOMMAND), 0u);
    EXPECT_EQ(CheckMenuItem(menu, IDM_MUSIC_ON, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(CheckMenuItem(menu, IDM_MUSIC_ON, MF_BYCOMMAND | MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(CheckMenuItem(menu, 12345, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(-1));
    ASSERT_TRUE(SetMenu(window, nullptr));
    EXPECT_EQ(GetMenu(window), nullptr);

    HMENU popup = GetSubMenu(LoadMenuA(nullptr, MAKEINTRESOURCEA(IDR_POPUP)), 0);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuState(popup, IDM_TOGGLE_FPS, MF_BYCOMMAND), 0u);
    Headless().Popup_Choice = [](HMENU) -> UINT { return IDM_TOGGLE_FPS; };
    Log.clear();
    ASSERT_TRUE(TrackPopupMenuEx(popup, TPM_VERTICAL, 5, 5, window, nullptr));
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_ENTERMENULOOP, WM_EXITMENULOOP}));
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_COMMAND);
    EXPECT_EQ(LOWORD(message.wParam), IDM_TOGGLE_FPS);
}

TEST_F(Window_System_Test, SizeAndMoveAreSentOnlyForRealChanges)
{
    HWND window = Make();
    Log.clear();
    SetWindowPos(window, HWND_TOPMOST, 10, 20, 300, 200, 0);
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 640, 480, 0);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_SIZE, WM_MOVE}));
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Log.clear();
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_EQ(Log.size(), 1u);
    EXPECT_EQ(Log[0].W, SIZE_MINIMIZED);
    EXPECT_TRUE(IsIconic(window));
    Log.clear();
    ShowWindow(window, SW_RESTORE);
    ASSERT_EQ(Log.size(), 1u);
    EXPECT_EQ(Log[0].W, SIZE_RESTORED);
    EXPECT_EQ(Log[0].L, MAKELPARAM(640, 480));

    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.showCmd = SW_RESTORE;
    placement.rcNormalPosition = RECT{256, 128, 768, 640};
    ASSERT_TRUE(SetWindowPlacement(window, &placement));
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 256);
    EXPECT_EQ(outer.bottom, 640);
}

TEST_F(Window_System_Test, PresentedFramesAreConvertedAndScaledToTheClientArea)
{
    HWND window = Make(0, 0, 4, 2);
    // 2 × 1 frame in 5-6-5: pure red and pure white.
    uint16_t pixels[2] = {0xF800, 0xFFFF};
    Frame_Pixels frame{pixels, 4, 2, 1, 16, 0x07E0};
    ASSERT_TRUE(Present_Frame(window, &frame));
    const Presented_Frame* shown = Headless().Last_Frame(window);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->Width, 4);
    EXPECT_EQ(shown->Height, 2);
    EXPECT_EQ(shown->Pixels, (std::vector<uint32_t>{0xFF0000, 0xFF0000, 0xFFFFFF, 0xFFFFFF, 0xFF0000,
                                                    0xFF0000, 0xFFFFFF, 0xFFFFFF}));
    EXPECT_EQ(shown->Count, 1u);
    EXPECT_FALSE(Present_Frame(reinterpret_cast<HWND>(0x5), &frame));
}

intptr_t Dialog_Procedure(HWND dialog, UINT message, WPARAM w, LPARAM)
{
    if (message == WM_COMMAND && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(w));
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

TEST_F(Window_System_Test, ModalDialogsRunTheirScriptOrAreCancelled)
{
    HWND owner = Make();
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_ABOUT), owner, Dialog_Procedure, 0), IDCANCEL);
    std::string seen;
    Headless().Dialog_Script = [&](HWND dialog, const std::string& name) {
        seen = name;
        Headless().Click(dialog, IDOK);
    };
    EXPECT_EQ(DialogBoxParamA(nullptr, "PLASMABOX", owner, Dialog_Procedure, 0), IDOK);
    EXPECT_EQ(seen, "PLASMABOX");
    EXPECT_EQ(System().Window_Count(), 1u);
}

TEST_F(Window_System_Test, IdlePollRunsOnlyWhenNothingIsQueuedAndCloseRequestsReachTheOutermostWindows)
{
    Request_Close_All_Windows(); // before any window: kept for the first one
    MSG message{};
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    HWND window = Make();
    HWND child = Make(0, 0, 10, 10, window, WS_CHILD);
    int polls = 0;
    Headless().On_Idle_Poll = [&] { ++polls; };
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_CLOSE);
    PostMessageA(window, WM_USER, 0, 0);
    EXPECT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(polls, 0);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(polls, 1);

    Request_Close_All_Windows();
    Log.clear();
    ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.hwnd, window);
    EXPECT_EQ(message.message, WM_CLOSE);
    DispatchMessageA(&message);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(child));

    // A preview's window lies inside another program's window and is closed all the same.
    HWND other = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x400001));
    Headless().Foreign_Windows[other] = Foreign_Window{WS_VISIBLE, RECT{0, 0, 160, 120}};
    HWND preview = Make(0, 0, 160, 120, other, WS_CHILD | WS_VISIBLE);
    ASSERT_TRUE(IsWindow(preview));
    Request_Close_All_Windows();
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, preview);
    EXPECT_EQ(message.message, WM_CLOSE);
}

} // namespace
