// Triangle set-up: snapping, edge functions, bounding box and attribute planes.
#include "platform/graphics/raster/triangle_setup.h"

#include "platform/graphics/raster/raster_arithmetic.h"

#include <algorithm>
#include <cmath>

namespace Raster {
namespace {

struct Snapped {
    int64_t x;
    int64_t y;
};

int64_t Snap(double value)
{
    return static_cast<int64_t>(std::llround(value * static_cast<double>(Sub_Pixel_Scale)));
}

int64_t Saturate(double value, int64_t limit)
{
    if (!(value > -static_cast<double>(limit))) // also catches NaN
        return value != value ? 0 : -limit;
    if (value > static_cast<double>(limit))
        return limit;
    return std::llround(value);
}

// Edge from p to q, interior on the right-hand side when walking it on a y-down screen.
Plane Edge_Function(Snapped p, Snapped q)
{
    int64_t dx = q.x - p.x;
    int64_t dy = q.y - p.y;
    bool top = dy == 0 && dx > 0;
    bool left = dy < 0;
    Plane e;
    e.a = -Sub_Pixel_Scale * dy;
    e.b = Sub_Pixel_Scale * dx;
    e.c = dy * p.x - dx * p.y - ((top || left) ? 0 : 1);
    return e;
}

struct Plane_Builder {
    Snapped p[3];
    double det; // twice the signed area in snapped units

    Plane Build(double a0, double a1, double a2, int fraction_bits) const
    {
        double dx1 = static_cast<double>(p[1].x - p[0].x), dy1 = static_cast<double>(p[1].y - p[0].y);
        double dx2 = static_cast<double>(p[2].x - p[0].x), dy2 = static_cast<double>(p[2].y - p[0].y);
        double scale = std::ldexp(1.0, fraction_bits);
        double gx = ((a1 - a0) * dy2 - (a2 - a0) * dy1) / det * static_cast<double>(Sub_Pixel_Scale);
        double gy = ((a2 - a0) * dx1 - (a1 - a0) * dx2) / det * static_cast<double>(Sub_Pixel_Scale);
        Plane plane;
        plane.a = Saturate(gx * scale, Plane_Gradient_Limit);
        plane.b = Saturate(gy * scale, Plane_Gradient_Limit);
        double x0 = static_cast<double>(p[0].x) / static_cast<double>(Sub_Pixel_Scale);
        double y0 = static_cast<double>(p[0].y) / static_cast<double>(Sub_Pixel_Scale);
        double c = a0 * scale - static_cast<double>(plane.a) * x0 - static_cast<double>(plane.b) * y0;
        plane.c = Saturate(c, Plane_Constant_Limit);
        return plane;
    }

    // Texels per pixel squared: above 1 the texture is minified.
    double Footprint(const double u[3], const double v[3]) const
    {
        auto gradient = [&](const double a[3], bool along_x) {
            double dx1 = static_cast<double>(p[1].x - p[0].x), dy1 = static_cast<double>(p[1].y - p[0].y);
            double dx2 = static_cast<double>(p[2].x - p[0].x), dy2 = static_cast<double>(p[2].y - p[0].y);
            double g = along_x ? ((a[1] - a[0]) * dy2 - (a[2] - a[0]) * dy1) / det
                               : ((a[2] - a[0]) * dx1 - (a[1] - a[0]) * dx2) / det;
            return g * static_cast<double>(Sub_Pixel_Scale);
        };
        return std::fabs(gradient(u, true) * gradient(v, false) - gradient(u, false) * gradient(v, true));
    }
};

bool Finite(const Vertex& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.r) && std::isfinite(v.g) &&
           std::isfinite(v.b) && std::isfinite(v.u) && std::isfinite(v.v) && std::isfinite(v.rhw);
}

bool Inside_Guard_Band(const Vertex& v)
{
    // The clipper cuts at the guard band; allow for the rounding of its intersections.
    constexpr double limit = Guard_Band * 1.001;
    return std::fabs(v.x) <= limit && std::fabs(v.y) <= limit;
}

double Limit_Coordinate(double value)
{
    return std::clamp(value, -Texture_Coordinate_Limit, Texture_Coordinate_Limit);
}

void Set_Up_Texture_Planes(const Plane_Builder& builder, const Vertex* v[3], const State& state,
                           Triangle_Setup& out)
{
    const Texture& texture = state.texture;
    double w = texture.width, h = texture.height;
    double u[3], t[3];
    for (int i = 0; i < 3; ++i) {
        u[i] = Limit_Coordinate(v[i]->u) * w;
        t[i] = Limit_Coordinate(v[i]->v) * h;
    }
    double half = 0.5;
    out.u = builder.Build(u[0] - half, u[1] - half, u[2] - half, Texel_Fraction_Bits);
    out.v = builder.Build(t[0] - half, t[1] - half, t[2] - half, Texel_Fraction_Bits);

    double max_rhw = std::max({v[0]->rhw, v[1]->rhw, v[2]->rhw});
    double min_rhw = std::min({v[0]->rhw, v[1]->rhw, v[2]->rhw});
    out.perspective = state.perspective && min_rhw > 0.0;
    if (out.perspective) {
        double q[3];
        for (int i = 0; i < 3; ++i)
            q[i] = v[i]->rhw / max_rhw;
        out.s = builder.Build(u[0] * q[0], u[1] * q[1], u[2] * q[2], Perspective_Fraction_Bits);
        out.t = builder.Build(t[0] * q[0], t[1] * q[1], t[2] * q[2], Perspective_Fraction_Bits);
        out.q = builder.Build(q[0], q[1], q[2], Perspective_Fraction_Bits);
    }
    out.filter = state.mag_filter;
    if (state.min_filter != state.mag_filter && builder.Footprint(u, t) > 1.0)
        out.filter = state.min_filter;
}

} // namespace

bool Set_Up_Triangle(const Vertex& v0, const Vertex& v1, const Vertex& v2, const State& state, Cull cull,
                     Triangle_Setup& out)
{
    if (!Finite(v0) || !Finite(v1) || !Finite(v2))
        return false;
    if (!Inside_Guard_Band(v0) || !Inside_Guard_Band(v1) || !Inside_Guard_Band(v2))
        return false;
    const Vertex* v[3] = {&v0, &v1, &v2};
    Snapped p[3];
    for (int i = 0; i < 3; ++i)
        p[i] = {Snap(v[i]->x), Snap(v[i]->y)};
    int64_t area = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[2].x - p[0].x) * (p[1].y - p[0].y);
    if (area == 0)
        return false;
    // Positive area is clockwise as seen on the y-down screen.
    if ((cull == Cull::Counter_Clockwise && area < 0) || (cull == Cull::Clockwise && area > 0))
        return false;
    if (area < 0) {
        std::swap(p[1], p[2]);
        std::swap(v[1], v[2]);
        area = -area;
    }

    int64_t min_x = std::min({p[0].x, p[1].x, p[2].x}), max_x = std::max({p[0].x, p[1].x, p[2].x});
    int64_t min_y = std::min({p[0].y, p[1].y, p[2].y}), max_y = std::max({p[0].y, p[1].y, p[2].y});
    out.box.left =
        static_cast<int32_t>(std::max<int64_t>(state.clip.left, -Floor_Div(-min_x, Sub_Pixel_Scale)));
    out.box.top =
        static_cast<int32_t>(std::max<int64_t>(state.clip.top, -Floor_Div(-min_y, Sub_Pixel_Scale)));
    out.box.right =
        static_cast<int32_t>(std::min<int64_t>(state.clip.right, Floor_Div(max_x, Sub_Pixel_Scale) + 1));
    out.box.bottom =
        static_cast<int32_t>(std::min<int64_t>(state.clip.bottom, Floor_Div(max_y, Sub_Pixel_Scale) + 1));
    if (out.box.left >= out.box.right || out.box.top >= out.box.bottom)
        return false;

    for (int i = 0; i < 3; ++i)
        out.edges[i] = Edge_Function(p[i], p[(i + 1) % 3]);

    Plane_Builder builder{{p[0], p[1], p[2]}, static_cast<double>(area)};
    out.red = builder.Build(v[0]->r, v[1]->r, v[2]->r, Colour_Fraction_Bits);
    out.green = builder.Build(v[0]->g, v[1]->g, v[2]->g, Colour_Fraction_Bits);
    out.blue = builder.Build(v[0]->b, v[1]->b, v[2]->b, Colour_Fraction_Bits);
    out.perspective = false;
    if (state.textured)
        Set_Up_Texture_Planes(builder, v, state, out);
    return true;
}

} // namespace Raster
