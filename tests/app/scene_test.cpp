// The scene on the software device with small bitmaps of the test's own: the layers it draws
// and in which order, which effects it computes, the rotation's range, the wall image's rules,
// the contact line, and the order of its random draws when layers are rebuilt.
#include "app/scene.h"
#include "d3dframe/d3denum.h"

#include "app/command_line.h"
#include "d3dframe/d3dtextr.h"
#include "effects/gradient.h"
#include "effects/plasma.h"
#include "effects/sine_wave.h"
#include "effects/titles.h"
#include "geometry/kaleidoscope.h"
#include "geometry/wall.h"
#include "log/error_log.h"
#include "media/mp3.h"
#include "platform/audio/null_playback.h"
#include "platform/graphics/device_base.h"
#include "platform/system/clock.h"
#include "platform/system/display_mode.h"
#include "platform/system/message_box.h"
#include "platform/system/random.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"
#include "program_objects.h"
#include "resources/about_texts.h"
#include "settings/settings_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using test_support::Env_Guard;
using test_support::Temp_Folder;
using test_support::Write_File;

namespace {

// Makes the wall image reach black at its next fade step, so the frame asks for a new one.
void Wall_Reaches_Black_Next()
{
    D3DWall.Fading_Out = 1;
    D3DWall.Fade_Out_Started = true;
    D3DWall.Colour = 0x01010101;
    D3DWall.Fade_Out_Timer = 1e9;
}

// An 8 × 8 24-bit bitmap of one colour.
std::string Bitmap(uint8_t red, uint8_t green, uint8_t blue)
{
    std::string bytes = "BM";
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>(v >> (8 * i)));
    };
    auto put16 = [&](uint16_t v) {
        bytes.push_back(static_cast<char>(v));
        bytes.push_back(static_cast<char>(v >> 8));
    };
    put32(54 + 8 * 8 * 3);
    put32(0);
    put32(54);
    put32(40);
    put32(8);
    put32(8);
    put16(1);
    put16(24);
    put32(0);
    put32(8 * 8 * 3);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int i = 0; i < 64; ++i) {
        bytes.push_back(static_cast<char>(blue));
        bytes.push_back(static_cast<char>(green));
        bytes.push_back(static_cast<char>(red));
    }
    return bytes;
}

// Records what the scene's Render asks of its device, in order.
class Recording_Device : public Caps_Only_Device {
public:
    Recording_Device() : Caps_Only_Device(D3DDEVICEDESC7{}, {}, nullptr) {}
    std::vector<std::string> Events;
    HRESULT SetTexture(DWORD, IDirectDrawSurface7* texture) override
    {
        Events.push_back("texture " + Name_Of(texture));
        return D3D_OK;
    }
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE, DWORD, void*, DWORD, DWORD) override
    {
        Events.push_back("draw");
        return D3D_OK;
    }
    HRESULT Clear(DWORD, D3DRECT*, DWORD, D3DCOLOR, D3DVALUE, DWORD) override
    {
        Events.push_back("clear");
        return D3D_OK;
    }
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override
    {
        if (state == D3DRENDERSTATE_ALPHABLENDENABLE) {
            Events.push_back(value ? "add" : "replace");
        }
        return D3D_OK;
    }
    std::vector<std::pair<std::string, IDirectDrawSurface7*>> Names;
    std::string Name_Of(IDirectDrawSurface7* texture) const
    {
        for (const auto& [name, surface] : Names) {
            if (surface == texture)
                return name;
        }
        return texture ? "?" : "none";
    }
};

class Scene_Test : public ::testing::Test {
protected:
    Scene_Test()
    {
        const fs::path product = Data.Path() / "Lucivanta";
        fs::create_directories(product / "Images");
        fs::create_directories(product / "Backdrop");
        Write_File((product / "Lucivanta.bmp").string(), Bitmap(200, 100, 50));
        Write_File((product / "Images/A.bmp").string(), Bitmap(0, 200, 0));
        Write_File((product / "Images/B.bmp").string(), Bitmap(0, 0, 200));
        Write_File((product / "Backdrop/C.bmp").string(), Bitmap(90, 90, 90));
        Reset_Program_State();
        Set_Clock_Source(&Clock);
        Set_Display_Mode_Source(&Desktop);
        Program_Settings_File().Set_Defaults();
        Live_Settings().Music_On = 0;
        Set_Scene_Seed_Source([] { return 4242u; });
        Command_Line().Mode = Mode_Configuration;
    }
    ~Scene_Test() override
    {
        Set_Scene_Seed_Source(nullptr);
        Set_Clock_Source(nullptr);
        Set_Display_Mode_Source(nullptr);
        Install_Window_System(nullptr);
        Reset_Command_Line();
    }
    void Frame(Scene& app, double step_ms = 1000.0 / 60)
    {
        Clock.Advance_Milliseconds(step_ms);
        ASSERT_EQ(app.Render3DEnvironment(), S_OK) << Reports();
    }
    std::string Reports() const
    {
        std::string text;
        for (const auto& box : Boxes.Boxes)
            text += box.Text + "\n";
        return text;
    }
    // A checksum of a named texture's pixels.
    uint64_t Texture_Sum(const char* name)
    {
        IDirectDrawSurface7* surface = D3DTextr_FindSurface(name);
        if (surface == nullptr)
            return 0;
        uint64_t sum = 0;
        for (DWORD y = 0; y < surface->Height(); ++y) {
            const uint8_t* row = surface->Bits() + static_cast<std::ptrdiff_t>(y) * surface->Pitch();
            for (LONG x = 0; x < surface->Pitch(); ++x)
                sum = sum * 31 + row[x];
        }
        return sum;
    }

    Temp_Folder Data;
    Env_Guard Data_Home{"XDG_DATA_HOME", Data.Path().string()};
    Manual_Clock Clock;
    Fixed_Display_Mode Desktop{320, 240, 32};
    Message_Box_Recorder Boxes;
};

TEST_F(Scene_Test, RenderDrawsTheLayersBackToFrontWithTheWallOnlyWhenShown)
{
    Scene app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    Frame(app);
    IDirect3DDevice7* real = app.Device;
    auto* recorder = new Recording_Device;
    const std::vector<const char*> names = {app.Background_Texture, app.Midground_Texture,
                                            app.Foreground_Texture, D3DWall.Image_Path, "Music Title"};
    for (const char* name : names) {
        recorder->Names.emplace_back(name == D3DWall.Image_Path ? "wall" : name, D3DTextr_FindSurface(name));
    }
    app.Device = recorder;
    // Booleans count only as the byte 1: a damaged file's 2 shows neither the wall nor the titles.
    struct Case {
        uint8_t Symbols_On;
        int Mode;
        bool Wall_Drawn;
        uint8_t Music_And_Titles_On = 0;
    } cases[] = {{1, Mode_Configuration, true},
                 {0, Mode_Configuration, false},
                 {1, Mode_Preview, false},
                 {2, Mode_Configuration, false, 2}};
    for (const Case& c : cases) {
        Live_Settings().Symbols_On = c.Symbols_On;
        Live_Settings().Music_On = Live_Settings().Titles_On = c.Music_And_Titles_On;
        Titles.Fade_State = Titles_Image::Fading_In;
        Command_Line().Mode = c.Mode;
        recorder->Events.clear();
        ASSERT_EQ(app.Render(), S_OK);
        std::vector<std::string> expected = {"clear",
                                             std::string("texture ") + app.Background_Texture,
                                             "draw",
                                             "add",
                                             "texture Music Title",
                                             std::string("texture ") + app.Midground_Texture,
                                             "draw"};
        if (c.Wall_Drawn) {
            expected.insert(expected.end(), {"texture wall", "draw", "draw"});
        }
        expected.insert(expected.end(),
                        {std::string("texture ") + app.Foreground_Texture, "draw", "replace"});
        // Kaleidoscope layers draw one call per layer (fan or strip); the wall is one strip.
        std::vector<std::string> seen;
        for (const std::string& e : recorder->Events) {
            if (e != "draw" || seen.empty() || seen.back() != "draw")
                seen.push_back(e);
        }
        std::vector<std::string> wanted;
        for (const std::string& e : expected) {
            if (e != "draw" || wanted.empty() || wanted.back() != "draw")
                wanted.push_back(e);
        }
        EXPECT_EQ(seen, wanted) << int(c.Symbols_On) << " " << c.Mode;
    }
    app.Device = real;
    recorder->Release();
    DestroyWindow(app.Window);
}

TEST_F(Scene_Test, OnlyTheEffectsThatLayersShowAreComputed)
{
    Scene app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    Frame(app); // the first frame rebuilds every layer
    for (char* name : {app.Background_Texture, app.Midground_Texture, app.Foreground_Texture}) {
        std::strcpy(name, "PlasmaTexture");
    }
    uint64_t plasma = Texture_Sum("PlasmaTexture");
    uint64_t sine = Texture_Sum("SineTexture");
    uint64_t gradient = Texture_Sum("GradientTexture");
    Frame(app, 100);
    Frame(app, 100);
    EXPECT_NE(Texture_Sum("PlasmaTexture"), plasma);
    EXPECT_EQ(Texture_Sum("SineTexture"), sine);
    EXPECT_EQ(Texture_Sum("GradientTexture"), gradient);
    DestroyWindow(app.Window);
}

TEST_F(Scene_Test, RotationStaysWithinOneTurn)
{
    Live_Settings().Rotation_Speed = 3.0;
    Scene app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    const float step = static_cast<float>(3.0 * 0.1);
    for (int i = 0; i < 60; ++i) {
        Frame(app, 100);
        EXPECT_LT(std::fabs(Program_Scene_State().Rotation_Angle), 6.2831855f + step);
    }
    DestroyWindow(app.Window);
}

TEST_F(Scene_Test, WallIsReplacedOnlyWhenSymbolsAreOnEvenInPreview)
{
    Scene app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    Frame(app);
    const std::string logo = D3DWall.Image_Path;
    Live_Settings().Symbols_On = 0;
    Wall_Reaches_Black_Next();
    ASSERT_EQ(app.FrameMove(0), S_OK);
    EXPECT_EQ(D3DWall.New_Image, 1);
    EXPECT_EQ(D3DWall.Image_Path, logo);

    Live_Settings().Symbols_On = 1;
    Command_Line().Mode = Mode_Preview;
    Wall_Reaches_Black_Next();
    ASSERT_EQ(app.FrameMove(0), S_OK);
    EXPECT_NE(D3DWall.Image_Path, logo);
    EXPECT_NE(std::string(D3DWall.Image_Path).find("/Lucivanta/Images/"), std::string::npos);
    EXPECT_NE(D3DTextr_FindSurface(D3DWall.Image_Path), nullptr);
    DestroyWindow(app.Window);
}

TEST_F(Scene_Test, MissingImagesFolderEndsTheRunInOrder)
{
    fs::remove_all(Data.Path() / "Lucivanta/Images");
    ASSERT_TRUE(Program_Error_Log().Open_Log((Data / "Lucivanta/error_log.txt").c_str()));
    Scene app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    Wall_Reaches_Black_Next();
    int frames = 0;
    The_Headless_Backend().On_Idle_Poll = [&] {
        Clock.Advance_Milliseconds(20);
        if (++frames == 50)
            PostMessageA(app.Window, WM_CLOSE, 0, 0); // never reached when all is well
    };
    app.Message_Loop(); // the first frame fails, which destroys the window
    EXPECT_LT(frames, 50);
    EXPECT_FALSE(IsWindow(app.Window));
    std::string log = test_support::Read_File(Data / "Lucivanta/error_log.txt");
    EXPECT_NE(log.find("Main-FrameMove(): D3DWall.Select_Random_Image"), std::string::npos) << log;
    EXPECT_FALSE(Program_Error_Log().Is_Open());
}

TEST_F(Scene_Test, TitleEqualToTheContactLineIsNotShown)
{
    Select_Playback_Backend(Null_Playback_Factory(std::make_shared<Virtual_Tracks>()));
    Live_Settings().Music_On = 1;
    Live_Settings().Titles_On = 1;
    Scene app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    std::snprintf(MP3::Title, sizeof MP3::Title, "%s", Contact_Line);
    ASSERT_EQ(app.FrameMove(0), S_OK);
    EXPECT_EQ(Titles.Fade_State, Titles_Image::Hidden);
    EXPECT_EQ(Program_Scene_State().Titles_Pending, 0);

    Program_Scene_State().Titles_Pending = 1;
    std::snprintf(MP3::Title, sizeof MP3::Title, "%s", "Nocturne");
    ASSERT_EQ(app.FrameMove(0), S_OK);
    EXPECT_EQ(Titles.Fade_State, Titles_Image::Fading_In);
    DestroyWindow(app.Window);
    Select_Playback_Backend(nullptr);
}

TEST_F(Scene_Test, RebuildDrawsFollowTheSceneOrder)
{
    using K = Kaleidoscope;
    Live_Settings().Symbols_On = 0;
    Scene app;
    ASSERT_EQ(app.Create(nullptr, ""), S_OK);
    const double fade = View_Of(Live_Settings()).Fade_Interval;
    auto shown = [](const std::string& name) {
        return name.find("/Backdrop/") != std::string::npos ? std::string("backdrop") : name;
    };
    auto texture_draw = [](int k, const std::string& current) {
        int r = Random::rand() % 10;
        return r <= 5   ? std::string("PlasmaTexture")
               : r <= 8 ? std::string("SineTexture")
               : k      ? "GradientTexture"
                        : current;
    };
    int backdrops = 0;
    for (int round = 0; round < 40; ++round) {
        // Every layer rebuilt, every layer on the plasma, whose animation draws nothing.
        for (int layer = 0; layer < 3; ++layer)
            K::Rebuild[layer] = 1;
        for (char* name : {app.Background_Texture, app.Midground_Texture, app.Foreground_Texture}) {
            std::strcpy(name, "PlasmaTexture");
        }
        const uint32_t before = Program_Random().Current_State();
        const Titles_Image titles_before = Titles;
        const Wall_Image wall_before = D3DWall;
        const float direction_before = Program_Scene_State().Rotation_Direction;
        const double dt = app.Frame_Timer.elapsed_seconds;
        ASSERT_EQ(app.FrameMove(0), S_OK);
        const std::string background = shown(app.Background_Texture),
                          midground = shown(app.Midground_Texture),
                          foreground = shown(app.Foreground_Texture);
        const float direction = Program_Scene_State().Rotation_Direction;

        // The same frame by hand: the image fades (which may draw), then steps 6 to 8.
        const uint32_t after = Program_Random().Current_State();
        const Wall_Image wall_after = D3DWall;
        Program_Random().Seed(before);
        Titles = titles_before;
        D3DWall = wall_before;
        Titles.Update_Fade(fade * 0.25, dt);
        D3DWall.Fade(fade, dt);
        char picked[260];
        std::string expected_background = "PlasmaTexture";
        int k = K::Select_Random_Symmetry(app.Device, K::Background);
        if (k == 0 && Random::rand() % 10 < 8) {
            ASSERT_TRUE(D3DWall.Select_Random_Backdrop(picked));
            expected_background = "backdrop";
        } else {
            expected_background = texture_draw(k, expected_background);
        }
        k = K::Select_Random_Symmetry(app.Device, K::Midground);
        const std::string expected_midground = texture_draw(k, "PlasmaTexture");
        float expected_direction = direction_before;
        if (Random::rand() % 2 == 1)
            expected_direction = -expected_direction;
        k = K::Select_Random_Symmetry(app.Device, K::Foreground);
        std::string expected_foreground = "PlasmaTexture";
        if (expected_background != "backdrop" && k < 6 && Random::rand() % 10 < 2) {
            ASSERT_TRUE(D3DWall.Select_Random_Backdrop(picked));
            expected_foreground = "backdrop";
        } else {
            expected_foreground = texture_draw(k, expected_foreground);
        }
        EXPECT_EQ(background, expected_background) << round;
        EXPECT_EQ(midground, expected_midground) << round;
        EXPECT_EQ(foreground, expected_foreground) << round;
        EXPECT_EQ(direction, expected_direction) << round;
        backdrops += (background == "backdrop") + (foreground == "backdrop");
        // Steps 9 and 10 follow: let the scene's own frame stand.
        Program_Random().Seed(after);
        D3DWall = wall_after;
    }
    EXPECT_GT(backdrops, 0);
    DestroyWindow(app.Window);
}

} // namespace
