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

// Whether the pixel bytes present could be at least half of the image's most compact encoding
// (3 or 4 bytes a pixel; for run-length data one packet of a header and a pixel per 128
// pixels). A file cut short still decodes, its missing bytes as 255, but an 18-byte header
// promising 8192 × 8192 pixels is not a picture: refusing it keeps what is allocated and
// decoded in proportion to the file.
bool File_Can_Hold(uint64_t pixels, uint8_t image_type, bool four_bytes, uint64_t bytes_present)
{
    const uint64_t pixel_bytes = four_bytes ? 4 : 3;
    const uint64_t smallest =
        image_type == 2 ? pixels * pixel_bytes : (pixels + 127) / 128 * (1 + pixel_bytes);
    return 2 * bytes_present >= smallest;
}

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
    const uint64_t file_size = bytes.size();
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
    const uint64_t header_bytes = 18 + uint64_t{id_length};
    const uint64_t bytes_present = file_size > header_bytes ? file_size - header_bytes : 0;
    if (!File_Can_Hold(uint64_t{width} * height, image_type, depth == 32, bytes_present)) {
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
