// Puts every program-wide object the scene drives back to its state at program start, so the
// scene and whole-program tests do not leak textures, fades or draws into one another.
#pragma once

#include "d3dframe/d3dtextr.h"
#include "effects/gradient.h"
#include "effects/plasma.h"
#include "effects/sine_wave.h"
#include "effects/titles.h"
#include "geometry/kaleidoscope.h"
#include "geometry/wall.h"
#include "media/mp3.h"

inline void Reset_Program_Objects()
{
    Kaleidoscope::Reset();
    D3DWall.Reset();
    Titles.Reset();
    D3DPlasma.Reset();
    D3DSine_Wave.Reset();
    D3DGradient.Reset();
    MP3::Reset();
    D3DTextr_DestroyAll();
}
