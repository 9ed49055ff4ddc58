// Device enumeration and selection on staged machines: sorting and depth filtering of the
// modes, the default full-screen mode, secondary adapters, the default device choice, the
// result codes with their debug lines, the 20-record limit, and the dialog's logic.
#include "d3dframe/d3denum.h"
#include "d3dframe/d3denum_source.h"
#include "d3dframe/framework_error.h"
#include "platform/graphics/dd_codes.h"
#include "platform/graphics/device_caps.h"
#include "platform/system/debug_output.h"
#include "platform/system/display_mode.h"

#include "staged_mode.h"

#include <gtest/gtest.h>
#include <string>

namespace {

Enum_Device_Offer Device(const char* name, REFGUID type, bool hardware, DWORD depths = DDBD_16 | DDBD_32)
{
    Enum_Device_Offer offer{std::string("The ") + name, name, Rasterizer_Device_Description(type)};
    if (hardware)
        offer.Caps.dwDevCaps |= D3DDEVCAPS_HWRASTERIZATION;
    offer.Caps.dwDeviceRenderBitDepth = depths;
    return offer;
}

struct Staged_Driver {
    Enum_Driver_Offer offer;
    Enum_Driver_Contents contents;
    Driver_Open result = Driver_Open::Opened;
};

class Staged_Machine : public D3DEnum_Source {
public:
    std::vector<Enum_Driver_Offer> Drivers() override
    {
        std::vector<Enum_Driver_Offer> offers;
        for (const Staged_Driver& d : drivers)
            offers.push_back(d.offer);
        return offers;
    }
    Driver_Open Open(const Enum_Driver_Offer& driver, Enum_Driver_Contents* contents) override
    {
        for (const Staged_Driver& d : drivers)
            if (d.offer.Description == driver.Description) {
                *contents = d.contents;
                return d.result;
            }
        return Driver_Open::No_DirectDraw;
    }
    Staged_Driver& Primary(std::vector<DDSURFACEDESC2> modes, std::vector<Enum_Device_Offer> devices)
    {
        Staged_Driver d;
        d.offer.Description = "Primary Display Driver";
        d.contents.Driver_Caps.dwCaps2 = DDCAPS2_CANRENDERWINDOWED;
        d.contents.Modes = std::move(modes);
        d.contents.Devices = std::move(devices);
        drivers.push_back(d);
        return drivers.back();
    }
    std::vector<Staged_Driver> drivers;
};

class Enumeration : public ::testing::Test {
protected:
    void SetUp() override
    {
        D3DEnum_Reset();
        Set_Display_Mode_Source(&desktop);
        Set_Debug_Output_Sink([this](const std::string& text) { debug += text; });
    }
    void TearDown() override
    {
        D3DEnum_Reset();
        Set_Enumeration_Source(nullptr);
        Set_Display_Mode_Source(nullptr);
        Set_Debug_Output_Sink(nullptr);
    }
    void Stage() { Set_Enumeration_Source(&machine); }
    std::vector<DeviceRecord*> List()
    {
        DeviceRecord* first = nullptr;
        DWORD count = 0;
        D3DEnum_GetDeviceList(&first, &count);
        std::vector<DeviceRecord*> list;
        for (DWORD i = 0; i < count; ++i)
            list.push_back(first + i);
        return list;
    }
    static std::vector<std::string> Modes(const DeviceRecord& record)
    {
        std::vector<std::string> out;
        for (DWORD i = 0; i < record.mode_count; ++i)
            out.push_back(std::to_string(record.modes[i].dwWidth) + "x" +
                          std::to_string(record.modes[i].dwHeight) + "x" +
                          std::to_string(record.modes[i].ddpfPixelFormat.dwRGBBitCount));
        return out;
    }

    Fixed_Display_Mode desktop{1024, 768, 32};
    Staged_Machine machine;
    std::string debug;
};

TEST_F(Enumeration, ThisMachineOffersTheSoftwareAndReferenceRasterizers)
{
    ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
    auto list = List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_STREQ(list[0]->description, "Software Rasterizer");
    EXPECT_STREQ(list[1]->description, "Reference Rasterizer");
    for (DeviceRecord* record : list) {
        EXPECT_TRUE(record->desktop_compatible && record->windowed && !record->is_hardware);
        EXPECT_EQ(record->driver_guid_ptr, nullptr);
        EXPECT_EQ(record->device_guid_ptr, &record->device_guid);
        EXPECT_EQ(record->driver_caps.dwSize, 380u);
        EXPECT_EQ(Modes(*record),
                  (std::vector<std::string>{"640x480x16", "640x480x32", "800x600x16", "800x600x32",
                                            "1024x768x16", "1024x768x32", "1280x720x16", "1280x720x32",
                                            "1920x1080x16", "1920x1080x32"}));
        EXPECT_EQ(record->current_mode, 5u); // the desktop's 1024 x 768 x 32
    }
    DeviceRecord* chosen = nullptr;
    ASSERT_EQ(D3DEnum_SelectDefaultDevice(&chosen, 0), S_OK);
    EXPECT_EQ(chosen, list[0]);
    ASSERT_EQ(D3DEnum_SelectDefaultDevice(&chosen, ENUM_SOFTWARE_ONLY), S_OK);
    EXPECT_EQ(chosen, list[0]);
    EXPECT_EQ(D3DEnum_SelectDefaultDevice(nullptr, 0), E_INVALIDARG);
}

TEST_F(Enumeration, WithTheSoftwareDeviceRejectedTheReferenceIsChosen)
{
    ASSERT_EQ(D3DEnum_EnumerateDevices([](DDCAPS*, D3DDEVICEDESC7* desc) {
                  return desc->deviceGUID == IID_IDirect3DRGBDevice ? E_FAIL : S_OK;
              }),
              S_OK);
    DeviceRecord* chosen = nullptr;
    ASSERT_EQ(D3DEnum_SelectDefaultDevice(&chosen, 0), S_OK);
    EXPECT_STREQ(chosen->description, "Reference Rasterizer");
}

TEST_F(Enumeration, ModesAreSortedAndFilteredByTheDevicesDepths)
{
    machine.Primary({Mode(800, 600, 32), Mode(640, 480, 16), Mode(640, 480, 32), Mode(800, 600, 16),
                     Mode(640, 480, 24), Mode(320, 200, 8)},
                    {Device("Both", IID_IDirect3DRGBDevice, false),
                     Device("Sixteen", IID_IDirect3DRGBDevice, false, DDBD_16),
                     Device("Deep", IID_IDirect3DRGBDevice, false, DDBD_16 | DDBD_24 | DDBD_32)});
    Stage();
    ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
    auto list = List();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(Modes(*list[0]),
              (std::vector<std::string>{"640x480x16", "640x480x32", "800x600x16", "800x600x32"}));
    EXPECT_EQ(Modes(*list[1]), (std::vector<std::string>{"640x480x16", "800x600x16"}));
    EXPECT_EQ(Modes(*list[2]), (std::vector<std::string>{"640x480x16", "640x480x24", "640x480x32",
                                                         "800x600x16", "800x600x32"}));
}

TEST_F(Enumeration, DefaultFullScreenModeFollowsTheDesktopSetting)
{
    machine.Primary({Mode(640, 480, 16), Mode(1024, 768, 32), Mode(800, 600, 16)},
                    {Device("Soft", IID_IDirect3DRGBDevice, false)});
    Stage();
    ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
    EXPECT_EQ(List()[0]->current_mode, 2u);
    EXPECT_EQ(List()[0]->fullscreen_mode.dwWidth, 1024u);

    D3DEnum_Reset();
    D3DEnum_Desktop_Resolution = 0;
    ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
    EXPECT_EQ(List()[0]->current_mode, 0u);
    EXPECT_EQ(List()[0]->fullscreen_mode.dwWidth, 640u);
    EXPECT_EQ(List()[0]->fullscreen_mode.ddpfPixelFormat.dwRGBBitCount, 16u);

    D3DEnum_Reset();
    desktop.Mode = {1280, 1024, 32}; // not offered: 640 x 480 x 16 instead
    ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
    EXPECT_EQ(List()[0]->current_mode, 0u);
    EXPECT_EQ(List()[0]->fullscreen_mode.dwHeight, 480u);
}

TEST_F(Enumeration, WithoutTheDefaultModeTheFirstModeIsTaken)
{
    machine.Primary({Mode(1024, 768, 32), Mode(800, 600, 32)},
                    {Device("Soft", IID_IDirect3DRGBDevice, false)});
    Stage();
    D3DEnum_Desktop_Resolution = 0;
    ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
    EXPECT_EQ(List()[0]->current_mode, 0u);
    EXPECT_EQ(List()[0]->fullscreen_mode.dwWidth, 800u); // modes[0] after sorting, not an empty mode
}

TEST_F(Enumeration, SecondaryAdaptersListOnlyHardwareUnderTheirOwnName)
{
    machine.Primary({Mode(640, 480, 16)}, {Device("Soft", IID_IDirect3DRGBDevice, false),
                                           Device("Ref", IID_IDirect3DRefDevice, false)});
    Staged_Driver second;
    second.offer = {true, {0x1234, 1, 2, {3}}, "A second adapter with a rather long description text"};
    second.contents.Driver_Caps.dwCaps2 = DDCAPS2_CANRENDERWINDOWED;
    second.contents.Modes = {Mode(640, 480, 16)};
    second.contents.Devices = {Device("Its Software", IID_IDirect3DRGBDevice, false),
                               Device("Its HAL", IID_IDirect3DHALDevice, true)};
    machine.drivers.push_back(second);
    Stage();
    ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
    auto list = List();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_STREQ(list[2]->description, "A second adapter with a rather long des"); // 39 characters
    EXPECT_TRUE(list[2]->is_hardware);
    EXPECT_FALSE(list[2]->desktop_compatible);
    EXPECT_FALSE(list[2]->windowed);
    ASSERT_NE(list[2]->driver_guid_ptr, nullptr);
    EXPECT_EQ(list[2]->driver_guid_ptr->Data1, 0x1234u);
    DeviceRecord* chosen = nullptr;
    ASSERT_EQ(D3DEnum_SelectDefaultDevice(&chosen, 0), S_OK);
    EXPECT_STREQ(chosen->description, "Soft"); // the adapter's device cannot draw on the desktop
}

TEST_F(Enumeration, DefaultChoiceOrder)
{
    machine.Primary({Mode(640, 480, 16)}, {Device("TnL", IID_IDirect3DTnLHalDevice, true),
                                           Device("HAL", IID_IDirect3DHALDevice, true),
                                           Device("Ref", IID_IDirect3DRefDevice, false),
                                           Device("Soft", IID_IDirect3DRGBDevice, false)});
    Stage();
    ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
    DeviceRecord* chosen = nullptr;
    ASSERT_EQ(D3DEnum_SelectDefaultDevice(&chosen, 0), S_OK);
    EXPECT_STREQ(chosen->description, "TnL");
    ASSERT_EQ(D3DEnum_SelectDefaultDevice(&chosen, ENUM_SOFTWARE_ONLY), S_OK);
    EXPECT_STREQ(chosen->description, "Soft");

    D3DEnum_Reset();
    machine.drivers[0].contents.Devices = {Device("HAL", IID_IDirect3DHALDevice, true),
                                           Device("Ref", IID_IDirect3DRefDevice, false)};
    ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
    ASSERT_EQ(D3DEnum_SelectDefaultDevice(&chosen, 0), S_OK);
    EXPECT_STREQ(chosen->description, "HAL");
    ASSERT_EQ(D3DEnum_SelectDefaultDevice(&chosen, ENUM_SOFTWARE_ONLY), S_OK);
    EXPECT_STREQ(chosen->description, "Ref");

    D3DEnum_Reset();
    machine.drivers[0].contents.Devices = {Device("HAL", IID_IDirect3DHALDevice, true)};
    ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
    EXPECT_EQ(D3DEnum_SelectDefaultDevice(&chosen, ENUM_SOFTWARE_ONLY), ENUMERR_NO_COMPATIBLE_DEVICE);
}

TEST_F(Enumeration, FailuresAreReportedOnTheDebugChannel)
{
    Stage(); // no drivers at all
    EXPECT_EQ(D3DEnum_EnumerateDevices(nullptr), ENUMERR_ENUMERATION_FAILED);
    EXPECT_NE(debug.find("d3dframe\\d3denum("), std::string::npos);
    EXPECT_NE(debug.find("): No devices and/or modes were enumerated!\n"), std::string::npos);

    D3DEnum_Reset();
    debug.clear();
    Staged_Driver broken, no_3d;
    broken.offer.Description = "Broken";
    broken.result = Driver_Open::No_DirectDraw;
    no_3d.offer.Description = "No 3D";
    no_3d.result = Driver_Open::No_Direct3D;
    machine.drivers = {broken, no_3d};
    machine.Primary({Mode(640, 480, 8)}, {Device("Soft", IID_IDirect3DRGBDevice, false)}); // no usable mode
    EXPECT_EQ(D3DEnum_EnumerateDevices(nullptr), ENUMERR_SUGGEST_REFERENCE);
    EXPECT_NE(debug.find("Can't create DDraw during enumeration!"), std::string::npos);
    EXPECT_NE(debug.find("Can't query IDirect3D7 during enumeration!"), std::string::npos);
    EXPECT_NE(debug.find("No enumerated devices were accepted!"), std::string::npos);
    EXPECT_NE(debug.find("Try enabling the D3D Reference Rasterizer."), std::string::npos);
}

TEST_F(Enumeration, ATwentyFirstDeviceIsRefused)
{
    std::vector<Enum_Device_Offer> devices;
    for (int i = 0; i < 21; ++i)
        devices.push_back(Device(("Device " + std::to_string(i)).c_str(), IID_IDirect3DRGBDevice, false));
    machine.Primary({Mode(640, 480, 16)}, devices);
    Stage();
    ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
    auto list = List();
    ASSERT_EQ(list.size(), 20u);
    EXPECT_STREQ(list[19]->description, "Device 19");
    D3DEnum_ReleaseModeLists();
    EXPECT_EQ(list[0]->mode_count, 0u);
}

// The dialog's controls as plain state.
struct Fake_Controls : Change_Device_Controls {
    std::vector<std::string> devices;
    int device = -1;
    std::vector<std::pair<std::string, DWORD>> modes;
    int mode = -1;
    bool modes_enabled = false, windowed_enabled = false, windowed = false;

    void Clear_Devices() override { devices.clear(), device = -1; }
    void Add_Device(const char* d) override { devices.push_back(d); }
    void Select_Device(int i) override { device = i; }
    int Selected_Device() override { return device; }
    void Clear_Modes() override { modes.clear(), mode = -1; }
    int Add_Mode(const char* t, DWORD data) override
    {
        modes.push_back({t, data});
        return static_cast<int>(modes.size()) - 1;
    }
    void Select_Mode(int i) override { mode = i; }
    int Selected_Mode() override { return mode; }
    DWORD Mode_Data(int i) override { return modes[i].second; }
    void Enable_Modes(bool e) override { modes_enabled = e; }
    void Enable_Windowed(bool e) override { windowed_enabled = e; }
    void Check_Windowed(bool c) override { windowed = c; }
    bool Windowed_Checked() override { return windowed; }
};

class Dialog : public Enumeration {
protected:
    void SetUp() override
    {
        Enumeration::SetUp();
        machine.Primary({Mode(640, 480, 16), Mode(800, 600, 32)},
                        {Device("Soft", IID_IDirect3DRGBDevice, false)});
        Staged_Driver second;
        second.offer = {true, {7, 0, 0, {0}}, "Adapter"};
        second.contents.Modes = {Mode(1024, 768, 16), Mode(1280, 1024, 32)};
        second.contents.Devices = {Device("HAL", IID_IDirect3DHALDevice, true)};
        machine.drivers.push_back(second);
        Stage();
        D3DEnum_Desktop_Resolution = 0;
        ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
        ASSERT_EQ(D3DEnum_SelectDefaultDevice(&current, 0), S_OK);
        DeviceRecord* first;
        DWORD count;
        D3DEnum_GetDeviceList(&first, &count);
        dialog = std::make_unique<Change_Device_Dialog>(first, count, current);
        dialog->Open(controls);
    }
    DeviceRecord* current = nullptr;
    Fake_Controls controls;
    std::unique_ptr<Change_Device_Dialog> dialog;
};

TEST_F(Dialog, OpensWithTheCurrentChoice)
{
    EXPECT_EQ(controls.devices, (std::vector<std::string>{"Soft", "Adapter"}));
    EXPECT_EQ(controls.device, 0);
    EXPECT_TRUE(controls.windowed && controls.windowed_enabled);
    EXPECT_FALSE(controls.modes_enabled);
    ASSERT_EQ(controls.modes.size(), 2u);
    EXPECT_EQ(controls.modes[1].first, "800 x 600 x 32");
    EXPECT_EQ(controls.mode, 0);
}

TEST_F(Dialog, OkWithoutChangesCancelsAndLeavesTheRecord)
{
    EXPECT_EQ(dialog->Command(controls, IDC_CHANGE_DEVICE_OK, 0), Change_Device_Dialog::Outcome::Cancel);
    EXPECT_TRUE(current->windowed);
    EXPECT_EQ(current->current_mode, 0u);
}

TEST_F(Dialog, ADeviceThatCannotDrawInAWindowClearsTheCheckBox)
{
    controls.device = 1;
    EXPECT_EQ(dialog->Command(controls, IDC_DEVICE_COMBO, CBN_SELENDOK_CODE),
              Change_Device_Dialog::Outcome::Open);
    EXPECT_FALSE(controls.windowed);
    EXPECT_FALSE(controls.windowed_enabled);
    EXPECT_TRUE(controls.modes_enabled);
    EXPECT_EQ(controls.modes[0].first, "1024 x 768 x 16");
    controls.mode = 1;
    ASSERT_EQ(dialog->Command(controls, IDC_CHANGE_DEVICE_OK, 0), Change_Device_Dialog::Outcome::Ok);
    DeviceRecord* chosen = dialog->Chosen();
    EXPECT_STREQ(chosen->description, "Adapter");
    EXPECT_FALSE(chosen->windowed);
    EXPECT_EQ(chosen->current_mode, 1u);
    EXPECT_EQ(chosen->fullscreen_mode.dwWidth, 1280u);
}

TEST_F(Dialog, UncheckingWindowedEnablesTheModesAndOkStoresTheMode)
{
    controls.windowed = false;
    dialog->Command(controls, IDC_WINDOWED_CHECKBOX, 0);
    EXPECT_TRUE(controls.modes_enabled);
    controls.mode = 1;
    dialog->Command(controls, IDC_MODE_COMBO, 1);
    EXPECT_EQ(controls.mode, 1);
    ASSERT_EQ(dialog->Command(controls, IDC_CHANGE_DEVICE_OK, 0), Change_Device_Dialog::Outcome::Ok);
    EXPECT_EQ(dialog->Chosen(), current);
    EXPECT_FALSE(current->windowed);
    EXPECT_EQ(current->fullscreen_mode.dwWidth, 800u);
}

TEST_F(Dialog, WithoutADialogRunnerTheChangeIsCancelled)
{
    DeviceRecord* before = current;
    EXPECT_EQ(D3DEnum_ChangeDeviceDialog(&current), E_FAIL);
    EXPECT_EQ(current, before);
}

} // namespace
