// Only one copy of the program runs at a time under one logon: the first copy holds a named event
// for its whole life, and a later copy finds it and ends.
#pragma once

#include <string_view>

// The event's name when none is given: the same in every build, whatever package a copy serves,
// so any two copies exclude each other. No Global\ prefix: the logon's own namespace.
inline constexpr char DefaultInstanceEventName[] = "Zorvel.DownloadStub.SingleInstance";

// Returns when this copy is the one that runs, holding the event until the process ends. When
// another copy holds it, ends the program at once with exit code 0, showing nothing.
void GuardSingleInstance(std::string_view eventName = {});
