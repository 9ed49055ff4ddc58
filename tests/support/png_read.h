// Reading a PNG file back as 8-bit RGB triples, for tests that check the pictures our tools
// and the frame writer produce.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

// The pixels row by row, three bytes each; empty (and the sizes untouched) when the file
// cannot be read as PNG.
std::vector<uint8_t> Read_Png_Rgb(const std::string& path, int& width, int& height);

} // namespace test_support
