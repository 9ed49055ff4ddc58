// The direction of the program's layers, checked on its sources: every quoted include of a file
// under src/ names a folder that the file's own folder may use, and toolkit headers appear only
// under src/platform/. A folder missing from the table fails too, so a new one gets its place.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::set<std::string> Platform = {"platform",        "platform/audio", "platform/graphics",
                                        "platform/system", "platform/video", "platform/window"};

std::set<std::string> With(std::set<std::string> lower, std::initializer_list<const char*> more)
{
    lower.insert(more.begin(), more.end());
    return lower;
}

// What each folder may include: its own layer and those below it. app → ui → (effects,
// geometry, media, which do not use one another) → d3dframe → platform; settings, log and the
// resource tables sit on the platform and serve everyone above it.
const std::map<std::string, std::set<std::string>>& Allowed()
{
    static const std::set<std::string> shared = With(Platform, {"settings", "log", "resources"});
    static const std::set<std::string> device = With(shared, {"d3dframe"});
    static const std::set<std::string> picture = With(device, {"effects", "geometry", "media"});
    static const std::map<std::string, std::set<std::string>> allowed = {
        {"platform", {"platform", "platform/system"}},
        {"platform/system", {"platform", "platform/system"}},
        {"platform/audio", Platform},
        {"platform/graphics", Platform},
        {"platform/video", Platform},
        {"platform/window", Platform},
        {"settings", shared},
        {"log", shared},
        {"resources", shared},
        {"d3dframe", device},
        {"effects", With(device, {"effects"})},
        {"geometry", With(device, {"geometry"})},
        {"media", With(device, {"media"})},
        {"ui", With(picture, {"ui"})},
        {"app", With(picture, {"ui", "app"})},
    };
    return allowed;
}

// "platform/window/window.h" → "platform/window"; "platform/win_types.h" → "platform";
// "log/error_log.h" → "log".
std::string Folder_Of(const fs::path& relative)
{
    auto part = relative.begin();
    std::string folder = part->string();
    if (folder == "platform" && std::distance(relative.begin(), relative.end()) > 2) {
        folder += "/" + std::next(part)->string();
    }
    return folder;
}

struct Include {
    std::string File; // relative to src/
    int Line;
    std::string Text; // what is between the quotes or the angle brackets
    bool Quoted;
};

std::vector<Include> Includes_Of_Sources()
{
    static const std::regex include(R"(^\s*#\s*include\s*(["<])([^">]+)[">])");
    const fs::path root = LUCIVANTA_SOURCE_DIR;
    std::vector<Include> found;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) {
            continue;
        }
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            std::smatch match;
            if (std::regex_search(line, match, include)) {
                found.push_back(
                    {fs::relative(entry.path(), root).string(), number, match[2], match[1] == "\""});
            }
        }
    }
    return found;
}

std::string Where(const Include& include)
{
    return include.File + ":" + std::to_string(include.Line) + " includes " + include.Text;
}

TEST(Layer_Rule, NoFileIncludesALayerAboveItsOwn)
{
    std::vector<std::string> breaks;
    const std::vector<Include> includes = Includes_Of_Sources();
    ASSERT_GT(includes.size(), 100u) << "no sources under " << LUCIVANTA_SOURCE_DIR;
    for (const Include& include : includes) {
        if (!include.Quoted) {
            continue;
        }
        const std::string from = Folder_Of(include.File);
        const auto allowed = Allowed().find(from);
        if (allowed == Allowed().end()) {
            breaks.push_back(include.File + ": folder " + from + " has no place among the layers");
        } else if (allowed->second.count(Folder_Of(include.Text)) == 0) {
            breaks.push_back(Where(include));
        }
    }
    EXPECT_TRUE(breaks.empty()) << ::testing::PrintToString(breaks);
}

TEST(Layer_Rule, ToolkitHeadersStayInsideThePlatform)
{
    static const std::regex toolkit("^(gtk|gdk|X11|cairo|pango|gst|glib|gio)");
    std::vector<std::string> breaks;
    for (const Include& include : Includes_Of_Sources()) {
        if (!include.Quoted && std::regex_search(include.Text, toolkit) &&
            Folder_Of(include.File).rfind("platform/", 0) != 0) {
            breaks.push_back(Where(include));
        }
    }
    EXPECT_TRUE(breaks.empty()) << ::testing::PrintToString(breaks);
}

} // namespace
