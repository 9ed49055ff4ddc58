// The Linux version query: the kernel's release numbers under a platform id of our own.
#include "platform/system/os_version.h"

#include <cstdio>
#include <cstring>
#include <sys/utsname.h>

namespace {

BOOL Linux_Version(OSVERSIONINFOA* info)
{
    if (info == nullptr || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA))
        return FALSE;
    info->dwPlatformId = VER_PLATFORM_LINUX;
    utsname name{};
    if (uname(&name) == 0) {
        unsigned major = 0, minor = 0, build = 0;
        std::sscanf(name.release, "%u.%u.%u", &major, &minor, &build);
        info->dwMajorVersion = major;
        info->dwMinorVersion = minor;
        info->dwBuildNumber = build;
        std::snprintf(info->szCSDVersion, sizeof info->szCSDVersion, "%s", name.sysname);
    }
    return TRUE;
}

Version_Query Current_Query = Linux_Version;

} // namespace

void Set_Version_Query(Version_Query query)
{
    Current_Query = query != nullptr ? query : Linux_Version;
}

BOOL GetVersionExA(OSVERSIONINFOA* info)
{
    return Current_Query(info);
}
