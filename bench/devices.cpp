// Frame workload of the scene on both drawing devices: clear; the opaque background fan of
// 12; the additive midground fan of 24; the wall square; the additive foreground fan of 72
// world-space triangles; 256 x 256 textures, bilinear, modulated, dithered states as the
// scene sets them. Reported in milliseconds per frame at three screen sizes.
#include "platform/graphics/dd_codes.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/direct3d.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct Frame_Setup {
    IDirectDraw7* directdraw = nullptr;
    IDirectDrawSurface7* target = nullptr;
    IDirectDrawSurface7* texture = nullptr;
    IDirect3DDevice7* device = nullptr;

    Frame_Setup(REFGUID type, DWORD width, DWORD height, Pixel_Layout layout)
    {
        void* object = nullptr;
        DirectDrawCreateEx(nullptr, &object, IID_IDirectDraw7, nullptr);
        directdraw = static_cast<IDirectDraw7*>(object);
        target = Make(width, height, layout, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
        texture = Make(256, 256, Pixel_Layout::X8R8G8B8, DDSCAPS_TEXTURE);
        for (DWORD y = 0; y < 256; ++y)
            for (DWORD x = 0; x < 256; ++x) {
                uint32_t texel = (x << 16) | (y << 8) | ((x ^ y) & 255);
                std::memcpy(texture->Bits() + y * texture->Pitch() + x * 4, &texel, 4);
            }
        IDirect3D7* direct3d = nullptr;
        Query_Direct3D7(directdraw, &direct3d);
        direct3d->CreateDevice(type, target, &device);
        direct3d->Release();
        Set_States(width, height);
    }
    ~Frame_Setup()
    {
        device->Release();
        texture->Release();
        target->Release();
        directdraw->Release();
    }

    IDirectDrawSurface7* Make(DWORD width, DWORD height, Pixel_Layout layout, DWORD caps)
    {
        DDSURFACEDESC2 desc{};
        desc.dwSize = DDSURFACEDESC2_SIZE;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = width;
        desc.dwHeight = height;
        desc.ddsCaps.dwCaps = caps;
        desc.ddpfPixelFormat = Make_Pixel_Format(layout);
        IDirectDrawSurface7* surface = nullptr;
        directdraw->CreateSurface(&desc, &surface);
        return surface;
    }

    void Set_States(DWORD, DWORD)
    {
        D3DMATRIX view{}, projection{}, world{};
        view._11 = view._22 = view._33 = view._44 = 1.0f;
        view._43 = 20.0f;
        float t = std::cos(0.785f) / std::sin(0.785f), q = 100.0f / 99.0f;
        projection._11 = projection._22 = t, projection._33 = q, projection._34 = 1.0f, projection._43 = -q;
        world._11 = std::cos(0.4f), world._12 = std::sin(0.4f), world._21 = -std::sin(0.4f);
        world._22 = std::cos(0.4f), world._33 = world._44 = 1.0f;
        device->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
        device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection);
        device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
        device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
        device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
        device->SetRenderState(D3DRENDERSTATE_DITHERENABLE, TRUE);
        device->SetRenderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, FALSE);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
        device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
        device->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
    }
};

std::vector<D3DTLVERTEX> Screen_Fan(DWORD width, DWORD height, int symmetry, D3DCOLOR colour)
{
    double cx = width * 0.5, cy = height * 0.5, r = (std::sqrt(cx * cx + cy * cy) + 16) * 1.5;
    std::vector<D3DTLVERTEX> v;
    for (int i = 0; i < symmetry; ++i) {
        double a0 = 6.2831855 * i / symmetry, a1 = 6.2831855 * (i + 1) / symmetry;
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
        double a0 = 6.2831855 * i / symmetry, a1 = 6.2831855 * (i + 1) / symmetry;
        float t = static_cast<float>(i % 2);
        v.push_back({0, 0, -19, 0, colour, 0, 0, 0});
        v.push_back({static_cast<float>(1.5 * std::sin(a1)), static_cast<float>(-1.5 * std::cos(a1)), -19, 0,
                     colour, 0, 1, t});
        v.push_back({static_cast<float>(1.5 * std::sin(a0)), static_cast<float>(-1.5 * std::cos(a0)), -19, 0,
                     colour, 0, 1, 1 - t});
    }
    return v;
}

void Frame(benchmark::State& state, const GUID* type, Pixel_Layout layout)
{
    DWORD width = static_cast<DWORD>(state.range(0)), height = static_cast<DWORD>(state.range(1));
    Frame_Setup setup(*type, width, height, layout);
    IDirect3DDevice7* device = setup.device;
    auto background = Screen_Fan(width, height, 12, 0x80808080);
    auto midground = Screen_Fan(width, height, 24, 0x60606060);
    auto foreground = World_Fan(72, 0x70707070);
    float wx = width * 0.5f - 128, wy = height * 0.5f - 128;
    D3DTLVERTEX wall[4] = {{wx, wy + 256, 0, 0.5f, 0xAFAFAFAF, 0, 0, 1},
                           {wx, wy, 0, 0.5f, 0xAFAFAFAF, 0, 0, 0},
                           {wx + 256, wy + 256, 0, 0.5f, 0xAFAFAFAF, 0, 1, 1},
                           {wx + 256, wy, 0, 0.5f, 0xAFAFAFAF, 0, 1, 0}};
    for (auto _ : state) {
        device->BeginScene();
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
        device->SetTexture(0, setup.texture);
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
        for (int i = 0; i < 12; ++i)
            device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, &background[3 * i], 3, 0);
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
        for (int i = 0; i < 24; ++i)
            device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, &midground[3 * i], 3, 0);
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, wall, 4, 0);
        for (int i = 0; i < 72; ++i)
            device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_LVERTEX, &foreground[3 * i], 3, 0);
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
        device->EndScene();
        benchmark::ClobberMemory();
    }
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Args({640, 480})
        ->Args({1280, 720})
        ->Args({1920, 1080})
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime();
}

} // namespace

BENCHMARK_CAPTURE(Frame, software_32, &IID_IDirect3DRGBDevice, Pixel_Layout::X8R8G8B8)->Apply(Sizes);
BENCHMARK_CAPTURE(Frame, reference_32, &IID_IDirect3DRefDevice, Pixel_Layout::X8R8G8B8)->Apply(Sizes);
BENCHMARK_CAPTURE(Frame, software_565, &IID_IDirect3DRGBDevice, Pixel_Layout::R5G6B5)->Apply(Sizes);
BENCHMARK_CAPTURE(Frame, reference_565, &IID_IDirect3DRefDevice, Pixel_Layout::R5G6B5)->Apply(Sizes);
