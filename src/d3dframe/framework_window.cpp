// The framework's default window answers, from the platform window interface.
#include "d3dframe/framework_window.h"

#include "platform/window/window.h"

namespace {

class Platform_Window final : public Framework_Window {
public:
    bool Client_Rect(HWND window, RECT* rect) override { return GetClientRect(window, rect) != FALSE; }
    bool Client_To_Screen(HWND window, POINT* point) override
    {
        RECT frame;
        if (!GetWindowRect(window, &frame))
            return false;
        point->x += frame.left;
        point->y += frame.top;
        return true;
    }
};

Framework_Window* Installed = nullptr;

} // namespace

Framework_Window& Installed_Framework_Window()
{
    static Platform_Window platform;
    return Installed ? *Installed : platform;
}

void Set_Framework_Window(Framework_Window* window)
{
    Installed = window;
}
