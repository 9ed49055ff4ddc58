// The backend list and the choice made at start-up.
#include "platform/window/window_backends.h"

#include "platform/window/gtk/gtk_backend.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"

#include <cstdio>
#include <cstring>

namespace {

bool Always()
{
    return true;
}

// The program's own headless run: a 60 Hz display that shows nothing; only a close request
// (Ctrl+C, a termination request) can come as input.
std::unique_ptr<Window_Backend> Live_Headless()
{
    auto backend = std::make_unique<Headless_Backend>();
    backend->Frames_Per_Second = 60;
    backend->Live = true;
    return backend;
}

// The desktop: GTK on the X display named by $DISPLAY.
std::unique_ptr<Window_Backend> Desktop()
{
    return std::make_unique<Gtk_Backend>();
}

const Window_Backend_Entry Entries[] = {
    {"gtk", Gtk_Backend::Display_Opens, Desktop},
    {"headless", Always, Live_Headless},
};

} // namespace

std::span<const Window_Backend_Entry> Window_Backends()
{
    return Entries;
}

const char* Start_Window_System(const char* wanted)
{
    const Window_Backend_Entry* chosen = nullptr;
    if (wanted != nullptr && wanted[0] != '\0') {
        for (const Window_Backend_Entry& entry : Entries) {
            if (std::strcmp(entry.Name, wanted) == 0) {
                chosen = &entry;
            }
        }
        if (chosen == nullptr || !chosen->Available()) {
            std::fprintf(stderr, "lucivanta: display backend \"%s\" is %s; choosing another\n", wanted,
                         chosen == nullptr ? "unknown" : "not available");
            chosen = nullptr;
        }
    }
    for (const Window_Backend_Entry& entry : Entries) {
        if (chosen == nullptr && entry.Available()) {
            chosen = &entry;
        }
    }
    Install_Window_System(chosen->Create());
    return chosen->Name;
}
