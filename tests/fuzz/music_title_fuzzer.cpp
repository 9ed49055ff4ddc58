// Any file name in the music folder: the folder search finds it as the mask decides, the pick
// takes its title and full path, and the title is drawn into the titles texture.
#include "d3dframe/d3dtextr.h"
#include "effects/titles.h"
#include "fuzz_device.h"
#include "fuzz_input.h"
#include "media/mp3.h"
#include "platform/system/folder_search.h"
#include "settings/settings_file.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

// The input as a file name: no folder separator, no zero, at most 255 bytes, and mostly with
// the music extension (the first byte's low bit leaves the name as it came).
std::string Name_Of(const uint8_t* data, std::size_t size)
{
    std::string name;
    for (std::size_t i = 1; i < size && name.size() < 251; ++i)
        name.push_back(data[i] == '/' || data[i] == 0 ? '_' : static_cast<char>(data[i]));
    if (size == 0 || (data[0] & 1) == 0)
        name += ".mp3";
    return name == "." || name == ".." ? "_" + name : name;
}

void Check(bool holds)
{
    if (!holds)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    namespace fs = std::filesystem;
    static const std::string folder = [] {
        const std::string made = fuzz::Private_Folder() + "/music";
        fs::create_directory(made);
        std::snprintf(Live_Settings().MP3_Folder, sizeof Live_Settings().MP3_Folder, "%s/", made.c_str());
        IDirect3DDevice7* device = fuzz::Texture_Device();
        // The scene's texture is 256 or 512 wide; 64 draws with the same small font and clips the
        // same way, but each title's clear of the whole texture costs a sixteenth.
        Check(Titles.Initialise_Titles_Texture(Titles.Texture_Name, 64) == 1);
        Check(D3DTextr_RestoreTexture(Titles.Texture_Name, device) == S_OK);
        return made;
    }();
    const std::string name = Name_Of(data, size);
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        fs::remove(entry.path());
    std::ofstream(folder + "/" + name) << "not music";

    const std::vector<std::string> found = Find_Files(folder, "*.MP3");
    Check(found.size() <= 1 && (found.empty() || found[0] == name));
    Check(found.empty() == !Mask_Matches("*.MP3", name.c_str()));
    MP3::Reset();
    char path[MP3::Path_Size] = {};
    if (MP3::Select_Random_MP3(path) == 1) {
        Check(!found.empty() && path == folder + "/" + name &&
              name.compare(0, std::strlen(MP3::Title), MP3::Title) == 0);
    } else {
        Check(std::strcmp(MP3::Title, "No music") == 0);
    }
    Check(Titles.Update_Title_Text(Titles.Texture_Name, MP3::Title) == 1);
    return 0;
}
