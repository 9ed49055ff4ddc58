// The screen-saver-running flag as a pid lock file.
#include "platform/system/saver_flag.h"

#include "platform/system/files.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The start time of a process (clock ticks after boot, field 22 of /proc/<pid>/stat), or 0
// when it cannot be read. Stored beside the pid so that a flag left behind by a process whose
// pid has since been given to another process is seen as stale.
unsigned long long Start_Time(pid_t pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
    std::FILE* file = std::fopen(path, "r");
    if (file == nullptr)
        return 0;
    char text[1024] = {};
    const std::size_t got = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    text[got] = '\0';
    // The command name may hold blanks and parentheses: count fields after its last ')'.
    const char* at = std::strrchr(text, ')');
    if (at == nullptr)
        return 0;
    unsigned long long value = 0;
    for (int field = 2; field < 22 && at != nullptr; ++field)
        at = std::strchr(at + 1, ' ');
    if (at != nullptr)
        value = std::strtoull(at + 1, nullptr, 10);
    return value;
}

struct Flag_Owner_Record {
    pid_t Pid = 0;
    unsigned long long Started = 0;
};

// The owner recorded in the flag file; pid 0 when there is no readable flag of ours.
Flag_Owner_Record Read_Flag()
{
    const std::string path = Saver_Flag_Path();
    // Not following links and not waiting: /tmp is everyone's, and a pipe planted there would
    // otherwise hold the saver in its first step.
    const int handle = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        return {};
    struct stat info {};
    char text[64] = {};
    const bool ours = ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid();
    const ssize_t got = ours ? ::read(handle, text, sizeof text - 1) : -1;
    ::close(handle);
    if (got <= 0)
        return {};
    char* end = nullptr;
    const long pid = std::strtol(text, &end, 10);
    if (pid <= 0 || pid > INT32_MAX)
        return {};
    return {static_cast<pid_t>(pid), std::strtoull(end, nullptr, 10)};
}

bool Process_Lives(const Flag_Owner_Record& owner)
{
    if (owner.Pid <= 0 || (::kill(owner.Pid, 0) != 0 && errno != EPERM))
        return false;
    const unsigned long long started = Start_Time(owner.Pid);
    return owner.Started == 0 || started == 0 || started == owner.Started;
}

bool Write_Flag()
{
    char text[64];
    const int length =
        std::snprintf(text, sizeof text, "%d %llu\n", static_cast<int>(::getpid()), Start_Time(::getpid()));
    return Files::Replace_Contents(Saver_Flag_Path(), text, static_cast<std::size_t>(length)) ==
           Files::Replace_Result::Done;
}

} // namespace

std::string Saver_Flag_Path()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder = runtime != nullptr && runtime[0] == '/' ? runtime : "/tmp";
    return folder + "/lucivanta-saver-running-" + std::to_string(::getuid());
}

bool Saver_Flag_Is_Set()
{
    return Process_Lives(Read_Flag());
}

BOOL SystemParametersInfoA(UINT action, UINT parameter, void* previous, UINT)
{
    if (action != SPI_SETSCREENSAVERRUNNING)
        return FALSE;
    const Flag_Owner_Record record = Read_Flag();
    const pid_t owner = record.Pid;
    const bool was_set = Process_Lives(record);
    if (previous != nullptr) {
        const uint32_t state = was_set ? 1 : 0;
        std::memcpy(previous, &state, sizeof state);
    }
    if (parameter != 0)
        return was_set || Write_Flag() ? TRUE : FALSE;
    // Clear only our own flag or a stale one; another live saver keeps its flag.
    if (owner != 0 && (owner == ::getpid() || !was_set))
        ::unlink(Saver_Flag_Path().c_str());
    return TRUE;
}
