// Any mask against any name, and against the files of a folder: no runaway matching, and the
// search gives back only names the mask matches.
#include "fuzz_input.h"
#include "platform/system/folder_search.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    const std::vector<std::string> texts = fuzz::Split_Texts(data, size, 4);
    const std::string& mask = texts[0];
    static const std::string folder = [] {
        const std::string made = fuzz::Private_Folder() + "/folder";
        std::filesystem::create_directory(made);
        for (const char* name :
             {"a.BMP", "b.bmp", "Image 1.Bmp", "x", ".hidden.bmp", "long name with.dots.bmp"})
            std::ofstream(made + "/" + name) << name;
        return made;
    }();
    for (std::size_t i = 1; i < texts.size(); ++i)
        Mask_Matches(mask.c_str(), texts[i].c_str());
    for (const std::string& name : Find_Files(folder, mask))
        if (!Mask_Matches(mask.c_str(), name.c_str()))
            std::abort();
    return 0;
}
