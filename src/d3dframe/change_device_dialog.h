// The logic of the "Change device" dialog, behind an interface to its controls so that the
// window backend builds the dialog and the tests drive the logic directly.
//
// Controls: the device list (1000), the "Use desktop &window" check box (1012), the mode list
// (1001) inside the "Fullscreen &modes" group (1014), OK (1) and Cancel (2). The logic also
// serves a stereo check box (1013) that the dialog does not contain: a missing control reads
// as unchecked.
#pragma once

#include "d3dframe/device_record.h"

#include <cstdint>

inline constexpr int IDC_DEVICE_COMBO = 1000;
inline constexpr int IDC_MODE_COMBO = 1001;
inline constexpr int IDC_WINDOWED_CHECKBOX = 1012;
inline constexpr int IDC_STEREO_CHECKBOX = 1013;
inline constexpr int IDC_FULLSCREEN_TEXT = 1014;
inline constexpr int IDC_CHANGE_DEVICE_OK = 1;
inline constexpr int IDC_CHANGE_DEVICE_CANCEL = 2;
inline constexpr int CBN_SELENDOK_CODE = 9;

class Change_Device_Controls {
public:
    virtual ~Change_Device_Controls() = default;
    virtual void Clear_Devices() = 0;
    virtual void Add_Device(const char* description) = 0;
    virtual void Select_Device(int index) = 0;
    virtual int Selected_Device() = 0; // -1: none

    virtual void Clear_Modes() = 0;
    virtual int Add_Mode(const char* text, DWORD mode_index) = 0; // returns the item's position
    virtual void Select_Mode(int item) = 0;
    virtual int Selected_Mode() = 0; // -1: none
    virtual DWORD Mode_Data(int item) = 0;
    virtual void Enable_Modes(bool enabled) = 0; // the list and its group

    virtual void Enable_Windowed(bool enabled) = 0;
    virtual void Check_Windowed(bool checked) = 0;
    virtual bool Windowed_Checked() = 0;

    virtual void Enable_Stereo(bool) {}
    virtual void Check_Stereo(bool) {}
    virtual bool Stereo_Checked() { return false; }
};

class Change_Device_Dialog {
public:
    enum class Outcome { Open, Ok, Cancel };

    Change_Device_Dialog(DeviceRecord* devices, DWORD count, DeviceRecord* current);

    // On opening: remembers the current choice and fills the controls with it.
    void Open(Change_Device_Controls& controls);
    // A command from a control (id, notification code).
    Outcome Command(Change_Device_Controls& controls, int id, int code);
    // After Outcome::Ok: the chosen record, already updated.
    DeviceRecord* Chosen() const { return Chosen_Device; }

private:
    void Fill(Change_Device_Controls& controls, DeviceRecord* device, DWORD mode, bool windowed, bool stereo);
    int Index_Of(const DeviceRecord* device) const;

    DeviceRecord* Devices;
    DWORD Count;
    DeviceRecord* Chosen_Device;
    DWORD Remembered_Mode = 0;
    bool Remembered_Windowed = false;
    bool Remembered_Stereo = false;
};

// Shows the dialog modally: fills it through Open, passes commands to Command until the
// outcome is Ok or Cancel, and returns that outcome. The window backend installs one; with
// none installed the dialog cannot be shown and counts as cancelled.
class Change_Device_Runner {
public:
    virtual ~Change_Device_Runner() = default;
    virtual Change_Device_Dialog::Outcome Run(Change_Device_Dialog& dialog) = 0;
};
void Set_Change_Device_Runner(Change_Device_Runner* runner);
Change_Device_Runner* Installed_Change_Device_Runner();
