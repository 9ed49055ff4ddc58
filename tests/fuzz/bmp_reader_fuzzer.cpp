// Any bytes as a bitmap file: refused with a reason, or decoded into exactly the stated pixels.
#include "platform/graphics/bmp_reader.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    Bmp_Image image;
    std::string reason;
    if (!Read_Bmp(data, size, image, reason)) {
        if (reason.empty())
            std::abort();
        return 0;
    }
    const auto pixels = static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height);
    if (image.Width <= 0 || image.Height <= 0 || image.Colours.size() != pixels ||
        (image.Bits_Per_Pixel <= 8 && image.Indices.size() != pixels))
        std::abort();
    return 0;
}
