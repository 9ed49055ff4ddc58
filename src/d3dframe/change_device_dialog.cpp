// The "Change device" dialog's procedure: filling the controls for a device, and OK.
#include "d3dframe/change_device_dialog.h"

#include "resources/resource_ids.h"

#include <cstdio>

namespace {

// The choice of the open dialog (one modal dialog at a time).
Change_Device_Choice* Open_Choice = nullptr;

int Index_Of(const Change_Device_Choice& choice, const DeviceRecord* device)
{
    for (DWORD i = 0; i < choice.Count; ++i)
        if (&choice.Devices[i] == device)
            return static_cast<int>(i);
    return -1;
}

void Enable(HWND dialog, int id, bool enabled)
{
    EnableWindow(GetDlgItem(dialog, id), enabled ? TRUE : FALSE);
}

void Fill(HWND dialog, const Change_Device_Choice& choice, const DeviceRecord* device, DWORD mode,
          bool windowed, bool stereo)
{
    SendDlgItemMessageA(dialog, IDC_DEVICE_COMBO, CB_RESETCONTENT, 0, 0);
    SendDlgItemMessageA(dialog, IDC_MODE_COMBO, CB_RESETCONTENT, 0, 0);
    if (!device->desktop_compatible)
        windowed = false;

    for (DWORD i = 0; i < choice.Count; ++i)
        SendDlgItemMessageA(dialog, IDC_DEVICE_COMBO, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(choice.Devices[i].description));
    SendDlgItemMessageA(dialog, IDC_DEVICE_COMBO, CB_SETCURSEL, static_cast<WPARAM>(Index_Of(choice, device)),
                        0);

    Enable(dialog, IDC_WINDOWED_CHECKBOX, device->desktop_compatible);
    CheckDlgButton(dialog, IDC_WINDOWED_CHECKBOX, windowed ? BST_CHECKED : BST_UNCHECKED);
    Enable(dialog, IDC_STEREO_CHECKBOX, device->stereo_compatible && !windowed);
    CheckDlgButton(dialog, IDC_STEREO_CHECKBOX, stereo ? BST_CHECKED : BST_UNCHECKED);
    Enable(dialog, IDC_MODE_COMBO, !windowed);
    Enable(dialog, IDC_FULLSCREEN_TEXT, !windowed);

    bool selected = false;
    for (DWORD i = 0; i < device->mode_count; ++i) {
        const DDSURFACEDESC2& m = device->modes[i];
        if (stereo && !(m.ddsCaps.dwCaps2 & DDSCAPS2_STEREOSURFACELEFT))
            continue;
        char text[80];
        std::snprintf(text, sizeof text, "%ld x %ld x %ld", static_cast<long>(m.dwWidth),
                      static_cast<long>(m.dwHeight), static_cast<long>(m.ddpfPixelFormat.dwRGBBitCount));
        LRESULT item =
            SendDlgItemMessageA(dialog, IDC_MODE_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendDlgItemMessageA(dialog, IDC_MODE_COMBO, CB_SETITEMDATA, static_cast<WPARAM>(item), i);
        if (i == mode || (stereo && !selected)) {
            SendDlgItemMessageA(dialog, IDC_MODE_COMBO, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
            selected = true;
        }
    }
}

// What the controls show now.
struct Shown {
    DeviceRecord* Device;
    DWORD Mode;
    bool Windowed;
    bool Stereo;
};

Shown Read(HWND dialog, const Change_Device_Choice& choice)
{
    LRESULT device = SendDlgItemMessageA(dialog, IDC_DEVICE_COMBO, CB_GETCURSEL, 0, 0);
    LRESULT item = SendDlgItemMessageA(dialog, IDC_MODE_COMBO, CB_GETCURSEL, 0, 0);
    LRESULT mode = item == CB_ERR ? 0 : SendDlgItemMessageA(dialog, IDC_MODE_COMBO, CB_GETITEMDATA, item, 0);
    return Shown{device >= 0 && static_cast<DWORD>(device) < choice.Count ? &choice.Devices[device]
                                                                          : choice.Chosen,
                 static_cast<DWORD>(mode), IsDlgButtonChecked(dialog, IDC_WINDOWED_CHECKBOX) == BST_CHECKED,
                 IsDlgButtonChecked(dialog, IDC_STEREO_CHECKBOX) == BST_CHECKED};
}

// OK: a change is stored and closes with IDOK; no change closes as if cancelled.
void Accept(HWND dialog, Change_Device_Choice& choice)
{
    const Shown shown = Read(dialog, choice);
    if (shown.Device == choice.Chosen && shown.Mode == choice.Remembered_Mode &&
        shown.Windowed == choice.Remembered_Windowed && shown.Stereo == choice.Remembered_Stereo) {
        EndDialog(dialog, IDCANCEL);
        return;
    }
    DeviceRecord* device = shown.Device;
    choice.Chosen = device;
    device->windowed = shown.Windowed;
    device->stereo = shown.Stereo;
    device->current_mode = shown.Mode;
    if (shown.Mode < device->mode_count)
        device->fullscreen_mode = device->modes[shown.Mode];
    EndDialog(dialog, IDOK);
}

} // namespace

intptr_t Change_Device_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_INITDIALOG) {
        Open_Choice = reinterpret_cast<Change_Device_Choice*>(lparam);
        DeviceRecord* current = Open_Choice->Chosen;
        Open_Choice->Remembered_Mode = current->current_mode;
        Open_Choice->Remembered_Windowed = current->windowed;
        Open_Choice->Remembered_Stereo = current->stereo;
        Fill(dialog, *Open_Choice, current, current->current_mode, current->windowed, current->stereo);
        return TRUE;
    }
    if (message != WM_COMMAND || Open_Choice == nullptr)
        return FALSE;
    const int id = LOWORD(wparam);
    if (id == IDOK) {
        Accept(dialog, *Open_Choice);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
    } else if (id == IDC_DEVICE_COMBO && HIWORD(wparam) == CBN_SELENDOK) {
        const DeviceRecord* device = Read(dialog, *Open_Choice).Device;
        Fill(dialog, *Open_Choice, device, device->current_mode, device->windowed, device->stereo);
    } else {
        const Shown shown = Read(dialog, *Open_Choice);
        Fill(dialog, *Open_Choice, shown.Device, shown.Mode, shown.Windowed, shown.Stereo);
    }
    return TRUE;
}

bool Run_Change_Device_Dialog(DeviceRecord* devices, DWORD count, DeviceRecord** current)
{
    Change_Device_Choice choice{devices, count, *current};
    const intptr_t result =
        DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_SELECTDEVICE), GetForegroundWindow(),
                        Change_Device_Procedure, reinterpret_cast<LPARAM>(&choice));
    Open_Choice = nullptr;
    if (result != IDOK)
        return false;
    *current = choice.Chosen;
    return true;
}
