#include "stubtool/verb_support.h"

namespace stubtool {

std::optional<VerbArguments> ParseVerbArguments(std::span<const Argument> arguments,
                                                std::string& problem) {
  VerbArguments parsed;
  bool optionsEnded = false;
  for (const Argument& argument : arguments) {
    if (optionsEnded || !argument.text.starts_with("--")) {
      parsed.operands.push_back(argument);
    } else if (argument.text == "--") {
      optionsEnded = true;
    } else if (argument.text == "--cp936") {
      parsed.cp936 = true;
    } else {
      problem = "unknown option " + argument.text;
      return std::nullopt;
    }
  }
  return parsed;
}

int Refuse(std::string_view message) {
  PrintText(stderr, "stubtool: " + std::string(message) + "\n");
  return kRefused;
}

int Misuse(std::string_view message) {
  PrintText(stderr, "stubtool: " + std::string(message) + " (stubtool --help shows the usage)\n");
  return kMisused;
}

void Warn(std::string_view message) {
  PrintText(stderr, "stubtool: warning: " + std::string(message) + "\n");
}

}  // namespace stubtool
