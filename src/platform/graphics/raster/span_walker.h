// The covered spans of consecutive rows of one set-up triangle. Each edge bounds the span on
// one side by floor(k / |a|) of its row value k; the bound is kept as a quotient and a
// remainder in [0, |a|) and stepped by the row's change of k, so a row costs a few additions
// and no division, and the carry is taken without a branch (it is as likely as not). The
// spans equal those solved directly from the edge functions.
#pragma once

#include "platform/graphics/raster/raster_arithmetic.h"
#include "platform/graphics/raster/triangle_setup.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace Raster {

class Span_Walker {
public:
    Span_Walker() = default;

    // Positioned at row y.
    Span_Walker(const Triangle_Setup& setup, int32_t y) : box_(setup.box)
    {
        for (int i = 0; i < 3; ++i) {
            const Plane& e = setup.edges[i];
            Bound& b = bounds_[i];
            const int64_t k = e.b * y + e.c;
            if (e.a == 0) {
                // Only the sign of k counts; a divisor no remainder reaches never carries.
                b.kind = Side::Sign;
                b.quotient = k, b.step_quotient = e.b;
                b.divisor = std::numeric_limits<int64_t>::max();
                continue;
            }
            b.kind = e.a > 0 ? Side::Left : Side::Right;
            b.divisor = e.a > 0 ? e.a : -e.a;
            b.quotient = Floor_Div(k, b.divisor);
            b.remainder = k - b.quotient * b.divisor;
            b.step_quotient = Floor_Div(e.b, b.divisor);
            b.step_remainder = e.b - b.step_quotient * b.divisor;
        }
    }

    // The covered span [left, right) of the current row; false when no pixel is covered.
    bool Span(int32_t& left, int32_t& right) const
    {
        int64_t lo = box_.left, hi = box_.right;
        for (const Bound& b : bounds_) {
            if (b.kind == Side::Left)
                lo = std::max(lo, -b.quotient);
            else if (b.kind == Side::Right)
                hi = std::min(hi, b.quotient + 1);
            else if (b.quotient < 0)
                return false;
        }
        if (lo >= hi)
            return false;
        left = static_cast<int32_t>(lo);
        right = static_cast<int32_t>(hi);
        return true;
    }

    // To the next row.
    void Step()
    {
        for (Bound& b : bounds_) {
            b.remainder += b.step_remainder;
            const int64_t carry = b.remainder >= b.divisor ? 1 : 0;
            b.quotient += b.step_quotient + carry;
            b.remainder -= b.divisor & -carry;
        }
    }

private:
    enum class Side : uint8_t { Left, Right, Sign }; // a > 0 bounds the left end, a < 0 the right
    struct Bound {
        int64_t quotient = 0, remainder = 0, step_quotient = 0, step_remainder = 0, divisor = 1;
        Side kind = Side::Sign;
    };
    Rect box_;
    Bound bounds_[3];
};

} // namespace Raster
