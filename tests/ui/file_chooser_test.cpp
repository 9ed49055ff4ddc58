// The open-file record the folder choice prepares, and the custom music folder: what the
// dialog is asked, the folder kept with its trailing '/', cancel, and a new track with music on.
#include "effects/titles.h"
#include "media/mp3.h"
#include "platform/audio/null_playback.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"
#include "settings/settings_file.h"
#include "temp_folder.h"
#include "ui/file_chooser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

TEST(File_Chooser_Test, PrepareOffersTheFileTypesWithTheChosenOnePreselected)
{
    const char* const extensions[] = {nullptr, "dat", "asc", "bmp", "mp3", "*", nullptr};
    for (int index = 0; index <= 6; ++index) {
        SCOPED_TRACE(index);
        File_Chooser.Reset();
        char folder[] = "/music/";
        File_Chooser.Prepare(nullptr, folder, index);
        const OPENFILENAMEA& record = File_Chooser.Record;
        EXPECT_EQ(record.lStructSize, 76u);
        EXPECT_EQ(record.lpstrFilter, index == 0 ? nullptr : File_Type_List);
        EXPECT_EQ(record.nFilterIndex, static_cast<DWORD>(index));
        EXPECT_EQ(record.lpstrInitialDir, folder);
        EXPECT_EQ(record.nMaxFile, 260u);
        EXPECT_EQ(record.nMaxFileTitle, 260u);
        EXPECT_EQ(record.lpstrFile, nullptr);
        EXPECT_EQ(record.Flags, 0u);
        if (extensions[index] == nullptr)
            EXPECT_EQ(record.lpstrDefExt, nullptr);
        else
            EXPECT_STREQ(record.lpstrDefExt, extensions[index]);
    }
}

class Custom_Folder_Test : public ::testing::Test {
protected:
    Custom_Folder_Test()
    {
        Install_Window_System(nullptr);
        Reset_Settings_File();
        Fill_Defaults(Live_Settings());
        File_Chooser.Reset();
        Titles.Reset();
        Tracks->Default_Duration = 100.0;
        Tracks->Now = [] { return 0.0; };
        Select_Playback_Backend(Null_Playback_Factory(Tracks));
        MP3::Reset();
        std::filesystem::create_directory(Music.Path() / "Other");
        test_support::Write_File(Music / "Other/Tune.mp3", "");
        The_Headless_Backend().Open_File_Answer = [this](const Open_File_Request& request,
                                                         std::string& chosen) {
            Asked.push_back(request);
            chosen = Answer;
            return !Answer.empty();
        };
    }
    ~Custom_Folder_Test() override
    {
        MP3::Reset();
        Select_Playback_Backend(nullptr);
        Install_Window_System(nullptr);
        Reset_Settings_File();
        Titles.Reset();
    }
    std::string Folder() const { return Live_Settings().MP3_Folder; }

    test_support::Temp_Folder Music;
    std::shared_ptr<Virtual_Tracks> Tracks = std::make_shared<Virtual_Tracks>();
    std::vector<Open_File_Request> Asked;
    std::string Answer;
};

TEST_F(Custom_Folder_Test, WithMusicOffOnlyTheFolderChangesAndTheDialogReopensAtTheChoice)
{
    Live_Settings().Music_On = 0;
    const std::string start = Folder();
    Answer = Music / "Other/Tune.mp3";
    Select_Custom_MP3_Folder(nullptr);
    EXPECT_EQ(Folder(), Music / "Other/");
    EXPECT_STREQ(MP3::Title, "No music");
    EXPECT_EQ(Tracks->Last_Opened, "");
    ASSERT_EQ(Asked.size(), 1u);
    const Open_File_Request& request = Asked[0];
    ASSERT_EQ(request.Filters.size(), 5u);
    EXPECT_EQ(request.Filters[static_cast<std::size_t>(request.Filter_Index)].Description,
              "Mp3 Files (*.MP3)");
    EXPECT_EQ(request.Initial_Folder, start);
    EXPECT_EQ(request.Default_Extension, "mp3");
    EXPECT_TRUE(request.Create_Prompt);

    Answer.clear(); // cancelled: nothing changes
    Select_Custom_MP3_Folder(nullptr);
    EXPECT_EQ(Folder(), Music / "Other/");
    ASSERT_EQ(Asked.size(), 2u);
    EXPECT_EQ(Asked[1].Initial_File, Music / "Other/Tune.mp3");
    EXPECT_EQ(Asked[1].Initial_Folder, Music / "Other/");
}

TEST_F(Custom_Folder_Test, WithMusicOnATrackOfTheNewFolderStartsAndItsTitleFadesIn)
{
    Answer = Music / "Other/Tune.mp3";
    Select_Custom_MP3_Folder(nullptr);
    EXPECT_EQ(Tracks->Last_Opened, Music / "Other/Tune.mp3");
    EXPECT_STREQ(MP3::Title, "Tune");
    EXPECT_EQ(Titles.Fade_State, Titles_Image::Fading_In);
}

} // namespace
