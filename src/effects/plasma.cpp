// The plasma's tables and colours: building and freeing the six tables, choosing the channel
// strengths (see plasma.h).
#include "effects/plasma.h"

#include <cstdio>

#include "log/error_log.h"
#include "platform/system/random.h"
#include "settings/settings_file.h"

Plasma D3DPlasma;

namespace {

// Through the view: the contrast divides both tables (outside 2 … 25 the rings degenerate),
// and an interference of 0 or a non-number would poison every ripple entry.
int32_t Table_Contrast()
{
    return View_Of(Live_Settings()).Plasma_Contrast;
}

float Table_Interference()
{
    return View_Of(Live_Settings()).Plasma_Interference;
}

const char* const Wave_Failure[3] = {
    "Setup_Plasma():\n\nUnable to Setup Plasma",
    "Setup_Plasma():\n\nUnable to Setup Plasma 1",
    "Setup_Plasma():\n\nUnable to Setup Plasma 2",
};

} // namespace

int Plasma::Setup_Plasma(int32_t width, int32_t height)
{
    Trace_Enter("Setup_Plasma");
    for (int w = 0; w < 3; ++w) {
        if (!Build_Plasma_Wave(wave[w], width, height, Table_Contrast(), Table_Interference())) {
            // A partly built plasma is treated as one without tables: the fills need all six.
            for (PlasmaWave& built : wave)
                built.Free_Tables();
            Report(Wave_Failure[w]);
            return 0;
        }
    }
    size = width;
    Trace_Exit("Setup_Plasma");
    return 1;
}

void Plasma::Shutdown_Plasma()
{
    Trace_Enter("Shutdown_Plasma");
    for (PlasmaWave& w : wave)
        w.Free_Tables();
    Trace_Exit("Shutdown_Plasma");
}

bool Plasma::Has_Tables() const
{
    return wave[0].Has_Tables() && wave[1].Has_Tables() && wave[2].Has_Tables();
}

void Plasma::Choose_Colours()
{
    const int n = Random::rand() % 4;
    red_shift = (n == 1) ? 0 : 1;
    green_shift = (n == 2) ? 0 : 1;
    blue_shift = (n == 3) ? 0 : 1;

    Settings& settings = Live_Settings();
    if (settings.Plasma_Random == 1) {
        settings.Plasma_Contrast = (Random::rand() % 23) + 2;
        settings.Plasma_Interference = static_cast<float>((Random::rand() % 90) + 30) * 0.1f;
    }
}

void Plasma::Reset()
{
    for (PlasmaWave& w : wave)
        w = PlasmaWave{};
    red_shift = green_shift = blue_shift = 0;
    is_565 = false;
    size = 256;
    created_flags = 0;
    for (Offsets& o : offset)
        o = Offsets{};
}
