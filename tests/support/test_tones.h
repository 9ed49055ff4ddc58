// Short MP3 files made on the spot for the music tests, by GStreamer's own command-line tool
// (audiotestsrc → lamemp3enc), so no sample file is shipped with the tests.
#pragma once

#include <string>

namespace test_support {

// A sine tone of about buffers × 23 ms (1024 samples at 44.1 kHz each); false when the
// encoder is not installed or failed.
bool Make_Tone_MP3(const std::string& path, int buffers);

} // namespace test_support
