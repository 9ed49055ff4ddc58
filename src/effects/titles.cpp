// The titles image's quad, placement, fade and drawing.
#include "effects/titles.h"

#include "d3dframe/d3dutil.h"
#include "platform/graphics/d3d_device.h"

Titles_Image Titles;

namespace {

constexpr uint32_t Colour_Step = 0x01010101;

} // namespace

void Titles_Image::Initialise_Quad()
{
    Initialise_Screen_Quad(Quad, Colour);
}

void Titles_Image::Set_Position(float screen_width, float screen_height)
{
    // The quad's size follows the screen, not the texture: a 256 texture is stretched to 512
    // on screens at least 512 wide. Its top edge sits at 11/12 of the height, so only the
    // top strip of the texture, where the text is, shows.
    const float side = screen_width >= 512.0f ? 512.0f : 256.0f;
    const float left = screen_width * 0.03125f;
    const float top = screen_height * 0.9166667f;
    const float xs[4] = {left, left, left + side, left + side};
    const float ys[4] = {top + side, top, top + side, top};
    for (int corner = 0; corner < 4; ++corner) {
        Quad[corner].sx = xs[corner];
        Quad[corner].sy = ys[corner];
    }
}

void Titles_Image::Start_Fade_In()
{
    // A restart keeps the timer and the brightness: a fade-out turns back into a fade-in.
    Fade_State = Fading_In;
}

void Titles_Image::Update_Fade(double step_interval, double elapsed_seconds)
{
    if (Fade_State == Fading_In) {
        Fade_In_Timer += elapsed_seconds;
        if (!(Fade_In_Timer > step_interval))
            return;
        Fade_In_Timer = 0.0;
        Colour += Colour_Step;
        if (Colour >= Full_Brightness) {
            Fade_State = Fading_Out;
            Fade_In_Timer = -Fade_In_Delay;
        }
    } else if (Fade_State == Fading_Out) {
        Fade_Out_Timer += elapsed_seconds;
        if (Colour == 0 || !(Fade_Out_Timer > step_interval))
            return;
        Fade_Out_Timer = 0.0;
        Colour -= Colour_Step;
        if (Colour == 0) {
            Fade_State = Hidden;
            Fade_Out_Timer = 0.0;
        }
    } else {
        return;
    }
    for (D3DTLVERTEX& corner : Quad)
        corner.color = Colour;
}

int Titles_Image::Render(IDirect3DDevice7* device)
{
    if (Fade_State == Hidden)
        return 1;
    return device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, Quad, 4, 0);
}
