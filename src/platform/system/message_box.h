// Message boxes (MessageBoxA) through a swappable backend: standard error until the window
// system makes itself the default (its display backend shows the boxes), and a recorder that
// tests install over either. The text, caption and type reach the backend unchanged.
#pragma once

#include "platform/win_types.h"

#include <string>
#include <vector>

inline constexpr UINT MB_OK = 0x00;
inline constexpr UINT MB_OKCANCEL = 0x01;
inline constexpr UINT MB_YESNOCANCEL = 0x03;
inline constexpr UINT MB_YESNO = 0x04;
inline constexpr UINT MB_ICONHAND = 0x10;
inline constexpr UINT MB_ICONERROR = 0x10;
inline constexpr UINT MB_ICONSTOP = 0x10;
inline constexpr UINT MB_ICONQUESTION = 0x20;
inline constexpr UINT MB_ICONEXCLAMATION = 0x30;
inline constexpr UINT MB_ICONWARNING = 0x30;
inline constexpr UINT MB_ICONASTERISK = 0x40;
inline constexpr UINT MB_ICONINFORMATION = 0x40;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

class Message_Box_Backend {
public:
    virtual ~Message_Box_Backend() = default;
    // Returns the id of the button chosen (IDOK, IDYES, …).
    virtual int Show(HWND owner, const char* text, const char* caption, UINT type) = 0;
};

// Writes "caption: text" to standard error and answers with the box's first button.
class Stderr_Message_Boxes : public Message_Box_Backend {
public:
    int Show(HWND owner, const char* text, const char* caption, UINT type) override;
};

// Keeps every box shown, for tests; installs itself for its lifetime.
class Message_Box_Recorder : public Message_Box_Backend {
public:
    struct Box {
        std::string Text;
        std::string Caption;
        UINT Type;
    };
    std::vector<Box> Boxes;
    int Answer = IDOK;

    Message_Box_Recorder();
    ~Message_Box_Recorder() override;
    Message_Box_Recorder(const Message_Box_Recorder&) = delete;
    Message_Box_Recorder& operator=(const Message_Box_Recorder&) = delete;
    int Show(HWND owner, const char* text, const char* caption, UINT type) override;

private:
    Message_Box_Backend* Previous;
};

// Installs a backend over the default (not owned); nullptr puts the default back.
void Set_Message_Box_Backend(Message_Box_Backend* backend);
// The backend installed over the default, or nullptr.
Message_Box_Backend* Current_Message_Box_Backend();
// The default (not owned); nullptr puts standard error back.
void Set_Default_Message_Box_Backend(Message_Box_Backend* backend);

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

// The first button of a box of this type, the answer of a box nobody can click.
int Default_Message_Box_Answer(UINT type);
