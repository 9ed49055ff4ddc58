// The DirectDraw object's rules (creation, cooperative level, modes, attachments, references)
// and the GDI layer's handling of stale handles and of formats drawn through a copy.
#include "graphics_fixture.h"

#include "platform/graphics/gdi.h"

#include <cstring>

namespace {

HRESULT Count_Modes(DDSURFACEDESC2* mode, void* context)
{
    auto* seen = static_cast<std::vector<DDSURFACEDESC2>*>(context);
    seen->push_back(*mode);
    return seen->size() < 3 ? DDENUMRET_OK : DDENUMRET_CANCEL;
}

} // namespace

TEST_F(Graphics_Test, CreationAndCooperativeLevelRules)
{
    void* object = nullptr;
    EXPECT_EQ(DirectDrawCreateEx(nullptr, &object, GUID{1, 2, 3, {4}}, nullptr), E_NOINTERFACE);
    GUID driver{};
    EXPECT_EQ(DirectDrawCreateEx(&driver, &object, IID_IDirectDraw7, nullptr), DDERR_INVALIDPARAMS);
    EXPECT_EQ(object, nullptr);

    HWND window = reinterpret_cast<HWND>(7);
    EXPECT_EQ(DirectDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(DirectDraw->SetCooperativeLevel(nullptr, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(DirectDraw->SetCooperativeLevel(window, DDSCL_NORMAL | DDSCL_FPUSETUP), DD_OK);
    EXPECT_EQ(DirectDraw->SetDisplayMode(640, 480, 16, 0, 0), DDERR_NOEXCLUSIVEMODE);

    Desktop.Mode = {1280, 1024, 16};
    DDSURFACEDESC2 desc{};
    desc.dwSize = DDSURFACEDESC2_SIZE;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface7* primary = nullptr;
    ASSERT_EQ(DirectDraw->CreateSurface(&desc, &primary), DD_OK);
    EXPECT_EQ(primary->Width(), 1280u);
    EXPECT_EQ(primary->Format().dwGBitMask, 0x07E0u) << "a 16-bit desktop is 5-6-5";
    primary->Release();
    desc = Flipping_Chain_Desc();
    EXPECT_EQ(DirectDraw->CreateSurface(&desc, &primary), DDERR_INVALIDPARAMS)
        << "flipping needs exclusive mode";

    Desktop.Available = false;
    DDSURFACEDESC2 mode{};
    mode.dwSize = DDSURFACEDESC2_SIZE;
    EXPECT_EQ(DirectDraw->GetDisplayMode(&mode), DDERR_GENERIC);

    std::vector<DDSURFACEDESC2> seen;
    ASSERT_EQ(DirectDraw->EnumDisplayModes(0, nullptr, &seen, Count_Modes), DD_OK);
    ASSERT_EQ(seen.size(), 3u) << "the callback's cancel stops the walk";
    EXPECT_EQ(seen[1].ddpfPixelFormat.dwRGBBitCount, 32u);
    EXPECT_EQ(seen[2].dwWidth, 800u);
}

TEST_F(Graphics_Test, ZBufferAttachmentAndReferences)
{
    IDirectDrawSurface7* target =
        Make(32, 16, Pixel_Layout::R5G6B5, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE);
    DDSURFACEDESC2 desc{};
    desc.dwSize = DDSURFACEDESC2_SIZE;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = 32;
    desc.dwHeight = 16;
    desc.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY;
    desc.ddpfPixelFormat = Make_Z_Buffer_Format(24);
    IDirectDrawSurface7* z = nullptr;
    ASSERT_EQ(DirectDraw->CreateSurface(&desc, &z), DD_OK);
    EXPECT_EQ(z->Pitch() % 16, 0);
    ASSERT_EQ(target->AddAttachedSurface(z), DD_OK);
    EXPECT_EQ(target->AddAttachedSurface(z), DDERR_CANNOTATTACHSURFACE);
    EXPECT_EQ(z->Release(), 1u) << "the attachment keeps a reference";
    DDSCAPS2 caps{DDSCAPS_ZBUFFER, 0, 0, {0}};
    IDirectDrawSurface7* found = nullptr;
    ASSERT_EQ(target->GetAttachedSurface(&caps, &found), DD_OK);
    EXPECT_EQ(found, z);
    found->Release();
    EXPECT_EQ(target->DeleteAttachedSurface(0, z), DD_OK); // last reference: z is gone now
    EXPECT_EQ(target->GetAttachedSurface(&caps, &found), DDERR_NOTFOUND);
    IDirectDrawSurface7* texture = Make(32, 16, Pixel_Layout::R5G6B5);
    EXPECT_EQ(target->AddAttachedSurface(texture), DDERR_CANNOTATTACHSURFACE);

    IDirectDraw7* owner = nullptr;
    ASSERT_EQ(target->GetDDInterface(&owner), DD_OK);
    EXPECT_EQ(owner, DirectDraw);
    EXPECT_EQ(owner->Release(), 3u) << "ours and one per living surface";
}

TEST_F(Graphics_Test, TextThroughACopyLeavesOtherPixelsExactly)
{
    for (Pixel_Layout layout : {Pixel_Layout::A4R4G4B4, Pixel_Layout::A8R8G8B8, Pixel_Layout::R8G8B8}) {
        IDirectDrawSurface7* s = Make(64, 32, layout);
        DDBLTFX fx{};
        fx.dwSize = sizeof fx;
        fx.dwFillColor = static_cast<DWORD>(0x00123456 & ((uint64_t{1} << s->Format().dwRGBBitCount) - 1));
        ASSERT_EQ(s->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DD_OK);
        std::vector<uint8_t> before(s->Bits(), s->Bits() + s->Pitch() * 32);
        HDC dc = nullptr;
        ASSERT_EQ(s->GetDC(&dc), DD_OK);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkMode(dc, TRANSPARENT);
        ASSERT_TRUE(ExtTextOutA(dc, 0, 0, 0, nullptr, "I", 1, nullptr));
        ASSERT_EQ(s->ReleaseDC(dc), DD_OK);
        int changed = 0;
        for (size_t i = 0; i < before.size(); ++i) {
            changed += before[i] != s->Bits()[i];
        }
        EXPECT_GT(changed, 0) << int(layout);
        const uint8_t* far = s->Bits() + 31 * s->Pitch() + 60 * Bytes_Per_Pixel(s->Format());
        EXPECT_EQ(std::memcmp(far, before.data() + (far - s->Bits()), Bytes_Per_Pixel(s->Format())), 0)
            << "untouched pixels keep their exact values, layout " << int(layout);
    }
}

TEST(Gdi, StaleHandlesAreRefused)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -12;
    HFONT font = CreateFontIndirectA(&lf);
    EXPECT_EQ(SelectObject(dc, font), GetStockObject(SYSTEM_FONT));
    EXPECT_EQ(SaveDC(dc), 1);
    EXPECT_EQ(SelectObject(dc, GetStockObject(SYSTEM_FONT)), font);
    EXPECT_FALSE(DeleteObject(font)) << "the saved state still holds it";
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_FALSE(RestoreDC(dc, -1)) << "nothing saved any more";
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(SelectObject(dc, font), nullptr);
    EXPECT_EQ(SetMapMode(dc, MM_TEXT), 0);
    EXPECT_TRUE(DeleteObject(font)) << "the DC's end released it";
    EXPECT_FALSE(DeleteObject(font));
    TEXTMETRICA tm;
    EXPECT_FALSE(GetTextMetricsA(dc, &tm));
}

TEST(Palette, EntriesStayInRangeAndCarryAlphaOnlyWhenAsked)
{
    PALETTEENTRY entries[256] = {};
    entries[5] = {1, 2, 3, 4};
    auto* plain = new IDirectDrawPalette(DDPCAPS_8BIT, entries);
    auto* alpha = new IDirectDrawPalette(DDPCAPS_8BIT | DDPCAPS_ALPHA, entries);
    EXPECT_EQ(plain->Colours()[5], 0xFF010203u);
    EXPECT_EQ(alpha->Colours()[5], 0x04010203u);
    PALETTEENTRY out[2];
    EXPECT_EQ(plain->GetEntries(0, 255, 2, out), DDERR_INVALIDPARAMS);
    EXPECT_EQ(plain->SetEntries(0, 256, 1, out), DDERR_INVALIDPARAMS);
    EXPECT_EQ(plain->GetEntries(0, 4, 2, out), DD_OK);
    EXPECT_EQ(out[1].peBlue, 3);
    plain->Release();
    alpha->Release();
}
