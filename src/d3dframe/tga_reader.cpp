// The TGA reader.
#include "d3dframe/tga_reader.h"

#include "platform/system/files.h"

#include <new>
#include <vector>

namespace {

// Bytes of the file in order; past the end every byte reads as 255.
class Byte_Stream {
public:
    explicit Byte_Stream(std::vector<uint8_t>&& bytes) : Bytes(std::move(bytes)) {}
    uint8_t Next() { return Position < Bytes.size() ? Bytes[Position++] : (Position++, 0xFF); }
    void Skip(size_t count) { Position += count; }

private:
    std::vector<uint8_t> Bytes;
    size_t Position = 0;
};

uint32_t Read_Pixel(Byte_Stream& in, bool four_bytes)
{
    uint32_t blue = in.Next(), green = in.Next(), red = in.Next();
    uint32_t alpha = four_bytes ? in.Next() : 0xFF;
    return red << 24 | green << 16 | blue << 8 | alpha;
}

} // namespace

HRESULT Load_Tga_File(const char* path, Tga_Image& image)
{
    std::vector<uint8_t> bytes;
    if (!path || Files::Read_All(path, bytes, Tga_Max_File_Size) != Files::Read_Result::Done) {
        return E_FAIL;
    }
    Byte_Stream in(std::move(bytes));
    uint8_t header[18];
    for (uint8_t& b : header) {
        b = in.Next();
    }
    const uint8_t id_length = header[0], colour_map_type = header[1], image_type = header[2];
    if (colour_map_type != 0 || (image_type != 2 && image_type != 10)) {
        return E_FAIL;
    }
    const DWORD width = header[12] | header[13] << 8;
    const DWORD height = header[14] | header[15] << 8;
    const DWORD depth = header[16];
    const bool top_down = (header[17] & 0x20) != 0;
    if (width == 0 || height == 0 || width > Tga_Max_Side || height > Tga_Max_Side ||
        uint64_t{width} * height > Tga_Max_Pixels) {
        return E_FAIL;
    }
    std::unique_ptr<uint32_t[]> rgba(new (std::nothrow) uint32_t[size_t{width} * height]);
    if (!rgba) {
        return E_FAIL;
    }
    in.Skip(id_length);

    const bool four_bytes = depth == 32;
    uint32_t run_left = 0, literal_left = 0, run_pixel = 0;
    for (DWORD i = 0; i < height; ++i) {
        uint32_t* row = rgba.get() + size_t{top_down ? i : height - 1 - i} * width;
        for (DWORD x = 0; x < width; ++x) {
            if (image_type == 2) {
                row[x] = Read_Pixel(in, four_bytes);
                continue;
            }
            if (run_left == 0 && literal_left == 0) {
                uint8_t h = in.Next();
                uint32_t count = (h & 0x7Fu) + 1;
                if (h & 0x80) {
                    run_pixel = Read_Pixel(in, four_bytes);
                    run_left = count;
                } else {
                    literal_left = count;
                }
            }
            if (run_left > 0) {
                row[x] = run_pixel;
                --run_left;
            } else {
                row[x] = Read_Pixel(in, four_bytes);
                --literal_left;
            }
        }
    }
    image.Width = width;
    image.Height = height;
    image.Bits_Per_Pixel = depth;
    image.Rgba = std::move(rgba);
    return S_OK;
}
