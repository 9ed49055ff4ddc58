// A modal dialog of the desktop backend, built from its template: a GtkWindow over its owner
// with each control at its template position, dialog units turned into pixels with the dialog
// font's average character width / 4 and height / 8. The controls show their records and post
// what the user does; none changes by itself (a check box's mark, a scroll bar's thumb and a
// combo box's choice follow the records), so the dialog procedure stays in charge. Scroll bars
// have the platform's semantics: an arrow is one line step, the trough one page step, dragging
// the thumb tracks its (whole) position, Home/End go to the ends, arrow keys are line steps.
#pragma once

#include "platform/window/window_system.h"

#include <map>

typedef struct _GtkWidget GtkWidget;
class Gtk_Backend;

class Gtk_Dialog_View {
public:
    Gtk_Dialog_View(Gtk_Backend& backend, const Window_Record& dialog);
    ~Gtk_Dialog_View();
    Gtk_Dialog_View(const Gtk_Dialog_View&) = delete;
    Gtk_Dialog_View& operator=(const Gtk_Dialog_View&) = delete;

    GtkWidget* Window() const { return Shell; }
    // Shows what the control's record says now.
    void Update(const Window_Record& control);

    struct Control_View; // gtk_dialogs.cpp
    HWND Dialog() const { return Handle; }
    const std::map<HWND, Control_View*>& Controls() const { return Views; }
    Window_System& Windows();

private:
    GtkWidget* Make(const Window_Record& control, Control_View& view);

    Gtk_Backend& Backend;
    HWND Handle;
    GtkWidget* Shell = nullptr;
    std::map<HWND, Control_View*> Views;
};
