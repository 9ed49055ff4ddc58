// Loading and saving the settings record. Saving replaces the file through a temporary file
// in the same folder, so a crash mid-write leaves the previous file whole.
#include "settings/settings_file.h"

#include "log/error_log.h"
#include "log/sage_system.h"
#include "platform/system/data_dir.h"
#include "platform/system/files.h"

#include <cstdio>
#include <cstring>
#include <new>

Settings_File::Settings_File()
{
    const std::string path = Windows_Directory_Plus("/Lucivanta/Settings.DAT");
    // A path that does not fit stays empty: the file then counts as missing and cannot be
    // saved, rather than naming some other file.
    if (path.size() < sizeof Path)
        std::memcpy(Path, path.c_str(), path.size() + 1);
}

Settings_File::~Settings_File()
{
    Close();
}

void Settings_File::Set_Defaults()
{
    Fill_Defaults(Settings);
}

void Settings_File::Close()
{
    Files::Close(Handle);
}

bool Settings_File::Load()
{
    if (!Sage::FileExists(Path)) {
        Set_Defaults();
        return true;
    }
    if (Handle < 0) {
        Handle = Files::Open_For_Reading(Path);
        if (Handle < 0) {
            Report("Load() CreateFile OPEN READ FAILED");
            Set_Defaults();
            return false;
        }
    }
    if (Files::Size(Handle) != static_cast<int64_t>(Settings_File_Size)) {
        Report("Load(): Invalid settings filesize");
        Close();
        Set_Defaults();
        return false;
    }
    uint8_t bytes[Settings_File_Size];
    const long got = Files::Read(Handle, bytes, sizeof bytes);
    if (got < 0) {
        Report("Load() ReadFile FAILED");
        Close();
        Set_Defaults();
        return false;
    }
    Close();
    if (got < static_cast<long>(Settings_File_Size)) {
        Report("Load(): Invalid file read of %d bytes", static_cast<int>(got));
        Set_Defaults();
        return true;
    }
    Decode_Settings(bytes, Settings);
    return true;
}

bool Settings_File::Save()
{
    const bool existed = Sage::FileExists(Path);
    const char* open_failure =
        existed ? "Save() CreateFile APPEND TO FILE FAILED" : "Save CreateFile FILE FAILED";
    // Through a symbolic link: the file it names gets the settings, and the link stays.
    const std::string target = Files::Link_Target(Path);
    if (target.empty()) {
        Report(open_failure);
        return false;
    }
    uint8_t bytes[Settings_File_Size];
    Encode_Settings(Settings, bytes);
    switch (Files::Replace_Contents(target, bytes, sizeof bytes)) {
    case Files::Replace_Result::Done:
        return true;
    case Files::Replace_Result::Refused: // read-only, or a folder, pipe or device in its place
    case Files::Replace_Result::Create_Failed:
        Report(open_failure);
        return false;
    case Files::Replace_Result::Write_Failed:
    default:
        Report("Save() WriteFile FAILED");
        return false;
    }
}

Settings_File& Program_Settings_File()
{
    static Settings_File file;
    return file;
}

void Reset_Settings_File()
{
    Settings_File& file = Program_Settings_File();
    file.~Settings_File();
    new (&file) Settings_File();
}
