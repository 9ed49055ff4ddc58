// Menus of the desktop backend, built from the window system's menu records: a menu bar for a
// window, or a popup menu. Item texts keep their mnemonics ("&File" underlines F) and show the
// key text after "\t" right-aligned; every item can carry a check mark, which follows the
// records (CheckMenuItem) alone: choosing an item reports its command and leaves the mark as
// the program sets it.
#pragma once

#include "platform/window/window_system.h"

#include <functional>
#include <map>
#include <set>
#include <string>

typedef struct _GtkWidget GtkWidget;

class Gtk_Menu_View {
public:
    // `on_command` gets the id of the item the user chose. `bar` builds a GtkMenuBar of the
    // menu's items, else a GtkMenu.
    Gtk_Menu_View(const Window_System& system, HMENU menu, bool bar, std::function<void(UINT)> on_command);
    ~Gtk_Menu_View();
    Gtk_Menu_View(const Gtk_Menu_View&) = delete;
    Gtk_Menu_View& operator=(const Gtk_Menu_View&) = delete;

    GtkWidget* Widget() const { return Root; }
    HMENU Menu() const { return Root_Menu; }
    // Sets the mark of item `id` when `menu` is this menu or one of its submenus.
    void Set_Check(HMENU menu, UINT id, bool checked);
    // What a menu item shows, for the tests: the text with its mnemonic marked by "_", then
    // "\t" and the key text when there is one, and whether its mark is shown.
    struct Shown_Item {
        std::string Text;
        bool Checked = false;
    };
    std::vector<Shown_Item> Shown_Items() const;

private:
    GtkWidget* Build(HMENU menu, bool bar);
    GtkWidget* Build_Item(const Menu_Item_Record& item, bool in_bar);
    static void On_Activate(GtkWidget* item, void* self);

    const Window_System& System;
    HMENU Root_Menu;
    GtkWidget* Root = nullptr;
    std::function<void(UINT)> On_Command;
    std::set<HMENU> Menus;
    std::multimap<UINT, GtkWidget*> Items;
    bool Updating = false;
};

// "&File" as a GTK mnemonic label ("_File"); "&&" is a plain "&", "_" stays itself.
std::string Mnemonic_Label(const std::string& text);
