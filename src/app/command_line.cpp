// Parsing the screen-saver switches: s, p/l with a window id, c, a — each optionally after
// '-' or '/', the program name (quoted or not) skipped first.
#include "app/command_line.h"

#include "platform/system/command_line.h"

#include <cctype>
#include <cstdint>

namespace {

bool Is_Blank(char c)
{
    return c == ' ' || c == '\t';
}

const char* Skip_Program_Name(const char* at)
{
    if (*at == '"') {
        ++at;
        while (*at != '\0' && *at != '"')
            ++at;
    } else {
        while (*at != '\0' && *at != ' ')
            ++at;
    }
    if (*at != '\0')
        ++at;
    while (Is_Blank(*at))
        ++at;
    return at;
}

// atoi's rules (leading white space, optional sign, decimal digits, 0 when none), but a
// number too large for 32 bits saturates instead of being undefined.
int32_t Decimal_Number(const char* at)
{
    while (std::isspace(static_cast<unsigned char>(*at)))
        ++at;
    bool negative = false;
    if (*at == '+' || *at == '-')
        negative = *at++ == '-';
    int64_t value = 0;
    while (std::isdigit(static_cast<unsigned char>(*at))) {
        value = value * 10 + (*at++ - '0');
        if (value > INT32_MAX)
            value = static_cast<int64_t>(INT32_MAX) + 1;
    }
    value = negative ? -value : value;
    return static_cast<int32_t>(value > INT32_MAX ? INT32_MAX : value);
}

} // namespace

Command_Line_Record& Command_Line()
{
    static Command_Line_Record record;
    return record;
}

void Reset_Command_Line()
{
    Command_Line() = Command_Line_Record{};
}

int32_t Parse_Command_Line()
{
    Command_Line_Record& record = Command_Line();
    const char* at = Skip_Program_Name(GetCommandLineA());
    if (*at == '\0') {
        record.Mode = Mode_Configuration;
        return record.Mode;
    }
    if (*at == '-' || *at == '/')
        ++at;
    switch (*at) {
    case 's':
    case 'S':
        record.Mode = Mode_Screen_Saver;
        break;
    case 'p':
    case 'P':
    case 'l':
    case 'L':
        ++at;
        while (Is_Blank(*at) || *at == ':')
            ++at;
        record.Preview_Parent = static_cast<uint32_t>(Decimal_Number(at));
        record.Mode = Mode_Preview;
        break;
    case 'c':
    case 'C':
        record.Mode = Mode_Configuration;
        break;
    case 'a':
    case 'A':
        record.Mode = Mode_Password_Change;
        break;
    default:
        break;
    }
    return record.Mode;
}
