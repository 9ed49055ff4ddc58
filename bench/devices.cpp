// The frame workload (workload/frame_workload.h) on both drawing devices, in milliseconds
// per frame at three screen sizes and two target depths.
#include "platform/graphics/device_caps.h"
#include "workload/frame_workload.h"

#include <benchmark/benchmark.h>

namespace {

void Frame(benchmark::State& state, const GUID* type, Pixel_Layout layout)
{
    workload::Device_Frame frame(*type, static_cast<DWORD>(state.range(0)), static_cast<DWORD>(state.range(1)),
                                 layout);
    for (auto _ : state) {
        frame.Draw();
        benchmark::ClobberMemory();
    }
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Args({640, 480})
        ->Args({1280, 720})
        ->Args({1920, 1080})
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime();
}

} // namespace

BENCHMARK_CAPTURE(Frame, software_32, &IID_IDirect3DRGBDevice, Pixel_Layout::X8R8G8B8)->Apply(Sizes);
BENCHMARK_CAPTURE(Frame, reference_32, &IID_IDirect3DRefDevice, Pixel_Layout::X8R8G8B8)->Apply(Sizes);
BENCHMARK_CAPTURE(Frame, software_565, &IID_IDirect3DRGBDevice, Pixel_Layout::R5G6B5)->Apply(Sizes);
BENCHMARK_CAPTURE(Frame, reference_565, &IID_IDirect3DRefDevice, Pixel_Layout::R5G6B5)->Apply(Sizes);
