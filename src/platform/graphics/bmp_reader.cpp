// The bitmap reader. Every offset is checked against the file size in 64-bit arithmetic before
// it is read, so no size or offset field can lead a read outside the bytes given.
#include "platform/graphics/bmp_reader.h"

#include <bit>

namespace {

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;
constexpr uint64_t File_Header_Size = 14;

uint32_t U32(const uint8_t* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t U16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

struct Mask {
    uint32_t Bits = 0;
    int Shift = 0;
    int Width = 0;
    explicit Mask(uint32_t bits = 0) : Bits(bits)
    {
        if (bits) {
            Shift = std::countr_zero(bits);
            Width = 32 - std::countl_zero(bits) - Shift;
        }
    }
    // The channel widened to 8 bits (repeating its top bits); missing when there is no mask.
    uint32_t Read(uint32_t value, uint32_t missing) const
    {
        if (!Bits) {
            return missing;
        }
        uint32_t v = (value & Bits) >> Shift;
        if (Width >= 8) {
            return (v >> (Width - 8)) & 0xFF;
        }
        uint32_t out = 0;
        int filled = 0;
        while (filled < 8) {
            out = (out << Width) | v;
            filled += Width;
        }
        return (out >> (filled - 8)) & 0xFF;
    }
};

bool Fail(std::string& reason, const char* text)
{
    reason = text;
    return false;
}

} // namespace

bool Read_Bmp(const uint8_t* data, std::size_t size, Bmp_Image& image, std::string& reason)
{
    image = Bmp_Image{};
    const uint64_t file_size = size;
    if (!data || file_size < File_Header_Size + 4) {
        return Fail(reason, "file too short for a bitmap header");
    }
    if (data[0] != 'B' || data[1] != 'M') {
        return Fail(reason, "not a bitmap file (no BM signature)");
    }
    const uint64_t pixel_offset = U32(data + 10);
    const uint64_t header_size = U32(data + 14);
    if (header_size != 40 && header_size != 52 && header_size != 56 && header_size != 108 &&
        header_size != 124) {
        return Fail(reason, "unsupported bitmap header size");
    }
    if (File_Header_Size + header_size > file_size) {
        return Fail(reason, "truncated bitmap header");
    }
    const uint8_t* h = data + File_Header_Size;
    const int64_t width = static_cast<int32_t>(U32(h + 4));
    const int64_t raw_height = static_cast<int32_t>(U32(h + 8));
    const uint16_t planes = U16(h + 12);
    const uint16_t bits = U16(h + 14);
    const uint32_t compression = U32(h + 16);
    const uint64_t colours_used = U32(h + 32);

    if (width <= 0) {
        return Fail(reason, "zero or negative width");
    }
    if (raw_height == 0) {
        return Fail(reason, "zero height");
    }
    const bool top_down = raw_height < 0;
    const int64_t height = top_down ? -raw_height : raw_height;
    if (width > Bmp_Max_Side || height > Bmp_Max_Side) {
        return Fail(reason, "dimensions above 16384");
    }
    if (planes != 1) {
        return Fail(reason, "plane count is not 1");
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return Fail(reason, "unsupported bits per pixel");
    }
    const bool bitfields = compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS;
    if (compression != BI_RGB && !bitfields) {
        return Fail(reason, "compressed bitmaps are not supported");
    }
    if (bitfields && bits != 16 && bits != 32) {
        return Fail(reason, "bit-field masks on a depth other than 16 or 32");
    }

    // Masks: inside the V2+ headers, or right after a 40-byte header. A 52-byte header holds
    // three masks, whatever the compression asks for; the larger ones hold four. After a
    // 40-byte header the compression tells whether an alpha mask follows.
    uint64_t table_offset = File_Header_Size + header_size;
    Mask red, green, blue, alpha;
    if (bitfields) {
        const uint64_t mask_count =
            header_size == 40 ? (compression == BI_ALPHABITFIELDS ? 4 : 3) : (header_size >= 56 ? 4 : 3);
        const uint8_t* m = h + 40;
        if (header_size == 40) {
            if (table_offset + mask_count * 4 > file_size) {
                return Fail(reason, "bit-field masks beyond the end of the file");
            }
            m = data + table_offset;
            table_offset += mask_count * 4;
        }
        red = Mask(U32(m));
        green = Mask(U32(m + 4));
        blue = Mask(U32(m + 8));
        alpha = Mask(mask_count == 4 ? U32(m + 12) : 0);
        if (!red.Bits && !green.Bits && !blue.Bits) {
            return Fail(reason, "bit-field masks are all zero");
        }
    } else if (bits == 16) {
        red = Mask(0x7C00);
        green = Mask(0x03E0);
        blue = Mask(0x001F);
    } else if (bits >= 24) {
        red = Mask(0xFF0000);
        green = Mask(0x00FF00);
        blue = Mask(0x0000FF);
    }

    if (bits <= 8) {
        const uint64_t most = uint64_t{1} << bits;
        uint64_t entries = colours_used == 0 ? most : colours_used;
        if (entries > 256) {
            return Fail(reason, "colour table larger than 256 entries");
        }
        if (table_offset + entries * 4 > file_size) {
            return Fail(reason, "colour table beyond the end of the file");
        }
        for (uint64_t i = 0; i < entries; ++i) {
            image.Colour_Table.push_back(U32(data + table_offset + i * 4) & 0x00FFFFFF);
        }
    }

    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    if (pixel_offset >= file_size) {
        return Fail(reason, "pixel data offset past the end of the file");
    }
    if (pixel_offset + stride * static_cast<uint64_t>(height) > file_size) {
        return Fail(reason, "truncated pixel data");
    }

    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    image.Width = static_cast<int32_t>(width);
    image.Height = static_cast<int32_t>(height);
    image.Bits_Per_Pixel = bits;
    image.Colours.resize(count);
    if (bits <= 8) {
        image.Indices.resize(count);
    }
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* in = data + pixel_offset + stride * static_cast<uint64_t>(row);
        const int64_t y = top_down ? row : height - 1 - row;
        const size_t base = static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int64_t x = 0; x < width; ++x) {
            uint32_t colour;
            if (bits <= 8) {
                const uint64_t bit = static_cast<uint64_t>(x) * bits;
                const unsigned shift = 8 - bits - static_cast<unsigned>(bit % 8);
                const uint8_t index = static_cast<uint8_t>((in[bit / 8] >> shift) & ((1u << bits) - 1));
                image.Indices[base + x] = index;
                const uint32_t entry = index < image.Colour_Table.size() ? image.Colour_Table[index] : 0;
                colour = 0xFF000000u | entry;
            } else {
                uint32_t value = 0;
                const uint8_t* p = in + x * (bits / 8);
                if (bits == 16) {
                    value = U16(p);
                } else if (bits == 24) {
                    value = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16;
                } else {
                    value = U32(p);
                }
                colour = alpha.Read(value, 0xFF) << 24 | red.Read(value, 0) << 16 |
                         green.Read(value, 0) << 8 | blue.Read(value, 0);
            }
            image.Colours[base + x] = colour;
        }
    }
    return true;
}
