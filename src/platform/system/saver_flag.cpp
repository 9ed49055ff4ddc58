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

// The pid in the flag file, or 0 when there is no readable flag of ours.
pid_t Flag_Owner()
{
    const std::string path = Saver_Flag_Path();
    const int handle = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (handle < 0)
        return 0;
    struct stat info {};
    char text[32] = {};
    const bool ours = ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::getuid();
    const ssize_t got = ours ? ::read(handle, text, sizeof text - 1) : -1;
    ::close(handle);
    if (got <= 0)
        return 0;
    const long pid = std::strtol(text, nullptr, 10);
    return pid > 0 && pid <= INT32_MAX ? static_cast<pid_t>(pid) : 0;
}

bool Process_Lives(pid_t pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

bool Write_Flag()
{
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%d\n", static_cast<int>(::getpid()));
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
    return Process_Lives(Flag_Owner());
}

BOOL SystemParametersInfoA(UINT action, UINT parameter, void* previous, UINT)
{
    if (action != SPI_SETSCREENSAVERRUNNING)
        return FALSE;
    const pid_t owner = Flag_Owner();
    const bool was_set = Process_Lives(owner);
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
