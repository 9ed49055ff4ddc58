// What the fuzz targets share: the input cut into zero-separated texts (command lines, masks),
// and a private file to hand the input to readers that take a path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

// At most `limit` texts; an input without a zero is one text.
inline std::vector<std::string> Split_Texts(const uint8_t* data, std::size_t size, std::size_t limit = 16)
{
    std::vector<std::string> texts(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != 0) {
            texts.back().push_back(static_cast<char>(data[i]));
        } else if (texts.size() == limit) {
            break;
        } else {
            texts.emplace_back();
        }
    }
    return texts;
}

// A file of this process under the temporary folder, rewritten with each input.
std::string Write_Input_File(const uint8_t* data, std::size_t size, const char* suffix);

// A folder of this process under the temporary folder, made once.
const std::string& Private_Folder();

} // namespace fuzz
