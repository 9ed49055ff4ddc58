// PNG reading for the tests, through libpng's simplified API.
#include "png_read.h"

#include <png.h>

namespace test_support {

std::vector<uint8_t> Read_Png_Rgb(const std::string& path, int& width, int& height)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<uint8_t> pixels;
    if (!png_image_begin_read_from_file(&image, path.c_str()))
        return pixels;
    image.format = PNG_FORMAT_RGB;
    pixels.resize(PNG_IMAGE_SIZE(image));
    png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    return pixels;
}

} // namespace test_support
