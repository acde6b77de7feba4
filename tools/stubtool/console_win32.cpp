#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <memory>

#include "stubtool/console.h"

namespace stubtool {
namespace {

constexpr UINT kCodePage936 = 936;

struct LocalFreeDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};

std::wstring Widen(UINT codePage, std::string_view text) {
  const int length =
      MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
}

// The console behind stream, or null when the stream goes to a file or a pipe.
HANDLE ConsoleOf(std::FILE* stream) {
  const HANDLE handle = GetStdHandle(stream == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) ? handle : nullptr;
}

void Write(std::FILE* stream, UINT codePage, std::string_view text) {
  if (const HANDLE console = ConsoleOf(stream)) {
    std::fflush(stream);
    const std::wstring wide = Widen(codePage, text);
    DWORD written = 0;
    WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    std::fwrite(text.data(), 1, text.size(), stream);
  }
}

}  // namespace

std::vector<Argument> ProgramArguments(int, char**) {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(
      CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<Argument> arguments;
  for (int i = 1; argv && i < count; ++i) {
    arguments.push_back({argv.get()[i], Utf8(argv.get()[i])});
  }
  return arguments;
}

std::optional<std::string> IdentifierFromArgument(const Argument& argument, bool asCp936,
                                                  std::string& problem) {
  if (asCp936) {
    problem =
        "--cp936 is for Linux: the Windows command line carries the identifier as Unicode "
        "text, so give it as it is";
    return std::nullopt;
  }
  const std::wstring& wide = argument.native;
  BOOL lossy = FALSE;
  const int length =
      WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, wide.data(),
                          static_cast<int>(wide.size()), nullptr, 0, nullptr, &lossy);
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, wide.data(),
                      static_cast<int>(wide.size()), bytes.data(), length, nullptr, &lossy);
  if (lossy) {
    problem = "the identifier holds characters that code page 936 cannot represent";
    return std::nullopt;
  }
  return bytes;
}

void PrintIdentifier(std::string_view id, bool asCp936) {
  const std::string line = std::string(id) + "\n";
  if (asCp936) {
    std::fwrite(line.data(), 1, line.size(), stdout);
  } else {
    Write(stdout, kCodePage936, line);
  }
}

void PrintText(std::FILE* stream, std::string_view utf8) {
  Write(stream, CP_UTF8, utf8);
}

}  // namespace stubtool
