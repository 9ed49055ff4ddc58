// A horizontal scroll bar of the desktop backend with the platform's look and semantics, drawn
// by us because GtkScrollbar and GtkScale move by fractions and warp on trough clicks: an
// arrow box at each end as wide as the bar is high, a square thumb, and the trough between.
// A press on an arrow is one line step, on the trough one page step (both repeat while held),
// dragging the thumb tracks whole positions; Left/Right and Up/Down are line steps, Page
// Up/Down page steps, Home/End go to the ends. Every action is reported as a scroll code
// (SB_*, with the position for the thumb codes) and SB_ENDSCROLL when the press or key ends;
// the thumb never moves by itself, only through Set_Scroll_Bar (the dialog procedure decides).
#pragma once

#include "platform/win_types.h"

#include <functional>

typedef struct _GtkWidget GtkWidget;

using Scroll_Report = std::function<void(WORD code, int position)>;

GtkWidget* New_Scroll_Bar(Scroll_Report report);
void Set_Scroll_Bar(GtkWidget* bar, int minimum, int maximum, int position);
