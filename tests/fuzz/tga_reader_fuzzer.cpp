// Any bytes as a TGA file: refused, or an image whose every pixel was written inside its array.
#include "d3dframe/tga_reader.h"
#include "fuzz_input.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    Tga_Image image;
    const std::string path = fuzz::Write_Input_File(data, size, ".tga");
    if (Load_Tga_File(path.c_str(), image) == S_OK &&
        (image.Width == 0 || image.Height == 0 || image.Rgba == nullptr ||
         uint64_t{image.Width} * image.Height > Tga_Max_Pixels))
        std::abort();
    return 0;
}
