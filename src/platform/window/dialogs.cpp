// Modal dialogs from the program's templates — their records and controls, WM_INITDIALOG, the
// modal loop, EndDialog — and the two common dialogs, the message box and the open-file
// dialog, which the backend shows.
#include "platform/window/window_system.h"

#include <algorithm>
#include <cstring>

namespace {

bool Is_Int_Resource(const char* name)
{
    return (reinterpret_cast<uintptr_t>(name) >> 16) == 0;
}

std::string Resource_Name(const char* name)
{
    if (name == nullptr) {
        return "";
    }
    return Is_Int_Resource(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name))
                                 : std::string(name);
}

const char* Class_Of(Control_Kind kind)
{
    switch (kind) {
    case Control_Kind::Push_Button:
    case Control_Kind::Check_Box:
    case Control_Kind::Group_Box:
        return "Button";
    case Control_Kind::Scroll_Bar:
        return "ScrollBar";
    case Control_Kind::Combo_Box:
        return "ComboBox";
    case Control_Kind::Text:
    case Control_Kind::Icon:
        break;
    }
    return "Static";
}

// Dialog units in pixels for the dialog font (8-point "MS Sans Serif" averages 6 × 13 pixels);
// a backend lays the dialog out with its own font's metrics.
RECT Pixels_Of(int x, int y, int width, int height)
{
    return RECT{x * 6 / 4, y * 13 / 8, (x + width) * 6 / 4, (y + height) * 13 / 8};
}

} // namespace

HWND Window_System::Make_Dialog(const Dialog_Template& dialog_template, const std::string& name, HWND owner,
                                DLGPROC procedure)
{
    HWND handle = New_Handle();
    Window_Record& dialog = Add_Record(handle);
    dialog.Class_Name = "#32770";
    dialog.Text = dialog_template.Caption ? dialog_template.Caption : "";
    dialog.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    dialog.Parent = owner;
    // Centred on the screen, where a backend without an owner puts it too.
    const SIZE screen = Display->Screen_Size();
    const RECT size = Pixels_Of(0, 0, dialog_template.Width, dialog_template.Height);
    const LONG left = (screen.cx - size.right) / 2, top = (screen.cy - size.bottom) / 2;
    dialog.Rect = RECT{left, top, left + size.right, top + size.bottom};
    dialog.Normal_Position = dialog.Rect;
    dialog.Dialog = std::make_unique<Dialog_State>();
    dialog.Dialog->Procedure = procedure;
    dialog.Dialog->Template = &dialog_template;
    dialog.Dialog->Template_Name = name;
    for (std::size_t i = 0; i < dialog_template.Count; ++i) {
        const Dialog_Control_Template& entry = dialog_template.Controls[i];
        HWND control_handle = New_Handle();
        Window_Record& control = Add_Record(control_handle);
        control.Class_Name = Class_Of(entry.Kind);
        control.Text = entry.Text ? entry.Text : "";
        control.Style = WS_CHILD | WS_VISIBLE | entry.Style;
        control.Parent = handle;
        control.Rect = Pixels_Of(entry.X, entry.Y, entry.Width, entry.Height);
        control.Normal_Position = control.Rect;
        control.Control = std::make_unique<Control_State>();
        control.Control->Kind = entry.Kind;
        control.Control->Id = entry.Id;
        control.Control->Style = entry.Style;
        control.Control->Dialog_Units = RECT{entry.X, entry.Y, entry.X + entry.Width, entry.Y + entry.Height};
        Record(handle)->Dialog->Controls.push_back(control_handle);
    }
    return handle;
}

intptr_t Window_System::Dialog_Box(const char* template_name, HWND owner, DLGPROC procedure, LPARAM param)
{
    const Dialog_Template* dialog_template = Find_Dialog_Template(template_name);
    if (procedure == nullptr || dialog_template == nullptr ||
        (owner != nullptr && Record(owner) == nullptr)) {
        return -1;
    }
    HWND dialog = Make_Dialog(*dialog_template, Resource_Name(template_name), owner, procedure);
    const std::vector<HWND>& controls = Record(dialog)->Dialog->Controls;
    HWND focus = controls.empty() ? nullptr : controls.front();
    procedure(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param);
    if (Record(dialog) != nullptr && !Record(dialog)->Dialog->Ended) {
        Run_Modal_Loop(dialog);
    }
    intptr_t result = IDCANCEL;
    if (Window_Record* record = Record(dialog)) {
        result = record->Dialog->Ended ? record->Dialog->Result : IDCANCEL;
        Destroy_Window(dialog); // the procedure's last message is WM_DESTROY
    }
    return result;
}

bool Window_System::Is_For_Dialog(const MSG& message, HWND dialog) const
{
    if (message.hwnd == dialog) {
        return true;
    }
    const Window_Record* target = Find(message.hwnd);
    return target != nullptr && target->Parent == dialog && target->Control;
}

void Window_System::Run_Modal_Loop(HWND dialog)
{
    Open_Dialogs.push_back(dialog);
    Display->Dialog_Opened(*Record(dialog));
    auto open = [&] { return Record(dialog) != nullptr && !Record(dialog)->Dialog->Ended; };
    // Only the dialog's own messages are taken: the windows under it wait, as the platform
    // disables a dialog's owner while the dialog runs.
    auto take = [&](MSG& message) {
        auto found = std::find_if(Queue.begin(), Queue.end(),
                                  [&](const MSG& queued) { return Is_For_Dialog(queued, dialog); });
        if (found == Queue.end()) {
            return false;
        }
        message = *found;
        Queue.erase(found);
        return true;
    };
    while (open()) {
        Post_Close_Requests();
        Display->Pump(Pump_Wait::None);
        MSG message{};
        if (take(message)) {
            Dispatch_Message(&message);
            // Closing the dialog ends it, even when its procedure kept it open.
            if (message.message == WM_CLOSE && open()) {
                End_Dialog(dialog, IDCANCEL);
            }
            continue;
        }
        const bool more = Display->Pump(Pump_Wait::Input);
        Post_Close_Requests();
        const bool waiting = std::any_of(Queue.begin(), Queue.end(),
                                         [&](const MSG& queued) { return Is_For_Dialog(queued, dialog); });
        if (!more && !waiting && open()) {
            Post_Message(dialog, WM_CLOSE, 0, 0); // nobody can answer it: cancel
        }
    }
    std::erase(Open_Dialogs, dialog);
    if (Window_Record* record = Record(dialog)) {
        Display->Dialog_Closed(*record);
    }
}

BOOL Window_System::End_Dialog(HWND dialog, intptr_t result)
{
    Window_Record* record = Record(dialog);
    if (record == nullptr || !record->Dialog || record->Dialog->Procedure == nullptr) {
        return FALSE;
    }
    record->Dialog->Ended = true;
    record->Dialog->Result = result;
    return TRUE;
}

HWND Window_System::Get_Dialog_Item(HWND dialog, int id)
{
    const Window_Record* record = Record(dialog);
    if (record == nullptr || !record->Dialog) {
        return nullptr;
    }
    for (HWND control : record->Dialog->Controls) {
        if (Find(control)->Control->Id == id) {
            return control;
        }
    }
    return nullptr;
}

int Window_System::Message_Box(HWND owner, const char* text, const char* caption, UINT type)
{
    return Display->Message_Box(owner, text, caption, type);
}

namespace {

Open_File_Request Request_Of(const OPENFILENAMEA& record)
{
    Open_File_Request request;
    request.Owner = record.hwndOwner;
    for (const char* p = record.lpstrFilter; p != nullptr && *p != '\0';) {
        Open_File_Request::Filter filter;
        filter.Description = p;
        p += filter.Description.size() + 1;
        filter.Pattern = p;
        p += filter.Pattern.size() + 1;
        request.Filters.push_back(std::move(filter));
        if (request.Filters.back().Pattern.empty()) {
            break; // a description without its pattern ends the list
        }
    }
    const int count = static_cast<int>(request.Filters.size());
    request.Filter_Index =
        count == 0 ? -1 : std::clamp(static_cast<int>(record.nFilterIndex) - 1, 0, count - 1);
    request.Initial_Folder = record.lpstrInitialDir ? record.lpstrInitialDir : "";
    request.Initial_File = std::string(record.lpstrFile, strnlen(record.lpstrFile, record.nMaxFile));
    request.Title = record.lpstrTitle ? record.lpstrTitle : "";
    request.Default_Extension = record.lpstrDefExt ? record.lpstrDefExt : "";
    request.Create_Prompt = (record.Flags & OFN_CREATEPROMPT) != 0;
    return request;
}

} // namespace

BOOL Window_System::Get_Open_File_Name(OPENFILENAMEA* record)
{
    if (record == nullptr ||
        (record->lStructSize != OPENFILENAME_SIZE_VERSION_400A && record->lStructSize != sizeof *record) ||
        record->lpstrFile == nullptr || record->nMaxFile == 0) {
        return FALSE;
    }
    const Open_File_Request request = Request_Of(*record);
    std::string chosen;
    if (!Display->Open_File(request, chosen) || chosen.empty()) {
        return FALSE;
    }
    const std::size_t name = chosen.find_last_of('/') == std::string::npos ? 0 : chosen.find_last_of('/') + 1;
    const std::string& extension = request.Default_Extension;
    if (chosen.find('.', name) == std::string::npos && !extension.empty() &&
        extension.find_first_of("*?") == std::string::npos) {
        chosen += "." + extension; // a name typed without its extension
    }
    // The offsets are words: a path must fit the buffer and their range.
    if (chosen.size() + 1 > record->nMaxFile || chosen.size() > 0xFFFF) {
        return FALSE;
    }
    std::memcpy(record->lpstrFile, chosen.c_str(), chosen.size() + 1);
    const std::size_t dot = chosen.find_last_of('.');
    record->nFileOffset = static_cast<WORD>(name);
    record->nFileExtension =
        static_cast<WORD>(dot != std::string::npos && dot >= name ? dot + 1 : chosen.size());
    if (record->lpstrFileTitle != nullptr && record->nMaxFileTitle > chosen.size() - name) {
        std::memcpy(record->lpstrFileTitle, chosen.c_str() + name, chosen.size() - name + 1);
    }
    return TRUE;
}
