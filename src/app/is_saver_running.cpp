// IsSaverRunning: sets the screen-saver-running flag to FALSE and puts the previous state
// back, answering with that state; on NT-class systems it looks at the foreground window.
#include "app/is_saver_running.h"

#include "log/error_log.h"
#include "log/sage_system.h"
#include "platform/system/saver_flag.h"

namespace {

constexpr uint32_t WS_POPUP = 0x80000000u;
constexpr uint32_t WS_VISIBLE = 0x10000000u;

Foreground_Window_Info No_Foreground_Window()
{
    return {};
}

Foreground_Window_Query Current_Query = No_Foreground_Window;

bool Full_Screen_Popup_In_Front()
{
    const Foreground_Window_Info window = Current_Query();
    if (!window.Exists)
        return true;
    if ((window.Style & 0xF0000000u) != (WS_POPUP | WS_VISIBLE))
        return false;
    return window.Width == window.Screen_Width && window.Height == window.Screen_Height;
}

} // namespace

void Set_Foreground_Window_Query(Foreground_Window_Query query)
{
    Current_Query = query != nullptr ? query : No_Foreground_Window;
}

bool IsSaverRunning()
{
    int os = 0;
    if (!Determine_Operating_System(os)) {
        Report("IsSaverRunning(): Determine Operating System FAILED");
        return false;
    }
    if (os == Sage::OS_Windows_NT)
        return Full_Screen_Popup_In_Front();
    uint32_t previous = 0;
    uint32_t scratch = 0;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &previous, 0);
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, previous, &scratch, 0);
    return previous != 0;
}
