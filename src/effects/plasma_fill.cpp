// The plasma's per-frame fills at 32, 24 and 16 bits per pixel (see plasma.h).
//
// Each fill first moves the phases and the four sampling offsets of every wave, then computes
// one row of folded channel bytes at a time (plain byte loops the compiler vectorises) and
// packs each value into four neighbouring pixels. Nothing is allocated.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "effects/plasma.h"
#include "log/error_log.h"

// The default -O2 cost model refuses loops whose length is known only at run time; these
// byte loops are the per-frame work and are worth their vector versions.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("vect-cost-model=dynamic")
#endif

namespace {

// Phase speeds in radians per 1.65 seconds, single-precision values used widened.
constexpr float Phase_Speed[8] = {0.068f, 0.08f, 0.24f, 0.16f, 0.32f, 0.12f, 0.28f, 0.04f};

// Half-extent × sine, truncated toward zero; a non-number (never expected) samples the centre.
int32_t Swing(int32_t half, double sine)
{
    if (!(sine >= -1.0 && sine <= 1.0))
        sine = 0.0;
    return static_cast<int32_t>(half * sine);
}

// Writes each packed column value to its four neighbouring pixels, stopping at the last
// pixel of the row.
template <typename Word, typename Pack>
void Write_Row(uint8_t* __restrict out, int32_t pixels, const uint8_t* __restrict b,
               const uint8_t* __restrict g, const uint8_t* __restrict r, Pack pack)
{
    const int32_t groups = pixels / 4;
    for (int32_t j = 0; j < groups; ++j) {
        const Word value = pack(b[j], g[j], r[j]);
        const Word quad[4] = {value, value, value, value};
        std::memcpy(out + std::size_t(j) * sizeof quad, quad, sizeof quad);
    }
    for (int32_t x = groups * 4; x < pixels; ++x) {
        const Word value = pack(b[groups], g[groups], r[groups]);
        std::memcpy(out + std::size_t(x) * sizeof(Word), &value, sizeof(Word));
    }
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
            const double moved = (i % 2 == 0) ? w.phase[i] + increment : w.phase[i] - increment;
            // An absurd elapsed time must not push a phase beyond what a float holds.
            if (std::fabs(moved) <= std::numeric_limits<float>::max())
                w.phase[i] = static_cast<float>(moved);
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
        const uint8_t* __restrict d = wave[w].distance_table.get() + offset[w].b + r;
        const uint8_t* __restrict ra = wave[w].ripple_table.get() + offset[w].a + r;
        const uint8_t* __restrict rc = wave[w].ripple_table.get() + offset[w].c + r;
        const uint8_t* __restrict rd = wave[w].ripple_table.get() + offset[w].d + r;
        uint8_t* __restrict out = channel[w].data();
        for (int32_t j = 0; j < columns; ++j)
            out[j] = Plasma_Fold(static_cast<uint8_t>(d[j] + ra[j] + rc[j] + rd[j]));
    }
}

template <typename Row_Writer>
int Plasma::Fill_Rows(const Fill_Names& names, uint8_t* pixels, uint32_t row_pitch, uint32_t bytes_per_pixel,
                      int32_t width, int32_t height, double dt, Row_Writer write_row)
{
    if (!Has_Tables())
        return 0;
    Trace_Enter(names.trace);
    // The phases move even when there is nothing to draw into.
    Advance_Phases(dt);
    Compute_Offsets();
    if (pixels == nullptr) {
        Report(names.null_report);
        return 0;
    }
    const Extent extent = Fill_Extent(row_pitch, bytes_per_pixel, width, height);
    for (int32_t i = 0; i < extent.rows; ++i) {
        Compute_Row(i, (extent.pixels + 3) / 4);
        write_row(pixels + std::size_t(i) * row_pitch, extent.pixels);
    }
    Trace_Exit(names.trace);
    return 1;
}

int Plasma::Multi_Colour_Plasma_32(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt)
{
    static constexpr Fill_Names names = {"Plasma::Multi_Colour_Plasma_32",
                                         "Process 32 Plasma():NULL destination surface"};
    const int rb = red_shift, gb = green_shift, bb = blue_shift;
    return Fill_Rows(names, pixels, pitch & ~3u, 4, width, height, dt, [&](uint8_t* out, int32_t count) {
        Write_Row<uint32_t>(out, count, channel[0].data(), channel[1].data(), channel[2].data(),
                            [=](uint32_t b, uint32_t g, uint32_t r) {
                                return ((b >> bb) << 1) | ((g >> gb) << 9) | ((r >> rb) << 17);
                            });
    });
}

int Plasma::Multi_Colour_Plasma_24(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt)
{
    static constexpr Fill_Names names = {"Plasma::Multi_Colour_Plasma_24",
                                         "Multi Plasma_24():NULL destination surface"};
    const int rb = red_shift, gb = green_shift, bb = blue_shift;
    return Fill_Rows(names, pixels, pitch & ~3u, 3, width, height, dt, [&](uint8_t* out, int32_t count) {
        for (int32_t x = 0; x < count; ++x) {
            const int32_t j = x >> 2;
            out[3 * x + 0] = static_cast<uint8_t>((channel[0][j] >> bb) << 1);
            out[3 * x + 1] = static_cast<uint8_t>((channel[1][j] >> gb) << 1);
            out[3 * x + 2] = static_cast<uint8_t>((channel[2][j] >> rb) << 1);
        }
    });
}

int Plasma::Multi_Colour_Plasma_16(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt)
{
    static constexpr Fill_Names names = {"Plasma::Multi_Colour_Plasma_16",
                                         "Process Plasma():\n\nNULL destination surface"};
    // 5-6-5 keeps one more bit of green and moves red up by one.
    const int green_drop = is_565 ? 1 : 2;
    const int red_at = is_565 ? 11 : 10;
    return Fill_Rows(names, pixels, pitch & ~1u, 2, width, height, dt, [&](uint8_t* out, int32_t count) {
        Write_Row<uint16_t>(out, count, channel[0].data(), channel[1].data(), channel[2].data(),
                            [=](uint32_t b, uint32_t g, uint32_t r) {
                                return static_cast<uint16_t>((b >> 2) | ((g >> green_drop) << 5) |
                                                             ((r >> 2) << red_at));
                            });
    });
}
