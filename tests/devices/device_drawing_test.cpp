// Drawing through the device interface: the software and reference devices agree byte for
// byte on random draw lists (world and screen vertices, every primitive type, states,
// textures of every offered format, viewports, all target formats); clears respect the
// viewport; a texture released while its draws are still queued stays readable.
#include "device_fixture.h"
#include "platform/system/random.h"

namespace {

struct Draw_List {
    explicit Draw_List(uint32_t seed) { random.Seed(seed); }
    int Below(int n) { return random.Next() % n; }
    float Between(double lo, double hi)
    {
        return static_cast<float>(lo + (hi - lo) * random.Next() / 32767.0);
    }
    D3DCOLOR Colour()
    {
        return static_cast<D3DCOLOR>(random.Next()) << 17 ^ static_cast<D3DCOLOR>(random.Next());
    }
    Random_Generator random;
};

class Device_Drawing : public Device_Test {
protected:
    static void Set_Random_States(Draw_List& list, IDirect3DDevice7* device,
                                  const std::vector<IDirectDrawSurface7*>& textures)
    {
        device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, list.Below(2));
        device->SetRenderState(D3DRENDERSTATE_DESTBLEND, list.Below(3) ? D3DBLEND_ONE : D3DBLEND_ZERO);
        device->SetRenderState(D3DRENDERSTATE_DITHERENABLE, list.Below(2));
        device->SetRenderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, list.Below(2));
        device->SetRenderState(D3DRENDERSTATE_CULLMODE, 1 + list.Below(3));
        device->SetTextureStageState(0, D3DTSS_COLOROP, 2 + list.Below(3));
        device->SetTextureStageState(0, D3DTSS_MAGFILTER, 1 + list.Below(2));
        device->SetTextureStageState(0, D3DTSS_MINFILTER, 1 + list.Below(2));
        device->SetTextureStageState(0, D3DTSS_ADDRESS, 1 + list.Below(3));
        device->SetTexture(0, list.Below(8) ? textures[list.Below(8)] : nullptr);
    }

    // Draws one random list with the given device type; returns the target's pixels.
    std::vector<uint8_t> Draw(uint32_t seed, REFGUID type)
    {
        Draw_List list(seed);
        static const Pixel_Layout targets[] = {Pixel_Layout::R5G6B5, Pixel_Layout::X1R5G5B5,
                                               Pixel_Layout::X8R8G8B8};
        DWORD width = 32 + list.Below(300), height = 32 + list.Below(200);
        IDirectDrawSurface7* target = Make_Target(width, height, targets[list.Below(3)]);
        std::vector<IDirectDrawSurface7*> textures;
        for (const DDPIXELFORMAT& format : Rasterizer_Texture_Formats()) {
            DDSURFACEDESC2 desc{};
            desc.dwSize = DDSURFACEDESC2_SIZE;
            desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
            desc.dwWidth = 1 + list.Below(64);
            desc.dwHeight = 1 + list.Below(64);
            desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
            desc.ddpfPixelFormat = format;
            IDirectDrawSurface7* texture = nullptr;
            EXPECT_EQ(DirectDraw->CreateSurface(&desc, &texture), DD_OK);
            Made.push_back(texture);
            for (DWORD y = 0; y < texture->Height(); ++y)
                for (LONG x = 0; x < texture->Pitch(); ++x)
                    texture->Bits()[y * texture->Pitch() + x] = static_cast<uint8_t>(list.Below(256));
            textures.push_back(texture);
        }
        IDirect3DDevice7* device = Make_Device(type, target);
        D3DVIEWPORT7 viewport{static_cast<DWORD>(list.Below(10)),
                              static_cast<DWORD>(list.Below(10)),
                              width - 10 - list.Below(10),
                              height - 10 - list.Below(10),
                              0.0f,
                              1.0f};
        EXPECT_EQ(device->SetViewport(&viewport), D3D_OK);
        D3DMATRIX view = Scene_View(), projection = Scene_Projection(),
                  world = Rotation_Z(list.Between(-3, 3));
        device->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
        device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection);
        device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
        device->BeginScene();
        device->Clear(0, nullptr, D3DCLEAR_TARGET, list.Colour(), 1.0f, 0);
        for (int draw = 0; draw < 30; ++draw) {
            if (list.Below(2)) {
                Set_Random_States(list, device, textures);
            } else { // the scene's own states, now and then with 16-bit or palettised textures
                Set_Scene_States(device);
                device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, list.Below(4) != 0);
                device->SetTexture(0, textures[list.Below(3) ? 5 : list.Below(8)]);
            }
            D3DPRIMITIVETYPE type = static_cast<D3DPRIMITIVETYPE>(D3DPT_TRIANGLELIST + list.Below(3));
            DWORD count = 3 + list.Below(6);
            if (list.Below(2)) {
                std::vector<D3DLVERTEX> v(count);
                for (D3DLVERTEX& p : v)
                    p = {
                        list.Between(-3, 3), list.Between(-3, 3), list.Between(-22, -14), 0, list.Colour(), 0,
                        list.Between(-1, 2), list.Between(-1, 2)};
                EXPECT_EQ(device->DrawPrimitive(type, D3DFVF_LVERTEX, v.data(), count, 0), D3D_OK);
            } else {
                std::vector<D3DTLVERTEX> v(count);
                for (D3DTLVERTEX& p : v)
                    p = {list.Between(-0.5 * width, 1.5 * width),
                         list.Between(-0.5 * height, 1.5 * height),
                         0,
                         list.Between(0.05, 1),
                         list.Colour(),
                         0,
                         list.Between(-1, 2),
                         list.Between(-1, 2)};
                EXPECT_EQ(device->DrawPrimitive(type, D3DFVF_TLVERTEX, v.data(), count, 0), D3D_OK);
            }
        }
        device->EndScene();
        return Pixels(target);
    }
};

TEST_F(Device_Drawing, SoftwareAndReferenceDevicesAgreeOnRandomDrawLists)
{
    for (uint32_t seed = 1; seed <= 60; ++seed)
        ASSERT_TRUE(Draw(seed, IID_IDirect3DRGBDevice) == Draw(seed, IID_IDirect3DRefDevice))
            << "seed " << seed;
}

TEST_F(Device_Drawing, ClearFillsTheViewportOnlyInTheTargetsFormat)
{
    IDirectDrawSurface7* target = Make_Target(16, 8, Pixel_Layout::R5G6B5);
    IDirect3DDevice7* device = Make_Device(IID_IDirect3DRGBDevice, target);
    D3DVIEWPORT7 viewport{4, 2, 8, 4, 0.0f, 1.0f};
    ASSERT_EQ(device->SetViewport(&viewport), D3D_OK);
    device->BeginScene();
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00FF8000, 1.0f, 0), D3D_OK);
    D3DRECT partly_outside{0, 0, 5, 3};
    ASSERT_EQ(device->Clear(1, &partly_outside, D3DCLEAR_TARGET, 0x000000FF, 1.0f, 0), D3D_OK);
    device->EndScene();
    for (DWORD y = 0; y < 8; ++y)
        for (DWORD x = 0; x < 16; ++x) {
            uint16_t p;
            std::memcpy(&p, target->Bits() + y * target->Pitch() + x * 2, 2);
            bool inside = x >= 4 && x < 12 && y >= 2 && y < 6;
            uint16_t expected = !inside ? 0 : (x == 4 && y == 2) ? 0x001F : (31 << 11) | (32 << 5);
            ASSERT_EQ(p, expected) << x << "," << y;
        }
}

// Flipping swaps the chain's memory: each frame is drawn into the back buffer of that moment.
TEST_F(Device_Drawing, EveryFrameOfAFlippingChainIsDrawnIntoTheBackBuffer)
{
    Desktop.Mode = {800, 600, 32};
    HWND window = reinterpret_cast<HWND>(1);
    ASSERT_EQ(DirectDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
    ASSERT_EQ(DirectDraw->SetDisplayMode(640, 480, 32, 0, 0), DD_OK);
    DDSURFACEDESC2 desc = Flipping_Chain_Desc(DDSCAPS_3DDEVICE);
    IDirectDrawSurface7* front = nullptr;
    ASSERT_EQ(DirectDraw->CreateSurface(&desc, &front), DD_OK);
    IDirectDrawSurface7* back = Back_Buffer_Of(front);
    ASSERT_NE(back, nullptr);
    for (const GUID* type : {&IID_IDirect3DRGBDevice, &IID_IDirect3DRefDevice}) {
        IDirect3DDevice7* device = Make_Device(*type, back);
        for (const uint32_t colour : {0xFF0000u, 0x00FF00u, 0x0000FFu}) {
            device->BeginScene();
            device->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0);
            device->EndScene();
            ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
            EXPECT_EQ(Pixel_32(front, 10, 10), colour);
        }
    }
    back->Release();
    front->Release();
}

TEST_F(Device_Drawing, TextureReleasedWhileQueuedIsStillDrawn)
{
    IDirectDrawSurface7* target = Make_Target(300, 200);
    IDirect3DDevice7* device = Make_Device(IID_IDirect3DRGBDevice, target);
    IDirectDrawSurface7* texture = Make_Texture(4, 4, Pixel_Layout::X8R8G8B8);
    Made.pop_back(); // the test gives its reference away below
    std::memset(texture->Bits(), 0x40, texture->Pitch() * 4);
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    device->BeginScene();
    device->SetTexture(0, texture);
    D3DTLVERTEX quad[4] = {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0, 0},
                           {300, 0, 0, 1, 0xFFFFFFFF, 0, 1, 0},
                           {0, 200, 0, 1, 0xFFFFFFFF, 0, 0, 1},
                           {300, 200, 0, 1, 0xFFFFFFFF, 0, 1, 1}};
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, quad, 4, 0);
    device->SetTexture(0, nullptr);
    EXPECT_EQ(texture->Release(), 1u); // the queued draw still holds it
    device->EndScene();
    EXPECT_EQ(Pixel_32(target, 150, 100), 0x404040u);
}

TEST_F(Device_Drawing, UnsupportedInputsAreRefused)
{
    IDirectDrawSurface7* target = Make_Target(8, 8);
    IDirect3DDevice7* device = Make_Device(IID_IDirect3DRefDevice, target);
    D3DTLVERTEX v[3] = {};
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0x102, v, 3, 0), D3DERR_INVALIDVERTEXTYPE);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_LINELIST, D3DFVF_TLVERTEX, v, 3, 0), D3DERR_INVALIDPRIMITIVETYPE);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, nullptr, 3, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, v, 0x10000, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_TLVERTEX, v, 2, 0), D3D_OK); // no triangle

    IDirect3D7* direct3d = nullptr;
    ASSERT_EQ(Query_Direct3D7(DirectDraw, &direct3d), D3D_OK);
    IDirect3DDevice7* on_24_bits = nullptr;
    EXPECT_EQ(
        direct3d->CreateDevice(IID_IDirect3DRGBDevice, Make_Target(8, 8, Pixel_Layout::R8G8B8), &on_24_bits),
        DDERR_INVALIDPIXELFORMAT);
    EXPECT_EQ(on_24_bits, nullptr);
    EXPECT_EQ(direct3d->CreateDevice(IID_IDirect3DHALDevice, target, &on_24_bits), DDERR_INVALIDPARAMS);
    direct3d->Release();
}

} // namespace

TEST_F(Device_Drawing, TexturesChangedBetweenFramesAreSampledAsChanged)
{
    // The software device samples 16-bit and palettised textures through copies it keeps
    // over frames: a change through Lock or the palette must reach the next frame.
    IDirectDrawSurface7* target = Make_Target(8, 8);
    IDirect3DDevice7* device = Make_Device(IID_IDirect3DRGBDevice, target);
    IDirectDrawSurface7* sixteen = Make_Texture(2, 2, Pixel_Layout::R5G6B5);
    IDirectDrawSurface7* indexed = Make_Texture(2, 2, Pixel_Layout::P8);
    PALETTEENTRY entries[256] = {};
    IDirectDrawPalette* palette = nullptr;
    ASSERT_EQ(DirectDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette), DD_OK);
    indexed->SetPalette(palette);
    palette->Release();
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    D3DTLVERTEX quad[4] = {{-1, -1, 0, 1, 0xFFFFFFFF, 0, 0, 0},
                           {9, -1, 0, 1, 0xFFFFFFFF, 0, 1, 0},
                           {-1, 9, 0, 1, 0xFFFFFFFF, 0, 0, 1},
                           {9, 9, 0, 1, 0xFFFFFFFF, 0, 1, 1}};
    auto frame = [&](IDirectDrawSurface7* texture) {
        device->BeginScene();
        device->SetTexture(0, texture);
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, quad, 4, 0);
        device->EndScene();
        return Pixel_32(target, 4, 4);
    };
    EXPECT_EQ(frame(sixteen), 0u);
    DDSURFACEDESC2 desc{};
    desc.dwSize = DDSURFACEDESC2_SIZE;
    ASSERT_EQ(sixteen->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    for (int y = 0; y < 2; ++y)
        std::memset(static_cast<uint8_t*>(desc.lpSurface) + y * desc.lPitch, 0xFF, 4);
    sixteen->Unlock(nullptr);
    EXPECT_EQ(frame(sixteen), 0xFFFFFFu);
    EXPECT_EQ(frame(indexed), 0u);
    PALETTEENTRY grey{0x80, 0x80, 0x80, 0};
    palette->SetEntries(0, 0, 1, &grey);
    EXPECT_EQ(frame(indexed), 0x808080u);
}
