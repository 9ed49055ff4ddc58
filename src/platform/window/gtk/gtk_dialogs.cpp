// Dialogs built from their templates.
#include "platform/window/gtk/gtk_dialogs.h"

#include "platform/window/gtk/gtk_backend.h"
#include "platform/window/gtk/gtk_menus.h"

#include <cmath>
#include <gtk/gtk.h>

struct Gtk_Dialog_View::Control_View {
    Gtk_Dialog_View* Owner = nullptr;
    HWND Handle = nullptr;
    Control_Kind Kind = Control_Kind::Text;
    GtkWidget* Widget = nullptr; // what is placed
    GtkWidget* Input = nullptr;  // what the user acts on (the scale of a scroll bar)
    bool Updating = false;       // a change made from the record, not by the user
    bool Dragging = false;
};

namespace {

using View = Gtk_Dialog_View::Control_View;

Window_System& Windows_Of(View& view);

// Pixels of one dialog unit across and down, from the font's average character size.
struct Dialog_Units {
    double X = 1.5;
    double Y = 1.625;
};

Dialog_Units Units_Of(GtkWidget* widget, const Dialog_Template& dialog)
{
    Dialog_Units units;
    PangoContext* context = gtk_widget_get_pango_context(widget);
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, dialog.Font_Name != nullptr ? dialog.Font_Name : "Sans");
    // Points at the platform's 96 pixels per inch.
    pango_font_description_set_absolute_size(font, dialog.Font_Points * 96.0 / 72.0 * PANGO_SCALE);
    if (PangoFontMetrics* metrics = pango_context_get_metrics(context, font, nullptr)) {
        const double width = pango_font_metrics_get_approximate_char_width(metrics) / double(PANGO_SCALE);
        const double height =
            (pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) /
            double(PANGO_SCALE);
        if (width > 0 && height > 0) {
            units = Dialog_Units{width / 4, height / 8};
        }
        pango_font_metrics_unref(metrics);
    }
    pango_font_description_free(font);
    return units;
}

void Clicked(GtkWidget*, gpointer data)
{
    auto& view = *static_cast<View*>(data);
    if (view.Updating) {
        return;
    }
    if (view.Kind == Control_Kind::Check_Box) {
        // The mark follows the record: put it back until the window system toggles it.
        view.Updating = true;
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(view.Widget),
                                     !gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(view.Widget)));
        view.Updating = false;
    }
    Windows_Of(view).Post_Button_Click(view.Handle);
}

gboolean Scale_Changed(GtkRange*, GtkScrollType scroll, gdouble value, gpointer data)
{
    auto& view = *static_cast<View*>(data);
    Window_System& windows = Windows_Of(view);
    switch (scroll) {
    case GTK_SCROLL_STEP_BACKWARD:
    case GTK_SCROLL_STEP_LEFT:
        windows.Post_Scroll(view.Handle, SB_LINELEFT);
        break;
    case GTK_SCROLL_STEP_FORWARD:
    case GTK_SCROLL_STEP_RIGHT:
        windows.Post_Scroll(view.Handle, SB_LINERIGHT);
        break;
    case GTK_SCROLL_PAGE_BACKWARD:
    case GTK_SCROLL_PAGE_LEFT:
        windows.Post_Scroll(view.Handle, SB_PAGELEFT);
        break;
    case GTK_SCROLL_PAGE_FORWARD:
    case GTK_SCROLL_PAGE_RIGHT:
        windows.Post_Scroll(view.Handle, SB_PAGERIGHT);
        break;
    case GTK_SCROLL_START:
        windows.Post_Scroll(view.Handle, SB_LEFT);
        break;
    case GTK_SCROLL_END:
        windows.Post_Scroll(view.Handle, SB_RIGHT);
        break;
    default:
        // Dragging the thumb: whole positions only, each new one once.
        view.Dragging = true;
        windows.Post_Scroll(view.Handle, SB_THUMBTRACK, static_cast<int>(std::lround(value)));
        break;
    }
    return TRUE; // the program positions the thumb
}

gboolean Scale_Released(GtkWidget* scale, GdkEventButton*, gpointer data)
{
    auto& view = *static_cast<View*>(data);
    if (view.Dragging) {
        view.Dragging = false;
        const int position = static_cast<int>(std::lround(gtk_range_get_value(GTK_RANGE(scale))));
        Windows_Of(view).Post_Scroll(view.Handle, SB_THUMBPOSITION, position);
    }
    Windows_Of(view).Post_Scroll(view.Handle, SB_ENDSCROLL);
    return FALSE;
}

// The scroll bar's keys as the platform has them: GTK's own Home/End do nothing.
gboolean Scale_Key(GtkWidget*, GdkEventKey* event, gpointer data)
{
    auto& view = *static_cast<View*>(data);
    WORD code;
    switch (event->keyval) {
    case GDK_KEY_Home:
        code = SB_LEFT;
        break;
    case GDK_KEY_End:
        code = SB_RIGHT;
        break;
    case GDK_KEY_Left:
        code = SB_LINELEFT;
        break;
    case GDK_KEY_Right:
        code = SB_LINERIGHT;
        break;
    case GDK_KEY_Page_Up:
        code = SB_PAGELEFT;
        break;
    case GDK_KEY_Page_Down:
        code = SB_PAGERIGHT;
        break;
    default:
        return FALSE;
    }
    Windows_Of(view).Post_Scroll(view.Handle, code);
    Windows_Of(view).Post_Scroll(view.Handle, SB_ENDSCROLL);
    return TRUE;
}

gboolean Scale_Wheel(GtkWidget*, GdkEventScroll* event, gpointer data)
{
    auto& view = *static_cast<View*>(data);
    const bool back = event->direction == GDK_SCROLL_UP || event->direction == GDK_SCROLL_LEFT;
    if (event->direction != GDK_SCROLL_SMOOTH) {
        Windows_Of(view).Post_Scroll(view.Handle, back ? SB_LINELEFT : SB_LINERIGHT);
    }
    return TRUE;
}

void Arrow_Clicked(GtkWidget* arrow, gpointer data)
{
    auto& view = *static_cast<View*>(data);
    const bool left = g_object_get_data(G_OBJECT(arrow), "lucivanta-left") != nullptr;
    Windows_Of(view).Post_Scroll(view.Handle, left ? SB_LINELEFT : SB_LINERIGHT);
    Windows_Of(view).Post_Scroll(view.Handle, SB_ENDSCROLL);
}

void Combo_Changed(GtkComboBox* combo, gpointer data)
{
    auto& view = *static_cast<View*>(data);
    if (!view.Updating) {
        Windows_Of(view).Post_Combo_Choice(view.Handle, gtk_combo_box_get_active(combo));
    }
}

GtkWidget* Scroll_Bar(View& view)
{
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    GtkWidget* left = gtk_button_new_from_icon_name("pan-start-symbolic", GTK_ICON_SIZE_MENU);
    GtkWidget* right = gtk_button_new_from_icon_name("pan-end-symbolic", GTK_ICON_SIZE_MENU);
    g_object_set_data(G_OBJECT(left), "lucivanta-left", left);
    for (GtkWidget* arrow : {left, right}) {
        gtk_widget_set_can_focus(arrow, FALSE);
        g_signal_connect(arrow, "clicked", G_CALLBACK(Arrow_Clicked), &view);
    }
    GtkWidget* scale = gtk_scale_new_with_range(GTK_ORIENTATION_HORIZONTAL, 0, 100, 1);
    gtk_scale_set_draw_value(GTK_SCALE(scale), FALSE);
    gtk_widget_set_hexpand(scale, TRUE);
    g_signal_connect(scale, "change-value", G_CALLBACK(Scale_Changed), &view);
    g_signal_connect(scale, "button-release-event", G_CALLBACK(Scale_Released), &view);
    g_signal_connect(scale, "key-press-event", G_CALLBACK(Scale_Key), &view);
    g_signal_connect(scale, "scroll-event", G_CALLBACK(Scale_Wheel), &view);
    gtk_box_pack_start(GTK_BOX(box), left, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(box), scale, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(box), right, FALSE, FALSE, 0);
    view.Input = scale;
    return box;
}

gboolean Dialog_Key(GtkWidget* shell, GdkEventKey* event, gpointer data)
{
    auto& dialog = *static_cast<Gtk_Dialog_View*>(data);
    const auto& views = dialog.Controls();
    Window_System& windows = dialog.Windows();
    if (event->keyval == GDK_KEY_Escape) {
        windows.Post_Message(dialog.Dialog(), WM_CLOSE, 0, 0);
        return TRUE;
    }
    if (event->keyval == GDK_KEY_Return || event->keyval == GDK_KEY_KP_Enter) {
        // The focused push button, else the default one.
        GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(shell));
        for (auto& [handle, view] : views) {
            if (view->Kind == Control_Kind::Push_Button && view->Widget == focus) {
                windows.Post_Button_Click(handle);
                return TRUE;
            }
        }
        for (auto& [handle, view] : views) {
            const Window_Record* control = windows.Find(handle);
            if (view->Kind == Control_Kind::Push_Button && control != nullptr &&
                (control->Control->Style & 0x0F) == BS_DEFPUSHBUTTON && !(control->Style & WS_DISABLED)) {
                windows.Post_Button_Click(handle);
                return TRUE;
            }
        }
        return TRUE;
    }
    return FALSE;
}

gboolean Dialog_Delete(GtkWidget*, GdkEvent*, gpointer data)
{
    auto& dialog = *static_cast<Gtk_Dialog_View*>(data);
    dialog.Windows().Post_Message(dialog.Dialog(), WM_CLOSE, 0, 0);
    return TRUE;
}

} // namespace

Gtk_Dialog_View::Gtk_Dialog_View(Gtk_Backend& backend, const Window_Record& dialog)
    : Backend(backend), Handle(dialog.Handle)
{
    const Dialog_Template& layout = *dialog.Dialog->Template;
    Shell = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(Shell), dialog.Text.c_str());
    gtk_window_set_resizable(GTK_WINDOW(Shell), FALSE);
    gtk_window_set_modal(GTK_WINDOW(Shell), TRUE);
    gtk_window_set_type_hint(GTK_WINDOW(Shell), GDK_WINDOW_TYPE_HINT_DIALOG);
    if (GtkWidget* parent = backend.Parent_Window_For(dialog.Parent)) {
        gtk_window_set_transient_for(GTK_WINDOW(Shell), GTK_WINDOW(parent));
        gtk_window_set_position(GTK_WINDOW(Shell), GTK_WIN_POS_CENTER_ON_PARENT);
    } else {
        gtk_window_set_position(GTK_WINDOW(Shell), GTK_WIN_POS_CENTER);
    }
    GtkWidget* fixed = gtk_fixed_new();
    gtk_container_add(GTK_CONTAINER(Shell), fixed);
    const Dialog_Units units = Units_Of(Shell, layout);
    gtk_widget_set_size_request(fixed, static_cast<int>(layout.Width * units.X),
                                static_cast<int>(layout.Height * units.Y));
    Window_System& windows = backend.Windows();
    for (HWND handle : dialog.Dialog->Controls) {
        const Window_Record* control = windows.Find(handle);
        if (control == nullptr || !control->Control) {
            continue;
        }
        auto* view = new Control_View;
        view->Owner = this;
        view->Handle = handle;
        view->Kind = control->Control->Kind;
        view->Widget = Make(*control, *view);
        const RECT& at = control->Control->Dialog_Units;
        gtk_widget_set_size_request(view->Widget, static_cast<int>((at.right - at.left) * units.X),
                                    static_cast<int>((at.bottom - at.top) * units.Y));
        gtk_fixed_put(GTK_FIXED(fixed), view->Widget, static_cast<int>(at.left * units.X),
                      static_cast<int>(at.top * units.Y));
        Views[handle] = view;
        Update(*control);
    }
    g_signal_connect(Shell, "key-press-event", G_CALLBACK(Dialog_Key), this);
    g_signal_connect(Shell, "delete-event", G_CALLBACK(Dialog_Delete), this);
    gtk_widget_show_all(Shell);
    gtk_window_present(GTK_WINDOW(Shell));
}

Gtk_Dialog_View::~Gtk_Dialog_View()
{
    gtk_widget_destroy(Shell);
    for (auto& [handle, view] : Views) {
        delete view;
    }
}

GtkWidget* Gtk_Dialog_View::Make(const Window_Record& control, Control_View& view)
{
    const std::string label = Mnemonic_Label(control.Text);
    switch (view.Kind) {
    case Control_Kind::Push_Button: {
        GtkWidget* button = gtk_button_new_with_mnemonic(label.c_str());
        g_signal_connect(button, "clicked", G_CALLBACK(Clicked), &view);
        return button;
    }
    case Control_Kind::Check_Box: {
        GtkWidget* box = gtk_check_button_new_with_mnemonic(label.c_str());
        g_signal_connect(box, "clicked", G_CALLBACK(Clicked), &view);
        return box;
    }
    case Control_Kind::Group_Box:
        return gtk_frame_new(control.Text.c_str());
    case Control_Kind::Icon:
        return gtk_image_new_from_icon_name("lucivanta", GTK_ICON_SIZE_DND);
    case Control_Kind::Scroll_Bar:
        return Scroll_Bar(view);
    case Control_Kind::Combo_Box: {
        GtkWidget* combo = gtk_combo_box_text_new();
        g_signal_connect(combo, "changed", G_CALLBACK(Combo_Changed), &view);
        return combo;
    }
    case Control_Kind::Text:
    default: {
        GtkWidget* text = gtk_label_new_with_mnemonic(label.c_str());
        gtk_label_set_line_wrap(GTK_LABEL(text), TRUE);
        const bool centred = (control.Control->Style & 0x3) == SS_CENTER;
        gtk_label_set_xalign(GTK_LABEL(text), centred ? 0.5f : 0.0f);
        gtk_label_set_yalign(GTK_LABEL(text), 0.0f);
        gtk_label_set_justify(GTK_LABEL(text), centred ? GTK_JUSTIFY_CENTER : GTK_JUSTIFY_LEFT);
        return text;
    }
    }
}

void Gtk_Dialog_View::Update(const Window_Record& control)
{
    auto found = Views.find(control.Handle);
    if (found == Views.end() || !control.Control) {
        return;
    }
    Control_View& view = *found->second;
    const Control_State& state = *control.Control;
    view.Updating = true;
    gtk_widget_set_sensitive(view.Widget, !(control.Style & WS_DISABLED));
    const std::string label = Mnemonic_Label(control.Text);
    switch (view.Kind) {
    case Control_Kind::Push_Button:
        gtk_button_set_label(GTK_BUTTON(view.Widget), label.c_str());
        break;
    case Control_Kind::Check_Box:
        gtk_button_set_label(GTK_BUTTON(view.Widget), label.c_str());
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(view.Widget), state.Check == BST_CHECKED);
        break;
    case Control_Kind::Group_Box:
        gtk_frame_set_label(GTK_FRAME(view.Widget), control.Text.c_str());
        break;
    case Control_Kind::Text:
        gtk_label_set_text_with_mnemonic(GTK_LABEL(view.Widget), label.c_str());
        break;
    case Control_Kind::Scroll_Bar:
        gtk_range_set_range(GTK_RANGE(view.Input), state.Scroll_Min,
                            std::max(state.Scroll_Max, state.Scroll_Min + 1));
        gtk_range_set_value(GTK_RANGE(view.Input), state.Scroll_Pos);
        break;
    case Control_Kind::Combo_Box: {
        GtkComboBoxText* combo = GTK_COMBO_BOX_TEXT(view.Widget);
        gtk_combo_box_text_remove_all(combo);
        for (const Control_State::Item& item : state.Items) {
            gtk_combo_box_text_append_text(combo, item.Text.c_str());
        }
        gtk_combo_box_set_active(GTK_COMBO_BOX(combo), state.Selection);
        break;
    }
    case Control_Kind::Icon:
        break;
    }
    view.Updating = false;
}

Window_System& Gtk_Dialog_View::Windows()
{
    return Backend.Windows();
}

namespace {

Window_System& Windows_Of(View& view)
{
    return view.Owner->Windows();
}

} // namespace
