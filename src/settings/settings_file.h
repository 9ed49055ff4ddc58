// The settings file: loads the live record at start, saves it at the end of a configuration
// run. The live record is the one every part of the program reads.
#pragma once

#include "settings/settings.h"

class Settings_File {
public:
    Settings_File(); // computes Path from the data directory
    ~Settings_File();

    char Path[260] = {};
    struct Settings Settings;

    bool Load();
    bool Save();
    void Set_Defaults();
    void Close();

private:
    int Handle = -1;
};

// The process-wide settings file and its live record.
Settings_File& Program_Settings_File();
inline Settings& Live_Settings()
{
    return Program_Settings_File().Settings;
}

// Back to the constructed state (path computed again from the data directory, record zeroed),
// so tests do not leak state into one another.
void Reset_Settings_File();
