// IsSaverRunning: sets the screen-saver-running flag to FALSE and puts the previous state
// back, answering with that state; on NT-class systems it looks at the foreground window.
#include "app/is_saver_running.h"

#include "log/error_log.h"
#include "log/sage_system.h"
#include "platform/system/saver_flag.h"
#include "platform/window/window.h"

namespace {

// A visible popup covering the whole screen is taken for a running saver; so is no
// foreground window at all.
bool Full_Screen_Popup_In_Front()
{
    HWND window = GetForegroundWindow();
    if (window == nullptr)
        return true;
    const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    if ((style & 0xF0000000u) != (WS_POPUP | WS_VISIBLE))
        return false;
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.right - rect.left == GetSystemMetrics(SM_CXSCREEN) &&
           rect.bottom - rect.top == GetSystemMetrics(SM_CYSCREEN);
}

} // namespace

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
