// Shading rules of both rasterizers: texel centres, point and bilinear filtering, clamp
// and wrap addressing, the modulate/select colour operations, the saturating add, the
// 5-6-5 dither, and every texture format sampling like its 32-bit twin.
#include "platform/graphics/raster/raster_arithmetic.h"
#include "platform/system/random.h"
#include "raster_test_support.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace Raster;
using namespace raster_test;

namespace {

using Factory = std::unique_ptr<Rasterizer> (*)();

class Shading : public ::testing::TestWithParam<Factory> {
protected:
    std::unique_ptr<Rasterizer> rasterizer = GetParam()();

    // Covers the whole target with a quad whose texture runs from (u0, v0) to (u1, v1);
    // the quad's corners are the outer corners of the corner pixels.
    void Draw_Quad(const Target& target, const State& state, double grey, double u0 = 0, double v0 = 0,
                   double u1 = 1, double v1 = 1)
    {
        double right = target.width - 0.5, bottom = target.height - 0.5;
        Vertex a = Point(-0.5, -0.5, grey, u0, v0), b = Point(right, -0.5, grey, u1, v0);
        Vertex c = Point(-0.5, bottom, grey, u0, v1), d = Point(right, bottom, grey, u1, v1);
        rasterizer->Set_Target(target);
        rasterizer->Draw_Triangle(a, b, c, state, Cull::None);
        rasterizer->Draw_Triangle(c, b, d, state, Cull::None);
        rasterizer->Flush();
    }
};

// A 2x2 texture: red, green / blue, white-ish.
struct Two_By_Two : Image {
    Two_By_Two() : Image(2, 2, Pixel_Format::X8R8G8B8)
    {
        uint32_t texels[4] = {0xC81000, 0x00A020, 0x1020F0, 0xFFFF40};
        std::memcpy(bytes.data(), texels, 16);
    }
};

State Textured(const Target& target, const Texture& texture, Filter filter, Colour_Source colour)
{
    State state = Flat_State(target, Blend::Opaque);
    state.textured = true;
    state.texture = texture;
    state.mag_filter = state.min_filter = filter;
    state.colour = colour;
    return state;
}

TEST_P(Shading, TexelCentresGiveTheTexelsExactly)
{
    Two_By_Two texture;
    for (Filter filter : {Filter::Point, Filter::Bilinear}) {
        Image image(2, 2, Pixel_Format::X8R8G8B8);
        Draw_Quad(image.target, Textured(image.target, texture.As_Texture(), filter, Colour_Source::Texture),
                  255);
        EXPECT_EQ(image.Pixel_32(0, 0), 0xC81000u);
        EXPECT_EQ(image.Pixel_32(1, 0), 0x00A020u);
        EXPECT_EQ(image.Pixel_32(0, 1), 0x1020F0u);
        EXPECT_EQ(image.Pixel_32(1, 1), 0xFFFF40u);
    }
}

TEST_P(Shading, BilinearBlendsBetweenCentresAndClampsAtEdges)
{
    Two_By_Two texture;
    const uint32_t* t = reinterpret_cast<const uint32_t*>(texture.bytes.data());
    // Over four pixels the texel position is x / 2 - 0.25: -0.25, 0.25, 0.75, 1.25.
    Image image(4, 4, Pixel_Format::X8R8G8B8);
    Draw_Quad(image.target,
              Textured(image.target, texture.As_Texture(), Filter::Bilinear, Colour_Source::Texture), 255);
    auto mix = [&](uint32_t fu, uint32_t fv) { // weights in 256ths towards texel 1
        uint32_t out = 0;
        for (int shift : {0, 8, 16}) {
            auto c = [&](int i) { return (t[i] >> shift) & 255; };
            uint32_t sum = c(0) * (256 - fu) * (256 - fv) + c(1) * fu * (256 - fv) + c(2) * (256 - fu) * fv +
                           c(3) * fu * fv;
            out |= ((sum + 32768) >> 16) << shift;
        }
        return out;
    };
    EXPECT_EQ(image.Pixel_32(0, 0), t[0]); // beyond the outer centres: clamped
    EXPECT_EQ(image.Pixel_32(3, 3), t[3]);
    EXPECT_EQ(image.Pixel_32(3, 0), t[1]);
    EXPECT_EQ(image.Pixel_32(1, 0), mix(64, 0));
    EXPECT_EQ(image.Pixel_32(2, 0), mix(192, 0));
    EXPECT_EQ(image.Pixel_32(0, 2), mix(0, 192));
    EXPECT_EQ(image.Pixel_32(1, 1), mix(64, 64));
    EXPECT_EQ(image.Pixel_32(2, 1), mix(192, 64));
    EXPECT_EQ(image.Pixel_32(2, 2), mix(192, 192));

    // Point sampling takes the texel under floor(2 * (x + 0.5) / 4).
    Image points(4, 4, Pixel_Format::X8R8G8B8);
    Draw_Quad(points.target,
              Textured(points.target, texture.As_Texture(), Filter::Point, Colour_Source::Texture), 255);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(points.Pixel_32(x, y), t[(y / 2) * 2 + x / 2]) << x << "," << y;
}

TEST_P(Shading, WrapRepeatsAndClampHoldsTheEdgeTexel)
{
    Two_By_Two texture;
    Image image(8, 1, Pixel_Format::X8R8G8B8);
    State state = Textured(image.target, texture.As_Texture(), Filter::Point, Colour_Source::Texture);
    state.address_u = Address::Wrap;
    Draw_Quad(image.target, state, 255, 0, 0, 4, 0.5); // four repetitions over eight pixels
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(image.Pixel_32(x, 0), x % 2 ? 0x00A020u : 0xC81000u) << x;
    state.address_u = Address::Clamp;
    Draw_Quad(image.target, state, 255, 0, 0, 4, 0.5);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(image.Pixel_32(x, 0), x == 0 ? 0xC81000u : 0x00A020u) << x;
}

TEST_P(Shading, ModulateRoundsTheProductAndSelectPicksOneArgument)
{
    Image texture(1, 1, Pixel_Format::X8R8G8B8);
    Image image(1, 1, Pixel_Format::X8R8G8B8);
    for (uint32_t t = 0; t < 256; t += 3) {
        uint32_t texel = (t << 16) | ((255 - t) << 8) | (t / 2);
        std::memcpy(texture.bytes.data(), &texel, 4);
        for (uint32_t d : {0u, 255u, 0xCCu}) {
            Draw_Quad(image.target,
                      Textured(image.target, texture.As_Texture(), Filter::Bilinear, Colour_Source::Modulate),
                      d);
            auto expected = [&](uint32_t c) { return static_cast<uint32_t>(std::lround(c * d / 255.0)); };
            ASSERT_EQ(image.Pixel_32(0, 0), (expected(t) << 16) | (expected(255 - t) << 8) | expected(t / 2))
                << t << " x " << d;
        }
    }
    Draw_Quad(image.target,
              Textured(image.target, texture.As_Texture(), Filter::Point, Colour_Source::Diffuse), 0x37);
    EXPECT_EQ(image.Pixel_32(0, 0), 0x373737u);
    State untextured = Flat_State(image.target, Blend::Opaque);
    Draw_Quad(image.target, untextured, 0x42);
    EXPECT_EQ(image.Pixel_32(0, 0), 0x424242u);
}

TEST_P(Shading, AddSaturatesPerChannel)
{
    Image image(4, 4, Pixel_Format::X8R8G8B8);
    State state = Flat_State(image.target, Blend::Add);
    Draw_Quad(image.target, state, 200);
    Draw_Quad(image.target, state, 100);
    EXPECT_EQ(image.Pixel_32(2, 2), 0xFFFFFFu);
    Image small(4, 4, Pixel_Format::X8R8G8B8);
    Draw_Quad(small.target, state, 20);
    Draw_Quad(small.target, state, 30);
    EXPECT_EQ(small.Pixel_32(3, 1), 0x323232u);
}

TEST_P(Shading, DitherSpreadsAFlatGreyOverTwoLevels)
{
    for (uint32_t grey : {0u, 77u, 128u, 200u, 255u}) {
        Image image(8, 8, Pixel_Format::R5G6B5);
        State state = Flat_State(image.target, Blend::Opaque);
        state.dither = true;
        Draw_Quad(image.target, state, grey);
        double sum_red = 0, sum_green = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                uint16_t p = image.Pixel_16(x, y);
                uint32_t red = p >> 11, green = (p >> 5) & 63;
                ASSERT_LE(std::fabs(red - grey * 31.0 / 255.0), 1.0);
                ASSERT_LE(std::fabs(green - grey * 63.0 / 255.0), 1.0);
                EXPECT_EQ(p, image.Pixel_16(x % 4, y % 4)); // the pattern repeats every 4 pixels
                sum_red += red;
                sum_green += green;
            }
        EXPECT_NEAR(sum_red / 64, grey * 31.0 / 255.0, 1.0 / 16) << grey;
        EXPECT_NEAR(sum_green / 64, grey * 63.0 / 255.0, 1.0 / 16) << grey;

        state.dither = false;
        Draw_Quad(image.target, state, grey);
        uint32_t red = std::lround(grey * 31.0 / 255.0), green = std::lround(grey * 63.0 / 255.0);
        EXPECT_EQ(image.Pixel_16(5, 6), (red << 11) | (green << 5) | red);
    }
}

// Writes one 8-bit-per-channel colour as a texel of the given format.
void Put_Texel(Image& image, int x, int y, uint32_t c, uint32_t* palette)
{
    uint32_t r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
    uint8_t* p = image.bytes.data() + y * image.target.pitch + x * Bytes_Per_Pixel(image.target.format);
    uint16_t w = 0;
    switch (image.target.format) {
    case Pixel_Format::R5G6B5:
        w = static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
        break;
    case Pixel_Format::X1R5G5B5:
    case Pixel_Format::A1R5G5B5:
        w = static_cast<uint16_t>(0x8000 | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
        break;
    case Pixel_Format::A4R4G4B4:
        w = static_cast<uint16_t>(0xF000 | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4));
        break;
    case Pixel_Format::R8G8B8:
        p[0] = static_cast<uint8_t>(b), p[1] = static_cast<uint8_t>(g), p[2] = static_cast<uint8_t>(r);
        return;
    case Pixel_Format::X8R8G8B8:
    case Pixel_Format::A8R8G8B8:
        c |= 0xFF000000u;
        std::memcpy(p, &c, 4);
        return;
    case Pixel_Format::P8:
        palette[y * 4 + x] = c & 0xFFFFFF;
        p[0] = static_cast<uint8_t>(y * 4 + x);
        return;
    }
    std::memcpy(p, &w, 2);
}

TEST_P(Shading, EveryTextureFormatSamplesLikeItsThirtyTwoBitTwin)
{
    Random_Generator random;
    random.Seed(99);
    uint32_t colours[16];
    for (uint32_t& c : colours)
        c = (static_cast<uint32_t>(random.Next()) << 9 ^ static_cast<uint32_t>(random.Next())) & 0xFFFFFF;
    Image twin(4, 4, Pixel_Format::X8R8G8B8);
    for (int i = 0; i < 16; ++i)
        Put_Texel(twin, i % 4, i / 4, colours[i], nullptr);
    struct Case {
        Pixel_Format format;
        int tolerance; // the format's quantisation step, plus one for bilinear rounding
    };
    for (Case c :
         {Case{Pixel_Format::R5G6B5, 9}, Case{Pixel_Format::X1R5G5B5, 9}, Case{Pixel_Format::A1R5G5B5, 9},
          Case{Pixel_Format::A4R4G4B4, 18}, Case{Pixel_Format::R8G8B8, 0}, Case{Pixel_Format::A8R8G8B8, 0},
          Case{Pixel_Format::P8, 0}}) {
        Image texture(4, 4, c.format);
        uint32_t palette[256] = {};
        for (int i = 0; i < 16; ++i)
            Put_Texel(texture, i % 4, i / 4, colours[i], palette);
        for (Filter filter : {Filter::Point, Filter::Bilinear}) {
            Image expected(9, 7, Pixel_Format::X8R8G8B8), actual(9, 7, Pixel_Format::X8R8G8B8);
            Draw_Quad(expected.target,
                      Textured(expected.target, twin.As_Texture(), filter, Colour_Source::Modulate), 255);
            Draw_Quad(actual.target,
                      Textured(actual.target, texture.As_Texture(palette), filter, Colour_Source::Modulate),
                      255);
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 9; ++x)
                    for (int shift : {0, 8, 16}) {
                        int a = (actual.Pixel_32(x, y) >> shift) & 255,
                            e = (expected.Pixel_32(x, y) >> shift) & 255;
                        ASSERT_LE(std::abs(a - e), c.tolerance)
                            << static_cast<int>(c.format) << " " << x << "," << y;
                    }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rasterizers, Shading,
                         ::testing::Values(&Make_Reference_Rasterizer, &Make_Software_Rasterizer));

} // namespace
