// The scalar side of the vector runs (bilinear_run_avx512.cpp, bilinear_run_avx2.cpp): where
// each row of a job starts, the texture as a block reads it, and the span of a block's first
// taps, from which a run tells the blocks that lie inside the texture (no lane clamped) from
// those that clamp.
#pragma once

#include "platform/graphics/raster/bilinear_block.h"

#include <algorithm>
#include <cstdint>

namespace Raster {
namespace {

// A row of a Rows_Job as a run: its first texel positions and pixel, its length, and the
// dither biases of its first eight pixels (null: none, or a 32-bit target of Bytes 4).
struct Row_Start {
    int64_t u, v;
    uint8_t* out;
    int count;
    const uint32_t* dither_bias;
};

template <int Bytes> inline Row_Start Start_Of(const Rows_Job& job, const Row_Extent& row)
{
    return {job.u.At(row.left, row.y), job.v.At(row.left, row.y),
            job.pixels + static_cast<intptr_t>(row.y) * job.pitch + static_cast<intptr_t>(row.left) * Bytes,
            row.right - row.left,
            Bytes == 2 && job.dither_biases ? job.dither_biases + 8 * (4 * (row.y & 3) + (row.left & 3))
                                            : nullptr};
}

// The run's texture, as the block needs it.
struct Source {
    const uint8_t* pixels;
    const uint8_t* row_pairs;
    int32_t pitch;
    int32_t last_x, last_y; // the first tap of a pair is at most these (size - 2)
    int32_t width, height;
};

// The first taps of a block's pairs span [left, left + across] x [top, top + down]; inside:
// a whole block with no lane clamped.
struct Block_Bounds {
    int32_t left, top, across, down;
    bool inside;
};

// From the positions of the first and the last lane, u and u + reach: positions are linear
// along the run and clamping keeps their order, so the two ends bound every lane. whole: a
// block of as many pixels as lanes (those past the end of a last block are not bounded;
// clamped, they stay readable).
inline Block_Bounds Bounds(const Source& s, int64_t u, int64_t reach_u, int64_t v, int64_t reach_v,
                           bool whole)
{
    const int64_t xa = u >> 24, xb = (u + reach_u) >> 24, ya = v >> 24, yb = (v + reach_v) >> 24;
    Block_Bounds b;
    // As unsigned numbers, negative positions are beyond every last texel.
    // As integers, so that the five tests are and-ed without branches.
    auto in = [](int64_t i, int32_t last) -> int {
        return static_cast<uint64_t>(i) <= static_cast<uint64_t>(last);
    };
    b.inside = whole & in(xa, s.last_x) & in(xb, s.last_x) & in(ya, s.last_y) & in(yb, s.last_y);
    // Most blocks lie inside: their ends need no clamping, so the branch saves the clamps' work.
    const int64_t x_low = std::min(xa, xb), x_high = std::max(xa, xb);
    const int64_t y_low = std::min(ya, yb), y_high = std::max(ya, yb);
    if (b.inside) [[likely]] {
        b.left = static_cast<int32_t>(x_low), b.top = static_cast<int32_t>(y_low);
        b.across = static_cast<int32_t>(x_high - x_low), b.down = static_cast<int32_t>(y_high - y_low);
        return b;
    }
    auto clamp = [](int64_t i, int32_t last) {
        return static_cast<int32_t>(i < 0 ? 0 : i > last ? last : i);
    };
    b.left = clamp(x_low, s.last_x);
    b.top = clamp(y_low, s.last_y);
    b.across = clamp(x_high, s.last_x) - b.left;
    b.down = clamp(y_high, s.last_y) - b.top;
    return b;
}

} // namespace
} // namespace Raster
