// The system-wide screen-saver-running flag (SystemParametersInfoA with
// SPI_SETSCREENSAVERRUNNING). It is a lock file per user in $XDG_RUNTIME_DIR (else /tmp)
// holding the pid of the process that set it. A flag whose process no longer lives counts as
// not set, so a crashed saver never blocks the next one. A process clears only a flag it set
// itself: setting FALSE over another live saver's flag leaves that flag standing.
#pragma once

#include "platform/win_types.h"

#include <string>

inline constexpr UINT SPI_SETSCREENSAVERRUNNING = 97;

// Only SPI_SETSCREENSAVERRUNNING is understood: sets the flag to `parameter` (0 or not 0) and
// stores the previous state (0 or 1) as a 32-bit value at `previous` when that is not null.
// Returns FALSE for any other action or when the flag file cannot be written.
BOOL SystemParametersInfoA(UINT action, UINT parameter, void* previous, UINT win_ini);

// Where the flag lives, and whether a live process holds it now.
std::string Saver_Flag_Path();
bool Saver_Flag_Is_Set();
