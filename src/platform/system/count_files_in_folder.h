// Counting and listing the files a FindFirstFile-style pattern names ("<folder>/*.BMP"), for
// the random pickers of wall images, backdrops and music. The pattern's last component is a
// mask matched without regard to case; the listing is in a stable order (by name), so "the
// k-th file" means the same file for the count and for the pick.
//
// A file whose full path would not fit a 260-character buffer is not offered at all: the
// pickers copy the path into such buffers, so those files are left out of the count as well.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Sage {

// true with count ≥ 1 when the pattern names at least one file; false (count 0) when the
// folder is missing or holds no match.
bool Count_Files_In_Folder(const char* pattern, int* count);

} // namespace Sage

// The names (without folder) of the files the pattern names, by name, whose folder part plus
// name fits in 259 characters. Empty when there is none or the folder cannot be read.
std::vector<std::string> Files_Matching(const char* pattern);

// The pickers' draw: k = rand() mod count, drawn again while there are two or more files and
// k equals the previous pick; last becomes k. Then the k-th name of the listing, or its last
// one when the folder shrank since it was counted.
const std::string& Pick_Without_Repeat(const std::vector<std::string>& names, int count, int32_t& last);
