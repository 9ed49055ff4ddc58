// Parsing lucivanta-render's arguments: "--name value" or "--name=value".
#include "render_options.h"

#include "platform/graphics/raster/span_drawing.h"
#include "platform/video/video_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>

namespace {

bool To_Int(const std::string& text, int low, int high, int& value)
{
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || parsed < low || parsed > high) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

bool To_Double(const std::string& text, double low, double high, double& value)
{
    char* end = nullptr;
    double parsed = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(parsed >= low && parsed <= high)) {
        return false;
    }
    value = parsed;
    return true;
}

bool To_Size(const std::string& text, int& width, int& height)
{
    std::size_t x = text.find_first_of("xX");
    return x != std::string::npos && To_Int(text.substr(0, x), 16, 8192, width) &&
           To_Int(text.substr(x + 1), 16, 8192, height);
}

} // namespace

const char* Render_Usage()
{
    return "usage: lucivanta-render [options]\n"
           "Renders Lucivanta's scene without a display and writes PNG files.\n"
           "\n"
           "  --seed N          seed of the random generator (default 1)\n"
           "  --size WxH        picture size in pixels (default 640x480)\n"
           "  --depth 16|32     back-buffer depth: 16 = 5-6-5, 32 = X8R8G8B8 (default 32)\n"
           "  --device NAME     software or reference (default software)\n"
           "  --kernel NAME     the software device draws with this span kernel only, to\n"
           "                    measure one a processor without the fastest would take:\n"
           "                    avx512-bilinear, avx2-bilinear, portable-bilinear or general,\n"
           "                    those this processor runs (default: the fastest it runs)\n"
           "  --fps N           frames per second of simulated time (default 30)\n"
           "  --duration S      seconds of simulated time (default 10)\n"
           "  --data DIR        folder with Lucivanta.bmp, Images/ and Backdrop/\n"
           "                    (default: the installed default data)\n"
           "  --output FILE     PNG of the last frame (default lucivanta.png, none with --video)\n"
           "  --video FILE      every frame as a video: VP8 in WebM (.webm) or Matroska (.mkv)\n"
           "  --every N         also write every Nth frame ...\n"
           "  --frames DIR      ... into DIR as frame_000001.png, ...\n"
           "  --log FILE        keep the run's error log in FILE\n"
           "  --quiet           no progress line\n"
           "  --help            this text\n"
           "\n"
           "The same arguments always give the same bytes. The user's settings are neither\n"
           "read nor written: the run uses the default settings without music.\n";
}

bool Parse_Render_Options(int argc, char** argv, Render_Options& options, std::string& error)
{
    using Setter = std::function<bool(const std::string&)>;
    int seed = 1;
    std::map<std::string, Setter> setters = {
        {"--seed", [&](const std::string& v) { return To_Int(v, 0, 0x7FFFFFFF, seed); }},
        {"--size", [&](const std::string& v) { return To_Size(v, options.Width, options.Height); }},
        {"--depth",
         [&](const std::string& v) { return (v == "16" || v == "32") && To_Int(v, 16, 32, options.Depth); }},
        {"--device",
         [&](const std::string& v) {
             options.Device = v;
             return v == "software" || v == "reference";
         }},
        {"--kernel",
         [&](const std::string& v) {
             const std::vector<std::string> names = Raster::Span_Kernel_Names();
             options.Kernel = v;
             return std::find(names.begin(), names.end(), v) != names.end();
         }},
        {"--fps", [&](const std::string& v) { return To_Double(v, 1, 1000, options.Frames_Per_Second); }},
        {"--duration", [&](const std::string& v) { return To_Double(v, 0, 86400, options.Duration); }},
        {"--data", [&](const std::string& v) { return !(options.Data_Folder = v).empty(); }},
        {"--output", [&](const std::string& v) { return !(options.Output = v).empty(); }},
        {"--video", [&](const std::string& v) { return Video_File::Supported_Name(options.Video = v); }},
        {"--every", [&](const std::string& v) { return To_Int(v, 1, 1 << 30, options.Every); }},
        {"--frames", [&](const std::string& v) { return !(options.Frames_Folder = v).empty(); }},
        {"--log", [&](const std::string& v) { return !(options.Log_Copy = v).empty(); }},
    };
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--help" || name == "-h") {
            options.Help = true;
            continue;
        }
        if (name == "--quiet") {
            options.Quiet = true;
            continue;
        }
        std::string value;
        bool has_value = false;
        if (std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            has_value = true;
        }
        auto setter = setters.find(name);
        if (setter == setters.end()) {
            error = "unknown option " + name;
            return false;
        }
        if (!has_value) {
            if (i + 1 >= argc) {
                error = "option " + name + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!setter->second(value)) {
            error = "bad value for " + name + ": " + value;
            return false;
        }
    }
    options.Seed = static_cast<unsigned>(seed);
    if (options.Output.empty() && options.Video.empty())
        options.Output = "lucivanta.png";
    if ((options.Every > 0) != !options.Frames_Folder.empty()) {
        error = "--every and --frames go together";
        return false;
    }
    return true;
}
