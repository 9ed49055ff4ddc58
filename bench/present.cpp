// bench_present: what showing one frame costs on the X display named by $DISPLAY — the frame
// copied into the X server's shared memory (16-bit frames widened) and put into a mapped
// 1920 × 1080 window, as every window of the program shows its frames, the X server's work
// included (each iteration waits for the server). Skipped where no display opens.
#include "platform/window/gtk/gtk_backend.h"
#include "platform/window/x11/x11_drawable.h"
#include "platform/window/x11/x11_windows.h"

#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <cstring>
#include <random>
#include <vector>

namespace {

void Present(benchmark::State& state, int bits, uint32_t green_mask)
{
    if (!Gtk_Backend::Display_Opens()) {
        state.SkipWithError("no X display");
        return;
    }
    const int width = 1920, height = 1080, pitch = width * bits / 8;
    Display* display = Gdk_X_Display();
    X11_Window_Watch watch(display);
    const XID window = watch.Create_Child(DefaultRootWindow(display), width, height, true);
    std::vector<uint8_t> pixels(static_cast<std::size_t>(pitch) * height);
    std::mt19937 random(3);
    for (uint8_t& byte : pixels) {
        byte = static_cast<uint8_t>(random());
    }
    const Frame_Pixels frame{pixels.data(), pitch, width, height, bits, green_mask};
    X11_Drawable drawable(display, window, width, height);
    for (auto _ : state) {
        drawable.Present(frame);
        XSync(display, False);
    }
    watch.Destroy_Child(window);
}

void X8R8G8B8(benchmark::State& state)
{
    Present(state, 32, 0xFF00);
}
void R5G6B5(benchmark::State& state)
{
    Present(state, 16, 0x07E0);
}
// The anchor: one plain copy of the 32-bit frame's bytes in memory, which no present can beat.
void Frame_Copy(benchmark::State& state)
{
    std::vector<uint8_t> from(1920u * 1080u * 4u, 7), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Frame_Copy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(X8R8G8B8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(R5G6B5)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
