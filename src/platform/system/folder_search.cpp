// Folder search with case-insensitive wildcard masks.
#include "platform/system/folder_search.h"

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <sys/stat.h>

namespace {

bool Same_Letter(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

} // namespace

bool Mask_Matches(const char* mask, const char* name)
{
    // Iterative matching with one backtrack point: linear in practice, never recursive.
    const char* star = nullptr;
    const char* star_name = nullptr;
    while (*name != '\0') {
        if (*mask == '*') {
            star = mask++;
            star_name = name;
        } else if (*mask != '\0' && (*mask == '?' || Same_Letter(*mask, *name))) {
            ++mask;
            ++name;
        } else if (star != nullptr) {
            mask = star + 1;
            name = ++star_name;
        } else {
            return false;
        }
    }
    while (*mask == '*')
        ++mask;
    return *mask == '\0';
}

std::vector<std::string> Find_Files(const std::string& folder, const std::string& mask)
{
    std::vector<std::string> names;
    DIR* directory = ::opendir(folder.empty() ? "." : folder.c_str());
    if (directory == nullptr)
        return names;
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '/')
        prefix += '/';
    while (const dirent* entry = ::readdir(directory)) {
        if (!Mask_Matches(mask.c_str(), entry->d_name))
            continue;
        struct stat info {};
        if (::stat((prefix + entry->d_name).c_str(), &info) == 0 && S_ISREG(info.st_mode))
            names.emplace_back(entry->d_name);
    }
    ::closedir(directory);
    std::sort(names.begin(), names.end());
    return names;
}
