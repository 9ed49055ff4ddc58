// Shared helpers of the device tests: a DirectDraw object, render targets and textures, the
// two drawing devices, and the program's own camera, projection and render states.
#pragma once

#include "../graphics/graphics_fixture.h"
#include "platform/graphics/dd_codes.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/direct3d.h"
#include "platform/graphics/rasterizer_device.h"
#include "platform/system/display_mode.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

class Device_Test : public Graphics_Test {
protected:
    void TearDown() override
    {
        for (auto* d : Devices)
            d->Release();
        Graphics_Test::TearDown();
        Reset_Direct3D_Devices();
    }

    IDirectDrawSurface7* Make_Target(DWORD width, DWORD height, Pixel_Layout layout = Pixel_Layout::X8R8G8B8)
    {
        return Make(width, height, layout, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
    }
    IDirectDrawSurface7* Make_Texture(DWORD width, DWORD height, Pixel_Layout layout)
    {
        return Make(width, height, layout, DDSCAPS_TEXTURE);
    }

    IDirect3DDevice7* Make_Device(REFGUID type, IDirectDrawSurface7* target)
    {
        IDirect3D7* direct3d = nullptr;
        EXPECT_EQ(Query_Direct3D7(DirectDraw, &direct3d), D3D_OK);
        IDirect3DDevice7* device = nullptr;
        EXPECT_EQ(direct3d->CreateDevice(type, target, &device), D3D_OK);
        direct3d->Release();
        if (device)
            Devices.push_back(device);
        return device;
    }

    static std::vector<uint8_t> Pixels(IDirectDrawSurface7* surface)
    {
        std::vector<uint8_t> bytes;
        for (DWORD y = 0; y < surface->Height(); ++y) {
            const uint8_t* row = surface->Bits() + y * surface->Pitch();
            bytes.insert(bytes.end(), row, row + surface->Width() * Bytes_Per_Pixel(surface->Format()));
        }
        return bytes;
    }
    static uint32_t Pixel_32(IDirectDrawSurface7* surface, DWORD x, DWORD y)
    {
        uint32_t value;
        std::memcpy(&value, surface->Bits() + y * surface->Pitch() + x * 4, 4);
        return value & 0xFFFFFF;
    }

    std::vector<IDirect3DDevice7*> Devices;
};

// The scene's camera: eye (0, 0, -20) looking at the origin, up (0, 1, 0); projection with a
// field of view of 1.57, aspect 1, near 1, far 100 (row-vector matrices).
inline D3DMATRIX Scene_View()
{
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    m._43 = 20.0f;
    return m;
}
inline D3DMATRIX Scene_Projection()
{
    float t = std::cos(1.57f / 2) / std::sin(1.57f / 2), q = 100.0f / 99.0f;
    D3DMATRIX m{};
    m._11 = t, m._22 = t, m._33 = q, m._34 = 1.0f, m._43 = -q * 1.0f;
    return m;
}
inline D3DMATRIX Rotation_Z(float angle)
{
    D3DMATRIX m{};
    m._11 = std::cos(angle), m._12 = std::sin(angle), m._21 = -std::sin(angle), m._22 = std::cos(angle);
    m._33 = m._44 = 1.0f;
    return m;
}

// The render and texture-stage states the scene sets when its device objects are made.
inline void Set_Scene_States(IDirect3DDevice7* device)
{
    const std::pair<D3DRENDERSTATETYPE, DWORD> states[] = {
        {D3DRENDERSTATE_AMBIENT, 0},
        {D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE},
        {D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE},
        {D3DRENDERSTATE_DITHERENABLE, TRUE},
        {D3DRENDERSTATE_LIGHTING, FALSE},
        {D3DRENDERSTATE_SPECULARENABLE, FALSE},
        {D3DRENDERSTATE_ANTIALIAS, FALSE},
        {D3DRENDERSTATE_TEXTUREPERSPECTIVE, FALSE},
        {D3DRENDERSTATE_ZENABLE, FALSE},
        {D3DRENDERSTATE_ZWRITEENABLE, FALSE},
        {D3DRENDERSTATE_ALPHABLENDENABLE, FALSE},
        {D3DRENDERSTATE_FOGENABLE, FALSE},
        {D3DRENDERSTATE_ZVISIBLE, FALSE},
        {D3DRENDERSTATE_STIPPLEDALPHA, FALSE},
        {D3DRENDERSTATE_EDGEANTIALIAS, FALSE},
        {D3DRENDERSTATE_COLORKEYENABLE, FALSE},
        {D3DRENDERSTATE_STENCILENABLE, FALSE},
    };
    for (auto [state, value] : states)
        EXPECT_EQ(device->SetRenderState(state, value), D3D_OK) << state;
    EXPECT_EQ(device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE), D3D_OK);
    EXPECT_EQ(device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE), D3D_OK);
    EXPECT_EQ(device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE), D3D_OK);
    EXPECT_EQ(device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR), D3D_OK);
    EXPECT_EQ(device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR), D3D_OK);
    EXPECT_EQ(device->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP), D3D_OK);
}
