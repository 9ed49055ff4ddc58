// The operating-system version query (GetVersionExA). On Linux it answers with a platform id
// of its own that the program's classification does not know, so the program treats the
// system as "not classified". The query can be replaced to exercise every classification.
#pragma once

#include "platform/win_types.h"

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char szCSDVersion[128];
};
static_assert(sizeof(OSVERSIONINFOA) == 148);

inline constexpr DWORD VER_PLATFORM_WIN32s = 0;
inline constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
// Ours: the id the Linux query reports.
inline constexpr DWORD VER_PLATFORM_LINUX = 0x4C;

using Version_Query = BOOL (*)(OSVERSIONINFOA* info);

// Installs a query; nullptr puts the Linux query back.
void Set_Version_Query(Version_Query query);

BOOL GetVersionExA(OSVERSIONINFOA* info);
