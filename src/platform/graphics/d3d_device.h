// The Direct3D 7 device interface (IDirect3DDevice7): every call the program makes on its
// device. The rasterizing devices implement it; Device_Base (device_base.h) keeps the state
// part (render and stage states, transforms, viewport, material, texture, render target) so a
// device adds only its capabilities and its drawing.
//
// Reference counts: the device holds a reference to its render target and to each bound
// texture; GetRenderTarget and GetTexture add a reference for the caller.
#pragma once

#include "platform/graphics/d3d_types.h"
#include "platform/graphics/ref_counted.h"
#include "platform/graphics/surface.h"

class IDirect3DDevice7 : public Ref_Counted {
public:
    virtual HRESULT GetCaps(D3DDEVICEDESC7* desc) = 0;
    virtual HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, void* context) = 0;

    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    // Fills the viewport (or the given rectangles, clipped to it) of the render target.
    virtual HRESULT Clear(DWORD count, D3DRECT* rects, DWORD flags, D3DCOLOR colour, D3DVALUE z,
                          DWORD stencil) = 0;
    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertex_format, void* vertices, DWORD count,
                                  DWORD flags) = 0;

    virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) = 0;
    virtual HRESULT SetViewport(D3DVIEWPORT7* viewport) = 0;
    virtual HRESULT GetViewport(D3DVIEWPORT7* viewport) = 0;
    virtual HRESULT SetMaterial(D3DMATERIAL7* material) = 0;
    virtual HRESULT GetMaterial(D3DMATERIAL7* material) = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) = 0;
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) = 0;
    virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD* value) = 0;
    virtual HRESULT SetTexture(DWORD stage, IDirectDrawSurface7* texture) = 0;
    virtual HRESULT GetTexture(DWORD stage, IDirectDrawSurface7** texture) = 0;
    virtual HRESULT SetRenderTarget(IDirectDrawSurface7* target, DWORD flags) = 0;
    virtual HRESULT GetRenderTarget(IDirectDrawSurface7** target) = 0;

protected:
    IDirect3DDevice7() = default;
};
