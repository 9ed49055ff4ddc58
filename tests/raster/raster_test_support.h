// Helpers of the rasterizer tests: owned pixel buffers wrapped as targets and textures,
// and a flat-state shortcut for drawing untextured triangles.
#pragma once

#include "platform/graphics/raster/rasterizer.h"

#include <cstring>
#include <vector>

namespace raster_test {

struct Image {
    Image(int width, int height, Raster::Pixel_Format format)
        : bytes(static_cast<size_t>(width) * height * Raster::Bytes_Per_Pixel(format) + 16)
    {
        target = {bytes.data(), width * Raster::Bytes_Per_Pixel(format), width, height, format};
    }
    uint32_t Pixel_32(int x, int y) const
    {
        uint32_t value;
        std::memcpy(&value, bytes.data() + y * target.pitch + x * 4, 4);
        return value & 0xFFFFFF;
    }
    uint16_t Pixel_16(int x, int y) const
    {
        uint16_t value;
        std::memcpy(&value, bytes.data() + y * target.pitch + x * 2, 2);
        return value;
    }
    Raster::Texture As_Texture(const uint32_t* palette = nullptr) const
    {
        return {target.pixels, target.pitch, target.width, target.height, target.format, palette};
    }
    std::vector<uint8_t> bytes;
    Raster::Target target;
};

inline Raster::Vertex Point(double x, double y, double grey = 0.0, double u = 0.0, double v = 0.0)
{
    Raster::Vertex vertex;
    vertex.x = x;
    vertex.y = y;
    vertex.r = vertex.g = vertex.b = grey;
    vertex.u = u;
    vertex.v = v;
    return vertex;
}

inline Raster::State Flat_State(const Raster::Target& target, Raster::Blend blend)
{
    Raster::State state;
    state.blend = blend;
    state.clip = {0, 0, target.width, target.height};
    return state;
}

} // namespace raster_test
