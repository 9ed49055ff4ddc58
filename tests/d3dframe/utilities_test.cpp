// Maths, debug line, framework messages, frame timer, Sage::Clear and the description helpers.
#include "../graphics/graphics_fixture.h"

#include "d3dframe/d3dmath.h"
#include "d3dframe/d3dutil.h"
#include "d3dframe/debug_trace.h"
#include "d3dframe/frame_timer.h"
#include "d3dframe/framework_error.h"
#include "d3dframe/sage_clear.h"
#include "log/error_log.h"
#include "platform/system/clock.h"
#include "platform/system/debug_output.h"
#include "platform/system/message_box.h"

#include <cmath>
#include <cstring>

TEST(View_Matrix, LookingDownZFromMinusFiveIsTheIdentityMovedFiveAlong)
{
    D3DMATRIX m{};
    ASSERT_EQ(D3DUtil_SetViewMatrix(m, {0, 0, -5}, {0, 0, 0}, {0, 1, 0}), S_OK);
    const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 5, 1};
    const float* got = &m._11;
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(got[i], expected[i]) << i;
    }
}

TEST(View_Matrix, UpParallelToTheViewFallsBackToYThenZ)
{
    D3DMATRIX m{};
    ASSERT_EQ(D3DUtil_SetViewMatrix(m, {0, 0, 0}, {0, 0, 1}, {0, 0, 1}), S_OK);
    EXPECT_FLOAT_EQ(m._22, 1.0f); // up = (0, 1, 0)
    ASSERT_EQ(D3DUtil_SetViewMatrix(m, {0, 0, 0}, {0, 1, 0}, {0, 1, 0}), S_OK);
    EXPECT_FLOAT_EQ(m._32, 1.0f); // up = (0, 0, 1)
    EXPECT_FLOAT_EQ(m._23, 1.0f); // view = (0, 1, 0)

    D3DMATRIX untouched{};
    untouched._11 = 42.0f;
    EXPECT_EQ(D3DUtil_SetViewMatrix(untouched, {1, 2, 3}, {1, 2, 3}, {0, 1, 0}), E_INVALIDARG);
    EXPECT_EQ(untouched._11, 42.0f);
}

TEST(Projection_Matrix, QuarterTurnFieldOfView)
{
    D3DMATRIX m{};
    ASSERT_EQ(D3DUtil_SetProjectionMatrix(m, 3.14159265f / 2, 1.0f, 1.0f, 101.0f), S_OK);
    EXPECT_NEAR(m._11, 1.0f, 1e-6);
    EXPECT_NEAR(m._22, 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(m._33, 1.01f);
    EXPECT_FLOAT_EQ(m._34, 1.0f);
    EXPECT_FLOAT_EQ(m._43, -1.01f);
    EXPECT_EQ(m._44, 0.0f);

    D3DMATRIX untouched{};
    untouched._11 = 7.0f;
    EXPECT_EQ(D3DUtil_SetProjectionMatrix(untouched, 1.0f, 1.0f, 1.0f, 1.005f), E_INVALIDARG);
    EXPECT_EQ(D3DUtil_SetProjectionMatrix(untouched, 0.01f, 1.0f, 1.0f, 100.0f), E_INVALIDARG);
    EXPECT_EQ(untouched._11, 7.0f);
}

TEST(Vectors, HelpersAndZRotation)
{
    D3DVECTOR v = Make_Vector(3, 4, 0);
    EXPECT_FLOAT_EQ(Magnitude(v), 5.0f);
    EXPECT_FLOAT_EQ(SquareMagnitude(v), 25.0f);
    v /= 5.0f;
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    D3DVECTOR z = CrossProduct(Make_Vector(1, 0, 0), Make_Vector(0, 1, 0));
    EXPECT_FLOAT_EQ(z.z, 1.0f);
    D3DMATRIX m{};
    D3DUtil_SetRotateZMatrix(m, 0.5f);
    EXPECT_FLOAT_EQ(m._12, std::sin(0.5f));
    EXPECT_FLOAT_EQ(m._21, -std::sin(0.5f));
    EXPECT_FLOAT_EQ(m._33, 1.0f);
}

TEST(Debug_Trace, LineFormatsWithAndWithoutCode)
{
    std::string out;
    Set_Debug_Output_Sink([&out](const std::string& text) { out += text; });
    EXPECT_EQ(DebugTrace("d3dframe\\d3denum", 42, 0, "No enumerated devices were accepted!"), 0);
    EXPECT_EQ(out, "d3dframe\\d3denum(42): No enumerated devices were accepted!\n");
    out.clear();
    HRESULT code = static_cast<HRESULT>(0x8876017Cu);
    EXPECT_EQ(DebugTrace("d3dframe\\d3dframe", 7, code, "Error: Out of video memory"), code);
    EXPECT_EQ(out, "d3dframe\\d3dframe(7): Error: Out of video memory(hr=8876017c)\n\n");
    Set_Debug_Output_Sink({});
}

TEST(Framework_Error, SwitchedToSoftwareDeviceMessageHasThreeParts)
{
    Message_Box_Recorder boxes;
    ShowFrameworkError(FWERR_NO_DEVICE, ERRMSG_SWITCHED_TO_SOFTWARE, "Lucivanta");
    ShowFrameworkError(FWERR_NO_DEVICE, ERRMSG_MUST_EXIT, "Lucivanta");
    ShowFrameworkError(0x12345678, 0, "Lucivanta");
    ShowFrameworkError(ENUMERR_SUGGEST_REFERENCE, ERRMSG_SWITCHED_TO_SOFTWARE, "Lucivanta");
    ASSERT_EQ(boxes.Boxes.size(), 4u);
    EXPECT_EQ(boxes.Boxes[0].Text,
              "Could not create the Direct3DDevice object.\nThe 3D hardware chipset may not "
              "support\nrendering in the current display mode.\n\nSwitching to software "
              "rasterizer.");
    EXPECT_EQ(boxes.Boxes[0].Type, MB_ICONWARNING);
    EXPECT_EQ(boxes.Boxes[0].Caption, "Lucivanta");
    EXPECT_EQ(boxes.Boxes[1].Text,
              "Could not create the Direct3DDevice object.\n\nThis sample will now exit.");
    EXPECT_EQ(boxes.Boxes[1].Type, MB_ICONERROR);
    EXPECT_EQ(boxes.Boxes[2].Text,
              "Generic application error.\n\nEnable debug output for detailed information.");
    EXPECT_EQ(boxes.Boxes[3].Text,
              "Could not find any compatible devices.\n\nTry enabling the reference rasterizer "
              "using\nEnableRefRast.reg.\n\nSwitching to software rasterizer.");
}

TEST(Frame_Timer, CounterAndMillisecondPaths)
{
    Manual_Clock clock;
    Set_Clock_Source(&clock);
    FrameTimer timer;
    timer.Start();
    EXPECT_TRUE(timer.use_performance_counter);
    clock.Advance_Milliseconds(16.75);
    timer.Tick();
    EXPECT_DOUBLE_EQ(timer.elapsed_seconds, 0.01675);
    EXPECT_EQ(timer.elapsed_milliseconds, 16);

    // The millisecond path: whole milliseconds between readings, wrapping like a 32-bit counter.
    clock.Nanoseconds = (int64_t{0xFFFFFFFF} - 10) * 1000000;
    FrameTimer coarse;
    coarse.Start(false);
    EXPECT_FALSE(coarse.use_performance_counter);
    clock.Advance_Milliseconds(33.9);
    coarse.Tick();
    EXPECT_EQ(coarse.elapsed_milliseconds, 33);
    EXPECT_DOUBLE_EQ(coarse.elapsed_seconds, 0.033);
    Set_Clock_Source(nullptr);
}

TEST(Init_Helpers, SurfaceDescriptionAndMaterial)
{
    DDSURFACEDESC2 desc;
    std::memset(&desc, 0xAB, sizeof desc);
    D3DUtil_InitSurfaceDesc(desc, DDSD_CAPS, DDSCAPS_TEXTURE);
    EXPECT_EQ(desc.dwSize, 124u);
    EXPECT_EQ(desc.dwFlags, DDSD_CAPS);
    EXPECT_EQ(desc.ddsCaps.dwCaps, DDSCAPS_TEXTURE);
    EXPECT_EQ(desc.ddpfPixelFormat.dwSize, 32u);
    EXPECT_EQ(desc.lpSurface, nullptr);
    D3DMATERIAL7 material;
    D3DUtil_InitMaterial(material, 1.0f, 0.5f, 0.25f, 1.0f);
    EXPECT_EQ(material.ambient.g, 0.5f);
    EXPECT_EQ(material.diffuse.b, 0.25f);
    EXPECT_EQ(material.specular.r, 0.0f);
}

TEST_F(Graphics_Test, SageClearFillsWithZeroAndStopsOnLockedOrLost)
{
    EXPECT_FALSE(Sage::Clear(nullptr));
    IDirectDrawSurface7* s = Make(8, 8, Pixel_Layout::X8R8G8B8);
    std::memset(s->Bits(), 0x7F, s->Pitch() * 8);
    EXPECT_TRUE(Sage::Clear(s));
    EXPECT_EQ(s->Bits()[s->Pitch() * 7 + 31], 0);

    Reset_Diagnostics();
    Message_Box_Recorder boxes;
    DDSURFACEDESC2 desc{};
    desc.dwSize = DDSURFACEDESC2_SIZE;
    ASSERT_EQ(s->Lock(nullptr, &desc, 0, nullptr), DD_OK);
    EXPECT_FALSE(Sage::Clear(s));
    s->Unlock(nullptr);
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Clear(): DDERR_LOCKEDSURFACES I think you need to free a surface!");
    s->Mark_Lost();
    EXPECT_FALSE(Sage::Clear(s));
    EXPECT_EQ(boxes.Boxes.size(), 1u);
}
