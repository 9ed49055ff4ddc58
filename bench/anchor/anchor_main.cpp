// bench_anchor: the frame workload on the software device against Mesa's llvmpipe, the
// fastest rasterizer a Linux user has on the processor, measured in one run. llvmpipe reads
// its settings once per process, so each setting runs in a worker process of its own (this
// program again, with --gl-worker) that draws on request; the software device draws in this
// process. Rounds interleave all contestants at every size, so a busy moment of
// the machine touches them alike; the table gives each median and the ratio to llvmpipe's best.
//
//   bench_anchor [--rounds N] [--kernel NAME]
//     --rounds: rounds of every contestant at every size (default 7)
//     --kernel: the software device draws with this span kernel only, to measure the ones a
//               processor without the fastest would take (the names are listed on error)
#include "anchor/gl_frame.h"
#include "platform/graphics/device_caps.h"
#include "platform/graphics/raster/span_drawing.h"
#include "workload/frame_workload.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Size {
    DWORD width, height;
};
constexpr Size Sizes[] = {{640, 480}, {1280, 720}, {1920, 1080}, {3840, 2160}};

// Frames of one measurement: about the same number of pixels at every size.
int Frames_For(Size size)
{
    return std::max(6, static_cast<int>(100.0 * 640 * 480 / (static_cast<double>(size.width) * size.height)));
}

// Milliseconds a frame: wall clock, and processor time of all the process's threads.
struct Timing {
    double wall = 0, cpu = 0;
};

double Cpu_Milliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return 1e3 * static_cast<double>(now.tv_sec) + 1e-6 * static_cast<double>(now.tv_nsec);
}

template <typename Draw> Timing Time_Frames(int frames, Draw&& draw)
{
    draw(); // warm: caches, first-use set-up
    double cpu = Cpu_Milliseconds();
    Clock::time_point start = Clock::now();
    for (int i = 0; i < frames; ++i)
        draw();
    return {std::chrono::duration<double, std::milli>(Clock::now() - start).count() / frames,
            (Cpu_Milliseconds() - cpu) / frames};
}

// --gl-worker: answers each request "width height frames" with "wall_ms cpu_ms mean_level".
int Run_Gl_Worker()
{
    std::string error;
    std::unique_ptr<anchor::Gl_Context> context = anchor::Gl_Context::Open(error);
    if (!context) {
        std::printf("failed %s\n", error.c_str());
        return 1;
    }
    std::printf("ready %s\n", context->Renderer().c_str());
    std::fflush(stdout);
    std::unique_ptr<anchor::Gl_Frame> frame;
    unsigned width, height;
    int count;
    while (std::scanf("%u %u %d", &width, &height, &count) == 3) {
        if (!frame || frame->Width() != width || frame->Height() != height) {
            frame.reset();
            frame = std::make_unique<anchor::Gl_Frame>(width, height);
        }
        Timing timing = Time_Frames(count, [&] { frame->Draw(); });
        std::printf("%.4f %.4f %.4f\n", timing.wall, timing.cpu, frame->Mean_Level());
        std::fflush(stdout);
    }
    return 0;
}

class Gl_Worker {
public:
    Gl_Worker(const char* perf_setting) : setting_(perf_setting)
    {
        int to_child[2], from_child[2];
        if (pipe2(to_child, O_CLOEXEC) != 0 || pipe2(from_child, O_CLOEXEC) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(to_child[0], 0);
            dup2(from_child[1], 1);
            close(to_child[1]);
            close(from_child[0]);
            setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
            setenv("GALLIUM_DRIVER", "llvmpipe", 1);
            setenv("LP_NUM_THREADS", "2", 1);
            if (*perf_setting)
                setenv("LP_PERF", perf_setting, 1);
            else
                unsetenv("LP_PERF");
            execl("/proc/self/exe", "bench_anchor", "--gl-worker", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(to_child[0]);
        close(from_child[1]);
        requests_ = fdopen(to_child[1], "w");
        answers_ = fdopen(from_child[0], "r");
        char line[256] = "";
        if (answers_ && std::fgets(line, sizeof line, answers_) && std::strncmp(line, "ready ", 6) == 0) {
            renderer_ = line + 6;
            renderer_.erase(renderer_.find_last_not_of('\n') + 1);
        } else {
            renderer_ = std::string("(no context: ") + line + ")";
        }
    }
    ~Gl_Worker()
    {
        if (requests_)
            std::fclose(requests_);
        if (answers_)
            std::fclose(answers_);
        if (pid_ > 0)
            waitpid(pid_, nullptr, 0); // the worker ends at the end of its requests
    }
    bool Ready() const { return renderer_.find("llvmpipe") != std::string::npos; }
    const std::string& Renderer() const { return renderer_; }
    std::string Name() const { return std::string("llvmpipe LP_PERF=") + (*setting_ ? setting_ : "(unset)"); }

    // The time of a frame, and the mean channel level of the picture in level.
    Timing Measure(Size size, int frames, double& level)
    {
        std::fprintf(requests_, "%u %u %d\n", size.width, size.height, frames);
        std::fflush(requests_);
        Timing timing;
        if (std::fscanf(answers_, "%lf %lf %lf", &timing.wall, &timing.cpu, &level) != 3)
            return {-1, -1};
        return timing;
    }

private:
    const char* setting_;
    pid_t pid_ = -1;
    FILE* requests_ = nullptr;
    FILE* answers_ = nullptr;
    std::string renderer_;
};

double Mean_Level(const IDirectDrawSurface7& target)
{
    double sum = 0;
    for (DWORD y = 0; y < target.Height(); ++y)
        for (DWORD x = 0; x < target.Width(); ++x) {
            const uint8_t* pixel = target.Bits() + y * target.Pitch() + x * 4;
            sum += pixel[0] + pixel[1] + pixel[2];
        }
    return sum / (3.0 * target.Width() * target.Height());
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

void Print_Table(const char* clock, int rounds, const std::vector<std::unique_ptr<Gl_Worker>>& workers,
                 const std::vector<std::vector<std::vector<double>>>& figures,
                 const std::vector<std::vector<double>>& level)
{
    std::printf("\nmedian %s ms a frame of %d rounds (mean channel level of the picture in brackets)\n",
                clock, rounds);
    std::printf("%-11s %-18s", "size", "software device");
    for (const auto& worker : workers)
        std::printf("  %-28s", worker->Name().c_str());
    std::printf("  %s\n", "llvmpipe's best / software");
    for (size_t s = 0; s < std::size(Sizes); ++s) {
        char size[32];
        std::snprintf(size, sizeof size, "%ux%u", Sizes[s].width, Sizes[s].height);
        double soft = Median(figures[s][0]), best = 1e30;
        std::printf("%-11s %8.3f (%5.1f)   ", size, soft, level[s][0]);
        for (size_t c = 1; c < figures[s].size(); ++c) {
            double ms = Median(figures[s][c]);
            best = std::min(best, ms);
            std::printf("  %8.3f (%5.1f)%12s", ms, level[s][c], "");
        }
        std::printf("  %.2fx\n", best / soft);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--gl-worker") == 0)
        return Run_Gl_Worker();
    int rounds = 7;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 < argc && std::strcmp(argv[i], "--rounds") == 0) {
            rounds = std::max(1, std::atoi(argv[i + 1]));
        } else if (i + 1 < argc && std::strcmp(argv[i], "--kernel") == 0) {
            if (!Raster::Force_Span_Kernel(argv[i + 1])) {
                std::fprintf(stderr,
                             "bench_anchor: no span kernel \"%s\" on this processor; it has:", argv[i + 1]);
                for (const std::string& name : Raster::Span_Kernel_Names())
                    std::fprintf(stderr, " %s", name.c_str());
                std::fprintf(stderr, "\n");
                return 2;
            }
            std::printf("software device: span kernel %s only\n", argv[i + 1]);
        } else {
            std::fprintf(stderr, "usage: bench_anchor [--rounds N] [--kernel NAME]\n");
            return 2;
        }
    }

    const char* const settings[] = {"", "no_linear"};
    const size_t sizes = std::size(Sizes);
    std::vector<std::unique_ptr<Gl_Worker>> workers;
    for (const char* setting : settings) {
        workers.push_back(std::make_unique<Gl_Worker>(setting));
        std::printf("%-30s %s\n", workers.back()->Name().c_str(), workers.back()->Renderer().c_str());
        if (!workers.back()->Ready()) {
            std::fprintf(stderr, "bench_anchor: no llvmpipe through EGL surfaceless\n");
            return 1;
        }
    }
    const int contestants = 1 + static_cast<int>(std::size(settings));
    // wall[size][contestant], cpu[...]: one figure a round; contestant 0 is the software device.
    using Figures = std::vector<std::vector<std::vector<double>>>;
    Figures wall(sizes, std::vector<std::vector<double>>(contestants)), cpu = wall;
    std::vector<std::vector<double>> level(sizes, std::vector<double>(contestants));
    std::vector<std::unique_ptr<workload::Device_Frame>> software;
    for (Size size : Sizes)
        software.push_back(std::make_unique<workload::Device_Frame>(IID_IDirect3DRGBDevice, size.width,
                                                                    size.height, Pixel_Layout::X8R8G8B8));
    for (int round = 0; round < rounds; ++round) {
        std::fprintf(stderr, "\rround %d/%d", round + 1, rounds);
        for (size_t s = 0; s < sizes; ++s)
            for (int k = 0; k < contestants; ++k) {
                int c = (k + round) % contestants; // each contestant in each place in turn
                int frames = Frames_For(Sizes[s]);
                Timing timing;
                if (c == 0) {
                    timing = Time_Frames(frames, [&] { software[s]->Draw(); });
                    level[s][c] = Mean_Level(software[s]->Target());
                } else {
                    timing = workers[c - 1]->Measure(Sizes[s], frames, level[s][c]);
                }
                wall[s][c].push_back(timing.wall);
                cpu[s][c].push_back(timing.cpu);
            }
    }
    std::fprintf(stderr, "\n");
    Print_Table("wall-clock", rounds, workers, wall, level);
    Print_Table("processor (all threads)", rounds, workers, cpu, level);
    return 0;
}
