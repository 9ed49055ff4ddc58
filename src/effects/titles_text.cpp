// Drawing a title into the titles texture: one line of white Arial on black at the top-left,
// through a device context on the texture surface.
#include "effects/sage_create_font.h"
#include "effects/titles.h"

#include "log/error_log.h"
#include "platform/graphics/surface.h"

#include <cstdio>
#include <cstring>

namespace {

// Text size in tenths of a point by the texture's height.
constexpr int Small_Text = 80;  // 8 points on a 256 texture
constexpr int Large_Text = 180; // 18 points on a 512 texture
constexpr COLORREF White = 0x00FFFFFF;
// One logical unit is 1/1440 inch (a twentieth of a point).
constexpr int Twips_Per_Inch = 1440;

} // namespace

int Titles_Image::Output_Title_Text(IDirectDrawSurface7* surface, int x, int y, const char* text,
                                    int /*width*/, int height)
{
    if (!surface) {
        Report("Titles::Output_Title_Text(): NULL Dest");
        return 0;
    }
    HDC hdc = nullptr;
    if (FAILED(surface->GetDC(&hdc))) {
        Report("Titles::Output_Title_Text(): Get DC FAILED");
        return 0;
    }
    SetMapMode(hdc, MM_ANISOTROPIC);
    SetWindowExtEx(hdc, Twips_Per_Inch, Twips_Per_Inch, nullptr);
    SetViewportExtEx(hdc, GetDeviceCaps(hdc, LOGPIXELSX), GetDeviceCaps(hdc, LOGPIXELSY), nullptr);
    HFONT font = Sage::Create_Font(hdc, "Arial", height <= 256 ? Small_Text : Large_Text, 0, 0, true);
    SelectObject(hdc, font);
    SetTextColor(hdc, White);
    SetBkMode(hdc, TRANSPARENT);
    ExtTextOutA(hdc, x, y, 0, nullptr, text, static_cast<UINT>(std::strlen(text)), nullptr);
    SelectObject(hdc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
    surface->ReleaseDC(hdc);
    return 1;
}
