// The software rasterizer must leave every target byte-identical to the reference
// rasterizer. Random draw lists mix every state the devices pass down: target and texture
// formats, filters, addressing, colour operations, blends, dithering, perspective, culling,
// clears, black diffuse colours, and vertices far outside the target.
#include "platform/graphics/raster/clipper.h"
#include "platform/graphics/raster/span_drawing.h"
#include "platform/system/random.h"
#include "raster_test_support.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace Raster;
using namespace raster_test;

namespace {

class Draw_List_Maker {
public:
    explicit Draw_List_Maker(uint32_t seed) { random_.Seed(seed); }

    int Below(int n) { return random_.Next() % n; }
    double Between(double lo, double hi) { return lo + (hi - lo) * (random_.Next() / 32767.0); }

    Pixel_Format Any_Format(bool target)
    {
        static const Pixel_Format targets[] = {Pixel_Format::R5G6B5, Pixel_Format::X1R5G5B5,
                                               Pixel_Format::X8R8G8B8};
        static const Pixel_Format textures[] = {
            Pixel_Format::R5G6B5, Pixel_Format::X1R5G5B5, Pixel_Format::A1R5G5B5, Pixel_Format::A4R4G4B4,
            Pixel_Format::R8G8B8, Pixel_Format::X8R8G8B8, Pixel_Format::A8R8G8B8, Pixel_Format::P8};
        return target ? targets[Below(3)] : textures[Below(8)];
    }

    void Fill(std::vector<uint8_t>& bytes)
    {
        for (uint8_t& b : bytes)
            b = static_cast<uint8_t>(random_.Next() >> 3);
    }

    Vertex Any_Vertex(int width, int height)
    {
        Vertex v;
        double reach = Below(6) == 0 ? 20000.0 : 1.3; // now and then far beyond the target
        v.x = Between(-reach, reach) * width;
        v.y = Between(-reach, reach) * height;
        v.rhw = Between(0.01, 1.0);
        v.r = Below(256), v.g = Below(256), v.b = Below(256);
        v.u = Between(-1.5, 2.5), v.v = Between(-1.5, 2.5);
        return v;
    }

    State Any_State(const Target& target, const Texture& texture)
    {
        State state;
        state.blend = Below(3) == 0 ? Blend::Opaque : Blend::Add;
        state.colour = static_cast<Colour_Source>(Below(3));
        state.mag_filter = static_cast<Filter>(Below(2));
        state.min_filter = static_cast<Filter>(Below(2));
        state.address_u = static_cast<Address>(Below(3));
        state.address_v = static_cast<Address>(Below(3));
        state.dither = Below(2);
        state.perspective = Below(4) == 0;
        state.textured = Below(5) != 0;
        state.texture = texture;
        int left = Below(target.width / 3), top = Below(target.height / 3);
        state.clip = {left, top, target.width - Below(target.width / 3),
                      target.height - Below(target.height / 3)};
        return state;
    }

private:
    Random_Generator random_;
};

// Draws one random list into a target through the given rasterizer; returns the bytes.
std::vector<uint8_t> Draw(uint32_t seed, Rasterizer& rasterizer)
{
    Draw_List_Maker maker(seed);
    int width = 16 + maker.Below(400), height = 16 + maker.Below(300);
    Image image(width, height, maker.Any_Format(true));
    maker.Fill(image.bytes);
    Image texture(1 + maker.Below(40), 1 + maker.Below(40), maker.Any_Format(false));
    maker.Fill(texture.bytes);
    uint32_t palette[256];
    for (uint32_t& entry : palette)
        entry = static_cast<uint32_t>(maker.Below(32768)) << 9 ^ static_cast<uint32_t>(maker.Below(32768));
    rasterizer.Set_Target(image.target);
    int draws = 5 + maker.Below(40);
    for (int i = 0; i < draws; ++i) {
        if (maker.Below(15) == 0) {
            int x = maker.Below(width), y = maker.Below(height);
            rasterizer.Clear({x, y, x + maker.Below(width), y + maker.Below(height)},
                             static_cast<uint32_t>(maker.Below(32768)) << 9);
            continue;
        }
        State state = maker.Any_State(image.target, texture.As_Texture(palette));
        Cull cull = static_cast<Cull>(maker.Below(3));
        Vertex a = maker.Any_Vertex(width, height), b = maker.Any_Vertex(width, height),
               c = maker.Any_Vertex(width, height);
        if (maker.Below(4) == 0) // a layer faded to black
            for (Vertex* v : {&a, &b, &c})
                v->r = v->g = v->b = 0;
        auto homogeneous = [](const Vertex& v) {
            return Clip_Vertex{v.x, v.y, 1.0, v.rhw, v.r, v.g, v.b, v.u, v.v};
        };
        Clip_Triangle(homogeneous(a), homogeneous(b), homogeneous(c), false,
                      [&](const Vertex& p, const Vertex& q, const Vertex& r) {
                          rasterizer.Draw_Triangle(p, q, r, state, cull);
                      });
        if (maker.Below(10) == 0)
            rasterizer.Flush();
    }
    rasterizer.Flush();
    return image.bytes;
}

// Runs a test body once with each span kernel the processor runs forced in turn.
template <typename Body> void For_Each_Kernel(Body body)
{
    for (const std::string& name : Span_Kernel_Names()) {
        SCOPED_TRACE("kernel " + name);
        ASSERT_TRUE(Force_Span_Kernel(name));
        body();
        Force_Span_Kernel("");
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

TEST(Equivalence, SoftwareMatchesReferenceByteForByte)
{
    For_Each_Kernel([] {
        for (uint32_t seed = 1; seed <= 300; ++seed) {
            auto reference = Make_Reference_Rasterizer();
            auto software = Make_Software_Rasterizer();
            std::vector<uint8_t> expected = Draw(seed, *reference);
            std::vector<uint8_t> actual = Draw(seed, *software);
            ASSERT_EQ(expected.size(), actual.size());
            size_t first = 0;
            while (first < expected.size() && expected[first] == actual[first])
                ++first;
            ASSERT_EQ(first, expected.size()) << "seed " << seed << ": first difference at byte " << first;
        }
    });
}

TEST(Equivalence, LargeTargetsAreDrawnInParallelBandsIdentically)
{
    // Full-screen layers exceed the parallel threshold, so the worker bands are used. An opaque
    // layer hides the clear under it except where one wedge is left out.
    for (auto [format, blend] :
         {std::pair{Pixel_Format::X8R8G8B8, Blend::Add}, std::pair{Pixel_Format::R5G6B5, Blend::Add},
          std::pair{Pixel_Format::X8R8G8B8, Blend::Opaque}}) {
        Image expected(640, 480, format), actual(640, 480, format);
        Image texture(64, 64, Pixel_Format::X8R8G8B8);
        Draw_List_Maker maker(5);
        maker.Fill(texture.bytes);
        for (Image* image : {&expected, &actual}) {
            auto rasterizer = image == &expected ? Make_Reference_Rasterizer() : Make_Software_Rasterizer();
            rasterizer->Set_Target(image->target);
            rasterizer->Clear({0, 0, 640, 480}, 0x123456);
            State state = Flat_State(image->target, blend);
            state.textured = true;
            state.texture = texture.As_Texture();
            state.dither = true;
            for (int i = 0; i < 24; ++i) {
                if (blend == Blend::Opaque && i == 5)
                    continue;
                double a0 = 2 * M_PI * i / 24, a1 = 2 * M_PI * (i + 1) / 24;
                rasterizer->Draw_Triangle(
                    Point(320, 240, 150, 0, 0),
                    Point(320 + 624 * std::sin(a0), 240 - 624 * std::cos(a0), 150, 1, i % 2),
                    Point(320 + 624 * std::sin(a1), 240 - 624 * std::cos(a1), 150, 1, 1 - i % 2), state,
                    Cull::None);
            }
            rasterizer->Flush();
        }
        ASSERT_TRUE(expected.bytes == actual.bytes);
    }
}

// Draws the same commands through the reference and the software rasterizer into copies of
// start; true when they leave the same bytes.
template <typename Commands> bool Same_Drawn(const Image& start, Commands commands)
{
    Image expected = start, actual = start;
    expected.target.pixels = expected.bytes.data();
    actual.target.pixels = actual.bytes.data();
    for (Image* image : {&expected, &actual}) {
        auto rasterizer = image == &expected ? Make_Reference_Rasterizer() : Make_Software_Rasterizer();
        rasterizer->Set_Target(image->target);
        commands(*rasterizer, image->target);
        rasterizer->Flush();
    }
    return expected.bytes == actual.bytes;
}

TEST(Equivalence, AClearShowsThroughTheSmallestGapsOfTheOpaqueLayerOverIt)
{
    // Opaque rectangles over a clear: side by side, one pixel apart (also on either side of a
    // multiple of 64), overlapping, one row short.
    const int columns[][4] = {{0, 40, 40, 80}, {0, 40, 41, 80}, {0, 63, 64, 80},
                              {0, 64, 65, 80}, {0, 50, 30, 80}, {1, 40, 40, 80}};
    for (const auto& c : columns)
        EXPECT_TRUE(Same_Drawn(Image(80, 20, Pixel_Format::X8R8G8B8),
                               [&](Rasterizer& r, const Target& target) {
                                   r.Clear({0, 0, 80, 20}, 0x405060);
                                   const State state = Flat_State(target, Blend::Opaque);
                                   for (int half = 0; half < 2; ++half) {
                                       double left = c[2 * half] - 0.5, right = c[2 * half + 1] - 0.5,
                                              bottom = 19.5 - half;
                                       r.Draw_Triangle(Point(left, -0.5, 200), Point(right, -0.5, 200),
                                                       Point(left, bottom, 200), state, Cull::None);
                                       r.Draw_Triangle(Point(right, -0.5, 200), Point(right, bottom, 200),
                                                       Point(left, bottom, 200), state, Cull::None);
                                   }
                               }))
            << c[0] << " " << c[1] << " " << c[2] << " " << c[3];
}

TEST(Equivalence, AClearShowsThroughAGapBesideATriangleCutBelowTheTopOfItsRows)
{
    // Two opaque halves of a slanted band with an 8-pixel gap between them; the upper one is
    // clipped to start at row 7, so its spans there must be those of row 7.
    EXPECT_TRUE(Same_Drawn(Image(80, 20, Pixel_Format::X8R8G8B8), [](Rasterizer& r, const Target& target) {
        r.Clear({0, 0, 80, 20}, 0x405060);
        const State lower = Flat_State(target, Blend::Opaque);
        State upper = lower;
        upper.clip.top = 7;
        r.Draw_Triangle(Point(-8.5, -0.5, 200), Point(71.5, 19.5, 200), Point(-8.5, 19.5, 200), lower,
                        Cull::None);
        r.Draw_Triangle(Point(-0.5, -0.5, 200), Point(79.5, -0.5, 200), Point(79.5, 19.5, 200), upper,
                        Cull::None);
    }));
}

TEST(Equivalence, ABlackAddedLayerClearsTheFourthBytesOutsideAClear)
{
    // A black additive rectangle over a clear of {10, 10, 50, 30} in a target whose fourth
    // bytes are set: as the clear, and one pixel beyond it on each side in turn.
    Image start(64, 40, Pixel_Format::X8R8G8B8);
    std::fill(start.bytes.begin(), start.bytes.end(), 0xFF);
    const int grow[][4] = {{0, 0, 0, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    for (const auto& g : grow)
        EXPECT_TRUE(Same_Drawn(start,
                               [&](Rasterizer& r, const Target& target) {
                                   r.Clear({10, 10, 50, 30}, 0x405060);
                                   const State state = Flat_State(target, Blend::Add);
                                   const double left = 9.5 - g[0], top = 9.5 - g[1], right = 49.5 + g[2],
                                                bottom = 29.5 + g[3];
                                   r.Draw_Triangle(Point(left, top), Point(right, top), Point(left, bottom),
                                                   state, Cull::None);
                                   r.Draw_Triangle(Point(right, top), Point(right, bottom),
                                                   Point(left, bottom), state, Cull::None);
                               }))
            << g[0] << g[1] << g[2] << g[3];
}

TEST(Equivalence, FlatBilinearRunsMatchInsideAcrossAndFarBeyondTheTextureEdges)
{
    // One diffuse colour per triangle takes the stepped vector run: texel pairs read together,
    // clamped taps folded into weights. Texture sizes include the 2-texel minimum and the
    // 1-texel cases that must leave the run, and sides beyond 256 texels, where positions
    // modulo 2^32 no longer give the texel; coordinate ranges stay inside the texture, reach
    // its far edges (blocks whose taps lie on the last texels without clamping), cross its
    // edges, or reach far enough beyond to exceed the run's position limit.
    const int sizes[][2] = {{1, 7}, {6, 1}, {2, 2}, {3, 5}, {37, 64}, {256, 256}, {300, 20}, {12, 290}};
    const double reaches[][2] = {{0.1, 0.9}, {0.5, 1.0}, {-1.5, 2.5}, {-900.0, 900.0}};
    For_Each_Kernel([&] {
        Draw_List_Maker maker(11);
        uint32_t palette[256];
        for (uint32_t& entry : palette)
            entry =
                static_cast<uint32_t>(maker.Below(32768)) << 9 ^ static_cast<uint32_t>(maker.Below(32768));
        for (auto [tw, th] : sizes)
            for (auto [lo, hi] : reaches)
                for (Pixel_Format format :
                     {Pixel_Format::X8R8G8B8, Pixel_Format::R5G6B5, Pixel_Format::X1R5G5B5}) {
                    // Every texture format takes the run through its widened copy.
                    Image texture(tw, th, maker.Any_Format(false));
                    maker.Fill(texture.bytes);
                    Image expected(97, 61, format);
                    maker.Fill(expected.bytes);
                    Image actual = expected;
                    actual.target.pixels = actual.bytes.data();
                    std::vector<std::pair<Vertex, State>> draws;
                    for (int i = 0; i < 3 * 12; ++i) {
                        State state =
                            Flat_State(expected.target, maker.Below(2) ? Blend::Add : Blend::Opaque);
                        state.textured = true;
                        state.texture = texture.As_Texture(palette);
                        state.dither = maker.Below(2);
                        Vertex v = Point(maker.Between(-20, 117), maker.Between(-20, 81), 0,
                                         maker.Between(lo, hi), maker.Between(lo, hi));
                        v.r = 200, v.g = 90, v.b = 255;
                        draws.push_back({v, state});
                    }
                    for (Image* image : {&expected, &actual}) {
                        auto rasterizer =
                            image == &expected ? Make_Reference_Rasterizer() : Make_Software_Rasterizer();
                        rasterizer->Set_Target(image->target);
                        for (size_t i = 0; i + 2 < draws.size(); i += 3)
                            rasterizer->Draw_Triangle(draws[i].first, draws[i + 1].first, draws[i + 2].first,
                                                      draws[i].second, Cull::None);
                        rasterizer->Flush();
                    }
                    ASSERT_TRUE(expected.bytes == actual.bytes)
                        << tw << "x" << th << " texture of format " << static_cast<int>(texture.target.format)
                        << ", coordinates " << lo << ".." << hi;
                }
    });
}

TEST(Equivalence, FlatRunsOfEveryLengthMatch)
{
    // Spans of 1..63 pixels end in a partial vector block of every length; magnified and
    // minified mappings take every way of fetching the taps.
    For_Each_Kernel([] {
        Draw_List_Maker maker(23);
        Image texture(48, 40, Pixel_Format::X8R8G8B8);
        maker.Fill(texture.bytes);
        for (Pixel_Format format : {Pixel_Format::X8R8G8B8, Pixel_Format::R5G6B5, Pixel_Format::X1R5G5B5}) {
            Image expected(80, 70, format);
            maker.Fill(expected.bytes);
            Image actual = expected;
            actual.target.pixels = actual.bytes.data();
            auto reference = Make_Reference_Rasterizer(), software = Make_Software_Rasterizer();
            reference->Set_Target(expected.target);
            software->Set_Target(actual.target);
            for (int length = 1; length <= 63; ++length) {
                State state = Flat_State(expected.target, length % 2 ? Blend::Add : Blend::Opaque);
                state.textured = true;
                state.texture = texture.As_Texture();
                state.dither = length % 3 == 0;
                double x = 2 + length % 7, y = length, reach = maker.Between(0.05, 3.0);
                double u = maker.Between(-0.5, 1.0), v = maker.Between(-0.5, 1.0);
                Vertex a = Point(x - 0.5, y - 0.5, 170, u, v),
                       b = Point(x + length - 0.5, y - 0.5, 170, u + reach, v);
                Vertex c = Point(x - 0.5, y + 1.5, 170, u, v + reach / 4);
                Vertex d = Point(x + length - 0.5, y + 1.5, 170, u + reach, v + reach / 4);
                for (Rasterizer* rasterizer : {reference.get(), software.get()}) {
                    rasterizer->Draw_Triangle(a, b, c, state, Cull::None);
                    rasterizer->Draw_Triangle(c, b, d, state, Cull::None);
                }
            }
            reference->Flush();
            software->Flush();
            ASSERT_TRUE(expected.bytes == actual.bytes) << "target format " << static_cast<int>(format);
        }
    });
}

TEST(Equivalence, WidenedTextureCopiesFollowTheRevision)
{
    // A 16-bit texture drawn in three flushes: its copy is kept while the revision stays and
    // taken anew when the texels change under a new revision, even at the same address, and
    // twice over within one flush.
    Image texture(19, 23, Pixel_Format::R5G6B5), expected(80, 60, Pixel_Format::X8R8G8B8);
    Image actual = expected;
    actual.target.pixels = actual.bytes.data();
    auto reference = Make_Reference_Rasterizer(), software = Make_Software_Rasterizer();
    reference->Set_Target(expected.target);
    software->Set_Target(actual.target);
    Draw_List_Maker maker(3);
    for (uint64_t revision : {7, 7, 9, 11}) {
        if (revision >= 9)
            maker.Fill(texture.bytes);
        State state = Flat_State(expected.target, Blend::Add);
        state.textured = true;
        state.texture = texture.As_Texture();
        state.texture.revision = revision;
        for (Rasterizer* rasterizer : {reference.get(), software.get()}) {
            rasterizer->Draw_Triangle(Point(-5, -3, 255, 0, 0), Point(90, 10, 255, 1.2, 0.1),
                                      Point(20, 70, 255, -0.1, 1.1), state, Cull::None);
            if (revision != 9)
                rasterizer->Flush();
        }
        if (revision != 9) {
            ASSERT_TRUE(expected.bytes == actual.bytes) << "revision " << revision;
        }
    }
}

} // namespace
