// The gradient's random look and its two fills (see gradient.h).
#include "effects/gradient.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "log/error_log.h"
#include "platform/system/random.h"

// The default -O2 cost model refuses loops whose length is known only at run time; the row
// runs are the per-update work and are worth their vector versions.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("vect-cost-model=dynamic")
#endif

Gradient D3DGradient;

namespace {

// Grey at each depth, from a level of 0 … 255 (32 bits) or 0 … 31 (16 bits).
uint32_t Grey_32(uint32_t g)
{
    return g | (g << 8) | (g << 16);
}

uint16_t Grey_16(uint32_t g, bool is_565)
{
    return static_cast<uint16_t>(g | (g << 5) | (g << (is_565 ? 11 : 10)));
}

template <typename Word> void Fill_Run(uint8_t* row, int32_t pixels, Word value)
{
    for (int32_t x = 0; x < pixels; ++x)
        std::memcpy(row + std::size_t(x) * sizeof(Word), &value, sizeof(Word));
}

} // namespace

void Gradient::Reset()
{
    is_565 = false;
    upward = true;
    band = 32;
    created_flags = 0;
    state_32 = GradientState{};
    state_16 = GradientState{};
    traced_32 = traced_16 = false;
}

int Gradient::Choose_Random_Bands()
{
    band = 8 << (Random::rand() % 6);
    upward = (Random::rand() % 2 == 0);
    return 1;
}

template <int Bytes>
void Gradient::Draw_Stripes(GradientState& s, uint8_t* pixels, uint32_t pitch, int32_t side, int32_t height)
{
    const int32_t maximum = (Bytes == 4) ? 255 : 31;
    int32_t step = ((Bytes == 4) ? 512 : 64) / std::max(band, int32_t{1});
    int32_t level = 0;
    const int32_t start = static_cast<int32_t>(s.offset);
    const int32_t run = static_cast<int32_t>(std::min<int64_t>((side / 8) * 8, pitch / Bytes));
    auto write_row = [&](int32_t i, int64_t product) {
        if (i < 0 || i >= side || i >= height)
            return;
        const uint32_t g = static_cast<uint32_t>(product / side);
        uint8_t* row = pixels + std::size_t(i) * pitch;
        if constexpr (Bytes == 4)
            Fill_Run<uint32_t>(row, run, Grey_32(g));
        else
            Fill_Run<uint16_t>(row, run, Grey_16(g, is_565));
    };
    if (!upward) {
        for (int32_t i = start; i < side; ++i) {
            write_row(i, int64_t{i} * level);
            Gradient_Next_Level(level, step, maximum);
        }
        s.offset += 1.0f;
        if (s.offset >= 0.0f)
            s.offset = static_cast<float>(-band);
    } else {
        for (int32_t i = start; i >= 0; --i) {
            write_row(i, int64_t{side - i} * level);
            Gradient_Next_Level(level, step, maximum);
        }
        s.offset -= 1.0f;
        if (s.offset < static_cast<float>(side))
            s.offset = static_cast<float>(band + side - 1);
    }
}

int Gradient::Frame_Move_32(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt)
{
    GradientState& s = state_32;
    s.elapsed += std::isfinite(dt) ? dt : 0.0;
    if (s.elapsed < Update_Interval)
        return 1;
    s.elapsed = 0.0;
    if (!traced_32)
        Trace_Enter("Gradient::Frame_Move_32");
    if (pixels == nullptr) {
        Report("Gradient::Frame_Move_32: NULL Surface FAILED");
        return 0;
    }
    if (!s.drawn) {
        s.offset = static_cast<float>(-band);
        s.drawn = true;
    }
    Draw_Stripes<4>(s, pixels, pitch & ~3u, width, height);
    if (!traced_32) {
        Trace_Exit("Gradient::Frame_Move 32");
        traced_32 = Trace_Enabled();
    }
    return 1;
}

int Gradient::Frame_Move_16(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt)
{
    GradientState& s = state_16;
    s.elapsed += std::isfinite(dt) ? dt : 0.0;
    if (s.elapsed < Update_Interval)
        return 1;
    s.elapsed = 0.0;
    if (!traced_16)
        Trace_Enter("Gradient::Frame_Move_16");
    if (pixels == nullptr) {
        Report("Gradient::Frame_Move_16: NULL Surface FAILED");
        return 0;
    }
    if (!s.drawn) {
        s.offset = static_cast<float>(-band);
        s.drawn = true;
    }
    // 16 bits cannot show more than 32 levels per stripe: longer bands become 8, 16 or 32.
    if (band > 32)
        band = 8 << (Random::rand() % 3);
    Draw_Stripes<2>(s, pixels, pitch & ~1u, width, height);
    if (!traced_16) {
        Trace_Exit("Gradient::Frame_Move 16");
        traced_16 = Trace_Enabled();
    }
    return 1;
}
