// The pictures of the default data. Wall images glow on black (they are added onto the
// kaleidoscope, so black is see-through); backdrops fill their whole square (they become a
// kaleidoscope layer's texture).
#pragma once

#include "art.h"

namespace art {

Image Logo(int size);

Image Mandala(int size, int petals, float hue);
Image Rose_Window(int size);
Image Star_Sigil(int size, int points, int step, float hue);
Image Flower_Of_Life(int size);
Image Triskele(int size);
Image Sun_Wheel(int size);
Image Lotus(int size);
Image Spiral_Galaxy(int size);

Image Nebula(int size, uint32_t seed, float hue);
Image Stained_Glass(int size, uint32_t seed);
Image Julia(int size, float cr, float ci, float hue);
Image Marble(int size, uint32_t seed);
Image Aurora(int size, uint32_t seed);
Image Opal(int size, uint32_t seed);

} // namespace art
