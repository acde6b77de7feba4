// The tool's side of the system it runs on: the command line, and the console it writes to. The
// tool works in code page 936, the stub's own encoding; these routines convert at the edge.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stubtool {

// One command-line argument.
struct Argument {
  std::filesystem::path::string_type
      native;        // as the system passed it: bytes, or UTF-16 on Windows
  std::string text;  // UTF-8, for messages and for matching verbs and options

  std::filesystem::path Path() const { return native; }
};

// The arguments behind the program name. On Windows they are taken from the Unicode command line
// (argc and argv are not used there), so that no character is lost to the ANSI code page.
std::vector<Argument> ProgramArguments(int argc, char** argv);

// The code page 936 bytes of an identifier given on the command line, or nothing with a message
// in problem.
// - On Linux an argument of valid UTF-8 (the usual terminal and script encoding; plain ASCII is
//   both) is converted from UTF-8 and must be representable in code page 936. An argument that is
//   not valid UTF-8 is taken as code page 936 bytes as it is, and so is every argument with
//   asCp936 set; such bytes must decode as code page 936.
// - On Windows the Unicode argument is converted and must be representable in code page 936;
//   asCp936 is refused, since the Windows command line carries no bytes of its own.
std::optional<std::string> IdentifierFromArgument(const Argument& argument, bool asCp936,
                                                  std::string& problem);

// Writes an identifier (code page 936 bytes) and a line break to standard output: natively as
// UTF-8, or as the bytes themselves with asCp936 or when they do not decode; on Windows as Unicode
// text to a console, and as the bytes themselves when the output is redirected.
void PrintIdentifier(std::string_view id, bool asCp936);

// Writes UTF-8 text to stream (stdout or stderr) so that a Windows console shows it as well.
void PrintText(std::FILE* stream, std::string_view utf8);

}  // namespace stubtool
