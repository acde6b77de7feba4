#include <iconv.h>

#include <cerrno>
#include <optional>

#include "stubtool/console.h"

namespace stubtool {
namespace {

// text converted between two iconv encodings, or nothing when a byte sequence is invalid in
// `from` or has no form in `to`.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
  const iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    return std::nullopt;
  }
  std::string out(text.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* next = out.data();
  size_t outLeft = out.size();
  const bool done = iconv(converter, &in, &inLeft, &next, &outLeft) != static_cast<size_t>(-1) &&
                    iconv(converter, nullptr, nullptr, &next, &outLeft) != static_cast<size_t>(-1);
  iconv_close(converter);
  if (!done) {
    return std::nullopt;
  }
  out.resize(out.size() - outLeft);
  return out;
}

bool IsUtf8(std::string_view text) {
  return Convert("UTF-32LE", "UTF-8", text).has_value();
}

}  // namespace

std::vector<Argument> ProgramArguments(int argc, char** argv) {
  std::vector<Argument> arguments;
  for (int i = 1; i < argc; ++i) {
    arguments.push_back({argv[i], argv[i]});
  }
  return arguments;
}

std::optional<std::string> IdentifierFromArgument(const Argument& argument, bool asCp936,
                                                  std::string& problem) {
  const std::string& bytes = argument.native;
  if (!asCp936 && IsUtf8(bytes)) {
    if (std::optional<std::string> converted = Convert("CP936", "UTF-8", bytes)) {
      return *converted;
    }
    problem = "the identifier holds characters that code page 936 cannot represent";
    return std::nullopt;
  }
  if (!Convert("UTF-8", "CP936", bytes)) {
    problem = "the identifier is neither UTF-8 nor code page 936";
    return std::nullopt;
  }
  return bytes;
}

void PrintIdentifier(std::string_view id, bool asCp936) {
  std::optional<std::string> shown;
  if (!asCp936) {
    shown = Convert("UTF-8", "CP936", id);
  }
  const std::string line = shown.value_or(std::string(id)) + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

void PrintText(std::FILE* stream, std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

}  // namespace stubtool
