// Driving the scene headless: a private data directory (so the user's folder, settings and log
// are never touched), a manual clock, the desktop mode of the requested size and depth, silent
// audio, and the frame loop of the application frame with a hook between frames that advances
// the clock, writes pictures and ends the run.
#include "render_run.h"

#include "app/command_line.h"
#include "app/first_start.h"
#include "app/scene.h"
#include "app/win_main.h"
#include "d3dframe/d3dframe.h"
#include "log/error_log.h"
#include "platform/audio/null_playback.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/raster/span_drawing.h"
#include "platform/system/clock.h"
#include "platform/system/display_mode.h"
#include "platform/video/video_file.h"
#include "platform/window/frame_png.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_backends.h"
#include "settings/settings_file.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <time.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The scene, counting the frames it has drawn.
class Counting_Scene : public Scene {
public:
    long Rendered = 0;
    HRESULT Render() override
    {
        HRESULT hr = Scene::Render();
        Rendered += SUCCEEDED(hr) ? 1 : 0;
        return hr;
    }
};

std::string Default_Data_Folder()
{
    std::vector<std::string> candidates;
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        candidates.push_back((program.parent_path().parent_path() / "share/lucivanta").string());
    }
    candidates.push_back(LUCIVANTA_INSTALLED_DATA);
    candidates.push_back(LUCIVANTA_BUILD_DATA);
    return Find_Installed_Data(candidates);
}

// A data directory of the run's own whose product folder links to the data's pictures.
std::string Make_Private_Data_Directory(const std::string& data)
{
    char pattern[] = "/tmp/lucivanta-render-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return "";
    }
    const fs::path product = fs::path(pattern) / "Lucivanta";
    std::error_code error;
    fs::create_directory(product, error);
    fs::create_directory(product / "MP3", error);
    for (const char* name : {"Lucivanta.bmp", "Images", "Backdrop"}) {
        const fs::path source = fs::absolute(fs::path(data) / name, error);
        if (fs::exists(source, error)) {
            fs::create_symlink(source, product / name, error);
        }
    }
    return pattern;
}

std::string Read_Text(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool Write_Frame(const std::string& path, Counting_Scene& app)
{
    if (app.Render_Target == nullptr || !Write_Frame_Png(path, Frame_Pixels_Of(app.Render_Target))) {
        std::fprintf(stderr, "lucivanta-render: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// Accepts only the device asked for, among those the scene itself accepts.
const GUID* Wanted_Device = nullptr;
HRESULT Only_Wanted_Device(DDCAPS* driver, D3DDEVICEDESC7* desc)
{
    if (FAILED(Scene_Device_Test(driver, desc))) {
        return E_FAIL;
    }
    return desc->deviceGUID == *Wanted_Device ? S_OK : E_FAIL;
}

struct Run_State {
    long Total = 0;
    long Advanced = 0;
    long Seen = 0;
    bool Output_Written = false;
    bool Failed = false;
    double Frame_Seconds = 0;
    double Frame_Cpu_Seconds = 0; // of every thread of the process, the rasterizer's workers too
    std::chrono::steady_clock::time_point Frame_Start;
    double Frame_Cpu_Start = 0;
    std::unique_ptr<Video_File> Video;
};

double Process_Cpu_Seconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// Appends the frame just drawn to the video, which the first frame starts.
bool Record_Video_Frame(Run_State& run, const Render_Options& options, Counting_Scene& app)
{
    std::string error;
    if (app.Render_Target == nullptr) {
        error = "no frame";
    } else if (run.Video == nullptr) {
        run.Video = Video_File::Create(options.Video, Frame_Pixels_Of(app.Render_Target),
                                       options.Frames_Per_Second, error);
    }
    if (run.Video != nullptr && error.empty() &&
        run.Video->Add_Frame(Frame_Pixels_Of(app.Render_Target), error))
        return true;
    std::fprintf(stderr, "\nlucivanta-render: cannot write %s: %s\n", options.Video.c_str(), error.c_str());
    run.Video = nullptr;
    return false;
}

// Ends the video of a run that drew all its frames and puts it in place.
bool Finish_Video(Run_State& run, const Render_Options& options)
{
    std::string error;
    if (run.Video->Finish(error)) {
        std::printf("%s\n", options.Video.c_str());
        return true;
    }
    std::fprintf(stderr, "lucivanta-render: cannot write %s: %s\n", options.Video.c_str(), error.c_str());
    return false;
}

} // namespace

int Run_Render(const Render_Options& options)
{
    const std::string data = options.Data_Folder.empty() ? Default_Data_Folder() : options.Data_Folder;
    if (data.empty()) {
        std::fprintf(stderr, "lucivanta-render: no default data found; give a folder with --data\n");
        return 1;
    }
    const std::string home = Make_Private_Data_Directory(data);
    if (home.empty()) {
        std::fprintf(stderr, "lucivanta-render: cannot make a temporary folder\n");
        return 1;
    }
    setenv("XDG_DATA_HOME", home.c_str(), 1);
    if (!options.Frames_Folder.empty()) {
        std::error_code error;
        fs::create_directories(options.Frames_Folder, error);
    }

    Manual_Clock clock;
    Set_Clock_Source(&clock);
    Fixed_Display_Mode desktop(options.Width, options.Height, options.Depth);
    Set_Display_Mode_Source(&desktop);
    Select_Playback_Backend(Null_Playback_Factory(std::make_shared<Virtual_Tracks>()));
    // Headless and unpaced: the frames come as fast as they are drawn.
    Start_Window_System("headless");
    Headless_Backend& windows = The_Headless_Backend();
    windows.Frames_Per_Second = 0;
    windows.Live = false;
    windows.Keep_Frames = false; // the frames are read from the device's target
    windows.Screen = SIZE{options.Width, options.Height};

    // As the entry would, except that the user's settings are not read: defaults, no music.
    Command_Line().Mode = Mode_Unrecognised;
    Open_Program_Log();
    Program_Settings_File().Set_Defaults();
    Live_Settings().Music_On = 0;
    Set_Scene_Seed_Source([seed = options.Seed] { return static_cast<uint32_t>(seed); });

    Counting_Scene app;
    Wanted_Device = options.Device == "reference" ? &IID_IDirect3DRefDevice : &IID_IDirect3DRGBDevice;
    app.Device_Test = Only_Wanted_Device;
    if (!options.Kernel.empty())
        Raster::Force_Span_Kernel(options.Kernel);
    int exit_code = 0;
    if (FAILED(app.Create(nullptr, ""))) {
        std::fprintf(stderr, "lucivanta-render: the scene could not be created\n");
        exit_code = 1;
    } else {
        // The window takes the picture's size; the frame rebuilds its device for it.
        SetWindowPos(app.Window, nullptr, 0, 0, options.Width, options.Height, SWP_NOZORDER);
        Run_State run;
        run.Total = static_cast<long>(options.Duration * options.Frames_Per_Second + 0.5);
        const double step_ms = 1000.0 / options.Frames_Per_Second;
        windows.On_Idle_Poll = [&] {
            if (app.Rendered > run.Seen) {
                run.Seen = app.Rendered;
                run.Frame_Seconds +=
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - run.Frame_Start).count();
                run.Frame_Cpu_Seconds += Process_Cpu_Seconds() - run.Frame_Cpu_Start;
                if (!options.Video.empty()) {
                    run.Failed |= !Record_Video_Frame(run, options, app);
                }
                if (options.Every > 0 && run.Seen % options.Every == 0) {
                    char name[32];
                    std::snprintf(name, sizeof name, "frame_%06ld.png", run.Seen);
                    run.Failed |= !Write_Frame((fs::path(options.Frames_Folder) / name).string(), app);
                }
                if (!options.Quiet && (run.Seen % 10 == 0 || run.Seen == run.Total)) {
                    std::fprintf(stderr, "\rframe %ld/%ld (%3.0f %%)  %.1f s  %.2f ms/frame", run.Seen,
                                 run.Total, 100.0 * run.Seen / run.Total,
                                 run.Seen / options.Frames_Per_Second, 1000.0 * run.Frame_Seconds / run.Seen);
                }
            }
            if (app.Rendered >= run.Total || run.Failed) {
                if (!run.Output_Written && !run.Failed && run.Seen > 0) {
                    run.Output_Written = true;
                    run.Failed |= !options.Output.empty() && !Write_Frame(options.Output, app);
                }
                PostMessageA(app.Window, WM_CLOSE, 0, 0);
                return;
            }
            if (app.Rendered == run.Advanced) {
                clock.Advance_Milliseconds(step_ms);
                run.Advanced += 1;
                run.Frame_Start = std::chrono::steady_clock::now();
                run.Frame_Cpu_Start = Process_Cpu_Seconds();
            }
        };
        if (run.Total == 0) {
            PostMessageA(app.Window, WM_CLOSE, 0, 0);
        }
        app.Message_Loop();
        windows.On_Idle_Poll = nullptr;
        if (!options.Quiet && run.Seen > 0) {
            std::fprintf(stderr, "\n");
        }
        if (run.Seen > 0) {
            const std::string kernel = options.Kernel.empty() ? "" : " (span kernel " + options.Kernel + ")";
            std::fprintf(
                stderr,
                "rendered %ld frames of %dx%dx%d on the %s device%s: %.2f ms/frame, %.2f ms of CPU a "
                "frame\n",
                run.Seen, options.Width, options.Height, options.Depth, options.Device.c_str(),
                kernel.c_str(), 1000.0 * run.Frame_Seconds / run.Seen,
                1000.0 * run.Frame_Cpu_Seconds / run.Seen);
        }
        if (run.Failed) {
            // Said where it failed.
        } else if (run.Seen < run.Total) {
            std::fprintf(stderr, "the scene ended the run after %ld of %ld frames; its log:\n%s", run.Seen,
                         run.Total, Read_Text(fs::path(home) / "Lucivanta/error_log.txt").c_str());
        } else if (run.Output_Written) {
            if (!options.Output.empty())
                std::printf("%s\n", options.Output.c_str());
            if (run.Video != nullptr)
                run.Failed |= !Finish_Video(run, options);
        }
        exit_code = run.Failed ? 1 : 0;
    }
    Program_Error_Log().Close_Log();
    if (!options.Log_Copy.empty()) {
        std::error_code error;
        fs::copy_file(fs::path(home) / "Lucivanta/error_log.txt", options.Log_Copy,
                      fs::copy_options::overwrite_existing, error);
    }
    std::error_code error;
    fs::remove_all(home, error);
    Set_Clock_Source(nullptr);
    Set_Display_Mode_Source(nullptr);
    return exit_code;
}
