// The screen-saver switches as the screen-saver machinery passes them.
#include "app/command_line.h"

#include "platform/system/command_line.h"

#include <gtest/gtest.h>

namespace {

struct Parsed {
    int32_t Mode;
    uint32_t Parent;
};

Parsed Parse(const char* text, int32_t mode_before = 0)
{
    Reset_Command_Line();
    Command_Line().Mode = mode_before;
    Set_Command_Line(text);
    const int32_t mode = Parse_Command_Line();
    EXPECT_EQ(mode, Command_Line().Mode);
    const Parsed parsed{mode, Command_Line().Preview_Parent};
    Reset_Command_Line();
    Set_Command_Line("");
    return parsed;
}

TEST(Parse_Command_Line, SaverSwitchWithOrWithoutSwitchCharacter)
{
    for (const char* text :
         {"lucivanta /s", "lucivanta -S", "lucivanta s", "lucivanta /S", "lucivanta   /s extra"})
        EXPECT_EQ(Parse(text).Mode, Mode_Screen_Saver) << text;
}

TEST(Parse_Command_Line, PreviewTakesTheParentWindow)
{
    EXPECT_EQ(Parse("lucivanta /p 1234").Mode, Mode_Preview);
    EXPECT_EQ(Parse("lucivanta /p 1234").Parent, 1234u);
    EXPECT_EQ(Parse("lucivanta /l:1234").Parent, 1234u);
    EXPECT_EQ(Parse("lucivanta -P: :77x").Parent, 77u);
    const Parsed alone = Parse("lucivanta /p");
    EXPECT_EQ(alone.Mode, Mode_Preview);
    EXPECT_EQ(alone.Parent, 0u);
    // A number past 32 bits saturates instead of wrapping into another window id.
    EXPECT_EQ(Parse("lucivanta /p 99999999999999999999").Parent, 2147483647u);
}

TEST(Parse_Command_Line, ConfigurationPasswordAndUnknown)
{
    EXPECT_EQ(Parse("lucivanta /c:56").Mode, Mode_Configuration);
    EXPECT_EQ(Parse("lucivanta").Mode, Mode_Configuration);
    EXPECT_EQ(Parse("lucivanta ").Mode, Mode_Configuration);
    EXPECT_EQ(Parse("").Mode, Mode_Configuration);
    EXPECT_EQ(Parse("lucivanta /a 42").Mode, Mode_Password_Change);
    EXPECT_EQ(Parse("lucivanta /q").Mode, Mode_Unrecognised);
    // An unknown switch leaves the mode as it was.
    EXPECT_EQ(Parse("lucivanta /q", Mode_Preview).Mode, Mode_Preview);
}

TEST(Parse_Command_Line, QuotedProgramPathWithBlanks)
{
    EXPECT_EQ(Parse("\"/opt/my saver/lucivanta\" /s").Mode, Mode_Screen_Saver);
    EXPECT_EQ(Parse("\"/opt/my saver/lucivanta\"").Mode, Mode_Configuration);
    EXPECT_EQ(Parse("\"/opt/unterminated /s").Mode, Mode_Configuration);
}

TEST(Parse_Command_Line, MainJoinsArgumentsLikeThePlatform)
{
    const char* with_blank[] = {"/opt/my saver/lucivanta", "/p", "1234"};
    EXPECT_EQ(Join_Command_Line(3, with_blank), "\"/opt/my saver/lucivanta\" /p 1234");
    const char* plain[] = {"lucivanta", "/s"};
    EXPECT_EQ(Join_Command_Line(2, plain), "lucivanta /s");
    EXPECT_EQ(Parse(Join_Command_Line(3, with_blank).c_str()).Parent, 1234u);
}

} // namespace
