// The frame workload of the device benchmarks, drawn the way the scene draws a frame: a
// clear; the opaque background fan of 12 screen triangles; the additive midground fan of 24;
// the additive 256 x 256 wall square; the additive foreground fan of 72 world triangles
// turned about the viewing axis. One 256 x 256 X8R8G8B8 texture, bilinear, clamped,
// modulated by grey vertex colours, dithered. The geometry is kept apart from the device
// that draws it, so that the anchor benchmark draws the very same triangles through OpenGL.
#pragma once

#include "platform/graphics/d3d_types.h"
#include "platform/graphics/direct3d.h"
#include "platform/graphics/pixel_format.h"

#include <cstdint>
#include <vector>

namespace workload {

constexpr int Texture_Side = 256;

struct Frame_Geometry {
    std::vector<D3DTLVERTEX> background; // 12 triangles, 3 vertices each
    std::vector<D3DTLVERTEX> midground;  // 24 triangles
    std::vector<D3DTLVERTEX> wall;       // a strip of 4
    std::vector<D3DLVERTEX> foreground;  // 72 triangles
    D3DMATRIX world{}, view{}, projection{};
};

Frame_Geometry Make_Frame_Geometry(DWORD width, DWORD height);

// The texture's X8R8G8B8 texels into rows pitch bytes apart.
void Fill_Texture(uint8_t* pixels, int pitch);

// The workload on one of our devices, drawing into its own target of the given layout.
class Device_Frame {
public:
    Device_Frame(REFGUID device_type, DWORD width, DWORD height, Pixel_Layout layout);
    ~Device_Frame();
    Device_Frame(const Device_Frame&) = delete;
    Device_Frame& operator=(const Device_Frame&) = delete;

    // One whole frame; the target's pixels are final when it returns.
    void Draw();
    const IDirectDrawSurface7& Target() const { return *target_; }

private:
    IDirectDrawSurface7* Make_Surface(DWORD width, DWORD height, Pixel_Layout layout, DWORD caps);
    void Set_States();

    Frame_Geometry geometry_;
    IDirectDraw7* directdraw_ = nullptr;
    IDirectDrawSurface7* target_ = nullptr;
    IDirectDrawSurface7* texture_ = nullptr;
    IDirect3DDevice7* device_ = nullptr;
};

} // namespace workload
