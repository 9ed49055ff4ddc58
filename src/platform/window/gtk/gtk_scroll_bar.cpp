// The dialogs' horizontal scroll bar: a drawing area with the platform's parts and codes.
#include "platform/window/gtk/gtk_scroll_bar.h"

#include "platform/window/dialog_types.h"

#include <algorithm>
#include <cmath>
#include <gtk/gtk.h>

namespace {

enum class Part { None, Left_Arrow, Left_Trough, Thumb, Right_Trough, Right_Arrow };

struct Bar {
    Scroll_Report Report;
    GtkWidget* Widget = nullptr;
    int Minimum = 0;
    int Maximum = 100;
    int Position = 0;
    Part Pressed = Part::None;
    double Pointer_X = 0;
    double Drag_Offset = 0; // from the thumb's left edge to the pointer
    int Tracked = 0;        // the position the dragged thumb stands for
    guint Repeat = 0;       // the timer repeating a held arrow or trough press
    guint Key_Held = 0;     // the key whose release ends the scroll
};

// Where the parts lie across a bar of `width` × `height` with the thumb at `position`.
struct Layout {
    int Arrow = 0;      // the width of each arrow box
    int Track = 0;      // the trough's width
    int Thumb = 0;      // the thumb's width (square), 0 without a thumb
    int Thumb_Left = 0; // from the bar's left edge
};

Layout Layout_Of(const Bar& bar, int width, int height, int position)
{
    Layout layout;
    layout.Arrow = std::min(height, width / 2);
    layout.Track = width - 2 * layout.Arrow;
    // No thumb where the range is empty or the trough too short to hold one.
    if (bar.Maximum > bar.Minimum && layout.Track >= height && gtk_widget_is_sensitive(bar.Widget)) {
        layout.Thumb = height;
        const long long span = bar.Maximum - bar.Minimum;
        const long long offset = std::clamp(position, bar.Minimum, bar.Maximum) - bar.Minimum;
        layout.Thumb_Left = layout.Arrow + static_cast<int>((layout.Track - layout.Thumb) * offset / span);
    }
    return layout;
}

int Width(const Bar& bar)
{
    return gtk_widget_get_allocated_width(bar.Widget);
}

int Height(const Bar& bar)
{
    return gtk_widget_get_allocated_height(bar.Widget);
}

Layout Layout_Now(const Bar& bar)
{
    const bool dragging = bar.Pressed == Part::Thumb;
    return Layout_Of(bar, Width(bar), Height(bar), dragging ? bar.Tracked : bar.Position);
}

Part Part_At(const Bar& bar, double x)
{
    const Layout layout = Layout_Now(bar);
    if (x < layout.Arrow) {
        return Part::Left_Arrow;
    }
    if (x >= Width(bar) - layout.Arrow) {
        return Part::Right_Arrow;
    }
    if (layout.Thumb == 0) {
        return Part::None;
    }
    if (x < layout.Thumb_Left) {
        return Part::Left_Trough;
    }
    return x < layout.Thumb_Left + layout.Thumb ? Part::Thumb : Part::Right_Trough;
}

// The whole position a thumb whose left edge stands at `left` shows.
int Position_At(const Bar& bar, double left)
{
    const Layout layout = Layout_Now(bar);
    const int room = layout.Track - layout.Thumb;
    if (room <= 0) {
        return bar.Minimum;
    }
    const double fraction = std::clamp((left - layout.Arrow) / room, 0.0, 1.0);
    return bar.Minimum + static_cast<int>(std::lround(fraction * (bar.Maximum - bar.Minimum)));
}

WORD Code_Of(Part part)
{
    switch (part) {
    case Part::Left_Arrow:
        return SB_LINELEFT;
    case Part::Right_Arrow:
        return SB_LINERIGHT;
    case Part::Left_Trough:
        return SB_PAGELEFT;
    default:
        return SB_PAGERIGHT;
    }
}

void Stop_Repeat(Bar& bar)
{
    if (bar.Repeat != 0) {
        g_source_remove(bar.Repeat);
        bar.Repeat = 0;
    }
}

// A held press repeats while the pointer stays over the part it pressed (a trough press
// stops once the thumb has come under the pointer).
gboolean Repeat_Step(gpointer data)
{
    auto& bar = *static_cast<Bar*>(data);
    if (Part_At(bar, bar.Pointer_X) == bar.Pressed) {
        bar.Report(Code_Of(bar.Pressed), 0);
    }
    return G_SOURCE_CONTINUE;
}

gboolean Start_Repeating(gpointer data)
{
    auto& bar = *static_cast<Bar*>(data);
    bar.Repeat = g_timeout_add(50, Repeat_Step, &bar);
    Repeat_Step(&bar);
    return G_SOURCE_REMOVE;
}

gboolean Pressed(GtkWidget* widget, GdkEventButton* event, gpointer data)
{
    auto& bar = *static_cast<Bar*>(data);
    if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_PRIMARY || bar.Pressed != Part::None) {
        return TRUE;
    }
    gtk_widget_grab_focus(widget);
    bar.Pointer_X = event->x;
    const Part part = Part_At(bar, event->x);
    if (part == Part::None) {
        return TRUE;
    }
    if (part == Part::Thumb) {
        bar.Drag_Offset = event->x - Layout_Now(bar).Thumb_Left;
        bar.Tracked = bar.Position;
    } else {
        bar.Report(Code_Of(part), 0);
        bar.Repeat = g_timeout_add(350, Start_Repeating, &bar);
    }
    bar.Pressed = part;
    gtk_widget_queue_draw(widget);
    return TRUE;
}

gboolean Moved(GtkWidget* widget, GdkEventMotion* event, gpointer data)
{
    auto& bar = *static_cast<Bar*>(data);
    bar.Pointer_X = event->x;
    if (bar.Pressed == Part::Thumb) {
        const int position = Position_At(bar, event->x - bar.Drag_Offset);
        if (position != bar.Tracked) {
            bar.Tracked = position;
            bar.Report(SB_THUMBTRACK, position);
            gtk_widget_queue_draw(widget);
        }
    }
    return TRUE;
}

void End_Press(Bar& bar)
{
    Stop_Repeat(bar);
    const Part part = bar.Pressed;
    bar.Pressed = Part::None;
    if (part == Part::Thumb) {
        bar.Report(SB_THUMBPOSITION, bar.Tracked);
    }
    if (part != Part::None) {
        bar.Report(SB_ENDSCROLL, 0);
        gtk_widget_queue_draw(bar.Widget);
    }
}

gboolean Released(GtkWidget*, GdkEventButton* event, gpointer data)
{
    if (event->button == GDK_BUTTON_PRIMARY) {
        End_Press(*static_cast<Bar*>(data));
    }
    return TRUE;
}

// A grab taken away (another window, a dialog closing) ends the press as a release would.
gboolean Grab_Broken(GtkWidget*, GdkEventGrabBroken*, gpointer data)
{
    End_Press(*static_cast<Bar*>(data));
    return FALSE;
}

gboolean Focus_Changed(GtkWidget* widget, GdkEventFocus*, gpointer)
{
    gtk_widget_queue_draw(widget); // the focus mark on the thumb
    return FALSE;
}

bool Key_Code(guint key, WORD& code)
{
    switch (key) {
    case GDK_KEY_Left:
    case GDK_KEY_Up:
    case GDK_KEY_KP_Left:
    case GDK_KEY_KP_Up:
        code = SB_LINELEFT;
        return true;
    case GDK_KEY_Right:
    case GDK_KEY_Down:
    case GDK_KEY_KP_Right:
    case GDK_KEY_KP_Down:
        code = SB_LINERIGHT;
        return true;
    case GDK_KEY_Page_Up:
    case GDK_KEY_KP_Page_Up:
        code = SB_PAGELEFT;
        return true;
    case GDK_KEY_Page_Down:
    case GDK_KEY_KP_Page_Down:
        code = SB_PAGERIGHT;
        return true;
    case GDK_KEY_Home:
    case GDK_KEY_KP_Home:
        code = SB_LEFT;
        return true;
    case GDK_KEY_End:
    case GDK_KEY_KP_End:
        code = SB_RIGHT;
        return true;
    default:
        return false;
    }
}

gboolean Key_Pressed(GtkWidget*, GdkEventKey* event, gpointer data)
{
    auto& bar = *static_cast<Bar*>(data);
    WORD code = 0;
    if ((event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) != 0 || !Key_Code(event->keyval, code)) {
        return FALSE;
    }
    bar.Key_Held = event->keyval;
    bar.Report(code, 0);
    return TRUE;
}

gboolean Key_Released(GtkWidget*, GdkEventKey* event, gpointer data)
{
    auto& bar = *static_cast<Bar*>(data);
    if (bar.Key_Held == 0 || event->keyval != bar.Key_Held) {
        return FALSE;
    }
    bar.Key_Held = 0;
    bar.Report(SB_ENDSCROLL, 0);
    return TRUE;
}

gboolean Wheel(GtkWidget*, GdkEventScroll* event, gpointer data)
{
    auto& bar = *static_cast<Bar*>(data);
    if (event->direction == GDK_SCROLL_SMOOTH) {
        return FALSE;
    }
    const bool back = event->direction == GDK_SCROLL_UP || event->direction == GDK_SCROLL_LEFT;
    bar.Report(back ? SB_LINELEFT : SB_LINERIGHT, 0);
    bar.Report(SB_ENDSCROLL, 0);
    return TRUE;
}

// --- Drawing: raised boxes for the arrows and the thumb over a sunken trough ---------------

void Box(cairo_t* cr, double x, double y, double width, double height, bool pressed)
{
    cairo_rectangle(cr, x + 0.5, y + 0.5, width - 1, height - 1);
    if (pressed) {
        cairo_set_source_rgb(cr, 0.80, 0.79, 0.77);
    } else {
        cairo_set_source_rgb(cr, 0.97, 0.96, 0.96);
    }
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.66, 0.64, 0.61);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void Arrow(cairo_t* cr, double x, double size, double height, bool left, bool sensitive)
{
    const double half = std::max(2.0, std::floor(std::min(size, height) / 4));
    const double centre_x = x + size / 2;
    const double centre_y = height / 2;
    const double tip = left ? -half / 2 : half / 2;
    cairo_move_to(cr, centre_x + tip, centre_y);
    cairo_line_to(cr, centre_x - tip, centre_y - half);
    cairo_line_to(cr, centre_x - tip, centre_y + half);
    cairo_close_path(cr);
    if (sensitive) {
        cairo_set_source_rgb(cr, 0.18, 0.20, 0.21);
    } else {
        cairo_set_source_rgb(cr, 0.63, 0.63, 0.63);
    }
    cairo_fill(cr);
}

gboolean Draw(GtkWidget* widget, cairo_t* cr, gpointer data)
{
    const auto& bar = *static_cast<Bar*>(data);
    const int width = Width(bar);
    const int height = Height(bar);
    const Layout layout = Layout_Now(bar);
    const bool sensitive = gtk_widget_is_sensitive(widget);
    cairo_set_source_rgb(cr, 0.88, 0.87, 0.86);
    cairo_rectangle(cr, layout.Arrow, 0, layout.Track, height);
    cairo_fill(cr);
    // A pressed trough darkens between the thumb and the pointer's side.
    if (bar.Pressed == Part::Left_Trough || bar.Pressed == Part::Right_Trough) {
        const bool left = bar.Pressed == Part::Left_Trough;
        const int from = left ? layout.Arrow : layout.Thumb_Left + layout.Thumb;
        const int to = left ? layout.Thumb_Left : width - layout.Arrow;
        cairo_set_source_rgb(cr, 0.45, 0.45, 0.45);
        cairo_rectangle(cr, from, 0, to - from, height);
        cairo_fill(cr);
    }
    Box(cr, 0, 0, layout.Arrow, height, bar.Pressed == Part::Left_Arrow);
    Box(cr, width - layout.Arrow, 0, layout.Arrow, height, bar.Pressed == Part::Right_Arrow);
    Arrow(cr, 0, layout.Arrow, height, true, sensitive);
    Arrow(cr, width - layout.Arrow, layout.Arrow, height, false, sensitive);
    if (layout.Thumb > 0) {
        Box(cr, layout.Thumb_Left, 0, layout.Thumb, height, false);
        if (gtk_widget_has_focus(widget)) {
            const double dash = 1;
            cairo_set_dash(cr, &dash, 1, 0);
            cairo_set_source_rgb(cr, 0.18, 0.20, 0.21);
            cairo_rectangle(cr, layout.Thumb_Left + 3.5, 3.5, layout.Thumb - 7, height - 7);
            cairo_stroke(cr);
        }
    }
    return TRUE;
}

} // namespace

GtkWidget* New_Scroll_Bar(Scroll_Report report)
{
    auto* bar = new Bar;
    bar->Report = std::move(report);
    bar->Widget = gtk_drawing_area_new();
    GtkWidget* widget = bar->Widget;
    gtk_widget_set_can_focus(widget, TRUE);
    gtk_widget_add_events(widget, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                      GDK_KEY_PRESS_MASK | GDK_KEY_RELEASE_MASK | GDK_SCROLL_MASK |
                                      GDK_FOCUS_CHANGE_MASK);
    g_object_set_data_full(
        G_OBJECT(widget), "lucivanta-scroll-bar", bar, +[](gpointer data) {
            auto* owned = static_cast<Bar*>(data);
            Stop_Repeat(*owned);
            delete owned;
        });
    g_signal_connect(widget, "draw", G_CALLBACK(Draw), bar);
    g_signal_connect(widget, "button-press-event", G_CALLBACK(Pressed), bar);
    g_signal_connect(widget, "button-release-event", G_CALLBACK(Released), bar);
    g_signal_connect(widget, "motion-notify-event", G_CALLBACK(Moved), bar);
    g_signal_connect(widget, "grab-broken-event", G_CALLBACK(Grab_Broken), bar);
    g_signal_connect(widget, "key-press-event", G_CALLBACK(Key_Pressed), bar);
    g_signal_connect(widget, "key-release-event", G_CALLBACK(Key_Released), bar);
    g_signal_connect(widget, "scroll-event", G_CALLBACK(Wheel), bar);
    g_signal_connect(widget, "focus-in-event", G_CALLBACK(Focus_Changed), nullptr);
    g_signal_connect(widget, "focus-out-event", G_CALLBACK(Focus_Changed), nullptr);
    return widget;
}

void Set_Scroll_Bar(GtkWidget* widget, int minimum, int maximum, int position)
{
    auto* bar = static_cast<Bar*>(g_object_get_data(G_OBJECT(widget), "lucivanta-scroll-bar"));
    if (bar == nullptr) {
        return;
    }
    bar->Minimum = minimum;
    bar->Maximum = maximum;
    bar->Position = position;
    gtk_widget_queue_draw(widget);
}
