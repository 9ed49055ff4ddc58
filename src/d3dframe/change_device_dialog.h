// The "Change device" dialog (template 144): a dialog procedure over the device list (1000),
// the "Use desktop &window" check box (1012) and the mode list (1001) inside the "Fullscreen
// &modes" group (1014), with OK and Cancel. Its logic also serves a stereo check box (1013)
// that the template does not contain: a missing control reads as unchecked.
#pragma once

#include "d3dframe/device_record.h"
#include "platform/window/window.h"

// Shows the dialog modally for the devices [devices, devices + count), starting from
// *current, owned by the foreground window. True when the user pressed OK with something
// changed: *current is then the chosen record, its windowed, stereo, current_mode and
// fullscreen_mode updated. False (and every record as it was) otherwise.
bool Run_Change_Device_Dialog(DeviceRecord* devices, DWORD count, DeviceRecord** current);

// The dialog procedure itself; WM_INITDIALOG's lParam is the Change_Device_Choice to work on.
struct Change_Device_Choice {
    DeviceRecord* Devices = nullptr;
    DWORD Count = 0;
    DeviceRecord* Chosen = nullptr;
    // What the dialog opened with.
    DWORD Remembered_Mode = 0;
    bool Remembered_Windowed = false;
    bool Remembered_Stereo = false;
};
intptr_t Change_Device_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
