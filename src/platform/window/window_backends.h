// The display backends, in order of preference, each as {name, available(), create()}. The
// program chooses one once at start-up: the one asked for by name, else the first that is
// available; "headless" is last and always available. This list is the one place a new
// backend is registered.
#pragma once

#include "platform/window/window_backend.h"

#include <memory>
#include <span>

struct Window_Backend_Entry {
    const char* Name;
    bool (*Available)();                         // e.g. a display can be opened
    std::unique_ptr<Window_Backend> (*Create)(); // for the program's own run
};

std::span<const Window_Backend_Entry> Window_Backends();

// Installs the window system over the chosen backend and answers its name: `wanted` when it
// names an available backend, else the first available one; nullptr or "" asks for none in
// particular. An unknown or unavailable `wanted` is reported on standard error.
const char* Start_Window_System(const char* wanted);
