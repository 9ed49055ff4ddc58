// Row-by-row drawing of one set-up triangle, used by the software rasterizer: the covered
// span of each row is solved exactly from the edge functions, then the attribute planes
// are stepped along it. A specialised loop serves the program's common case (bilinear,
// clamped, modulated 32-bit texture, into any target format); everything else takes the general loop.
#pragma once

#include "platform/graphics/raster/raster_types.h"
#include "platform/graphics/raster/triangle_setup.h"

#include <cstdint>

namespace Raster {

// Exact covered span [left, right) of row y; false when the row has no covered pixel.
bool Row_Span(const Triangle_Setup& setup, int32_t y, int32_t& left, int32_t& right);

// Draws rows [top, bottom) of the triangle (already clipped to its box by the caller).
void Draw_Triangle_Rows(const Target& target, const State& state, const Triangle_Setup& setup, int32_t top,
                        int32_t bottom);

} // namespace Raster
