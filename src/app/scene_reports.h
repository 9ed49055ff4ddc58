// Small helpers both halves of the scene share: a failure line with its return code (and a
// texture name) formatted into the message buffer and reported, and the copy of a texture name
// into one of the scene's fixed name fields.
#pragma once

#include "platform/graphics/d3d_types.h"

namespace Scene_Reports {

// Reports the line and hands the code back, so a failure path reads `return Report_Code(...)`.
HRESULT Report_Code(const char* format, HRESULT hr);
HRESULT Report_Name_Code(const char* format, const char* name, HRESULT hr);
void Copy_Name(char* target, const char* source);

} // namespace Scene_Reports
