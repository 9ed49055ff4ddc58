// What the framework needs of the window it draws for: the client area's size and where its
// corners lie on the screen. The window backend installs its own answer; until then the
// window interface of the platform layer is asked (client rectangle, and the window's
// position on the screen as the client area's origin).
#pragma once

#include "platform/win_types.h"

class Framework_Window {
public:
    virtual ~Framework_Window() = default;
    virtual bool Client_Rect(HWND window, RECT* rect) = 0;
    virtual bool Client_To_Screen(HWND window, POINT* point) = 0;
};

Framework_Window& Installed_Framework_Window();
// Installs an answer (not owned); null goes back to the platform window interface.
void Set_Framework_Window(Framework_Window* window);
