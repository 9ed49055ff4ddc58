// Wall images and backdrops that are missing, damaged or absurdly large, through the scene as
// lucivanta-render runs it in simulated time (the program itself holds each wall image for 20
// seconds and more, so two frames a simulated second reach the bad file soon enough even in an
// instrumented build on a loaded machine): the scene's report, an orderly end, the files left
// as they were.
#include "fault_fixture.h"

#include <functional>

namespace fault {
namespace {

using test_support::Read_File;
using test_support::Write_File;

// A bitmap file header and info header of a plausible 256 × 256 image, then nothing.
std::string Bitmap_Headers()
{
    const std::string logo = Read_File(std::string(LUCIVANTA_BUILD_DATA_DIR) + "/Lucivanta.bmp");
    return logo.substr(0, 54);
}

struct Image_Case {
    const char* Name;
    const char* Folder; // the folder made bad: "Images" or "Backdrop"
    std::function<void(const fs::path& folder)> Make;
    const char* Report;
};

const Image_Case Cases[] = {
    {"ImagesEmpty", "Images", [](const fs::path&) {}, "Select_Random_Image(): Count_Files_In_Folder FAILED"},
    {"ImagesCorrupt", "Images",
     [](const fs::path& folder) {
         Write_File((folder / "Broken.bmp").string(), Bitmap_Headers() + std::string(1000, '\x7F'));
         Write_File((folder / "Text.BMP").string(), "not a bitmap");
     },
     "Main-FrameMove(): D3DTextr_CreateTextureFromFile"},
    {"ImagesHuge", "Images", // 64 GiB, sparse: refused before anything is read
     [](const fs::path& folder) {
         Write_File((folder / "Huge.bmp").string(), Bitmap_Headers());
         fs::resize_file(folder / "Huge.bmp", 64ull << 30);
     },
     "Main-FrameMove(): D3DTextr_CreateTextureFromFile"},
    {"BackdropsCorrupt", "Backdrop",
     [](const fs::path& folder) { Write_File((folder / "Broken.bmp").string(), Bitmap_Headers()); },
     "Backdrop/Broken.bmp FAILED with return code"},
};

void PrintTo(const Image_Case& scenario, std::ostream* out)
{
    *out << scenario.Name;
}

class Image_Faults : public Fault_Test, public ::testing::WithParamInterface<Image_Case> {};

TEST_P(Image_Faults, SceneReportsAndEndsInOrder)
{
    const Image_Case& scenario = GetParam();
    const fs::path data = Home.Path() / "images";
    fs::copy(LUCIVANTA_BUILD_DATA_DIR, data, fs::copy_options::recursive);
    fs::remove_all(data / scenario.Folder);
    fs::create_directory(data / scenario.Folder);
    scenario.Make(data / scenario.Folder);
    const std::string log = (Home.Path() / "log.txt").string();
    Program_Run run(LUCIVANTA_RENDER_TOOL,
                    {"--quiet", "--size", "96x72", "--fps", "2", "--duration", "1500", "--data",
                     data.string(), "--log", log, "--output", (Home.Path() / "out.png").string()},
                    Data_Home.string(), Runtime.string());
    const Program_End end = run.Wait_For_End(Start_Bound * 4);
    Expect_Orderly_End(end, "");
    EXPECT_NE(Read_File(log).find(scenario.Report), std::string::npos) << Read_File(log);
    EXPECT_FALSE(fs::exists(Home.Path() / "out.png")) << "the scene did not end the run";
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Image_Faults, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace fault
