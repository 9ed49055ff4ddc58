// The music player's playback record.
#include "media/mp3_player.h"

void MP3_Player::Initialise()
{
    Playback.reset();
    Loaded = false;
    Initialised = true;
}

void MP3_Player::Shutdown()
{
    if (Playback)
        Playback->Stop();
    Playback.reset();
    Loaded = false;
    Initialised = false;
}

HRESULT MP3_Player::Open(const char* path)
{
    Playback = Create_Playback();
    if (!Playback)
        return E_FAIL;
    Loaded = Playback->Open(path);
    return S_OK;
}

void MP3_Player::Run()
{
    if (Loaded)
        Playback->Run();
}

void MP3_Player::Pause()
{
    if (Loaded)
        Playback->Pause();
}

void MP3_Player::Stop()
{
    if (Loaded)
        Playback->Stop();
}

int MP3_Player::Track_State()
{
    if (!Loaded)
        return Track_Not_Loaded;
    // The end of a track is the end of its stream: an estimated duration can be off either way.
    // A stream that broke off while playing is treated like a file that cannot be played, so
    // a failing sink or decoder does not make the frame reopen tracks one after another.
    switch (Playback->Status()) {
    case Audio_Playback::Stream_Status::Ended:
        return Track_Finished;
    case Audio_Playback::Stream_Status::Failed:
        return Track_Not_Loaded;
    case Audio_Playback::Stream_Status::Going:
        break;
    }
    double position = 0.0;
    double duration = 0.0;
    if (!Playback->Get_Position(&position) || !Playback->Get_Duration(&duration))
        return Track_Unknown;
    return Track_Playing;
}
