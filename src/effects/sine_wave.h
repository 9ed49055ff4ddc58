// The sine-wave effect and its one instance D3DSine_Wave: three coloured bands per line whose
// positions follow sums of three sines, with randomly wandering amplitudes. The normal fills
// draw the bands down the columns, the inverted fills along the rows.
//
// Each of the four fills (normal/inverted × 32/16 bits) animates its own SineWaveState. The
// fills assume a square texture: the side N is the surface width; they never write outside
// the width × height they are given, and allocate nothing.
#pragma once

#include <cstdint>

#include "platform/win_types.h"

class IDirectDrawSurface7;

struct SineWaveState {
    bool used = false; // the eighteen first draws have been made
    double amplitude[9] = {};
    double step[9] = {};
    double time = 0.0;
};

class Sine_Wave {
public:
    // Sets the construction values and makes the nine draws nothing reads: built with the
    // program's static objects, they are the generator's first nine values.
    Sine_Wave();
    Sine_Wave(const Sine_Wave&) = delete;
    Sine_Wave& operator=(const Sine_Wave&) = delete;

    double density = 0.85;
    int32_t variance = 3;
    int32_t amplitude_limit = 16;
    int32_t band_height[3] = {16, 16, 16}; // red, green, blue
    BOOL inverted = FALSE;
    bool channel_on[3] = {true, true, true}; // red, green, blue; 32-bit fills only
    bool is_565 = false;
    BOOL redraw = FALSE;
    uint32_t created_flags = 0;

    enum Fill_Kind { Normal_32, Inverted_32, Normal_16, Inverted_16 };
    SineWaveState state[4];

    HRESULT Initialise_Sine_Wave_Texture(const char* name, int32_t side);
    void Choose_Random_Waves();
    HRESULT Frame_Move(const char* name, double dt);
    static bool Clear_Surface(IDirectDrawSurface7* surface);

    // 1, or 0 when the width or height is not positive or the address is null.
    int Multi_Sine_Wave_32(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt);
    int Inverted_Multi_Sine_Wave_32(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height,
                                    double dt);
    int Multi_Sine_Wave_16(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt);
    int Inverted_Multi_Sine_Wave_16(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height,
                                    double dt);

    // Back to the construction values, without the nine draws.
    void Reset();

private:
    struct Surface {
        uint8_t* pixels;
        uint32_t pitch; // rounded down to whole pixels
        int32_t width;
        int32_t height;
    };
    void Draw_Amplitudes(SineWaveState& s) const;
    void Move_Amplitudes(SineWaveState& s) const;
    // The fill's shared steps 2–7 on its state: the random walk and the time.
    void Animate(SineWaveState& s, double dt);
    template <int Bytes, bool Transposed>
    void Draw_Bands(const SineWaveState& s, const Surface& surface) const;
    int Fill(Fill_Kind kind, const Surface& surface, double dt);
};

extern Sine_Wave D3DSine_Wave;

// Top of a band for line j: trunc(y) + N div 4, where y sums the channel's three sines.
int32_t Sine_Band_Top(const double* amplitude, double time, int32_t line, int32_t side, int channel);
// The channel value at distance d from the band's nearer end, for a band of height Q.
uint8_t Sine_Band_Value_32(int32_t d, int32_t band_height);
uint8_t Sine_Band_Value_16(int32_t d, int32_t band_height, bool doubled);
