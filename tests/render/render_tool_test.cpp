// lucivanta-render end to end: the real scene written as PNG files. A picture with the
// layers in it, byte-identical for the same arguments and for both devices, and an orderly end
// with the scene's log lines when the wall images are missing.
#include "platform/graphics/raster/span_drawing.h"
#include "png_read.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using test_support::Read_File;
using test_support::Read_Png_Rgb;
using test_support::Temp_Folder;

namespace {

struct Result {
    int Exit_Code = -1;
    std::string Out;
    std::string Err;
};

Result Render(const Temp_Folder& folder, const std::string& arguments)
{
    const std::string out = folder / "stdout.txt", err = folder / "stderr.txt";
    const std::string command =
        std::string(LUCIVANTA_RENDER_TOOL) + " --quiet " + arguments + " >" + out + " 2>" + err;
    int status = std::system(command.c_str());
    Result result;
    result.Exit_Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Out = Read_File(out);
    result.Err = Read_File(err);
    return result;
}

TEST(Render_Tool, ThirtySecondsGiveALayeredPictureAndTheSameBytesTwice)
{
    Temp_Folder folder;
    const std::string first = folder / "first.png", second = folder / "second.png";
    Result run = Render(folder, "--seed 99 --size 320x240 --duration 30 --output " + first);
    ASSERT_EQ(run.Exit_Code, 0) << run.Err;
    EXPECT_EQ(run.Out, first + "\n");
    int width = 0, height = 0;
    std::vector<uint8_t> pixels = Read_Png_Rgb(first, width, height);
    ASSERT_EQ(width, 320);
    ASSERT_EQ(height, 240);
    std::size_t lit = 0, white = 0;
    double sum = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 3) {
        int brightest = std::max({pixels[i], pixels[i + 1], pixels[i + 2]});
        lit += brightest > 16;
        white += pixels[i] == 255 && pixels[i + 1] == 255 && pixels[i + 2] == 255;
        sum += pixels[i] + pixels[i + 1] + pixels[i + 2];
    }
    const std::size_t count = pixels.size() / 3;
    EXPECT_GT(lit, count / 2) << "the layers have faded in by now";
    EXPECT_LT(white, count / 10) << "added light is not all saturated";
    EXPECT_GT(sum / (3.0 * count), 20.0);

    ASSERT_EQ(Render(folder, "--seed 99 --size 320x240 --duration 30 --output " + second).Exit_Code, 0);
    EXPECT_EQ(Read_File(first), Read_File(second));
    ASSERT_EQ(Render(folder, "--seed 100 --size 320x240 --duration 30 --output " + second).Exit_Code, 0);
    EXPECT_NE(Read_File(first), Read_File(second));
}

TEST(Render_Tool, SoftwareAndReferenceDevicesDrawTheSamePictureWithEverySpanKernel)
{
    Temp_Folder folder;
    for (const char* depth : {"32", "16"}) {
        const std::string software = folder / "software.png", reference = folder / "reference.png";
        const std::string common =
            std::string("--seed 5 --size 200x150 --duration 8 --fps 15 --depth ") + depth;
        ASSERT_EQ(Render(folder, common + " --device reference --output " + reference).Exit_Code, 0);
        ASSERT_EQ(Render(folder, common + " --device software --output " + software).Exit_Code, 0);
        EXPECT_EQ(Read_File(software), Read_File(reference)) << depth;
        for (const std::string& kernel : Raster::Span_Kernel_Names()) {
            ASSERT_EQ(Render(folder, common + " --kernel " + kernel + " --output " + software).Exit_Code, 0);
            EXPECT_EQ(Read_File(software), Read_File(reference)) << depth << " " << kernel;
        }
    }
}

TEST(Render_Tool, EveryNthFrameGoesIntoTheFramesFolder)
{
    Temp_Folder folder;
    Result run = Render(folder, "--size 64x48 --duration 1 --fps 10 --every 4 --frames " +
                                    (folder / "shots") + " --output " + (folder / "last.png"));
    ASSERT_EQ(run.Exit_Code, 0) << run.Err;
    EXPECT_TRUE(fs::exists(folder / "shots/frame_000004.png"));
    EXPECT_TRUE(fs::exists(folder / "shots/frame_000008.png"));
    EXPECT_FALSE(fs::exists(folder / "shots/frame_000009.png"));
    EXPECT_EQ(Read_File(folder / "shots/frame_000008.png").empty(), false);
}

TEST(Render_Tool, MissingImagesFolderEndsTheRunWithTheScenesLogLines)
{
    Temp_Folder folder;
    fs::copy(LUCIVANTA_BUILD_DATA_DIR, folder / "data", fs::copy_options::recursive);
    fs::remove_all(folder / "data/Images");
    Result run = Render(folder, "--size 96x72 --duration 150 --fps 10 --data " + (folder / "data") +
                                    " --log " + (folder / "log.txt") + " --output " + (folder / "out.png"));
    EXPECT_EQ(run.Exit_Code, 0) << run.Err;
    EXPECT_NE(run.Err.find("Main-FrameMove(): D3DWall.Select_Random_Image"), std::string::npos) << run.Err;
    EXPECT_NE(Read_File(folder / "log.txt").find("Main-FrameMove(): D3DWall.Select_Random_Image"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "out.png"));
}

TEST(Render_Tool, TwoSecondsOfVideoHaveTheRunsSizeRateAndLengthAndTheSameBytesTwice)
{
    Temp_Folder folder;
    for (const auto& [name, container] : {std::pair{"run.webm", "WebM"}, std::pair{"run.mkv", "Matroska"}}) {
        const std::string video = folder / name;
        Result run = Render(folder, "--seed 3 --size 160x120 --fps 25 --duration 2 --video " + video);
        ASSERT_EQ(run.Exit_Code, 0) << run.Err;
        EXPECT_EQ(run.Out, video + "\n") << "no picture of the last frame unless asked for";
        const std::string report = folder / "discovered.txt";
        ASSERT_EQ(std::system(("gst-discoverer-1.0 " + video + " >" + report + " 2>&1").c_str()), 0);
        const std::string discovered = Read_File(report);
        const std::vector<std::string> lines = {"container #0: " + std::string(container),
                                                "video #1: VP8",
                                                "Width: 160",
                                                "Height: 120",
                                                "Frame rate: 25/1",
                                                "Duration: 0:00:02.000000000"};
        for (const std::string& line : lines)
            EXPECT_NE(discovered.find(line), std::string::npos) << line << " in\n" << discovered;
    }
    const std::string again = folder / "again.webm";
    ASSERT_EQ(Render(folder, "--seed 3 --size 160x120 --fps 25 --duration 2 --video " + again).Exit_Code, 0);
    EXPECT_EQ(Read_File(again), Read_File(folder / "run.webm"));
}

TEST(Render_Tool, HelpAndBadArguments)
{
    Temp_Folder folder;
    Result help = Render(folder, "--help");
    EXPECT_EQ(help.Exit_Code, 0);
    EXPECT_NE(help.Out.find("usage: lucivanta-render"), std::string::npos);
    for (const char* bad : {"--size 10", "--depth 24", "--device opengl", "--kernel sse9", "--every 3",
                            "--frobnicate 1", "--video x.avi"}) {
        Result run = Render(folder, bad);
        EXPECT_EQ(run.Exit_Code, 2) << bad;
        EXPECT_NE(run.Err.find("usage:"), std::string::npos) << bad;
    }
}

} // namespace
