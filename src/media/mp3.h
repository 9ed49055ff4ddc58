// The music object: picks MP3 files at random from the music folder, one after another, keeps
// the current track's title for the titles image, and drives the playback record. There is
// one in the program, so its state and operations are static (MP3::Track_State(), MP3::Title).
#pragma once

#include <cstdint>

class MP3 {
public:
    static constexpr int Path_Size = 260;

    // The current track's file name without its last four characters (the extension);
    // "No music" until a track is picked, unchanged when music stops or a pick fails.
    static inline char Title[Path_Size];
    // Listing index of the file picked last; the next pick differs when there are two or more.
    static inline int32_t Last_MP3;

    // Back to the state of program start.
    static void Reset();

    // 1 with the full path in path_out (Path_Size characters) and Title set; 0 on failure.
    static int Select_Random_MP3(char* path_out);
    // Closes whatever plays, picks a new track and starts it; 1 when a track was picked.
    static int Play_Random_MP3();
    static int Start();
    static int Close();
    static int Track_State();
    static int Stop();
    static int Pause();
    static int Resume();
};
