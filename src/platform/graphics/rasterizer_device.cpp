// Drawing devices: render states to rasterizer state, vertex processing, primitive assembly.
#include "platform/graphics/rasterizer_device.h"

#include "platform/graphics/dd_codes.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/raster/clipper.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// The most vertices one call may pass, as on the original platform.
constexpr DWORD D3DMAXNUMVERTICES = 0xFFFF;

Raster::Filter Mag_Filter(DWORD value)
{
    return value == D3DTFG_POINT ? Raster::Filter::Point : Raster::Filter::Bilinear;
}

Raster::Filter Min_Filter(DWORD value)
{
    return value == D3DTFN_POINT ? Raster::Filter::Point : Raster::Filter::Bilinear;
}

Raster::Address Address_Mode(DWORD value)
{
    switch (value) {
    case D3DTADDRESS_WRAP:
        return Raster::Address::Wrap;
    case D3DTADDRESS_MIRROR:
        return Raster::Address::Mirror;
    default:
        return Raster::Address::Clamp; // clamp, and border (no border colour is offered)
    }
}

// Which argument of stage 0 an operand names: the texture or the diffuse colour (at stage 0
// the current colour is the diffuse colour).
bool Is_Texture_Argument(DWORD argument)
{
    return (argument & D3DTA_SELECTMASK) == D3DTA_TEXTURE;
}

Raster::Colour_Source Colour_Operation(DWORD op, DWORD arg1, DWORD arg2)
{
    switch (op) {
    case D3DTOP_DISABLE:
        return Raster::Colour_Source::Diffuse;
    case D3DTOP_SELECTARG1:
        return Is_Texture_Argument(arg1) ? Raster::Colour_Source::Texture : Raster::Colour_Source::Diffuse;
    case D3DTOP_SELECTARG2:
        return Is_Texture_Argument(arg2) ? Raster::Colour_Source::Texture : Raster::Colour_Source::Diffuse;
    default:
        return Raster::Colour_Source::Modulate; // modulate, and operations this device does not offer
    }
}

// Blending: only the factors ZERO and ONE are offered; anything else draws opaque.
Raster::Blend Blend_Mode(DWORD enabled, DWORD source, DWORD destination)
{
    if (!enabled)
        return Raster::Blend::Opaque;
    if (source == D3DBLEND_ONE && destination == D3DBLEND_ONE)
        return Raster::Blend::Add;
    if (source == D3DBLEND_ZERO && destination == D3DBLEND_ONE)
        return Raster::Blend::Keep;
    return Raster::Blend::Opaque;
}

Raster::Cull Cull_Mode(DWORD value)
{
    switch (value) {
    case D3DCULL_NONE:
        return Raster::Cull::None;
    case D3DCULL_CW:
        return Raster::Cull::Clockwise;
    default:
        return Raster::Cull::Counter_Clockwise;
    }
}

// A palettised texture without a palette reads as a grey ramp, as the surface codec does.
const uint32_t* Grey_Ramp()
{
    static const auto ramp = [] {
        std::array<uint32_t, 256> colours{};
        for (uint32_t i = 0; i < 256; ++i)
            colours[i] = (i << 16) | (i << 8) | i;
        return colours;
    }();
    return ramp.data();
}

void Set_Colour(Raster::Clip_Vertex& v, D3DCOLOR colour)
{
    v.r = (colour >> 16) & 255;
    v.g = (colour >> 8) & 255;
    v.b = colour & 255;
}

struct Matrix {
    double m[4][4];
};

Matrix Product(const D3DMATRIX& a, const D3DMATRIX& b)
{
    const float* pa = &a._11;
    const float* pb = &b._11;
    Matrix out{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            for (int k = 0; k < 4; ++k)
                out.m[r][c] += static_cast<double>(pa[r * 4 + k]) * pb[k * 4 + c];
    return out;
}

Matrix Product(const Matrix& a, const D3DMATRIX& b)
{
    const float* pb = &b._11;
    Matrix out{};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            for (int k = 0; k < 4; ++k)
                out.m[r][c] += a.m[r][k] * pb[k * 4 + c];
    return out;
}

// Triangle k of a primitive: vertex indices, with strips' odd triangles turned round so
// that every triangle keeps the strip's winding.
bool Triangle_Indices(D3DPRIMITIVETYPE type, DWORD k, DWORD index[3])
{
    switch (type) {
    case D3DPT_TRIANGLELIST:
        index[0] = 3 * k, index[1] = 3 * k + 1, index[2] = 3 * k + 2;
        return true;
    case D3DPT_TRIANGLESTRIP:
        if (k % 2)
            index[0] = k + 1, index[1] = k, index[2] = k + 2;
        else
            index[0] = k, index[1] = k + 1, index[2] = k + 2;
        return true;
    case D3DPT_TRIANGLEFAN:
        index[0] = 0, index[1] = k + 1, index[2] = k + 2;
        return true;
    default:
        return false;
    }
}

DWORD Triangle_Count(D3DPRIMITIVETYPE type, DWORD vertices)
{
    if (type == D3DPT_TRIANGLELIST)
        return vertices / 3;
    return vertices >= 3 ? vertices - 2 : 0;
}

} // namespace

bool Raster_Format_Of(const DDPIXELFORMAT& f, Raster::Pixel_Format* out)
{
    using Raster::Pixel_Format;
    bool alpha = (f.dwFlags & DDPF_ALPHAPIXELS) != 0;
    if (f.dwFlags & DDPF_PALETTEINDEXED8) {
        *out = Pixel_Format::P8;
        return f.dwRGBBitCount == 8;
    }
    if (!(f.dwFlags & DDPF_RGB))
        return false;
    DWORD r = f.dwRBitMask, g = f.dwGBitMask, b = f.dwBBitMask, a = alpha ? f.dwRGBAlphaBitMask : 0;
    if (f.dwRGBBitCount == 16 && r == 0xF800 && g == 0x07E0 && b == 0x001F)
        *out = Pixel_Format::R5G6B5;
    else if (f.dwRGBBitCount == 16 && r == 0x7C00 && g == 0x03E0 && b == 0x001F)
        *out = a == 0x8000 ? Pixel_Format::A1R5G5B5 : Pixel_Format::X1R5G5B5;
    else if (f.dwRGBBitCount == 16 && r == 0x0F00 && g == 0x00F0 && b == 0x000F)
        *out = Pixel_Format::A4R4G4B4;
    else if (f.dwRGBBitCount == 24 && r == 0xFF0000 && g == 0xFF00 && b == 0xFF)
        *out = Pixel_Format::R8G8B8;
    else if (f.dwRGBBitCount == 32 && r == 0xFF0000 && g == 0xFF00 && b == 0xFF)
        *out = a ? Pixel_Format::A8R8G8B8 : Pixel_Format::X8R8G8B8;
    else
        return false;
    return true;
}

Rasterizer_Device::Rasterizer_Device(REFGUID device_type, IDirectDrawSurface7* target)
    : Rasterizer_Device(Rasterizer_Device_Description(device_type), target)
{
}

Rasterizer_Device::Rasterizer_Device(const D3DDEVICEDESC7& description, IDirectDrawSurface7* target)
    : Device_Base(description, Rasterizer_Texture_Formats(), target),
      Rasterizer(description.deviceGUID == IID_IDirect3DRefDevice ? Raster::Make_Reference_Rasterizer()
                                                                  : Raster::Make_Software_Rasterizer())
{
}

Rasterizer_Device::~Rasterizer_Device()
{
    Flush();
}

void Rasterizer_Device::Flush()
{
    Rasterizer->Flush();
    if (Bound_Target)
        Bound_Target->Mark_Changed(); // it may be sampled as a texture later
    for (IDirectDrawSurface7* surface : Held)
        surface->Release();
    Held.clear();
}

void Rasterizer_Device::Hold(IDirectDrawSurface7* surface)
{
    if (std::find(Held.begin(), Held.end(), surface) == Held.end()) {
        surface->AddRef();
        Held.push_back(surface);
    }
}

HRESULT Rasterizer_Device::EndScene()
{
    HRESULT result = Device_Base::EndScene();
    Flush();
    return result;
}

HRESULT Rasterizer_Device::SetRenderTarget(IDirectDrawSurface7* target, DWORD flags)
{
    Flush();
    Bound_Target = nullptr;
    return Device_Base::SetRenderTarget(target, flags);
}

bool Rasterizer_Device::Prepare_Target()
{
    IDirectDrawSurface7* target = Target();
    Raster::Pixel_Format format;
    if (!target || !target->Bits() || !Raster_Format_Of(target->Format(), &format) ||
        !Raster::Is_Target_Format(format))
        return false;
    if (target != Bound_Target || target->Bits() != Bound_Pixels) {
        Rasterizer->Set_Target({target->Bits(), target->Pitch(), static_cast<int32_t>(target->Width()),
                                static_cast<int32_t>(target->Height()), format});
        Bound_Target = target;
        Bound_Pixels = target->Bits();
    }
    return true;
}

Raster::State Rasterizer_Device::Current_State()
{
    Raster::State state;
    state.blend = Blend_Mode(Render_State(D3DRENDERSTATE_ALPHABLENDENABLE),
                             Render_State(D3DRENDERSTATE_SRCBLEND), Render_State(D3DRENDERSTATE_DESTBLEND));
    state.colour = Colour_Operation(Stage_State(0, D3DTSS_COLOROP), Stage_State(0, D3DTSS_COLORARG1),
                                    Stage_State(0, D3DTSS_COLORARG2));
    state.mag_filter = Mag_Filter(Stage_State(0, D3DTSS_MAGFILTER));
    state.min_filter = Min_Filter(Stage_State(0, D3DTSS_MINFILTER));
    state.address_u = Address_Mode(Stage_State(0, D3DTSS_ADDRESSU));
    state.address_v = Address_Mode(Stage_State(0, D3DTSS_ADDRESSV));
    state.dither = Render_State(D3DRENDERSTATE_DITHERENABLE) != FALSE;
    state.perspective = Render_State(D3DRENDERSTATE_TEXTUREPERSPECTIVE) != FALSE;
    const D3DVIEWPORT7& viewport = Current_Viewport();
    state.clip = {static_cast<int32_t>(viewport.dwX), static_cast<int32_t>(viewport.dwY),
                  static_cast<int32_t>(viewport.dwX + viewport.dwWidth),
                  static_cast<int32_t>(viewport.dwY + viewport.dwHeight)};

    IDirectDrawSurface7* texture = Texture(0);
    Raster::Pixel_Format format;
    // Read-only access: sampling does not change the texture's revision.
    const uint8_t* texels = texture ? std::as_const(*texture).Bits() : nullptr;
    if (texels && Raster_Format_Of(texture->Format(), &format)) {
        const Palette_Colours* palette = texture->Palette();
        state.textured = true;
        state.texture = {texels,
                         texture->Pitch(),
                         static_cast<int32_t>(texture->Width()),
                         static_cast<int32_t>(texture->Height()),
                         format,
                         palette ? palette->data() : Grey_Ramp(),
                         texture->Revision()};
        Hold(texture);
    }
    return state;
}

HRESULT Rasterizer_Device::Clear(DWORD count, D3DRECT* rects, DWORD flags, D3DCOLOR colour, D3DVALUE, DWORD)
{
    if (!Target())
        return D3DERR_INVALID_DEVICE;
    if (count > 0 && !rects)
        return DDERR_INVALIDPARAMS;
    if (!(flags & D3DCLEAR_TARGET) || !Prepare_Target())
        return D3D_OK;
    const D3DVIEWPORT7& vp = Current_Viewport();
    Raster::Rect viewport{static_cast<int32_t>(vp.dwX), static_cast<int32_t>(vp.dwY),
                          static_cast<int32_t>(vp.dwX + vp.dwWidth),
                          static_cast<int32_t>(vp.dwY + vp.dwHeight)};
    auto clear = [&](Raster::Rect r) {
        r = {std::max(r.left, viewport.left), std::max(r.top, viewport.top),
             std::min(r.right, viewport.right), std::min(r.bottom, viewport.bottom)};
        Rasterizer->Clear(r, colour);
    };
    if (count == 0)
        clear(viewport);
    for (DWORD i = 0; i < count; ++i)
        clear({rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2});
    if (!In_Scene())
        Flush();
    return D3D_OK;
}

HRESULT Rasterizer_Device::DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertex_format, void* vertices,
                                         DWORD count, DWORD)
{
    if ((!vertices && count > 0) || count > D3DMAXNUMVERTICES)
        return DDERR_INVALIDPARAMS;
    if (vertex_format != D3DFVF_TLVERTEX && vertex_format != D3DFVF_LVERTEX)
        return D3DERR_INVALIDVERTEXTYPE;
    DWORD index[3];
    if (!Triangle_Indices(type, 0, index))
        return D3DERR_INVALIDPRIMITIVETYPE;
    if (!Target())
        return D3DERR_INVALID_DEVICE;
    if (!Prepare_Target())
        return D3D_OK; // a render target this device cannot draw into shows nothing

    const bool world = vertex_format == D3DFVF_LVERTEX;
    const D3DVIEWPORT7& vp = Current_Viewport();
    const double half_width = vp.dwWidth * 0.5, half_height = vp.dwHeight * 0.5;
    const double centre_x = vp.dwX + half_width, centre_y = vp.dwY + half_height;
    const Matrix transform = Product(Product(World(), View()), Projection());

    std::vector<Raster::Clip_Vertex>& clip = Clip_Vertices;
    clip.resize(count);
    for (DWORD i = 0; i < count; ++i) {
        Raster::Clip_Vertex& v = clip[i];
        if (world) {
            const D3DLVERTEX& in = static_cast<const D3DLVERTEX*>(vertices)[i];
            const double p[4] = {in.x, in.y, in.z, 1.0};
            double c[4] = {0, 0, 0, 0};
            for (int col = 0; col < 4; ++col)
                for (int k = 0; k < 4; ++k)
                    c[col] += p[k] * transform.m[k][col];
            // Screen position times w: x' = centre + x/w * half size, y grows downwards.
            v.x = centre_x * c[3] + c[0] * half_width;
            v.y = centre_y * c[3] - c[1] * half_height;
            v.w = c[3];
            Set_Colour(v, in.color);
            v.u = in.tu, v.v = in.tv;
        } else {
            const D3DTLVERTEX& in = static_cast<const D3DTLVERTEX*>(vertices)[i];
            v.x = in.sx, v.y = in.sy, v.w = 1.0, v.rhw = in.rhw;
            Set_Colour(v, in.color);
            v.u = in.tu, v.v = in.tv;
        }
    }

    const Raster::State state = Current_State();
    const Raster::Cull cull = Cull_Mode(Render_State(D3DRENDERSTATE_CULLMODE));
    const DWORD triangles = Triangle_Count(type, count);
    for (DWORD k = 0; k < triangles; ++k) {
        Triangle_Indices(type, k, index);
        Raster::Clip_Triangle(clip[index[0]], clip[index[1]], clip[index[2]], world,
                              [&](const Raster::Vertex& a, const Raster::Vertex& b, const Raster::Vertex& c) {
                                  Rasterizer->Draw_Triangle(a, b, c, state, cull);
                              });
    }
    if (!In_Scene())
        Flush();
    return D3D_OK;
}
