// The scene's own draws on both devices: with the scene's camera and projection the
// foreground disk (radius 1.5 at z = -19) covers the whole 640 x 480 viewport at any turn,
// and a background fan of symmetry 12 covers every pixel, each exactly once.
#include "device_fixture.h"

namespace {

class Scene_Draws : public Device_Test, public ::testing::WithParamInterface<const GUID*> {
protected:
    void Expect_Every_Pixel_Once(IDirectDrawSurface7* target)
    {
        for (DWORD y = 0; y < target->Height(); ++y)
            for (DWORD x = 0; x < target->Width(); ++x)
                ASSERT_EQ(Pixel_32(target, x, y), 0x010101u) << x << "," << y;
    }
};

constexpr D3DCOLOR Grey_1 = 0x01010101;

TEST_P(Scene_Draws, ForegroundDiskCoversTheViewportAtEveryTurn)
{
    IDirectDrawSurface7* target = Make_Target(640, 480);
    IDirect3DDevice7* device = Make_Device(*GetParam(), target);
    Set_Scene_States(device);
    D3DMATRIX view = Scene_View(), projection = Scene_Projection();
    device->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
    device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection);
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    for (float angle : {0.0f, 0.3f, -2.0f}) {
        D3DMATRIX world = Rotation_Z(angle);
        device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
        ASSERT_EQ(device->BeginScene(), D3D_OK);
        ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
        for (int i = 0; i < 12; ++i) {
            auto rim = [](int k) {
                double a = 6.2831855 * (k % 12) / 12.0;
                return std::pair<float, float>{static_cast<float>(1.5 * std::sin(a)),
                                               static_cast<float>(-1.5 * std::cos(a))};
            };
            auto [x0, y0] = rim(i);
            auto [x1, y1] = rim(i + 1);
            D3DLVERTEX fan[3] = {{0, 0, -19, 0, Grey_1, 0, 0, 0},
                                 {x1, y1, -19, 0, Grey_1, 0, 1, 1},
                                 {x0, y0, -19, 0, Grey_1, 0, 0, 1}};
            ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLEFAN, D3DFVF_LVERTEX, fan, 3, 0), D3D_OK);
        }
        ASSERT_EQ(device->EndScene(), D3D_OK);
        Expect_Every_Pixel_Once(target);
    }
}

TEST_P(Scene_Draws, BackgroundFanOfTwelveCoversEveryPixel)
{
    IDirectDrawSurface7* target = Make_Target(640, 480);
    IDirect3DDevice7* device = Make_Device(*GetParam(), target);
    Set_Scene_States(device);
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    const double r = 624.0; // (half-diagonal + 16) * 1.5 for 640 x 480
    for (int i = 0; i < 12; ++i) {
        double a0 = 6.2831855 * i / 12.0, a1 = 6.2831855 * (i + 1) / 12.0;
        D3DTLVERTEX fan[3] = {{320, 240, 0, 0.5f, Grey_1, 0, 0, 0},
                              {static_cast<float>(320 + r * std::sin(a0)),
                               static_cast<float>(240 - r * std::cos(a0)), 0, 0.5f, Grey_1, 0, 1, 1},
                              {static_cast<float>(320 + r * std::sin(a1)),
                               static_cast<float>(240 - r * std::cos(a1)), 0, 0.5f, Grey_1, 0, 0, 1}};
        ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, fan, 3, 0), D3D_OK);
    }
    ASSERT_EQ(device->EndScene(), D3D_OK);
    Expect_Every_Pixel_Once(target);
}

TEST_P(Scene_Draws, WallQuadStripDrawsBothTrianglesOnce)
{
    // The wall and titles quads: a strip in the order bottom-left, top-left, bottom-right,
    // top-right; its second triangle is wound the other way round in the array.
    IDirectDrawSurface7* target = Make_Target(64, 48);
    IDirect3DDevice7* device = Make_Device(*GetParam(), target);
    Set_Scene_States(device);
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    D3DTLVERTEX quad[4] = {{8, 40, 0, 0.5f, Grey_1, 0, 0, 1},
                           {8, 8, 0, 0.5f, Grey_1, 0, 0, 0},
                           {56, 40, 0, 0.5f, Grey_1, 0, 1, 1},
                           {56, 8, 0, 0.5f, Grey_1, 0, 1, 0}};
    device->BeginScene();
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, quad, 4, 0), D3D_OK);
    device->EndScene();
    for (DWORD y = 0; y < 48; ++y)
        for (DWORD x = 0; x < 64; ++x) {
            bool inside = x >= 8 && x < 56 && y >= 8 && y < 40;
            ASSERT_EQ(Pixel_32(target, x, y), inside ? 0x010101u : 0u) << x << "," << y;
        }
}

INSTANTIATE_TEST_SUITE_P(Devices, Scene_Draws,
                         ::testing::Values(&IID_IDirect3DRGBDevice, &IID_IDirect3DRefDevice));

} // namespace
