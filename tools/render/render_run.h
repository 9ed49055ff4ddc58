// One run of lucivanta-render: the real scene, created and driven as the program drives it,
// with a manual clock advanced by a fixed step before each frame.
#pragma once

#include "render_options.h"

// The exit code: 0 when the run went as the program would have gone (also when the scene
// ended it early, which is reported with the run's log); 1 when it could not start.
int Run_Render(const Render_Options& options);
