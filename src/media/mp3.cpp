// The music object: random track choice, title rule and the track life cycle.
#include "media/mp3.h"

#include "log/error_log.h"
#include "media/mp3_player.h"
#include "platform/system/count_files_in_folder.h"
#include "settings/settings_file.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const bool Constructed = (MP3::Reset(), true);

void Copy_Text(char* out, const std::string& text)
{
    std::snprintf(out, MP3::Path_Size, "%s", text.c_str());
}

} // namespace

void MP3::Reset()
{
    (void)Constructed;
    Copy_Text(Title, "No music");
    Last_MP3 = 0;
    MP3_Player::Shutdown();
    MP3_Player::Initialise();
}

int MP3::Select_Random_MP3(char* path_out)
{
    // The folder always ends in '/', so the pattern names the files inside it.
    const std::string folder = View_Of(Live_Settings()).MP3_Folder;
    char pattern[Path_Size];
    const int length = std::snprintf(pattern, sizeof pattern, "%s*.MP3", folder.c_str());
    int count = 0;
    if (length >= Path_Size || !Sage::Count_Files_In_Folder(pattern, &count)) {
        Report("Select_Random_MP3(): Count_Files_In_Folder FAILED");
        return 0;
    }
    if (count <= 0)
        return 0;
    const std::vector<std::string> names = Files_Matching(pattern);
    if (names.empty()) {
        Report("Select_Random_Mp3(): FindFirstFile searching for *.MP3 returned INVALID_HANDLE_VALUE");
        return 0;
    }
    const std::string& name = Pick_Without_Repeat(names, count, Last_MP3);
    Copy_Text(Title, name.size() > 4 ? name.substr(0, name.size() - 4) : name);
    Copy_Text(path_out, folder + name);
    return 1;
}

int MP3::Play_Random_MP3()
{
    MP3_Player::Shutdown();
    MP3_Player::Initialise();
    char path[Path_Size];
    if (!Select_Random_MP3(path))
        return 0;
    MP3_Player::Open(path);
    MP3_Player::Run();
    return 1;
}

int MP3::Start()
{
    MP3_Player::Initialise();
    return 1;
}

int MP3::Close()
{
    MP3_Player::Shutdown();
    return 1;
}

int MP3::Track_State()
{
    return MP3_Player::Track_State();
}

int MP3::Stop()
{
    MP3_Player::Stop();
    return 1;
}

int MP3::Pause()
{
    MP3_Player::Pause();
    return 1;
}

int MP3::Resume()
{
    MP3_Player::Run();
    return 1;
}
