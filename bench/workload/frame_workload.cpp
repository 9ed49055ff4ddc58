// The frame workload: its geometry, its texture and its drawing on our devices.
#include "workload/frame_workload.h"

#include "platform/graphics/dd_codes.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/directdraw.h"

#include <cmath>
#include <cstring>

namespace workload {
namespace {

constexpr double Turn = 6.2831855;

std::vector<D3DTLVERTEX> Screen_Fan(DWORD width, DWORD height, int symmetry, D3DCOLOR colour)
{
    double cx = width * 0.5, cy = height * 0.5, r = (std::sqrt(cx * cx + cy * cy) + 16) * 1.5;
    std::vector<D3DTLVERTEX> v;
    for (int i = 0; i < symmetry; ++i) {
        double a0 = Turn * i / symmetry, a1 = Turn * (i + 1) / symmetry;
        float t = static_cast<float>(i % 2);
        v.push_back({static_cast<float>(cx), static_cast<float>(cy), 0, 0.5f, colour, 0, 0, 0});
        v.push_back({static_cast<float>(cx + r * std::sin(a0)), static_cast<float>(cy - r * std::cos(a0)), 0,
                     0.5f, colour, 0, 1, 1 - t});
        v.push_back({static_cast<float>(cx + r * std::sin(a1)), static_cast<float>(cy - r * std::cos(a1)), 0,
                     0.5f, colour, 0, 1, t});
    }
    return v;
}

std::vector<D3DLVERTEX> World_Fan(int symmetry, D3DCOLOR colour)
{
    std::vector<D3DLVERTEX> v;
    for (int i = 0; i < symmetry; ++i) {
        double a0 = Turn * i / symmetry, a1 = Turn * (i + 1) / symmetry;
        float t = static_cast<float>(i % 2);
        v.push_back({0, 0, -19, 0, colour, 0, 0, 0});
        v.push_back({static_cast<float>(1.5 * std::sin(a1)), static_cast<float>(-1.5 * std::cos(a1)), -19, 0,
                     colour, 0, 1, t});
        v.push_back({static_cast<float>(1.5 * std::sin(a0)), static_cast<float>(-1.5 * std::cos(a0)), -19, 0,
                     colour, 0, 1, 1 - t});
    }
    return v;
}

} // namespace

Frame_Geometry Make_Frame_Geometry(DWORD width, DWORD height)
{
    Frame_Geometry g;
    g.background = Screen_Fan(width, height, 12, 0x80808080);
    g.midground = Screen_Fan(width, height, 24, 0x60606060);
    g.foreground = World_Fan(72, 0x70707070);
    float wx = width * 0.5f - 128, wy = height * 0.5f - 128;
    g.wall = {{wx, wy + 256, 0, 0.5f, 0xAFAFAFAF, 0, 0, 1},
              {wx, wy, 0, 0.5f, 0xAFAFAFAF, 0, 0, 0},
              {wx + 256, wy + 256, 0, 0.5f, 0xAFAFAFAF, 0, 1, 1},
              {wx + 256, wy, 0, 0.5f, 0xAFAFAFAF, 0, 1, 0}};
    g.view._11 = g.view._22 = g.view._33 = g.view._44 = 1.0f;
    g.view._43 = 20.0f;
    float t = std::cos(0.785f) / std::sin(0.785f), q = 100.0f / 99.0f;
    g.projection._11 = g.projection._22 = t, g.projection._33 = q, g.projection._34 = 1.0f;
    g.projection._43 = -q;
    g.world._11 = std::cos(0.4f), g.world._12 = std::sin(0.4f), g.world._21 = -std::sin(0.4f);
    g.world._22 = std::cos(0.4f), g.world._33 = g.world._44 = 1.0f;
    return g;
}

void Fill_Texture(uint8_t* pixels, int pitch)
{
    for (uint32_t y = 0; y < Texture_Side; ++y)
        for (uint32_t x = 0; x < Texture_Side; ++x) {
            uint32_t texel = (x << 16) | (y << 8) | ((x ^ y) & 255);
            std::memcpy(pixels + y * pitch + x * 4, &texel, 4);
        }
}

Device_Frame::Device_Frame(REFGUID device_type, DWORD width, DWORD height, Pixel_Layout layout)
    : geometry_(Make_Frame_Geometry(width, height))
{
    void* object = nullptr;
    DirectDrawCreateEx(nullptr, &object, IID_IDirectDraw7, nullptr);
    directdraw_ = static_cast<IDirectDraw7*>(object);
    target_ = Make_Surface(width, height, layout, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
    texture_ = Make_Surface(Texture_Side, Texture_Side, Pixel_Layout::X8R8G8B8, DDSCAPS_TEXTURE);
    Fill_Texture(texture_->Bits(), texture_->Pitch());
    IDirect3D7* direct3d = nullptr;
    Query_Direct3D7(directdraw_, &direct3d);
    direct3d->CreateDevice(device_type, target_, &device_);
    direct3d->Release();
    Set_States();
}

Device_Frame::~Device_Frame()
{
    device_->Release();
    texture_->Release();
    target_->Release();
    directdraw_->Release();
}

IDirectDrawSurface7* Device_Frame::Make_Surface(DWORD width, DWORD height, Pixel_Layout layout, DWORD caps)
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = DDSURFACEDESC2_SIZE;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = width;
    desc.dwHeight = height;
    desc.ddsCaps.dwCaps = caps;
    desc.ddpfPixelFormat = Make_Pixel_Format(layout);
    IDirectDrawSurface7* surface = nullptr;
    directdraw_->CreateSurface(&desc, &surface);
    return surface;
}

void Device_Frame::Set_States()
{
    device_->SetTransform(D3DTRANSFORMSTATE_VIEW, &geometry_.view);
    device_->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &geometry_.projection);
    device_->SetTransform(D3DTRANSFORMSTATE_WORLD, &geometry_.world);
    device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    device_->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    device_->SetRenderState(D3DRENDERSTATE_DITHERENABLE, TRUE);
    device_->SetRenderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, FALSE);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device_->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    device_->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    device_->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
}

void Device_Frame::Draw()
{
    Frame_Geometry& g = geometry_;
    device_->BeginScene();
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    device_->SetTexture(0, texture_);
    device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    for (size_t i = 0; i < g.background.size(); i += 3)
        device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, &g.background[i], 3, 0);
    device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    for (size_t i = 0; i < g.midground.size(); i += 3)
        device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, &g.midground[i], 3, 0);
    device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, g.wall.data(), 4, 0);
    for (size_t i = 0; i < g.foreground.size(); i += 3)
        device_->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_LVERTEX, &g.foreground[i], 3, 0);
    device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    device_->EndScene();
}

} // namespace workload
