// The kaleidoscope's layout: the worked examples at 640 × 480, exact mirror symmetry of every
// rim set, the foreground's reversed rim order, the texture-coordinate patterns, drawing, and
// the invalid-symmetry report.
#include "geometry/kaleidoscope.h"
#include "log/error_log.h"
#include "platform/system/message_box.h"
#include "platform/system/random.h"
#include "recording_device.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

using K = Kaleidoscope;

namespace {

class Kaleidoscope_Layout : public ::testing::Test {
protected:
    void SetUp() override
    {
        K::Reset();
        Program_Random().Reset();
        Reset_Diagnostics();
    }
    void TearDown() override { Program_Random().Reset(); }
};

// A seed whose first draw picks choice k of the symmetry table.
unsigned Seed_For_Choice(int k)
{
    for (unsigned seed = 1;; ++seed) {
        Random_Generator generator;
        generator.Seed(seed);
        if (generator.Next() % 8 == k)
            return seed;
    }
}

void Expect_Screen(const D3DTLVERTEX& v, float x, float y)
{
    EXPECT_FLOAT_EQ(v.sx, x);
    EXPECT_FLOAT_EQ(v.sy, y);
}

// The rim point of screen triangle i's vertex (1 or 2), as an exact pair.
std::pair<float, float> Point(const D3DTLVERTEX& v)
{
    return {v.sx, v.sy};
}

} // namespace

TEST_F(Kaleidoscope_Layout, WorkedExamplesAtSixFortyByFourEighty)
{
    Recording_Device device;
    // Symmetry 12 (choice 4) through the random rebuild: R = (400 + 16) · 1.5 = 624.
    Random::srand(Seed_For_Choice(4));
    EXPECT_EQ(K::Select_Random_Symmetry(&device, K::Background), 4);
    EXPECT_EQ(K::Symmetry[K::Background], 12);
    const D3DTLVERTEX* fan = K::Layer_Vertices[K::Background];
    Expect_Screen(fan[0], 320, 240);
    Expect_Screen(fan[1], 320, -384);
    EXPECT_NEAR(fan[2].sx, 632.0, 1e-3);
    EXPECT_NEAR(fan[2].sy, -300.4, 0.05);
    Expect_Screen(fan[3], 320, 240);
    EXPECT_EQ(Point(fan[4]), Point(fan[2])); // neighbours share their rim point
    EXPECT_NEAR(fan[5].sx, 860.4, 0.05);
    EXPECT_NEAR(fan[5].sy, -72.0, 1e-3);

    Random::srand(Seed_For_Choice(1)); // symmetry 4: the square of half-side R
    EXPECT_EQ(K::Select_Random_Symmetry(&device, K::Background), 1);
    Expect_Screen(fan[0], 320, 240);
    Expect_Screen(fan[1], -304, -384);
    Expect_Screen(fan[2], 944, -384);

    // Symmetry 6 on the midground: a flat-topped hexagon starting on the left. The inexact
    // point is the one double-precision arithmetic gives.
    Random::srand(Seed_For_Choice(2));
    EXPECT_EQ(K::Select_Random_Symmetry(&device, K::Midground), 2);
    const D3DTLVERTEX* hexagon = K::Layer_Vertices[K::Midground];
    Expect_Screen(hexagon[0], 320, 240);
    Expect_Screen(hexagon[1], -304, 240);
    EXPECT_EQ(hexagon[2].sx, 8.0000162f);
    EXPECT_NEAR(hexagon[2].sy, -300.4, 0.05);
}

TEST_F(Kaleidoscope_Layout, DeviceLayoutUsesRadiusWithoutTheFactor)
{
    K::Initialise_Symmetry(4, K::Midground);
    EXPECT_EQ(K::Initialise_Vertex_Coordinates(320, 240, 416, K::Midground), 1);
    Expect_Screen(K::Layer_Vertices[K::Midground][1], -96, -176);
    Expect_Screen(K::Layer_Vertices[K::Midground][2], 736, -176);
}

TEST_F(Kaleidoscope_Layout, ForegroundDiskWithReversedRimOrder)
{
    K::Initialise_Symmetry(12, K::Foreground);
    ASSERT_EQ(K::Initialise_Vertex_Coordinates(0, 0, 1.5, K::Foreground), 1);
    const D3DLVERTEX* fan = K::Foreground_Vertices;
    EXPECT_EQ(fan[0].x, 0.0f);
    EXPECT_EQ(fan[0].y, 0.0f);
    EXPECT_NEAR(fan[1].x, 0.75, 1e-6);
    EXPECT_NEAR(fan[1].y, -1.299038, 1e-6);
    EXPECT_EQ(fan[2].x, 0.0f);
    EXPECT_EQ(fan[2].y, -1.5f);
    for (int v = 0; v < 36; ++v)
        EXPECT_EQ(fan[v].z, -19.0f);

    // Same rim points as a screen layer laid out around the same centre, in the other order.
    K::Initialise_Symmetry(12, K::Midground);
    K::Initialise_Vertex_Coordinates(0, 0, 1.5, K::Midground);
    const D3DTLVERTEX* screen = K::Layer_Vertices[K::Midground];
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(fan[3 * i + 1].x, screen[3 * i + 2].sx);
        EXPECT_EQ(fan[3 * i + 1].y, screen[3 * i + 2].sy);
        EXPECT_EQ(fan[3 * i + 2].x, screen[3 * i + 1].sx);
        EXPECT_EQ(fan[3 * i + 2].y, screen[3 * i + 1].sy);
    }
}

TEST_F(Kaleidoscope_Layout, EveryRimSetIsExactlyMirrorSymmetric)
{
    for (int n : {4, 6, 8, 12, 24, 36, 72}) {
        for (double radius : {1.5, 624.0, 416.0}) {
            K::Initialise_Symmetry(n, K::Background);
            ASSERT_EQ(K::Initialise_Vertex_Coordinates(0, 0, radius, K::Background), 1);
            std::set<std::pair<float, float>> rim;
            for (int i = 0; i < n; ++i)
                rim.insert(Point(K::Layer_Vertices[K::Background][3 * i + 1]));
            ASSERT_EQ(static_cast<int>(rim.size()), n) << n;
            for (const auto& [x, y] : rim) {
                EXPECT_TRUE(rim.count({-x, y})) << n << " mirror of " << x << "," << y;
                EXPECT_TRUE(rim.count({x, -y})) << n << " mirror of " << x << "," << y;
                const double distance = std::hypot(x, y);
                EXPECT_NEAR(distance, n == 4 ? radius * std::sqrt(2.0) : radius, radius * 1e-6);
            }
            // The quarter points sit exactly on the axes.
            if (n != 4) {
                EXPECT_TRUE(rim.count({static_cast<float>(radius), 0.0f})) << n;
                EXPECT_TRUE(rim.count({0.0f, static_cast<float>(-radius)}) || n == 6) << n;
            }
            // Each triangle continues where the previous one ended, and the fan closes.
            const D3DTLVERTEX* fan = K::Layer_Vertices[K::Background];
            for (int i = 0; i < n; ++i)
                EXPECT_EQ(Point(fan[3 * i + 2]), Point(fan[3 * ((i + 1) % n) + 1]));
        }
    }
}

TEST_F(Kaleidoscope_Layout, TextureCoordinatesMirrorAcrossEverySpoke)
{
    const std::pair<float, float> rim[3][2] = {{{1, 1}, {0, 1}}, {{1, 1}, {1, 0}}, {{1, 1}, {0, 1}}};
    for (int layer = 0; layer < 3; ++layer) {
        K::Initialise_Symmetry(8, layer);
        for (int i = 0; i < 8; ++i) {
            for (int corner = 0; corner < 3; ++corner) {
                const int v = 3 * i + corner;
                const auto uv =
                    layer == K::Foreground
                        ? std::pair{K::Foreground_Vertices[v].tu, K::Foreground_Vertices[v].tv}
                        : std::pair{K::Layer_Vertices[layer][v].tu, K::Layer_Vertices[layer][v].tv};
                // Rim point j (vertex 1 of triangle j) alternates between the layer's two pairs.
                const int rim_index = (i + corner - 1) % 2;
                const auto expected = corner == 0 ? std::pair{0.0f, 0.0f} : rim[layer][rim_index];
                EXPECT_EQ(uv, expected) << "layer " << layer << " vertex " << v;
            }
        }
    }
    const D3DTLVERTEX* quad = K::Layer_Quad[K::Midground]; // turned by a quarter turn
    EXPECT_EQ((std::pair{quad[0].tu, quad[0].tv}), (std::pair{0.0f, 1.0f}));
    EXPECT_EQ((std::pair{quad[3].tu, quad[3].tv}), (std::pair{1.0f, 0.0f}));
    EXPECT_EQ(K::Layer_Quad[K::Background][0].rhw, 0.1f);
    EXPECT_EQ(quad[0].rhw, 0.5f);
    EXPECT_EQ(K::Layer_Vertices[K::Background][0].rhw, 0.5f);
}

TEST_F(Kaleidoscope_Layout, SymmetrySeventyTwoFillsTwoHundredSixteenVerticesAndDrawsEachTriangle)
{
    Recording_Device device;
    K::Initialise_Symmetry(72, K::Midground);
    K::Initialise_Vertex_Coordinates(320, 240, 624, K::Midground);
    for (int v = 0; v < 216; ++v)
        EXPECT_EQ(K::Layer_Vertices[K::Midground][v].rhw, 0.5f) << v;
    for (int v = 216; v < K::Max_Vertices; ++v)
        ASSERT_EQ(K::Layer_Vertices[K::Midground][v].rhw, 0.0f) << v;

    EXPECT_EQ(K::Render(&device, K::Midground), 1);
    ASSERT_EQ(device.Draws.size(), 72u);
    for (int i = 0; i < 72; ++i) {
        EXPECT_EQ(device.Draws[i].Type, D3DPT_TRIANGLESTRIP);
        EXPECT_EQ(device.Draws[i].Format, D3DFVF_TLVERTEX);
        EXPECT_EQ(device.Draws[i].Vertices, &K::Layer_Vertices[K::Midground][3 * i]);
        EXPECT_EQ(device.Draws[i].Count, 3u);
        EXPECT_EQ(device.Draws[i].Flags, 0u);
    }
}

TEST_F(Kaleidoscope_Layout, SymmetryOneDrawsTheQuadOnScreenAndACollapsedTriangleInTheDisk)
{
    Recording_Device device;
    K::Initialise_Symmetry(1, K::Background);
    K::Initialise_Vertex_Coordinates(320, 240, 999, K::Background);
    const D3DTLVERTEX* quad = K::Layer_Quad[K::Background];
    Expect_Screen(quad[0], 0, 0);
    Expect_Screen(quad[1], 640, 0);
    Expect_Screen(quad[2], 0, 480);
    Expect_Screen(quad[3], 640, 480);
    EXPECT_EQ(K::Render(&device, K::Background), 1);
    ASSERT_EQ(device.Draws.size(), 1u);
    EXPECT_EQ(device.Draws[0].Vertices, quad);
    EXPECT_EQ(device.Draws[0].Count, 4u);

    device.Draws.clear();
    K::Initialise_Symmetry(1, K::Foreground); // only possible from the start-up choice
    EXPECT_EQ(K::Render(&device, K::Foreground), 1);
    ASSERT_EQ(device.Draws.size(), 1u);
    EXPECT_EQ(device.Draws[0].Type, D3DPT_TRIANGLEFAN);
    EXPECT_EQ(device.Draws[0].Format, D3DFVF_LVERTEX);
    for (int v = 0; v < 3; ++v) {
        EXPECT_EQ(K::Foreground_Vertices[v].x, 0.0f);
        EXPECT_EQ(K::Foreground_Vertices[v].z, -18.0f);
    }
}

TEST_F(Kaleidoscope_Layout, RenderStopsAtTheFirstFailure)
{
    Recording_Device device;
    device.Fail_From_Call = 2;
    K::Initialise_Symmetry(24, K::Foreground);
    EXPECT_EQ(K::Render(&device, K::Foreground), device.Failure);
    EXPECT_EQ(device.Draws.size(), 3u);
}

TEST_F(Kaleidoscope_Layout, InvalidSymmetryIsReportedAndChangesNothing)
{
    Message_Box_Recorder reports;
    for (int bad : {5, -3, 0, 128}) {
        K::Initialise_Symmetry(12, K::Midground);
        K::Initialise_Vertex_Coordinates(320, 240, 624, K::Midground);
        const D3DTLVERTEX before = K::Layer_Vertices[K::Midground][1];
        K::Symmetry[K::Midground] = bad;
        EXPECT_EQ(K::Initialise_Vertex_Coordinates(1, 1, 1, K::Midground), 0);
        ASSERT_FALSE(reports.Boxes.empty());
        EXPECT_EQ(reports.Boxes.back().Text,
                  "Kaleidoscope::Initialise_Vertex_Coordinates(): Invalid symmetry " + std::to_string(bad));
        EXPECT_EQ(Point(K::Layer_Vertices[K::Midground][1]), Point(before));
    }
}

TEST_F(Kaleidoscope_Layout, OpenChoicesStillGiveEveryLayerGeometry)
{
    Recording_Device device;
    // Choice 2 (symmetry 6) lays out the background and the foreground like their other fans.
    Random::srand(Seed_For_Choice(2));
    EXPECT_EQ(K::Select_Random_Symmetry(&device, K::Background), 2);
    Expect_Screen(K::Layer_Vertices[K::Background][1], -304, 240);
    Random::srand(Seed_For_Choice(2));
    EXPECT_EQ(K::Select_Random_Symmetry(&device, K::Foreground), 2);
    EXPECT_EQ(K::Foreground_Vertices[2].x, -1.5f); // P0 is vertex 2 in the reversed order
    EXPECT_EQ(K::Foreground_Vertices[2].z, -19.0f);

    // Choice 0 on the foreground keeps its previous symmetry and layout.
    Random::srand(Seed_For_Choice(0));
    EXPECT_EQ(K::Select_Random_Symmetry(&device, K::Foreground), 0);
    EXPECT_EQ(K::Symmetry[K::Foreground], 6);
    EXPECT_EQ(K::Foreground_Vertices[2].x, -1.5f);
    // …while a screen layer gets the full-viewport quad.
    Random::srand(Seed_For_Choice(0));
    EXPECT_EQ(K::Select_Random_Symmetry(&device, K::Midground), 0);
    EXPECT_EQ(K::Symmetry[K::Midground], 1);
    Expect_Screen(K::Layer_Quad[K::Midground][3], 640, 480);
}

TEST_F(Kaleidoscope_Layout, RandomSymmetryFollowsTheChoiceTable)
{
    Random_Generator copy;
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(K::Random_Symmetry(), K::Symmetry_Choices[copy.Next() % 8]);
}
