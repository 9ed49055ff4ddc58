// The sine wave against a plain re-implementation of its random walk and bands, and the band
// shapes, clipping, channel switches and 16-bit layouts on prepared amplitudes.
#include <gtest/gtest.h>

#include <cmath>

#include "effects/sine_wave.h"
#include "effects_support.h"
#include "platform/system/random.h"

namespace {

using effects_test::Buffer;
using Random::rand;

// The plain sine wave: the draws in their order, then every band pixel by pixel.
struct Plain_Sine {
    int t = 16, v = 3, Q[3] = {16, 16, 16};
    bool on[3] = {true, true, true}, redraw = false, used = false;
    double A[9], B[9], T = 0;

    void Choose()
    {
        for (int& q : Q)
            q = (rand() % 14 + 1) * 16;
        rand(), rand();
        redraw = true;
        t = rand() % 40 + 16;
        const int n = rand() % 4;
        on[0] = n != 1, on[1] = n != 2, on[2] = n != 3;
        for (int i = 0; i < 9; ++i)
            rand();
    }
    void Draw()
    {
        for (int g = 0; g < 3; ++g) {
            for (int i = 0; i < 3; ++i)
                A[3 * g + i] = rand() % t;
            for (int i = 0; i < 3; ++i)
                B[3 * g + i] = rand() % v * 0.1;
        }
    }
    void Step(double dt)
    {
        if (!used)
            Draw(), used = true;
        if (redraw)
            Draw(), redraw = false;
        for (int g = 0; g < 3; ++g)
            if (int n = rand() % 4; n < 3)
                A[3 * g + n] += B[3 * g + n];
        for (int i = 0; i < 9; ++i) {
            if (A[i] > t)
                B[i] = -(rand() % v) * (i % 3 ? 0.010000000000000002 : 0.1);
            if (A[i] < 0)
                B[i] = rand() % v * 0.010000000000000002;
        }
        T += dt * 0.85;
    }
    void Paint(Buffer& out, bool inverted, bool is_565) const
    {
        const int N = out.width;
        auto u = [](int n) { return double(float(n) * 6.2831855f) * 0.002777777777777778; };
        for (int j = 0; j < N; ++j)
            for (int c = 0; c < 3; ++c) {
                if (out.bytes_per_pixel == 4 && !on[c])
                    continue;
                const double* a = A + 3 * c;
                const double y = a[0] * std::sin(4 * T + u(8 * j)) +
                                 a[1] * std::sin(u(j) + T * (c == 2 ? 0.3333333333333333 : 0.5)) +
                                 a[2] * std::sin(u(4 * j) + T);
                const int top = int(y) + N / 4;
                for (int k = top; k < top + Q[c] && k < N; ++k) {
                    if (k < 0)
                        continue;
                    const int d = k < top + Q[c] / 2 ? k - top : top + Q[c] - k;
                    uint8_t* p = out.data() + (inverted ? j * out.pitch + k * out.bytes_per_pixel
                                                        : k * out.pitch + j * out.bytes_per_pixel);
                    uint32_t old = 0, value;
                    std::memcpy(&old, p, out.bytes_per_pixel);
                    if (out.bytes_per_pixel == 4) {
                        const uint32_t s = d * (256 / Q[c]) % 256;
                        value = c == 0 ? s << 16 : c == 1 ? (old & 0xFF00FF) | s << 8 : (old & 0xFFFF00) | s;
                    } else {
                        const uint32_t s = int(d * (32.0f / Q[c]) * (c == 1 && is_565 ? 2.0f : 1.0f));
                        value = c == 0 ? s << (is_565 ? 11 : 10) : old | (c == 1 ? s << 5 : s);
                    }
                    std::memcpy(p, &value, out.bytes_per_pixel);
                }
            }
    }
};

class Sine_Wave_Test : public ::testing::Test {
protected:
    void SetUp() override { Program_Random().Reset(); }
    void TearDown() override { Program_Random().Reset(); }

    // A state that no longer draws: zero steps (variance 1), the given amplitudes and time.
    void Prepare(Sine_Wave::Fill_Kind kind, std::initializer_list<double> amplitudes, double time = 0.0)
    {
        wave.variance = 1;
        SineWaveState& s = wave.state[kind];
        s = SineWaveState{};
        s.used = true;
        std::copy(amplitudes.begin(), amplitudes.end(), s.amplitude);
        s.time = time;
    }

    Sine_Wave wave;
};

TEST_F(Sine_Wave_Test, ConstructionDrawsNineValues)
{
    Random::srand(5);
    Sine_Wave fresh;
    const int after = rand();
    Random::srand(5);
    for (int i = 0; i < 9; ++i)
        rand();
    EXPECT_EQ(after, rand());
}

TEST_F(Sine_Wave_Test, GoldenNormalThirtyTwoBits)
{
    Random::srand(7);
    wave.Choose_Random_Waves();
    Buffer mine(256, 256, 4), expected(256, 256, 4);
    for (int frame = 0; frame < 3; ++frame) {
        mine.Clear();
        ASSERT_EQ(wave.Multi_Sine_Wave_32(mine.data(), mine.pitch, 256, 256, 1.0 / 60), 1);
    }
    const int after = rand();

    Random::srand(7);
    Plain_Sine plain;
    plain.Choose();
    for (int frame = 0; frame < 3; ++frame)
        plain.Step(1.0 / 60);
    plain.Paint(expected, false, false);
    EXPECT_EQ(after, rand());
    EXPECT_EQ(mine.Hash(), expected.Hash());
    EXPECT_TRUE(mine.Guards_Intact());
}

TEST_F(Sine_Wave_Test, GoldenInvertedSixteenBitsWithClippedBands)
{
    // A side of 40 puts the quarter line at 10, so tall bands leave at the top and the bottom.
    Random::srand(7);
    for (int channel = 0; channel < 3; ++channel)
        wave.band_height[channel] = 48 + 16 * channel;
    wave.amplitude_limit = 30;
    wave.is_565 = true;
    Buffer mine(40, 40, 2), expected(40, 40, 2);
    for (int frame = 0; frame < 5; ++frame) {
        mine.Clear();
        ASSERT_EQ(wave.Inverted_Multi_Sine_Wave_16(mine.data(), mine.pitch, 40, 40, 0.7), 1);
    }
    Random::srand(7);
    Plain_Sine plain;
    plain.Q[0] = 48, plain.Q[1] = 64, plain.Q[2] = 80, plain.t = 30;
    for (int frame = 0; frame < 5; ++frame)
        plain.Step(0.7);
    plain.Paint(expected, true, true);
    EXPECT_EQ(mine.Hash(), expected.Hash());
    EXPECT_TRUE(mine.Guards_Intact());
}

TEST_F(Sine_Wave_Test, VarianceOneFreezesTheAmplitudes)
{
    wave.variance = 1;
    Buffer buffer(64, 64, 4);
    wave.Multi_Sine_Wave_32(buffer.data(), buffer.pitch, 64, 64, 0.1);
    const SineWaveState first = wave.state[Sine_Wave::Normal_32];
    for (int frame = 0; frame < 50; ++frame)
        wave.Multi_Sine_Wave_32(buffer.data(), buffer.pitch, 64, 64, 0.0);
    const SineWaveState& later = wave.state[Sine_Wave::Normal_32];
    EXPECT_TRUE(std::equal(std::begin(first.amplitude), std::end(first.amplitude), later.amplitude));
    EXPECT_EQ(first.time, later.time); // dt = 0 leaves the time alone
    // The other fills have their own state, untouched so far.
    EXPECT_FALSE(wave.state[Sine_Wave::Inverted_32].used);
}

// Column 0 of a red-only band with zero amplitudes, from the quarter line down.
std::vector<int> Red_Column(Sine_Wave& wave, int32_t band_height)
{
    wave.band_height[0] = band_height;
    wave.channel_on[1] = wave.channel_on[2] = false;
    Buffer buffer(256, 256, 4);
    wave.Multi_Sine_Wave_32(buffer.data(), buffer.pitch, 256, 256, 0.0);
    std::vector<int> column;
    for (int y = 64; y < 256; ++y)
        column.push_back(int(buffer.Pixel(0, y) >> 16));
    EXPECT_EQ(buffer.Pixel(0, 63), 0u);
    return column;
}

TEST_F(Sine_Wave_Test, BandValuesAtThirtyTwoBits)
{
    Prepare(Sine_Wave::Normal_32, {});
    std::vector<int> q16 = Red_Column(wave, 16);
    const std::vector<int> expected16 = {0, 16, 32, 48, 64, 80, 96, 112, 128, 112, 96, 80, 64, 48, 32, 16, 0};
    EXPECT_EQ(std::vector<int>(q16.begin(), q16.begin() + 17), expected16);

    Prepare(Sine_Wave::Normal_32, {});
    std::vector<int> q48 = Red_Column(wave, 48);
    EXPECT_EQ(q48[1], 5);
    EXPECT_EQ(q48[23], 115);
    EXPECT_EQ(q48[24], 120);
    EXPECT_EQ(*std::max_element(q48.begin(), q48.end()), 120);
    EXPECT_EQ(q48[47], 5);
    EXPECT_EQ(q48[48], 0);

    // Q = 224 reaches past the last row: 0 … 111, then 112 down to 33 where the texture ends.
    Prepare(Sine_Wave::Normal_32, {});
    std::vector<int> q224 = Red_Column(wave, 224);
    for (int d = 0; d < 112; ++d)
        ASSERT_EQ(q224[d], d);
    for (int k = 112; k < 192; ++k)
        ASSERT_EQ(q224[k], 224 - k);
}

TEST_F(Sine_Wave_Test, BandCutAtTheTopShowsItsLowerPart)
{
    // T = π/8 makes the first sine 1 at column 0: top = −20 + 32 / 4 = −12.
    Prepare(Sine_Wave::Normal_32, {-20, 0, 0}, M_PI / 8);
    wave.channel_on[1] = wave.channel_on[2] = false;
    Buffer buffer(32, 32, 4);
    wave.Multi_Sine_Wave_32(buffer.data(), buffer.pitch, 32, 32, 0.0);
    const uint32_t expected[5] = {64, 48, 32, 16, 0};
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(buffer.Pixel(0, y), expected[y] << 16) << y;
}

TEST_F(Sine_Wave_Test, RedOffLeavesRedZeroAtThirtyTwoBitsOnly)
{
    Random::srand(9);
    wave.channel_on[0] = false;
    Buffer b32(128, 128, 4), b16(128, 128, 2);
    int lit = 0, red16 = 0;
    for (int frame = 0; frame < 5; ++frame) {
        b32.Clear(), b16.Clear();
        wave.Multi_Sine_Wave_32(b32.data(), b32.pitch, 128, 128, 0.2);
        wave.Multi_Sine_Wave_16(b16.data(), b16.pitch, 128, 128, 0.2);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                ASSERT_EQ(b32.Pixel(x, y) & 0xFFFF0000u, 0u);
                lit += b32.Pixel(x, y) != 0;
                red16 += (b16.Pixel(x, y) >> 10) != 0;
            }
    }
    EXPECT_GT(lit, 0);
    EXPECT_GT(red16, 0);
}

TEST_F(Sine_Wave_Test, SixteenBitGreenRampPerLayout)
{
    for (bool is_565 : {false, true}) {
        Prepare(Sine_Wave::Normal_16, {});
        wave.is_565 = is_565;
        Buffer buffer(64, 64, 2);
        wave.Multi_Sine_Wave_16(buffer.data(), buffer.pitch, 64, 64, 0.0);
        const uint32_t green_mask = is_565 ? 0x07E0 : 0x03E0;
        for (int d = 0; d <= 8; ++d) {
            const uint32_t pixel = buffer.Pixel(5, 16 + d); // quarter line of 64
            const uint32_t ramp = 2 * d;                    // red and blue: 0, 2, … 16
            EXPECT_EQ((pixel & green_mask) >> 5, is_565 ? 2 * ramp : ramp) << d;
            EXPECT_EQ(pixel & 0x1F, ramp);
            EXPECT_EQ(pixel >> (is_565 ? 11 : 10), ramp);
        }
    }
}

TEST_F(Sine_Wave_Test, RefusesEmptyAndNullSurfaces)
{
    effects_test::Report_Capture capture;
    Buffer buffer(8, 8, 4);
    EXPECT_EQ(wave.Multi_Sine_Wave_32(buffer.data(), buffer.pitch, 0, 8, 0.1), 0);
    EXPECT_EQ(wave.Multi_Sine_Wave_16(buffer.data(), buffer.pitch, 8, -1, 0.1), 0);
    EXPECT_EQ(wave.Multi_Sine_Wave_32(nullptr, 32, 8, 8, 0.1), 0);
    EXPECT_EQ(wave.Inverted_Multi_Sine_Wave_32(nullptr, 32, 8, 8, 0.1), 0);
    EXPECT_EQ(wave.Multi_Sine_Wave_16(nullptr, 16, 8, 8, 0.1), 0);
    EXPECT_EQ(wave.Inverted_Multi_Sine_Wave_16(nullptr, 16, 8, 8, 0.1), 0);
    const std::vector<std::string> expected = {
        "Multi_Sine_Wave_32(): NULL Surface FAILED", "Multi_Sine_Wave_32(): NULL Surface FAILED",
        "Multi_Sine_Wave_16(): Lock Surface FAILED", "Inverted Multi_Sine_Wave_16(): Lock Surface FAILED"};
    EXPECT_EQ(capture.Reports(), expected);
    EXPECT_FALSE(wave.state[Sine_Wave::Normal_32].used);
}

TEST_F(Sine_Wave_Test, NonSquareSurfacesAreNotWrittenPast)
{
    Random::srand(2);
    wave.amplitude_limit = 55;
    for (int kind = 0; kind < 2; ++kind) {
        Buffer wide(64, 20, 4), tall(20, 64, 2);
        for (int frame = 0; frame < 4; ++frame) {
            if (kind == 0) {
                wave.Multi_Sine_Wave_32(wide.data(), wide.pitch, 64, 20, 0.3);
                wave.Multi_Sine_Wave_16(tall.data(), tall.pitch, 20, 64, 0.3);
            } else {
                wave.Inverted_Multi_Sine_Wave_32(wide.data(), wide.pitch, 64, 20, 0.3);
                wave.Inverted_Multi_Sine_Wave_16(tall.data(), tall.pitch, 20, 64, 0.3);
            }
        }
        EXPECT_TRUE(wide.Guards_Intact());
        EXPECT_TRUE(tall.Guards_Intact());
    }
}

} // namespace
