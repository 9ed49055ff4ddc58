// The TGA reader of the texture manager: uncompressed (type 2) and run-length-encoded (type 10)
// true-colour images, stored top-down or bottom-up, into an array of 0xRRGGBBAA words with the
// rows from the top down. A file that ends early reads its missing bytes as 255, as long as it
// holds at least half of the image's most compact encoding; one holding less is refused. Run-length
// packets may continue from one stored row into the next, as the format reads; every write stays
// inside the array.
#pragma once

#include "platform/win_types.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// Sides above this, or more pixels than Tga_Max_Pixels, are refused like an allocation failure.
inline constexpr DWORD Tga_Max_Side = 16384;
inline constexpr uint64_t Tga_Max_Pixels = uint64_t{8192} * 8192;
// Files above this are refused before anything is read (the largest image is 256 MiB).
inline constexpr std::size_t Tga_Max_File_Size = std::size_t{256} << 20;

struct Tga_Image {
    DWORD Width = 0;
    DWORD Height = 0;
    DWORD Bits_Per_Pixel = 0;
    std::unique_ptr<uint32_t[]> Rgba;
};

// S_OK, or E_FAIL for a file that cannot be opened, a colour map, an image type other than 2
// and 10, an empty image, an image too large to hold, or one the file is far too short for.
HRESULT Load_Tga_File(const char* path, Tga_Image& image);
