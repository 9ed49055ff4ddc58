// The ground every fault scenario stands on: a private home with the product folder made from
// the build's default data, the program run in it, and the checks that nothing was lost.
#pragma once

#include "program_run.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fault {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Generous bounds: a sanitizer build starts slowly on a busy machine; a hang still fails.
inline constexpr auto Start_Bound = 60s;
inline constexpr auto End_Bound = 10s;

class Fault_Test : public ::testing::Test {
public: // the scenario tables prepare and check through it
    Fault_Test();

    fs::path Product() const { return Data_Home / "Lucivanta"; }
    fs::path Settings_Path() const { return Product() / "Settings.DAT"; }
    std::string Log() const { return test_support::Read_File((Product() / "error_log.txt").string()); }
    std::string Flag() const { return Saver_Flag_In(Runtime.string()); }
    void Install_Product();

    std::unique_ptr<Program_Run> Start(const std::vector<std::string>& arguments, long file_size_limit = 0);
    // Starts the program, waits until it runs (its saver flag is set), lets it draw a few
    // frames, sends `signal` and waits for its end.
    Program_End Run_Then_Signal(const std::vector<std::string>& arguments, int signal,
                                long file_size_limit = 0);

    test_support::Temp_Folder Home;
    fs::path Data_Home = Home.Path() / "data";
    fs::path Runtime = Home.Path() / "run";
};

// The program ended by itself or by the request, with status 0, and left no saver flag.
void Expect_Orderly_End(const Program_End& end, const std::string& flag);

// A 328-byte settings record with values a user could have chosen: what must not be lost.
std::string User_Settings();

} // namespace fault
