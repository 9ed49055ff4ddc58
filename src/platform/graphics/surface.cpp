// Surface memory, lock, fill and the scaling, converting copy.
#include "platform/graphics/surface.h"

#include "platform/graphics/directdraw.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

namespace {

constexpr size_t Memory_Alignment = 64;
constexpr DWORD Pitch_Alignment = 16;

RECT Whole(DWORD width, DWORD height)
{
    return RECT{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
}

} // namespace

void IDirectDrawSurface7::Aligned_Free::operator()(uint8_t* p) const
{
    std::free(p);
}

IDirectDrawSurface7::IDirectDrawSurface7(IDirectDraw7* owner, const Shape& shape)
    : Owner(owner), Surface_Shape(shape)
{
    if (Owner) {
        Owner->AddRef();
        Owner->Register_Surface(this);
    }
}

IDirectDrawSurface7::~IDirectDrawSurface7()
{
    for (IDirectDrawSurface7* s : Attached) {
        s->Release();
    }
    Safe_Release(Attached_Palette);
    Safe_Release(Attached_Clipper);
    if (Owner) {
        Owner->Unregister_Surface(this);
        Owner->Release();
    }
}

IDirectDrawSurface7* IDirectDrawSurface7::Create(IDirectDraw7* owner, const Shape& shape, HRESULT* result)
{
    bool video = (shape.Caps.dwCaps & DDSCAPS_VIDEOMEMORY) != 0;
    HRESULT no_memory = video ? DDERR_OUTOFVIDEOMEMORY : DDERR_OUTOFMEMORY;
    uint64_t row = uint64_t{shape.Width} * Bytes_Per_Pixel(shape.Format);
    uint64_t pitch = (row + Pitch_Alignment - 1) / Pitch_Alignment * Pitch_Alignment;
    uint64_t bytes = pitch * shape.Height;
    bytes = (bytes + Memory_Alignment - 1) / Memory_Alignment * Memory_Alignment;
    if (pitch > 0x7FFFFFFF || bytes == 0 || bytes > (uint64_t{1} << 34)) {
        *result = no_memory;
        return nullptr;
    }
    auto* memory = static_cast<uint8_t*>(std::aligned_alloc(Memory_Alignment, static_cast<size_t>(bytes)));
    if (!memory) {
        *result = no_memory;
        return nullptr;
    }
    std::memset(memory, 0, static_cast<size_t>(bytes));
    auto* surface = new (std::nothrow) IDirectDrawSurface7(owner, shape);
    if (!surface) {
        std::free(memory);
        *result = DDERR_OUTOFMEMORY;
        return nullptr;
    }
    surface->Row_Pitch = static_cast<LONG>(pitch);
    surface->Memory.reset(memory);
    *result = DD_OK;
    return surface;
}

bool IDirectDrawSurface7::Inside(const RECT& r) const
{
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           r.right <= static_cast<LONG>(Width()) && r.bottom <= static_cast<LONG>(Height());
}

void IDirectDrawSurface7::Fill_Description(DDSURFACEDESC2* desc) const
{
    DWORD size = desc->dwSize;
    std::memset(desc, 0, sizeof *desc);
    desc->dwSize = size;
    desc->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    if (Surface_Shape.Has_Texture_Stage) {
        desc->dwFlags |= DDSD_TEXTURESTAGE;
        desc->dwTextureStage = Surface_Shape.Texture_Stage;
    }
    desc->dwWidth = Width();
    desc->dwHeight = Height();
    desc->lPitch = Row_Pitch;
    desc->ddpfPixelFormat = Surface_Shape.Format;
    desc->ddsCaps = Surface_Shape.Caps;
}

HRESULT IDirectDrawSurface7::Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD, HANDLE)
{
    if (!desc || !Valid_Surface_Desc_Size(desc->dwSize)) {
        return DDERR_INVALIDPARAMS;
    }
    if (Lost) {
        return DDERR_SURFACELOST;
    }
    if (Lock_Count > 0 || DC_Held) {
        return DDERR_SURFACEBUSY;
    }
    RECT area = rect ? *rect : Whole(Width(), Height());
    if (!Inside(area)) {
        return DDERR_INVALIDRECT;
    }
    Fill_Description(desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = Bits() + static_cast<ptrdiff_t>(area.top) * Row_Pitch +
                      static_cast<ptrdiff_t>(area.left) * Bytes_Per_Pixel(Format());
    ++Lock_Count;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Unlock(RECT*)
{
    if (Lock_Count == 0) {
        return DDERR_NOTLOCKED;
    }
    --Lock_Count;
    Mark_Changed();
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetSurfaceDesc(DDSURFACEDESC2* desc)
{
    if (!desc || !Valid_Surface_Desc_Size(desc->dwSize)) {
        return DDERR_INVALIDPARAMS;
    }
    Fill_Description(desc);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetPixelFormat(DDPIXELFORMAT* format)
{
    if (!format) {
        return DDERR_INVALIDPARAMS;
    }
    *format = Format();
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetCaps(DDSCAPS2* caps)
{
    if (!caps) {
        return DDERR_INVALIDPARAMS;
    }
    *caps = Surface_Shape.Caps;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Fill(const RECT& r, DWORD value)
{
    const DWORD bytes = Bytes_Per_Pixel(Format());
    if (r.left >= r.right || r.top >= r.bottom) {
        return DD_OK;
    }
    uint8_t pattern[4];
    std::memcpy(pattern, &value, 4);
    // The first row pixel by pixel in copies of a fixed size (the compiler widens them), the
    // others as copies of it: a copy of a size known only at run time is a library call a pixel.
    uint8_t* first =
        Bits() + static_cast<ptrdiff_t>(r.top) * Row_Pitch + static_cast<ptrdiff_t>(r.left) * bytes;
    const size_t row_bytes = static_cast<size_t>(r.right - r.left) * bytes;
    auto fill = [&](auto size) {
        for (size_t i = 0; i < row_bytes; i += size.value) {
            std::memcpy(first + i, pattern, size.value);
        }
    };
    switch (bytes) {
    case 4:
        fill(std::integral_constant<size_t, 4>{});
        break;
    case 3:
        fill(std::integral_constant<size_t, 3>{});
        break;
    case 2:
        fill(std::integral_constant<size_t, 2>{});
        break;
    default:
        fill(std::integral_constant<size_t, 1>{});
        break;
    }
    for (LONG y = r.top + 1; y < r.bottom; ++y) {
        std::memcpy(first + static_cast<ptrdiff_t>(y - r.top) * Row_Pitch, first, row_bytes);
    }
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Blt(RECT* dest_rect, IDirectDrawSurface7* source, RECT* source_rect, DWORD flags,
                                 DDBLTFX* fx)
{
    if (Lost || (source && source->Lost)) {
        return DDERR_SURFACELOST;
    }
    if (Is_Locked() || DC_Held || (source && source != this && (source->Is_Locked() || source->DC_Held))) {
        return DDERR_LOCKEDSURFACES;
    }
    RECT dest = dest_rect ? *dest_rect : Whole(Width(), Height());
    if (!Inside(dest)) {
        return DDERR_INVALIDRECT;
    }
    if (flags & (DDBLT_COLORFILL | DDBLT_DEPTHFILL)) {
        if (!fx || fx->dwSize != sizeof(DDBLTFX)) {
            return DDERR_INVALIDPARAMS;
        }
        return Fill(dest, (flags & DDBLT_COLORFILL) ? fx->dwFillColor : fx->dwFillDepth);
    }
    if (!source) {
        return DDERR_INVALIDPARAMS;
    }
    RECT src = source_rect ? *source_rect : Whole(source->Width(), source->Height());
    if (!source->Inside(src)) {
        return DDERR_INVALIDRECT;
    }
    return Copy_From(dest, *source, src);
}

HRESULT IDirectDrawSurface7::Copy_From(const RECT& dest, IDirectDrawSurface7& source, const RECT& src)
{
    // A copy within one surface reads from a snapshot, so overlapping rectangles stay correct.
    std::vector<uint8_t> snapshot;
    const uint8_t* src_bits = source.Bits();
    if (&source == this) {
        snapshot.assign(Bits(), Bits() + static_cast<size_t>(Row_Pitch) * Height());
        src_bits = snapshot.data();
    }
    const LONG dw = dest.right - dest.left, dh = dest.bottom - dest.top;
    const LONG sw = src.right - src.left, sh = src.bottom - src.top;
    const DWORD sb = Bytes_Per_Pixel(source.Format()), db = Bytes_Per_Pixel(Format());
    bool both_indexed =
        (Format().dwFlags & DDPF_PALETTEINDEXED8) && (source.Format().dwFlags & DDPF_PALETTEINDEXED8);
    bool raw = both_indexed || Same_Pixel_Format(Format(), source.Format());
    Pixel_Codec reader(source.Format(), source.Palette());
    Pixel_Codec writer(Format(), Palette());

    std::vector<LONG> column(static_cast<size_t>(dw));
    for (LONG x = 0; x < dw; ++x) {
        // Nearest source pixel to the destination pixel's centre.
        column[x] = src.left + static_cast<LONG>((int64_t{2} * x + 1) * sw / (int64_t{2} * dw));
    }
    for (LONG y = 0; y < dh; ++y) {
        LONG sy = src.top + static_cast<LONG>((int64_t{2} * y + 1) * sh / (int64_t{2} * dh));
        const uint8_t* in = src_bits + static_cast<ptrdiff_t>(sy) * source.Row_Pitch;
        uint8_t* out = Bits() + static_cast<ptrdiff_t>(dest.top + y) * Row_Pitch +
                       static_cast<ptrdiff_t>(dest.left) * db;
        if (raw && sw == dw) {
            std::memcpy(out, in + static_cast<ptrdiff_t>(src.left) * sb, static_cast<size_t>(dw) * db);
            continue;
        }
        for (LONG x = 0; x < dw; ++x, out += db) {
            const uint8_t* pixel = in + static_cast<ptrdiff_t>(column[x]) * sb;
            if (raw) {
                std::memcpy(out, pixel, db);
            } else {
                writer.Encode(reader.Decode(pixel), out);
            }
        }
    }
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Flip(IDirectDrawSurface7* target, DWORD)
{
    if (Lost) {
        return DDERR_SURFACELOST;
    }
    if (!target) {
        for (IDirectDrawSurface7* s : Attached) {
            if (s->Caps() & DDSCAPS_BACKBUFFER) {
                target = s;
                break;
            }
        }
    }
    if (!(Caps() & DDSCAPS_FLIP) || !target || target == this) {
        return DDERR_NOTFLIPPABLE;
    }
    if (target->Width() != Width() || target->Height() != Height() || target->Row_Pitch != Row_Pitch) {
        return DDERR_NOTFLIPPABLE;
    }
    if (Is_Locked() || target->Is_Locked() || DC_Held || target->DC_Held) {
        return DDERR_SURFACEBUSY;
    }
    std::swap(Memory, target->Memory);
    Mark_Changed();
    target->Mark_Changed();
    return DD_OK;
}

const Palette_Colours* IDirectDrawSurface7::Palette() const
{
    return Attached_Palette ? &Attached_Palette->Colours() : nullptr;
}

uint64_t IDirectDrawSurface7::Revision() const
{
    // Both come from one increasing counter: the larger is new after any change of either.
    return Attached_Palette ? std::max(Pixels_Revision, Attached_Palette->Revision()) : Pixels_Revision;
}

HRESULT IDirectDrawSurface7::SetPalette(IDirectDrawPalette* palette)
{
    if (palette) {
        palette->AddRef();
    }
    Safe_Release(Attached_Palette);
    Attached_Palette = palette;
    Mark_Changed();
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetPalette(IDirectDrawPalette** palette)
{
    if (!palette) {
        return DDERR_INVALIDPARAMS;
    }
    *palette = Attached_Palette;
    if (!Attached_Palette) {
        return DDERR_NOPALETTEATTACHED;
    }
    Attached_Palette->AddRef();
    return DD_OK;
}

HRESULT IDirectDrawSurface7::SetClipper(IDirectDrawClipper* clipper)
{
    if (clipper) {
        clipper->AddRef();
    }
    Safe_Release(Attached_Clipper);
    Attached_Clipper = clipper;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** attached)
{
    if (!caps || !attached) {
        return DDERR_INVALIDPARAMS;
    }
    *attached = nullptr;
    for (IDirectDrawSurface7* s : Attached) {
        const DDSCAPS2& have = s->Surface_Shape.Caps;
        if ((have.dwCaps & caps->dwCaps) == caps->dwCaps && (have.dwCaps2 & caps->dwCaps2) == caps->dwCaps2) {
            s->AddRef();
            *attached = s;
            return DD_OK;
        }
    }
    return DDERR_NOTFOUND;
}

HRESULT IDirectDrawSurface7::AddAttachedSurface(IDirectDrawSurface7* surface)
{
    if (!surface || surface == this) {
        return DDERR_INVALIDPARAMS;
    }
    bool z_buffer = (surface->Caps() & DDSCAPS_ZBUFFER) != 0;
    bool linked = (surface->Caps() & DDSCAPS_BACKBUFFER) ||
                  (surface->Surface_Shape.Caps.dwCaps2 & DDSCAPS2_STEREOSURFACELEFT);
    if (!z_buffer && !linked) {
        return DDERR_CANNOTATTACHSURFACE;
    }
    if (surface->Width() != Width() || surface->Height() != Height()) {
        return DDERR_CANNOTATTACHSURFACE;
    }
    if (std::find(Attached.begin(), Attached.end(), surface) != Attached.end()) {
        return DDERR_CANNOTATTACHSURFACE;
    }
    surface->AddRef();
    Attached.push_back(surface);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::DeleteAttachedSurface(DWORD, IDirectDrawSurface7* surface)
{
    auto it = std::find(Attached.begin(), Attached.end(), surface);
    if (it == Attached.end()) {
        return DDERR_SURFACENOTATTACHED;
    }
    Attached.erase(it);
    surface->Release();
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetDDInterface(IDirectDraw7** directdraw)
{
    if (!directdraw) {
        return DDERR_INVALIDPARAMS;
    }
    *directdraw = Owner;
    if (!Owner) {
        return DDERR_INVALIDOBJECT;
    }
    Owner->AddRef();
    return DD_OK;
}

HRESULT IDirectDrawSurface7::IsLost()
{
    return Lost ? DDERR_SURFACELOST : DD_OK;
}

HRESULT IDirectDrawSurface7::Restore()
{
    Lost = false;
    Mark_Changed();
    for (IDirectDrawSurface7* s : Attached) {
        s->Lost = false;
    }
    return DD_OK;
}
