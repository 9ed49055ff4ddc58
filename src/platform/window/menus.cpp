// Menus built from the program's menu templates, their check marks, the popup menu, and the
// accelerator tables that turn keys into commands.
#include "platform/window/window_system.h"

namespace {

bool Is_Int_Resource(const char* name)
{
    return (reinterpret_cast<uintptr_t>(name) >> 16) == 0;
}

int Resource_Id(const char* name)
{
    return Is_Int_Resource(name) ? static_cast<int>(reinterpret_cast<uintptr_t>(name)) : -1;
}

} // namespace

HACCEL Window_System::Load_Accelerators(const char* name)
{
    const Accelerator_Template* table = Find_Accelerator_Template(Resource_Id(name));
    if (table == nullptr) {
        return nullptr;
    }
    HACCEL handle = reinterpret_cast<HACCEL>(New_Handle());
    Accelerators[handle].assign(table->Entries, table->Entries + table->Count);
    return handle;
}

int Window_System::Translate_Accelerator(HWND window, HACCEL table, MSG* message)
{
    auto found = Accelerators.find(table);
    if (found == Accelerators.end() || message == nullptr || !Is_Window(window)) {
        return 0;
    }
    if (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN) {
        return 0;
    }
    DWORD modifiers = message->lPrivate;
    if (message->message == WM_SYSKEYDOWN && (message->lParam & (1 << 29))) {
        modifiers |= Modifier_Alt;
    }
    const bool shift = (modifiers & Modifier_Shift) != 0;
    const bool control = (modifiers & Modifier_Control) != 0;
    const bool alt = (modifiers & Modifier_Alt) != 0;
    for (const ACCEL& entry : found->second) {
        if (!(entry.fVirt & FVIRTKEY) || entry.key != message->wParam) {
            continue;
        }
        if (shift != ((entry.fVirt & FSHIFT) != 0) || control != ((entry.fVirt & FCONTROL) != 0) ||
            alt != ((entry.fVirt & FALT) != 0)) {
            continue;
        }
        Send_Message(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
        return 1;
    }
    return 0;
}

HMENU Window_System::Build_Menu(const Menu_Template& menu_template, std::size_t& index)
{
    HMENU handle = reinterpret_cast<HMENU>(New_Handle());
    Menu_Record menu;
    while (index < menu_template.Count) {
        const Menu_Template_Entry& entry = menu_template.Entries[index++];
        if (entry.Kind == Menu_Entry_Kind::Popup_End) {
            break;
        }
        Menu_Item_Record item;
        item.Text = entry.Text ? entry.Text : "";
        item.Id = entry.Id;
        item.Checked = entry.Checked;
        item.Separator = entry.Kind == Menu_Entry_Kind::Separator;
        if (entry.Kind == Menu_Entry_Kind::Popup_Begin) {
            item.Submenu = Build_Menu(menu_template, index);
        }
        menu.Items.push_back(std::move(item));
    }
    Menus[handle] = std::move(menu);
    return handle;
}

HMENU Window_System::Load_Menu(const char* name)
{
    const Menu_Template* menu_template = Find_Menu_Template(Resource_Id(name));
    if (menu_template == nullptr) {
        return nullptr;
    }
    std::size_t index = 0;
    return Build_Menu(*menu_template, index);
}

HMENU Window_System::Get_Menu(HWND window)
{
    const Window_Record* record = Record(window);
    return record ? record->Menu : nullptr;
}

BOOL Window_System::Set_Menu(HWND window, HMENU menu)
{
    Window_Record* record = Record(window);
    if (record == nullptr || record->Foreign || (record->Style & WS_CHILD) ||
        (menu != nullptr && Find_Menu(menu) == nullptr)) {
        return FALSE;
    }
    record->Menu = menu;
    Changed(*record, Change_Menu);
    return TRUE;
}

Menu_Record* Window_System::Menu(HMENU menu)
{
    auto found = Menus.find(menu);
    return found == Menus.end() ? nullptr : &found->second;
}

const Menu_Record* Window_System::Find_Menu(HMENU menu) const
{
    auto found = Menus.find(menu);
    return found == Menus.end() ? nullptr : &found->second;
}

HMENU Window_System::Get_Sub_Menu(HMENU menu, int position) const
{
    const Menu_Record* record = Find_Menu(menu);
    if (record == nullptr || position < 0 || position >= static_cast<int>(record->Items.size())) {
        return nullptr;
    }
    return record->Items[static_cast<std::size_t>(position)].Submenu;
}

Menu_Item_Record* Window_System::Find_Menu_Item(HMENU menu, UINT id, UINT flags)
{
    Menu_Record* record = Menu(menu);
    if (record == nullptr) {
        return nullptr;
    }
    if (flags & MF_BYPOSITION) {
        return id < record->Items.size() ? &record->Items[id] : nullptr;
    }
    for (Menu_Item_Record& item : record->Items) {
        if (item.Submenu != nullptr) {
            if (Menu_Item_Record* inner = Find_Menu_Item(item.Submenu, id, flags)) {
                return inner;
            }
        } else if (!item.Separator && item.Id == id) {
            return &item;
        }
    }
    return nullptr;
}

DWORD Window_System::Check_Menu_Item(HMENU menu, UINT id, UINT flags)
{
    Menu_Item_Record* item = Find_Menu_Item(menu, id, flags);
    if (item == nullptr) {
        return static_cast<DWORD>(-1);
    }
    DWORD previous = item->Checked ? MF_CHECKED : MF_UNCHECKED;
    item->Checked = (flags & MF_CHECKED) != 0;
    Display->Menu_Item_Changed(menu, item->Id, item->Checked);
    return previous;
}

UINT Window_System::Get_Menu_State(HMENU menu, UINT id, UINT flags)
{
    Menu_Item_Record* item = Find_Menu_Item(menu, id, flags);
    if (item == nullptr) {
        return static_cast<UINT>(-1);
    }
    return item->Checked ? MF_CHECKED : 0;
}

BOOL Window_System::Track_Popup_Menu(HMENU menu, UINT, int x, int y, HWND window)
{
    Window_Record* owner = Record(window);
    if (Find_Menu(menu) == nullptr || owner == nullptr || owner->Foreign) {
        return FALSE;
    }
    Send_Message(window, WM_ENTERMENULOOP, TRUE, 0);
    UINT chosen = Is_Window(window) ? Display->Track_Popup_Menu(menu, x, y, *Record(window)) : 0;
    if (Is_Window(window)) {
        Send_Message(window, WM_EXITMENULOOP, TRUE, 0);
    }
    if (chosen != 0) {
        Post_Message(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    }
    return TRUE;
}

BOOL Window_System::Destroy_Menu(HMENU menu)
{
    Menu_Record* record = Menu(menu);
    if (record == nullptr) {
        return FALSE;
    }
    std::vector<HMENU> submenus;
    for (const Menu_Item_Record& item : record->Items) {
        if (item.Submenu != nullptr) {
            submenus.push_back(item.Submenu);
        }
    }
    Menus.erase(menu);
    for (HMENU submenu : submenus) {
        Destroy_Menu(submenu);
    }
    return TRUE;
}
