// The system clock source (CLOCK_MONOTONIC less the time spent stopped, and the local time
// zone) and the counters.
#include "platform/system/clock.h"

#include <atomic>
#include <csignal>
#include <ctime>
#include <mutex>

namespace {

int64_t Raw_Monotonic_Nanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// When the process last went on after a stop; 0 when that has been accounted for. The stop
// itself cannot be caught (SIGSTOP), so it is taken to start at the last reading before the
// SIGCONT: a frame loop reads the clock every frame, so at most one frame's time is lost.
std::atomic<int64_t> Continued_At{0};
static_assert(std::atomic<int64_t>::is_always_lock_free, "the SIGCONT handler stores into it");

void On_Continue(int)
{
    // clock_gettime is async-signal-safe, and so is a lock-free atomic store.
    Continued_At.store(Raw_Monotonic_Nanoseconds());
}

class System_Clock : public Clock_Source {
public:
    int64_t Monotonic_Nanoseconds() override
    {
        std::lock_guard<std::mutex> lock(Guard);
        // Taken before the reading, so that a SIGCONT between the two lies before `now` and
        // the clock never runs backwards.
        const int64_t continued = Continued_At.exchange(0);
        const int64_t now = Raw_Monotonic_Nanoseconds();
        if (continued > Last_Reading && Last_Reading != 0)
            Stopped += continued - Last_Reading;
        Last_Reading = now;
        return now - Stopped;
    }

    SYSTEMTIME Local_Time() override
    {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        tm parts{};
        localtime_r(&now.tv_sec, &parts);
        SYSTEMTIME time{};
        time.wYear = static_cast<WORD>(parts.tm_year + 1900);
        time.wMonth = static_cast<WORD>(parts.tm_mon + 1);
        time.wDayOfWeek = static_cast<WORD>(parts.tm_wday);
        time.wDay = static_cast<WORD>(parts.tm_mday);
        time.wHour = static_cast<WORD>(parts.tm_hour);
        time.wMinute = static_cast<WORD>(parts.tm_min);
        time.wSecond = static_cast<WORD>(parts.tm_sec);
        time.wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
        return time;
    }

private:
    std::mutex Guard;
    int64_t Last_Reading = 0;
    int64_t Stopped = 0; // nanoseconds left out so far
};

System_Clock System_Source;
Clock_Source* Current_Source = &System_Source;

} // namespace

void Set_Clock_Source(Clock_Source* source)
{
    Current_Source = source != nullptr ? source : &System_Source;
}

void Exclude_Stopped_Time()
{
    struct sigaction action {};
    action.sa_handler = On_Continue;
    sigemptyset(&action.sa_mask);
    // Restarted, so that no system call of GTK's or GStreamer's sees EINTR for it.
    action.sa_flags = SA_RESTART;
    sigaction(SIGCONT, &action, nullptr);
}

void GetLocalTime(SYSTEMTIME* time)
{
    if (time != nullptr)
        *time = Current_Source->Local_Time();
}

DWORD timeGetTime()
{
    return static_cast<DWORD>(static_cast<uint64_t>(Current_Source->Monotonic_Nanoseconds() / 1000000));
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    if (count == nullptr)
        return FALSE;
    count->QuadPart = Current_Source->Monotonic_Nanoseconds();
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (frequency == nullptr)
        return FALSE;
    frequency->QuadPart = 1000000000;
    return TRUE;
}
