// MP3 tones for the music tests.
#include "test_tones.h"

#include <cstdlib>

namespace test_support {

bool Make_Tone_MP3(const std::string& path, int buffers)
{
    const std::string command = "gst-launch-1.0 -q audiotestsrc num-buffers=" + std::to_string(buffers) +
                                " ! lamemp3enc ! filesink location='" + path + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

} // namespace test_support
