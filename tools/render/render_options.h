// The command line of lucivanta-render.
#pragma once

#include <string>

struct Render_Options {
    unsigned Seed = 1;
    int Width = 640;
    int Height = 480;
    int Depth = 32;                  // 16 (5-6-5) or 32 (X8R8G8B8)
    std::string Device = "software"; // or "reference"
    std::string Kernel;              // "" or the one span kernel the software device draws with
    double Frames_Per_Second = 30.0; // of simulated time
    double Duration = 10.0;          // seconds of simulated time
    std::string Data_Folder;         // holds Lucivanta.bmp, Images/, Backdrop/; "" = installed data
    std::string Output;              // PNG of the last frame; lucivanta.png unless a video is made
    std::string Video;               // .webm or .mkv: every frame as video at Frames_Per_Second
    int Every = 0;                   // with Frames_Folder: write every Nth frame there
    std::string Frames_Folder;
    std::string Log_Copy; // where to keep the run's error log
    bool Quiet = false;
    bool Help = false;
};

// False with a reason in error when the arguments are not understood.
bool Parse_Render_Options(int argc, char** argv, Render_Options& options, std::string& error);
const char* Render_Usage();
