// The titles quad: where it hangs, how its fade runs at the default interval and 60 frames
// per second, and that a hidden title draws nothing.
#include "effects/titles.h"
#include "platform/graphics/device_base.h"

#include <gtest/gtest.h>

namespace {

class Titles_Fade : public ::testing::Test {
protected:
    void SetUp() override
    {
        Titles.Reset();
        Titles.Initialise_Quad();
    }
    void TearDown() override { Titles.Reset(); }
};

// Counts DrawPrimitive calls and answers a fixed result.
class Counting_Device : public Caps_Only_Device {
public:
    Counting_Device() : Caps_Only_Device(D3DDEVICEDESC7{}, {}, nullptr) {}
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD format, void* vertices, DWORD count, DWORD) override
    {
        ++Calls;
        Last_Type = type;
        Last_Format = format;
        Last_Vertices = vertices;
        Last_Count = count;
        return Result;
    }
    int Calls = 0;
    D3DPRIMITIVETYPE Last_Type{};
    DWORD Last_Format = 0;
    void* Last_Vertices = nullptr;
    DWORD Last_Count = 0;
    HRESULT Result = D3D_OK;
};

constexpr double Default_Step = 0.09 * 0.25;
constexpr double Frame = 1.0 / 60.0;

} // namespace

TEST_F(Titles_Fade, QuadHangsBelowTheBottomEdge)
{
    Titles.Set_Position(640, 480);
    EXPECT_FLOAT_EQ(Titles.Quad[1].sx, 20); // top-left
    EXPECT_FLOAT_EQ(Titles.Quad[1].sy, 440);
    EXPECT_FLOAT_EQ(Titles.Quad[0].sy, 952); // bottom-left: a 512 square, only 40 rows on screen
    EXPECT_FLOAT_EQ(Titles.Quad[2].sx, 532);
    EXPECT_FLOAT_EQ(Titles.Quad[3].sy, 440);
    EXPECT_EQ(Titles.Quad[1].tv, 0.0f); // upright texture
    EXPECT_EQ(Titles.Quad[0].tv, 1.0f);

    Titles.Set_Position(400, 300); // narrow screens get a 256 square
    EXPECT_FLOAT_EQ(Titles.Quad[3].sx, 12.5f + 256);
    EXPECT_FLOAT_EQ(Titles.Quad[0].sy, 300 * 0.9166667f + 256);
}

TEST_F(Titles_Fade, DefaultTimingAtSixtyFramesPerSecond)
{
    Titles.Start_Fade_In();
    int frame = 0;
    while (Titles.Colour == 0 && frame < 10000) {
        Titles.Update_Fade(Default_Step, Frame);
        ++frame;
    }
    EXPECT_EQ(frame, 602); // visible after the 10-second delay
    int steps = 1;
    const int first_visible = frame;
    while (Titles.Fade_State == Titles_Image::Fading_In) {
        const uint32_t before = Titles.Colour;
        Titles.Update_Fade(Default_Step, Frame);
        ++frame;
        if (Titles.Colour != before)
            ++steps;
    }
    EXPECT_EQ(steps, 118);
    EXPECT_EQ(Titles.Colour, Titles_Image::Full_Brightness);
    EXPECT_EQ(Titles.Quad[2].color, Titles_Image::Full_Brightness);
    EXPECT_EQ(frame - first_visible, 234); // one step every second frame: about 4 s up
    EXPECT_DOUBLE_EQ(Titles.Fade_In_Timer, -10.0);

    const int peak = frame;
    steps = 0;
    while (Titles.Fade_State == Titles_Image::Fading_Out) {
        const uint32_t before = Titles.Colour;
        Titles.Update_Fade(Default_Step, Frame);
        ++frame;
        if (Titles.Colour != before)
            ++steps;
    }
    EXPECT_EQ(steps, 118);
    EXPECT_EQ(frame - peak, 236); // and about 4 s down
    EXPECT_EQ(Titles.Fade_State, Titles_Image::Hidden);
    EXPECT_EQ(Titles.Colour, 0u);
    EXPECT_EQ(Titles.Quad[0].color, 0u);
}

TEST_F(Titles_Fade, RestartKeepsTimerAndBrightness)
{
    Titles.Fade_State = Titles_Image::Fading_Out;
    Titles.Colour = 0x40404040;
    Titles.Fade_In_Timer = -3.5;
    Titles.Start_Fade_In(); // during a fade-out: back to fading in from here
    EXPECT_EQ(Titles.Fade_State, Titles_Image::Fading_In);
    EXPECT_EQ(Titles.Colour, 0x40404040u);
    EXPECT_DOUBLE_EQ(Titles.Fade_In_Timer, -3.5);
    Titles.Start_Fade_In(); // while fading in: nothing changes
    EXPECT_DOUBLE_EQ(Titles.Fade_In_Timer, -3.5);
    // Hidden titles do not move.
    Titles.Reset();
    Titles.Update_Fade(Default_Step, 100.0);
    EXPECT_EQ(Titles.Colour, 0u);
    EXPECT_DOUBLE_EQ(Titles.Fade_In_Timer, -10.0);
}

TEST_F(Titles_Fade, RenderDrawsOnlyWhileShown)
{
    Counting_Device device;
    EXPECT_EQ(Titles.Render(&device), 1);
    EXPECT_EQ(device.Calls, 0);
    Titles.Start_Fade_In();
    device.Result = static_cast<HRESULT>(0x887601C2u);
    EXPECT_EQ(Titles.Render(&device), device.Result);
    EXPECT_EQ(device.Calls, 1);
    EXPECT_EQ(device.Last_Type, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(device.Last_Format, D3DFVF_TLVERTEX);
    EXPECT_EQ(device.Last_Vertices, Titles.Quad);
    EXPECT_EQ(device.Last_Count, 4u);
}
