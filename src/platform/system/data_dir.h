// The folder the program keeps its data under, standing in for the original platform's
// "Windows directory": $XDG_DATA_HOME, or ~/.local/share when that is unset or not absolute.
// The program's own folder is "<data dir>/Lucivanta/".
#pragma once

#include "platform/win_types.h"

#include <string>

// The data directory without a trailing '/'.
std::string Windows_Directory();

// The data directory followed by `tail` (which starts with '/', e.g. "/Lucivanta/Settings.DAT").
std::string Windows_Directory_Plus(const char* tail);

// Copies the data directory into buffer as GetWindowsDirectoryA does: returns its length, or
// the size the buffer would need (terminator included) when it does not fit, leaving the
// buffer an empty text.
UINT GetWindowsDirectoryA(char* buffer, UINT size);
