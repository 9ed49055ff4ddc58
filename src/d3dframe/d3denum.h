// Device enumeration and selection: every Direct3D device of every display driver, with
// the full-screen modes each can render in, kept in a process-wide list of at most 20
// records; the default choice (software before the reference rasterizer, hardware first
// unless software only is asked for); and the "Change device" dialog over that list.
// Diagnostics go to the debug channel (DebugTrace), never to the error log.
#pragma once

#include "d3dframe/device_record.h"

inline constexpr DWORD ENUM_SOFTWARE_ONLY = 0x1;
inline constexpr int D3DENUM_MAX_DEVICES = 20;

// The acceptance callback: a negative result rejects the device.
using Device_Test_Callback = HRESULT (*)(DDCAPS* driver_caps, D3DDEVICEDESC7* device_desc);

// The start-up copy of the Desktop_Resolution setting (taken by the entry before
// enumeration; 1 until then): 1 makes the desktop's mode the default full-screen mode.
extern int D3DEnum_Desktop_Resolution;

HRESULT D3DEnum_EnumerateDevices(Device_Test_Callback device_test);
HRESULT D3DEnum_SelectDefaultDevice(DeviceRecord** device, DWORD flags);
void D3DEnum_GetDeviceList(DeviceRecord** first, DWORD* count);
void D3DEnum_ReleaseModeLists();
// Shows the dialog through the installed runner (change_device_dialog.h). S_OK when the user
// pressed OK with something changed (*device and its flags, mode index and mode updated).
HRESULT D3DEnum_ChangeDeviceDialog(DeviceRecord** device);

// Back to the constructed state: no devices, nothing offered, no callback (tests).
void D3DEnum_Reset();
