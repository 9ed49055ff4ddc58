// Per-frame cost of the procedural textures' fills on plain memory buffers: the plasma at
// 256 and 512 at 32 and 16 bits, one sine-wave fill and one gradient fill (each of its
// updates draws, as at 40 updates per second). Figures go into the closing notes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "effects/gradient.h"
#include "effects/plasma.h"
#include "effects/sine_wave.h"
#include "platform/system/random.h"
#include "settings/settings_file.h"

namespace {

struct Pixels {
    std::vector<uint8_t> bytes;
    uint32_t pitch;
    Pixels(int side, int bytes_per_pixel)
        : bytes(std::size_t(side) * side * bytes_per_pixel), pitch(side * bytes_per_pixel)
    {
    }
};

void Per_Pixel(benchmark::State& state, int side)
{
    state.counters["ns/pixel"] = benchmark::Counter(
        double(state.iterations()) * side * side, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Plasma_Fill(benchmark::State& state)
{
    const int side = int(state.range(0)), bits = int(state.range(1));
    Live_Settings().Plasma_Contrast = 4;
    Live_Settings().Plasma_Interference = 9.5f;
    Random::srand(7);
    Plasma plasma;
    plasma.Setup_Plasma(side, side);
    plasma.is_565 = true;
    Pixels pixels(side, bits / 8);
    for (auto _ : state) {
        if (bits == 32)
            plasma.Multi_Colour_Plasma_32(pixels.bytes.data(), pixels.pitch, side, side, 1.0 / 60);
        else
            plasma.Multi_Colour_Plasma_16(pixels.bytes.data(), pixels.pitch, side, side, 1.0 / 60);
        benchmark::DoNotOptimize(pixels.bytes.data());
        benchmark::ClobberMemory();
    }
    Per_Pixel(state, side);
}
BENCHMARK(Plasma_Fill)->Args({256, 32})->Args({512, 32})->Args({256, 16})->Args({512, 16});

void Sine_Wave_Fill(benchmark::State& state)
{
    Random::srand(7);
    Sine_Wave wave;
    wave.Choose_Random_Waves();
    Pixels pixels(256, 4);
    for (auto _ : state) {
        // The frame update clears the texture before each fill; so does this loop.
        std::memset(pixels.bytes.data(), 0, pixels.bytes.size());
        wave.Multi_Sine_Wave_32(pixels.bytes.data(), pixels.pitch, 256, 256, 1.0 / 60);
        benchmark::DoNotOptimize(pixels.bytes.data());
        benchmark::ClobberMemory();
    }
    Per_Pixel(state, 256);
}
BENCHMARK(Sine_Wave_Fill);

void Gradient_Fill(benchmark::State& state)
{
    Gradient gradient;
    gradient.band = 32;
    Pixels pixels(256, 4);
    for (auto _ : state) {
        gradient.Frame_Move_32(pixels.bytes.data(), pixels.pitch, 256, 256, Gradient::Update_Interval);
        benchmark::DoNotOptimize(pixels.bytes.data());
        benchmark::ClobberMemory();
    }
    Per_Pixel(state, 256);
}
BENCHMARK(Gradient_Fill);

} // namespace
