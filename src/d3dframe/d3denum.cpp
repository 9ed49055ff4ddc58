// Device enumeration and default selection.
#include "d3dframe/d3denum.h"

#include "d3dframe/change_device_dialog.h"
#include "d3dframe/d3denum_source.h"
#include "d3dframe/debug_trace.h"
#include "d3dframe/framework_error.h"
#include "platform/graphics/device_caps.h"
#include "platform/system/display_mode.h"

#include <algorithm>
#include <cstring>

int D3DEnum_Desktop_Resolution = 1;

namespace {

constexpr const char* Source_Name = "d3dframe\\d3denum";

DeviceRecord Devices[D3DENUM_MAX_DEVICES];
DWORD Device_Count = 0;
DWORD Offered_Count = 0;
Device_Test_Callback Device_Test = nullptr;

void Copy_Description(char (&target)[40], const std::string& text)
{
    std::memset(target, 0, sizeof target);
    std::strncpy(target, text.c_str(), sizeof target - 1);
}

// A reused record also gives back the modes of a device rejected before it.
void Zero(DeviceRecord& record)
{
    record = DeviceRecord{};
}

// The desktop's mode when the setting asks for it, else 640 x 480 x 16.
void Default_Mode(DWORD& width, DWORD& height, DWORD& bits)
{
    width = 640, height = 480, bits = 16;
    Display_Mode desktop;
    if (D3DEnum_Desktop_Resolution == 1 && Get_Current_Display_Mode(desktop)) {
        width = static_cast<DWORD>(desktop.Width);
        height = static_cast<DWORD>(desktop.Height);
        bits = static_cast<DWORD>(desktop.Bits_Per_Pixel);
    }
}

bool Renders_At(const D3DDEVICEDESC7& desc, DWORD bits)
{
    switch (bits) {
    case 32:
        return desc.dwDeviceRenderBitDepth & DDBD_32;
    case 24:
        return desc.dwDeviceRenderBitDepth & DDBD_24;
    case 16:
        return desc.dwDeviceRenderBitDepth & DDBD_16;
    default:
        return false;
    }
}

struct Driver_Record {
    std::string description;
    bool has_guid;
    GUID guid;
    DDCAPS driver_caps;
    DDCAPS hel_caps;
    bool desktop_compatible;
    std::vector<DDSURFACEDESC2> modes;
};

void Device_Step(const Driver_Record& driver, const Enum_Device_Offer& offer)
{
    ++Offered_Count;
    if (Device_Count >= D3DENUM_MAX_DEVICES)
        return; // the list is full: a further device is not listed
    DeviceRecord& record = Devices[Device_Count];
    Zero(record);
    record.is_hardware = (offer.Caps.dwDevCaps & D3DDEVCAPS_HWRASTERIZATION) != 0;
    record.device_desc = offer.Caps;
    record.desktop_compatible = driver.desktop_compatible;
    record.driver_caps = driver.driver_caps;
    record.hel_caps = driver.hel_caps;
    record.device_guid = offer.Caps.deviceGUID;
    record.device_guid_ptr = &record.device_guid;
    if (driver.has_guid) {
        record.driver_guid = driver.guid;
        record.driver_guid_ptr = &record.driver_guid;
        Copy_Description(record.description, driver.description);
    } else {
        record.driver_guid_ptr = nullptr;
        Copy_Description(record.description, offer.Name);
    }

    if (driver.has_guid && !record.is_hardware)
        return;
    if (Device_Test && Device_Test(&record.driver_caps, &record.device_desc) < 0)
        return;

    for (const DDSURFACEDESC2& mode : driver.modes) {
        if (!Renders_At(record.device_desc, mode.ddpfPixelFormat.dwRGBBitCount))
            continue;
        record.modes.push_back(mode);
        if (mode.ddsCaps.dwCaps2 & DDSCAPS2_STEREOSURFACELEFT)
            record.stereo_compatible = true;
    }
    record.mode_count = static_cast<DWORD>(record.modes.size());
    if (record.mode_count == 0)
        return;

    DWORD width, height, bits;
    Default_Mode(width, height, bits);
    bool found = false;
    for (DWORD i = 0; i < record.mode_count; ++i) {
        const DDSURFACEDESC2& mode = record.modes[i];
        if (mode.dwWidth == width && mode.dwHeight == height && mode.ddpfPixelFormat.dwRGBBitCount == bits) {
            record.fullscreen_mode = mode;
            record.current_mode = i;
            found = true;
        }
    }
    // No mode equals the default: the first mode, so the index and the mode agree.
    if (!found)
        record.fullscreen_mode = record.modes[0];
    record.windowed = record.desktop_compatible;
    ++Device_Count;
}

void Driver_Step(const Enum_Driver_Offer& offer)
{
    Enum_Driver_Contents contents;
    switch (Enumeration_Source().Open(offer, &contents)) {
    case Driver_Open::No_DirectDraw:
        DEBUG_MSG(Source_Name, "Can't create DDraw during enumeration!");
        return;
    case Driver_Open::No_Direct3D:
        DEBUG_MSG(Source_Name, "Can't query IDirect3D7 during enumeration!");
        return;
    case Driver_Open::Opened:
        break;
    }
    Driver_Record driver;
    driver.description = offer.Description.substr(0, 39);
    driver.has_guid = offer.Has_Guid;
    driver.guid = offer.Guid;
    driver.driver_caps = contents.Driver_Caps;
    driver.hel_caps = contents.Hel_Caps;
    driver.driver_caps.dwSize = driver.hel_caps.dwSize = sizeof(DDCAPS);
    driver.desktop_compatible = (driver.driver_caps.dwCaps2 & DDCAPS2_CANRENDERWINDOWED) && !offer.Has_Guid;
    driver.modes = contents.Modes;
    std::stable_sort(driver.modes.begin(), driver.modes.end(), Mode_Before);
    for (const Enum_Device_Offer& device : contents.Devices)
        Device_Step(driver, device);
}

} // namespace

bool Mode_Before(const DDSURFACEDESC2& a, const DDSURFACEDESC2& b)
{
    if (a.dwWidth != b.dwWidth)
        return a.dwWidth < b.dwWidth;
    if (a.dwHeight != b.dwHeight)
        return a.dwHeight < b.dwHeight;
    return a.ddpfPixelFormat.dwRGBBitCount < b.ddpfPixelFormat.dwRGBBitCount;
}

HRESULT D3DEnum_EnumerateDevices(Device_Test_Callback device_test)
{
    Device_Test = device_test;
    for (const Enum_Driver_Offer& driver : Enumeration_Source().Drivers())
        Driver_Step(driver);
    if (Offered_Count == 0) {
        DEBUG_MSG(Source_Name, "No devices and/or modes were enumerated!");
        return ENUMERR_ENUMERATION_FAILED;
    }
    if (Device_Count == 0) {
        DEBUG_MSG(Source_Name, "No enumerated devices were accepted!");
        DEBUG_MSG(Source_Name, "Try enabling the D3D Reference Rasterizer.");
        return ENUMERR_SUGGEST_REFERENCE;
    }
    return S_OK;
}

HRESULT D3DEnum_SelectDefaultDevice(DeviceRecord** device, DWORD flags)
{
    if (!device)
        return E_INVALIDARG;
    DeviceRecord *tnl = nullptr, *hardware = nullptr, *reference = nullptr, *software = nullptr;
    for (DWORD i = 0; i < Device_Count; ++i) {
        DeviceRecord& record = Devices[i];
        if (!record.desktop_compatible)
            continue;
        if (record.is_hardware)
            (record.device_guid == IID_IDirect3DTnLHalDevice ? tnl : hardware) = &record;
        else
            (record.device_guid == IID_IDirect3DRefDevice ? reference : software) = &record;
    }
    bool software_only = flags & ENUM_SOFTWARE_ONLY;
    DeviceRecord* chosen = !software_only && tnl        ? tnl
                           : !software_only && hardware ? hardware
                           : software                   ? software
                                                        : reference;
    if (!chosen)
        return ENUMERR_NO_COMPATIBLE_DEVICE;
    chosen->windowed = true;
    *device = chosen;
    return S_OK;
}

void D3DEnum_GetDeviceList(DeviceRecord** first, DWORD* count)
{
    if (first)
        *first = Devices;
    if (count)
        *count = Device_Count;
}

void D3DEnum_ReleaseModeLists()
{
    for (DWORD i = 0; i < Device_Count; ++i) {
        Devices[i].modes.clear();
        Devices[i].modes.shrink_to_fit();
        Devices[i].mode_count = 0;
    }
}

HRESULT D3DEnum_ChangeDeviceDialog(DeviceRecord** device)
{
    if (!device || !*device)
        return E_FAIL;
    return Run_Change_Device_Dialog(Devices, Device_Count, device) ? S_OK : E_FAIL;
}

void D3DEnum_Reset()
{
    for (DeviceRecord& record : Devices)
        Zero(record);
    Device_Count = 0;
    Offered_Count = 0;
    Device_Test = nullptr;
    D3DEnum_Desktop_Resolution = 1;
}
