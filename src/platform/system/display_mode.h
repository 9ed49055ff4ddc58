// The desktop's current display mode (the original EnumDisplaySettingsA with
// ENUM_CURRENT_SETTINGS). A source answers it: by default the X display named by $DISPLAY
// (a depth-24 screen stores 32 bits per pixel and reports 32); the window backends and the
// headless render tool install sources of their own.
#pragma once

struct Display_Mode {
    int Width = 0;
    int Height = 0;
    int Bits_Per_Pixel = 0;
};

class Display_Mode_Source {
public:
    virtual ~Display_Mode_Source() = default;
    // False when there is no display to ask.
    virtual bool Current_Mode(Display_Mode& mode) = 0;
};

// Answers with a fixed mode, or fails when Available is false (tests, headless runs).
class Fixed_Display_Mode : public Display_Mode_Source {
public:
    Display_Mode Mode;
    bool Available = true;

    Fixed_Display_Mode() = default;
    Fixed_Display_Mode(int width, int height, int bits_per_pixel, bool available = true)
        : Mode{width, height, bits_per_pixel}, Available(available)
    {
    }
    bool Current_Mode(Display_Mode& mode) override
    {
        if (Available)
            mode = Mode;
        return Available;
    }
};

// Installs a source (not owned); nullptr puts the X display source back.
void Set_Display_Mode_Source(Display_Mode_Source* source);

bool Get_Current_Display_Mode(Display_Mode& mode);

// The X display's mode, through Xlib; false when $DISPLAY does not open.
bool X_Display_Current_Mode(Display_Mode& mode);
