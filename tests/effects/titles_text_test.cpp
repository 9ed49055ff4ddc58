// The titles text: font sizes through the mapping the titles set up, one line of white text at
// the top-left of a cleared texture, and the failures of the text output.
#include "effects/sage_create_font.h"
#include "effects/titles.h"
#include "log/error_log.h"
#include "platform/graphics/directdraw.h"
#include "platform/graphics/gdi.h"
#include "platform/graphics/surface.h"
#include "platform/system/display_mode.h"
#include "platform/system/message_box.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class Titles_Text : public ::testing::Test {
protected:
    void SetUp() override
    {
        Set_Display_Mode_Source(&Desktop);
        Reset_Diagnostics();
        Titles.Reset();
        void* object = nullptr;
        ASSERT_EQ(DirectDrawCreateEx(nullptr, &object, IID_IDirectDraw7, nullptr), DD_OK);
        DirectDraw = static_cast<IDirectDraw7*>(object);
    }
    void TearDown() override
    {
        for (IDirectDrawSurface7* surface : Made)
            surface->Release();
        DirectDraw->Release();
        Set_Display_Mode_Source(nullptr);
        Titles.Reset();
    }
    IDirectDrawSurface7* Make_Texture(DWORD side)
    {
        DDSURFACEDESC2 desc{};
        desc.dwSize = DDSURFACEDESC2_SIZE;
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        desc.dwWidth = side;
        desc.dwHeight = side;
        desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
        desc.ddpfPixelFormat = Make_Pixel_Format(Pixel_Layout::X8R8G8B8);
        IDirectDrawSurface7* surface = nullptr;
        EXPECT_EQ(DirectDraw->CreateSurface(&desc, &surface), DD_OK);
        Made.push_back(surface);
        return surface;
    }

    Fixed_Display_Mode Desktop{1024, 768, 32};
    IDirectDraw7* DirectDraw = nullptr;
    std::vector<IDirectDrawSurface7*> Made;
    Message_Box_Recorder Reports;
};

// The rows and columns that hold lit pixels, and the brightest channel value met.
struct Ink {
    int Top = -1, Bottom = -1, Right = -1;
    int Brightest = 0;
};

Ink Measure(IDirectDrawSurface7* surface)
{
    Ink ink;
    for (DWORD y = 0; y < surface->Height(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(surface->Bits() + y * surface->Pitch());
        for (DWORD x = 0; x < surface->Width(); ++x) {
            const uint32_t pixel = row[x] & 0xFFFFFF;
            if (pixel == 0)
                continue;
            if (ink.Top < 0)
                ink.Top = static_cast<int>(y);
            ink.Bottom = static_cast<int>(y);
            ink.Right = std::max(ink.Right, static_cast<int>(x));
            ink.Brightest = std::max<int>(ink.Brightest, pixel & 0xFF);
            // White text: the three channels are equal.
            EXPECT_EQ(pixel & 0xFF, (pixel >> 8) & 0xFF);
            EXPECT_EQ(pixel & 0xFF, (pixel >> 16) & 0xFF);
        }
    }
    return ink;
}

} // namespace

TEST_F(Titles_Text, FontHeightsFollowThePointSizeAtNinetySixDotsPerInch)
{
    IDirectDrawSurface7* surface = Make_Texture(256);
    HDC hdc = nullptr;
    ASSERT_EQ(surface->GetDC(&hdc), DD_OK);
    SetMapMode(hdc, MM_ANISOTROPIC); // a logical unit is a twentieth of a point
    SetWindowExtEx(hdc, 1440, 1440, nullptr);
    SetViewportExtEx(hdc, GetDeviceCaps(hdc, LOGPIXELSX), GetDeviceCaps(hdc, LOGPIXELSY), nullptr);
    ASSERT_EQ(GetDeviceCaps(hdc, LOGPIXELSY), 96);

    const struct {
        int Size, Attributes;
        LONG Height, Weight;
        BYTE Italic, Underline;
    } cases[] = {{80, 0, -159, 0, 0, 0}, {180, 0, -360, 0, 0, 0}, {120, 1 | 2 | 4, -240, 700, 1, 1}};
    for (const auto& c : cases) {
        HFONT font = Sage::Create_Font(hdc, "Arial", c.Size, 0, c.Attributes, true);
        ASSERT_NE(font, nullptr);
        LOGFONTA made{};
        ASSERT_EQ(GetObjectA(font, sizeof made, &made), static_cast<int>(sizeof made));
        EXPECT_EQ(made.lfHeight, c.Height) << c.Size;
        EXPECT_EQ(made.lfWidth, 0);
        EXPECT_EQ(made.lfWeight, c.Weight);
        EXPECT_EQ(made.lfItalic, c.Italic);
        EXPECT_EQ(made.lfUnderline, c.Underline);
        EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
        EXPECT_STREQ(made.lfFaceName, "Arial");
        DeleteObject(font);
    }
    // A width asks for the face's average width scaled to it.
    HFONT wide = Sage::Create_Font(hdc, "Arial", 80, 160, 0, true);
    LOGFONTA made{};
    GetObjectA(wide, sizeof made, &made);
    EXPECT_GT(made.lfWidth, 0);
    DeleteObject(wide);
    EXPECT_EQ(GetMapMode(hdc), MM_ANISOTROPIC); // the context is left as it was
    surface->ReleaseDC(hdc);
}

TEST_F(Titles_Text, WhiteLineAtTheTopLeftLargerOnTheLargeTexture)
{
    IDirectDrawSurface7* small = Make_Texture(256);
    IDirectDrawSurface7* large = Make_Texture(512);
    EXPECT_EQ(Titles.Output_Title_Text(small, 0, 0, "Morning Song", 256, 256), 1);
    EXPECT_EQ(Titles.Output_Title_Text(large, 0, 0, "Morning Song", 512, 512), 1);
    const Ink eight = Measure(small);
    const Ink eighteen = Measure(large);
    ASSERT_GE(eight.Top, 0);
    EXPECT_LT(eight.Bottom, 20); // only the top strip shows on the screen
    EXPECT_EQ(eight.Brightest, 255);
    const int eight_height = eight.Bottom - eight.Top;
    const int eighteen_height = eighteen.Bottom - eighteen.Top;
    EXPECT_NEAR(static_cast<double>(eighteen_height) / eight_height, 18.0 / 8.0, 0.5);
    EXPECT_NEAR(static_cast<double>(eighteen.Right) / eight.Right, 18.0 / 8.0, 0.5);
    EXPECT_TRUE(Reports.Boxes.empty());
}

TEST_F(Titles_Text, OutputFailuresAreReported)
{
    EXPECT_EQ(Titles.Output_Title_Text(nullptr, 0, 0, "x", 256, 256), 0);
    IDirectDrawSurface7* lost = Make_Texture(256);
    lost->Mark_Lost();
    EXPECT_EQ(Titles.Output_Title_Text(lost, 0, 0, "x", 256, 256), 0);
    ASSERT_EQ(Reports.Boxes.size(), 2u);
    EXPECT_EQ(Reports.Boxes[0].Text, "Titles::Output_Title_Text(): NULL Dest");
    EXPECT_EQ(Reports.Boxes[1].Text, "Titles::Output_Title_Text(): Get DC FAILED");
}
