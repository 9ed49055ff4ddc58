// The "Change device" dialog's logic.
#include "d3dframe/change_device_dialog.h"

#include <cstdio>

namespace {

Change_Device_Runner* Runner = nullptr;

} // namespace

void Set_Change_Device_Runner(Change_Device_Runner* runner)
{
    Runner = runner;
}

Change_Device_Runner* Installed_Change_Device_Runner()
{
    return Runner;
}

Change_Device_Dialog::Change_Device_Dialog(DeviceRecord* devices, DWORD count, DeviceRecord* current)
    : Devices(devices), Count(count), Chosen_Device(current)
{
}

int Change_Device_Dialog::Index_Of(const DeviceRecord* device) const
{
    for (DWORD i = 0; i < Count; ++i)
        if (&Devices[i] == device)
            return static_cast<int>(i);
    return -1;
}

void Change_Device_Dialog::Open(Change_Device_Controls& controls)
{
    Remembered_Mode = Chosen_Device->current_mode;
    Remembered_Windowed = Chosen_Device->windowed;
    Remembered_Stereo = Chosen_Device->stereo;
    Fill(controls, Chosen_Device, Remembered_Mode, Remembered_Windowed, Remembered_Stereo);
}

void Change_Device_Dialog::Fill(Change_Device_Controls& controls, DeviceRecord* device, DWORD mode,
                                bool windowed, bool stereo)
{
    controls.Clear_Devices();
    controls.Clear_Modes();
    if (!device->desktop_compatible)
        windowed = false;

    for (DWORD i = 0; i < Count; ++i)
        controls.Add_Device(Devices[i].description);
    controls.Select_Device(Index_Of(device));

    controls.Enable_Windowed(device->desktop_compatible);
    controls.Check_Windowed(windowed);
    controls.Enable_Stereo(device->stereo_compatible && !windowed);
    controls.Check_Stereo(stereo);
    controls.Enable_Modes(!windowed);

    bool selected = false;
    for (DWORD i = 0; i < device->mode_count; ++i) {
        const DDSURFACEDESC2& m = device->modes[i];
        if (stereo && !(m.ddsCaps.dwCaps2 & DDSCAPS2_STEREOSURFACELEFT))
            continue;
        char text[80];
        std::snprintf(text, sizeof text, "%ld x %ld x %ld", static_cast<long>(m.dwWidth),
                      static_cast<long>(m.dwHeight), static_cast<long>(m.ddpfPixelFormat.dwRGBBitCount));
        int item = controls.Add_Mode(text, i);
        if (i == mode || (stereo && !selected)) {
            controls.Select_Mode(item);
            selected = true;
        }
    }
}

Change_Device_Dialog::Outcome Change_Device_Dialog::Command(Change_Device_Controls& controls, int id,
                                                            int code)
{
    int device_index = controls.Selected_Device();
    DeviceRecord* device = device_index >= 0 && static_cast<DWORD>(device_index) < Count
                               ? &Devices[device_index]
                               : Chosen_Device;
    int mode_item = controls.Selected_Mode();
    DWORD mode = mode_item >= 0 ? controls.Mode_Data(mode_item) : 0;
    bool windowed = controls.Windowed_Checked();
    bool stereo = controls.Stereo_Checked();

    if (id == IDC_CHANGE_DEVICE_OK) {
        if (device == Chosen_Device && mode == Remembered_Mode && windowed == Remembered_Windowed &&
            stereo == Remembered_Stereo)
            return Outcome::Cancel;
        Chosen_Device = device;
        device->windowed = windowed;
        device->stereo = stereo;
        device->current_mode = mode;
        if (mode < device->mode_count)
            device->fullscreen_mode = device->modes[mode];
        return Outcome::Ok;
    }
    if (id == IDC_CHANGE_DEVICE_CANCEL)
        return Outcome::Cancel;
    if (id == IDC_DEVICE_COMBO && code == CBN_SELENDOK_CODE)
        Fill(controls, device, device->current_mode, device->windowed, device->stereo);
    else
        Fill(controls, device, mode, windowed, stereo);
    return Outcome::Open;
}
