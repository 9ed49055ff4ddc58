// Dialog controls as the platform keeps them: the messages each kind answers (check state,
// scroll range and position kept inside the range, combo-box items with their data and the
// selection), the calls of window.h made of those messages, and the user's clicks that a
// backend posts.
#include "platform/window/window_system.h"

#include <algorithm>
#include <cstdio>
#include <string>

LRESULT Window_System::Combo_Box_Message(Window_Record& control, UINT message, WPARAM wparam, LPARAM lparam)
{
    Control_State& combo = *control.Control;
    const auto count = static_cast<WPARAM>(combo.Items.size());
    switch (message) {
    case CB_RESETCONTENT:
        combo.Items.clear();
        combo.Selection = -1;
        break;
    case CB_ADDSTRING:
        combo.Items.push_back({lparam ? reinterpret_cast<const char*>(lparam) : "", 0});
        Changed(control, 0);
        return static_cast<LRESULT>(combo.Items.size() - 1);
    case CB_GETCOUNT:
        return static_cast<LRESULT>(count);
    case CB_SETITEMDATA:
        if (wparam >= count) {
            return CB_ERR;
        }
        combo.Items[wparam].Data = lparam;
        return TRUE;
    case CB_GETITEMDATA:
        return wparam < count ? combo.Items[wparam].Data : CB_ERR;
    case CB_GETLBTEXT:
        if (wparam >= count || lparam == 0) {
            return CB_ERR;
        }
        std::snprintf(reinterpret_cast<char*>(lparam), combo.Items[wparam].Text.size() + 1, "%s",
                      combo.Items[wparam].Text.c_str());
        return static_cast<LRESULT>(combo.Items[wparam].Text.size());
    case CB_SETCURSEL:
        // An index out of range clears the selection and answers CB_ERR.
        combo.Selection = wparam < count ? static_cast<int>(wparam) : -1;
        Changed(control, 0);
        return wparam < count ? static_cast<LRESULT>(wparam) : CB_ERR;
    case CB_GETCURSEL:
        return combo.Selection >= 0 ? combo.Selection : CB_ERR;
    default:
        return 0;
    }
    Changed(control, 0);
    return 0;
}

LRESULT Window_System::Control_Procedure(Window_Record& control, UINT message, WPARAM wparam, LPARAM lparam)
{
    Control_State& state = *control.Control;
    if (state.Kind == Control_Kind::Combo_Box) {
        return Combo_Box_Message(control, message, wparam, lparam);
    }
    if (state.Kind == Control_Kind::Check_Box && (message == BM_SETCHECK || message == BM_GETCHECK)) {
        if (message == BM_GETCHECK) {
            return state.Check;
        }
        state.Check = wparam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
        Changed(control, 0);
        return 0;
    }
    if (state.Kind != Control_Kind::Scroll_Bar) {
        return 0;
    }
    switch (message) {
    case SBM_SETRANGE:
        state.Scroll_Min = static_cast<int>(wparam);
        state.Scroll_Max = static_cast<int>(lparam);
        state.Scroll_Pos =
            std::clamp(state.Scroll_Pos, state.Scroll_Min, std::max(state.Scroll_Min, state.Scroll_Max));
        Changed(control, 0);
        return TRUE;
    case SBM_GETRANGE:
        *reinterpret_cast<int*>(wparam) = state.Scroll_Min;
        *reinterpret_cast<int*>(lparam) = state.Scroll_Max;
        return TRUE;
    case SBM_SETPOS: {
        const int previous = state.Scroll_Pos;
        state.Scroll_Pos = std::clamp(static_cast<int>(wparam), state.Scroll_Min,
                                      std::max(state.Scroll_Min, state.Scroll_Max));
        Changed(control, 0);
        return previous;
    }
    case SBM_GETPOS:
        return state.Scroll_Pos;
    default:
        return 0;
    }
}

namespace {

// A control the user can reach: enabled, in a dialog that is open.
bool Takes_Input(const Window_Record* control, Control_Kind kind)
{
    return control != nullptr && control->Control && control->Control->Kind == kind &&
           !(control->Style & WS_DISABLED);
}

} // namespace

bool Window_System::Post_Button_Click(HWND control)
{
    Window_Record* record = Record(control);
    if (!Takes_Input(record, Control_Kind::Push_Button) && !Takes_Input(record, Control_Kind::Check_Box)) {
        return false;
    }
    Control_State& state = *record->Control;
    if (state.Kind == Control_Kind::Check_Box && (state.Style & 0xF) == BS_AUTOCHECKBOX) {
        state.Check = state.Check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        Changed(*record, 0);
    }
    return Post_Message(record->Parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(state.Id), BN_CLICKED),
                        reinterpret_cast<LPARAM>(control));
}

bool Window_System::Post_Scroll(HWND scroll_bar, WORD code, int position)
{
    const Window_Record* record = Record(scroll_bar);
    if (!Takes_Input(record, Control_Kind::Scroll_Bar)) {
        return false;
    }
    return Post_Message(record->Parent, WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)),
                        reinterpret_cast<LPARAM>(scroll_bar));
}

bool Window_System::Post_Combo_Choice(HWND combo_box, int index)
{
    Window_Record* record = Record(combo_box);
    if (!Takes_Input(record, Control_Kind::Combo_Box) || index < 0 ||
        index >= static_cast<int>(record->Control->Items.size())) {
        return false;
    }
    record->Control->Selection = index;
    Changed(*record, 0);
    return Post_Message(record->Parent, WM_COMMAND,
                        MAKEWPARAM(static_cast<WORD>(record->Control->Id), CBN_SELENDOK),
                        reinterpret_cast<LPARAM>(combo_box));
}

// --- The calls of window.h over those messages ----------------------------------------------

HWND GetDlgItem(HWND dialog, int id)
{
    return Current_Window_System().Get_Dialog_Item(dialog, id);
}

int GetDlgCtrlID(HWND control)
{
    const Window_Record* record = Current_Window_System().Find(control);
    return record != nullptr && record->Control ? record->Control->Id : 0;
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL is_signed)
{
    const std::string text = is_signed ? std::to_string(static_cast<int32_t>(value)) : std::to_string(value);
    return SetWindowTextA(GetDlgItem(dialog, id), text.c_str());
}

BOOL SetDlgItemTextA(HWND dialog, int id, const char* text)
{
    return SetWindowTextA(GetDlgItem(dialog, id), text);
}

UINT GetDlgItemTextA(HWND dialog, int id, char* text, int size)
{
    return static_cast<UINT>(GetWindowTextA(GetDlgItem(dialog, id), text, size));
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check)
{
    HWND button = GetDlgItem(dialog, id);
    SendMessageA(button, BM_SETCHECK, check, 0);
    return button != nullptr ? TRUE : FALSE;
}

UINT IsDlgButtonChecked(HWND dialog, int id)
{
    return static_cast<UINT>(SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wparam, LPARAM lparam)
{
    return SendMessageA(GetDlgItem(dialog, id), message, wparam, lparam);
}

namespace {

bool Is_Scroll_Bar(HWND window, int bar)
{
    const Window_Record* record = Current_Window_System().Find(window);
    return bar == SB_CTL && record != nullptr && record->Control &&
           record->Control->Kind == Control_Kind::Scroll_Bar;
}

} // namespace

BOOL SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL)
{
    if (!Is_Scroll_Bar(window, bar)) {
        return FALSE;
    }
    return static_cast<BOOL>(
        SendMessageA(window, SBM_SETRANGE, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum)));
}

BOOL GetScrollRange(HWND window, int bar, int* minimum, int* maximum)
{
    if (!Is_Scroll_Bar(window, bar) || minimum == nullptr || maximum == nullptr) {
        return FALSE;
    }
    return static_cast<BOOL>(SendMessageA(window, SBM_GETRANGE, reinterpret_cast<WPARAM>(minimum),
                                          reinterpret_cast<LPARAM>(maximum)));
}

int SetScrollPos(HWND window, int bar, int position, BOOL redraw)
{
    if (!Is_Scroll_Bar(window, bar)) {
        return 0;
    }
    return static_cast<int>(SendMessageA(window, SBM_SETPOS, static_cast<WPARAM>(position), redraw));
}

int GetScrollPos(HWND window, int bar)
{
    return Is_Scroll_Bar(window, bar) ? static_cast<int>(SendMessageA(window, SBM_GETPOS, 0, 0)) : 0;
}
