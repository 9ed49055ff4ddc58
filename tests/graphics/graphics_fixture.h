// Shared helpers of the graphics tests: a DirectDraw object and surfaces made in one call.
#pragma once

#include "platform/graphics/directdraw.h"
#include "platform/system/display_mode.h"

#include <gtest/gtest.h>

class Graphics_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        Set_Display_Mode_Source(&Desktop);
        void* object = nullptr;
        ASSERT_EQ(DirectDrawCreateEx(nullptr, &object, IID_IDirectDraw7, nullptr), DD_OK);
        DirectDraw = static_cast<IDirectDraw7*>(object);
    }
    void TearDown() override
    {
        for (auto* s : Made) {
            s->Release();
        }
        EXPECT_EQ(DirectDraw->Release(), 0u) << "a surface outlived its test";
        Set_Display_Mode_Source(nullptr);
    }

    IDirectDrawSurface7* Make(DWORD width, DWORD height, Pixel_Layout layout, DWORD caps = DDSCAPS_TEXTURE)
    {
        DDSURFACEDESC2 desc{};
        desc.dwSize = DDSURFACEDESC2_SIZE;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        desc.ddsCaps.dwCaps = caps;
        desc.ddpfPixelFormat = Make_Pixel_Format(layout);
        IDirectDrawSurface7* surface = nullptr;
        EXPECT_EQ(DirectDraw->CreateSurface(&desc, &surface), DD_OK);
        if (surface) {
            Made.push_back(surface);
        }
        return surface;
    }

    // A full-screen primary with one back buffer; `extra_caps` adds e.g. DDSCAPS_3DDEVICE.
    static DDSURFACEDESC2 Flipping_Chain_Desc(DWORD extra_caps = 0)
    {
        DDSURFACEDESC2 desc{};
        desc.dwSize = DDSURFACEDESC2_SIZE;
        desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | extra_caps;
        desc.dwBackBufferCount = 1;
        return desc;
    }
    static IDirectDrawSurface7* Back_Buffer_Of(IDirectDrawSurface7* front)
    {
        DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, {0}};
        IDirectDrawSurface7* back = nullptr;
        EXPECT_EQ(front->GetAttachedSurface(&caps, &back), DD_OK);
        return back;
    }

    // The desktop the DirectDraw object sees; tests change its mode.
    Fixed_Display_Mode Desktop{1024, 768, 32};
    IDirectDraw7* DirectDraw = nullptr;
    std::vector<IDirectDrawSurface7*> Made;
};
