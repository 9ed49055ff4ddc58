// Starting, signalling and awaiting a program under test.
#include "program_run.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fault {

namespace {

// The caller's environment without the switches that would change the run under test.
std::vector<std::string> Child_Environment(const std::string& data_home, const std::string& runtime)
{
    std::vector<std::string> result;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (name != "XDG_DATA_HOME" && name != "XDG_RUNTIME_DIR" && name != "LUCIVANTA_BACKEND" &&
            name != "LUCIVANTA_TRACE")
            result.push_back(text);
    }
    result.push_back("XDG_DATA_HOME=" + data_home);
    result.push_back("XDG_RUNTIME_DIR=" + runtime);
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

Program_Run::Program_Run(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& data_home, const std::string& runtime, long file_size_limit)
{
    std::vector<std::string> argv_texts{program};
    argv_texts.insert(argv_texts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> env_texts = Child_Environment(data_home, runtime);
    std::vector<char*> argv = Pointers(argv_texts);
    std::vector<char*> envp = Pointers(env_texts);
    const std::string output = Output / "stderr.txt";
    const int error_file = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    Pid = ::fork();
    if (Pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::dup2(error_file, STDERR_FILENO);
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        if (file_size_limit > 0) {
            // Writes past the limit fail with EFBIG, as on a full disk, instead of killing.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(file_size_limit), static_cast<rlim_t>(file_size_limit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(error_file);
}

Program_Run::~Program_Run()
{
    if (Running()) {
        ::kill(Pid, SIGKILL);
        ::waitpid(Pid, &Status, 0);
    }
}

bool Program_Run::Running()
{
    if (Pid <= 0 || Reaped)
        return false;
    if (::waitpid(Pid, &Status, WNOHANG) == Pid)
        Reaped = true;
    return !Reaped;
}

bool Program_Run::Wait_Until(const std::function<bool()>& ready, std::chrono::milliseconds bound)
{
    const auto end = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < end) {
        if (ready())
            return true;
        if (!Running())
            return ready();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

void Program_Run::Send(int signal) const
{
    ::kill(Pid, signal);
}

Program_End Program_Run::Wait_For_End(std::chrono::milliseconds bound)
{
    Program_End end;
    Wait_Until([] { return false; }, bound);
    if (Running()) {
        ::kill(Pid, SIGKILL);
        ::waitpid(Pid, &Status, 0);
        Reaped = true;
    } else {
        end.Ended = true;
        if (WIFEXITED(Status))
            end.Exit_Code = WEXITSTATUS(Status);
        if (WIFSIGNALED(Status))
            end.Signal = WTERMSIG(Status);
    }
    end.Error_Output = test_support::Read_File(Output / "stderr.txt");
    return end;
}

std::string Saver_Flag_In(const std::string& runtime)
{
    return runtime + "/lucivanta-saver-running-" + std::to_string(::getuid());
}

} // namespace fault
