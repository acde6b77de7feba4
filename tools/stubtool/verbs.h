// The verbs of stubtool. Each takes the arguments behind its name and gives the exit status.
#pragma once

#include <span>

#include "stubtool/console.h"

namespace stubtool {

// stamp [--cp936] <in-stub> <identifier> <out-stub>
int RunStamp(std::span<const Argument> arguments);

// id [--cp936] <stub>
int RunId(std::span<const Argument> arguments);

}  // namespace stubtool
