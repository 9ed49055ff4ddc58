// PNG output of frames through libpng. The file is written beside its final name and renamed
// into place, so a reader never sees half a picture.
#include "platform/window/frame_png.h"

#include "platform/window/frame_pixels.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

void Row_To_Rgb(const Frame_Pixels& frame, int y, uint8_t* out)
{
    for (int x = 0; x < frame.Width; ++x, out += 3) {
        const uint32_t rgb = Frame_Pixel_Rgb(frame, x, y);
        out[0] = static_cast<uint8_t>(rgb >> 16);
        out[1] = static_cast<uint8_t>(rgb >> 8);
        out[2] = static_cast<uint8_t>(rgb);
    }
}

bool Write_Rows(std::FILE* file, const Frame_Pixels& frame)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    std::vector<uint8_t> row(static_cast<std::size_t>(frame.Width) * 3);
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(frame.Width), static_cast<png_uint_32>(frame.Height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < frame.Height; ++y) {
        Row_To_Rgb(frame, y, row.data());
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool Write_Frame_Png(const std::string& path, const Frame_Pixels& frame)
{
    if (!Frame_Is_Valid(frame)) {
        return false;
    }
    const std::string partial = path + ".partial";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool written = Write_Rows(file, frame);
    written = std::fclose(file) == 0 && written;
    if (!written || std::rename(partial.c_str(), path.c_str()) != 0) {
        std::remove(partial.c_str());
        return false;
    }
    return true;
}
