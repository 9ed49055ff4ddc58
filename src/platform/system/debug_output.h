// The debug-output channel (OutputDebugStringA): each text goes to standard error as it is.
// Tests may redirect it to a sink of their own.
#pragma once

#include <functional>
#include <string>

void OutputDebugStringA(const char* text);

// Installs a sink that receives every text instead of standard error; an empty function puts
// standard error back.
void Set_Debug_Output_Sink(std::function<void(const std::string&)> sink);
