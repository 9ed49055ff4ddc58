// GStreamer playbin backend of the music player.
#include "platform/audio/gstreamer_playback.h"

#include <gst/gst.h>

#include <cstdint>
#include <utility>

namespace {

// playbin's GstPlayFlags (not in a public header): audio plus software volume, no video,
// no subtitles, no visualisation.
constexpr unsigned Play_Flag_Audio = 1u << 1;
constexpr unsigned Play_Flag_Soft_Volume = 1u << 4;

constexpr double Nanoseconds = 1e9;

} // namespace

struct GStreamer_Playback::Pipeline {
    GstElement* Bin = nullptr;
    GstBus* Bus = nullptr;
};

bool GStreamer_Playback::Available()
{
    static const bool initialised = gst_init_check(nullptr, nullptr, nullptr) != FALSE;
    return initialised;
}

GStreamer_Playback::GStreamer_Playback(std::string audio_sink, double open_timeout_seconds)
    : Audio_Sink(std::move(audio_sink)), Open_Timeout(open_timeout_seconds)
{
}

GStreamer_Playback::~GStreamer_Playback()
{
    Close();
}

void GStreamer_Playback::Close()
{
    if (!Player)
        return;
    gst_element_set_state(Player->Bin, GST_STATE_NULL);
    if (Player->Bus)
        gst_object_unref(Player->Bus);
    gst_object_unref(Player->Bin);
    delete Player;
    Player = nullptr;
}

namespace {

GstElement* Make_Playbin(const char* path, const std::string& audio_sink)
{
    gchar* uri = gst_filename_to_uri(path, nullptr);
    if (!uri)
        return nullptr;
    GstElement* bin = gst_element_factory_make("playbin", nullptr);
    if (!bin) {
        g_free(uri);
        return nullptr;
    }
    g_object_set(bin, "uri", uri, "flags", Play_Flag_Audio | Play_Flag_Soft_Volume, nullptr);
    g_free(uri);
    if (!audio_sink.empty()) {
        GstElement* sink = gst_parse_bin_from_description(audio_sink.c_str(), TRUE, nullptr);
        if (!sink) {
            gst_object_unref(bin);
            return nullptr;
        }
        g_object_set(bin, "audio-sink", sink, nullptr);
    }
    return bin;
}

bool Has_Error(GstBus* bus)
{
    GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
    if (!message)
        return false;
    gst_message_unref(message);
    return true;
}

} // namespace

bool GStreamer_Playback::Open(const char* path)
{
    Close();
    Current = Stream_Status::Going;
    if (!path || !Available())
        return false;
    GstElement* bin = Make_Playbin(path, Audio_Sink);
    if (!bin)
        return false;
    Player = new Pipeline{bin, gst_element_get_bus(bin)};

    // Prerolling decodes the first buffer: random bytes, text, empty and missing files fail
    // here within milliseconds, and a track without any audio stream is refused as well.
    bool playable = gst_element_set_state(bin, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
    if (playable) {
        const auto timeout = static_cast<GstClockTime>(Open_Timeout * Nanoseconds);
        const GstStateChangeReturn result = gst_element_get_state(bin, nullptr, nullptr, timeout);
        playable = result == GST_STATE_CHANGE_SUCCESS || result == GST_STATE_CHANGE_NO_PREROLL;
    }
    if (playable)
        playable = !Has_Error(Player->Bus);
    if (playable) {
        gint audio_streams = 0;
        g_object_get(bin, "n-audio", &audio_streams, nullptr);
        playable = audio_streams > 0;
    }
    if (!playable)
        Close();
    return playable;
}

void GStreamer_Playback::Run()
{
    if (Player)
        gst_element_set_state(Player->Bin, GST_STATE_PLAYING);
}

void GStreamer_Playback::Pause()
{
    if (Player)
        gst_element_set_state(Player->Bin, GST_STATE_PAUSED);
}

void GStreamer_Playback::Stop()
{
    if (!Player)
        return;
    // READY lets go of the audio device; the next Run prerolls again from the start.
    gst_element_set_state(Player->Bin, GST_STATE_READY);
    Drain_Bus();
    Current = Stream_Status::Going;
}

bool GStreamer_Playback::Get_Position(double* seconds)
{
    gint64 position = -1;
    if (!Player || !gst_element_query_position(Player->Bin, GST_FORMAT_TIME, &position) || position < 0)
        return false;
    *seconds = static_cast<double>(position) / Nanoseconds;
    return true;
}

bool GStreamer_Playback::Get_Duration(double* seconds)
{
    // An MP3 without a Xing/LAME header has no duration for its first fraction of a second,
    // and an estimate after that; the end of the track is taken from end-of-stream instead.
    gint64 duration = -1;
    if (!Player || !gst_element_query_duration(Player->Bin, GST_FORMAT_TIME, &duration) || duration < 0)
        return false;
    *seconds = static_cast<double>(duration) / Nanoseconds;
    return true;
}

void GStreamer_Playback::Drain_Bus()
{
    const auto wanted = static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR);
    while (GstMessage* message = gst_bus_pop_filtered(Player->Bus, wanted)) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
            Current = Stream_Status::Failed;
        else if (Current == Stream_Status::Going)
            Current = Stream_Status::Ended;
        gst_message_unref(message);
    }
}

Audio_Playback::Stream_Status GStreamer_Playback::Status()
{
    if (!Player)
        return Stream_Status::Failed;
    Drain_Bus();
    return Current;
}
