// Menu bars and popup menus built from menu records.
#include "platform/window/gtk/gtk_menus.h"

#include <gtk/gtk.h>

namespace {

const char* const Id_Key = "lucivanta-menu-id";

// Unchecked items show no box: only a set mark is drawn, as on the original platform.
void Install_Menu_Style()
{
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider,
                                    "menu.lucivanta menuitem check:not(:checked),"
                                    "menubar.lucivanta menuitem check:not(:checked) {"
                                    " -gtk-icon-source: none; background: none; border-color: transparent;"
                                    " box-shadow: none; }",
                                    -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

} // namespace

std::string Mnemonic_Label(const std::string& text)
{
    std::string label;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&' && i + 1 < text.size()) {
            label += text[i + 1] == '&' ? "&" : "_";
            if (text[i + 1] == '&') {
                ++i;
            }
        } else if (c == '_') {
            label += "__";
        } else {
            label += c;
        }
    }
    return label;
}

Gtk_Menu_View::Gtk_Menu_View(const Window_System& system, HMENU menu, bool bar,
                             std::function<void(UINT)> on_command)
    : System(system), Root_Menu(menu), On_Command(std::move(on_command))
{
    Install_Menu_Style();
    Root = Build(menu, bar);
    g_object_ref_sink(Root);
}

Gtk_Menu_View::~Gtk_Menu_View()
{
    gtk_widget_destroy(Root);
    g_object_unref(Root);
}

GtkWidget* Gtk_Menu_View::Build(HMENU menu, bool bar)
{
    GtkWidget* shell = bar ? gtk_menu_bar_new() : gtk_menu_new();
    gtk_style_context_add_class(gtk_widget_get_style_context(shell), "lucivanta");
    Menus.insert(menu);
    if (const Menu_Record* record = System.Find_Menu(menu)) {
        for (const Menu_Item_Record& item : record->Items) {
            gtk_menu_shell_append(GTK_MENU_SHELL(shell), Build_Item(item, bar));
        }
    }
    gtk_widget_show_all(shell);
    return shell;
}

GtkWidget* Gtk_Menu_View::Build_Item(const Menu_Item_Record& item, bool in_bar)
{
    if (item.Separator) {
        return gtk_separator_menu_item_new();
    }
    const std::size_t tab = item.Text.find('\t');
    const std::string text = Mnemonic_Label(item.Text.substr(0, tab));
    if (item.Submenu != nullptr || in_bar) {
        GtkWidget* widget = gtk_menu_item_new_with_mnemonic(text.c_str());
        if (item.Submenu != nullptr) {
            gtk_menu_item_set_submenu(GTK_MENU_ITEM(widget), Build(item.Submenu, false));
        }
        return widget;
    }
    // The item's text on the left with its mnemonic, the key text on the right.
    GtkWidget* widget = gtk_check_menu_item_new();
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 24);
    GtkWidget* label = gtk_label_new_with_mnemonic(text.c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_widget_set_hexpand(label, TRUE);
    gtk_label_set_mnemonic_widget(GTK_LABEL(label), widget);
    gtk_box_pack_start(GTK_BOX(box), label, TRUE, TRUE, 0);
    if (tab != std::string::npos) {
        GtkWidget* keys = gtk_label_new(item.Text.substr(tab + 1).c_str());
        gtk_label_set_xalign(GTK_LABEL(keys), 1.0f);
        gtk_style_context_add_class(gtk_widget_get_style_context(keys), "accelerator");
        gtk_box_pack_end(GTK_BOX(box), keys, FALSE, FALSE, 0);
    }
    gtk_container_add(GTK_CONTAINER(widget), box);
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(widget), item.Checked);
    g_object_set_data(G_OBJECT(widget), Id_Key, GUINT_TO_POINTER(item.Id));
    g_signal_connect(widget, "activate", G_CALLBACK(On_Activate), this);
    Items.emplace(item.Id, widget);
    return widget;
}

void Gtk_Menu_View::On_Activate(GtkWidget* item, void* self)
{
    auto* view = static_cast<Gtk_Menu_View*>(self);
    if (view->Updating) {
        return;
    }
    // GTK has already flipped the mark; the program decides it through CheckMenuItem.
    view->Updating = true;
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(item),
                                   !gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(item)));
    view->Updating = false;
    view->On_Command(GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), Id_Key)));
}

void Gtk_Menu_View::Set_Check(HMENU menu, UINT id, bool checked)
{
    if (Menus.count(menu) == 0) {
        return;
    }
    auto [first, last] = Items.equal_range(id);
    Updating = true; // setting the mark activates the item
    for (auto it = first; it != last; ++it) {
        gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(it->second), checked);
    }
    Updating = false;
}

namespace {

void Collect(GtkWidget* shell, std::vector<Gtk_Menu_View::Shown_Item>& items)
{
    GList* children = gtk_container_get_children(GTK_CONTAINER(shell));
    for (GList* node = children; node != nullptr; node = node->next) {
        GtkWidget* widget = GTK_WIDGET(node->data);
        if (GTK_IS_SEPARATOR_MENU_ITEM(widget)) {
            items.push_back({"-", false});
            continue;
        }
        Gtk_Menu_View::Shown_Item shown;
        GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget));
        if (GTK_IS_LABEL(child)) {
            shown.Text = gtk_label_get_label(GTK_LABEL(child));
        } else if (GTK_IS_BOX(child)) {
            GList* labels = gtk_container_get_children(GTK_CONTAINER(child));
            for (GList* label = labels; label != nullptr; label = label->next) {
                shown.Text += (label == labels ? "" : "\t");
                shown.Text += gtk_label_get_label(GTK_LABEL(label->data));
            }
            g_list_free(labels);
        }
        shown.Checked =
            GTK_IS_CHECK_MENU_ITEM(widget) && gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(widget));
        items.push_back(shown);
        if (GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(widget))) {
            Collect(submenu, items);
        }
    }
    g_list_free(children);
}

} // namespace

std::vector<Gtk_Menu_View::Shown_Item> Gtk_Menu_View::Shown_Items() const
{
    std::vector<Shown_Item> items;
    Collect(Root, items);
    return items;
}
