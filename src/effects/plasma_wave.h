// One wave of the plasma: its two radial byte tables and its eight phase angles.
//
// The tables are 2W columns × 2H rows, row-major, symmetric about their centre. Each frame the
// wave samples them at four moving offsets; all transcendental work is done here, once, so a
// frame costs only byte loads and additions.
#pragma once

#include <cstdint>
#include <memory>

struct PlasmaWave {
    std::unique_ptr<uint8_t[]> distance_table;
    std::unique_ptr<uint8_t[]> ripple_table;
    int32_t width = 0;
    int32_t height = 0;
    float phase[8] = {};

    bool Has_Tables() const { return distance_table && ripple_table; }
    void Free_Tables();
};

// Largest side the tables are built for. Larger (or non-positive) sides are refused as an
// allocation failure: the tables of a bigger side would not fit a texture anyway.
inline constexpr int32_t Plasma_Max_Side = 4096;

// Builds one wave: stores W and H, draws the eight phases (eight rand() calls), allocates and
// fills both tables for the given contrast c (already within 2 … 25) and interference k.
// Reports its own allocation failure and returns false; on failure both tables are empty.
bool Build_Plasma_Wave(PlasmaWave& wave, int32_t width, int32_t height, int32_t contrast, float interference);

// The value of one table entry before mirroring, for the distances dx, dy (both at least 1).
uint8_t Plasma_Distance_Value(int32_t dx, int32_t dy, int32_t contrast);
uint8_t Plasma_Ripple_Value(int32_t dx, int32_t dy, int32_t contrast, float interference);
