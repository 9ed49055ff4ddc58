// The process-wide record of the daemon's window.
#include "platform/window/saver_target.h"

Saver_Target& Current_Saver_Target()
{
    static Saver_Target target;
    return target;
}

void Reset_Saver_Target()
{
    Current_Saver_Target() = Saver_Target{};
}
