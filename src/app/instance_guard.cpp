#include "app/instance_guard.h"

#include <windows.h>

#include <string>

#include "toolkit/exit.h"

void GuardSingleInstance(std::string_view eventName) {
  const std::string name(eventName.empty() ? DefaultInstanceEventName : eventName);
  // The existence of the event alone marks a running copy; it is never set or waited on, and its
  // handle stays open until the process ends.
  if (OpenEventA(EVENT_ALL_ACCESS, FALSE, name.c_str())) tk::ExitProgram(0);
  CreateEventA(nullptr, FALSE, FALSE, name.c_str());
}
