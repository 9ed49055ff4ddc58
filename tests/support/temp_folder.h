// A temporary folder for one test, removed with everything in it when the test ends, and a
// guard that points an environment variable elsewhere for the life of a test.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace test_support {

class Temp_Folder {
public:
    Temp_Folder();
    ~Temp_Folder();
    Temp_Folder(const Temp_Folder&) = delete;
    Temp_Folder& operator=(const Temp_Folder&) = delete;

    const std::filesystem::path& Path() const { return Root; }
    std::string operator/(const std::string& name) const { return (Root / name).string(); }

private:
    std::filesystem::path Root;
};

class Env_Guard {
public:
    Env_Guard(const char* name, const std::string& value);
    ~Env_Guard();
    Env_Guard(const Env_Guard&) = delete;
    Env_Guard& operator=(const Env_Guard&) = delete;

private:
    std::string Name;
    std::optional<std::string> Previous;
};

// Whole file as bytes; empty when it cannot be read.
std::string Read_File(const std::string& path);
void Write_File(const std::string& path, const std::string& bytes);

} // namespace test_support
