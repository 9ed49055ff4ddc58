// The default data written at build time: enough wall images and backdrops, 24-bit files and
// at least one palettised one, and the same bytes on every run of the generator.
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;
using test_support::Read_File;
using test_support::Temp_Folder;

namespace {

int Bits_Per_Pixel(const std::string& bytes)
{
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M')
        return -1;
    return static_cast<uint8_t>(bytes[28]) | (static_cast<uint8_t>(bytes[29]) << 8);
}

TEST(Default_Data, FoldersHoldEnoughBitmapsOfBothKinds)
{
    const fs::path data = LUCIVANTA_BUILD_DATA_DIR;
    EXPECT_EQ(Bits_Per_Pixel(Read_File((data / "Lucivanta.bmp").string())), 24);
    std::map<int, int> depths;
    int images = 0, backdrops = 0;
    for (const auto& [folder, count] :
         {std::pair<const char*, int*>{"Images", &images}, {"Backdrop", &backdrops}}) {
        for (const auto& entry : fs::directory_iterator(data / folder)) {
            int bits = Bits_Per_Pixel(Read_File(entry.path().string()));
            EXPECT_TRUE(bits == 8 || bits == 24) << entry.path();
            depths[bits] += 1;
            *count += 1;
        }
    }
    EXPECT_GE(images, 8);
    EXPECT_GE(backdrops, 6);
    EXPECT_GE(depths[8], 1);
}

TEST(Default_Data, GeneratorWritesTheSameBytesEveryTime)
{
    Temp_Folder folder;
    const std::string command = std::string(LUCIVANTA_DATAGEN_TOOL) + " " + folder.Path().string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    const fs::path data = LUCIVANTA_BUILD_DATA_DIR;
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Path())) {
        if (!entry.is_regular_file())
            continue;
        const fs::path relative = fs::relative(entry.path(), folder.Path());
        EXPECT_EQ(Read_File(entry.path().string()), Read_File((data / relative).string())) << relative;
        ++compared;
    }
    EXPECT_GE(compared, 15);
}

} // namespace
