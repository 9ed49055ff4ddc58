// The debug line.
#include "d3dframe/debug_trace.h"

#include "platform/system/debug_output.h"

#include <cstdio>

HRESULT DebugTrace(const char* source, long line, HRESULT code, const char* message)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%s(%ld): ", source ? source : "", line);
    OutputDebugStringA(buffer);
    OutputDebugStringA(message ? message : "");
    if (code != 0) {
        std::snprintf(buffer, sizeof buffer, "(hr=%08lx)\n",
                      static_cast<unsigned long>(static_cast<uint32_t>(code)));
        OutputDebugStringA(buffer);
    }
    OutputDebugStringA("\n");
    return code;
}
