// Dialogs and their controls on the headless window system: the order of the messages a dialog
// procedure gets, scroll bars, check boxes, combo boxes, numbers shown in statics, and the
// open-file dialog's answer written into its record.
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"
#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Seen {
    UINT Message;
    WPARAM W;
    LPARAM L;
};
std::vector<Seen> Log;
intptr_t End_With = 0; // what EndDialog gets on OK; 0: the procedure never ends the dialog
bool End_In_Init = false;

intptr_t Recording_Procedure(HWND dialog, UINT message, WPARAM w, LPARAM l)
{
    Log.push_back({message, w, l});
    if (message == WM_INITDIALOG && End_In_Init) {
        EndDialog(dialog, 7);
    }
    if (message == WM_COMMAND && LOWORD(w) == IDOK && End_With != 0) {
        EndDialog(dialog, End_With);
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

class Dialog_Controls_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        Install_Window_System(nullptr);
        Log.clear();
        End_With = 0;
        End_In_Init = false;
    }
    Headless_Backend& User() { return The_Headless_Backend(); }
    // Opens the dialog and runs `turns` as the user's turns, one each time the dialog waits;
    // when they are used up the dialog is closed.
    intptr_t Open(const char* name, std::vector<std::function<void(HWND)>> turns, LPARAM param = 0)
    {
        User().Dialog_Script = [turns, turn = std::size_t{0}](HWND dialog, const std::string&) mutable {
            if (turn < turns.size()) {
                turns[turn++](dialog);
            }
        };
        return DialogBoxParamA(nullptr, name, nullptr, Recording_Procedure, param);
    }
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> result;
        for (const Seen& seen : Log) {
            result.push_back(seen.Message);
        }
        return result;
    }
};

TEST_F(Dialog_Controls_Test, TheProcedureGetsThePlatformsMessagesInOrder)
{
    End_With = 42;
    HWND scroll_bar = nullptr;
    const intptr_t result = Open("plasmabox", {[&](HWND dialog) {
                                     scroll_bar = GetDlgItem(dialog, IDC_CONTRAST_SCROLL);
                                     EXPECT_EQ(GetDlgCtrlID(scroll_bar), IDC_CONTRAST_SCROLL);
                                     User().Click(dialog, IDC_RANDOM_BUTTON);
                                     User().Scroll(dialog, IDC_CONTRAST_SCROLL, SB_THUMBTRACK, 17);
                                     User().Click(dialog, IDOK);
                                     User().Click(dialog, IDCANCEL); // after EndDialog: never seen
                                 }},
                                 0x5A5A);
    EXPECT_EQ(result, 42);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_INITDIALOG, WM_COMMAND, WM_HSCROLL, WM_COMMAND, WM_DESTROY}));
    EXPECT_EQ(Log[0].L, 0x5A5A);
    EXPECT_EQ(Log[1].W, MAKEWPARAM(IDC_RANDOM_BUTTON, BN_CLICKED));
    EXPECT_EQ(Log[2].W, MAKEWPARAM(SB_THUMBTRACK, 17));
    EXPECT_EQ(Log[2].L, reinterpret_cast<LPARAM>(scroll_bar));
    EXPECT_EQ(Current_Window_System().Window_Count(), 0u);

    // EndDialog inside WM_INITDIALOG ends it before the user is asked anything.
    Log.clear();
    End_In_Init = true;
    EXPECT_EQ(Open(MAKEINTRESOURCEA(IDD_ABOUT), {[](HWND) { ADD_FAILURE() << "the user was asked"; }}), 7);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_INITDIALOG, WM_DESTROY}));

    // Closing a dialog whose procedure leaves WM_CLOSE alone is its Cancel.
    Log.clear();
    End_In_Init = false;
    EXPECT_EQ(Open("FADEBOX", {[](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }}), IDCANCEL);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_INITDIALOG, WM_CLOSE, WM_COMMAND, WM_DESTROY}));
    EXPECT_EQ(Log[2].W, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    EXPECT_EQ(DialogBoxParamA(nullptr, "NOSUCHBOX", nullptr, Recording_Procedure, 0), -1);
}

TEST_F(Dialog_Controls_Test, AScrollBarKeepsItsPositionInsideItsRange)
{
    struct Case {
        int Minimum, Maximum, Set;
        int Previous, Position;
    };
    const Case cases[] = {
        {2, 25, 10, 2, 10},          {2, 25, 1, 2, 2},      {2, 25, 26, 2, 25}, {40, 255, -5, 40, 40},
        {1, 50000, 50000, 1, 50000}, {30, 120, 95, 30, 95},
    };
    Open("FADEBOX", {[&](HWND dialog) {
             HWND bar = GetDlgItem(dialog, IDC_FADE_SCROLL);
             for (const Case& c : cases) {
                 SetScrollRange(bar, SB_CTL, 0, 0, FALSE);
                 ASSERT_TRUE(SetScrollRange(bar, SB_CTL, c.Minimum, c.Maximum, TRUE));
                 EXPECT_EQ(SetScrollPos(bar, SB_CTL, c.Set, TRUE), c.Previous) << c.Set;
                 EXPECT_EQ(GetScrollPos(bar, SB_CTL), c.Position) << c.Set;
             }
             // A narrower range pulls the position in.
             SetScrollRange(bar, SB_CTL, 1, 10, TRUE);
             EXPECT_EQ(GetScrollPos(bar, SB_CTL), 10);
             int minimum = 0, maximum = 0;
             ASSERT_TRUE(GetScrollRange(bar, SB_CTL, &minimum, &maximum));
             EXPECT_EQ(minimum, 1);
             EXPECT_EQ(maximum, 10);
             // Only a scroll-bar control with SB_CTL has a range and a position.
             EXPECT_FALSE(SetScrollRange(bar, 0, 1, 5, TRUE));
             EXPECT_FALSE(SetScrollRange(GetDlgItem(dialog, IDOK), SB_CTL, 1, 5, TRUE));
             EXPECT_EQ(GetScrollPos(GetDlgItem(dialog, IDC_FADE_NUMBER), SB_CTL), 0);
         }});
}

TEST_F(Dialog_Controls_Test, AnAutomaticCheckBoxTogglesOnAClickUnlessDisabled)
{
    Open("PLASMABOX",
         {[](HWND dialog) {
              EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RANDOM_CHECK), BST_UNCHECKED);
              ASSERT_TRUE(CheckDlgButton(dialog, IDC_RANDOM_CHECK, BST_CHECKED));
              EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RANDOM_CHECK), BST_CHECKED);
              EXPECT_TRUE(The_Headless_Backend().Click(dialog, IDC_RANDOM_CHECK));
              // The check has changed by the time the procedure hears of the click.
              EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RANDOM_CHECK), BST_UNCHECKED);
              EXPECT_FALSE(EnableWindow(GetDlgItem(dialog, IDC_LARGE_CHECK), FALSE));
              EXPECT_TRUE(EnableWindow(GetDlgItem(dialog, IDC_LARGE_CHECK), FALSE));
              EXPECT_FALSE(The_Headless_Backend().Click(dialog, IDC_LARGE_CHECK));
              EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_LARGE_CHECK), BST_UNCHECKED);
              EXPECT_FALSE(CheckDlgButton(dialog, 9999, BST_CHECKED));
          },
          [](HWND dialog) { EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_RANDOM_CHECK), BST_UNCHECKED); }});
    ASSERT_EQ(Messages().size(), 5u); // init, the one click, close, cancel, destroy
    EXPECT_EQ(Log[1].W, MAKEWPARAM(IDC_RANDOM_CHECK, BN_CLICKED));
}

TEST_F(Dialog_Controls_Test, AComboBoxKeepsItsItemsTheirDataAndTheSelection)
{
    Open(MAKEINTRESOURCEA(IDD_SELECTDEVICE), {[](HWND dialog) {
             auto send = [dialog](UINT message, WPARAM w, LPARAM l) {
                 return SendDlgItemMessageA(dialog, IDC_MODE_COMBO, message, w, l);
             };
             EXPECT_EQ(send(CB_GETCURSEL, 0, 0), CB_ERR);
             for (const char* text : {"640 x 480 x 16", "800 x 600 x 32", "1024 x 768 x 32"}) {
                 const LRESULT item = send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
                 EXPECT_EQ(send(CB_SETITEMDATA, static_cast<WPARAM>(item), 10 + item), TRUE);
             }
             EXPECT_EQ(send(CB_GETCOUNT, 0, 0), 3);
             EXPECT_EQ(send(CB_GETITEMDATA, 2, 0), 12);
             EXPECT_EQ(send(CB_GETITEMDATA, 3, 0), CB_ERR);
             EXPECT_EQ(send(CB_SETITEMDATA, 3, 0), CB_ERR);
             char text[32] = {};
             EXPECT_EQ(send(CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text)), 14);
             EXPECT_STREQ(text, "800 x 600 x 32");
             EXPECT_EQ(send(CB_SETCURSEL, 1, 0), 1);
             EXPECT_EQ(send(CB_GETCURSEL, 0, 0), 1);
             // The user's pick selects first, then the procedure hears CBN_SELENDOK.
             EXPECT_TRUE(The_Headless_Backend().Choose(dialog, IDC_MODE_COMBO, 2));
             EXPECT_EQ(send(CB_GETCURSEL, 0, 0), 2);
             EXPECT_FALSE(The_Headless_Backend().Choose(dialog, IDC_MODE_COMBO, 3));
             EXPECT_EQ(send(CB_SETCURSEL, 5, 0), CB_ERR); // out of range clears the selection
             EXPECT_EQ(send(CB_GETCURSEL, 0, 0), CB_ERR);
             send(CB_RESETCONTENT, 0, 0);
             EXPECT_EQ(send(CB_GETCOUNT, 0, 0), 0);
             EXPECT_EQ(send(CB_GETITEMDATA, 0, 0), CB_ERR);
         }});
    ASSERT_GE(Log.size(), 2u);
    EXPECT_EQ(Log[1].W, MAKEWPARAM(IDC_MODE_COMBO, CBN_SELENDOK));
}

TEST_F(Dialog_Controls_Test, NumbersAreShownUnsignedUnlessAskedOtherwise)
{
    struct Case {
        UINT Value;
        BOOL Signed;
        const char* Text;
    };
    const Case cases[] = {
        {204, FALSE, "204"},
        {0, FALSE, "0"},
        {0xFFFFFFFFu, FALSE, "4294967295"},
        {0x80000000u, FALSE, "2147483648"},
        {0xFFFFFFFFu, TRUE, "-1"},
    };
    Open("BRIGHTNESSBOX", {[&](HWND dialog) {
             for (const Case& c : cases) {
                 ASSERT_TRUE(SetDlgItemInt(dialog, IDC_BRIGHTNESS_NUMBER, c.Value, c.Signed));
                 char text[16] = {};
                 GetDlgItemTextA(dialog, IDC_BRIGHTNESS_NUMBER, text, sizeof text);
                 EXPECT_STREQ(text, c.Text);
             }
             EXPECT_FALSE(SetDlgItemInt(dialog, 9999, 1, FALSE));
         }});
}

TEST_F(Dialog_Controls_Test, TheOpenFileDialogsAnswerFillsTheRecord)
{
    struct Case {
        const char* Chosen; // "" for cancel
        DWORD Size;         // lStructSize
        DWORD Buffer;       // nMaxFile
        BOOL Result;
        const char* File;
        WORD Offset, Extension;
    };
    const Case cases[] = {
        {"/home/u/Music/song.mp3", 76, 260, TRUE, "/home/u/Music/song.mp3", 14, 19},
        {"/home/u/Music/new", 76, 260, TRUE, "/home/u/Music/new.mp3", 14, 18}, // typed without extension
        {"/a.b/noext.", 76, 260, TRUE, "/a.b/noext.", 5, 11},
        {"/home/u/Music/song.mp3", sizeof(OPENFILENAMEA), 260, TRUE, "/home/u/Music/song.mp3", 14, 19},
        {"/home/u/Music/song.mp3", 75, 260, FALSE, "", 0, 0},
        {"/home/u/Music/song.mp3", 76, 22, FALSE, "", 0, 0}, // one byte short of the terminator
        {"", 76, 260, FALSE, "", 0, 0},
    };
    Open_File_Request asked;
    for (const Case& c : cases) {
        User().Open_File_Answer = [&](const Open_File_Request& request, std::string& chosen) {
            asked = request;
            chosen = c.Chosen;
            return chosen[0] != '\0';
        };
        char file[260] = {};
        OPENFILENAMEA record{};
        record.lStructSize = c.Size;
        record.lpstrFilter = "Data Files (*.DAT)\0*.dat\0Mp3 Files (*.MP3)\0*.mp3\0";
        record.nFilterIndex = 2;
        record.lpstrFile = file;
        record.nMaxFile = c.Buffer;
        record.nMaxFileTitle = 260; // with no title buffer
        record.lpstrInitialDir = "/home/u/Music/";
        record.lpstrDefExt = "mp3";
        record.Flags = OFN_HIDEREADONLY | OFN_CREATEPROMPT;
        EXPECT_EQ(GetOpenFileNameA(&record), c.Result) << c.Chosen;
        EXPECT_STREQ(file, c.File);
        EXPECT_EQ(record.nFileOffset, c.Offset) << c.Chosen;
        EXPECT_EQ(record.nFileExtension, c.Extension) << c.Chosen;
    }
    ASSERT_EQ(asked.Filters.size(), 2u);
    EXPECT_EQ(asked.Filters[1].Pattern, "*.mp3");
    EXPECT_EQ(asked.Filter_Index, 1);
    EXPECT_EQ(asked.Initial_Folder, "/home/u/Music/");
    EXPECT_TRUE(asked.Create_Prompt);
}

} // namespace
