// The wall image: a square in the middle of the screen showing a bitmap picked at random from
// the images folder; it fades in, holds, fades out, and at black asks for a new image. The
// same object picks the backdrop bitmaps that the scene sometimes maps onto a kaleidoscope
// layer. There is one, D3DWall.
#pragma once

#include "platform/graphics/d3d_types.h"

#include <cstdint>

class IDirect3DDevice7;

class Wall_Image {
public:
    static constexpr int Path_Size = 260;
    static constexpr uint32_t Full_Brightness = 0xAFAFAFAF;

    D3DTLVERTEX Quad[4] = {};
    uint32_t Colour = 0;
    int32_t Fading_Out = 0;
    // The bitmap shown; also the name of its texture.
    char Image_Path[Path_Size] = {};
    // Set for the rest of the frame in which the square reached black.
    int32_t New_Image = 0;
    int32_t Last_Image = 0;
    int32_t Last_Backdrop = 0;
    double Fade_In_Timer = -5.0;
    double Fade_Out_Timer = 0.0;
    bool Fade_Out_Started = false;

    // Back to the state of program start.
    void Reset() { *this = Wall_Image{}; }

    // 1 with the full path in path_out (Path_Size characters), 0 on failure (reported).
    int Select_Random_Image(char* path_out);
    int Select_Random_Backdrop(char* path_out);

    void Initialise_Quad();
    void Initialise_Image_Coordinates(float width, float height);
    // The DrawPrimitive result, unchanged.
    HRESULT Render(IDirect3DDevice7* device);
    void Fade(double fade_interval, double elapsed_seconds);
};

extern Wall_Image D3DWall;
