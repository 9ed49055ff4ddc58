// Reading a presented frame's pixels whatever their format, for the backends that copy or
// convert frames (the headless one keeps them, the PNG writer stores them).
#pragma once

#include "platform/window/window.h"

#include <cstdint>

// The pixel at (x, y) as 0x00RRGGBB; 5- and 6-bit channels are widened by repeating their
// top bits, so white stays 0xFFFFFF.
uint32_t Frame_Pixel_Rgb(const Frame_Pixels& frame, int x, int y);
// Row y as X8R8G8B8 words, each what Frame_Pixel_Rgb answers for its pixel.
void Frame_Row_Rgb(const Frame_Pixels& frame, int y, uint32_t* out);
// True for the formats a frame may have: 16 bits (5-6-5 or 5-5-5), 24 and 32 bits.
bool Frame_Is_Valid(const Frame_Pixels& frame);
// Where a frame of w × h lands in an area of area_width × area_height when its aspect is kept:
// as large as fits, centred.
RECT Frame_Aspect_Box(int w, int h, int area_width, int area_height);
