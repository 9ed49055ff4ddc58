// The frame timer.
#include "d3dframe/frame_timer.h"

#include "platform/system/clock.h"

void FrameTimer::Start(bool allow_counter)
{
    LARGE_INTEGER frequency{};
    if (allow_counter && QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
        counter_frequency = frequency.QuadPart;
        use_performance_counter = true;
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        last_counter = now.QuadPart;
    } else {
        use_performance_counter = false;
        last_tick = timeGetTime();
    }
}

void FrameTimer::Tick()
{
    if (use_performance_counter) {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        elapsed_seconds =
            static_cast<double>(now.QuadPart - last_counter) / static_cast<double>(counter_frequency);
        elapsed_milliseconds = static_cast<int64_t>(elapsed_seconds * 1000.0);
        QueryPerformanceCounter(&now);
        last_counter = now.QuadPart;
    } else {
        DWORD now = timeGetTime();
        elapsed_milliseconds = static_cast<int64_t>(static_cast<DWORD>(now - last_tick));
        elapsed_seconds = static_cast<double>(elapsed_milliseconds) / 1000.0;
        last_tick = timeGetTime();
    }
}
