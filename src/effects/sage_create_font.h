// Sage::Create_Font: a font of a given point size for a device context, whatever mapping
// mode the context is in: the size is turned into device pixels by the resolution and then
// into the context's logical units, so the text comes out at its true size.
#pragma once

#include "platform/graphics/gdi.h"

namespace Sage {

// Height and width in tenths of a point (width 0: the face's natural width); attribute bits:
// 1 bold, 2 italic, 4 underline, 8 strike-out. use_logical_resolution takes the resolution
// from LOGPIXELSX/Y, otherwise from the physical size of the display. The caller owns the
// font and deletes it.
HFONT Create_Font(HDC hdc, const char* face_name, int height, int width, int attributes,
                  bool use_logical_resolution);

} // namespace Sage
