// Runs one of our programs as a separate process the way a user or a daemon would: a private
// product folder and runtime folder, standard error kept, an optional file-size limit (a file
// system that refuses to grow files), signals sent from outside, and the end awaited with a
// bound so that a hang fails the test instead of stalling it.
#pragma once

#include "temp_folder.h"

#include <chrono>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace fault {

struct Program_End {
    bool Ended = false; // false: still running at the bound, then killed
    int Exit_Code = -1; // when it exited
    int Signal = 0;     // when a signal ended it
    std::string Error_Output;
};

class Program_Run {
public:
    // `data_home` and `runtime` become XDG_DATA_HOME and XDG_RUNTIME_DIR of the child.
    Program_Run(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& data_home, const std::string& runtime, long file_size_limit = 0);
    ~Program_Run();
    Program_Run(const Program_Run&) = delete;
    Program_Run& operator=(const Program_Run&) = delete;

    // True once `ready` holds, false when the program ended or the bound passed first.
    bool Wait_Until(const std::function<bool()>& ready, std::chrono::milliseconds bound);
    void Send(int signal) const;
    Program_End Wait_For_End(std::chrono::milliseconds bound);
    bool Running();

private:
    test_support::Temp_Folder Output;
    pid_t Pid = -1;
    int Status = 0;
    bool Reaped = false;
};

// The saver-running flag of this user in `runtime`: set while a program of ours runs.
std::string Saver_Flag_In(const std::string& runtime);

} // namespace fault
