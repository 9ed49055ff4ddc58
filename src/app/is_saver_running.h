// Whether a screen saver is running already, asked before a saver-mode start.
#pragma once

bool IsSaverRunning();
