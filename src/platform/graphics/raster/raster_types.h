// Plain inputs of the rasterizer core: the target and texture pixel buffers, screen-space
// vertices and the drawing state. They carry no DirectDraw/Direct3D types so the core can be
// tested and benchmarked on its own; the devices translate their surfaces and render states
// into these.
#pragma once

#include <cstdint>

namespace Raster {

enum class Pixel_Format : uint8_t {
    R5G6B5,
    X1R5G5B5,
    A1R5G5B5,
    A4R4G4B4,
    R8G8B8, // 24 bits: bytes blue, green, red
    X8R8G8B8,
    A8R8G8B8,
    P8, // 8-bit palette index
};

inline int Bytes_Per_Pixel(Pixel_Format format)
{
    switch (format) {
    case Pixel_Format::R8G8B8:
        return 3;
    case Pixel_Format::X8R8G8B8:
    case Pixel_Format::A8R8G8B8:
        return 4;
    case Pixel_Format::P8:
        return 1;
    default:
        return 2;
    }
}

// The formats a device can render into.
inline bool Is_Target_Format(Pixel_Format format)
{
    return format == Pixel_Format::R5G6B5 || format == Pixel_Format::X1R5G5B5 ||
           format == Pixel_Format::X8R8G8B8;
}

struct Target {
    uint8_t* pixels = nullptr;
    int32_t pitch = 0; // bytes from one row to the next
    int32_t width = 0;
    int32_t height = 0;
    Pixel_Format format = Pixel_Format::X8R8G8B8;
};

// A palette entry is 0x00RRGGBB.
struct Texture {
    const uint8_t* pixels = nullptr;
    int32_t pitch = 0;
    int32_t width = 0;
    int32_t height = 0;
    Pixel_Format format = Pixel_Format::X8R8G8B8;
    const uint32_t* palette = nullptr; // 256 entries for P8
    // Zero, or a value that changes whenever the texels or the palette may have changed and
    // never repeats: a rasterizer may keep converted copies of the texels while it stays.
    uint64_t revision = 0;
    // Null, or the X8R8G8B8 texels again with each row's texels interleaved with those of the
    // row below: at row_pairs + y * 8 * width + 8 * x lie the texels (x, y), (x, y + 1),
    // (x + 1, y), (x + 1, y + 1), a bilinear sample's whole neighbourhood in one 16-byte
    // load (y < height - 1). Kept by the software rasterizer where its vector run may need it.
    const uint8_t* row_pairs = nullptr;

    // Same texels read the same way: the whole record, field by field.
    bool operator==(const Texture&) const = default;
};

// The clip rectangle in target pixels: [left, right) x [top, bottom).
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// A vertex in target pixel coordinates after transformation and clipping.
struct Vertex {
    double x = 0.0;
    double y = 0.0;
    double rhw = 1.0;                 // 1/w, used by perspective-correct texturing only
    double r = 0.0, g = 0.0, b = 0.0; // colour channels 0..255
    double u = 0.0, v = 0.0;          // texture coordinates 0..1 across the texture
};

enum class Blend : uint8_t { Opaque, Add, Keep };
enum class Colour_Source : uint8_t { Modulate, Texture, Diffuse };
enum class Filter : uint8_t { Point, Bilinear };
enum class Address : uint8_t { Clamp, Wrap, Mirror };

struct State {
    Blend blend = Blend::Opaque;
    Colour_Source colour = Colour_Source::Modulate;
    Filter mag_filter = Filter::Bilinear;
    Filter min_filter = Filter::Bilinear;
    Address address_u = Address::Clamp;
    Address address_v = Address::Clamp;
    bool dither = false;
    bool perspective = false;
    bool textured = false; // false: diffuse colour only
    Texture texture;
    Rect clip;
};

} // namespace Raster
