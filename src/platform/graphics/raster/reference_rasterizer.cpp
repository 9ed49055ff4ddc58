// The reference rasterizer: for each pixel of a triangle's clipped bounding box, evaluate
// the three edge functions and the attribute planes directly and shade it. Slow and plain
// on purpose: it is the oracle the software rasterizer is tested against.
#include "platform/graphics/raster/pixel_pipeline.h"
#include "platform/graphics/raster/rasterizer.h"

#include <algorithm>

namespace Raster {
namespace {

class Reference_Rasterizer final : public Rasterizer {
public:
    void Set_Target(const Target& target) override { target_ = target; }

    void Clear(const Rect& rect, uint32_t colour) override { Fill_Rows(target_, rect, colour); }

    void Draw_Triangle(const Vertex& v0, const Vertex& v1, const Vertex& v2, const State& state,
                       Cull cull) override
    {
        const State clipped = Clipped_To(state, target_);
        Triangle_Setup setup;
        if (!target_.pixels || !Set_Up_Triangle(v0, v1, v2, clipped, cull, setup))
            return;
        for (int32_t y = setup.box.top; y < setup.box.bottom; ++y)
            for (int32_t x = setup.box.left; x < setup.box.right; ++x)
                if (setup.Covers(x, y))
                    Blend_Pixel(target_, clipped, x, y, Shade(setup, clipped, Attributes_At(setup, x, y)));
    }

    void Flush() override {}

private:
    Target target_;
};

} // namespace

std::unique_ptr<Rasterizer> Make_Reference_Rasterizer()
{
    return std::make_unique<Reference_Rasterizer>();
}

void Fill_Rows(const Target& target, const Rect& rect, uint32_t colour)
{
    int32_t left = std::max(rect.left, 0), right = std::min(rect.right, target.width);
    int32_t top = std::max(rect.top, 0), bottom = std::min(rect.bottom, target.height);
    if (!target.pixels || left >= right || top >= bottom)
        return;
    Rgb c{(colour >> 16) & 255, (colour >> 8) & 255, colour & 255};
    int bytes = Bytes_Per_Pixel(target.format);
    uint8_t pattern[4];
    Store_Target(pattern, target.format, c, false, 0, 0);
    // The first row is filled pixel by pixel (fixed-size copies the compiler can widen), the
    // others are copies of it.
    uint8_t* first =
        target.pixels + static_cast<intptr_t>(top) * target.pitch + static_cast<intptr_t>(left) * bytes;
    const size_t row_bytes = static_cast<size_t>(right - left) * bytes;
    auto fill = [&](auto value) {
        std::memcpy(&value, pattern, sizeof value);
        for (size_t i = 0; i < row_bytes; i += sizeof value)
            std::memcpy(first + i, &value, sizeof value);
    };
    if (bytes == 4)
        fill(uint32_t{});
    else if (bytes == 2)
        fill(uint16_t{});
    else
        for (size_t i = 0; i < row_bytes; i += bytes)
            std::memcpy(first + i, pattern, bytes);
    for (int32_t y = top + 1; y < bottom; ++y)
        std::memcpy(first + static_cast<intptr_t>(y - top) * target.pitch, first, row_bytes);
}

} // namespace Raster
