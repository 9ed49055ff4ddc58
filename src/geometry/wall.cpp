// The wall image's quad, placement, drawing and fade.
#include "geometry/wall.h"

#include "d3dframe/d3dutil.h"
#include "platform/graphics/d3d_device.h"
#include "platform/system/random.h"

Wall_Image D3DWall;

namespace {

constexpr uint32_t Colour_Step = 0x01010101;

// The hold at full brightness and at black: 20 s plus up to 9.9 s.
double Hold()
{
    return -20.0 - (Random::rand() % 100) * 0.1;
}

} // namespace

void Wall_Image::Initialise_Quad()
{
    Initialise_Screen_Quad(Quad, Colour);
}

void Wall_Image::Initialise_Image_Coordinates(float width, float height)
{
    // A third of the height on large screens, else 256 pixels (even on smaller viewports).
    const float side = width >= 1024.0f ? height * 0.33333334f : 256.0f;
    const float left = (width - side) / 2;
    const float right = (width + side) / 2;
    const float top = (height - side) / 2;
    const float bottom = (height + side) / 2;
    const float xs[4] = {left, left, right, right};
    const float ys[4] = {bottom, top, bottom, top};
    for (int corner = 0; corner < 4; ++corner) {
        Quad[corner].sx = xs[corner];
        Quad[corner].sy = ys[corner];
    }
}

HRESULT Wall_Image::Render(IDirect3DDevice7* device)
{
    return device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, Quad, 4, 0);
}

void Wall_Image::Fade(double fade_interval, double elapsed_seconds)
{
    if (Fading_Out == 1) {
        if (!Fade_Out_Started) {
            Fade_Out_Started = true;
            Fade_Out_Timer = Hold();
        }
        Fade_Out_Timer += elapsed_seconds;
        if (Colour == 0 || !(Fade_Out_Timer > fade_interval))
            return;
        Fade_Out_Timer = 0.0;
        Colour -= Colour_Step;
        if (Colour == 0) {
            New_Image = 1;
            Fading_Out = 0;
            Fade_Out_Timer = Hold();
        }
    } else {
        Fade_In_Timer += elapsed_seconds;
        New_Image = 0;
        if (!(Fade_In_Timer > fade_interval))
            return;
        Fade_In_Timer = 0.0;
        Colour += Colour_Step;
        if (Colour >= Full_Brightness) {
            Fading_Out = 1;
            Fade_In_Timer = Hold();
        }
    }
    for (D3DTLVERTEX& corner : Quad)
        corner.color = Colour;
}
