// One bit for each pixel of an area of rows: which pixels the opaque triangles drawn over a
// clear stored, so that the clear fills only the others.
#pragma once

#include "platform/graphics/raster/raster_types.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace Raster {

class Row_Marks {
public:
    // Every pixel of area unmarked.
    void Reset(const Rect& area)
    {
        area_ = area;
        words_ = (area.right - area.left + 63) / 64;
        bits_.assign(static_cast<size_t>(words_) * static_cast<size_t>(area.bottom - area.top), 0);
    }

    // Marks pixels [left, right) of row y, where they lie in the area.
    void Mark(int32_t y, int32_t left, int32_t right)
    {
        if (y < area_.top || y >= area_.bottom)
            return;
        const int32_t l = std::max(left, area_.left) - area_.left,
                      r = std::min(right, area_.right) - area_.left;
        if (l >= r)
            return;
        uint64_t* row = Row(y);
        const int32_t first = l / 64, last = (r - 1) / 64;
        const uint64_t head = ~uint64_t{0} << (l % 64), tail = ~uint64_t{0} >> (63 - (r - 1) % 64);
        if (first == last) {
            row[first] |= head & tail;
            return;
        }
        row[first] |= head;
        std::fill(row + first + 1, row + last, ~uint64_t{0});
        row[last] |= tail;
    }

    // f(y, left, right) for each run [left, right) of unmarked pixels of each row.
    template <typename F> void For_Each_Unmarked(F f) const
    {
        const int32_t width = area_.right - area_.left;
        for (int32_t y = area_.top; y < area_.bottom; ++y) {
            const uint64_t* row = Row(y);
            for (int32_t x = Next(row, 0, width, false); x < width;) {
                const int32_t end = Next(row, x, width, true);
                f(y, area_.left + x, area_.left + end);
                x = Next(row, end, width, false);
            }
        }
    }

private:
    uint64_t* Row(int32_t y) { return bits_.data() + static_cast<size_t>(y - area_.top) * words_; }
    const uint64_t* Row(int32_t y) const
    {
        return bits_.data() + static_cast<size_t>(y - area_.top) * words_;
    }

    // The first pixel at or after x whose mark is the given one, or width.
    static int32_t Next(const uint64_t* row, int32_t x, int32_t width, bool marked)
    {
        while (x < width) {
            const uint64_t word = (marked ? row[x / 64] : ~row[x / 64]) >> (x % 64);
            if (word != 0)
                return std::min(width, x + std::countr_zero(word));
            x = (x / 64 + 1) * 64;
        }
        return width;
    }

    Rect area_;
    int32_t words_ = 0;
    std::vector<uint64_t> bits_;
};

} // namespace Raster
