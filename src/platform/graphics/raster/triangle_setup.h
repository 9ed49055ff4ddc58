// Triangle set-up shared by both rasterizers: snaps the three screen-space vertices to fixed
// point, builds the three integer edge functions with the top-left rule folded in, the
// clipped bounding box and the fixed-point attribute planes (raster_arithmetic.h states the
// precisions). Floating point ends here; everything after is exact integer arithmetic.
#pragma once

#include "platform/graphics/raster/raster_types.h"

#include <cstdint>

namespace Raster {

enum class Cull : uint8_t { None, Clockwise, Counter_Clockwise };

// value(x, y) = c + a*x + b*y over integer pixel coordinates.
struct Plane {
    int64_t a = 0;
    int64_t b = 0;
    int64_t c = 0;
    int64_t At(int64_t x, int64_t y) const { return c + a * x + b * y; }
};

struct Triangle_Setup {
    Plane edges[3]; // pixel covered when every edge value is >= 0
    Rect box;       // covered pixels lie inside, already clipped
    Plane red, green, blue;
    Plane u, v;    // texel units, 24 fraction bits (affine)
    Plane s, t, q; // perspective: texel units times q, 30 fraction bits
    bool perspective = false;
    Filter filter = Filter::Bilinear;

    bool Covers(int64_t x, int64_t y) const
    {
        return edges[0].At(x, y) >= 0 && edges[1].At(x, y) >= 0 && edges[2].At(x, y) >= 0;
    }
};

// Returns false when nothing can be drawn: zero area, culled, non-finite, or outside the
// clip rectangle. Vertex positions must lie inside the guard band (the clipper sees to it).
bool Set_Up_Triangle(const Vertex& v0, const Vertex& v1, const Vertex& v2, const State& state, Cull cull,
                     Triangle_Setup& out);

} // namespace Raster
