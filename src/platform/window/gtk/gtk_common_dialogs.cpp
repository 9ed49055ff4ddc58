// The backend's modal things that GTK has ready-made: message boxes and the open-file dialog.
// Each runs its own nested main loop; a close request (a signal) or a lost connection ends it,
// as it ends a popup.
#include "platform/window/gtk/gtk_backend.h"
#include "platform/window/gtk/gtk_dialogs.h"
#include "platform/window/gtk/gtk_top_level.h"
#include "platform/window/window_system.h"

#include <cctype>
#include <gtk/gtk.h>

GtkWidget* Gtk_Backend::Parent_Window_For(HWND owner)
{
    for (HWND handle = owner; handle != nullptr;) {
        if (auto dialog = Dialogs.find(handle); dialog != Dialogs.end()) {
            return dialog->second->Window();
        }
        if (Top_Level* top = Top(handle)) {
            return top->Window;
        }
        const Window_Record* record = System->Find(handle);
        handle = record != nullptr ? record->Parent : nullptr;
    }
    for (auto& [handle, top] : Tops) {
        if (top->Visible) {
            return top->Window;
        }
    }
    return nullptr;
}

void Gtk_Backend::Close_Native_Modal()
{
    if (Native_Modal == nullptr || Connection_Lost) {
        return;
    }
    switch (Native_Modal_Kind) {
    case Native_Kind::Dialog:
        gtk_dialog_response(GTK_DIALOG(Native_Modal), GTK_RESPONSE_DELETE_EVENT);
        break;
    case Native_Kind::Chooser:
        gtk_native_dialog_hide(GTK_NATIVE_DIALOG(Native_Modal));
        break;
    case Native_Kind::Menu:
        gtk_menu_popdown(GTK_MENU(Native_Modal));
        break;
    }
}

namespace {

// The platform's icon kinds as the icon theme names them; none without a kind.
const char* Icon_Name(UINT type)
{
    switch (type & 0xF0) {
    case MB_ICONERROR:
        return "dialog-error";
    case MB_ICONQUESTION:
        return "dialog-question";
    case MB_ICONWARNING:
        return "dialog-warning";
    case MB_ICONINFORMATION:
        return "dialog-information";
    default:
        return nullptr;
    }
}

struct Box_Button {
    const char* Label;
    int Id;
};

std::vector<Box_Button> Box_Buttons(UINT type)
{
    switch (type & 0x0F) {
    case MB_OKCANCEL:
        return {{"_OK", IDOK}, {"_Cancel", IDCANCEL}};
    case MB_YESNOCANCEL:
        return {{"_Yes", IDYES}, {"_No", IDNO}, {"_Cancel", IDCANCEL}};
    case MB_YESNO:
        return {{"_Yes", IDYES}, {"_No", IDNO}};
    default:
        return {{"_OK", IDOK}};
    }
}

// A box with the icon of its kind beside the text, centred on its owner or the screen.
GtkWidget* New_Message_Box(GtkWidget* parent, const char* text, const char* caption, UINT type)
{
    GtkWidget* box = gtk_dialog_new();
    gtk_window_set_title(GTK_WINDOW(box), caption != nullptr ? caption : "Error");
    gtk_window_set_modal(GTK_WINDOW(box), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(box), FALSE);
    if (parent != nullptr) {
        gtk_window_set_transient_for(GTK_WINDOW(box), GTK_WINDOW(parent));
    }
    gtk_window_set_position(GTK_WINDOW(box),
                            parent != nullptr ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 16);
    gtk_container_set_border_width(GTK_CONTAINER(row), 16);
    if (const char* icon = Icon_Name(type)) {
        GtkWidget* image = gtk_image_new_from_icon_name(icon, GTK_ICON_SIZE_DIALOG);
        gtk_widget_set_valign(image, GTK_ALIGN_START);
        gtk_box_pack_start(GTK_BOX(row), image, FALSE, FALSE, 0);
    }
    GtkWidget* label = gtk_label_new(text != nullptr ? text : "");
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 60);
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_box_pack_start(GTK_BOX(row), label, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(box))), row, TRUE, TRUE, 0);
    gtk_widget_show_all(row);
    return box;
}

} // namespace

int Gtk_Backend::Message_Box(HWND owner, const char* text, const char* caption, UINT type)
{
    if (Connection_Lost) {
        return Default_Message_Box_Answer(type);
    }
    GtkWidget* box = New_Message_Box(Parent_Window_For(owner), text, caption, type);
    const std::vector<Box_Button> shown = Box_Buttons(type);
    for (const Box_Button& button : shown) {
        gtk_dialog_add_button(GTK_DIALOG(box), button.Label, button.Id);
    }
    gtk_dialog_set_default_response(GTK_DIALOG(box), shown.front().Id);
    gtk_widget_grab_focus(gtk_dialog_get_widget_for_response(GTK_DIALOG(box), shown.front().Id));
    int response = GTK_RESPONSE_NONE;
    g_signal_connect(box, "response", G_CALLBACK(+[](GtkDialog*, int id, int* answer) { *answer = id; }),
                     &response);
    // Closed by the window manager or Escape: answered here, the box is ours to destroy.
    g_signal_connect(box, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, int* answer) {
                         *answer = GTK_RESPONSE_DELETE_EVENT;
                         return TRUE;
                     }),
                     &response);
    gtk_widget_show(box);
    Set_Native_Modal(box, Native_Kind::Dialog);
    Run_Nested_Loop([&response] { return response != GTK_RESPONSE_NONE; });
    Set_Native_Modal(nullptr, Native_Kind::Dialog);
    if (!Connection_Lost) {
        gtk_widget_destroy(box);
    }
    for (const Box_Button& button : shown) {
        if (button.Id == response) {
            return response;
        }
    }
    // Closing the box: Cancel where there is one, No for Yes/No, else OK.
    const UINT buttons = type & 0x0F;
    return buttons == MB_OKCANCEL || buttons == MB_YESNOCANCEL ? IDCANCEL : buttons == MB_YESNO ? IDNO : IDOK;
}

namespace {

// "*.mp3" matched without regard to case, as the platform's file dialogs match: "*.[mM][pP]3".
std::string Caseless_Pattern(const std::string& pattern)
{
    std::string result;
    for (char c : pattern) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalpha(u)) {
            result += '[';
            result += static_cast<char>(std::tolower(u));
            result += static_cast<char>(std::toupper(u));
            result += ']';
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

bool Gtk_Backend::Open_File(const Open_File_Request& request, std::string& chosen)
{
    if (Connection_Lost) {
        return false;
    }
    GtkWidget* parent = Parent_Window_For(request.Owner);
    GtkFileChooserNative* chooser = gtk_file_chooser_native_new(
        request.Title.empty() ? "Open" : request.Title.c_str(),
        parent != nullptr ? GTK_WINDOW(parent) : nullptr, GTK_FILE_CHOOSER_ACTION_OPEN, "_Open", "_Cancel");
    gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(chooser), TRUE);
    GtkFileChooser* files = GTK_FILE_CHOOSER(chooser);
    for (std::size_t i = 0; i < request.Filters.size(); ++i) {
        const Open_File_Request::Filter& entry = request.Filters[i];
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, entry.Description.c_str());
        for (std::size_t start = 0; start <= entry.Pattern.size();) {
            std::size_t end = entry.Pattern.find(';', start);
            end = end == std::string::npos ? entry.Pattern.size() : end;
            if (end > start) {
                gtk_file_filter_add_pattern(
                    filter, Caseless_Pattern(entry.Pattern.substr(start, end - start)).c_str());
            }
            start = end + 1;
        }
        gtk_file_chooser_add_filter(files, filter); // the chooser owns it
        if (static_cast<int>(i) == request.Filter_Index) {
            gtk_file_chooser_set_filter(files, filter);
        }
    }
    if (!request.Initial_File.empty() && request.Initial_File.front() == '/') {
        gtk_file_chooser_set_filename(files, request.Initial_File.c_str());
    } else if (!request.Initial_Folder.empty()) {
        gtk_file_chooser_set_current_folder(files, request.Initial_Folder.c_str());
    }
    int response = GTK_RESPONSE_NONE;
    g_signal_connect(chooser, "response",
                     G_CALLBACK(+[](GtkNativeDialog*, int id, int* answer) { *answer = id; }), &response);
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(chooser));
    Set_Native_Modal(chooser, Native_Kind::Chooser);
    Run_Nested_Loop([&response, chooser] {
        return response != GTK_RESPONSE_NONE || !gtk_native_dialog_get_visible(GTK_NATIVE_DIALOG(chooser));
    });
    Set_Native_Modal(nullptr, Native_Kind::Chooser);
    bool accepted = false;
    if (response == GTK_RESPONSE_ACCEPT && !Connection_Lost) {
        if (char* path = gtk_file_chooser_get_filename(files)) {
            chosen = path;
            accepted = true;
            g_free(path);
        }
    }
    if (!Connection_Lost) {
        g_object_unref(chooser);
    }
    return accepted;
}
