// The system clock source (CLOCK_MONOTONIC and the local time zone) and the counters.
#include "platform/system/clock.h"

#include <ctime>

namespace {

class System_Clock : public Clock_Source {
public:
    int64_t Monotonic_Nanoseconds() override
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
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
};

System_Clock System_Source;
Clock_Source* Current_Source = &System_Source;

} // namespace

void Set_Clock_Source(Clock_Source* source)
{
    Current_Source = source != nullptr ? source : &System_Source;
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
