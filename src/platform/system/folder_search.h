// A FindFirstFile-style search of one folder: the names of the regular files whose names match
// a mask such as "*.BMP", compared without regard to case, '*' standing for any run of
// characters and '?' for one character. Names come back sorted (byte order) so that random
// picks from the list are reproducible.
#pragma once

#include <string>
#include <vector>

// Names only (no folder part); an empty list when the folder cannot be read.
std::vector<std::string> Find_Files(const std::string& folder, const std::string& mask);

bool Mask_Matches(const char* mask, const char* name);
