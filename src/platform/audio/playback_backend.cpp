// The backend choice for music playback: GStreamer unless a test or the start-up code picked
// another one.
#include "platform/audio/gstreamer_playback.h"
#include "platform/audio/playback.h"

#include <utility>

namespace {

Playback_Factory& Selected_Factory()
{
    static Playback_Factory factory;
    return factory;
}

} // namespace

void Select_Playback_Backend(Playback_Factory factory)
{
    Selected_Factory() = std::move(factory);
}

std::unique_ptr<Audio_Playback> Create_Playback()
{
    if (Selected_Factory())
        return Selected_Factory()();
    return std::make_unique<GStreamer_Playback>();
}
