// Creating the product folder from the installed default data on the first start.
#include "app/first_start.h"

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

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
    if (fs::symlink_status(target, error).type() != fs::file_type::not_found) {
        return First_Start_Result::Already_There;
    }
    if (installed_data.empty()) {
        return First_Start_Result::No_Installed_Data;
    }
    fs::path partial = target;
    partial += ".partial-" + std::to_string(::getpid());
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
