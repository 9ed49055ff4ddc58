// The error log file: CR LF records appended to one file that stays open while the program
// runs, and Report, which falls back to a message box whenever the file cannot take a record.
#include "log/error_log.h"

#include "log/sage_system.h"
#include "platform/system/clock.h"
#include "platform/system/files.h"
#include "platform/system/message_box.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

char Message_Buffer[Message_Buffer_Size];

namespace {

// A record is CR LF and at most 257 characters of text; a message box shows at most 511.
constexpr std::size_t Record_Buffer_Size = 260;
constexpr std::size_t Box_Buffer_Size = 512;

const char* const Day_Names[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const Month_Names[] = {"dummy month", "January",  "February", "March",  "April",
                                   "May",         "June",     "July",     "August", "September",
                                   "October",     "November", "December"};

const char* Day_Name(int day)
{
    return day >= 0 && day <= 6 ? Day_Names[day] : "";
}

const char* Month_Name(int month)
{
    return month >= 1 && month <= 12 ? Month_Names[month] : "";
}

} // namespace

Error_Log& Program_Error_Log()
{
    // Never destroyed: destructors of other program-wide objects may still report at exit.
    static Error_Log* const log = new Error_Log;
    return *log;
}

Error_Log::~Error_Log()
{
    Close_Log();
}

bool Error_Log::Open_Log(const char* path)
{
    Enabled = 1;
    const std::size_t length = path != nullptr ? std::strlen(path) : 0;
    if (length >= sizeof Path) {
        // A path cut to fit would name another file: refuse it like a file that cannot be made.
        Path[0] = '\0';
        Enabled = 0;
        Report("Save_Error_Log_To_File() CreateFile FILE FAILED");
        return false;
    }
    std::memcpy(Path, path != nullptr ? path : "", length + 1);
    return Write_Time_Stamp("Error Log File\r\n");
}

bool Error_Log::Write_Time_Stamp(const char* text)
{
    SYSTEMTIME time{};
    GetLocalTime(&time);
    char stamp[Record_Buffer_Size];
    std::snprintf(stamp, sizeof stamp, "\r\n%d:%d:%d, %s %s %d, %d\r\n%s", time.wHour, time.wMinute,
                  time.wSecond, Day_Name(time.wDayOfWeek), Month_Name(time.wMonth), time.wDay, time.wYear,
                  text);
    if (!Save_Error_Log_To_File(Path, stamp, Mode_Create)) {
        Enabled = 0;
        return false;
    }
    return true;
}

bool Error_Log::Save_Error_Log_To_File(const char* path, const char* text, int mode)
{
    if (path == nullptr || path[0] == '\0')
        return false;
    char record[Record_Buffer_Size];
    const int length = std::snprintf(record, sizeof record, "\r\n%s", text != nullptr ? text : "");
    const std::size_t size =
        length < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(length), sizeof record - 1);
    if (Handle < 0) {
        Handle = Files::Open_For_Writing(path, mode == Mode_Create);
        if (Handle < 0) {
            Enabled = 0;
            Report(mode == Mode_Create ? "Save_Error_Log_To_File() CreateFile FILE FAILED"
                                       : "Save_Error_Log_To_File() CreateFile APPEND TO FILE FAILED");
            return false;
        }
    }
    if (Files::Size(Handle) > Max_File_Size) {
        Enabled = 0;
        Report("Save_Error_Log_To_File() Max Error log file size EXCEEDED");
        return false;
    }
    if (!Files::Write(Handle, record, size)) {
        Enabled = 0;
        Report("Save_Error_Log_To_File() WriteFile FAILED");
        return false;
    }
    return true;
}

bool Error_Log::Log_Operating_System()
{
    if (!Enabled)
        return false;
    int os = 0;
    if (!Sage::Determine_Operating_System(os))
        return false;
    switch (os) {
    case Sage::OS_Not_Classified:
        Report("** Operating System: UNKNOWN **\r\n");
        break;
    case Sage::OS_Windows_95:
        Report("** Operating System: Windows 95 **\r\n");
        break;
    case Sage::OS_Windows_98:
        Report("** Operating System: Windows 98 **\r\n");
        break;
    case Sage::OS_Windows_NT:
        Report("** Operating System: Windows NT **\r\n");
        break;
    case Sage::OS_Windows_2000:
        Report("** Operating System: Windows 2000 **\r\n");
        break;
    default:
        break;
    }
    return true;
}

bool Error_Log::Log_Display_Mode()
{
    if (!Enabled)
        return false;
    int width = 640, height = 480, bits_per_pixel = 16;
    if (!Sage::Grab_Current_Display_Mode(width, height, bits_per_pixel))
        return false;
    Report("** Display (w,h,bpp) == (%d, %d, %d) **\r\n", width, height, bits_per_pixel);
    return true;
}

void Error_Log::Close_Log()
{
    Files::Close(Handle);
}

void Report(const char* text)
{
    Error_Log& log = Program_Error_Log();
    if (log.Enabled && log.Save_Error_Log_To_File(log.Path, text, Error_Log::Mode_Append))
        return;
    char box_text[Box_Buffer_Size];
    std::snprintf(box_text, sizeof box_text, "%s", text != nullptr ? text : "");
    MessageBoxA(nullptr, box_text, "Error", MB_ICONERROR);
}
