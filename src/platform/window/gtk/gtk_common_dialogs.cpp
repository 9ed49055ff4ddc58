// The backend's modal things that GTK has ready-made: message boxes and the open-file dialog.
// Each runs its own nested main loop; a close request (a signal) ends it, as it ends a popup.
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

int Gtk_Backend::Message_Box(HWND owner, const char* text, const char* caption, UINT type)
{
    if (Connection_Lost) {
        return Default_Message_Box_Answer(type);
    }
    const UINT icon = type & 0xF0;
    const GtkMessageType kind = icon == MB_ICONERROR         ? GTK_MESSAGE_ERROR
                                : icon == MB_ICONQUESTION    ? GTK_MESSAGE_QUESTION
                                : icon == MB_ICONWARNING     ? GTK_MESSAGE_WARNING
                                : icon == MB_ICONINFORMATION ? GTK_MESSAGE_INFO
                                                             : GTK_MESSAGE_OTHER;
    GtkWidget* parent = Parent_Window_For(owner);
    GtkWidget* box =
        gtk_message_dialog_new(parent != nullptr ? GTK_WINDOW(parent) : nullptr, GTK_DIALOG_MODAL, kind,
                               GTK_BUTTONS_NONE, "%s", text != nullptr ? text : "");
    gtk_window_set_title(GTK_WINDOW(box), caption != nullptr ? caption : "Error");
    const UINT buttons = type & 0x0F;
    struct Button {
        const char* Label;
        int Id;
    };
    std::vector<Button> shown;
    if (buttons == MB_OKCANCEL) {
        shown = {{"_OK", IDOK}, {"_Cancel", IDCANCEL}};
    } else if (buttons == MB_YESNOCANCEL) {
        shown = {{"_Yes", IDYES}, {"_No", IDNO}, {"_Cancel", IDCANCEL}};
    } else if (buttons == MB_YESNO) {
        shown = {{"_Yes", IDYES}, {"_No", IDNO}};
    } else {
        shown = {{"_OK", IDOK}};
    }
    for (const Button& button : shown) {
        gtk_dialog_add_button(GTK_DIALOG(box), button.Label, button.Id);
    }
    gtk_dialog_set_default_response(GTK_DIALOG(box), shown.front().Id);
    Set_Native_Modal(box, Native_Kind::Dialog);
    const int response = gtk_dialog_run(GTK_DIALOG(box));
    Set_Native_Modal(nullptr, Native_Kind::Dialog);
    if (!Connection_Lost) {
        gtk_widget_destroy(box);
    }
    for (const Button& button : shown) {
        if (button.Id == response) {
            return response;
        }
    }
    // Closing the box: Cancel where there is one, No for Yes/No, else OK.
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
    Set_Native_Modal(chooser, Native_Kind::Chooser);
    const int response = gtk_native_dialog_run(GTK_NATIVE_DIALOG(chooser));
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
