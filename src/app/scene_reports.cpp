// The scene's failure lines and name copies.
#include "app/scene_reports.h"

#include "app/scene.h"
#include "log/error_log.h"

#include <cstdio>

namespace Scene_Reports {

HRESULT Report_Code(const char* format, HRESULT hr)
{
    Report(format, hr);
    return hr;
}

HRESULT Report_Name_Code(const char* format, const char* name, HRESULT hr)
{
    Report(format, name, hr);
    return hr;
}

void Copy_Name(char* target, const char* source)
{
    std::snprintf(target, Scene::Name_Size, "%s", source);
}

} // namespace Scene_Reports
