// The multi-colour plasma, the program's first procedural texture, and its one instance
// D3DPlasma.
//
// Three waves (0 blue, 1 green, 2 red) each own two radial byte tables built once by
// Setup_Plasma. Every frame each wave samples its tables at four offsets moved by its eight
// phases; the folded byte sum is that wave's channel, written to four neighbouring pixels.
// The fills run on any locked pixel buffer and never write outside the width × height they
// are given; they allocate nothing.
#pragma once

#include <array>
#include <cstdint>

#include "effects/plasma_wave.h"
#include "platform/win_types.h"

class Plasma {
public:
    Plasma() = default;
    Plasma(const Plasma&) = delete;
    Plasma& operator=(const Plasma&) = delete;

    int32_t red_shift = 0;
    int32_t green_shift = 0;
    int32_t blue_shift = 0;
    bool is_565 = false;
    PlasmaWave wave[3];
    int32_t size = 256;
    // The texture-creation flags of the last texture made, 0 before the first.
    uint32_t created_flags = 0;

    // 1 when all three waves were built, 0 after a failure (reported); reads the contrast
    // and interference settings.
    int Setup_Plasma(int32_t width, int32_t height);
    void Shutdown_Plasma();
    void Choose_Colours();
    HRESULT Initialise_Plasma_Texture(const char* name, int32_t side);
    HRESULT Frame_Move(const char* name, double dt);

    // The fills: first pixel byte, pitch in bytes, the surface's width and height (the fill
    // stays inside them) and the elapsed seconds. 1, or 0 for a null address or no tables.
    int Multi_Colour_Plasma_32(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt);
    int Multi_Colour_Plasma_24(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt);
    int Multi_Colour_Plasma_16(uint8_t* pixels, uint32_t pitch, int32_t width, int32_t height, double dt);

    bool Has_Tables() const;
    // Back to the constructed state (tables freed, shifts 0, size 256, no texture made).
    void Reset();

private:
    struct Offsets {
        std::size_t a, b, c, d;
    };
    struct Extent {
        int32_t rows;
        int32_t pixels; // per row: at most the table's W/4 groups of four
    };

    struct Fill_Names {
        const char* trace;
        const char* null_report;
    };
    // The steps every depth shares: phases, offsets, the null test, then each row of table
    // values, handed to write_row(first byte of the row, pixels in the row).
    template <typename Row_Writer>
    int Fill_Rows(const Fill_Names& names, uint8_t* pixels, uint32_t row_pitch, uint32_t bytes_per_pixel,
                  int32_t width, int32_t height, double dt, Row_Writer write_row);
    void Advance_Phases(double dt);
    void Compute_Offsets();
    Extent Fill_Extent(uint32_t pitch, uint32_t bytes_per_pixel, int32_t width, int32_t height) const;
    // Folded channel bytes of table row i for waves 0, 1, 2, into channel[0 … 2].
    void Compute_Row(int32_t row, int32_t columns);

    Offsets offset[3] = {};
    std::array<uint8_t, Plasma_Max_Side / 4 + 1> channel[3] = {};
};

extern Plasma D3DPlasma;

// fold(s) = s for s < 128, else 255 − s: the sum's ramp turns back instead of wrapping.
inline constexpr uint8_t Plasma_Fold(uint8_t sum)
{
    return static_cast<uint8_t>(sum ^ static_cast<uint8_t>(0 - (sum >> 7)));
}
