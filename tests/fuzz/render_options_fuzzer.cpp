// Any command line of the render tool: accepted with values the run can use, or refused with a
// reason.
#include "fuzz_input.h"
#include "render_options.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments = fuzz::Split_Texts(data, size);
    arguments.insert(arguments.begin(), "lucivanta-render");
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    Render_Options options;
    std::string error;
    if (!Parse_Render_Options(static_cast<int>(arguments.size()), argv.data(), options, error)) {
        if (error.empty())
            std::abort();
        return 0;
    }
    // The run counts its frames in a long and steps its clock by 1000 / fps milliseconds.
    const double frames = options.Duration * options.Frames_Per_Second;
    if (options.Width <= 0 || options.Height <= 0 || !(options.Frames_Per_Second > 0) || !(frames >= 0) ||
        frames > 1e12 || (options.Depth != 16 && options.Depth != 32))
        std::abort();
    return 0;
}
