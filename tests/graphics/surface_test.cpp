// Surfaces: memory layout, lock, fill, the converting and scaling copy, flip chains, loss.
#include "graphics_fixture.h"

#include "platform/graphics/device_base.h"
#include "platform/graphics/device_caps.h"

#include <cstring>

namespace {

const Pixel_Layout All_Layouts[] = {Pixel_Layout::R5G6B5,   Pixel_Layout::X1R5G5B5, Pixel_Layout::A1R5G5B5,
                                    Pixel_Layout::A4R4G4B4, Pixel_Layout::R8G8B8,   Pixel_Layout::X8R8G8B8,
                                    Pixel_Layout::A8R8G8B8};

uint32_t Read_Pixel(IDirectDrawSurface7* s, int x, int y)
{
    Pixel_Codec codec(s->Format(), s->Palette());
    return codec.Decode(s->Bits() + y * s->Pitch() + x * Bytes_Per_Pixel(s->Format()));
}

void Write_Pixel(IDirectDrawSurface7* s, int x, int y, uint32_t argb)
{
    Pixel_Codec codec(s->Format(), s->Palette());
    codec.Encode(argb, s->Bits() + y * s->Pitch() + x * Bytes_Per_Pixel(s->Format()));
}

} // namespace

TEST_F(Graphics_Test, LockGivesAlignedRowsAndTheDescriptionTheEffectsRead)
{
    IDirectDrawSurface7* s = Make(13, 7, Pixel_Layout::R8G8B8);
    DDSURFACEDESC2 desc{};
    desc.dwSize = DDSURFACEDESC2_SIZE;
    ASSERT_EQ(s->Lock(nullptr, &desc, DDLOCK_WAIT | DDLOCK_WRITEONLY, nullptr), DD_OK);
    EXPECT_EQ(desc.dwWidth, 13u);
    EXPECT_EQ(desc.dwHeight, 7u);
    EXPECT_EQ(desc.lPitch % 16, 0);
    EXPECT_GE(desc.lPitch, 39);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(desc.lpSurface) % 64, 0u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRGBBitCount, 24u);
    EXPECT_EQ(s->Lock(nullptr, &desc, 0, nullptr), DDERR_SURFACEBUSY);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    EXPECT_EQ(s->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DDERR_LOCKEDSURFACES);
    EXPECT_EQ(s->Unlock(nullptr), DD_OK);
    EXPECT_EQ(s->Unlock(nullptr), DDERR_NOTLOCKED);

    RECT part{2, 3, 5, 6};
    ASSERT_EQ(s->Lock(&part, &desc, 0, nullptr), DD_OK);
    EXPECT_EQ(static_cast<uint8_t*>(desc.lpSurface), s->Bits() + 3 * s->Pitch() + 2 * 3);
    s->Unlock(nullptr);
    RECT outside{0, 0, 14, 1};
    EXPECT_EQ(s->Lock(&outside, &desc, 0, nullptr), DDERR_INVALIDRECT);
    desc.dwSize = 100;
    EXPECT_EQ(s->Lock(nullptr, &desc, 0, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(Graphics_Test, ColourFillWritesThePixelValueIntoTheRectangleOnly)
{
    IDirectDrawSurface7* s = Make(4, 3, Pixel_Layout::R5G6B5);
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0xF81F;
    RECT r{1, 1, 3, 3};
    ASSERT_EQ(s->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            uint16_t v;
            std::memcpy(&v, s->Bits() + y * s->Pitch() + x * 2, 2);
            EXPECT_EQ(v, (y >= 1 && x >= 1 && x < 3) ? 0xF81F : 0) << x << "," << y;
        }
    }
    fx.dwSize = 0;
    EXPECT_EQ(s->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDPARAMS);
}

TEST_F(Graphics_Test, CodecExtremesAndWidening)
{
    Pixel_Codec c565(Make_Pixel_Format(Pixel_Layout::R5G6B5));
    EXPECT_EQ(c565.Pixel_Value(0xFFFFFFFF), 0xFFFFu);
    EXPECT_EQ(c565.Pixel_Value(0xFF808080), 0x8410u);
    EXPECT_EQ(c565.Decode_Value(0xFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(c565.Decode_Value(0x8410), 0xFF848284u);
    Pixel_Codec c4444(Make_Pixel_Format(Pixel_Layout::A4R4G4B4));
    EXPECT_EQ(c4444.Pixel_Value(0x80FF0010), 0x8F01u);
    EXPECT_EQ(c4444.Decode_Value(0x8F01), 0x88FF0011u);
}

// Every pair of formats: a colour representable in both comes back unchanged after a copy there
// and back, and the copy lands the colour the source format holds.
TEST_F(Graphics_Test, ConvertingCopyRoundTripsEveryPairOfFormats)
{
    const uint32_t colours[] = {0xFF000000, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00,
                                0xFF0000FF, 0x00FFFFFF, 0xFF808080};
    for (Pixel_Layout from : All_Layouts) {
        for (Pixel_Layout to : All_Layouts) {
            IDirectDrawSurface7* a = Make(7, 1, from);
            IDirectDrawSurface7* b = Make(7, 1, to);
            IDirectDrawSurface7* back = Make(7, 1, from);
            for (int x = 0; x < 7; ++x) {
                Write_Pixel(a, x, 0, colours[x]);
            }
            ASSERT_EQ(b->Blt(nullptr, a, nullptr, DDBLT_WAIT, nullptr), DD_OK);
            ASSERT_EQ(back->Blt(nullptr, b, nullptr, DDBLT_WAIT, nullptr), DD_OK);
            Pixel_Codec cb(b->Format());
            for (int x = 0; x < 7; ++x) {
                uint32_t in_a = Read_Pixel(a, x, 0);
                EXPECT_EQ(Read_Pixel(b, x, 0), cb.Decode_Value(cb.Pixel_Value(in_a)))
                    << int(from) << "->" << int(to) << " x " << x;
                if (x < 6) { // the pure colours survive every format, alpha only where both have it
                    bool alpha_kept =
                        (a->Format().dwFlags & DDPF_ALPHAPIXELS) && (b->Format().dwFlags & DDPF_ALPHAPIXELS);
                    uint32_t mask = alpha_kept ? 0xFFFFFFFF : 0x00FFFFFF;
                    EXPECT_EQ(Read_Pixel(back, x, 0) & mask, in_a & mask) << int(from) << "<->" << int(to);
                }
            }
        }
    }
}

TEST_F(Graphics_Test, PalettisedSourceIsLookedUpAndIndexedCopiesKeepIndices)
{
    PALETTEENTRY entries[256] = {};
    entries[1] = {0x10, 0x20, 0x30, 0x00};
    entries[2] = {0xFF, 0xFF, 0xFF, 0xFF};
    IDirectDrawPalette* palette = nullptr;
    ASSERT_EQ(DirectDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256 | DDPCAPS_ALPHA, entries, &palette),
              DD_OK);
    IDirectDrawSurface7* p8 = Make(2, 1, Pixel_Layout::P8);
    IDirectDrawSurface7* p8b = Make(2, 1, Pixel_Layout::P8);
    IDirectDrawSurface7* argb = Make(2, 1, Pixel_Layout::A8R8G8B8);
    p8->SetPalette(palette);
    palette->Release();
    p8->Bits()[0] = 1;
    p8->Bits()[1] = 2;
    ASSERT_EQ(argb->Blt(nullptr, p8, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(Read_Pixel(argb, 0, 0), 0x00102030u);
    EXPECT_EQ(Read_Pixel(argb, 1, 0), 0xFFFFFFFFu);
    ASSERT_EQ(p8b->Blt(nullptr, p8, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(p8b->Bits()[0], 1);
    EXPECT_EQ(p8b->Bits()[1], 2);
}

TEST_F(Graphics_Test, ScaledCopyTakesTheNearestPixel)
{
    IDirectDrawSurface7* small = Make(2, 2, Pixel_Layout::X8R8G8B8);
    IDirectDrawSurface7* big = Make(4, 4, Pixel_Layout::R5G6B5);
    Write_Pixel(small, 0, 0, 0xFFFF0000);
    Write_Pixel(small, 1, 0, 0xFF00FF00);
    Write_Pixel(small, 0, 1, 0xFF0000FF);
    Write_Pixel(small, 1, 1, 0xFFFFFFFF);
    ASSERT_EQ(big->Blt(nullptr, small, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(Read_Pixel(big, 1, 1), 0xFFFF0000u);
    EXPECT_EQ(Read_Pixel(big, 2, 1), 0xFF00FF00u);
    EXPECT_EQ(Read_Pixel(big, 1, 2), 0xFF0000FFu);
    EXPECT_EQ(Read_Pixel(big, 3, 3), 0xFFFFFFFFu);
    ASSERT_EQ(small->Blt(nullptr, big, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(Read_Pixel(small, 1, 0), 0xFF00FF00u);
    RECT bad{0, 0, 5, 1};
    EXPECT_EQ(big->Blt(&bad, small, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
}

TEST_F(Graphics_Test, CreateSurfaceRefusesWhatItCannotHold)
{
    DDSURFACEDESC2 desc{};
    desc.dwSize = DDSURFACEDESC2_SIZE;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = 0;
    desc.dwHeight = 4;
    desc.ddpfPixelFormat = Make_Pixel_Format(Pixel_Layout::R5G6B5);
    IDirectDrawSurface7* s = nullptr;
    EXPECT_EQ(DirectDraw->CreateSurface(&desc, &s), DDERR_INVALIDPARAMS);
    desc.dwWidth = 16385;
    EXPECT_EQ(DirectDraw->CreateSurface(&desc, &s), DDERR_INVALIDPARAMS);
    desc.dwWidth = 4;
    desc.ddpfPixelFormat.dwRGBBitCount = 12;
    EXPECT_EQ(DirectDraw->CreateSurface(&desc, &s), DDERR_INVALIDPIXELFORMAT);
    EXPECT_EQ(s, nullptr);
    desc.ddpfPixelFormat = Make_Pixel_Format(Pixel_Layout::R5G6B5);
    DirectDraw->Inject_Create_Surface_Failure(DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(DirectDraw->CreateSurface(&desc, &s), DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(DirectDraw->CreateSurface(&desc, &s), DD_OK);
    s->Release();
}

TEST_F(Graphics_Test, FullScreenChainFlipsAndLostSurfacesComeBack)
{
    Desktop.Mode = {800, 600, 32};
    HWND window = reinterpret_cast<HWND>(1);
    ASSERT_EQ(DirectDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT),
              DD_OK);
    ASSERT_EQ(DirectDraw->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    EXPECT_EQ(DirectDraw->SetDisplayMode(641, 480, 16, 0, 0), DDERR_INVALIDMODE);
    DDSURFACEDESC2 desc = Flipping_Chain_Desc(DDSCAPS_3DDEVICE);
    IDirectDrawSurface7* front = nullptr;
    ASSERT_EQ(DirectDraw->CreateSurface(&desc, &front), DD_OK);
    EXPECT_EQ(front->Width(), 640u);
    EXPECT_EQ(front->Format().dwGBitMask, 0x07E0u);
    IDirectDrawSurface7* back = Back_Buffer_Of(front);
    ASSERT_NE(back, nullptr);
    back->Bits()[0] = 0x5A;
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(front->Bits()[0], 0x5A);

    back->Mark_Lost();
    DDSURFACEDESC2 lock{};
    lock.dwSize = DDSURFACEDESC2_SIZE;
    EXPECT_EQ(back->Lock(nullptr, &lock, 0, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(DirectDraw->RestoreAllSurfaces(), DD_OK);
    EXPECT_EQ(back->IsLost(), DD_OK);
    back->Release();
    front->Release();
    ASSERT_EQ(DirectDraw->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC2 mode{};
    mode.dwSize = DDSURFACEDESC2_SIZE;
    ASSERT_EQ(DirectDraw->GetDisplayMode(&mode), DD_OK);
    EXPECT_EQ(mode.dwWidth, 800u);
}

namespace {

HRESULT Collect(DDPIXELFORMAT* f, void* context)
{
    static_cast<std::vector<DDPIXELFORMAT>*>(context)->push_back(*f);
    return D3DENUMRET_OK;
}

} // namespace

TEST_F(Graphics_Test, DevicesOfferTheTextureFormatsInOrderAndHoldTheirTarget)
{
    IDirectDrawSurface7* target = Make(64, 32, Pixel_Layout::X8R8G8B8, DDSCAPS_3DDEVICE);
    auto* device = new Caps_Only_Device(IID_IDirect3DRGBDevice, target);
    std::vector<DDPIXELFORMAT> formats;
    ASSERT_EQ(device->EnumTextureFormats(Collect, &formats), D3D_OK);
    ASSERT_EQ(formats.size(), 8u);
    EXPECT_EQ(formats[0].dwGBitMask, 0x07E0u);
    EXPECT_EQ(formats[3].dwRGBAlphaBitMask, 0xF000u);
    EXPECT_EQ(formats[4].dwRGBBitCount, 24u);
    EXPECT_TRUE(formats[7].dwFlags & DDPF_PALETTEINDEXED8);
    D3DDEVICEDESC7 caps{};
    ASSERT_EQ(device->GetCaps(&caps), D3D_OK);
    EXPECT_EQ(caps.dpcTriCaps.dwTextureCaps & (D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY), 0u);
    EXPECT_EQ(caps.dwMaxTextureWidth, 4096u);
    EXPECT_TRUE(caps.dpcTriCaps.dwSrcBlendCaps & D3DPBLENDCAPS_ONE);
    EXPECT_TRUE(caps.deviceGUID == IID_IDirect3DRGBDevice);
    IDirectDrawSurface7* got = nullptr;
    ASSERT_EQ(device->GetRenderTarget(&got), D3D_OK);
    EXPECT_EQ(got, target);
    got->Release();
    D3DVIEWPORT7 vp{};
    device->GetViewport(&vp);
    EXPECT_EQ(vp.dwWidth, 64u);
    EXPECT_EQ(device->Release(), 0u);
}
