// A video file written frame by frame: VP8 in WebM (".webm") or in Matroska (".mkv"), through
// a GStreamer pipeline fed by the caller's frames (appsrc ! videoconvert ! vp8enc ! mux !
// filesink). Frames are stamped at the given frame rate, not by any clock, and the encoder runs
// on one thread at a fixed quality deadline, so the same frames give the same bytes. The file is
// written beside its final name and renamed into place by Finish, so a failed or abandoned
// recording leaves nothing behind.
#pragma once

#include "platform/window/window_system.h"

#include <memory>
#include <string>

class Video_File {
public:
    ~Video_File();
    Video_File(const Video_File&) = delete;
    Video_File& operator=(const Video_File&) = delete;

    // True for the names Create understands: ending in .webm or .mkv (in any case).
    static bool Supported_Name(const std::string& path);
    // A recording of frames like `format` (size and pixel format: 16-bit 5-6-5 or 5-5-5, 24- or
    // 32-bit) at `frames_per_second`; nullptr with the reason in `error` when it cannot start.
    static std::unique_ptr<Video_File> Create(const std::string& path, const Frame_Pixels& format,
                                              double frames_per_second, std::string& error);

    // Appends a frame of the format given to Create. False, with the reason, when the pipeline
    // failed; the recording is then lost.
    bool Add_Frame(const Frame_Pixels& frame, std::string& error);
    // Ends the stream (the muxer writes the duration and the index) and puts the file in place.
    bool Finish(std::string& error);

private:
    struct Pipeline;
    explicit Video_File(std::unique_ptr<Pipeline> pipeline);
    std::unique_ptr<Pipeline> Stream;
};
