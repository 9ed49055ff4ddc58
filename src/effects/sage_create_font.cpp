// Fonts of a given point size for any mapping mode.
#include "effects/sage_create_font.h"

#include <cmath>
#include <cstdio>

namespace {

// Dots per inch of the context, as single-precision values.
void Resolution(HDC hdc, bool use_logical_resolution, float& x, float& y)
{
    if (use_logical_resolution) {
        x = static_cast<float>(GetDeviceCaps(hdc, LOGPIXELSX));
        y = static_cast<float>(GetDeviceCaps(hdc, LOGPIXELSY));
        return;
    }
    x = static_cast<float>(GetDeviceCaps(hdc, HORZRES) * 25.4 / GetDeviceCaps(hdc, HORZSIZE));
    y = static_cast<float>(GetDeviceCaps(hdc, VERTRES) * 25.4 / GetDeviceCaps(hdc, VERTSIZE));
}

} // namespace

HFONT Sage::Create_Font(HDC hdc, const char* face_name, int height, int width, int attributes,
                        bool use_logical_resolution)
{
    SaveDC(hdc);
    SetGraphicsMode(hdc, GM_ADVANCED);
    ModifyWorldTransform(hdc, nullptr, MWT_IDENTITY);
    SetViewportOrgEx(hdc, 0, 0, nullptr);
    SetWindowOrgEx(hdc, 0, 0, nullptr);

    float x_resolution = 0.0f;
    float y_resolution = 0.0f;
    Resolution(hdc, use_logical_resolution, x_resolution, y_resolution);
    // Tenths of a point → device pixels, then into the context's logical units.
    POINT size{static_cast<LONG>(static_cast<float>(width) * x_resolution / 72.0f),
               static_cast<LONG>(static_cast<float>(height) * y_resolution / 72.0f)};
    DPtoLP(hdc, &size, 1);

    LOGFONTA font{};
    font.lfHeight = -static_cast<LONG>(std::fabs(static_cast<double>(size.y)) / 10.0 + 0.5);
    font.lfWeight = (attributes & 1) ? 700 : 0;
    font.lfItalic = (attributes >> 1) & 1;
    font.lfUnderline = (attributes >> 2) & 1;
    font.lfStrikeOut = (attributes >> 3) & 1;
    font.lfCharSet = DEFAULT_CHARSET;
    std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", face_name ? face_name : "");
    HFONT handle = CreateFontIndirectA(&font);

    if (width != 0 && size.y != 0) {
        // The face's average width scaled to the asked width-to-height ratio.
        HGDIOBJ previous = SelectObject(hdc, handle);
        TEXTMETRICA metrics{};
        GetTextMetricsA(hdc, &metrics);
        SelectObject(hdc, previous);
        DeleteObject(handle);
        font.lfWidth = static_cast<LONG>(metrics.tmAveCharWidth * std::fabs(static_cast<double>(size.x)) /
                                             std::fabs(static_cast<double>(size.y)) +
                                         0.5);
        handle = CreateFontIndirectA(&font);
    }
    RestoreDC(hdc, -1);
    return handle;
}
