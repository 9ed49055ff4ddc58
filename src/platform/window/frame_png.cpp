// PNG output of frames through libpng. The file is written beside its final name and renamed
// into place, so a reader never sees half a picture.
#include "platform/window/frame_png.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

uint8_t Expand(uint32_t value, int bits)
{
    return static_cast<uint8_t>(bits == 5 ? (value << 3) | (value >> 2) : (value << 2) | (value >> 4));
}

void Row_To_Rgb(const Frame_Pixels& frame, int y, uint8_t* out)
{
    const auto* row =
        static_cast<const uint8_t*>(frame.Pixels) + static_cast<std::ptrdiff_t>(y) * frame.Pitch;
    for (int x = 0; x < frame.Width; ++x, out += 3) {
        if (frame.Bits_Per_Pixel == 32 || frame.Bits_Per_Pixel == 24) {
            const uint8_t* p = row + x * (frame.Bits_Per_Pixel / 8);
            out[0] = p[2];
            out[1] = p[1];
            out[2] = p[0];
            continue;
        }
        uint32_t word = static_cast<uint32_t>(row[x * 2]) | (static_cast<uint32_t>(row[x * 2 + 1]) << 8);
        bool six_green = frame.Green_Mask == 0x07E0;
        out[0] = Expand(six_green ? (word >> 11) & 0x1F : (word >> 10) & 0x1F, 5);
        out[1] = six_green ? Expand((word >> 5) & 0x3F, 6) : Expand((word >> 5) & 0x1F, 5);
        out[2] = Expand(word & 0x1F, 5);
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
    int bits = frame.Bits_Per_Pixel;
    if (frame.Pixels == nullptr || frame.Width <= 0 || frame.Height <= 0 ||
        (bits != 16 && bits != 24 && bits != 32)) {
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
