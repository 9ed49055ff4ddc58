// The present step's last stage: shows a finished frame in the window's client area (windowed)
// or on the whole screen, scaled and keeping its aspect (full screen, where display modes are
// emulated). The window backends install presenters; until then the headless presenter keeps
// a copy of the last frame for whoever asks (tests, the render tool).
#pragma once

#include "platform/graphics/surface.h"

#include <cstdint>
#include <vector>

class Frame_Presenter {
public:
    virtual ~Frame_Presenter() = default;
    // frame: the surface holding the finished picture; screen_rect: where it goes on the
    // screen (the client area windowed, the mode's rectangle full screen).
    virtual HRESULT Present(HWND window, IDirectDrawSurface7* frame, const RECT& screen_rect,
                            bool fullscreen) = 0;
};

class Headless_Presenter final : public Frame_Presenter {
public:
    HRESULT Present(HWND window, IDirectDrawSurface7* frame, const RECT& screen_rect,
                    bool fullscreen) override;

    struct Frame {
        HWND Window = nullptr;
        DWORD Width = 0;
        DWORD Height = 0;
        DDPIXELFORMAT Format{};
        std::vector<uint8_t> Pixels; // rows without padding
        RECT Screen_Rect{};
        bool Fullscreen = false;
        uint64_t Count = 0; // frames presented so far
    };
    const Frame& Last_Frame() const { return Last; }
    void Reset() { Last = Frame{}; }

private:
    Frame Last;
};

Frame_Presenter& Installed_Presenter();
// Installs a presenter (not owned); null goes back to the headless one.
void Set_Presenter(Frame_Presenter* presenter);
Headless_Presenter& The_Headless_Presenter();
