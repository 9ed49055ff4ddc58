// The frame timer of the application object: seconds since the previous frame. Time comes from
// the system clock source (platform/system/clock.h), which tests and the headless render tool
// replace to drive time themselves.
#pragma once

#include "platform/win_types.h"

#include <cstdint>

struct FrameTimer {
    bool use_performance_counter = false;
    int64_t counter_frequency = 0;
    int64_t last_counter = 0;
    DWORD last_tick = 0;
    int64_t elapsed_milliseconds = 0;
    double elapsed_seconds = 0.0;

    // Takes the first reading: the high-resolution counter when one is reported (and allowed),
    // the millisecond counter otherwise.
    void Start(bool allow_counter = true);
    // Stores the time since the previous reading and takes a new one.
    void Tick();
};
