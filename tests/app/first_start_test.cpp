// First start: the product folder is made from the installed data only when it is absent.
#include "app/first_start.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using test_support::Read_File;
using test_support::Temp_Folder;
using test_support::Write_File;

namespace {

void Make_Installed_Data(const Temp_Folder& folder)
{
    fs::create_directories(folder.Path() / "share/Images");
    fs::create_directories(folder.Path() / "share/Backdrop");
    Write_File(folder / "share/Lucivanta.bmp", "logo");
    Write_File(folder / "share/Images/A.bmp", "wall");
    Write_File(folder / "share/Backdrop/B.bmp", "backdrop");
}

TEST(First_Start, AbsentProductFolderIsCreatedAndFilled)
{
    Temp_Folder folder;
    Make_Installed_Data(folder);
    const std::string product = folder / "data/Lucivanta";
    EXPECT_EQ(Find_Installed_Data({folder / "nowhere", folder / "share"}), folder / "share");
    EXPECT_EQ(Install_Default_Data(product, folder / "share"), First_Start_Result::Created);
    EXPECT_EQ(Read_File(product + "/Lucivanta.bmp"), "logo");
    EXPECT_EQ(Read_File(product + "/Images/A.bmp"), "wall");
    EXPECT_EQ(Read_File(product + "/Backdrop/B.bmp"), "backdrop");
    EXPECT_TRUE(fs::is_directory(product + "/MP3"));
    // Nothing of the temporary copy is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "data"), fs::directory_iterator()), 1);
}

TEST(First_Start, ExistingProductFolderIsNeverTouched)
{
    Temp_Folder folder;
    Make_Installed_Data(folder);
    const std::string product = folder / "data/Lucivanta";
    fs::create_directories(product);
    Write_File(product + "/Lucivanta.bmp", "mine");
    EXPECT_EQ(Install_Default_Data(product, folder / "share"), First_Start_Result::Already_There);
    EXPECT_EQ(Read_File(product + "/Lucivanta.bmp"), "mine");
    EXPECT_FALSE(fs::exists(product + "/Images"));
    // Even an empty folder, or a file in its place, counts as there.
    Write_File(folder / "data/Other", "x");
    EXPECT_EQ(Install_Default_Data(folder / "data/Other", folder / "share"),
              First_Start_Result::Already_There);
}

TEST(First_Start, WithoutInstalledDataNothingIsCreated)
{
    Temp_Folder folder;
    const std::string product = folder / "data/Lucivanta";
    EXPECT_EQ(Find_Installed_Data({folder / "share", ""}), "");
    EXPECT_EQ(Install_Default_Data(product, ""), First_Start_Result::No_Installed_Data);
    EXPECT_FALSE(fs::exists(product));
}

// The copies of starts that died mid-copy go; a copy whose process still runs stays.
TEST(First_Start, PartialCopiesOfDeadStartsAreRemoved)
{
    Temp_Folder folder;
    Make_Installed_Data(folder);
    const std::string product = folder / "data/Lucivanta";
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ASSERT_GT(dead, 0);
    ::waitpid(dead, nullptr, 0);
    const std::string stale = product + ".partial-" + std::to_string(dead);
    const std::string live = product + ".partial-" + std::to_string(::getppid());
    for (const std::string& partial : {stale, live})
        fs::create_directories(partial + "/Images");
    EXPECT_EQ(Install_Default_Data(product, folder / "share"), First_Start_Result::Created);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(live));
    fs::remove_all(live);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "data"), fs::directory_iterator()), 1);
}

} // namespace
