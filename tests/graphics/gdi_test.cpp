// Device contexts on surfaces: text (white on black, top-left, size follows the font), the
// titles' mapping and font arithmetic, saving and restoring state, BitBlt from a bitmap.
#include "graphics_fixture.h"

#include "platform/graphics/gdi.h"

#include <algorithm>
#include <cstring>

namespace {

struct Ink {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
    bool Grey = true;
    uint32_t Brightest = 0;
};

Ink Ink_Of(IDirectDrawSurface7* s)
{
    Ink ink;
    Pixel_Codec codec(s->Format());
    for (int y = 0; y < static_cast<int>(s->Height()); ++y) {
        for (int x = 0; x < static_cast<int>(s->Width()); ++x) {
            uint32_t c = codec.Decode(s->Bits() + y * s->Pitch() + x * codec.Bytes()) & 0xFFFFFF;
            if (c == 0) {
                continue;
            }
            int r = c >> 16, g = (c >> 8) & 0xFF, b = c & 0xFF;
            ink.Grey = ink.Grey && std::abs(r - g) <= 8 && std::abs(g - b) <= 8;
            ink.Brightest = std::max(ink.Brightest, c);
            ink.Left = std::min(ink.Left, x);
            ink.Top = std::min(ink.Top, y);
            ink.Right = std::max(ink.Right, x);
            ink.Bottom = std::max(ink.Bottom, y);
        }
    }
    return ink;
}

// Draws one line the way the titles do: 1/1440-inch logical units and an Arial font of
// `tenths` tenths of a point (negative height = character height).
void Draw_Title_Line(IDirectDrawSurface7* s, int tenths, const char* text)
{
    HDC dc = nullptr;
    ASSERT_EQ(s->GetDC(&dc), DD_OK);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1440, 1440, nullptr);
    SetViewportExtEx(dc, GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY), nullptr);
    POINT p{0, tenths * 96 / 72};
    DPtoLP(dc, &p, 1);
    LOGFONTA lf{};
    lf.lfHeight = -static_cast<LONG>(std::abs(p.y) / 10.0 + 0.5);
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(lf.lfFaceName, "Arial");
    HFONT font = CreateFontIndirectA(&lf);
    SelectObject(dc, font);
    SetTextColor(dc, 0x00FFFFFF);
    SetBkMode(dc, TRANSPARENT);
    EXPECT_TRUE(ExtTextOutA(dc, 0, 0, 0, nullptr, text, static_cast<UINT>(std::strlen(text)), nullptr));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(s->ReleaseDC(dc), DD_OK);
}

} // namespace

TEST_F(Graphics_Test, TextIsWhiteOnBlackAtTheTopLeftIn565AndX888)
{
    for (Pixel_Layout layout : {Pixel_Layout::R5G6B5, Pixel_Layout::X8R8G8B8, Pixel_Layout::X1R5G5B5}) {
        IDirectDrawSurface7* s = Make(256, 256, layout);
        Draw_Title_Line(s, 80, "No music");
        Ink ink = Ink_Of(s);
        ASSERT_GE(ink.Right, 0) << "nothing drawn, layout " << int(layout);
        EXPECT_TRUE(ink.Grey) << int(layout);
        EXPECT_EQ(ink.Brightest, 0xFFFFFFu) << int(layout);
        EXPECT_LT(ink.Left, 4);
        EXPECT_LT(ink.Top, 6);
        EXPECT_LT(ink.Bottom, 20);
    }
}

TEST_F(Graphics_Test, EighteenPointLineIsTallerThanEightPoint)
{
    IDirectDrawSurface7* small = Make(512, 512, Pixel_Layout::X8R8G8B8);
    IDirectDrawSurface7* large = Make(512, 512, Pixel_Layout::X8R8G8B8);
    Draw_Title_Line(small, 80, "Hg");
    Draw_Title_Line(large, 180, "Hg");
    Ink a = Ink_Of(small), b = Ink_Of(large);
    EXPECT_GT(b.Bottom - b.Top, (a.Bottom - a.Top) * 2);
}

TEST_F(Graphics_Test, TitleFontArithmeticAndMetrics)
{
    IDirectDrawSurface7* s = Make(256, 256, Pixel_Layout::R5G6B5);
    HDC dc = nullptr;
    ASSERT_EQ(s->GetDC(&dc), DD_OK);
    DDSURFACEDESC2 desc{};
    desc.dwSize = DDSURFACEDESC2_SIZE;
    EXPECT_EQ(s->Lock(nullptr, &desc, 0, nullptr), DDERR_SURFACEBUSY) << "a held DC blocks the lock";
    HDC second = nullptr;
    EXPECT_EQ(s->GetDC(&second), DDERR_DCALREADYCREATED);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 256);
    EXPECT_EQ(GetDeviceCaps(dc, HORZSIZE), 68);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1440, 1440, nullptr);
    SetViewportExtEx(dc, 96, 96, nullptr);
    EXPECT_EQ(SaveDC(dc), 1);
    SetGraphicsMode(dc, GM_ADVANCED);
    ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
    SetMapMode(dc, MM_TEXT);
    POINT p{0, 106};
    DPtoLP(dc, &p, 1);
    EXPECT_EQ(p.y, 106);
    ASSERT_TRUE(RestoreDC(dc, -1));
    p = POINT{0, 106};
    DPtoLP(dc, &p, 1);
    EXPECT_EQ(p.y, 1590) << "8 points at 96 dpi in twentieths of a point";

    LOGFONTA lf{};
    lf.lfHeight = -159;
    std::strcpy(lf.lfFaceName, "Arial");
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_GE(tm.tmHeight, 159);
    EXPECT_LT(tm.tmHeight, 159 * 13 / 10);
    EXPECT_GT(tm.tmAveCharWidth, 40);
    EXPECT_LT(tm.tmAveCharWidth, 120);
    SelectObject(dc, old);
    DeleteObject(font);
    EXPECT_EQ(s->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(s->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    s->Unlock(nullptr);
}

TEST_F(Graphics_Test, BitBltCopiesABitmapIntoASurfaceDC)
{
    IDirectDrawSurface7* s = Make(4, 4, Pixel_Layout::X8R8G8B8);
    HDC memory = CreateCompatibleDC(nullptr);
    HDC dc = nullptr;
    ASSERT_EQ(s->GetDC(&dc), DD_OK);
    EXPECT_TRUE(BitBlt(dc, 1, 1, 1, 1, memory, 0, 0, SRCCOPY)) << "the memory DC's 1 × 1 default bitmap";
    EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, memory, 0, 0, 0x00EE0086));
    s->ReleaseDC(dc);
    DeleteDC(memory);
    EXPECT_EQ(s->Bits()[s->Pitch() + 4 + 3], 0) << "copied pixel written with the surface's format";
}
