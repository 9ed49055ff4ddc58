// The two drawing devices of the program, both on the state part of Device_Base:
//   - the reference device (IID_IDirect3DRefDevice), drawing with the plain, exact reference
//     rasterizer — the oracle of every faster path;
//   - the software device (IID_IDirect3DRGBDevice), the default, drawing with the banded,
//     multi-threaded software rasterizer. Its targets equal the reference's byte for byte.
// Both transform world vertices (world x view x projection), clip them, map them to the
// viewport and hand screen-space triangles to their rasterizer (raster/).
#pragma once

#include "platform/graphics/device_base.h"
#include "platform/graphics/raster/clipper.h"
#include "platform/graphics/raster/rasterizer.h"

#include <memory>
#include <vector>

class Rasterizer_Device : public Device_Base {
public:
    // The device of the given type (IID_IDirect3DRefDevice draws with the reference
    // rasterizer, any other type with the software one), rendering into target.
    Rasterizer_Device(REFGUID device_type, IDirectDrawSurface7* target);
    // The same with the capabilities it reports given (its deviceGUID chooses the rasterizer).
    Rasterizer_Device(const D3DDEVICEDESC7& description, IDirectDrawSurface7* target);

    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, D3DRECT* rects, DWORD flags, D3DCOLOR colour, D3DVALUE z,
                  DWORD stencil) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertex_format, void* vertices, DWORD count,
                          DWORD flags) override;
    HRESULT SetRenderTarget(IDirectDrawSurface7* target, DWORD flags) override;

    // Finishes queued drawing: the render target's pixels are final afterwards. EndScene
    // and SetRenderTarget do it; so does a draw or clear outside a scene.
    void Flush();

protected:
    ~Rasterizer_Device() override;

private:
    bool Prepare_Target();
    Raster::State Current_State();
    void Hold(IDirectDrawSurface7* surface);

    std::unique_ptr<Raster::Rasterizer> Rasterizer;
    IDirectDrawSurface7* Bound_Target = nullptr;    // what the rasterizer draws into (not owned)
    const uint8_t* Bound_Pixels = nullptr;          // its memory then: a flip swaps it
    std::vector<IDirectDrawSurface7*> Held;         // textures referenced by queued work
    std::vector<Raster::Clip_Vertex> Clip_Vertices; // reused by every draw
};

// Maps a surface format onto the rasterizer's formats; false for formats it cannot read.
bool Raster_Format_Of(const DDPIXELFORMAT& format, Raster::Pixel_Format* out);
