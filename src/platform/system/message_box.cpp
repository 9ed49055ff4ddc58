// The message-box backends that need no display: standard error and the recorder.
#include "platform/system/message_box.h"

#include <cstdio>

namespace {

Stderr_Message_Boxes Stderr_Backend;
Message_Box_Backend* Default_Backend = &Stderr_Backend;
Message_Box_Backend* Current_Backend = nullptr;

} // namespace

int Default_Message_Box_Answer(UINT type)
{
    switch (type & 0x0F) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}

int Stderr_Message_Boxes::Show(HWND, const char* text, const char* caption, UINT type)
{
    std::fprintf(stderr, "%s: %s\n", caption != nullptr ? caption : "", text != nullptr ? text : "");
    std::fflush(stderr);
    return Default_Message_Box_Answer(type);
}

Message_Box_Recorder::Message_Box_Recorder() : Previous(Current_Message_Box_Backend())
{
    Set_Message_Box_Backend(this);
}

Message_Box_Recorder::~Message_Box_Recorder()
{
    Set_Message_Box_Backend(Previous);
}

int Message_Box_Recorder::Show(HWND, const char* text, const char* caption, UINT type)
{
    Boxes.push_back({text != nullptr ? text : "", caption != nullptr ? caption : "", type});
    return Answer;
}

void Set_Message_Box_Backend(Message_Box_Backend* backend)
{
    Current_Backend = backend;
}

void Set_Default_Message_Box_Backend(Message_Box_Backend* backend)
{
    Default_Backend = backend != nullptr ? backend : &Stderr_Backend;
}

Message_Box_Backend* Current_Message_Box_Backend()
{
    return Current_Backend;
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type)
{
    return (Current_Backend != nullptr ? Current_Backend : Default_Backend)->Show(owner, text, caption, type);
}
