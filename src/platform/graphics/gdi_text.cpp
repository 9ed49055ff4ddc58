// Fonts and one-line text with pango-cairo, drawn over the surface's own pixels: 5-6-5 and
// X8R8G8B8 surfaces are drawn into directly; any other format through a temporary RGB24 copy
// of which only the pixels the text changed are converted back (so the rest keeps its exact
// values). Text bytes are read as UTF-8 when they are valid UTF-8 (file names on Linux), else
// as Latin-1.
#include "platform/graphics/gdi_objects.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>

namespace {

constexpr double Default_Em_Pixels = 16.0;

std::string To_Utf8(const char* text, UINT count)
{
    std::string bytes(text, count);
    if (g_utf8_validate(bytes.data(), static_cast<gssize>(bytes.size()), nullptr)) {
        return bytes;
    }
    std::string out;
    for (unsigned char c : bytes) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

PangoContext* Shared_Context()
{
    static PangoContext* context = [] {
        PangoFontMap* map = pango_cairo_font_map_get_default();
        PangoContext* c = pango_font_map_create_context(map);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(c, options);
        cairo_font_options_destroy(options);
        return c;
    }();
    return context;
}

void Metrics_Of(PangoFontDescription* desc, double& ascent, double& descent, double& average)
{
    PangoFontMetrics* m = pango_context_get_metrics(Shared_Context(), desc, nullptr);
    ascent = pango_font_metrics_get_ascent(m) / double{PANGO_SCALE};
    descent = pango_font_metrics_get_descent(m) / double{PANGO_SCALE};
    average = pango_font_metrics_get_approximate_char_width(m) / double{PANGO_SCALE};
    pango_font_metrics_unref(m);
}

// The pango description of a LOGFONTA at a scale of `scale` device pixels per logical unit.
PangoFontDescription* Describe(const LOGFONTA& f, double scale)
{
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, f.lfFaceName[0] ? f.lfFaceName : "Sans");
    LONG weight = f.lfWeight == 0 ? FW_NORMAL : std::clamp<LONG>(f.lfWeight, 100, 1000);
    pango_font_description_set_weight(desc, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(desc, f.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    double em = Default_Em_Pixels;
    if (f.lfHeight < 0) {
        em = -static_cast<double>(f.lfHeight) * scale;
    } else if (f.lfHeight > 0) {
        em = f.lfHeight * scale; // a cell height: shrink the em so ascent + descent fits it
        pango_font_description_set_absolute_size(desc, em * PANGO_SCALE);
        double ascent, descent, average;
        Metrics_Of(desc, ascent, descent, average);
        if (ascent + descent > 0) {
            em = em * em / (ascent + descent);
        }
    }
    pango_font_description_set_absolute_size(desc, std::max(em, 0.5) * PANGO_SCALE);
    return desc;
}

double Horizontal_Scale(const HDC__& dc)
{
    double x0, y0, x1, y1;
    dc.To_Device(0, 0, x0, y0);
    dc.To_Device(1, 0, x1, y1);
    return std::hypot(x1 - x0, y1 - y0);
}

// A cairo image over the surface's pixels, direct or through an RGB24 copy.
class Text_Canvas {
public:
    explicit Text_Canvas(IDirectDrawSurface7* s) : Surface(s)
    {
        const DDPIXELFORMAT& f = s->Format();
        int w = static_cast<int>(s->Width()), h = static_cast<int>(s->Height());
        bool is_565 =
            f.dwRGBBitCount == 16 && f.dwRBitMask == 0xF800 && f.dwGBitMask == 0x07E0 && f.dwBBitMask == 0x1F;
        bool is_x888 = f.dwRGBBitCount == 32 && f.dwRBitMask == 0xFF0000 && f.dwGBitMask == 0xFF00 &&
                       f.dwBBitMask == 0xFF && !(f.dwFlags & DDPF_ALPHAPIXELS);
        if (is_565 || is_x888) {
            Image = cairo_image_surface_create_for_data(
                s->Bits(), is_565 ? CAIRO_FORMAT_RGB16_565 : CAIRO_FORMAT_RGB24, w, h, s->Pitch());
            return;
        }
        Codec = new Pixel_Codec(f, s->Palette());
        Original.resize(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                Original[static_cast<size_t>(y) * w + x] =
                    Codec->Decode(s->Bits() + static_cast<ptrdiff_t>(y) * s->Pitch() + x * Codec->Bytes()) &
                    0xFFFFFF;
            }
        }
        Copy = Original;
        Image = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(Copy.data()),
                                                    CAIRO_FORMAT_RGB24, w, h, w * 4);
    }
    ~Text_Canvas()
    {
        cairo_surface_flush(Image);
        if (Codec) {
            int w = static_cast<int>(Surface->Width());
            for (size_t i = 0; i < Copy.size(); ++i) {
                if ((Copy[i] & 0xFFFFFF) != Original[i]) {
                    int y = static_cast<int>(i / w), x = static_cast<int>(i % w);
                    Codec->Encode(0xFF000000u | Copy[i], Surface->Bits() +
                                                             static_cast<ptrdiff_t>(y) * Surface->Pitch() +
                                                             x * Codec->Bytes());
                }
            }
            delete Codec;
        }
        cairo_surface_destroy(Image);
    }
    Text_Canvas(const Text_Canvas&) = delete;
    Text_Canvas& operator=(const Text_Canvas&) = delete;

    cairo_surface_t* Image = nullptr;

private:
    IDirectDrawSurface7* Surface;
    Pixel_Codec* Codec = nullptr;
    std::vector<uint32_t> Original;
    std::vector<uint32_t> Copy;
};

void Set_Colour(cairo_t* cr, COLORREF c)
{
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0);
}

} // namespace

Font_Object* Gdi_System_Font()
{
    static Font_Object* font = [] {
        auto* f = new Font_Object();
        f->Stock = true;
        f->Font.lfHeight = -16;
        f->Font.lfWeight = FW_BOLD;
        f->Font.lfCharSet = DEFAULT_CHARSET;
        std::strcpy(f->Font.lfFaceName, "Sans");
        Gdi_Register(f);
        return f;
    }();
    return font;
}

HGDIOBJ GetStockObject(int which)
{
    return which == SYSTEM_FONT ? Gdi_System_Font() : nullptr;
}

HFONT CreateFontIndirectA(const LOGFONTA* font)
{
    if (!font) {
        return nullptr;
    }
    auto* object = new (std::nothrow) Font_Object();
    if (!object) {
        return nullptr;
    }
    object->Font = *font;
    object->Font.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(Gdi_Register(object));
}

BOOL GetTextMetricsA(HDC handle, TEXTMETRICA* tm)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || !tm || !dc->State.Font) {
        return FALSE;
    }
    const LOGFONTA& f = dc->State.Font->Font;
    double scale = dc->Vertical_Scale();
    double horizontal = Horizontal_Scale(*dc);
    if (scale <= 0 || horizontal <= 0) {
        return FALSE;
    }
    PangoFontDescription* desc = Describe(f, scale);
    double ascent, descent, average;
    Metrics_Of(desc, ascent, descent, average);
    double em = pango_font_description_get_size(desc) / double{PANGO_SCALE};
    pango_font_description_free(desc);

    *tm = TEXTMETRICA{};
    tm->tmAscent = static_cast<LONG>(std::lround(ascent / scale));
    tm->tmDescent = static_cast<LONG>(std::lround(descent / scale));
    tm->tmHeight = tm->tmAscent + tm->tmDescent;
    tm->tmInternalLeading = std::max<LONG>(0, tm->tmHeight - static_cast<LONG>(std::lround(em / scale)));
    tm->tmAveCharWidth = static_cast<LONG>(std::lround(average / horizontal));
    tm->tmMaxCharWidth = static_cast<LONG>(std::lround(em * 1.5 / horizontal));
    tm->tmWeight = f.lfWeight == 0 ? FW_NORMAL : f.lfWeight;
    tm->tmDigitizedAspectX = tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x20;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = '?';
    tm->tmBreakChar = ' ';
    tm->tmItalic = f.lfItalic;
    tm->tmUnderlined = f.lfUnderline;
    tm->tmStruckOut = f.lfStrikeOut;
    tm->tmPitchAndFamily = 0x07; // variable pitch, vector, TrueType
    tm->tmCharSet = f.lfCharSet;
    return TRUE;
}

BOOL ExtTextOutA(HDC handle, int x, int y, UINT options, const RECT* rect, const char* text, UINT count,
                 const int*)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || !dc->Surface || !dc->State.Font || (count > 0 && !text)) {
        return FALSE;
    }
    double scale = dc->Vertical_Scale();
    double horizontal = Horizontal_Scale(*dc);
    if (scale <= 0 || horizontal <= 0) {
        return FALSE;
    }
    const LOGFONTA& f = dc->State.Font->Font;
    Text_Canvas canvas(dc->Surface);
    cairo_t* cr = cairo_create(canvas.Image);
    if (rect && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
        double x0, y0, x1, y1;
        dc->To_Device(rect->left, rect->top, x0, y0);
        dc->To_Device(rect->right, rect->bottom, x1, y1);
        cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
        if (options & ETO_OPAQUE) {
            Set_Colour(cr, dc->State.Back_Colour);
            cairo_fill_preserve(cr);
        }
        if (options & ETO_CLIPPED) {
            cairo_clip(cr);
        }
        cairo_new_path(cr);
    }
    double dx, dy;
    dc->To_Device(x, y, dx, dy);
    cairo_translate(cr, dx, dy);
    cairo_scale(cr, horizontal / scale, 1.0);

    PangoLayout* layout = pango_cairo_create_layout(cr);
    pango_cairo_context_set_font_options(pango_layout_get_context(layout),
                                         pango_cairo_context_get_font_options(Shared_Context()));
    pango_layout_context_changed(layout);
    PangoFontDescription* desc = Describe(f, scale);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    std::string utf8 = To_Utf8(text ? text : "", count);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    PangoAttrList* attributes = pango_attr_list_new();
    if (f.lfUnderline) {
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    }
    if (f.lfStrikeOut) {
        pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
    }
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);

    if (dc->State.Back_Mode == OPAQUE) {
        int w = 0, h = 0;
        pango_layout_get_pixel_size(layout, &w, &h);
        Set_Colour(cr, dc->State.Back_Colour);
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_fill(cr);
    }
    Set_Colour(cr, dc->State.Text_Colour);
    pango_cairo_show_layout(cr, layout);
    g_object_unref(layout);
    cairo_destroy(cr);
    return TRUE;
}
