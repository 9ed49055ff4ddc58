// BMP files of the default data: 24-bit rows, or 8-bit with a colour table chosen from the
// image's own colours (for pictures made of few flat colours).
#pragma once

#include "art.h"

#include <string>

namespace art {

bool Write_Bmp_24(const std::string& path, const Image& image);
bool Write_Bmp_8(const std::string& path, const Image& image);

} // namespace art
