// The gradient effect and its one instance D3DGradient: grey horizontal stripes whose level
// follows a triangle wave down the rows, times a linear ramp across the texture, scrolling
// by one row per update and updated at most 40 times per second.
//
// The side N is the surface width (the texture is square); rows past the surface height are
// never written. The fills allocate nothing.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

struct GradientState {
    double elapsed = 0.0;
    float offset = 0.0f;
    bool drawn = false; // the fill has drawn once, so offset holds a position
};

class Gradient {
public:
    Gradient() = default;
    Gradient(const Gradient&) = delete;
    Gradient& operator=(const Gradient&) = delete;

    bool is_565 = false;
    bool upward = true;
    int32_t band = 32;
    uint32_t created_flags = 0;
    GradientState state_32;
    GradientState state_16;
    // The fills' traces close under another name than they open with ("Gradient::Frame_Move
    // 32"), so the one-shot flag of each fill is kept here.
    bool traced_32 = false;
    bool traced_16 = false;

    // Seconds that must gather before the stripes move by one row.
    static constexpr double Update_Interval = 0.025;

    HRESULT Initialise_Gradient_Texture(const char* name, int32_t side);
    int Choose_Random_Bands();
    HRESULT Frame_Move(const char* name, double dt);

    // 1 (also when the interval has not passed), 0 for a null address. N = the width.
    int Frame_Move_32(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt);
    int Frame_Move_16(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt);

    void Reset();

private:
    template <int Bytes>
    void Draw_Stripes(GradientState& s, uint8_t* pixels, uint32_t pitch, int32_t side, int32_t height);
};

extern Gradient D3DGradient;

// One triangle-wave step: level += step, turned back at 0 and at the maximum.
inline void Gradient_Next_Level(int32_t& level, int32_t& step, int32_t maximum)
{
    level += step;
    if (level > maximum || level < 0)
        step = -step;
    if (level >= maximum)
        level = maximum;
    if (level <= 0)
        level = 0;
}
