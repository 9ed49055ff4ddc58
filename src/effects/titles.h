// The titles image: the current music track's name as white text near the bottom-left corner
// of the screen. The text is drawn into a square texture whenever the track changes; a screen
// quad hanging mostly below the bottom edge shows the texture's top strip, fading up to a
// fixed brightness and straight back down to nothing.
//
// There is one, Titles.
#pragma once

#include "platform/graphics/d3d_types.h"

#include <cstdint>

class IDirect3DDevice7;
class IDirectDrawSurface7;

class Titles_Image {
public:
    static constexpr int Name_Size = 260;
    static constexpr uint32_t Full_Brightness = 0x76767676;
    static constexpr int Fading_In = 0;
    static constexpr int Fading_Out = 1;
    static constexpr int Hidden = 2;
    // Seconds between a request to show the title and its first fade-in step.
    static constexpr double Fade_In_Delay = 10.0;

    // Drawn as a strip bottom-left, top-left, bottom-right, top-right.
    D3DTLVERTEX Quad[4] = {};
    uint32_t Colour = 0; // grey: four equal bytes
    int32_t Fade_State = Hidden;
    char Texture_Name[Name_Size] = "Music Title";
    // The texture-creation flags of the texture as it was last created (0: none yet).
    uint32_t Created_Flags = 0;
    double Fade_In_Timer = -Fade_In_Delay;
    double Fade_Out_Timer = 0.0;

    // Back to the state of program start.
    void Reset() { *this = Titles_Image{}; }

    // 1; 0 when the desktop mode is unreadable or of unusable depth; the texture manager's
    // negative code when the texture could not be created.
    int Initialise_Titles_Texture(const char* texture_name, int side);
    // 1 when the text was drawn; 0 when the texture has no surface; the lock's negative code.
    int Update_Title_Text(const char* texture_name, const char* title);
    // 1; 0 for no surface or no device context. x and y in twentieths of a point.
    int Output_Title_Text(IDirectDrawSurface7* surface, int x, int y, const char* text, int width,
                          int height);

    void Initialise_Quad();
    void Set_Position(float screen_width, float screen_height);
    void Start_Fade_In();
    void Update_Fade(double step_interval, double elapsed_seconds);
    // 1 when hidden (nothing drawn), else the DrawPrimitive result.
    int Render(IDirect3DDevice7* device);
};

extern Titles_Image Titles;
