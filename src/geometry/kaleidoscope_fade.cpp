// The kaleidoscope layers' fades: up to the brightness limit one grey step at a time, a hold,
// down to black, a rebuild, a hold at black, and up again. Hold times are negative timer
// values of (rand() mod D)/10 seconds.
#include "geometry/kaleidoscope.h"

#include "platform/system/random.h"
#include "settings/settings_file.h"

#include <algorithm>

namespace {

constexpr uint32_t Colour_Step = 0x01010101;

// Divisors of the hold draws, per layer.
constexpr int Hold_At_Black_Divisor[Kaleidoscope::Layer_Count] = {50, 100, 100};
constexpr int Hold_At_Full_Divisor[Kaleidoscope::Layer_Count] = {100, 300, 100};

double Hold(int divisor)
{
    return (Random::rand() % divisor) * -0.1;
}

// Colours reach the vertices only when a step happens, never every frame.
void Copy_Colour(int layer)
{
    const uint32_t colour = Kaleidoscope::Colour[layer];
    const int count = std::clamp(3 * Kaleidoscope::Symmetry[layer], 0, Kaleidoscope::Max_Vertices);
    if (layer == Kaleidoscope::Foreground) {
        for (int v = 0; v < count; ++v)
            Kaleidoscope::Foreground_Vertices[v].color = colour;
        return;
    }
    for (int v = 0; v < count; ++v)
        Kaleidoscope::Layer_Vertices[layer][v].color = colour;
    for (D3DTLVERTEX& corner : Kaleidoscope::Layer_Quad[layer])
        corner.color = colour;
}

void Dim(int layer, double fade_interval, double elapsed_seconds)
{
    if (!Kaleidoscope::Fade_Out_Started[layer]) {
        Kaleidoscope::Fade_Out_Started[layer] = true;
        if (layer != Kaleidoscope::Background)
            Kaleidoscope::Fade_Out_Timer[layer] = Hold(100);
    }
    Kaleidoscope::Fade_Out_Timer[layer] += elapsed_seconds;
    if (Kaleidoscope::Colour[layer] == 0 || !(Kaleidoscope::Fade_Out_Timer[layer] > fade_interval))
        return;
    Kaleidoscope::Fade_Out_Timer[layer] = 0.0;
    Kaleidoscope::Colour[layer] -= Colour_Step;
    if (Kaleidoscope::Colour[layer] == 0) {
        Kaleidoscope::Rebuild[layer] = 1;
        Kaleidoscope::Fading_Out[layer] = 0;
        Kaleidoscope::Fade_Out_Timer[layer] = Hold(Hold_At_Black_Divisor[layer]);
    }
    Copy_Colour(layer);
}

void Brighten(int layer, double fade_interval, double elapsed_seconds)
{
    Kaleidoscope::Fade_In_Timer[layer] += elapsed_seconds;
    Kaleidoscope::Rebuild[layer] = 0;
    if (!(Kaleidoscope::Fade_In_Timer[layer] > fade_interval))
        return;
    Kaleidoscope::Fade_In_Timer[layer] = 0.0;
    Kaleidoscope::Colour[layer] += Colour_Step;
    if (Kaleidoscope::Colour[layer] >= View_Of(Live_Settings()).Brightness) {
        Kaleidoscope::Fading_Out[layer] = 1;
        Kaleidoscope::Fade_In_Timer[layer] = Hold(Hold_At_Full_Divisor[layer]);
    }
    Copy_Colour(layer);
}

} // namespace

void Kaleidoscope::Fade(int layer, double fade_interval, double elapsed_seconds)
{
    if (Fading_Out[layer] == 1)
        Dim(layer, fade_interval, elapsed_seconds);
    else
        Brighten(layer, fade_interval, elapsed_seconds);
}
