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
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"
#include "resources/resource_ids.h"

#include "staged_mode.h"

#include <functional>
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

// The dialog as the user sees it: the control records of the open dialog.
std::vector<std::string> Items(HWND dialog, int id)
{
    std::vector<std::string> texts;
    for (const Control_State::Item& item :
         Current_Window_System().Find(GetDlgItem(dialog, id))->Control->Items)
        texts.push_back(item.Text);
    return texts;
}

LRESULT Selected(HWND dialog, int id)
{
    return SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
}

bool Enabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

class Dialog : public Enumeration {
protected:
    void SetUp() override
    {
        Enumeration::SetUp();
        Install_Window_System(nullptr);
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
    }
    void TearDown() override
    {
        Install_Window_System(nullptr);
        Enumeration::TearDown();
    }
    // The user's turns, one each time the dialog waits for input; none left closes it.
    void User(std::vector<std::function<void(Headless_Backend&, HWND)>> turns)
    {
        Headless_Backend& display = The_Headless_Backend();
        display.Dialog_Script = [&display, turns, turn = std::size_t{0}](HWND dialog,
                                                                         const std::string& name) mutable {
            EXPECT_EQ(name, "#144");
            if (turn < turns.size())
                turns[turn++](display, dialog);
        };
    }
    DeviceRecord* current = nullptr;
};

TEST_F(Dialog, OpensWithTheCurrentChoiceAndOkWithoutChangesLeavesTheRecord)
{
    User({[](Headless_Backend& user, HWND dialog) {
        EXPECT_EQ(Items(dialog, IDC_DEVICE_COMBO), (std::vector<std::string>{"Soft", "Adapter"}));
        EXPECT_EQ(Selected(dialog, IDC_DEVICE_COMBO), 0);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_WINDOWED_CHECKBOX), BST_CHECKED);
        EXPECT_TRUE(Enabled(dialog, IDC_WINDOWED_CHECKBOX));
        EXPECT_FALSE(Enabled(dialog, IDC_MODE_COMBO));
        EXPECT_FALSE(Enabled(dialog, IDC_FULLSCREEN_TEXT));
        EXPECT_EQ(Items(dialog, IDC_MODE_COMBO),
                  (std::vector<std::string>{"640 x 480 x 16", "800 x 600 x 32"}));
        EXPECT_EQ(Selected(dialog, IDC_MODE_COMBO), 0);
        user.Click(dialog, IDOK);
    }});
    DeviceRecord* before = current;
    EXPECT_EQ(D3DEnum_ChangeDeviceDialog(&current), E_FAIL);
    EXPECT_EQ(current, before);
    EXPECT_TRUE(current->windowed);
    EXPECT_EQ(current->current_mode, 0u);
}

TEST_F(Dialog, ADeviceThatCannotDrawInAWindowClearsAndDisablesTheCheckBox)
{
    User({[](Headless_Backend& user, HWND dialog) { user.Choose(dialog, IDC_DEVICE_COMBO, 1); },
          [](Headless_Backend& user, HWND dialog) {
              EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_WINDOWED_CHECKBOX), BST_UNCHECKED);
              EXPECT_FALSE(Enabled(dialog, IDC_WINDOWED_CHECKBOX));
              EXPECT_TRUE(Enabled(dialog, IDC_MODE_COMBO));
              EXPECT_EQ(Items(dialog, IDC_MODE_COMBO)[0], "1024 x 768 x 16");
              // A disabled check box takes no clicks.
              EXPECT_FALSE(user.Click(dialog, IDC_WINDOWED_CHECKBOX));
              user.Choose(dialog, IDC_MODE_COMBO, 1);
          },
          [](Headless_Backend& user, HWND dialog) { user.Click(dialog, IDOK); }});
    ASSERT_EQ(D3DEnum_ChangeDeviceDialog(&current), S_OK);
    EXPECT_STREQ(current->description, "Adapter");
    EXPECT_FALSE(current->windowed);
    EXPECT_EQ(current->current_mode, 1u);
    EXPECT_EQ(current->fullscreen_mode.dwWidth, 1280u);
}

TEST_F(Dialog, UncheckingWindowedEnablesTheModesAndOkStoresTheMode)
{
    DeviceRecord* before = current;
    User({[](Headless_Backend& user, HWND dialog) { user.Click(dialog, IDC_WINDOWED_CHECKBOX); },
          [](Headless_Backend& user, HWND dialog) {
              EXPECT_TRUE(Enabled(dialog, IDC_MODE_COMBO));
              user.Choose(dialog, IDC_MODE_COMBO, 1);
          },
          [](Headless_Backend& user, HWND dialog) {
              EXPECT_EQ(Selected(dialog, IDC_MODE_COMBO), 1);
              user.Click(dialog, IDOK);
          }});
    ASSERT_EQ(D3DEnum_ChangeDeviceDialog(&current), S_OK);
    EXPECT_EQ(current, before);
    EXPECT_FALSE(current->windowed);
    EXPECT_EQ(current->fullscreen_mode.dwWidth, 800u);
}

TEST_F(Dialog, ClosingTheDialogChangesNothing)
{
    User({[](Headless_Backend& user, HWND dialog) {
        user.Click(dialog, IDC_WINDOWED_CHECKBOX);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    }});
    DeviceRecord* before = current;
    EXPECT_EQ(D3DEnum_ChangeDeviceDialog(&current), E_FAIL);
    EXPECT_EQ(current, before);
    EXPECT_TRUE(current->windowed);
}

} // namespace
