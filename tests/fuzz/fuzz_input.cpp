// The fuzz targets' private folder and input file.
#include "fuzz_input.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fuzz {

const std::string& Private_Folder()
{
    static const std::string folder = [] {
        const char* temp = std::getenv("TMPDIR");
        std::string pattern =
            std::string(temp != nullptr && *temp != '\0' ? temp : "/tmp") + "/lucivanta-fuzz-XXXXXX";
        const char* made = ::mkdtemp(pattern.data());
        if (made == nullptr)
            std::abort();
        // The folder goes when the fuzzer ends, however many inputs it ran.
        static const std::string kept = made;
        std::atexit([] { std::filesystem::remove_all(kept); });
        return kept;
    }();
    return folder;
}

std::string Write_Input_File(const uint8_t* data, std::size_t size, const char* suffix)
{
    const std::string path = Private_Folder() + "/input" + suffix;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();
    return path;
}

} // namespace fuzz
