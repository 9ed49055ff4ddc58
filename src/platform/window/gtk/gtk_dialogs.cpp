// Dialogs built from their templates.
#include "platform/window/gtk/gtk_dialogs.h"

#include "platform/window/gtk/gtk_backend.h"
#include "platform/window/gtk/gtk_menus.h"
#include "platform/window/gtk/gtk_scroll_bar.h"

#include <cmath>
#include <gtk/gtk.h>
#include <string>

struct Gtk_Dialog_View::Control_View {
    Gtk_Dialog_View* Owner = nullptr;
    HWND Handle = nullptr;
    Control_Kind Kind = Control_Kind::Text;
    GtkWidget* Widget = nullptr;
    bool Updating = false; // a change made from the record, not by the user
};

namespace {

using View = Gtk_Dialog_View::Control_View;

Window_System& Windows_Of(View& view);

// The dialog's font and the pixels of one dialog unit across and down, derived from it the way
// the platform does: the average width of the 52 letters ((total / 26 + 1) / 2, in whole
// pixels) over 4, the font's height over 8. Points are taken at 96 pixels per inch.
struct Dialog_Font {
    std::string Family = "Sans";
    int Pixels = 11; // the em height
    int Char_Width = 6;
    int Char_Height = 13;

    int X(int units) const { return static_cast<int>(std::lround(units * Char_Width / 4.0)); }
    int Y(int units) const { return static_cast<int>(std::lround(units * Char_Height / 8.0)); }
};

Dialog_Font Font_Of(GtkWidget* widget, const Dialog_Template& dialog)
{
    Dialog_Font font;
    if (dialog.Font_Name != nullptr) {
        font.Family = dialog.Font_Name;
    }
    font.Pixels = static_cast<int>(std::lround(dialog.Font_Points * 96.0 / 72.0));
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, font.Family.c_str());
    pango_font_description_set_absolute_size(description, font.Pixels * PANGO_SCALE);
    PangoLayout* layout =
        gtk_widget_create_pango_layout(widget, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    pango_layout_set_font_description(layout, description);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    if (PangoFontMetrics* metrics =
            pango_context_get_metrics(pango_layout_get_context(layout), description, nullptr)) {
        height =
            PANGO_PIXELS(pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics));
        pango_font_metrics_unref(metrics);
    }
    if (width > 0 && height > 0) {
        font.Char_Width = (width / 26 + 1) / 2;
        font.Char_Height = height;
    }
    g_object_unref(layout);
    pango_font_description_free(description);
    return font;
}

// Controls as compact as the platform's, so each fits the box its template gives it; the
// dialog's font reaches every control through inheritance from the window.
void Style_Dialog(GtkWidget* shell, const Dialog_Font& font)
{
    static GtkCssProvider* compact = [] {
        GtkCssProvider* provider = gtk_css_provider_new();
        gtk_css_provider_load_from_data(
            provider,
            ".lucivanta-dialog button { min-height: 0; min-width: 0; padding: 0 2px; }"
            ".lucivanta-dialog checkbutton { min-height: 0; padding: 0; }"
            ".lucivanta-dialog check { margin: 0 2px 0 0; }"
            ".lucivanta-dialog combobox button { padding: 0 4px; }"
            ".lucivanta-dialog frame > border { border-radius: 0; }",
            -1, nullptr);
        gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        return provider;
    }();
    (void)compact;
    GtkStyleContext* context = gtk_widget_get_style_context(shell);
    gtk_style_context_add_class(context, "lucivanta-dialog");
    GtkCssProvider* own = gtk_css_provider_new();
    const std::string css =
        "window { font-family: \"" + font.Family + "\"; font-size: " + std::to_string(font.Pixels) + "px; }";
    gtk_css_provider_load_from_data(own, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider(context, GTK_STYLE_PROVIDER(own), GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(own);
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

void Combo_Changed(GtkComboBox* combo, gpointer data)
{
    auto& view = *static_cast<View*>(data);
    if (!view.Updating) {
        Windows_Of(view).Post_Combo_Choice(view.Handle, gtk_combo_box_get_active(combo));
    }
}

GtkWidget* Scroll_Bar(View& view)
{
    return New_Scroll_Bar(
        [&view](WORD code, int position) { Windows_Of(view).Post_Scroll(view.Handle, code, position); });
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
    const Dialog_Font font = Font_Of(Shell, layout);
    Style_Dialog(Shell, font);
    gtk_widget_set_size_request(fixed, font.X(layout.Width), font.Y(layout.Height));
    Window_System& windows = backend.Windows();
    GtkWidget* mnemonic = nullptr; // a label whose mnemonic moves the focus to the next control
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
        const int left = font.X(at.left);
        const int top = font.Y(at.top);
        // A drop-down list's template height includes its list; the box itself is one line.
        const int bottom =
            view->Kind == Control_Kind::Combo_Box ? top + font.Char_Height + 8 : font.Y(at.bottom);
        gtk_widget_set_size_request(view->Widget, font.X(at.right) - left, bottom - top);
        gtk_fixed_put(GTK_FIXED(fixed), view->Widget, left, top);
        Views[handle] = view;
        Update(*control);
        if (view->Kind == Control_Kind::Text || view->Kind == Control_Kind::Group_Box) {
            mnemonic = view->Kind == Control_Kind::Text ? view->Widget
                                                        : gtk_frame_get_label_widget(GTK_FRAME(view->Widget));
        } else if (mnemonic != nullptr) {
            gtk_label_set_mnemonic_widget(GTK_LABEL(mnemonic), view->Widget);
            mnemonic = nullptr;
        }
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
    case Control_Kind::Group_Box: {
        GtkWidget* frame = gtk_frame_new(nullptr);
        gtk_frame_set_label_widget(GTK_FRAME(frame), gtk_label_new_with_mnemonic(label.c_str()));
        return frame;
    }
    case Control_Kind::Icon: {
        // The program's icon where it is installed, else the theme's icon of a program.
        const bool installed = gtk_icon_theme_has_icon(gtk_icon_theme_get_default(), "lucivanta");
        return gtk_image_new_from_icon_name(installed ? "lucivanta" : "application-x-executable",
                                            GTK_ICON_SIZE_DND);
    }
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
        gtk_label_set_text_with_mnemonic(GTK_LABEL(gtk_frame_get_label_widget(GTK_FRAME(view.Widget))),
                                         label.c_str());
        break;
    case Control_Kind::Text:
        gtk_label_set_text_with_mnemonic(GTK_LABEL(view.Widget), label.c_str());
        break;
    case Control_Kind::Scroll_Bar:
        Set_Scroll_Bar(view.Widget, state.Scroll_Min, state.Scroll_Max, state.Scroll_Pos);
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
