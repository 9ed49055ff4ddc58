// Our own reader of the Windows bitmap file format, bounds-checked throughout: the
// BITMAPINFOHEADER and the V2–V5 headers, 1, 4, 8, 16, 24 and 32 bits per pixel, BI_RGB and
// BI_BITFIELDS, bottom-up and top-down rows, colour tables. Hostile input is refused with a
// reason and never read out of bounds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Sides above this are refused (a 16384 × 16384 image is already 1 GiB of colours), and so
// are files above 256 MiB, before anything is read.
inline constexpr int32_t Bmp_Max_Side = 16384;
inline constexpr std::size_t Bmp_Max_File_Size = std::size_t{256} << 20;

struct Bmp_Image {
    int32_t Width = 0;
    int32_t Height = 0; // always positive; rows below are top-down
    int32_t Bits_Per_Pixel = 0;
    // Every pixel as 0xAARRGGBB, rows top-down; alpha 0xFF unless the file has an alpha mask.
    std::vector<uint32_t> Colours;
    // For 1, 4 and 8 bits: every pixel's colour-table index, rows top-down.
    std::vector<uint8_t> Indices;
    // The colour table as stored (RGBQUAD words: blue in the low byte, then green, red, 0).
    std::vector<uint32_t> Colour_Table;
};

// False with a reason ("truncated pixel data", …) when the bytes are not a bitmap we can read.
bool Read_Bmp(const uint8_t* data, std::size_t size, Bmp_Image& image, std::string& reason);
