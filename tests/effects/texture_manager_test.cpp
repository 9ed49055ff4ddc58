// The effects on the real texture manager: a texture made for the desktop's depth, given a
// surface by the manager's restore, filled by the frame update, and made again in the other
// depth when the desktop changes.
#include <gtest/gtest.h>

#include "d3dframe/d3dtextr.h"
#include "effects/gradient.h"
#include "effects/plasma.h"
#include "effects/sine_wave.h"
#include "platform/graphics/device_base.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/surface.h"
#include "platform/system/random.h"
#include "settings/settings_file.h"
#include "texture_support.h"

namespace {

class Effects_On_Texture_Manager : public ::testing::Test {
protected:
    void SetUp() override
    {
        Program_Random().Reset();
        Live_Settings().Plasma_Contrast = 4;
        Live_Settings().Plasma_Interference = 9.5f;
        Live_Settings().Sine_Wave_Variance = 3;
        Live_Settings().Sine_Wave_Density = 0.85;
        DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&directdraw), IID_IDirectDraw7, nullptr);
        DDSURFACEDESC2 desc{};
        desc.dwSize = DDSURFACEDESC2_SIZE;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = desc.dwHeight = 64;
        desc.ddpfPixelFormat = Make_Pixel_Format(Pixel_Layout::X8R8G8B8);
        desc.ddsCaps.dwCaps = DDSCAPS_3DDEVICE;
        ASSERT_EQ(directdraw->CreateSurface(&desc, &target), DD_OK);
        device = new Caps_Only_Device(IID_IDirect3DRGBDevice, target);
    }
    void TearDown() override
    {
        D3DTextr_DestroyAll();
        device->Release();
        target->Release();
        directdraw->Release();
        Program_Random().Reset();
    }

    IDirectDraw7* directdraw = nullptr;
    IDirectDrawSurface7* target = nullptr;
    IDirect3DDevice7* device = nullptr;
};

TEST_F(Effects_On_Texture_Manager, TexturesFollowTheDesktopDepth)
{
    Plasma plasma;
    Sine_Wave sine;
    Gradient gradient;
    ASSERT_EQ(plasma.Setup_Plasma(128, 128), 1);
    for (int desktop : {32, 16}) {
        effects_test::Desktop_Guard guard(desktop);
        ASSERT_EQ(plasma.Initialise_Plasma_Texture("PlasmaTexture", 128), 1);
        ASSERT_EQ(sine.Initialise_Sine_Wave_Texture("SineTexture", 256), 1);
        ASSERT_EQ(gradient.Initialise_Gradient_Texture("GradientTexture", 256), 1);
        D3DTextr_RestoreAll(device);

        EXPECT_EQ(plasma.Frame_Move("PlasmaTexture", 0.02), 0);
        EXPECT_EQ(sine.Frame_Move("SineTexture", 0.02), 0);
        EXPECT_EQ(gradient.Frame_Move("GradientTexture", 0.03), 0);
        for (const char* name : {"PlasmaTexture", "SineTexture", "GradientTexture"}) {
            IDirectDrawSurface7* surface = D3DTextr_FindSurface(name);
            ASSERT_NE(surface, nullptr);
            EXPECT_EQ(surface->Format().dwRGBBitCount, DWORD(desktop)) << name;
            EXPECT_FALSE(surface->Is_Locked());
        }
        // The textures ask for alpha, so a 16-bit desktop gets 1-5-5-5 and the 5-5-5 fills.
        EXPECT_EQ(plasma.is_565, false);
        uint32_t lit = 0;
        for (DWORD y = 0; y < 128; ++y)
            for (DWORD x = 0; x < 128; ++x)
                lit |= effects_test::Pixel_Of(D3DTextr_FindSurface("PlasmaTexture"), x, y);
        EXPECT_NE(lit, 0u);
    }
}

} // namespace
