// The sine wave's construction, its random new look and the random walk of its amplitudes
// (see sine_wave.h). The fills' drawing is in sine_wave_fill.cpp.
#include "effects/sine_wave.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "platform/system/random.h"

Sine_Wave D3DSine_Wave;

namespace {

constexpr double Tenth = 0.1;
// The step unit of the slow movements, as the program has always computed it (0.1 × 0.1).
constexpr double Hundredth = 0.010000000000000002;

} // namespace

Sine_Wave::Sine_Wave()
{
    for (int i = 0; i < 9; ++i)
        Random::rand();
}

void Sine_Wave::Reset()
{
    density = 0.85;
    variance = 3;
    amplitude_limit = 16;
    std::fill(std::begin(band_height), std::end(band_height), 16);
    inverted = FALSE;
    std::fill(std::begin(channel_on), std::end(channel_on), true);
    is_565 = false;
    redraw = FALSE;
    created_flags = 0;
    for (SineWaveState& s : state)
        s = SineWaveState{};
}

void Sine_Wave::Choose_Random_Waves()
{
    for (int32_t& q : band_height)
        q = ((Random::rand() % 14) + 1) * 16;
    inverted = (Random::rand() % 2 == 0) ? TRUE : FALSE;
    Random::rand(); // a draw without lasting effect, kept for the order of the sequence
    redraw = TRUE;
    amplitude_limit = (Random::rand() % 40) + 16;
    const int n = Random::rand() % 4;
    channel_on[0] = (n != 1);
    channel_on[1] = (n != 2);
    channel_on[2] = (n != 3);
    for (int i = 0; i < 9; ++i)
        Random::rand();
}

void Sine_Wave::Draw_Amplitudes(SineWaveState& s) const
{
    const int t = std::max(amplitude_limit, int32_t{1});
    const int v = std::max(variance, int32_t{1});
    for (int group = 0; group < 3; ++group) {
        for (int i = 0; i < 3; ++i)
            s.amplitude[3 * group + i] = Random::rand() % t;
        for (int i = 0; i < 3; ++i)
            s.step[3 * group + i] = (Random::rand() % v) * Tenth;
    }
}

void Sine_Wave::Move_Amplitudes(SineWaveState& s) const
{
    const int t = std::max(amplitude_limit, int32_t{1});
    const int v = std::max(variance, int32_t{1});
    for (int group = 0; group < 3; ++group) {
        const int n = Random::rand() % 4;
        if (n < 3)
            s.amplitude[3 * group + n] += s.step[3 * group + n];
    }
    // Above the limit an amplitude turns back in tenths (the first of each channel) or
    // hundredths; below zero it climbs again in hundredths.
    for (int i = 0; i < 9; ++i) {
        if (s.amplitude[i] > t)
            s.step[i] = -(Random::rand() % v) * (i % 3 == 0 ? Tenth : Hundredth);
        if (s.amplitude[i] < 0)
            s.step[i] = (Random::rand() % v) * Hundredth;
    }
}

void Sine_Wave::Animate(SineWaveState& s, double dt)
{
    if (!s.used) {
        Draw_Amplitudes(s);
        s.used = true;
    }
    if (redraw) {
        redraw = FALSE;
        Draw_Amplitudes(s);
    }
    Move_Amplitudes(s);
    const double advance = dt * density;
    if (std::isfinite(advance))
        s.time += advance;
}
