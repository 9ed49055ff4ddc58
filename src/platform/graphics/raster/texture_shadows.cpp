// Widened texture copies of the software rasterizer.
#include "platform/graphics/raster/texture_shadows.h"

#include "platform/graphics/raster/pixel_pipeline.h"

#include <algorithm>

namespace Raster {
namespace {

// Flushes a kept copy survives without being used (a frame takes one or two).
constexpr uint64_t Kept_Flushes = 64;

inline uint32_t Pack(uint32_t r, uint32_t g, uint32_t b)
{
    return r << 16 | g << 8 | b;
}

template <typename Decode> void Widen_Rows(const Texture& texture, uint32_t* out, Decode decode)
{
    for (int32_t y = 0; y < texture.height; ++y, out += texture.width) {
        const uint8_t* row = texture.pixels + static_cast<intptr_t>(y) * texture.pitch;
        for (int32_t x = 0; x < texture.width; ++x)
            out[x] = decode(row, x);
    }
}

} // namespace

void Widen_Texels(const Texture& texture, uint32_t* out)
{
    switch (texture.format) {
    case Pixel_Format::R5G6B5:
        return Widen_Rows(texture, out, [](const uint8_t* row, int32_t x) {
            uint32_t p = Load_16(row + 2 * x);
            return Pack(Widen_5(p >> 11), Widen_6((p >> 5) & 63), Widen_5(p & 31));
        });
    case Pixel_Format::X1R5G5B5:
    case Pixel_Format::A1R5G5B5:
        return Widen_Rows(texture, out, [](const uint8_t* row, int32_t x) {
            uint32_t p = Load_16(row + 2 * x);
            return Pack(Widen_5((p >> 10) & 31), Widen_5((p >> 5) & 31), Widen_5(p & 31));
        });
    case Pixel_Format::A4R4G4B4:
        return Widen_Rows(texture, out, [](const uint8_t* row, int32_t x) {
            uint32_t p = Load_16(row + 2 * x);
            return Pack(Widen_4((p >> 8) & 15), Widen_4((p >> 4) & 15), Widen_4(p & 15));
        });
    case Pixel_Format::R8G8B8:
        return Widen_Rows(texture, out, [](const uint8_t* row, int32_t x) {
            const uint8_t* p = row + 3 * x;
            return Pack(p[2], p[1], p[0]);
        });
    case Pixel_Format::P8:
        if (!texture.palette) {
            std::fill_n(out, static_cast<size_t>(texture.width) * texture.height, 0u);
            return;
        }
        return Widen_Rows(texture, out, [palette = texture.palette](const uint8_t* row, int32_t x) {
            return palette[row[x]] & 0xFFFFFF;
        });
    case Pixel_Format::X8R8G8B8:
    case Pixel_Format::A8R8G8B8:
        return Widen_Rows(texture, out,
                          [](const uint8_t* row, int32_t x) { return Load_32(row + 4 * x) & 0xFFFFFF; });
    }
}

Texture Texture_Shadows::Widened(const Texture& texture)
{
    if (texture.format == Pixel_Format::X8R8G8B8 || texture.format == Pixel_Format::A8R8G8B8 ||
        texture.width <= 0 || texture.height <= 0)
        return texture;
    auto as_texture = [&](const std::vector<uint32_t>& texels) {
        return Texture{reinterpret_cast<const uint8_t*>(texels.data()),
                       texture.width * 4,
                       texture.width,
                       texture.height,
                       Pixel_Format::X8R8G8B8,
                       nullptr,
                       texture.revision};
    };
    if (texture.revision != 0)
        for (Shadow& shadow : kept_)
            if (shadow.source == texture) {
                shadow.last_used = flush_;
                return as_texture(shadow.texels);
            }
    std::vector<uint32_t> texels(static_cast<size_t>(texture.width) * texture.height);
    Widen_Texels(texture, texels.data());
    if (texture.revision == 0) {
        retired_.push_back(std::move(texels));
        return as_texture(retired_.back());
    }
    kept_.push_back({texture, std::move(texels), flush_});
    return as_texture(kept_.back().texels);
}

void Texture_Shadows::End_Flush()
{
    retired_.clear();
    // Copies unused for a while go, and so do a texture's earlier revisions (never asked for again).
    auto superseded = [&](const Shadow& shadow) {
        return std::any_of(kept_.begin(), kept_.end(), [&](const Shadow& other) {
            return other.source.pixels == shadow.source.pixels &&
                   other.source.revision > shadow.source.revision;
        });
    };
    std::deque<Shadow> kept;
    for (Shadow& shadow : kept_)
        if (shadow.last_used + Kept_Flushes >= flush_ && !superseded(shadow))
            kept.push_back(std::move(shadow));
    kept_ = std::move(kept);
    ++flush_;
}

} // namespace Raster
