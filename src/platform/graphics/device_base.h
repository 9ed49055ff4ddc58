// The state part of a device: render and texture-stage states with the platform's defaults,
// transforms, viewport, material, the bound texture of each stage and the render target, the
// scene bracket, and the capability answers (from a description and a texture-format list).
// A concrete device adds Clear and DrawPrimitive.
#pragma once

#include "platform/graphics/d3d_device.h"

#include <array>
#include <span>

class Device_Base : public IDirect3DDevice7 {
public:
    static constexpr DWORD Stage_Count = 8;

    HRESULT GetCaps(D3DDEVICEDESC7* desc) override;
    HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, void* context) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetViewport(D3DVIEWPORT7* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT7* viewport) override;
    HRESULT SetMaterial(D3DMATERIAL7* material) override;
    HRESULT GetMaterial(D3DMATERIAL7* material) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD* value) override;
    HRESULT SetTexture(DWORD stage, IDirectDrawSurface7* texture) override;
    HRESULT GetTexture(DWORD stage, IDirectDrawSurface7** texture) override;
    HRESULT SetRenderTarget(IDirectDrawSurface7* target, DWORD flags) override;
    HRESULT GetRenderTarget(IDirectDrawSurface7** target) override;

    // ---- For the drawing code (no references added).
    IDirectDrawSurface7* Target() const { return Render_Target; }
    IDirectDrawSurface7* Texture(DWORD stage) const
    {
        return stage < Stage_Count ? Textures[stage] : nullptr;
    }
    DWORD Render_State(D3DRENDERSTATETYPE state) const
    {
        return state < D3D_MAX_RENDER_STATE ? Render_States[state] : 0;
    }
    DWORD Stage_State(DWORD stage, D3DTEXTURESTAGESTATETYPE state) const;
    const D3DMATRIX& World() const { return Transforms[0]; }
    const D3DMATRIX& View() const { return Transforms[1]; }
    const D3DMATRIX& Projection() const { return Transforms[2]; }
    const D3DVIEWPORT7& Current_Viewport() const { return Viewport; }
    const D3DMATERIAL7& Current_Material() const { return Material; }
    const D3DDEVICEDESC7& Description() const { return Device_Description; }
    bool In_Scene() const { return Scene_Open; }

protected:
    // The target may be null; a reference is taken. The viewport starts as the whole target.
    Device_Base(const D3DDEVICEDESC7& description, std::span<const DDPIXELFORMAT> texture_formats,
                IDirectDrawSurface7* target);
    ~Device_Base() override;

private:
    void Set_Defaults();

    D3DDEVICEDESC7 Device_Description;
    std::span<const DDPIXELFORMAT> Texture_Formats;
    IDirectDrawSurface7* Render_Target = nullptr;
    std::array<IDirectDrawSurface7*, Stage_Count> Textures{};
    std::array<DWORD, D3D_MAX_RENDER_STATE> Render_States{};
    std::array<std::array<DWORD, D3D_MAX_TEXTURE_STAGE_STATE>, Stage_Count> Stage_States{};
    std::array<D3DMATRIX, 3> Transforms{};
    D3DVIEWPORT7 Viewport{};
    D3DMATERIAL7 Material{};
    bool Scene_Open = false;
};

// A device that answers what the texture manager and the framework ask (capabilities, texture
// formats, render target, states) and draws nothing: Clear and DrawPrimitive return E_NOTIMPL.
// Tests and tools use it where no picture is needed.
class Caps_Only_Device : public Device_Base {
public:
    // With the rasterizers' description of the given type and their texture formats.
    Caps_Only_Device(REFGUID device_type, IDirectDrawSurface7* target);
    Caps_Only_Device(const D3DDEVICEDESC7& description, std::span<const DDPIXELFORMAT> texture_formats,
                     IDirectDrawSurface7* target);

    HRESULT Clear(DWORD count, D3DRECT* rects, DWORD flags, D3DCOLOR colour, D3DVALUE z,
                  DWORD stencil) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertex_format, void* vertices, DWORD count,
                          DWORD flags) override;
};
