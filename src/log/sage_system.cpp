// Operating-system classification, current display mode and the file-existence test.
#include "log/sage_system.h"

#include "log/error_log.h"
#include "platform/system/display_mode.h"
#include "platform/system/files.h"
#include "platform/system/os_version.h"

namespace Sage {

bool Determine_Operating_System(int& os)
{
    os = OS_Not_Classified;
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) {
        Report("Determine_Operating_System(): GetVersionEx FAILED");
        return false;
    }
    switch (info.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        os = OS_Win32s;
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        os = info.dwMinorVersion != 0 ? OS_Windows_98 : OS_Windows_95;
        break;
    case VER_PLATFORM_WIN32_NT:
        os = info.dwMajorVersion > 4 ? OS_Windows_2000 : OS_Windows_NT;
        break;
    default:
        break;
    }
    return true;
}

bool Grab_Current_Display_Mode(int& width, int& height, int& bits_per_pixel)
{
    Display_Mode mode;
    if (!Get_Current_Display_Mode(mode)) {
        Report("Sage::Grab_Current_Display_Mode FAILED");
        return false;
    }
    width = mode.Width;
    height = mode.Height;
    bits_per_pixel = mode.Bits_Per_Pixel;
    return true;
}

bool FileExists(const char* file_name)
{
    return Files::Exists_As_File(file_name);
}

} // namespace Sage
