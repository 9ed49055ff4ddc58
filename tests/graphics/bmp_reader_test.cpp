// The bitmap reader: one small file per depth and layout with its expected pixels, and a set of
// damaged files with the refusal each must get.
#include "platform/graphics/bmp_reader.h"
#include "platform/graphics/gdi.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>

using test_support::Temp_Folder;
using test_support::Write_File;

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    }
}

struct Bmp_Layout {
    int32_t Width;
    int32_t Height; // negative: top-down
    uint16_t Bits;
    uint32_t Compression = 0;
    uint32_t Header_Size = 40;
    std::vector<uint32_t> Table;            // RGBQUAD words
    std::vector<uint32_t> Masks;            // after a 40-byte header, or inside a V4/V5 header
    std::vector<std::vector<uint8_t>> Rows; // stored order, unpadded bytes
};

std::vector<uint8_t> Build(const Bmp_Layout& s)
{
    uint32_t stride = (static_cast<uint32_t>(s.Width) * s.Bits + 31) / 32 * 4;
    uint32_t masks_after = s.Header_Size == 40 ? static_cast<uint32_t>(s.Masks.size()) * 4 : 0;
    uint32_t offset = 14 + s.Header_Size + masks_after + static_cast<uint32_t>(s.Table.size()) * 4;
    std::vector<uint8_t> b(offset + stride * s.Rows.size(), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, offset);
    Put32(b, 14, s.Header_Size);
    Put32(b, 18, static_cast<uint32_t>(s.Width));
    Put32(b, 22, static_cast<uint32_t>(s.Height));
    b[26] = 1;
    b[28] = static_cast<uint8_t>(s.Bits);
    Put32(b, 30, s.Compression);
    Put32(b, 46, static_cast<uint32_t>(s.Table.size()));
    size_t at = s.Header_Size == 40 ? 54 : 54; // masks start right after the 40 common bytes
    for (uint32_t m : s.Masks) {
        Put32(b, at, m);
        at += 4;
    }
    at = 14 + s.Header_Size + masks_after;
    for (uint32_t c : s.Table) {
        Put32(b, at, c);
        at += 4;
    }
    for (size_t r = 0; r < s.Rows.size(); ++r) {
        std::memcpy(&b[offset + r * stride], s.Rows[r].data(), s.Rows[r].size());
    }
    return b;
}

struct Good_Case {
    const char* Name;
    Bmp_Layout Layout;
    std::vector<uint32_t> Expected; // top-down 0xAARRGGBB
};

} // namespace

TEST(Bmp_Reader, EveryDepthAndLayoutGivesItsPixels)
{
    const uint32_t red = 0x00FF0000, green = 0x0000FF00, blue = 0x000000FF;
    const std::vector<Good_Case> cases = {
        {"1 bit bottom-up",
         {3, 2, 1, 0, 40, {0x000000, 0xFFFFFF}, {}, {{0xA0}, {0x40}}},
         {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}},
        {"4 bit top-down",
         {3, -1, 4, 0, 40, {0, red, green, blue}, {}, {{0x12, 0x30}}},
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}},
        {"8 bit with two table entries",
         {2, 1, 8, 0, 40, {blue, red}, {}, {{1, 0}}},
         {0xFFFF0000, 0xFF0000FF}},
        {"16 bit 5-5-5", {2, 1, 16, 0, 40, {}, {}, {{0x00, 0x7C, 0x1F, 0x00}}}, {0xFFFF0000, 0xFF0000FF}},
        {"16 bit 5-6-5 bit fields",
         {2, 1, 16, 3, 40, {}, {0xF800, 0x07E0, 0x001F}, {{0xE0, 0x07, 0x10, 0x84}}},
         {0xFF00FF00, 0xFF848284}},
        {"24 bit bottom-up",
         {1, 2, 24, 0, 40, {}, {}, {{0x30, 0x20, 0x10}, {0x01, 0x02, 0x03}}},
         {0xFF030201, 0xFF102030}},
        {"32 bit plain", {1, 1, 32, 0, 40, {}, {}, {{0x11, 0x22, 0x33, 0x44}}}, {0xFF332211}},
        {"32 bit V5 with alpha mask",
         {1, 1, 32, 3, 124, {}, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {{1, 2, 3, 0x80}}},
         {0x80030201}},
        {"32 bit V4 bit fields, no alpha",
         {1, 1, 32, 3, 108, {}, {0xFF, 0xFF00, 0xFF0000, 0}, {{1, 2, 3, 0x80}}},
         {0xFF010203}},
        // A 52-byte header has room for three masks only: the bytes after it are pixels.
        {"32 bit V2 header asking for alpha bit fields",
         {1, 1, 32, 6, 52, {}, {0xFF0000, 0xFF00, 0xFF}, {{1, 2, 3, 0x80}}},
         {0xFF030201}},
        {"32 bit alpha bit fields after a 40-byte header",
         {1, 1, 32, 6, 40, {}, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {{1, 2, 3, 0x80}}},
         {0x80030201}},
    };
    for (const Good_Case& c : cases) {
        std::vector<uint8_t> file = Build(c.Layout);
        Bmp_Image image;
        std::string reason;
        ASSERT_TRUE(Read_Bmp(file.data(), file.size(), image, reason)) << c.Name << ": " << reason;
        EXPECT_EQ(image.Width, c.Layout.Width) << c.Name;
        EXPECT_EQ(image.Height, std::abs(c.Layout.Height)) << c.Name;
        EXPECT_EQ(image.Bits_Per_Pixel, c.Layout.Bits) << c.Name;
        EXPECT_EQ(image.Colours, c.Expected) << c.Name;
    }
}

TEST(Bmp_Reader, IndexedImagesKeepIndicesAndTable)
{
    std::vector<uint8_t> file = Build({2, 1, 8, 0, 40, {0x00112233, 0x00445566}, {}, {{1, 7}}});
    Bmp_Image image;
    std::string reason;
    ASSERT_TRUE(Read_Bmp(file.data(), file.size(), image, reason));
    EXPECT_EQ(image.Indices, (std::vector<uint8_t>{1, 7}));
    EXPECT_EQ(image.Colour_Table, (std::vector<uint32_t>{0x00112233, 0x00445566}));
    EXPECT_EQ(image.Colours[1], 0xFF000000u) << "an index past the table reads as black";
}

TEST(Bmp_Reader, DamagedFilesAreRefusedWithTheirReason)
{
    const Bmp_Layout good{4,  4,  24, 0,
                          40, {}, {}, std::vector<std::vector<uint8_t>>(4, std::vector<uint8_t>(12, 9))};
    struct Bad {
        const char* Expected;
        std::vector<uint8_t> File;
    };
    std::vector<Bad> bad;
    auto truncated = Build(good);
    truncated.resize(truncated.size() - 1);
    bad.push_back({"truncated pixel data", truncated});
    auto header_only = Build(good);
    header_only.resize(30);
    bad.push_back({"truncated bitmap header", header_only});
    auto huge = Build(good);
    Put32(huge, 18, 0x7FFFFFFF);
    bad.push_back({"dimensions above 16384", huge});
    auto overflow = Build(good);
    Put32(overflow, 22, 0x80000000u); // height −2^31: its magnitude overflows 32 bits
    bad.push_back({"dimensions above 16384", overflow});
    auto zero = Build(good);
    Put32(zero, 18, 0);
    bad.push_back({"zero or negative width", zero});
    auto table = Build({2, 1, 8, 0, 40, {0, 0}, {}, {{0, 1}}});
    Put32(table, 46, 200); // claims 200 colours in a file that has room for 2
    bad.push_back({"colour table beyond the end of the file", table});
    auto offset = Build(good);
    Put32(offset, 10, 0xFFFFFFF0u);
    bad.push_back({"pixel data offset past the end of the file", offset});
    auto rle = Build(good);
    Put32(rle, 30, 1);
    bad.push_back({"compressed bitmaps are not supported", rle});
    bad.push_back({"not a bitmap file (no BM signature)", std::vector<uint8_t>(64, 'x')});

    for (const Bad& b : bad) {
        Bmp_Image image;
        std::string reason;
        EXPECT_FALSE(Read_Bmp(b.File.data(), b.File.size(), image, reason)) << b.Expected;
        EXPECT_EQ(reason, b.Expected);
        EXPECT_TRUE(image.Colours.empty());
    }
}

TEST(Bmp_Reader, LoadImageReadsFilesOnlyAndExplainsRefusals)
{
    Temp_Folder folder;
    std::string path = (folder.Path() / "two.bmp").string();
    std::vector<uint8_t> file = Build({2, 1, 8, 0, 40, {0x00FF0000, 0x000000FF}, {}, {{0, 1}}});
    Write_File(path, std::string(file.begin(), file.end()));
    EXPECT_EQ(LoadImageA(reinterpret_cast<HINSTANCE>(1), "two.bmp", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION),
              nullptr);
    HANDLE bitmap =
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    ASSERT_NE(bitmap, nullptr);
    BITMAP bm{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 2);
    EXPECT_EQ(bm.bmHeight, 1);
    EXPECT_EQ(bm.bmBitsPixel, 8);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RGBQUAD table[256];
    ASSERT_EQ(GetDIBColorTable(dc, 0, 256, table), 2u);
    EXPECT_EQ(table[0].rgbRed, 0xFF);
    EXPECT_EQ(table[1].rgbBlue, 0xFF);
    EXPECT_FALSE(DeleteObject(bitmap)) << "a selected bitmap stays alive";
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_EQ(GetObjectA(bitmap, sizeof bm, &bm), 0) << "a deleted handle is refused, not read";

    Write_File(path, "BM broken");
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
    EXPECT_STREQ(Last_Bitmap_Error(), "file too short for a bitmap header");
}
