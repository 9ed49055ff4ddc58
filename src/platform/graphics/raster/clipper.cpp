// Sutherland-Hodgman clipping in screen-homogeneous space. Each intersection is computed
// from the vertex inside the plane towards the one outside, so a shared edge of two
// triangles is cut at bit-identical points whichever way round each triangle walks it.
#include "platform/graphics/raster/clipper.h"

#include "platform/graphics/raster/raster_arithmetic.h"

#include <cmath>

namespace Raster {
namespace {

constexpr double Minimum_W = 1.0e-5;
constexpr int Max_Polygon = 3 + 5;

using Distance = double (*)(const Clip_Vertex&);

double Near(const Clip_Vertex& v)
{
    return v.w - Minimum_W;
}
double Left(const Clip_Vertex& v)
{
    return v.x + Guard_Band * v.w;
}
double Right(const Clip_Vertex& v)
{
    return Guard_Band * v.w - v.x;
}
double Top(const Clip_Vertex& v)
{
    return v.y + Guard_Band * v.w;
}
double Bottom(const Clip_Vertex& v)
{
    return Guard_Band * v.w - v.y;
}

Clip_Vertex Lerp(const Clip_Vertex& in, const Clip_Vertex& out, double t)
{
    auto mix = [t](double a, double b) { return a + (b - a) * t; };
    return {mix(in.x, out.x), mix(in.y, out.y), mix(in.w, out.w), mix(in.rhw, out.rhw), mix(in.r, out.r),
            mix(in.g, out.g), mix(in.b, out.b), mix(in.u, out.u), mix(in.v, out.v)};
}

int Clip_Polygon(const Clip_Vertex* in, int count, Clip_Vertex* out, Distance distance)
{
    int n = 0;
    for (int i = 0; i < count; ++i) {
        const Clip_Vertex& a = in[i];
        const Clip_Vertex& b = in[(i + 1) % count];
        double da = distance(a), db = distance(b);
        bool a_in = da >= 0.0, b_in = db >= 0.0;
        if (a_in)
            out[n++] = a;
        if (a_in && !b_in)
            out[n++] = Lerp(a, b, da / (da - db));
        else if (!a_in && b_in)
            out[n++] = Lerp(b, a, db / (db - da));
    }
    return n;
}

bool Finite(const Clip_Vertex& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.w);
}

Vertex To_Screen(const Clip_Vertex& c, bool world)
{
    double rhw = 1.0 / c.w;
    return {c.x * rhw, c.y * rhw, world ? rhw : c.rhw, c.r, c.g, c.b, c.u, c.v};
}

} // namespace

void Clip_Triangle(const Clip_Vertex& a, const Clip_Vertex& b, const Clip_Vertex& c, bool world,
                   const std::function<void(const Vertex&, const Vertex&, const Vertex&)>& emit)
{
    if (!Finite(a) || !Finite(b) || !Finite(c))
        return;
    Clip_Vertex buffers[2][Max_Polygon];
    buffers[0][0] = a;
    buffers[0][1] = b;
    buffers[0][2] = c;
    int count = 3, current = 0;
    for (Distance plane : {Near, Left, Right, Top, Bottom}) {
        bool all_inside = true;
        for (int i = 0; i < count; ++i)
            all_inside = all_inside && plane(buffers[current][i]) >= 0.0;
        if (all_inside)
            continue;
        count = Clip_Polygon(buffers[current], count, buffers[1 - current], plane);
        current = 1 - current;
        if (count < 3)
            return;
    }
    Vertex first = To_Screen(buffers[current][0], world);
    for (int i = 1; i + 1 < count; ++i)
        emit(first, To_Screen(buffers[current][i], world), To_Screen(buffers[current][i + 1], world));
}

} // namespace Raster
