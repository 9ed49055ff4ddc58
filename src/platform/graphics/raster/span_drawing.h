// Row-by-row drawing of one set-up triangle, used by the software rasterizer: the covered
// span of each row is solved exactly from the edge functions, then the attribute planes
// are stepped along it. Each triangle's rows are drawn by the first span kernel that the
// processor runs and that takes its state: the vector and the portable loop of the program's
// common case (bilinear, clamped, modulated 32-bit texture, into any target format), and the
// general loop for everything else. Every kernel gives the reference's bytes.
#pragma once

#include "platform/graphics/raster/raster_types.h"
#include "platform/graphics/raster/triangle_setup.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Raster {

class Row_Marks;

// Whether drawing the triangle would change no channel of the target, only the bits beside
// them (an additive layer at zero brightness): where those are known to be zero, it can be left out.
bool Changes_Only_Beside_Channels(const State& state, const Triangle_Setup& setup, const Target& target);

// Draws rows [top, bottom) of the triangle (already clipped to its box by the caller); with
// marks, also marks the pixels drawn.
void Draw_Triangle_Rows(const Target& target, const State& state, const Triangle_Setup& setup, int32_t top,
                        int32_t bottom, Row_Marks* marks = nullptr);

// The kernels this processor runs, fastest first (the last is the general loop).
std::vector<std::string> Span_Kernel_Names();
// Tests: only the named kernel draws (the general loop where it does not take a state); an
// empty name restores the normal choice. False, and the normal choice, for an unknown name.
bool Force_Span_Kernel(const std::string& name);

} // namespace Raster
