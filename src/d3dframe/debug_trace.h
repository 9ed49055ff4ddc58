// The device layer's diagnostic line on the platform's debug channel (standard error here):
//     "<source>(<line>): <message>"                       + "\n"   without a result code
//     "<source>(<line>): <message>(hr=<8 hex digits>)\n" + "\n"   with one
// Nothing goes to the error log. The sources are "d3dframe\d3denum" and "d3dframe\d3dframe".
#pragma once

#include "platform/win_types.h"

HRESULT DebugTrace(const char* source, long line, HRESULT code, const char* message);

// The framework's usual forms: the calling source file's line number with a fixed source name.
#define DEBUG_MSG(source, message) DebugTrace(source, __LINE__, 0, message)
#define DEBUG_ERR(source, code, message) DebugTrace(source, __LINE__, code, message)
