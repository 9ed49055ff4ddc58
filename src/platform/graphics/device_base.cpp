// Device state storage with the platform's default states.
#include "platform/graphics/device_base.h"

#include "platform/graphics/device_caps.h"

namespace {

D3DMATRIX Identity()
{
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

} // namespace

Device_Base::Device_Base(const D3DDEVICEDESC7& description, std::span<const DDPIXELFORMAT> texture_formats,
                         IDirectDrawSurface7* target)
    : Device_Description(description), Texture_Formats(texture_formats)
{
    Set_Defaults();
    if (target) {
        SetRenderTarget(target, 0);
    }
}

Device_Base::~Device_Base()
{
    for (auto*& texture : Textures) {
        Safe_Release(texture);
    }
    Safe_Release(Render_Target);
}

void Device_Base::Set_Defaults()
{
    auto& rs = Render_States;
    rs[D3DRENDERSTATE_TEXTUREPERSPECTIVE] = TRUE;
    rs[D3DRENDERSTATE_ZENABLE] = D3DZB_FALSE;
    rs[D3DRENDERSTATE_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRENDERSTATE_SHADEMODE] = D3DSHADE_GOURAUD;
    rs[D3DRENDERSTATE_ZWRITEENABLE] = TRUE;
    rs[D3DRENDERSTATE_LASTPIXEL] = TRUE;
    rs[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
    rs[D3DRENDERSTATE_ZFUNC] = D3DCMP_LESSEQUAL;
    rs[D3DRENDERSTATE_ALPHAFUNC] = D3DCMP_ALWAYS;
    rs[D3DRENDERSTATE_CLIPPING] = TRUE;
    rs[D3DRENDERSTATE_LIGHTING] = TRUE;
    rs[D3DRENDERSTATE_COLORVERTEX] = TRUE;
    rs[D3DRENDERSTATE_STENCILFUNC] = D3DCMP_ALWAYS;
    rs[D3DRENDERSTATE_STENCILMASK] = 0xFFFFFFFF;
    rs[D3DRENDERSTATE_STENCILWRITEMASK] = 0xFFFFFFFF;
    for (DWORD stage = 0; stage < Stage_Count; ++stage) {
        auto& ss = Stage_States[stage];
        ss[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        ss[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        ss[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        ss[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        ss[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        ss[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        ss[D3DTSS_TEXCOORDINDEX] = stage;
        ss[D3DTSS_ADDRESS] = ss[D3DTSS_ADDRESSU] = ss[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
        ss[D3DTSS_MAGFILTER] = D3DTFG_POINT;
        ss[D3DTSS_MINFILTER] = D3DTFN_POINT;
        ss[D3DTSS_MIPFILTER] = D3DTFP_NONE;
    }
    Transforms = {Identity(), Identity(), Identity()};
}

HRESULT Device_Base::GetCaps(D3DDEVICEDESC7* desc)
{
    if (!desc) {
        return DDERR_INVALIDPARAMS;
    }
    *desc = Device_Description;
    return D3D_OK;
}

HRESULT Device_Base::EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, void* context)
{
    return Enumerate_Pixel_Formats(Texture_Formats, callback, context);
}

HRESULT Device_Base::BeginScene()
{
    if (Scene_Open) {
        return D3DERR_SCENE_IN_SCENE;
    }
    Scene_Open = true;
    return D3D_OK;
}

HRESULT Device_Base::EndScene()
{
    if (!Scene_Open) {
        return D3DERR_SCENE_NOT_IN_SCENE;
    }
    Scene_Open = false;
    return D3D_OK;
}

HRESULT Device_Base::SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    if (!matrix || state < D3DTRANSFORMSTATE_WORLD || state > D3DTRANSFORMSTATE_PROJECTION) {
        return DDERR_INVALIDPARAMS;
    }
    Transforms[state - 1] = *matrix;
    return D3D_OK;
}

HRESULT Device_Base::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    if (!matrix || state < D3DTRANSFORMSTATE_WORLD || state > D3DTRANSFORMSTATE_PROJECTION) {
        return DDERR_INVALIDPARAMS;
    }
    *matrix = Transforms[state - 1];
    return D3D_OK;
}

HRESULT Device_Base::SetViewport(D3DVIEWPORT7* viewport)
{
    if (!viewport || !Render_Target || viewport->dwWidth == 0 || viewport->dwHeight == 0) {
        return DDERR_INVALIDPARAMS;
    }
    uint64_t right = uint64_t{viewport->dwX} + viewport->dwWidth;
    uint64_t bottom = uint64_t{viewport->dwY} + viewport->dwHeight;
    if (right > Render_Target->Width() || bottom > Render_Target->Height()) {
        return DDERR_INVALIDPARAMS;
    }
    Viewport = *viewport;
    return D3D_OK;
}

HRESULT Device_Base::GetViewport(D3DVIEWPORT7* viewport)
{
    if (!viewport) {
        return DDERR_INVALIDPARAMS;
    }
    *viewport = Viewport;
    return D3D_OK;
}

HRESULT Device_Base::SetMaterial(D3DMATERIAL7* material)
{
    if (!material) {
        return DDERR_INVALIDPARAMS;
    }
    Material = *material;
    return D3D_OK;
}

HRESULT Device_Base::GetMaterial(D3DMATERIAL7* material)
{
    if (!material) {
        return DDERR_INVALIDPARAMS;
    }
    *material = Material;
    return D3D_OK;
}

HRESULT Device_Base::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    if (state == 0 || state >= D3D_MAX_RENDER_STATE) {
        return DDERR_INVALIDPARAMS;
    }
    Render_States[state] = value;
    return D3D_OK;
}

HRESULT Device_Base::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value)
{
    if (!value || state == 0 || state >= D3D_MAX_RENDER_STATE) {
        return DDERR_INVALIDPARAMS;
    }
    *value = Render_States[state];
    return D3D_OK;
}

DWORD Device_Base::Stage_State(DWORD stage, D3DTEXTURESTAGESTATETYPE state) const
{
    if (stage >= Stage_Count || state >= D3D_MAX_TEXTURE_STAGE_STATE) {
        return 0;
    }
    return Stage_States[stage][state];
}

HRESULT Device_Base::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value)
{
    if (stage >= Stage_Count || state == 0 || state >= D3D_MAX_TEXTURE_STAGE_STATE) {
        return DDERR_INVALIDPARAMS;
    }
    Stage_States[stage][state] = value;
    // The combined addressing state sets both directions, as on the platform.
    if (state == D3DTSS_ADDRESS) {
        Stage_States[stage][D3DTSS_ADDRESSU] = Stage_States[stage][D3DTSS_ADDRESSV] = value;
    }
    return D3D_OK;
}

HRESULT Device_Base::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD* value)
{
    if (!value || stage >= Stage_Count || state == 0 || state >= D3D_MAX_TEXTURE_STAGE_STATE) {
        return DDERR_INVALIDPARAMS;
    }
    *value = Stage_States[stage][state];
    return D3D_OK;
}

HRESULT Device_Base::SetTexture(DWORD stage, IDirectDrawSurface7* texture)
{
    if (stage >= Stage_Count) {
        return DDERR_INVALIDPARAMS;
    }
    if (texture) {
        texture->AddRef();
    }
    Safe_Release(Textures[stage]);
    Textures[stage] = texture;
    return D3D_OK;
}

HRESULT Device_Base::GetTexture(DWORD stage, IDirectDrawSurface7** texture)
{
    if (!texture || stage >= Stage_Count) {
        return DDERR_INVALIDPARAMS;
    }
    *texture = Textures[stage];
    if (*texture) {
        (*texture)->AddRef();
    }
    return D3D_OK;
}

HRESULT Device_Base::SetRenderTarget(IDirectDrawSurface7* target, DWORD)
{
    if (!target || !(target->Format().dwFlags & DDPF_RGB) ||
        (target->Format().dwFlags & DDPF_PALETTEINDEXED8)) {
        return DDERR_INVALIDPARAMS;
    }
    target->AddRef();
    Safe_Release(Render_Target);
    Render_Target = target;
    Viewport = D3DVIEWPORT7{0, 0, target->Width(), target->Height(), 0.0f, 1.0f};
    return D3D_OK;
}

HRESULT Device_Base::GetRenderTarget(IDirectDrawSurface7** target)
{
    if (!target) {
        return DDERR_INVALIDPARAMS;
    }
    *target = Render_Target;
    if (!Render_Target) {
        return D3DERR_INVALID_DEVICE;
    }
    Render_Target->AddRef();
    return D3D_OK;
}

Caps_Only_Device::Caps_Only_Device(REFGUID device_type, IDirectDrawSurface7* target)
    : Device_Base(Rasterizer_Device_Description(device_type), Rasterizer_Texture_Formats(), target)
{
}

Caps_Only_Device::Caps_Only_Device(const D3DDEVICEDESC7& description,
                                   std::span<const DDPIXELFORMAT> texture_formats,
                                   IDirectDrawSurface7* target)
    : Device_Base(description, texture_formats, target)
{
}

HRESULT Caps_Only_Device::Clear(DWORD, D3DRECT*, DWORD, D3DCOLOR, D3DVALUE, DWORD)
{
    return E_NOTIMPL;
}

HRESULT Caps_Only_Device::DrawPrimitive(D3DPRIMITIVETYPE, DWORD, void*, DWORD, DWORD)
{
    return E_NOTIMPL;
}
