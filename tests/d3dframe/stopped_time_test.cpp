// A process stopped by SIGSTOP and continued (as screen-saver daemons pause savers) does not
// make the frame timer jump: the first frame after a one-second stop counts only a frame's
// time. The control run without the exclusion shows the stall, so the stop did happen.
#include "d3dframe/frame_timer.h"
#include "platform/system/clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Ticks = 40; // 10 ms apart

// In a child process: a frame loop that writes each frame's elapsed seconds into `out`.
[[noreturn]] void Run_Frame_Loop(int out, bool exclude_stopped, bool counter)
{
    if (exclude_stopped)
        Exclude_Stopped_Time();
    FrameTimer timer;
    timer.Start(counter);
    for (int i = 0; i < Ticks; ++i) {
        usleep(10000);
        timer.Tick();
        if (write(out, &timer.elapsed_seconds, sizeof(double)) != sizeof(double))
            _exit(2);
    }
    _exit(0);
}

bool Read_Tick(int in, std::vector<double>& ticks)
{
    double elapsed = 0;
    if (read(in, &elapsed, sizeof elapsed) != sizeof elapsed)
        return false;
    ticks.push_back(elapsed);
    return true;
}

// The longest frame of a run that is stopped for one second after its 20th frame.
double Longest_Frame_Across_A_Stop(bool exclude_stopped, bool counter)
{
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(pipe_ends[0]);
        Run_Frame_Loop(pipe_ends[1], exclude_stopped, counter);
    }
    close(pipe_ends[1]);
    std::vector<double> ticks;
    while (ticks.size() < 20 && Read_Tick(pipe_ends[0], ticks)) {
    }
    kill(child, SIGSTOP);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    kill(child, SIGCONT);
    while (Read_Tick(pipe_ends[0], ticks)) {
    }
    close(pipe_ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || ticks.size() != Ticks)
        return -1;
    return *std::max_element(ticks.begin(), ticks.end());
}

TEST(Stopped_Time, FirstFrameAfterAStopAdvancesByAFrameOnly)
{
    struct Case {
        bool Exclude, Counter;
        double Low, High;
    };
    for (const Case& c :
         {Case{true, true, 0.0, 0.1}, Case{true, false, 0.0, 0.1}, Case{false, true, 0.9, 5.0}}) {
        const double longest = Longest_Frame_Across_A_Stop(c.Exclude, c.Counter);
        EXPECT_GE(longest, c.Low) << "exclude " << c.Exclude << ", counter " << c.Counter;
        EXPECT_LE(longest, c.High) << "exclude " << c.Exclude << ", counter " << c.Counter;
    }
}

} // namespace
