// The geometry of the three kaleidoscope layers: fans of triangles around a centre whose
// texture coordinates mirror from one triangle to the next, so whatever texture is bound is
// repeated as a mirror image around the centre. Symmetry 1 is a plain full-screen quad.
//
// Layers 0 (background) and 1 (midground) are screen-space vertices; layer 2 (foreground) is
// a disk of world vertices that the scene turns about the viewing axis. Each layer carries a
// grey colour that fades up to the brightness limit, holds, fades down, and at black asks
// the scene for a rebuild (new symmetry, new texture).
//
// There is one kaleidoscope in the program, so its state and operations are static:
// Kaleidoscope::Fade(layer, …), Kaleidoscope::Rebuild[layer].
#pragma once

#include "platform/graphics/d3d_types.h"

#include <cstddef>
#include <cstdint>

class IDirect3DDevice7;

// The layers' vertices go to the device as they lie in memory: 32-byte records in the
// platform's screen and world vertex layouts.
static_assert(sizeof(D3DTLVERTEX) == 32 && sizeof(D3DLVERTEX) == 32);
static_assert(offsetof(D3DTLVERTEX, sx) == 0 && offsetof(D3DTLVERTEX, sy) == 4 &&
              offsetof(D3DTLVERTEX, sz) == 8 && offsetof(D3DTLVERTEX, rhw) == 12 &&
              offsetof(D3DTLVERTEX, color) == 16 && offsetof(D3DTLVERTEX, specular) == 20 &&
              offsetof(D3DTLVERTEX, tu) == 24 && offsetof(D3DTLVERTEX, tv) == 28);
static_assert(offsetof(D3DLVERTEX, x) == 0 && offsetof(D3DLVERTEX, y) == 4 && offsetof(D3DLVERTEX, z) == 8 &&
              offsetof(D3DLVERTEX, dwReserved) == 12 && offsetof(D3DLVERTEX, color) == 16 &&
              offsetof(D3DLVERTEX, specular) == 20 && offsetof(D3DLVERTEX, tu) == 24 &&
              offsetof(D3DLVERTEX, tv) == 28);

class Kaleidoscope {
public:
    static constexpr int Background = 0;
    static constexpr int Midground = 1;
    static constexpr int Foreground = 2;
    static constexpr int Layer_Count = 3;
    static constexpr int Max_Triangles = 128;
    static constexpr int Max_Vertices = 3 * Max_Triangles;

    // Triangle i occupies vertices 3i, 3i+1, 3i+2; vertex 3i is the centre.
    static inline D3DTLVERTEX Layer_Vertices[2][Max_Vertices]; // background, midground
    static inline D3DLVERTEX Foreground_Vertices[Max_Vertices];
    // The symmetry-1 strip: top-left, top-right, bottom-left, bottom-right.
    static inline D3DTLVERTEX Layer_Quad[2][4];
    static inline D3DLVERTEX Foreground_Quad[4];

    static inline int32_t Symmetry[Layer_Count];
    static inline uint32_t Colour[Layer_Count]; // grey: four equal bytes
    static inline int32_t Fading_Out[Layer_Count];
    static inline int32_t Rebuild[Layer_Count];
    static inline double Fade_In_Timer[Layer_Count];
    static inline double Fade_Out_Timer[Layer_Count];
    static inline float Foreground_Depth;

    // Back to the state of program start (also run by static construction).
    static void Reset();

    static void Initialise_Symmetry(int symmetry, int layer);
    // 1, or 0 (with a report) for a symmetry outside the choice table.
    static int Initialise_Vertex_Coordinates(double centre_x, double centre_y, double radius, int layer);
    // 1, or the first failing DrawPrimitive result.
    static int Render(IDirect3DDevice7* device, int layer);
    static void Fade(int layer, double fade_interval, double elapsed_seconds);
    static int Random_Symmetry();
    // Lays out a new random symmetry for the current viewport; returns the choice k (0..7).
    static int Select_Random_Symmetry(IDirect3DDevice7* device, int layer);

    // The choice table: symmetry of choice k.
    static constexpr int Symmetry_Choices[8] = {1, 4, 6, 8, 12, 24, 36, 72};

    // Whether the layer has dimmed before: the first dimming of the midground and foreground
    // starts from a random hold.
    static inline bool Fade_Out_Started[Layer_Count];
};
