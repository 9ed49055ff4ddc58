// The sine wave's four fills: band positions, band shapes and the pixel writes at 32 and 16
// bits, down the columns (normal) or along the rows (inverted). See sine_wave.h.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "effects/sine_wave.h"
#include "log/error_log.h"

namespace {

// n degrees in radians, as the program computes it: the count times the single-precision 2π
// (a single-precision product), then times 1/360 in double precision.
double Degrees(int32_t count)
{
    return static_cast<double>(static_cast<float>(count) * 6.2831855f) * 0.002777777777777778;
}

struct Fill_Names {
    const char* trace;
    const char* null_report;
};

const Fill_Names Names[4] = {
    {"Sine_Wave::Multi_Sine_Wave_32", "Multi_Sine_Wave_32(): NULL Surface FAILED"},
    {"Sine_Wave::Inverted_Multi_Sine_Wave_32", "Multi_Sine_Wave_32(): NULL Surface FAILED"},
    {"Sine_Wave::Multi_Sine_Wave_16", "Multi_Sine_Wave_16(): Lock Surface FAILED"},
    {"Sine_Wave::Inverted_Multi_Sine_Wave_16", "Inverted Multi_Sine_Wave_16(): Lock Surface FAILED"},
};

uint32_t Load_32(const uint8_t* at)
{
    uint32_t value;
    std::memcpy(&value, at, 4);
    return value;
}

void Store_32(uint8_t* at, uint32_t value)
{
    std::memcpy(at, &value, 4);
}

uint16_t Load_16(const uint8_t* at)
{
    uint16_t value;
    std::memcpy(&value, at, 2);
    return value;
}

void Store_16(uint8_t* at, uint32_t value)
{
    const uint16_t word = static_cast<uint16_t>(value);
    std::memcpy(at, &word, 2);
}

} // namespace

int32_t Sine_Band_Top(const double* a, double time, int32_t line, int32_t side, int channel)
{
    const double slow = (channel == 2) ? time * 0.3333333333333333 : time * 0.5;
    const double y = a[0] * std::sin(4.0 * time + Degrees(8 * line)) + a[1] * std::sin(Degrees(line) + slow) +
                     a[2] * std::sin(Degrees(4 * line) + time);
    return static_cast<int32_t>(y) + side / 4;
}

uint8_t Sine_Band_Value_32(int32_t d, int32_t band_height)
{
    const int32_t scale = 256 / std::max(band_height, int32_t{1});
    return static_cast<uint8_t>((d * scale) % 256);
}

uint8_t Sine_Band_Value_16(int32_t d, int32_t band_height, bool doubled)
{
    const float scale = 32.0f / static_cast<float>(std::max(band_height, int32_t{1}));
    const float value = static_cast<float>(d) * scale;
    return static_cast<uint8_t>(static_cast<int32_t>(doubled ? value * 2.0f : value));
}

template <int Bytes, bool Transposed>
void Sine_Wave::Draw_Bands(const SineWaveState& s, const Surface& surface) const
{
    // N is the width; the other loop is cut at the height, and the column loop at the pitch,
    // so a surface that is not square (or a short pitch) is never written past.
    const int32_t side = surface.width;
    const int32_t columns = static_cast<int32_t>(std::min<int64_t>(side, surface.pitch / Bytes));
    const int32_t lines = Transposed ? std::min(side, surface.height) : columns;
    const int32_t band_end = Transposed ? columns : std::min(side, surface.height);
    const int red_at = is_565 ? 11 : 10;
    for (int32_t j = 0; j < lines; ++j) {
        for (int channel = 0; channel < 3; ++channel) {
            if (Bytes == 4 && !channel_on[channel])
                continue;
            const int32_t top = Sine_Band_Top(&s.amplitude[3 * channel], s.time, j, side, channel);
            const int32_t q = band_height[channel];
            const int32_t first = std::max(top, int32_t{0});
            const int32_t end = static_cast<int32_t>(std::min<int64_t>(int64_t{top} + q, band_end));
            for (int32_t k = first; k < end; ++k) {
                const int32_t d = (k < top + q / 2) ? k - top : top + q - k;
                uint8_t* at = Transposed
                                  ? surface.pixels + std::size_t(j) * surface.pitch + std::size_t(k) * Bytes
                                  : surface.pixels + std::size_t(k) * surface.pitch + std::size_t(j) * Bytes;
                if constexpr (Bytes == 4) {
                    const uint32_t value = Sine_Band_Value_32(d, q);
                    const uint32_t old = Load_32(at);
                    if (channel == 0)
                        Store_32(at, value << 16);
                    else if (channel == 1)
                        Store_32(at, (old & 0x00FF00FFu) | (value << 8));
                    else
                        Store_32(at, (old & 0x00FFFF00u) | value);
                } else {
                    const uint32_t value = Sine_Band_Value_16(d, q, channel == 1 && is_565);
                    if (channel == 0)
                        Store_16(at, value << red_at);
                    else
                        Store_16(at, Load_16(at) | (channel == 1 ? value << 5 : value));
                }
            }
        }
    }
}

int Sine_Wave::Fill(Fill_Kind kind, const Surface& surface, double dt)
{
    Trace_Enter(Names[kind].trace);
    if (surface.width <= 0 || surface.height <= 0)
        return 0;
    if (surface.pixels == nullptr) {
        Report(Names[kind].null_report);
        return 0;
    }
    Animate(state[kind], dt);
    switch (kind) {
    case Normal_32:
        Draw_Bands<4, false>(state[kind], surface);
        break;
    case Inverted_32:
        Draw_Bands<4, true>(state[kind], surface);
        break;
    case Normal_16:
        Draw_Bands<2, false>(state[kind], surface);
        break;
    case Inverted_16:
        Draw_Bands<2, true>(state[kind], surface);
        break;
    }
    Trace_Exit(Names[kind].trace);
    return 1;
}

int Sine_Wave::Multi_Sine_Wave_32(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt)
{
    return Fill(Normal_32, {pixels, pitch & ~3u, width, height}, dt);
}

int Sine_Wave::Inverted_Multi_Sine_Wave_32(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height,
                                           double dt)
{
    return Fill(Inverted_32, {pixels, pitch & ~3u, width, height}, dt);
}

int Sine_Wave::Multi_Sine_Wave_16(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt)
{
    return Fill(Normal_16, {pixels, pitch & ~1u, width, height}, dt);
}

int Sine_Wave::Inverted_Multi_Sine_Wave_16(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height,
                                           double dt)
{
    return Fill(Inverted_16, {pixels, pitch & ~1u, width, height}, dt);
}
