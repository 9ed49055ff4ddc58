// The kaleidoscope's construction state, texture-coordinate patterns, drawing and symmetry
// choice. Layout is in kaleidoscope_layout.cpp, the fades in kaleidoscope_fade.cpp.
#include "geometry/kaleidoscope.h"

#include "platform/graphics/d3d_device.h"
#include "platform/system/random.h"

#include <algorithm>

namespace {

struct Texture_Pair {
    float tu, tv;
};

// Per layer: centre, even triangle's two rim vertices, odd triangle's two rim vertices.
// Neighbouring triangles share a rim vertex, so every rim point keeps one pair and the
// texture is mirrored across every spoke.
constexpr Texture_Pair Fan_Pattern[Kaleidoscope::Layer_Count][5] = {
    {{0, 0}, {1, 1}, {0, 1}, {0, 1}, {1, 1}},
    {{0, 0}, {1, 1}, {1, 0}, {1, 0}, {1, 1}},
    {{0, 0}, {1, 1}, {0, 1}, {0, 1}, {1, 1}},
};
// Quad corners top-left, top-right, bottom-left, bottom-right; the midground's texture is
// turned by a quarter turn.
constexpr Texture_Pair Quad_Pattern[Kaleidoscope::Layer_Count][4] = {
    {{0, 0}, {1, 0}, {0, 1}, {1, 1}},
    {{0, 1}, {0, 0}, {1, 1}, {1, 0}},
    {{0, 0}, {1, 0}, {0, 1}, {1, 1}},
};

// The depth at which Initialise_Symmetry collapses the foreground, before any layout.
constexpr float Collapsed_Foreground_Z = -18.0f;

D3DTLVERTEX Screen_Vertex(float rhw, uint32_t colour, Texture_Pair uv)
{
    D3DTLVERTEX vertex{};
    vertex.rhw = rhw;
    vertex.color = colour;
    vertex.tu = uv.tu;
    vertex.tv = uv.tv;
    return vertex;
}

D3DLVERTEX World_Vertex(uint32_t colour, Texture_Pair uv)
{
    D3DLVERTEX vertex{};
    vertex.z = Collapsed_Foreground_Z;
    vertex.color = colour;
    vertex.tu = uv.tu;
    vertex.tv = uv.tv;
    return vertex;
}

// Which pattern entry vertex v (0..5) of a triangle pair takes.
constexpr int Pattern_Index[6] = {0, 1, 2, 0, 3, 4};

const bool Constructed = (Kaleidoscope::Reset(), true);

} // namespace

void Kaleidoscope::Reset()
{
    (void)Constructed;
    for (int layer = 0; layer < Layer_Count; ++layer) {
        Symmetry[layer] = 12;
        Colour[layer] = 0;
        Fading_Out[layer] = 0;
        Rebuild[layer] = 1;
        Fade_Out_Timer[layer] = 0.0;
        Fade_Out_Started[layer] = false;
    }
    // The first fade-ins are staggered by 6, 12 and 20 seconds.
    Fade_In_Timer[Background] = -6.0;
    Fade_In_Timer[Midground] = -12.0;
    Fade_In_Timer[Foreground] = -20.0;
    Foreground_Depth = -19.0f;
    std::fill_n(&Layer_Vertices[0][0], 2 * Max_Vertices, D3DTLVERTEX{});
    std::fill_n(Foreground_Vertices, Max_Vertices, D3DLVERTEX{});
    std::fill_n(&Layer_Quad[0][0], 8, D3DTLVERTEX{});
    std::fill_n(Foreground_Quad, 4, D3DLVERTEX{});
}

void Kaleidoscope::Initialise_Symmetry(int symmetry, int layer)
{
    // Triangles come in mirrored pairs, so an odd symmetry writes one triangle more than it
    // draws; the pair count is bounded by the array whatever the caller passes.
    const int pairs = symmetry > 0 ? std::min((symmetry + 1) / 2, Max_Triangles / 2) : 0;
    const Texture_Pair* pattern = Fan_Pattern[layer];
    for (int v = 0; v < 6 * pairs; ++v) {
        const Texture_Pair uv = pattern[Pattern_Index[v % 6]];
        if (layer == Foreground)
            Foreground_Vertices[v] = World_Vertex(Colour[layer], uv);
        else
            Layer_Vertices[layer][v] = Screen_Vertex(0.5f, Colour[layer], uv);
    }
    for (int corner = 0; corner < 4; ++corner) {
        const Texture_Pair uv = Quad_Pattern[layer][corner];
        if (layer == Foreground)
            Foreground_Quad[corner] = World_Vertex(Colour[layer], uv);
        else
            Layer_Quad[layer][corner] = Screen_Vertex(layer == Background ? 0.1f : 0.5f, Colour[layer], uv);
    }
    Symmetry[layer] = symmetry;
}

int Kaleidoscope::Render(IDirect3DDevice7* device, int layer)
{
    const int triangles = std::clamp(Symmetry[layer], 0, Max_Triangles);
    if (layer != Foreground && Symmetry[layer] == 1) {
        const HRESULT result =
            device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, Layer_Quad[layer], 4, 0);
        return result < 0 ? result : 1;
    }
    // One call per triangle: each is its own three-vertex strip (or fan in world space).
    for (int i = 0; i < triangles; ++i) {
        const HRESULT result =
            layer == Foreground
                ? device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_LVERTEX, &Foreground_Vertices[3 * i], 3, 0)
                : device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, &Layer_Vertices[layer][3 * i],
                                        3, 0);
        if (result < 0)
            return result;
    }
    return 1;
}

int Kaleidoscope::Random_Symmetry()
{
    return Symmetry_Choices[Random::rand() % 8];
}
