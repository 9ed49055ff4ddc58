// The GStreamer pipeline behind a video file.
#include "platform/video/video_file.h"

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace {

// libvpx's "good quality" deadline: unlike the real-time mode, the encoder never changes its
// speed by how long frames took, so the output does not depend on the machine's load.
constexpr gint64 Good_Quality_Deadline = 1000000;
// The encoder's speed step in good-quality mode (0 best … 5 fastest).
constexpr int Encoder_Speed = 4;
// Bits per pixel and frame for the bit rate: enough for the fine detail of the textures.
constexpr double Bits_Per_Pixel = 0.15;
// Frames appsrc holds before a push waits for the encoder.
constexpr guint64 Queued_Frames = 4;
// Seeds the muxer's random track id.
constexpr guint32 Track_Id_Seed = 0x4C756369;
// How long Finish waits for the muxer to write the end of the file.
constexpr GstClockTime Finish_Timeout = 120 * GST_SECOND;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool Ends_With(const std::string& text, const char* end)
{
    const std::size_t length = std::strlen(end);
    return text.size() > length && text.compare(text.size() - length, length, end) == 0;
}

// The GStreamer name of a frame's pixel layout; nullptr for a layout it cannot take.
const char* Raw_Format(const Frame_Pixels& frame)
{
    switch (frame.Bits_Per_Pixel) {
    case 32:
        return "BGRx"; // little-endian X8R8G8B8
    case 24:
        return "BGR";
    case 16:
        return frame.Green_Mask == 0x07E0 ? "RGB16" : "RGB15";
    default:
        return nullptr;
    }
}

int Row_Bytes(const Frame_Pixels& frame)
{
    return frame.Width * (frame.Bits_Per_Pixel / 8);
}

// GStreamer's rows of packed pixels start on four-byte boundaries.
int Raw_Stride(const Frame_Pixels& frame)
{
    return (Row_Bytes(frame) + 3) & ~3;
}

// The text of the first error on the bus, or `fallback` when there is none.
std::string Bus_Error(GstElement* bin, const std::string& fallback)
{
    GstBus* bus = gst_element_get_bus(bin);
    GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
    gst_object_unref(bus);
    if (message == nullptr)
        return fallback;
    GError* gerror = nullptr;
    gst_message_parse_error(message, &gerror, nullptr);
    std::string text = gerror != nullptr ? gerror->message : fallback;
    g_clear_error(&gerror);
    gst_message_unref(message);
    return text;
}

GstElement* Make(const char* factory, const char* name, std::string& error)
{
    GstElement* element = gst_element_factory_make(factory, name);
    if (element == nullptr)
        error = std::string("GStreamer has no ") + factory +
                " element (gstreamer1.0-plugins-base and gstreamer1.0-plugins-good provide it)";
    return element;
}

} // namespace

struct Video_File::Pipeline {
    GstElement* Bin = nullptr;
    GstElement* Source = nullptr; // owned by Bin
    std::string Path, Partial;
    Frame_Pixels Format;
    gint Rate_Numerator = 0, Rate_Denominator = 1;
    guint64 Frames = 0;
    bool Finished = false;

    ~Pipeline()
    {
        if (Bin != nullptr) {
            gst_element_set_state(Bin, GST_STATE_NULL);
            gst_object_unref(Bin);
        }
        if (!Finished && !Partial.empty())
            std::remove(Partial.c_str());
    }

    GstClockTime Time_Of(guint64 frame) const
    {
        return gst_util_uint64_scale(frame, GST_SECOND * static_cast<guint64>(Rate_Denominator),
                                     static_cast<guint64>(Rate_Numerator));
    }

    bool Build(const std::string& muxer_name, double frames_per_second, std::string& error);
};

bool Video_File::Pipeline::Build(const std::string& muxer_name, double frames_per_second, std::string& error)
{
    // The muxer draws the track's id from GLib's global generator when it is linked; a fixed
    // seed gives the same id every run (nothing else in a recording process draws from it).
    g_random_set_seed(Track_Id_Seed);
    Bin = gst_pipeline_new("video-file");
    GstElement* convert = Make("videoconvert", nullptr, error);
    GstElement* encoder = Make("vp8enc", nullptr, error);
    GstElement* muxer = Make(muxer_name.c_str(), nullptr, error);
    GstElement* sink = Make("filesink", nullptr, error);
    Source = Make("appsrc", nullptr, error);
    for (GstElement* element : {Source, convert, encoder, muxer, sink}) {
        if (element != nullptr)
            gst_bin_add(GST_BIN(Bin), element);
    }
    if (!error.empty())
        return false;
    if (!gst_element_link_many(Source, convert, encoder, muxer, sink, nullptr)) {
        error = "the video pipeline cannot be linked";
        return false;
    }
    gst_util_double_to_fraction(frames_per_second, &Rate_Numerator, &Rate_Denominator);
    GstCaps* caps =
        gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, Raw_Format(Format), "width", G_TYPE_INT,
                            Format.Width, "height", G_TYPE_INT, Format.Height, "framerate", GST_TYPE_FRACTION,
                            Rate_Numerator, Rate_Denominator, nullptr);
    const guint64 frame_bytes =
        static_cast<guint64>(Raw_Stride(Format)) * static_cast<guint64>(Format.Height);
    g_object_set(Source, "caps", caps, "format", GST_FORMAT_TIME, "block", TRUE, "max-bytes",
                 frame_bytes * Queued_Frames, nullptr);
    gst_caps_unref(caps);
    const double bit_rate = Bits_Per_Pixel * Format.Width * Format.Height * frames_per_second;
    g_object_set(encoder, "threads", 1, "deadline", Good_Quality_Deadline, "cpu-used", Encoder_Speed,
                 "target-bitrate", static_cast<int>(std::min(bit_rate, 2.0e9)), "keyframe-max-dist",
                 std::max(1, static_cast<int>(frames_per_second * 2)), nullptr);
    // The DateUTC field holds the creation time unless given one: 2001-01-01, the container's
    // own epoch, keeps the bytes the same from run to run.
    GDateTime* epoch = g_date_time_new_utc(2001, 1, 1, 0, 0, 0);

    g_object_set(muxer, "creation-time", epoch, "writing-app", "lucivanta-render", nullptr);
    g_date_time_unref(epoch);
    g_object_set(sink, "location", Partial.c_str(), nullptr);
    return true;
}

Video_File::Video_File(std::unique_ptr<Pipeline> pipeline) : Stream(std::move(pipeline)) {}

Video_File::~Video_File() = default;

bool Video_File::Supported_Name(const std::string& path)
{
    const std::string name = Lower(path);
    return Ends_With(name, ".webm") || Ends_With(name, ".mkv");
}

std::unique_ptr<Video_File> Video_File::Create(const std::string& path, const Frame_Pixels& format,
                                               double frames_per_second, std::string& error)
{
    error.clear();
    if (!Supported_Name(path)) {
        error = "a video file name ends in .webm or .mkv";
        return nullptr;
    }
    if (Raw_Format(format) == nullptr || format.Width <= 0 || format.Height <= 0 ||
        !(frames_per_second > 0)) {
        error = "frames of this format cannot be recorded";
        return nullptr;
    }
    if (!gst_init_check(nullptr, nullptr, nullptr)) {
        error = "GStreamer cannot be initialised";
        return nullptr;
    }
    auto pipeline = std::make_unique<Pipeline>();
    pipeline->Path = path;
    pipeline->Partial = path + ".partial";
    pipeline->Format = format;
    pipeline->Format.Pixels = nullptr;
    const bool webm = Ends_With(Lower(path), ".webm");
    if (!pipeline->Build(webm ? "webmmux" : "matroskamux", frames_per_second, error))
        return nullptr;
    if (gst_element_set_state(pipeline->Bin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        error = Bus_Error(pipeline->Bin, "the video pipeline does not start");
        return nullptr;
    }
    return std::unique_ptr<Video_File>(new Video_File(std::move(pipeline)));
}

bool Video_File::Add_Frame(const Frame_Pixels& frame, std::string& error)
{
    Pipeline& stream = *Stream;
    if (frame.Pixels == nullptr || frame.Width != stream.Format.Width ||
        frame.Height != stream.Format.Height || frame.Bits_Per_Pixel != stream.Format.Bits_Per_Pixel) {
        error = "a frame differs in size or format from the first one";
        return false;
    }
    const int stride = Raw_Stride(frame), row_bytes = Row_Bytes(frame);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, static_cast<gsize>(stride) * frame.Height, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    for (int y = 0; y < frame.Height; ++y) {
        const auto* row =
            static_cast<const guint8*>(frame.Pixels) + static_cast<std::ptrdiff_t>(y) * frame.Pitch;
        guint8* out = map.data + static_cast<std::ptrdiff_t>(y) * stride;
        std::memcpy(out, row, static_cast<std::size_t>(row_bytes));
        std::memset(out + row_bytes, 0, static_cast<std::size_t>(stride - row_bytes));
    }
    gst_buffer_unmap(buffer, &map);
    GST_BUFFER_PTS(buffer) = stream.Time_Of(stream.Frames);
    GST_BUFFER_DURATION(buffer) = stream.Time_Of(stream.Frames + 1) - GST_BUFFER_PTS(buffer);
    stream.Frames += 1;
    if (gst_app_src_push_buffer(GST_APP_SRC(stream.Source), buffer) != GST_FLOW_OK) {
        error = Bus_Error(stream.Bin, "the video encoder stopped");
        return false;
    }
    return true;
}

bool Video_File::Finish(std::string& error)
{
    Pipeline& stream = *Stream;
    gst_app_src_end_of_stream(GST_APP_SRC(stream.Source));
    GstBus* bus = gst_element_get_bus(stream.Bin);
    GstMessage* message = gst_bus_timed_pop_filtered(
        bus, Finish_Timeout, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    gst_object_unref(bus);
    const bool ended = message != nullptr && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message != nullptr && !ended) {
        GError* gerror = nullptr;
        gst_message_parse_error(message, &gerror, nullptr);
        error = gerror != nullptr ? gerror->message : "the video could not be finished";
        g_clear_error(&gerror);
    } else if (!ended) {
        error = "the video was not finished in time";
    }
    if (message != nullptr)
        gst_message_unref(message);
    gst_element_set_state(stream.Bin, GST_STATE_NULL);
    if (!ended)
        return false;
    if (std::rename(stream.Partial.c_str(), stream.Path.c_str()) != 0) {
        error = "cannot put the video in place as " + stream.Path;
        return false;
    }
    stream.Finished = true;
    return true;
}
