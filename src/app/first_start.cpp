// Creating the product folder from the installed default data on the first start.
#include "app/first_start.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <pthread.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// "<product>.partial-<pid>" beside the product folder: the copy of one start in progress.
std::string Partial_Prefix(const fs::path& target)
{
    return target.filename().string() + ".partial-";
}

bool Process_Is_Gone(const std::string& digits)
{
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const pid_t pid = static_cast<pid_t>(std::stol(digits));
    return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
}

// A start killed during its copy (SIGKILL, a crash, a power cut) leaves its partial folder;
// the next start removes those whose process no longer lives.
void Remove_Stale_Partial_Copies(const fs::path& target)
{
    const std::string prefix = Partial_Prefix(target);
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(target.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix) && Process_Is_Gone(name.substr(prefix.size()))) {
            std::error_code ignored;
            fs::remove_all(entry.path(), ignored);
        }
    }
}

// Termination requests wait while the copy runs and arrive once it is renamed into place or
// removed, so an interrupted first start never leaves a partial copy behind.
class Termination_Held {
public:
    Termination_Held()
    {
        sigset_t held;
        sigemptyset(&held);
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            sigaddset(&held, signal);
        pthread_sigmask(SIG_BLOCK, &held, &Previous);
    }
    ~Termination_Held() { pthread_sigmask(SIG_SETMASK, &Previous, nullptr); }
    Termination_Held(const Termination_Held&) = delete;
    Termination_Held& operator=(const Termination_Held&) = delete;

private:
    sigset_t Previous;
};

} // namespace

std::string Find_Installed_Data(const std::vector<std::string>& candidates)
{
    for (const std::string& candidate : candidates) {
        std::error_code error;
        if (!candidate.empty() && fs::is_regular_file(fs::path(candidate) / "Lucivanta.bmp", error)) {
            return candidate;
        }
    }
    return "";
}

First_Start_Result Install_Default_Data(const std::string& product_folder, const std::string& installed_data)
{
    std::error_code error;
    const fs::path target(product_folder);
    Remove_Stale_Partial_Copies(target);
    if (fs::symlink_status(target, error).type() != fs::file_type::not_found) {
        return First_Start_Result::Already_There;
    }
    if (installed_data.empty()) {
        return First_Start_Result::No_Installed_Data;
    }
    const Termination_Held held;
    const fs::path partial = target.parent_path() / (Partial_Prefix(target) + std::to_string(::getpid()));
    fs::remove_all(partial, error);
    error.clear();
    fs::create_directories(partial, error);
    if (!error) {
        fs::copy(installed_data, partial, fs::copy_options::recursive | fs::copy_options::skip_symlinks,
                 error);
    }
    if (!error) {
        fs::create_directories(partial / "MP3", error);
    }
    if (!error) {
        fs::rename(partial, target, error);
    }
    if (error) {
        std::error_code ignored;
        fs::remove_all(partial, ignored);
        return First_Start_Result::Failed;
    }
    return First_Start_Result::Created;
}
