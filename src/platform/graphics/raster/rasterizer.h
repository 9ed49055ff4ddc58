// The back end of a drawing device: takes screen-space triangles and clears for one target
// and turns them into pixels. Two implementations: the plain reference rasterizer (each
// pixel of the bounding box evaluated on its own) and the software rasterizer (stepped
// spans, queued and drawn in horizontal bands by worker threads). Both must leave the
// target byte-identical; raster_arithmetic.h has the shared numeric contract.
#pragma once

#include "platform/graphics/raster/raster_types.h"
#include "platform/graphics/raster/triangle_setup.h"

#include <cstdint>
#include <memory>

namespace Raster {

class Rasterizer {
public:
    virtual ~Rasterizer() = default;
    // Later calls draw into this target; pending work for the previous one is finished.
    virtual void Set_Target(const Target& target) = 0;
    // Fills the rectangle (clipped to the target) with an X8R8G8B8 colour, no dithering.
    virtual void Clear(const Rect& rect, uint32_t colour) = 0;
    virtual void Draw_Triangle(const Vertex& v0, const Vertex& v1, const Vertex& v2, const State& state,
                               Cull cull) = 0;
    // Finishes all pending work: the target's pixels are final afterwards.
    virtual void Flush() = 0;
};

std::unique_ptr<Rasterizer> Make_Reference_Rasterizer();
std::unique_ptr<Rasterizer> Make_Software_Rasterizer();

// The state with its clip rectangle limited to the target.
inline State Clipped_To(const State& state, const Target& target)
{
    State clipped = state;
    clipped.clip.left = state.clip.left > 0 ? state.clip.left : 0;
    clipped.clip.top = state.clip.top > 0 ? state.clip.top : 0;
    clipped.clip.right = state.clip.right < target.width ? state.clip.right : target.width;
    clipped.clip.bottom = state.clip.bottom < target.height ? state.clip.bottom : target.height;
    return clipped;
}

// Stores one colour in the target's format (shared by both, so clears match exactly).
void Fill_Rows(const Target& target, const Rect& rect, uint32_t colour);

} // namespace Raster
