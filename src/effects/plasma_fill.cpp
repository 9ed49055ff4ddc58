// The plasma's per-frame fills at 32, 24 and 16 bits per pixel (see plasma.h).
//
// Each fill first moves the phases and the four sampling offsets of every wave, then computes
// one row of folded channel bytes at a time (plain byte loops the compiler vectorises) and
// packs each value into four neighbouring pixels. Nothing is allocated.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "effects/plasma.h"
#include "log/error_log.h"

namespace {

// Phase speeds in radians per 1.65 seconds, single-precision values used widened.
constexpr float Phase_Speed[8] = {0.068f, 0.08f, 0.24f, 0.16f, 0.32f, 0.12f, 0.28f, 0.04f};

// Half-extent × sine, truncated toward zero. A phase that overflowed to infinity (after an
// absurd elapsed time) would give a non-number; it samples the centre instead.
int32_t Swing(int32_t half, double sine)
{
    if (!(sine >= -1.0 && sine <= 1.0))
        sine = 0.0;
    return static_cast<int32_t>(half * sine);
}

void Store_32(uint8_t* at, uint32_t value)
{
    std::memcpy(at, &value, 4);
}

void Store_16(uint8_t* at, uint16_t value)
{
    std::memcpy(at, &value, 2);
}

} // namespace

void Plasma::Advance_Phases(double dt)
{
    if (!std::isfinite(dt))
        dt = 0.0;
    const double e = 1.65 / dt; // infinite for dt = 0: every increment is 0
    for (int i = 0; i < 8; ++i) {
        const double increment = static_cast<double>(Phase_Speed[i]) / e;
        for (PlasmaWave& w : wave) {
            if (i % 2 == 0)
                w.phase[i] += increment;
            else
                w.phase[i] -= increment;
        }
    }
}

void Plasma::Compute_Offsets()
{
    const int32_t ax = wave[0].width / 2;
    const int32_t ay = wave[0].height / 2;
    const std::size_t row_length = std::size_t(2) * wave[0].width;
    auto at = [&](int32_t x, int32_t y) { return std::size_t(x) + std::size_t(y) * row_length; };
    for (int w = 0; w < 3; ++w) {
        const float* p = wave[w].phase;
        offset[w].a = at(ax + Swing(ax, std::sin(double(p[0]))), ay + Swing(ay, std::cos(double(p[1]))));
        offset[w].b = at(ax + Swing(ax, std::cos(double(p[2]))), ay + Swing(ay, std::sin(double(p[3]))));
        offset[w].c = at(ax + Swing(ax, std::cos(double(p[4]))), ay + Swing(ay, std::sin(double(p[5]))));
        offset[w].d = at(ax + Swing(ax, std::cos(double(p[6]))), ay + Swing(ay, std::sin(double(p[7]))));
    }
}

Plasma::Extent Plasma::Fill_Extent(uint32_t pitch, uint32_t bytes_per_pixel, int32_t width,
                                   int32_t height) const
{
    if (width <= 0 || height <= 0)
        return {0, 0};
    const int32_t table_pixels = (wave[0].width / 4) * 4;
    const int64_t pitch_pixels = pitch / bytes_per_pixel;
    const int32_t pixels = static_cast<int32_t>(std::min<int64_t>({table_pixels, width, pitch_pixels}));
    return {std::min(wave[0].height, height), pixels};
}

void Plasma::Compute_Row(int32_t row, int32_t columns)
{
    const std::size_t r = std::size_t(row) * 2 * std::size_t(wave[0].width);
    for (int w = 0; w < 3; ++w) {
        const uint8_t* d = wave[w].distance_table.get() + offset[w].b + r;
        const uint8_t* ra = wave[w].ripple_table.get() + offset[w].a + r;
        const uint8_t* rc = wave[w].ripple_table.get() + offset[w].c + r;
        const uint8_t* rd = wave[w].ripple_table.get() + offset[w].d + r;
        uint8_t* out = channel[w].data();
        for (int32_t j = 0; j < columns; ++j)
            out[j] = Plasma_Fold(static_cast<uint8_t>(d[j] + ra[j] + rc[j] + rd[j]));
    }
}

int Plasma::Multi_Colour_Plasma_32(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt)
{
    if (!Has_Tables())
        return 0;
    Trace_Enter("Plasma::Multi_Colour_Plasma_32");
    Advance_Phases(dt);
    Compute_Offsets();
    if (pixels == nullptr) {
        snprintf(Message_Buffer, sizeof Message_Buffer, "Process 32 Plasma():NULL destination surface");
        Report(Message_Buffer);
        return 0;
    }
    const uint32_t row_pitch = pitch & ~3u;
    const Extent extent = Fill_Extent(row_pitch, 4, width, height);
    const int rb = red_shift, gb = green_shift, bb = blue_shift;
    for (int32_t i = 0; i < extent.rows; ++i) {
        Compute_Row(i, (extent.pixels + 3) / 4);
        uint8_t* out = pixels + std::size_t(i) * row_pitch;
        const uint8_t* b = channel[0].data();
        const uint8_t* g = channel[1].data();
        const uint8_t* r = channel[2].data();
        for (int32_t x = 0; x < extent.pixels; ++x) {
            const int32_t j = x >> 2;
            const uint32_t value =
                (uint32_t(b[j] >> bb) << 1) | (uint32_t(g[j] >> gb) << 9) | (uint32_t(r[j] >> rb) << 17);
            Store_32(out + std::size_t(x) * 4, value);
        }
    }
    Trace_Exit("Plasma::Multi_Colour_Plasma_32");
    return 1;
}

int Plasma::Multi_Colour_Plasma_24(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt)
{
    if (!Has_Tables())
        return 0;
    Trace_Enter("Plasma::Multi_Colour_Plasma_24");
    Advance_Phases(dt);
    Compute_Offsets();
    if (pixels == nullptr) {
        snprintf(Message_Buffer, sizeof Message_Buffer, "Multi Plasma_24():NULL destination surface");
        Report(Message_Buffer);
        return 0;
    }
    const uint32_t row_pitch = pitch & ~3u;
    const Extent extent = Fill_Extent(row_pitch, 3, width, height);
    const int rb = red_shift, gb = green_shift, bb = blue_shift;
    for (int32_t i = 0; i < extent.rows; ++i) {
        Compute_Row(i, (extent.pixels + 3) / 4);
        uint8_t* out = pixels + std::size_t(i) * row_pitch;
        for (int32_t x = 0; x < extent.pixels; ++x) {
            const int32_t j = x >> 2;
            out[3 * x + 0] = static_cast<uint8_t>((channel[0][j] >> bb) << 1);
            out[3 * x + 1] = static_cast<uint8_t>((channel[1][j] >> gb) << 1);
            out[3 * x + 2] = static_cast<uint8_t>((channel[2][j] >> rb) << 1);
        }
    }
    Trace_Exit("Plasma::Multi_Colour_Plasma_24");
    return 1;
}

int Plasma::Multi_Colour_Plasma_16(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt)
{
    if (!Has_Tables())
        return 0;
    Trace_Enter("Plasma::Multi_Colour_Plasma_16");
    Advance_Phases(dt);
    Compute_Offsets();
    if (pixels == nullptr) {
        snprintf(Message_Buffer, sizeof Message_Buffer, "Process Plasma():\n\nNULL destination surface");
        Report(Message_Buffer);
        return 0;
    }
    const uint32_t row_pitch = pitch & ~1u;
    const Extent extent = Fill_Extent(row_pitch, 2, width, height);
    // 5-6-5 keeps one more bit of green and moves red up by one.
    const int green_drop = is_565 ? 1 : 2;
    const int red_at = is_565 ? 11 : 10;
    for (int32_t i = 0; i < extent.rows; ++i) {
        Compute_Row(i, (extent.pixels + 3) / 4);
        uint8_t* out = pixels + std::size_t(i) * row_pitch;
        const uint8_t* b = channel[0].data();
        const uint8_t* g = channel[1].data();
        const uint8_t* r = channel[2].data();
        for (int32_t x = 0; x < extent.pixels; ++x) {
            const int32_t j = x >> 2;
            const uint16_t value =
                static_cast<uint16_t>((b[j] >> 2) | ((g[j] >> green_drop) << 5) | ((r[j] >> 2) << red_at));
            Store_16(out + std::size_t(x) * 2, value);
        }
    }
    Trace_Exit("Plasma::Multi_Colour_Plasma_16");
    return 1;
}
