// Any bytes as the settings file of a whole program run: a saver run or a configuration run
// (by the first byte) of 30 frames on the headless window system, with the default data, a
// 16 x 12 screen (cheap frames under the sanitizers), a manual clock and silent music. It ends
// through its message loop, with the saver flag cleared and, after a configuration run, a whole
// settings record saved.
#include "../app/program_objects.h"
#include "app/win_main.h"
#include "fuzz_input.h"
#include "platform/audio/null_playback.h"
#include "platform/graphics/display_modes.h"
#include "platform/system/clock.h"
#include "platform/system/command_line.h"
#include "platform/system/display_mode.h"
#include "platform/system/message_box.h"
#include "platform/system/saver_flag.h"
#include "platform/window/headless/headless_backend.h"
#include "settings/settings_file.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr int Frames = 30;

const fs::path& Product_Folder()
{
    static const fs::path folder = [] {
        const fs::path home = fs::path(fuzz::Private_Folder()) / "data";
        fs::create_directory(home);
        fs::copy(LUCIVANTA_BUILD_DATA_DIR, home / "Lucivanta", fs::copy_options::recursive);
        fs::create_directory(home / "Lucivanta/MP3");
        fs::create_directory(fs::path(fuzz::Private_Folder()) / "runtime");
        if (::setenv("XDG_DATA_HOME", home.c_str(), 1) != 0 ||
            ::setenv("XDG_RUNTIME_DIR", (fs::path(fuzz::Private_Folder()) / "runtime").c_str(), 1) != 0)
            std::abort();
        return home / "Lucivanta";
    }();
    return folder;
}

// The only full-screen modes: the saver's device takes the first mode when the default one is
// missing, so it renders at the tiny desktop's size and not at 640 x 480 or more.
class Tiny_Modes : public Screen_Mode_List {
public:
    std::vector<Screen_Mode> Modes() override { return {{16, 12, 16, 60}, {16, 12, 32, 60}}; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const fs::path& product = Product_Folder();
    const bool configuration = (data[0] & 1) != 0;
    std::ofstream(product / "Settings.DAT", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    fs::remove(product / "error_log.txt");

    static Message_Box_Recorder boxes;
    static Tiny_Modes modes;
    boxes.Boxes.clear();
    Manual_Clock clock;
    Fixed_Display_Mode desktop(16, 12, 32);
    Select_Playback_Backend(Null_Playback_Factory(std::make_shared<Virtual_Tracks>()));
    Reset_Program_State();
    Reset_Settings_File();
    Set_Clock_Source(&clock);
    Set_Display_Mode_Source(&desktop);
    Set_Full_Screen_Mode_List(&modes);
    Set_Scene_Seed_Source([] { return 15u; });
    The_Headless_Backend().Screen = SIZE{16, 12};
    int turns = 0;
    The_Headless_Backend().On_Idle_Poll = [&] {
        clock.Advance_Milliseconds(20);
        if (++turns == Frames)
            PostMessageA(Program_Frame_State().Message_Receiver->Window, WM_CLOSE, 0, 0);
    };
    Set_Command_Line(configuration ? "lucivanta /c" : "lucivanta /s");
    Win_Main(nullptr, nullptr, GetCommandLineA(), 1);

    if (Saver_Flag_Is_Set())
        std::abort();
    std::error_code error;
    if (configuration && turns >= Frames &&
        fs::file_size(product / "Settings.DAT", error) != Settings_File_Size)
        std::abort();
    Set_Scene_Seed_Source(nullptr);
    Set_Clock_Source(nullptr);
    Set_Display_Mode_Source(nullptr);
    Set_Full_Screen_Mode_List(nullptr);
    Install_Window_System(nullptr);
    Reset_Command_Line();
    Reset_Settings_File();
    Set_Command_Line("");
    return 0;
}
