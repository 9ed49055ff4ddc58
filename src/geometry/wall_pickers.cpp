// The random pickers of wall images and backdrops: a file from the folder by a draw that never
// repeats the previous pick when there are two or more.
#include "geometry/wall.h"
#include "platform/system/count_files_in_folder.h"

#include "log/error_log.h"
#include "platform/system/data_dir.h"

#include <cstdio>

namespace {

struct Picker {
    const char* Folder;    // below the data directory, with its trailing '/'
    const char* Caller;    // the operation named in the reports
    const char* Reinstall; // the count-of-zero report
};

void Say(const char* caller, const char* what)
{
    Report("%s(): %s", caller, what);
}

int Pick(const Picker& picker, int32_t& last, char* path_out)
{
    const std::string folder = Windows_Directory_Plus(picker.Folder);
    char pattern[Wall_Image::Path_Size];
    const int length = snprintf(pattern, sizeof pattern, "%s*.BMP", folder.c_str());
    int count = 0;
    if (length >= Wall_Image::Path_Size || !Sage::Count_Files_In_Folder(pattern, &count)) {
        Say(picker.Caller, "Count_Files_In_Folder FAILED");
        return 0;
    }
    if (count <= 0) {
        Say(picker.Caller, picker.Reinstall);
        return 0;
    }
    const std::vector<std::string> names = Files_Matching(pattern);
    if (names.empty()) {
        Say(picker.Caller, "FindFirstFile searching for *.BMP returned INVALID_HANDLE_VALUE");
        return 0;
    }
    const std::string& name = Pick_Without_Repeat(names, count, last);
    snprintf(path_out, Wall_Image::Path_Size, "%s%s", folder.c_str(), name.c_str());
    return 1;
}

} // namespace

int Wall_Image::Select_Random_Image(char* path_out)
{
    static const Picker images{"/Lucivanta/Images/", "Select_Random_Image",
                               "No files in Image Folder, Please Reinstall"};
    return Pick(images, Last_Image, path_out);
}

int Wall_Image::Select_Random_Backdrop(char* path_out)
{
    static const Picker backdrops{"/Lucivanta/Backdrop/", "Select_Random_Backdrop",
                                  "No files in Backdrop Folder, Please Reinstall"};
    return Pick(backdrops, Last_Backdrop, path_out);
}
