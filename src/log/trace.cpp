// The Enter/Exit trace: lines indented by call depth, each operation traced until its first
// successful run, only while the switch is on.
#include "log/error_log.h"

#include <cstdio>
#include <set>
#include <string>

namespace {

constexpr int Max_Trace_Depth = 512;

struct Trace_State {
    bool Enabled = false;
    int Depth = 0;
    std::set<std::string, std::less<>> Done; // the one-shot flags, by trace name
};

Trace_State& State()
{
    // Never destroyed, like the log: tracing stays safe in destructors that run at exit.
    static Trace_State* const state = new Trace_State;
    return *state;
}

// Depth tabs and the line into the shared message buffer, cut to fit it.
void Format_Trace_Line(const char* word, const char* name)
{
    const int depth = State().Depth;
    std::size_t at = 0;
    for (int i = 0; i < depth && at + 1 < Message_Buffer_Size; ++i)
        Message_Buffer[at++] = '\t';
    std::snprintf(Message_Buffer + at, Message_Buffer_Size - at, "%s%s", word, name != nullptr ? name : "");
}

bool Already_Traced(const char* name)
{
    return State().Done.find(name != nullptr ? name : "") != State().Done.end();
}

} // namespace

void Trace_Enter(const char* name)
{
    Trace_State& state = State();
    if (!state.Enabled || Already_Traced(name))
        return;
    Format_Trace_Line("Enter ", name);
    Report(Message_Buffer);
    if (state.Depth < Max_Trace_Depth)
        ++state.Depth;
}

void Trace_Exit(const char* name)
{
    Trace_State& state = State();
    if (!state.Enabled || Already_Traced(name))
        return;
    if (state.Depth > 0)
        --state.Depth;
    Format_Trace_Line("Exit  ", name);
    Report(Message_Buffer);
    state.Done.emplace(name != nullptr ? name : "");
}

void Set_Trace_Enabled(bool on)
{
    State().Enabled = on;
}

bool Trace_Enabled()
{
    return State().Enabled;
}

int Trace_Depth()
{
    return State().Depth;
}

void Reset_Diagnostics()
{
    Error_Log& log = Program_Error_Log();
    log.Close_Log();
    log.Enabled = 0;
    log.Path[0] = '\0';
    State() = Trace_State{};
    Message_Buffer[0] = '\0';
}
