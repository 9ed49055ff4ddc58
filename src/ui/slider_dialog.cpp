// The slider dialogs' shared procedure: opening, scrolling, Default, OK and Cancel.
#include "ui/slider_dialog.h"

#include "resources/resource_ids.h"

#include <algorithm>

namespace {

// Every bar at its working value and every number shown again, unsigned.
void Show_Values(const Slider_Dialog& table, HWND dialog)
{
    for (const Slider& slider : table.Sliders) {
        SetScrollPos(GetDlgItem(dialog, slider.Scroll_Id), SB_CTL, *slider.Value, TRUE);
        SetDlgItemInt(dialog, slider.Number_Id, static_cast<UINT>(*slider.Value), FALSE);
    }
}

// Working copies are kept inside their ranges, so bar, number and value stay one integer
// whatever the settings held.
void Keep_In_Range(const Slider_Dialog& table)
{
    for (const Slider& slider : table.Sliders) {
        *slider.Value = std::clamp(*slider.Value, slider.Minimum, slider.Maximum);
    }
}

intptr_t Open(const Slider_Dialog& table, HWND dialog)
{
    table.Load(dialog);
    Keep_In_Range(table);
    for (const Slider& slider : table.Sliders) {
        SetScrollRange(GetDlgItem(dialog, slider.Scroll_Id), SB_CTL, slider.Minimum, slider.Maximum, TRUE);
    }
    Show_Values(table, dialog);
    return TRUE; // the system sets the focus
}

// The slider a scroll message moves: the one whose bar sent it, else the dialog's choice.
const Slider* Scrolled_Slider(const Slider_Dialog& table, HWND dialog, HWND sender)
{
    for (const Slider& slider : table.Sliders) {
        if (sender != nullptr && GetDlgItem(dialog, slider.Scroll_Id) == sender) {
            return &slider;
        }
    }
    return table.Other_Bars >= 0 ? &table.Sliders[static_cast<std::size_t>(table.Other_Bars)] : nullptr;
}

intptr_t Scroll(const Slider_Dialog& table, HWND dialog, WPARAM wparam, LPARAM lparam)
{
    bool handled = false;
    if (const Slider* slider = Scrolled_Slider(table, dialog, reinterpret_cast<HWND>(lparam))) {
        *slider->Value = Scrolled_Value(*slider->Value, LOWORD(wparam), HIWORD(wparam), slider->Minimum,
                                        slider->Maximum, handled);
    }
    Show_Values(table, dialog);
    return handled ? TRUE : FALSE;
}

intptr_t Command(const Slider_Dialog& table, HWND dialog, int id)
{
    switch (id) {
    case IDOK:
        EndDialog(dialog, IDOK);
        table.Store();
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    case IDC_DEFAULT_BUTTON:
        for (const Slider& slider : table.Sliders) {
            *slider.Value = slider.Default;
        }
        if (table.Defaults != nullptr) {
            table.Defaults(dialog);
        }
        Show_Values(table, dialog);
        return TRUE;
    default:
        return table.Command != nullptr && table.Command(dialog, id) ? TRUE : FALSE;
    }
}

} // namespace

int32_t Scrolled_Value(int32_t value, WORD code, int position, int32_t minimum, int32_t maximum,
                       bool& handled)
{
    handled = true;
    switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
        return std::max(value - 1, minimum);
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
        return std::min(value + 1, maximum);
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        return std::clamp(position, minimum, maximum);
    case SB_LEFT:
        return minimum;
    case SB_RIGHT:
        return maximum;
    default:
        handled = false;
        return value;
    }
}

intptr_t Slider_Dialog_Procedure(const Slider_Dialog& table, HWND dialog, UINT message, WPARAM wparam,
                                 LPARAM lparam)
{
    switch (message) {
    case WM_INITDIALOG:
        return Open(table, dialog);
    case WM_HSCROLL:
        return Scroll(table, dialog, wparam, lparam);
    case WM_COMMAND:
        return Command(table, dialog, LOWORD(wparam));
    default:
        return FALSE;
    }
}
