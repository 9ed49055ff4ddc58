// The open-file record, its file-type list, and the choice of a custom music folder.
#include "ui/file_chooser.h"

#include "effects/titles.h"
#include "media/mp3.h"
#include "settings/settings_file.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

File_Chooser_Object File_Chooser;

const char File_Type_List[] = "Data Files (*.DAT)\0*.dat\0"
                              "ASCII Files (*.ASC)\0*.asc\0"
                              "Bitmap Files (*.BMP)\0*.bmp\0"
                              "Mp3 Files (*.MP3)\0*.mp3\0"
                              "All Files (*.*)\0*.*\0";

namespace {

constexpr int Mp3_File_Type = 4;

} // namespace

const char* Default_Extension(int index)
{
    static const char* const Extensions[] = {nullptr, "dat", "asc", "bmp", "mp3", "*"};
    return index >= 0 && index <= 5 ? Extensions[index] : nullptr;
}

void File_Chooser_Object::Prepare(HWND owner, const char* initial_folder, int index)
{
    Record = OPENFILENAMEA{};
    Record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    Record.hwndOwner = owner;
    Record.lpstrFilter = index != 0 ? File_Type_List : nullptr;
    Record.nFilterIndex = static_cast<DWORD>(index);
    Record.nMaxFile = Path_Size;
    Record.nMaxFileTitle = Path_Size;
    Record.lpstrInitialDir = initial_folder;
    Record.lpstrDefExt = Default_Extension(index);
}

bool File_Chooser_Object::Choose(HWND owner, char* file, char* title)
{
    Record.hwndOwner = owner;
    Record.lpstrFile = file;
    Record.lpstrFileTitle = title;
    Record.Flags = OFN_HIDEREADONLY | OFN_CREATEPROMPT;
    return GetOpenFileNameA(&Record) != FALSE;
}

void Select_Custom_MP3_Folder(HWND window)
{
    File_Chooser_Object& chooser = File_Chooser;
    std::snprintf(chooser.Initial_Folder, sizeof chooser.Initial_Folder, "%s",
                  View_Of(Live_Settings()).MP3_Folder.c_str());
    chooser.Prepare(window, chooser.Initial_Folder, Mp3_File_Type);
    if (!chooser.Choose(window, chooser.Chosen_File, nullptr)) {
        return;
    }
    // The folder part, up to the name's offset: it keeps its trailing '/'.
    Settings& settings = Live_Settings();
    const std::size_t folder = std::min<std::size_t>(
        chooser.Record.nFileOffset, strnlen(chooser.Chosen_File, sizeof chooser.Chosen_File));
    std::memset(settings.MP3_Folder, 0, sizeof settings.MP3_Folder);
    std::memcpy(settings.MP3_Folder, chooser.Chosen_File, std::min(folder, sizeof settings.MP3_Folder - 1));
    if (settings.Music_On != 1) {
        return; // the next start of music uses it
    }
    MP3::Stop();
    MP3::Play_Random_MP3();
    Titles.Update_Title_Text(Titles.Texture_Name, MP3::Title);
    if (settings.Titles_On == 1) {
        Titles.Start_Fade_In();
    }
}
