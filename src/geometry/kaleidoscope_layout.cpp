// Where the kaleidoscope's vertices go: the rim points of each symmetry, the fan and quad
// layouts, and the random choice of a new symmetry sized to the viewport.
//
// Rim points are computed once per point of the first quarter turn and mirrored for the rest,
// so each rim set is exactly symmetric about the vertical and horizontal lines through its
// centre, and the points at 0°, 90°, 180° and 270° sit exactly r away along one axis.
#include "geometry/kaleidoscope.h"

#include "log/error_log.h"
#include "platform/graphics/d3d_device.h"
#include "platform/system/random.h"

#include <cmath>
#include <cstdio>

namespace {

// 2π as the single-precision constant the angles are formed with (bits 0x40C90FDB); the
// angle of point k of N is this times the double fraction k/N.
constexpr float Two_Pi_Single = 6.2831855f;

struct Offset {
    double dx, dy; // from the centre, screen orientation (y grows downwards)
};

double Angle(int k, int n)
{
    return static_cast<double>(Two_Pi_Single) * (static_cast<double>(k) / n);
}

// Regular polygon starting straight up and going clockwise (N divisible by four): point k
// is at k·360°/N from straight up, (r·sin θ, −r·cos θ).
void Polygon_Offsets(int n, double r, Offset* out)
{
    const int quarter = n / 4;
    for (int k = 0; k <= quarter; ++k) {
        if (k == 0)
            out[k] = {0.0, -r};
        else if (k == quarter)
            out[k] = {r, 0.0};
        else
            out[k] = {r * std::sin(Angle(k, n)), -(r * std::cos(Angle(k, n)))};
    }
    for (int k = quarter + 1; k <= 2 * quarter; ++k)
        out[k] = {out[2 * quarter - k].dx, -out[2 * quarter - k].dy};
    for (int k = 2 * quarter + 1; k < n; ++k) {
        const int j = k <= 3 * quarter ? k - 2 * quarter : n - k;
        out[k] = {-out[j].dx, k <= 3 * quarter ? -out[j].dy : out[j].dy};
    }
}

// Hexagon with flat top and bottom edges, starting on the left (270°) and going clockwise.
void Hexagon_Offsets(double r, Offset* out)
{
    const double across = r * std::cos(Angle(1, 6)); // r·cos 60°
    const double up = r * std::sin(Angle(1, 6));     // r·sin 60°
    out[0] = {-r, 0.0};
    out[1] = {-across, -up};
    out[2] = {across, -up};
    out[3] = {r, 0.0};
    out[4] = {across, up};
    out[5] = {-across, up};
}

// The corners of the square of half-side r, from the top-left corner clockwise.
void Square_Offsets(double r, Offset* out)
{
    out[0] = {-r, -r};
    out[1] = {r, -r};
    out[2] = {r, r};
    out[3] = {-r, r};
}

bool Is_Fan_Symmetry(int n)
{
    return n == 4 || n == 6 || n == 8 || n == 12 || n == 24 || n == 36 || n == 72;
}

void Rim_Offsets(int n, double r, Offset* out)
{
    if (n == 4)
        Square_Offsets(r, out);
    else if (n == 6)
        Hexagon_Offsets(r, out);
    else
        Polygon_Offsets(n, r, out);
}

void Quad_Layout(double cx, double cy, int layer)
{
    const float right = static_cast<float>(2.0 * cx);
    const float bottom = static_cast<float>(2.0 * cy);
    const float xs[4] = {0.0f, right, 0.0f, right};
    const float ys[4] = {0.0f, 0.0f, bottom, bottom};
    for (int corner = 0; corner < 4; ++corner) {
        if (layer == Kaleidoscope::Foreground) {
            Kaleidoscope::Foreground_Quad[corner].x = xs[corner];
            Kaleidoscope::Foreground_Quad[corner].y = ys[corner];
            Kaleidoscope::Foreground_Quad[corner].z = Kaleidoscope::Foreground_Depth;
        } else {
            Kaleidoscope::Layer_Quad[layer][corner].sx = xs[corner];
            Kaleidoscope::Layer_Quad[layer][corner].sy = ys[corner];
        }
    }
}

void Place(D3DTLVERTEX& vertex, double x, double y)
{
    vertex.sx = static_cast<float>(x);
    vertex.sy = static_cast<float>(y);
}

void Place(D3DLVERTEX& vertex, double x, double y)
{
    vertex.x = static_cast<float>(x);
    vertex.y = static_cast<float>(y);
    vertex.z = Kaleidoscope::Foreground_Depth;
}

void Fan_Layout(int n, double cx, double cy, double r, int layer)
{
    Offset rim[72];
    Rim_Offsets(n, r, rim);
    for (int i = 0; i < n; ++i) {
        const Offset& here = rim[i];
        const Offset& next = rim[(i + 1) % n];
        if (layer == Kaleidoscope::Foreground) {
            // World space looks at the disk from the other side, so the rim order is reversed
            // to keep the triangles facing the camera.
            D3DLVERTEX* triangle = &Kaleidoscope::Foreground_Vertices[3 * i];
            Place(triangle[0], cx, cy);
            Place(triangle[1], cx + next.dx, cy + next.dy);
            Place(triangle[2], cx + here.dx, cy + here.dy);
        } else {
            D3DTLVERTEX* triangle = &Kaleidoscope::Layer_Vertices[layer][3 * i];
            Place(triangle[0], cx, cy);
            Place(triangle[1], cx + here.dx, cy + here.dy);
            Place(triangle[2], cx + next.dx, cy + next.dy);
        }
    }
}

} // namespace

int Kaleidoscope::Initialise_Vertex_Coordinates(double centre_x, double centre_y, double radius, int layer)
{
    const int n = Symmetry[layer];
    if (n == 1) {
        Quad_Layout(centre_x, centre_y, layer);
        return 1;
    }
    if (!Is_Fan_Symmetry(n)) {
        Report("Kaleidoscope::Initialise_Vertex_Coordinates(): Invalid symmetry %d", n);
        return 0;
    }
    Fan_Layout(n, centre_x, centre_y, radius, layer);
    return 1;
}

int Kaleidoscope::Select_Random_Symmetry(IDirect3DDevice7* device, int layer)
{
    D3DVIEWPORT7 viewport{};
    device->GetViewport(&viewport); // on failure the zeroed viewport collapses the layout
    const double width = viewport.dwWidth;
    const double height = viewport.dwHeight;
    const double cx = width * 0.5;
    const double cy = height * 0.5;
    const double radius = (std::sqrt(width * width * 0.25 + height * height * 0.25) + 16.0) * 1.5;

    const int k = Random::rand() % 8;
    // The foreground has no quad: a draw of symmetry 1 keeps its previous geometry.
    if (k == 0 && layer == Foreground)
        return k;
    Initialise_Symmetry(Symmetry_Choices[k], layer);
    if (layer == Foreground)
        Initialise_Vertex_Coordinates(0.0, 0.0, 1.5, layer);
    else
        Initialise_Vertex_Coordinates(cx, cy, radius, layer);
    return k;
}
