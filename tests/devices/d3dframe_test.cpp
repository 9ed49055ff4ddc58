// The framework on the headless platform: windowed and full-screen surfaces in the right
// sizes and formats, the viewport, the z-buffer choice, presenting, closing with the
// reference-count check, and the failure codes with their debug lines.
#include "d3dframe/d3dframe.h"
#include "d3dframe/framework_error.h"
#include "platform/graphics/dd_codes.h"
#include "platform/graphics/device_caps.h"
#include "platform/system/debug_output.h"
#include "platform/system/display_mode.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"

#include "staged_mode.h"
#include <cstring>

#include <gtest/gtest.h>

namespace {

class Framework : public ::testing::Test {
protected:
    void SetUp() override
    {
        Set_Display_Mode_Source(&desktop);
        Install_Window_System(nullptr);
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.lpszClassName = "Framework Test";
        RegisterClassA(&window_class);
        // Its client area is 320 × 240 with its corner at (100, 50) on the screen.
        hwnd = CreateWindowExA(0, "Framework Test", "", WS_POPUP, 100, 50, 320, 240, nullptr, nullptr,
                               nullptr, nullptr);
        Set_Debug_Output_Sink([this](const std::string& text) { debug += text; });
    }
    void TearDown() override
    {
        EXPECT_EQ(framework.CloseDevice(), S_OK);
        Set_Display_Mode_Source(nullptr);
        Install_Window_System(nullptr);
        Set_Debug_Output_Sink(nullptr);
        Reset_Direct3D_Devices();
    }
    HRESULT Open_Windowed(DWORD flags = FW_ZBUFFER)
    {
        return framework.OpenDevice(hwnd, nullptr, &software, nullptr, flags);
    }
    void Expect_Closed()
    {
        EXPECT_EQ(framework.GetDirectDraw(), nullptr);
        EXPECT_EQ(framework.GetD3DDevice(), nullptr);
        EXPECT_EQ(framework.GetRenderSurface(), nullptr);
        EXPECT_EQ(framework.GetFrontBuffer(), nullptr);
        EXPECT_EQ(framework.GetZBuffer(), nullptr);
    }

    Fixed_Display_Mode desktop{1024, 768, 32};
    HWND hwnd = nullptr;
    GUID software = IID_IDirect3DRGBDevice;
    CD3DFramework7 framework;
    std::string debug;
};

TEST_F(Framework, WindowedBackBufferHasTheClientAreaAndTheDesktopsFormat)
{
    ASSERT_EQ(Open_Windowed(), S_OK);
    IDirectDrawSurface7* back = framework.GetRenderSurface();
    EXPECT_EQ(back->Width(), 320u);
    EXPECT_EQ(back->Height(), 240u);
    EXPECT_EQ(back->Format().dwRGBBitCount, 32u);
    EXPECT_EQ(framework.Screen_Rect().left, 100);
    EXPECT_EQ(framework.Screen_Rect().bottom, 290);
    EXPECT_EQ(framework.Device_Memory_Type(), static_cast<DWORD>(DDSCAPS_SYSTEMMEMORY));
    D3DVIEWPORT7 viewport{};
    ASSERT_EQ(framework.GetD3DDevice()->GetViewport(&viewport), D3D_OK);
    EXPECT_EQ(viewport.dwWidth, 320u);
    EXPECT_EQ(viewport.dwHeight, 240u);
    EXPECT_EQ(viewport.dvMaxZ, 1.0f);
    ASSERT_NE(framework.GetZBuffer(), nullptr);
    EXPECT_EQ(framework.GetZBuffer()->Format().dwZBufferBitDepth, 32u);

    framework.MoveScreenRect(10, 20);
    EXPECT_EQ(framework.Screen_Rect().right, 330);
    IDirect3DDevice7* device = framework.GetD3DDevice();
    device->BeginScene();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00FF2010, 1.0f, 0);
    device->EndScene();
    ASSERT_EQ(framework.PresentFrame(), S_OK);
    const Presented_Frame* frame = The_Headless_Backend().Last_Frame(hwnd);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Count, 1u);
    ASSERT_EQ(frame->Pixels.size(), 320u * 240u);
    EXPECT_EQ(frame->Pixels[320 * 100 + 50], 0xFF2010u);
}

TEST_F(Framework, SixteenBitDesktopGivesAFiveSixFiveBackBuffer)
{
    desktop.Mode.Bits_Per_Pixel = 16;
    ASSERT_EQ(Open_Windowed(), S_OK);
    EXPECT_EQ(framework.GetRenderSurface()->Format().dwGBitMask, 0x07E0u);
    EXPECT_EQ(framework.GetZBuffer()->Format().dwZBufferBitDepth, 16u);
}

TEST_F(Framework, TooFewColoursStopsBothOpensBeforeAnySurface)
{
    desktop.Mode.Bits_Per_Pixel = 8;
    EXPECT_EQ(Open_Windowed(), FWERR_DESKTOP_TOO_FEW_COLOURS);
    Expect_Closed();
    DDSURFACEDESC2 mode = Mode(640, 480, 16);
    EXPECT_EQ(framework.OpenDevice(hwnd, nullptr, &software, &mode, FW_FULLSCREEN),
              FWERR_DESKTOP_TOO_FEW_COLOURS);
    Expect_Closed();
}

TEST_F(Framework, FullScreenRendersAtTheModeAndIgnoresMoves)
{
    DDSURFACEDESC2 mode = Mode(640, 480, 16, true);
    ASSERT_EQ(framework.OpenDevice(hwnd, nullptr, &software, &mode, FW_FULLSCREEN | FW_ZBUFFER), S_OK);
    EXPECT_TRUE(framework.Is_Fullscreen());
    EXPECT_FALSE(framework.Is_Stereo()); // not asked for
    EXPECT_EQ(framework.GetRenderSurface()->Width(), 640u);
    EXPECT_EQ(framework.GetRenderSurface()->Format().dwGBitMask, 0x07E0u);
    framework.MoveScreenRect(10, 20);
    EXPECT_EQ(framework.Screen_Rect().left, 0);
    EXPECT_EQ(framework.Screen_Rect().right, 640);
    IDirect3DDevice7* device = framework.GetD3DDevice();
    device->BeginScene();
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00FFFFFF, 1.0f, 0);
    device->EndScene();
    // The emulated 640 × 480 mode keeps its aspect in a wider window: black bars beside it.
    SetWindowPos(hwnd, nullptr, 0, 0, 400, 240, SWP_NOZORDER | SWP_NOMOVE);
    ASSERT_EQ(framework.PresentFrame(), S_OK);
    const Presented_Frame* frame = The_Headless_Backend().Last_Frame(hwnd);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Width, 400);
    EXPECT_EQ(frame->Pixels[0], 0u);
    EXPECT_EQ(frame->Pixels[40], 0xFFFFFFu); // the white frame is in front after the flip
    EXPECT_EQ(frame->Pixels[359], 0xFFFFFFu);
    EXPECT_EQ(frame->Pixels[360], 0u);
}

TEST_F(Framework, StereoIsUsedOnlyFullScreenInAStereoMode)
{
    DDSURFACEDESC2 plain = Mode(640, 480, 32);
    ASSERT_EQ(framework.OpenDevice(hwnd, nullptr, &software, &plain, FW_FULLSCREEN | FW_STEREO), S_OK);
    EXPECT_FALSE(framework.Is_Stereo());
    EXPECT_EQ(framework.CloseDevice(), S_OK);
    ASSERT_EQ(Open_Windowed(FW_STEREO), S_OK);
    EXPECT_FALSE(framework.Is_Stereo());
}

TEST_F(Framework, ZBufferFallsBackToSixteenBitsOrIsLeftOut)
{
    Direct3D_Devices()[0].Z_Buffer_Depths = {16, 24};
    ASSERT_EQ(Open_Windowed(), S_OK);
    EXPECT_EQ(framework.GetZBuffer()->Format().dwZBufferBitDepth, 16u);
    EXPECT_EQ(framework.CloseDevice(), S_OK);

    Direct3D_Devices()[0].Caps.dpcTriCaps.dwRasterCaps |= D3DPRASTERCAPS_ZBUFFERLESSHSR;
    ASSERT_EQ(Open_Windowed(), S_OK);
    EXPECT_EQ(framework.GetZBuffer(), nullptr);
    EXPECT_EQ(framework.CloseDevice(), S_OK);

    Direct3D_Devices()[0].Caps.dpcTriCaps.dwRasterCaps = 0;
    Direct3D_Devices()[0].Z_Buffer_Depths = {24};
    EXPECT_EQ(Open_Windowed(), FWERR_NO_ZBUFFER);
    EXPECT_NE(debug.find("Device doesn't support requested zbuffer format"), std::string::npos);
    Expect_Closed();
}

TEST_F(Framework, FailuresCloseEverythingAndSayWhy)
{
    EXPECT_EQ(framework.PresentFrame(), FWERR_NOT_OPEN);
    EXPECT_EQ(framework.OpenDevice(nullptr, nullptr, &software, nullptr, 0), E_INVALIDARG);
    EXPECT_EQ(framework.OpenDevice(hwnd, nullptr, &software, nullptr, FW_FULLSCREEN), E_INVALIDARG);

    DDSURFACEDESC2 odd = Mode(123, 45, 16);
    EXPECT_EQ(framework.OpenDevice(hwnd, nullptr, &software, &odd, FW_FULLSCREEN), FWERR_BAD_DISPLAY_MODE);
    EXPECT_NE(debug.find("d3dframe\\d3dframe("), std::string::npos);
    EXPECT_NE(debug.find("Can't set display mode"), std::string::npos);
    Expect_Closed();

    Direct3D_Devices()[0].Creatable = false;
    EXPECT_EQ(Open_Windowed(), FWERR_NO_DEVICE);
    EXPECT_NE(debug.find("Couldn't create the D3DDevice"), std::string::npos);
    Expect_Closed();

    Direct3D_Unavailable = true;
    EXPECT_EQ(Open_Windowed(), FWERR_NO_DIRECT3D);
    Expect_Closed();
    EXPECT_EQ(framework.PresentFrame(), FWERR_NOT_OPEN);
}

TEST_F(Framework, CloseReportsObjectsStillReferencedAndReleasesAnyway)
{
    ASSERT_EQ(Open_Windowed(), S_OK);
    IDirect3DDevice7* kept = framework.GetD3DDevice();
    kept->AddRef();
    EXPECT_EQ(framework.CloseDevice(), FWERR_REFCOUNT_LEFT);
    EXPECT_NE(debug.find("Error: D3DDevice object is still referenced!"), std::string::npos);
    EXPECT_NE(debug.find("Error: DDraw object is still referenced!"), std::string::npos);
    Expect_Closed();
    kept->Release();
    ASSERT_EQ(Open_Windowed(), S_OK); // opens again after a close
}

} // namespace
