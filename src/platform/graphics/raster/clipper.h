// Clipping before rasterization. Vertices come in "screen-homogeneous" form: (x, y) are the
// target position times w, so world vertices (w from the projection) and screen vertices
// (w = 1) go through one clipper. Triangles are clipped against the near plane (w > 0) and
// the guard band, in floating point, before anything is snapped: a vertex behind the eye or
// millions of pixels away can then neither divide by zero nor overflow the fixed point. The
// viewport itself is applied exactly, per pixel, by the rasterizer.
#pragma once

#include "platform/graphics/raster/raster_types.h"

#include <functional>

namespace Raster {

struct Clip_Vertex {
    double x = 0.0, y = 0.0; // target position times w
    double w = 1.0;
    double rhw = 1.0; // screen vertices carry their own 1/w; world vertices use 1/w
    double r = 0.0, g = 0.0, b = 0.0;
    double u = 0.0, v = 0.0;
};

// Calls emit for each triangle of the clipped polygon (a fan around its first vertex), in
// target pixel coordinates. world: take rhw from w (true) or from the vertex (false).
void Clip_Triangle(const Clip_Vertex& a, const Clip_Vertex& b, const Clip_Vertex& c, bool world,
                   const std::function<void(const Vertex&, const Vertex&, const Vertex&)>& emit);

} // namespace Raster
