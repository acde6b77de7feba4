// What every verb of stubtool uses: its options, and how it reports.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "stubtool/console.h"

namespace stubtool {

// A verb's arguments split into options and operands.
struct VerbArguments {
  bool cp936 = false;  // --cp936: the identifier is code page 936 bytes as it stands
  std::vector<Argument> operands;
};

// Splits the arguments behind a verb. Options may stand anywhere; "--" makes every later argument
// an operand. Nothing, with a message in problem, for an unknown option.
std::optional<VerbArguments> ParseVerbArguments(std::span<const Argument> arguments,
                                                std::string& problem);

// Exit statuses of the tool.
inline constexpr int kDone = 0;
inline constexpr int kRefused = 1;  // the input or the file system said no; nothing was written
inline constexpr int kMisused = 2;  // the command line is wrong

// Writes "stubtool: message" to stderr and gives kRefused.
int Refuse(std::string_view message);

// Writes "stubtool: message" and a pointer to the usage to stderr and gives kMisused.
int Misuse(std::string_view message);

// Writes "stubtool: warning: message" to stderr.
void Warn(std::string_view message);

}  // namespace stubtool
