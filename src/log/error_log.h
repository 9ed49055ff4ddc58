// The program's single diagnostic channel: the error log file, the shared message buffer in
// which every report is formatted, Report, and the Enter/Exit trace.
//
// Usage everywhere in the program:
//     Report("Plasma::Frame_Move() FAILED with return code %d", hr);
//     Report("Gradient::Frame_Move_32: NULL Surface FAILED");
//     Trace_Enter("Plasma::Frame_Move"); … Trace_Exit("Plasma::Frame_Move");
//
// While the log file is open and healthy, reports are appended to it as CR LF records; before
// it is open or after any failure of the file, each report is shown in a message box captioned
// "Error" (platform/system/message_box.h).
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>

// The one process-wide buffer every report is formatted into.
inline constexpr std::size_t Message_Buffer_Size = 2048;
extern char Message_Buffer[Message_Buffer_Size];

class Error_Log {
public:
    static constexpr int Mode_Append = 0;
    static constexpr int Mode_Create = 1;
    static constexpr long Max_File_Size = 32000;

    int Enabled = 0;
    char Path[260] = {};

    bool Open_Log(const char* path);
    bool Write_Time_Stamp(const char* text);
    bool Save_Error_Log_To_File(const char* path, const char* text, int mode);
    bool Log_Operating_System();
    bool Log_Display_Mode();
    void Close_Log();
    bool Is_Open() const { return Handle >= 0; }

    ~Error_Log();

private:
    int Handle = -1;
};

// The process-wide log.
Error_Log& Program_Error_Log();

// Appends the text to the log, or shows it in a message box when the log cannot take it. The
// text is taken as it stands: a '%' in it is no format.
void Report(const char* text);

// With arguments, the text is a printf format: the report is formatted into Message_Buffer
// (cut at its size) and reported as above.
template <typename First, typename... Rest> void Report(const char* format, First first, Rest... rest)
{
    char text[Message_Buffer_Size]; // formatted aside: an argument may be Message_Buffer itself
    std::snprintf(text, sizeof text, format, first, rest...);
    std::memcpy(Message_Buffer, text, sizeof text);
    Report(Message_Buffer);
}

// Trace of the main operations: "Enter "/"Exit  " plus the name, indented by depth, at most once
// per operation and process, only while the trace is switched on.
void Trace_Enter(const char* name);
void Trace_Exit(const char* name);

// Nothing in the program switches the trace on; a diagnostic run does (LUCIVANTA_TRACE=1).
void Set_Trace_Enabled(bool on);
bool Trace_Enabled();
int Trace_Depth();

// Back to the state of a fresh process (log closed and disabled, trace off, depth 0, one-shot
// flags clear), so tests do not leak state into one another.
void Reset_Diagnostics();
