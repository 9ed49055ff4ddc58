// Debug output to standard error or to an installed sink.
#include "platform/system/debug_output.h"

#include <cstdio>

namespace {

std::function<void(const std::string&)>& Sink()
{
    static std::function<void(const std::string&)> sink;
    return sink;
}

} // namespace

void OutputDebugStringA(const char* text)
{
    if (text == nullptr)
        return;
    if (Sink()) {
        Sink()(text);
        return;
    }
    std::fputs(text, stderr);
    std::fflush(stderr);
}

void Set_Debug_Output_Sink(std::function<void(const std::string&)> sink)
{
    Sink() = std::move(sink);
}
