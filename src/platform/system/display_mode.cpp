// The display-mode source switch.
#include "platform/system/display_mode.h"

namespace {

class X_Display_Source : public Display_Mode_Source {
public:
    bool Current_Mode(Display_Mode& mode) override { return X_Display_Current_Mode(mode); }
};

X_Display_Source X_Source;
Display_Mode_Source* Current_Source = &X_Source;

} // namespace

void Set_Display_Mode_Source(Display_Mode_Source* source)
{
    Current_Source = source != nullptr ? source : &X_Source;
}

bool Get_Current_Display_Mode(Display_Mode& mode)
{
    return Current_Source->Current_Mode(mode);
}
