// The process command line as one text, the way the original platform hands it over: the
// arguments joined by blanks, the program name in double quotes when it contains a blank.
// main() sets it once; the mode parser reads it through GetCommandLineA.
#pragma once

#include <string>

std::string Join_Command_Line(int argc, const char* const* argv);
void Set_Command_Line(const std::string& text);
const char* GetCommandLineA();
