// Temporary folders and environment guards for the tests.
#include "temp_folder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace test_support {

Temp_Folder::Temp_Folder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "lucivanta-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    Root = pattern;
}

Temp_Folder::~Temp_Folder()
{
    std::error_code ignored;
    std::filesystem::remove_all(Root, ignored);
}

Env_Guard::Env_Guard(const char* name, const std::string& value) : Name(name)
{
    if (const char* old = std::getenv(name))
        Previous = old;
    setenv(name, value.c_str(), 1);
}

Env_Guard::~Env_Guard()
{
    if (Previous)
        setenv(Name.c_str(), Previous->c_str(), 1);
    else
        unsetenv(Name.c_str());
}

std::string Read_File(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write_File(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace test_support
