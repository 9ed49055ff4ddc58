// Puts every program-wide object the scene drives back to its state at program start, so the
// scene and whole-program tests do not leak textures, fades or draws into one another.
#pragma once

#include "app/command_line.h"
#include "app/d3dapp.h"
#include "app/scene.h"
#include "d3dframe/d3denum.h"
#include "d3dframe/d3dtextr.h"
#include "effects/gradient.h"
#include "effects/plasma.h"
#include "effects/sine_wave.h"
#include "effects/titles.h"
#include "geometry/kaleidoscope.h"
#include "geometry/wall.h"
#include "log/error_log.h"
#include "media/mp3.h"
#include "platform/window/window_system.h"
#include "ui/file_chooser.h"

inline void Reset_Program_Objects()
{
    Kaleidoscope::Reset();
    D3DWall.Reset();
    Titles.Reset();
    D3DPlasma.Reset();
    D3DSine_Wave.Reset();
    D3DGradient.Reset();
    MP3::Reset();
    File_Chooser.Reset();
    D3DTextr_DestroyAll();
}

// A fresh window system, frame, device list, scene, log and command line, and the objects above.
inline void Reset_Program_State()
{
    Install_Window_System(nullptr);
    Reset_Frame_State();
    D3DEnum_Reset();
    Reset_Scene_State();
    Reset_Diagnostics();
    Reset_Command_Line();
    Reset_Program_Objects();
}
