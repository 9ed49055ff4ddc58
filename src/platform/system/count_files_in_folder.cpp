// Counting and listing the files a search pattern names.
#include "platform/system/count_files_in_folder.h"

#include "platform/system/folder_search.h"
#include "platform/system/random.h"

#include <algorithm>

#include <cstring>

namespace {

constexpr std::size_t Path_Buffer = 260;

} // namespace

std::vector<std::string> Files_Matching(const char* pattern)
{
    if (!pattern)
        return {};
    const char* last_slash = std::strrchr(pattern, '/');
    const std::string folder = last_slash ? std::string(pattern, last_slash + 1) : std::string();
    const char* mask = last_slash ? last_slash + 1 : pattern;
    std::vector<std::string> names = Find_Files(folder, mask);
    std::erase_if(names, [&](const std::string& name) { return folder.size() + name.size() >= Path_Buffer; });
    return names;
}

bool Sage::Count_Files_In_Folder(const char* pattern, int* count)
{
    *count = 0;
    const std::vector<std::string> names = Files_Matching(pattern);
    if (names.empty())
        return false;
    *count = static_cast<int>(names.size());
    return true;
}

const std::string& Pick_Without_Repeat(const std::vector<std::string>& names, int count, int32_t& last)
{
    int k = Random::rand() % count;
    while (count > 1 && k == last)
        k = Random::rand() % count;
    last = k;
    return names[std::min<std::size_t>(k, names.size() - 1)];
}
