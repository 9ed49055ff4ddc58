// The named-texture list: names, file loading, TGA decoding, size rules, format search, the
// bitmap and rgba copies, and the restore/invalidate life cycle.
#include "../graphics/graphics_fixture.h"

#include "d3dframe/d3dtextr.h"
#include "d3dframe/texture_surface.h"
#include "d3dframe/tga_reader.h"
#include "platform/graphics/device_base.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/gdi.h"
#include "temp_folder.h"

#include <cstring>
#include <unistd.h>

using test_support::Temp_Folder;
using test_support::Write_File;

namespace {

std::string Tga(uint8_t type, uint16_t width, uint16_t height, uint8_t depth, uint8_t descriptor,
                const std::vector<uint8_t>& body, uint8_t colour_map = 0, uint8_t id_length = 0)
{
    std::string f(18, '\0');
    f[0] = static_cast<char>(id_length);
    f[1] = static_cast<char>(colour_map);
    f[2] = static_cast<char>(type);
    f[12] = static_cast<char>(width & 0xFF);
    f[13] = static_cast<char>(width >> 8);
    f[14] = static_cast<char>(height & 0xFF);
    f[15] = static_cast<char>(height >> 8);
    f[16] = static_cast<char>(depth);
    f[17] = static_cast<char>(descriptor);
    f += std::string(id_length, 'I');
    f.append(body.begin(), body.end());
    return f;
}

// A bottom-up BITMAPINFOHEADER file; rows given top-down, unpadded.
std::string Bmp(int width, int height, int bits, const std::vector<uint32_t>& table,
                const std::vector<std::vector<uint8_t>>& rows_top_down)
{
    uint32_t stride = (width * bits + 31) / 32 * 4;
    uint32_t offset = 54 + static_cast<uint32_t>(table.size()) * 4;
    std::string f(offset + stride * height, '\0');
    auto put = [&f](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            f[at + i] = static_cast<char>(v >> (8 * i));
        }
    };
    f[0] = 'B';
    f[1] = 'M';
    put(10, offset);
    put(14, 40);
    put(18, width);
    put(22, height);
    f[26] = 1;
    f[28] = static_cast<char>(bits);
    put(46, static_cast<uint32_t>(table.size()));
    for (size_t i = 0; i < table.size(); ++i) {
        put(54 + i * 4, table[i]);
    }
    for (int r = 0; r < height; ++r) {
        const auto& row = rows_top_down[height - 1 - r];
        std::memcpy(&f[offset + r * stride], row.data(), row.size());
    }
    return f;
}

class Texture_Test : public Graphics_Test {
protected:
    void SetUp() override
    {
        Graphics_Test::SetUp();
        Target = Make(64, 64, Pixel_Layout::X8R8G8B8, DDSCAPS_3DDEVICE);
        Device = new Caps_Only_Device(IID_IDirect3DRGBDevice, Target);
    }
    void TearDown() override
    {
        D3DTextr_DestroyAll();
        for (auto* d : Devices) {
            d->Release();
        }
        Device->Release();
        Graphics_Test::TearDown();
    }
    std::string File(const char* name, const std::string& bytes)
    {
        std::string path = (Folder.Path() / name).string();
        Write_File(path, bytes);
        return path;
    }
    IDirect3DDevice7* Device_With(DWORD texture_caps, DWORD max_side,
                                  std::span<const DDPIXELFORMAT> formats = {})
    {
        D3DDEVICEDESC7 caps = Rasterizer_Device_Description(IID_IDirect3DRGBDevice);
        caps.dpcTriCaps.dwTextureCaps = texture_caps;
        caps.dwMaxTextureWidth = caps.dwMaxTextureHeight = max_side;
        auto* d =
            new Caps_Only_Device(caps, formats.empty() ? Rasterizer_Texture_Formats() : formats, Target);
        Devices.push_back(d);
        return d;
    }
    std::vector<uint32_t> Rgba_Of(const std::string& path)
    {
        Tga_Image image;
        EXPECT_EQ(Load_Tga_File(path.c_str(), image), S_OK);
        return std::vector<uint32_t>(image.Rgba.get(), image.Rgba.get() + image.Width * image.Height);
    }
    DWORD Word_At(IDirectDrawSurface7* s, int x, int y)
    {
        DWORD v = 0;
        std::memcpy(&v, s->Bits() + y * s->Pitch() + x * Bytes_Per_Pixel(s->Format()),
                    Bytes_Per_Pixel(s->Format()));
        return v;
    }

    Temp_Folder Folder;
    IDirectDrawSurface7* Target = nullptr;
    IDirect3DDevice7* Device = nullptr;
    std::vector<IDirect3DDevice7*> Devices;
};

} // namespace

TEST_F(Texture_Test, NamesMatchWithoutCaseNewestFirstAndTakenNamesFail)
{
    ASSERT_EQ(D3DTextr_CreateEmptyTexture("PlasmaTexture", 256, 256, 0, TEXTR_32BPP), S_OK);
    ASSERT_EQ(D3DTextr_CreateEmptyTexture("SineTexture", 16, 16, 0, TEXTR_16BPP | TEXTR_WITH_ALPHA), S_OK);
    EXPECT_STREQ(D3DTextr_First()->name, "SineTexture");
    EXPECT_STREQ(D3DTextr_First()->next->name, "PlasmaTexture");
    EXPECT_EQ(D3DTextr_CreateEmptyTexture("plasmatexture", 8, 8, 0, 0), E_FAIL);
    EXPECT_EQ(D3DTextr_CreateEmptyTexture(nullptr, 8, 8, 0, 0), E_INVALIDARG);
    EXPECT_EQ(D3DTextr_CreateEmptyTexture(std::string(80, 'n').c_str(), 8, 8, 0, 0), E_INVALIDARG);
    EXPECT_EQ(D3DTextr_CreateEmptyTexture(std::string(79, 'n').c_str(), 8, 8, 0, 0), S_OK);

    ASSERT_EQ(D3DTextr_RestoreTexture("plasmatexture", Device), S_OK);
    IDirectDrawSurface7* plasma = D3DTextr_FindSurface("PLASMATEXTURE");
    ASSERT_NE(plasma, nullptr);
    EXPECT_EQ(plasma->Format().dwRGBBitCount, 32u);
    EXPECT_FALSE(plasma->Format().dwFlags & DDPF_ALPHAPIXELS);
    EXPECT_TRUE(plasma->Caps() & DDSCAPS_SYSTEMMEMORY);
    EXPECT_EQ(D3DTextr_RestoreAll(Device), S_OK);
    IDirectDrawSurface7* sine = D3DTextr_FindSurface("SineTexture");
    ASSERT_NE(sine, nullptr);
    EXPECT_EQ(sine->Format().dwRGBAlphaBitMask, 0x8000u) << "16 bits with alpha skips 4-4-4-4";

    EXPECT_EQ(D3DTextr_InvalidateTexture("SineTexture"), S_OK);
    EXPECT_EQ(D3DTextr_FindSurface("SineTexture"), nullptr);
    EXPECT_NE(D3DTextr_Find("SineTexture"), nullptr);
    EXPECT_EQ(D3DTextr_InvalidateTexture("Nothing"), DDERR_NOTFOUND);
    EXPECT_EQ(D3DTextr_RestoreTexture("Nothing", Device), DDERR_NOTFOUND);
    EXPECT_EQ(D3DTextr_DeleteTexture("Nothing"), S_OK);
    EXPECT_EQ(D3DTextr_FindSurface("Nothing"), nullptr);
    EXPECT_EQ(D3DTextr_RestoreTexture("SineTexture", nullptr), E_INVALIDARG);
    EXPECT_EQ(D3DTextr_DeleteTexture("sinetexture"), S_OK);
    EXPECT_EQ(D3DTextr_Find("SineTexture"), nullptr);
    EXPECT_EQ(D3DTextr_InvalidateAll(), S_OK);
    EXPECT_EQ(D3DTextr_FindSurface("PlasmaTexture"), nullptr);
}

TEST_F(Texture_Test, FileLoadingFindsTheFileThenTheExtension)
{
    std::string missing = (Folder.Path() / "missing.tga").string();
    NamedTexture probe;
    std::snprintf(probe.name, sizeof probe.name, "%s", missing.c_str());
    EXPECT_EQ(D3DTextr_LoadImageData(probe), DDERR_NOTFOUND);
    EXPECT_EQ(D3DTextr_CreateTextureFromFile(missing.c_str()), E_FAIL);
    EXPECT_EQ(D3DTextr_Find(missing.c_str()), nullptr) << "a failed load leaves no record";

    for (const char* name : {"noextension", "picture.png"}) {
        std::string path = File(name, "whatever");
        std::snprintf(probe.name, sizeof probe.name, "%s", path.c_str());
        EXPECT_EQ(D3DTextr_LoadImageData(probe), E_NOTIMPL) << name;
        EXPECT_EQ(D3DTextr_CreateTextureFromFile(path.c_str()), E_FAIL) << name;
    }

    std::string first = File("image.TGA", Tga(2, 1, 1, 24, 0, {1, 2, 3}));
    ASSERT_EQ(D3DTextr_CreateTextureFromFile(first.c_str()), S_OK);
    File("image.TGA", Tga(2, 2, 2, 24, 0, std::vector<uint8_t>(12, 0)));
    EXPECT_EQ(D3DTextr_CreateTextureFromFile(first.c_str()), S_OK);
    EXPECT_EQ(D3DTextr_Find(first.c_str())->width, 1u) << "the first image is kept";
    EXPECT_EQ(D3DTextr_Find(first.c_str())->rgba[0], 0x030201FFu);
}

TEST_F(Texture_Test, TgaRefusalsAndPixelWords)
{
    for (auto bad :
         {Tga(2, 1, 1, 24, 0, {0, 0, 0}, 1), Tga(1, 1, 1, 24, 0, {0, 0, 0}), Tga(3, 1, 1, 24, 0, {0})}) {
        Tga_Image image;
        EXPECT_EQ(Load_Tga_File(File("bad.tga", bad).c_str(), image), E_FAIL);
    }
    EXPECT_EQ(Rgba_Of(File("one.tga", Tga(2, 1, 1, 24, 0, {0x10, 0x20, 0x30}))),
              (std::vector<uint32_t>{0x302010FF}));
    EXPECT_EQ(Rgba_Of(File("alpha.tga", Tga(2, 1, 1, 32, 0, {0x10, 0x20, 0x30, 0x40}, 0, 3))),
              (std::vector<uint32_t>{0x30201040}))
        << "with an ID field skipped";
    EXPECT_EQ(Rgba_Of(File("short.tga", Tga(2, 2, 1, 24, 0, {0x10, 0x20, 0x30, 0x40}))),
              (std::vector<uint32_t>{0x302010FF, 0xFFFF40FF}))
        << "missing bytes read as 255";
}

// Files that promise more than the program should hold fail like any damaged image, before
// anything is allocated: a huge (sparse) file of either kind, and TGA headers promising far
// more pixels than the bytes after them can encode.
TEST_F(Texture_Test, OversizedImageFilesAreRefusedBeforeAllocating)
{
    for (const std::string& hollow : {Tga(10, 8192, 8192, 32, 0, {}), Tga(2, 100, 100, 24, 0, {1, 2, 3}),
                                      Tga(10, 2560, 1, 24, 0, std::vector<uint8_t>(39, 0xFF))}) {
        Tga_Image image;
        EXPECT_EQ(Load_Tga_File(File("hollow.tga", hollow).c_str(), image), E_FAIL);
    }
    for (const char* name : {"huge.bmp", "huge.tga"}) {
        const std::string path = File(name, Tga(2, 1, 1, 24, 0, {1, 2, 3}));
        ASSERT_EQ(::truncate(path.c_str(), off_t{64} << 30), 0);
        EXPECT_EQ(D3DTextr_CreateTextureFromFile(path.c_str()), E_FAIL) << name;
        EXPECT_EQ(D3DTextr_Find(path.c_str()), nullptr) << name;
        if (std::strcmp(name, "huge.bmp") == 0) {
            EXPECT_STREQ(Last_Bitmap_Error(), "file larger than 256 MiB");
        }
    }
}

TEST_F(Texture_Test, BottomUpAndTopDownGiveTheSameRgba)
{
    std::vector<uint8_t> top_row = {1, 2, 3, 4, 5, 6}, bottom_row = {7, 8, 9, 10, 11, 12};
    std::vector<uint8_t> stored_bottom_up = bottom_row, stored_top_down = top_row;
    stored_bottom_up.insert(stored_bottom_up.end(), top_row.begin(), top_row.end());
    stored_top_down.insert(stored_top_down.end(), bottom_row.begin(), bottom_row.end());
    auto up = Rgba_Of(File("up.tga", Tga(2, 2, 2, 24, 0x00, stored_bottom_up)));
    auto down = Rgba_Of(File("down.tga", Tga(2, 2, 2, 24, 0x20, stored_top_down)));
    EXPECT_EQ(up, down);
    EXPECT_EQ(up[0], 0x030201FFu);
    EXPECT_EQ(up[3], 0x0C0B0AFFu);
}

TEST_F(Texture_Test, RunLengthPacketsRepeatOrCopyAndStayInsideTheArray)
{
    auto run = Rgba_Of(File("run.tga", Tga(10, 4, 1, 24, 0x20, {0x83, 1, 2, 3})));
    EXPECT_EQ(run, std::vector<uint32_t>(4, 0x030201FF));
    auto literal =
        Rgba_Of(File("lit.tga", Tga(10, 4, 1, 24, 0x20, {0x03, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4})));
    EXPECT_EQ(literal, (std::vector<uint32_t>{0x010101FF, 0x020202FF, 0x030303FF, 0x040404FF}));
    // A run of 6 over rows of 2 continues into the next stored rows; the last packet overshoots
    // the image and is cut at its end.
    auto across = Rgba_Of(File("across.tga", Tga(10, 2, 3, 24, 0x20, {0x85, 9, 9, 9, 0xFF, 1, 1, 1})));
    EXPECT_EQ(across, std::vector<uint32_t>(6, 0x090909FF));
}

TEST_F(Texture_Test, SizeRulesOfTheDevice)
{
    D3DDEVICEDESC7 caps = Rasterizer_Device_Description(IID_IDirect3DRGBDevice);
    auto sized = [&caps](DWORD texture_caps, DWORD max_side, DWORD w, DWORD h) {
        caps.dpcTriCaps.dwTextureCaps = texture_caps;
        caps.dwMaxTextureWidth = caps.dwMaxTextureHeight = max_side;
        Apply_Texture_Size_Rules(caps, w, h);
        return std::make_pair(w, h);
    };
    EXPECT_EQ(sized(D3DPTEXTURECAPS_POW2, 4096, 300, 200), std::make_pair(512u, 256u));
    EXPECT_EQ(sized(D3DPTEXTURECAPS_POW2, 256, 300, 200), std::make_pair(256u, 256u));
    EXPECT_EQ(sized(D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY, 1024, 300, 200),
              std::make_pair(512u, 512u));
    EXPECT_EQ(sized(0, 0, 300, 200), std::make_pair(256u, 200u)) << "a maximum of 0 counts as 256";
    EXPECT_EQ(sized(0, 4096, 300, 200), std::make_pair(300u, 200u));

    ASSERT_EQ(D3DTextr_CreateEmptyTexture("Odd", 300, 200, 0, TEXTR_16BPP), S_OK);
    ASSERT_EQ(D3DTextr_RestoreTexture("Odd", Device_With(D3DPTEXTURECAPS_POW2, 256)), S_OK);
    EXPECT_EQ(D3DTextr_FindSurface("Odd")->Width(), 256u);
    EXPECT_EQ(D3DTextr_FindSurface("Odd")->Height(), 256u);
}

TEST_F(Texture_Test, RgbaCopyInto565ShiftsEachChannel)
{
    std::string path =
        File("grey.tga", Tga(2, 2, 1, 32, 0x20, {0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x80, 0x80, 0x80}));
    ASSERT_EQ(D3DTextr_CreateTextureFromFile(path.c_str(), 0, TEXTR_16BPP), S_OK);
    ASSERT_EQ(D3DTextr_RestoreTexture(path.c_str(), Device), S_OK);
    IDirectDrawSurface7* s = D3DTextr_FindSurface(path.c_str());
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Format().dwGBitMask, 0x07E0u) << "a TGA never asks for alpha";
    EXPECT_EQ(Word_At(s, 0, 0), 0xFFFFu);
    EXPECT_EQ(Word_At(s, 1, 0), 0x8410u);

    std::string wide = File("wide.tga", Tga(2, 1, 1, 24, 0, {0x10, 0x20, 0x30}));
    ASSERT_EQ(D3DTextr_CreateTextureFromFile(wide.c_str()), S_OK);
    ASSERT_EQ(D3DTextr_RestoreTexture(wide.c_str(), Device), S_OK);
    s = D3DTextr_FindSurface(wide.c_str());
    EXPECT_EQ(s->Format().dwRGBBitCount, 24u);
    EXPECT_EQ(Word_At(s, 0, 0), 0x302010u) << "24-bit formats take whole three-byte pixels";
}

TEST_F(Texture_Test, PalettedBitmapKeepsIndicesAndTheBlackKeyBecomesPaletteAlpha)
{
    std::string path = File("logo.bmp", Bmp(2, 2, 8, {0x000000, 0x00FF0000, 0x000000FF}, {{0, 1}, {2, 0}}));
    ASSERT_EQ(D3DTextr_CreateTextureFromFile(path.c_str(), 0, TEXTR_BLACK_KEY), S_OK);
    NamedTexture* record = D3DTextr_Find(path.c_str());
    EXPECT_EQ(record->bpp, 8u);
    ASSERT_EQ(D3DTextr_RestoreTexture(path.c_str(), Device_With(D3DPTEXTURECAPS_ALPHAPALETTE, 4096)), S_OK);
    IDirectDrawSurface7* s = D3DTextr_FindSurface(path.c_str());
    ASSERT_TRUE(s->Format().dwFlags & DDPF_PALETTEINDEXED8);
    EXPECT_EQ(s->Bits()[0], 0);
    EXPECT_EQ(s->Bits()[1], 1);
    EXPECT_EQ(s->Bits()[s->Pitch()], 2);
    ASSERT_NE(s->Palette(), nullptr);
    EXPECT_EQ((*s->Palette())[0], 0x00000000u) << "black is transparent";
    EXPECT_EQ((*s->Palette())[1], 0xFFFF0000u);
    EXPECT_EQ((*s->Palette())[2], 0xFF0000FFu);
}

TEST_F(Texture_Test, WhiteKeyWithoutAlphaPaletteMakesA1555WithTransparentWhite)
{
    std::string path = File("key.bmp", Bmp(2, 1, 8, {0x00FFFFFF, 0x0000FF00}, {{0, 1}}));
    ASSERT_EQ(D3DTextr_CreateTextureFromFile(path.c_str(), 0, TEXTR_WHITE_KEY), S_OK);
    ASSERT_EQ(D3DTextr_RestoreTexture(path.c_str(), Device), S_OK);
    IDirectDrawSurface7* s = D3DTextr_FindSurface(path.c_str());
    ASSERT_EQ(s->Format().dwRGBAlphaBitMask, 0x8000u);
    EXPECT_EQ(Word_At(s, 0, 0), 0x7FFFu) << "white: colour kept, alpha cleared";
    EXPECT_EQ(Word_At(s, 1, 0), 0x83E0u) << "green: alpha set";
}

TEST_F(Texture_Test, TrueColourBitmapIsScaledOntoTheTexture)
{
    std::string path =
        File("wall.bmp", Bmp(3, 1, 24, {}, {{0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00}}));
    ASSERT_EQ(D3DTextr_CreateTextureFromFile(path.c_str(), 0, TEXTR_32BPP), S_OK);
    ASSERT_EQ(D3DTextr_RestoreTexture(path.c_str(), Device_With(D3DPTEXTURECAPS_POW2, 4096)), S_OK);
    IDirectDrawSurface7* s = D3DTextr_FindSurface(path.c_str());
    ASSERT_EQ(s->Width(), 4u);
    EXPECT_EQ(Word_At(s, 0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Word_At(s, 3, 0) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(Texture_Test, FailedRestoreKeepsTheRecordAndHardwareTexturesAreManaged)
{
    ASSERT_EQ(D3DTextr_CreateEmptyTexture("GradientTexture", 32, 32, 0, TEXTR_16BPP), S_OK);
    DirectDraw->Inject_Create_Surface_Failure(DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(D3DTextr_RestoreTexture("GradientTexture", Device), DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(D3DTextr_FindSurface("GradientTexture"), nullptr);
    auto* hardware = new Caps_Only_Device(IID_IDirect3DHALDevice, Target);
    Devices.push_back(hardware);
    ASSERT_EQ(D3DTextr_RestoreTexture("GradientTexture", hardware), S_OK);
    DDSCAPS2 caps{};
    D3DTextr_FindSurface("GradientTexture")->GetCaps(&caps);
    EXPECT_EQ(caps.dwCaps2, DDSCAPS2_TEXTUREMANAGE);

    const DDPIXELFORMAT only_4444[] = {Make_Pixel_Format(Pixel_Layout::A4R4G4B4)};
    EXPECT_EQ(D3DTextr_RestoreTexture("GradientTexture", Device_With(0, 4096, only_4444)), E_FAIL);
}
