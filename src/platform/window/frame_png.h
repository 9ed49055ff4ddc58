// Writes a frame (a back buffer's pixels in 16-bit 5-6-5/5-5-5, 24-bit or 32-bit X8R8G8B8)
// as an 8-bit RGB PNG file. The same pixels always give the same bytes: no time stamp or
// other varying chunk is written.
#pragma once

#include "platform/window/window.h"

#include <string>

// True when the whole file was written; a failed write leaves no file behind.
bool Write_Frame_Png(const std::string& path, const Frame_Pixels& frame);
