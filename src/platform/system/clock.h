// Time as the program reads it: local time (GetLocalTime), a millisecond counter (timeGetTime)
// and a high-resolution counter (QueryPerformanceCounter/Frequency).
//
// All three come from one clock source, which can be replaced so that tests and the headless
// render tool drive time themselves (Manual_Clock); the system clock is in force otherwise.
#pragma once

#include "platform/win_types.h"

#include <cstdint>

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;     // 1 … 12
    WORD wDayOfWeek; // Sunday = 0
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

struct LARGE_INTEGER {
    int64_t QuadPart;
};

class Clock_Source {
public:
    virtual ~Clock_Source() = default;
    // Monotonic time in nanoseconds from an arbitrary origin.
    virtual int64_t Monotonic_Nanoseconds() = 0;
    virtual SYSTEMTIME Local_Time() = 0;
};

// A clock that moves only when told to: for tests and for rendering at a fixed time step.
class Manual_Clock : public Clock_Source {
public:
    int64_t Nanoseconds = 0;
    SYSTEMTIME Time{2026, 12, 0, 6, 9, 5, 3, 0};

    void Advance_Milliseconds(double milliseconds)
    {
        Nanoseconds += static_cast<int64_t>(milliseconds * 1e6);
    }
    int64_t Monotonic_Nanoseconds() override { return Nanoseconds; }
    SYSTEMTIME Local_Time() override { return Time; }
};

// Installs a clock source (not owned); nullptr puts the system clock back.
void Set_Clock_Source(Clock_Source* source);

// From now on the system clock leaves out the time the process spends stopped (SIGSTOP or
// SIGTSTP until SIGCONT), as it already leaves out a suspended machine: screen-saver daemons
// pause savers that way, and every timer of the program reads this clock, so the scene time,
// the frame timer and the pauses of the frame all take up where they stopped instead of
// jumping by the length of the stall. The first reading after the process goes on counts only
// the time since it went on. Installs a SIGCONT handler; calling it again does nothing more.
void Exclude_Stopped_Time();

void GetLocalTime(SYSTEMTIME* time);
// Milliseconds, wrapping at 2^32 like the original counter.
DWORD timeGetTime();
// Ticks of QueryPerformanceFrequency per second (here nanoseconds: 1 000 000 000).
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
