// The fault scenarios' shared ground.
#include "fault_fixture.h"

#include <cstring>
#include <thread>

namespace fault {

Fault_Test::Fault_Test()
{
    fs::create_directories(Data_Home);
    fs::create_directories(Runtime);
    fs::permissions(Runtime, fs::perms::owner_all);
}

void Fault_Test::Install_Product()
{
    fs::copy(LUCIVANTA_BUILD_DATA_DIR, Product(), fs::copy_options::recursive);
    fs::create_directory(Product() / "MP3");
}

std::unique_ptr<Program_Run> Fault_Test::Start(const std::vector<std::string>& arguments,
                                               long file_size_limit)
{
    return std::make_unique<Program_Run>(LUCIVANTA_PROGRAM, arguments, Data_Home.string(), Runtime.string(),
                                         file_size_limit);
}

Program_End Fault_Test::Run_Then_Signal(const std::vector<std::string>& arguments, int signal,
                                        long file_size_limit)
{
    auto run = Start(arguments, file_size_limit);
    const bool running = run->Wait_Until([&] { return fs::exists(Flag()); }, Start_Bound);
    if (running) {
        std::this_thread::sleep_for(200ms);
        run->Send(signal);
    }
    return run->Wait_For_End(End_Bound);
}

void Expect_Orderly_End(const Program_End& end, const std::string& flag)
{
    EXPECT_TRUE(end.Ended) << "still running at the bound";
    EXPECT_EQ(end.Signal, 0) << end.Error_Output;
    EXPECT_EQ(end.Exit_Code, 0) << end.Error_Output;
    EXPECT_FALSE(fs::exists(flag)) << "saver flag left behind";
    EXPECT_EQ(end.Error_Output.find("runtime error"), std::string::npos) << end.Error_Output;
    EXPECT_EQ(end.Error_Output.find("Sanitizer"), std::string::npos) << end.Error_Output;
}

std::string User_Settings()
{
    std::string record(328, '\0');
    const double fade = 0.05, rotation = 0.3, density = 0.5;
    std::memcpy(&record[8], &fade, 8);
    std::memcpy(&record[16], &rotation, 8);
    std::memcpy(&record[40], &density, 8);
    record[24] = 0; // no music: the scenarios about music say so themselves
    record[25] = 1;
    record[28] = 7;
    record[32] = 20;
    const float interference = 5.5f;
    std::memcpy(&record[48], &interference, 4);
    std::memset(&record[56], 0x90, 4);
    record[61] = 1; // plasma texture 256
    std::memcpy(&record[64], "/nowhere/", 10);
    record[326] = 'p'; // padding survives a save
    return record;
}

} // namespace fault
