// GDI objects, device contexts, mapping modes and BitBlt.
#include "platform/graphics/gdi_objects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <unordered_set>

namespace {

// The registries are never destroyed, so objects released by other static objects' destructors
// at process exit (the texture list's bitmaps) still find them.
std::unordered_set<Gdi_Object*>& Live_Objects()
{
    static auto* objects = new std::unordered_set<Gdi_Object*>();
    return *objects;
}

std::unordered_set<HDC__*>& Live_DCs()
{
    static auto* dcs = new std::unordered_set<HDC__*>();
    return *dcs;
}

void Hold(Dc_State& s)
{
    if (s.Font) {
        ++s.Font->Holders;
    }
    if (s.Bitmap) {
        ++s.Bitmap->Holders;
    }
}

void Drop(Dc_State& s)
{
    if (s.Font) {
        --s.Font->Holders;
    }
    if (s.Bitmap) {
        --s.Bitmap->Holders;
    }
}

void Destroy(HDC__* dc)
{
    Drop(dc->State);
    for (Dc_State& s : dc->Saved) {
        Drop(s);
    }
    Live_DCs().erase(dc);
    if (dc->Default_Bitmap) {
        Live_Objects().erase(dc->Default_Bitmap);
        delete dc->Default_Bitmap;
    }
    delete dc;
}

HDC__* New_DC()
{
    auto* dc = new (std::nothrow) HDC__();
    if (!dc) {
        return nullptr;
    }
    dc->State.Font = Gdi_System_Font();
    Hold(dc->State);
    Live_DCs().insert(dc);
    return dc;
}

// The colour of a device pixel of the DC's surface or bitmap, and whether it has an index.
struct Pixel_Source {
    HDC__* Dc;
    Pixel_Codec* Codec;
    uint32_t Colour(int x, int y) const
    {
        if (Dc->Surface) {
            IDirectDrawSurface7* s = Dc->Surface;
            return Codec->Decode(s->Bits() + static_cast<ptrdiff_t>(y) * s->Pitch() + x * Codec->Bytes());
        }
        const Bmp_Image& image = Dc->State.Bitmap->Image;
        return image.Colours[static_cast<size_t>(y) * image.Width + x];
    }
    int Index(int x, int y) const
    {
        if (Dc->Surface) {
            IDirectDrawSurface7* s = Dc->Surface;
            if (!(s->Format().dwFlags & DDPF_PALETTEINDEXED8)) {
                return -1;
            }
            return s->Bits()[static_cast<ptrdiff_t>(y) * s->Pitch() + x];
        }
        const Bmp_Image& image = Dc->State.Bitmap->Image;
        return image.Indices.empty() ? -1 : image.Indices[static_cast<size_t>(y) * image.Width + x];
    }
};

} // namespace

HGDIOBJ Gdi_Register(Gdi_Object* object)
{
    Live_Objects().insert(object);
    return object;
}

Gdi_Object* Gdi_Find(HGDIOBJ handle)
{
    auto* object = static_cast<Gdi_Object*>(handle);
    return handle && Live_Objects().count(object) ? object : nullptr;
}

Bitmap_Object* Gdi_Find_Bitmap(HGDIOBJ handle)
{
    Gdi_Object* object = Gdi_Find(handle);
    return object && object->Type == Gdi_Object::Kind::Bitmap ? static_cast<Bitmap_Object*>(object) : nullptr;
}

Font_Object* Gdi_Find_Font(HGDIOBJ handle)
{
    Gdi_Object* object = Gdi_Find(handle);
    return object && object->Type == Gdi_Object::Kind::Font ? static_cast<Font_Object*>(object) : nullptr;
}

HDC__* Gdi_Find_DC(HDC dc)
{
    return dc && Live_DCs().count(dc) ? dc : nullptr;
}

int HDC__::Device_Width() const
{
    if (Surface) {
        return static_cast<int>(Surface->Width());
    }
    return State.Bitmap ? State.Bitmap->Image.Width : 0;
}

int HDC__::Device_Height() const
{
    if (Surface) {
        return static_cast<int>(Surface->Height());
    }
    return State.Bitmap ? State.Bitmap->Image.Height : 0;
}

void HDC__::To_Device(double x, double y, double& dx, double& dy) const
{
    const XFORM& w = State.World;
    double px = x, py = y;
    if (State.Graphics_Mode == GM_ADVANCED) {
        px = x * w.eM11 + y * w.eM21 + w.eDx;
        py = x * w.eM12 + y * w.eM22 + w.eDy;
    }
    if (State.Map_Mode == MM_ANISOTROPIC) {
        px = (px - State.Window_Org.x) * State.Viewport_Ext.cx / State.Window_Ext.cx + State.Viewport_Org.x;
        py = (py - State.Window_Org.y) * State.Viewport_Ext.cy / State.Window_Ext.cy + State.Viewport_Org.y;
    }
    dx = px;
    dy = py;
}

void HDC__::To_Logical(double dx, double dy, double& x, double& y) const
{
    double px = dx, py = dy;
    if (State.Map_Mode == MM_ANISOTROPIC) {
        px = (dx - State.Viewport_Org.x) * State.Window_Ext.cx / State.Viewport_Ext.cx + State.Window_Org.x;
        py = (dy - State.Viewport_Org.y) * State.Window_Ext.cy / State.Viewport_Ext.cy + State.Window_Org.y;
    }
    if (State.Graphics_Mode == GM_ADVANCED) {
        const XFORM& w = State.World;
        double det = double{w.eM11} * w.eM22 - double{w.eM12} * w.eM21;
        if (det != 0.0) {
            double tx = px - w.eDx, ty = py - w.eDy;
            px = (tx * w.eM22 - ty * w.eM21) / det;
            py = (ty * w.eM11 - tx * w.eM12) / det;
        }
    }
    x = px;
    y = py;
}

double HDC__::Vertical_Scale() const
{
    double x0, y0, x1, y1;
    To_Device(0, 0, x0, y0);
    To_Device(0, 1, x1, y1);
    return std::hypot(x1 - x0, y1 - y0);
}

HDC Gdi_Create_Surface_DC(IDirectDrawSurface7* surface)
{
    HDC__* dc = New_DC();
    if (dc) {
        dc->Surface = surface;
    }
    return dc;
}

bool Gdi_Delete_Surface_DC(HDC handle, IDirectDrawSurface7* surface)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || dc->Surface != surface) {
        return false;
    }
    Destroy(dc);
    return true;
}

HDC CreateCompatibleDC(HDC)
{
    HDC__* dc = New_DC();
    if (!dc) {
        return nullptr;
    }
    auto* bitmap = new (std::nothrow) Bitmap_Object();
    if (!bitmap) {
        Destroy(dc);
        return nullptr;
    }
    bitmap->Image.Width = bitmap->Image.Height = 1;
    bitmap->Image.Bits_Per_Pixel = 1;
    bitmap->Image.Colours = {0xFF000000u};
    bitmap->Stock = true;
    Gdi_Register(bitmap);
    dc->Default_Bitmap = bitmap;
    dc->State.Bitmap = bitmap;
    ++bitmap->Holders;
    return dc;
}

BOOL DeleteDC(HDC handle)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || dc->Surface) {
        return FALSE;
    }
    Destroy(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object_handle)
{
    HDC__* dc = Gdi_Find_DC(handle);
    Gdi_Object* object = Gdi_Find(object_handle);
    if (!dc || !object) {
        return nullptr;
    }
    Gdi_Object** slot;
    if (object->Type == Gdi_Object::Kind::Font) {
        slot = reinterpret_cast<Gdi_Object**>(&dc->State.Font);
    } else {
        if (dc->Surface) {
            return nullptr; // bitmaps go into memory DCs only
        }
        slot = reinterpret_cast<Gdi_Object**>(&dc->State.Bitmap);
    }
    Gdi_Object* previous = *slot;
    if (previous) {
        --previous->Holders;
    }
    *slot = object;
    ++object->Holders;
    return previous;
}

BOOL DeleteObject(HGDIOBJ handle)
{
    Gdi_Object* object = Gdi_Find(handle);
    if (!object) {
        return FALSE;
    }
    if (object->Stock) {
        return TRUE;
    }
    if (object->Holders > 0) {
        return FALSE; // still selected into a device context
    }
    Live_Objects().erase(object);
    delete object;
    return TRUE;
}

int GetObjectA(HGDIOBJ handle, int size, void* buffer)
{
    if (Bitmap_Object* bitmap = Gdi_Find_Bitmap(handle)) {
        if (!buffer || size < static_cast<int>(sizeof(BITMAP))) {
            return 0;
        }
        const Bmp_Image& image = bitmap->Image;
        BITMAP bm{};
        bm.bmWidth = image.Width;
        bm.bmHeight = image.Height;
        bm.bmWidthBytes = (image.Width * image.Bits_Per_Pixel + 31) / 32 * 4;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = static_cast<WORD>(image.Bits_Per_Pixel);
        std::memcpy(buffer, &bm, sizeof bm);
        return sizeof bm;
    }
    if (Font_Object* font = Gdi_Find_Font(handle)) {
        if (!buffer || size < static_cast<int>(sizeof(LOGFONTA))) {
            return 0;
        }
        std::memcpy(buffer, &font->Font, sizeof(LOGFONTA));
        return sizeof(LOGFONTA);
    }
    return 0;
}

UINT GetDIBColorTable(HDC handle, UINT start, UINT count, RGBQUAD* colours)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || dc->Surface || !dc->State.Bitmap || !colours) {
        return 0;
    }
    const std::vector<uint32_t>& table = dc->State.Bitmap->Image.Colour_Table;
    if (start >= table.size()) {
        return 0;
    }
    UINT n = std::min<UINT>(count, static_cast<UINT>(table.size()) - start);
    for (UINT i = 0; i < n; ++i) {
        std::memcpy(&colours[i], &table[start + i], 4);
    }
    return n;
}

BOOL BitBlt(HDC dest_handle, int x, int y, int width, int height, HDC source_handle, int source_x,
            int source_y, DWORD rop)
{
    HDC__* dest = Gdi_Find_DC(dest_handle);
    HDC__* source = Gdi_Find_DC(source_handle);
    if (!dest || !source || rop != SRCCOPY || width < 0 || height < 0) {
        return FALSE;
    }
    if ((!dest->Surface && !dest->State.Bitmap) || (!source->Surface && !source->State.Bitmap)) {
        return FALSE;
    }
    double dx0, dy0, dx1, dy1, sx0, sy0, sx1, sy1;
    dest->To_Device(x, y, dx0, dy0);
    dest->To_Device(static_cast<double>(x) + width, static_cast<double>(y) + height, dx1, dy1);
    source->To_Device(source_x, source_y, sx0, sy0);
    source->To_Device(static_cast<double>(source_x) + width, static_cast<double>(source_y) + height, sx1,
                      sy1);
    const long long w = std::llround(std::min(dx1 - dx0, sx1 - sx0));
    const long long h = std::llround(std::min(dy1 - dy0, sy1 - sy0));
    const long long ox = std::llround(dx0), oy = std::llround(dy0);
    const long long sx = std::llround(sx0), sy = std::llround(sy0);

    IDirectDrawSurface7* target = dest->Surface;
    Pixel_Codec source_codec(source->Surface ? source->Surface->Format()
                                             : Make_Pixel_Format(Pixel_Layout::A8R8G8B8),
                             source->Surface ? source->Surface->Palette() : nullptr);
    Pixel_Source in{source, &source_codec};
    Pixel_Codec dest_codec(target ? target->Format() : Make_Pixel_Format(Pixel_Layout::A8R8G8B8),
                           target ? target->Palette() : nullptr);
    const bool indexed_target = target && (target->Format().dwFlags & DDPF_PALETTEINDEXED8);
    for (long long row = 0; row < h; ++row) {
        long long ty = oy + row, fy = sy + row;
        if (ty < 0 || fy < 0 || ty >= dest->Device_Height() || fy >= source->Device_Height()) {
            continue;
        }
        for (long long col = 0; col < w; ++col) {
            long long tx = ox + col, fx = sx + col;
            if (tx < 0 || fx < 0 || tx >= dest->Device_Width() || fx >= source->Device_Width()) {
                continue;
            }
            int px = static_cast<int>(fx), py = static_cast<int>(fy);
            if (target) {
                uint8_t* out =
                    target->Bits() + static_cast<ptrdiff_t>(ty) * target->Pitch() + tx * dest_codec.Bytes();
                int index = indexed_target ? in.Index(px, py) : -1;
                if (index >= 0) {
                    *out = static_cast<uint8_t>(index);
                } else {
                    dest_codec.Encode(in.Colour(px, py), out);
                }
            } else {
                Bmp_Image& image = dest->State.Bitmap->Image;
                image.Colours[static_cast<size_t>(ty) * image.Width + tx] = in.Colour(px, py);
                if (!image.Indices.empty()) {
                    int index = in.Index(px, py);
                    image.Indices[static_cast<size_t>(ty) * image.Width + tx] =
                        static_cast<uint8_t>(std::max(index, 0));
                }
            }
        }
    }
    return TRUE;
}

int GetDeviceCaps(HDC handle, int index)
{
    HDC__* dc = Gdi_Find_DC(handle);
    int width = dc ? dc->Device_Width() : 0;
    int height = dc ? dc->Device_Height() : 0;
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return 96;
    case HORZRES:
        return width;
    case VERTRES:
        return height;
    case HORZSIZE:
        return static_cast<int>(std::lround(width * 25.4 / 96.0));
    case VERTSIZE:
        return static_cast<int>(std::lround(height * 25.4 / 96.0));
    case BITSPIXEL:
        if (dc && dc->Surface) {
            return static_cast<int>(dc->Surface->Format().dwRGBBitCount);
        }
        return dc && dc->State.Bitmap ? dc->State.Bitmap->Image.Bits_Per_Pixel : 0;
    case PLANES:
        return 1;
    default:
        return 0;
    }
}

int SetMapMode(HDC handle, int mode)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || (mode != MM_TEXT && mode != MM_ANISOTROPIC)) {
        return 0;
    }
    int previous = dc->State.Map_Mode;
    dc->State.Map_Mode = mode;
    return previous;
}

int GetMapMode(HDC handle)
{
    HDC__* dc = Gdi_Find_DC(handle);
    return dc ? dc->State.Map_Mode : 0;
}

BOOL SetWindowExtEx(HDC handle, int x, int y, SIZE* previous)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || x == 0 || y == 0) {
        return FALSE;
    }
    if (previous) {
        *previous = dc->State.Window_Ext;
    }
    // Extents only matter in the anisotropic mode, as on the platform.
    if (dc->State.Map_Mode == MM_ANISOTROPIC) {
        dc->State.Window_Ext = SIZE{x, y};
    }
    return TRUE;
}

BOOL SetViewportExtEx(HDC handle, int x, int y, SIZE* previous)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || x == 0 || y == 0) {
        return FALSE;
    }
    if (previous) {
        *previous = dc->State.Viewport_Ext;
    }
    if (dc->State.Map_Mode == MM_ANISOTROPIC) {
        dc->State.Viewport_Ext = SIZE{x, y};
    }
    return TRUE;
}

BOOL SetWindowOrgEx(HDC handle, int x, int y, POINT* previous)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc) {
        return FALSE;
    }
    if (previous) {
        *previous = dc->State.Window_Org;
    }
    dc->State.Window_Org = POINT{x, y};
    return TRUE;
}

BOOL SetViewportOrgEx(HDC handle, int x, int y, POINT* previous)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc) {
        return FALSE;
    }
    if (previous) {
        *previous = dc->State.Viewport_Org;
    }
    dc->State.Viewport_Org = POINT{x, y};
    return TRUE;
}

BOOL DPtoLP(HDC handle, POINT* points, int count)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || !points || count < 0) {
        return FALSE;
    }
    for (int i = 0; i < count; ++i) {
        double x, y;
        dc->To_Logical(points[i].x, points[i].y, x, y);
        points[i] = POINT{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))};
    }
    return TRUE;
}

BOOL LPtoDP(HDC handle, POINT* points, int count)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || !points || count < 0) {
        return FALSE;
    }
    for (int i = 0; i < count; ++i) {
        double x, y;
        dc->To_Device(points[i].x, points[i].y, x, y);
        points[i] = POINT{static_cast<LONG>(std::lround(x)), static_cast<LONG>(std::lround(y))};
    }
    return TRUE;
}

int SaveDC(HDC handle)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc) {
        return 0;
    }
    dc->Saved.push_back(dc->State);
    Hold(dc->Saved.back());
    return static_cast<int>(dc->Saved.size());
}

BOOL RestoreDC(HDC handle, int saved)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc) {
        return FALSE;
    }
    int depth = static_cast<int>(dc->Saved.size());
    int target = saved < 0 ? depth + saved + 1 : saved; // -1 = the most recent
    if (target < 1 || target > depth) {
        return FALSE;
    }
    while (static_cast<int>(dc->Saved.size()) > target) {
        Drop(dc->Saved.back());
        dc->Saved.pop_back();
    }
    Drop(dc->State);
    dc->State = dc->Saved.back(); // the saved copy's holds move to the current state
    dc->Saved.pop_back();
    return TRUE;
}

int SetGraphicsMode(HDC handle, int mode)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || (mode != GM_COMPATIBLE && mode != GM_ADVANCED)) {
        return 0;
    }
    int previous = dc->State.Graphics_Mode;
    dc->State.Graphics_Mode = mode;
    return previous;
}

BOOL ModifyWorldTransform(HDC handle, const XFORM* t, DWORD mode)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || dc->State.Graphics_Mode != GM_ADVANCED) {
        return FALSE;
    }
    XFORM& w = dc->State.World;
    if (mode == MWT_IDENTITY) {
        w = XFORM{1, 0, 0, 1, 0, 0};
        return TRUE;
    }
    if (!t || (mode != MWT_LEFTMULTIPLY && mode != MWT_RIGHTMULTIPLY)) {
        return FALSE;
    }
    const XFORM& a = mode == MWT_LEFTMULTIPLY ? *t : w;
    const XFORM& b = mode == MWT_LEFTMULTIPLY ? w : *t;
    XFORM r{a.eM11 * b.eM11 + a.eM12 * b.eM21,       a.eM11 * b.eM12 + a.eM12 * b.eM22,
            a.eM21 * b.eM11 + a.eM22 * b.eM21,       a.eM21 * b.eM12 + a.eM22 * b.eM22,
            a.eDx * b.eM11 + a.eDy * b.eM21 + b.eDx, a.eDx * b.eM12 + a.eDy * b.eM22 + b.eDy};
    w = r;
    return TRUE;
}

COLORREF SetTextColor(HDC handle, COLORREF colour)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc) {
        return 0xFFFFFFFF;
    }
    COLORREF previous = dc->State.Text_Colour;
    dc->State.Text_Colour = colour & 0xFFFFFF;
    return previous;
}

COLORREF SetBkColor(HDC handle, COLORREF colour)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc) {
        return 0xFFFFFFFF;
    }
    COLORREF previous = dc->State.Back_Colour;
    dc->State.Back_Colour = colour & 0xFFFFFF;
    return previous;
}

int SetBkMode(HDC handle, int mode)
{
    HDC__* dc = Gdi_Find_DC(handle);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) {
        return 0;
    }
    int previous = dc->State.Back_Mode;
    dc->State.Back_Mode = mode;
    return previous;
}
