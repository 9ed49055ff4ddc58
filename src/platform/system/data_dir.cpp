// The data directory from the environment (XDG base directories).
#include "platform/system/data_dir.h"

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

namespace {

std::string Home_Directory()
{
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
        return entry->pw_dir;
    return "/tmp";
}

std::string Without_Trailing_Slashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

std::string Windows_Directory()
{
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && data[0] == '/')
        return Without_Trailing_Slashes(data);
    return Without_Trailing_Slashes(Home_Directory()) + "/.local/share";
}

std::string Windows_Directory_Plus(const char* tail)
{
    std::string directory = Windows_Directory();
    if (directory == "/")
        directory.clear();
    return directory + tail;
}

UINT GetWindowsDirectoryA(char* buffer, UINT size)
{
    const std::string directory = Windows_Directory();
    if (directory.size() + 1 > size) {
        if (size > 0)
            buffer[0] = '\0';
        return static_cast<UINT>(directory.size() + 1);
    }
    std::memcpy(buffer, directory.c_str(), directory.size() + 1);
    return static_cast<UINT>(directory.size());
}
