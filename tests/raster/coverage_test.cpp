// Coverage rules of both rasterizers: fans and meshes drawn additively must touch every
// pixel of their area exactly once (top-left rule on shared edges), degenerate triangles
// draw nothing, and clipping keeps far-away and behind-the-eye vertices harmless.
#include "platform/graphics/raster/clipper.h"
#include "platform/graphics/raster/raster_arithmetic.h"
#include "platform/system/random.h"
#include "raster_test_support.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace Raster;
using namespace raster_test;

namespace {

using Factory = std::unique_ptr<Rasterizer> (*)();

class Coverage : public ::testing::TestWithParam<Factory> {
protected:
    std::unique_ptr<Rasterizer> rasterizer = GetParam()();
};

// Draws a fan of n triangles around (cx, cy) with radius r, each adding 1 to every channel.
void Draw_Fan(Rasterizer& rasterizer, const State& state, double cx, double cy, double r, int n, double turn)
{
    for (int i = 0; i < n; ++i) {
        double a0 = turn + 2.0 * M_PI * i / n, a1 = turn + 2.0 * M_PI * (i + 1) / n;
        rasterizer.Draw_Triangle(Point(cx, cy, 1), Point(cx + r * std::sin(a0), cy - r * std::cos(a0), 1),
                                 Point(cx + r * std::sin(a1), cy - r * std::cos(a1), 1), state, Cull::None);
    }
    rasterizer.Flush();
}

TEST_P(Coverage, FanOf72CoversItsDiskExactlyOnce)
{
    for (double offset : {0.0, 0.5, 0.3125, 0.77}) {
        Image image(200, 160, Pixel_Format::X8R8G8B8);
        rasterizer->Set_Target(image.target);
        Draw_Fan(*rasterizer, Flat_State(image.target, Blend::Add), 100 + offset, 80 + offset, 70, 72, 0.1);
        int inside = 0;
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 200; ++x) {
                uint32_t p = image.Pixel_32(x, y);
                ASSERT_TRUE(p == 0 || p == 0x010101) << x << "," << y << " drawn " << (p & 255) << " times";
                double d = std::hypot(x - 100 - offset, y - 80 - offset);
                // Well inside the 72-gon (its inner radius is 69.93).
                if (d < 69.5) {
                    ASSERT_EQ(p, 0x010101u) << "missing " << x << "," << y;
                }
                if (d > 70.5) {
                    ASSERT_EQ(p, 0u) << "outside " << x << "," << y;
                }
                inside += p != 0;
            }
        EXPECT_NEAR(inside, M_PI * 70 * 70, 300);
    }
}

TEST_P(Coverage, JitteredMeshCoversItsRectangleExactlyOnce)
{
    Random_Generator random;
    random.Seed(7);
    auto jitter = [&] { return (random.Next() % 1000) / 1000.0 * 6.0 - 3.0; };
    constexpr int cells = 8;
    double gx[cells + 1][cells + 1], gy[cells + 1][cells + 1];
    for (int j = 0; j <= cells; ++j)
        for (int i = 0; i <= cells; ++i) {
            bool border_x = i == 0 || i == cells, border_y = j == 0 || j == cells;
            gx[j][i] = 10 + i * 12.5 + (border_x ? 0 : jitter());
            gy[j][i] = 10 + j * 12.5 + (border_y ? 0 : jitter());
        }
    Image image(120, 120, Pixel_Format::X8R8G8B8);
    rasterizer->Set_Target(image.target);
    State state = Flat_State(image.target, Blend::Add);
    for (int j = 0; j < cells; ++j)
        for (int i = 0; i < cells; ++i) {
            Vertex a = Point(gx[j][i], gy[j][i], 1), b = Point(gx[j][i + 1], gy[j][i + 1], 1);
            Vertex c = Point(gx[j + 1][i], gy[j + 1][i], 1), d = Point(gx[j + 1][i + 1], gy[j + 1][i + 1], 1);
            if ((i + j) % 2) { // both diagonals, both windings
                rasterizer->Draw_Triangle(a, b, d, state, Cull::None);
                rasterizer->Draw_Triangle(a, c, d, state, Cull::None);
            } else {
                rasterizer->Draw_Triangle(a, b, c, state, Cull::None);
                rasterizer->Draw_Triangle(c, b, d, state, Cull::None);
            }
        }
    rasterizer->Flush();
    // The square [10, 110] with pixel centres on integers: [10, 110) by the top-left rule.
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x) {
            bool inside = x >= 10 && x < 110 && y >= 10 && y < 110;
            ASSERT_EQ(image.Pixel_32(x, y), inside ? 0x010101u : 0u) << x << "," << y;
        }
}

TEST_P(Coverage, DegenerateAndCulledTrianglesDrawNothing)
{
    Image image(64, 64, Pixel_Format::X8R8G8B8);
    rasterizer->Set_Target(image.target);
    State state = Flat_State(image.target, Blend::Opaque);
    rasterizer->Draw_Triangle(Point(1, 1, 255), Point(1, 1, 255), Point(40, 40, 255), state, Cull::None);
    rasterizer->Draw_Triangle(Point(0, 0, 255), Point(20, 20, 255), Point(60, 60, 255), state, Cull::None);
    // Clockwise on screen is culled by the clockwise mode, counter-clockwise by the other.
    rasterizer->Draw_Triangle(Point(0, 0, 255), Point(60, 0, 255), Point(0, 60, 255), state, Cull::Clockwise);
    rasterizer->Draw_Triangle(Point(0, 0, 255), Point(0, 60, 255), Point(60, 0, 255), state,
                              Cull::Counter_Clockwise);
    double nan = std::nan("");
    rasterizer->Draw_Triangle(Point(nan, 0, 255), Point(0, 60, 255), Point(60, 0, 255), state, Cull::None);
    rasterizer->Flush();
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(image.Pixel_32(x, y), 0u);
}

TEST_P(Coverage, SliverDrawsOnlyPixelsOnItsLine)
{
    Image image(64, 16, Pixel_Format::X8R8G8B8);
    rasterizer->Set_Target(image.target);
    State state = Flat_State(image.target, Blend::Add);
    // Two slivers sharing the long edge: together they form a thin band, drawn once.
    rasterizer->Draw_Triangle(Point(0, 4.2, 1), Point(63, 4.9, 1), Point(63, 5.3, 1), state, Cull::None);
    rasterizer->Draw_Triangle(Point(0, 4.2, 1), Point(0, 4.6, 1), Point(63, 5.3, 1), state, Cull::None);
    rasterizer->Flush();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x) {
            uint32_t p = image.Pixel_32(x, y);
            ASSERT_TRUE(p == 0 || p == 0x010101u);
            if (y != 5 && y != 4) {
                ASSERT_EQ(p, 0u);
            }
        }
}

std::vector<Vertex> Clip(const Clip_Vertex& a, const Clip_Vertex& b, const Clip_Vertex& c, bool world)
{
    std::vector<Vertex> out;
    Clip_Triangle(a, b, c, world, [&](const Vertex& p, const Vertex& q, const Vertex& r) {
        out.insert(out.end(), {p, q, r});
    });
    return out;
}

TEST_P(Coverage, FarAwayVerticesAreClippedWithoutOverflow)
{
    Image image(64, 48, Pixel_Format::X8R8G8B8);
    rasterizer->Set_Target(image.target);
    State state = Flat_State(image.target, Blend::Add);
    auto white = [](double x, double y) { return Clip_Vertex{x, y, 1.0, 1.0, 1.0, 1.0, 1.0, 0.0, 0.0}; };
    std::vector<Vertex> clipped = Clip(white(-1e12, -1e12), white(1e12, -1e12), white(0, 1e12), false);
    ASSERT_FALSE(clipped.empty());
    for (size_t i = 0; i < clipped.size(); i += 3) {
        for (size_t k = 0; k < 3; ++k)
            ASSERT_LE(std::fabs(clipped[i + k].x), Guard_Band * 1.001);
        rasterizer->Draw_Triangle(clipped[i], clipped[i + 1], clipped[i + 2], state, Cull::None);
    }
    rasterizer->Flush();
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(image.Pixel_32(x, y), 0x010101u) << x << "," << y;
}

TEST_P(Coverage, VerticesBehindTheEyeAreCutAtTheNearPlane)
{
    // Homogeneous screen positions: (x*w, y*w, w). One vertex has w < 0 (behind the eye).
    Clip_Vertex a{10 * 1.0, 10 * 1.0, 1.0}, b{50 * 1.0, 10 * 1.0, 1.0}, c{30 * -1.0, 40 * -1.0, -1.0};
    std::vector<Vertex> clipped = Clip(a, b, c, true);
    ASSERT_FALSE(clipped.empty());
    for (const Vertex& v : clipped) {
        EXPECT_GT(v.rhw, 0.0);
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
        EXPECT_LE(v.y, 10.0 + 1e-9); // what stays is on the visible side of the eye
    }
    EXPECT_TRUE(Clip({0, 0, -1}, {1, 0, -2}, {0, 1, -0.5}, true).empty());
}

INSTANTIATE_TEST_SUITE_P(Rasterizers, Coverage,
                         ::testing::Values(&Make_Reference_Rasterizer, &Make_Software_Rasterizer));

} // namespace

TEST(Clear, FillsExactlyTheClippedRectangleInEachTargetFormat)
{
    // Rows after the first are copies of it: a rectangle clipped on every side must still
    // leave the pixels around it untouched and fill every row.
    for (Raster::Pixel_Format format :
         {Raster::Pixel_Format::X8R8G8B8, Raster::Pixel_Format::R5G6B5, Raster::Pixel_Format::X1R5G5B5}) {
        raster_test::Image image(13, 9, format);
        std::fill(image.bytes.begin(), image.bytes.end(), uint8_t{0xA5});
        const std::vector<uint8_t> before = image.bytes;
        auto rasterizer = Raster::Make_Software_Rasterizer();
        rasterizer->Set_Target(image.target);
        rasterizer->Clear({-3, 2, 7, 40}, 0x00FF8010);
        rasterizer->Flush();
        const int bytes = Raster::Bytes_Per_Pixel(format);
        uint32_t fill = format == Raster::Pixel_Format::X8R8G8B8 ? 0x00FF8010
                        : format == Raster::Pixel_Format::R5G6B5 ? (31u << 11) | (32u << 5) | 2u
                                                                 : (31u << 10) | (16u << 5) | 2u;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 13; ++x) {
                uint32_t expected = 0, actual = 0;
                size_t at = static_cast<size_t>(y) * image.target.pitch + x * bytes;
                std::memcpy(&expected,
                            (x < 7 && y >= 2) ? reinterpret_cast<const uint8_t*>(&fill) : &before[at], bytes);
                std::memcpy(&actual, &image.bytes[at], bytes);
                ASSERT_EQ(actual, expected) << x << "," << y;
            }
    }
}
