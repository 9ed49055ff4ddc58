// lucivanta-datagen <output folder>: writes the default data of the program — the logo
// Lucivanta.bmp, the wall images of Images/ and the backdrops of Backdrop/. The pictures are
// computed, so every build writes the same bytes.
#include "bmp_writer.h"
#include "pictures.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace {

struct Picture {
    const char* Name;
    bool Palettised;
    std::function<art::Image()> Make;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: lucivanta-datagen <output folder>\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path out = argv[1];
    std::error_code error;
    fs::create_directories(out / "Images", error);
    fs::create_directories(out / "Backdrop", error);
    const int size = 256;

    const Picture pictures[] = {
        {"Lucivanta.bmp", false, [] { return art::Logo(size); }},
        {"Images/Mandala.bmp", false, [] { return art::Mandala(size, 16, 0.95f); }},
        {"Images/Rose_Window.bmp", true, [] { return art::Rose_Window(size); }},
        {"Images/Heptagram.bmp", false, [] { return art::Star_Sigil(size, 7, 3, 0.13f); }},
        {"Images/Flower_Of_Life.bmp", false, [] { return art::Flower_Of_Life(size); }},
        {"Images/Triskele.bmp", false, [] { return art::Triskele(size); }},
        {"Images/Sun_Wheel.bmp", false, [] { return art::Sun_Wheel(size); }},
        {"Images/Lotus.bmp", false, [] { return art::Lotus(size); }},
        {"Images/Spiral_Galaxy.bmp", false, [] { return art::Spiral_Galaxy(size); }},
        {"Images/Pentacle.bmp", false, [] { return art::Star_Sigil(size, 5, 2, 0.5f); }},
        {"Backdrop/Nebula_Rose.bmp", false, [] { return art::Nebula(size, 11, 0.92f); }},
        {"Backdrop/Nebula_Teal.bmp", false, [] { return art::Nebula(size, 23, 0.45f); }},
        {"Backdrop/Stained_Glass.bmp", false, [] { return art::Stained_Glass(size, 3); }},
        {"Backdrop/Julia.bmp", false, [] { return art::Julia(size, -0.8f, 0.156f, 0.6f); }},
        {"Backdrop/Marble.bmp", false, [] { return art::Marble(size, 41); }},
        {"Backdrop/Aurora.bmp", false, [] { return art::Aurora(size, 8); }},
        {"Backdrop/Opal.bmp", false, [] { return art::Opal(size, 19); }},
    };
    for (const Picture& picture : pictures) {
        const std::string path = (out / picture.Name).string();
        art::Image image = picture.Make();
        bool written = picture.Palettised ? art::Write_Bmp_8(path, image) : art::Write_Bmp_24(path, image);
        if (!written) {
            std::fprintf(stderr, "lucivanta-datagen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
