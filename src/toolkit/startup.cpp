#include "toolkit/startup.h"

#include <ole2.h>

#include <string>

#include "toolkit/ui_thread.h"

namespace tk {
namespace {

// Set when SetDefaultDllDirectories exists (Windows 8, or 7 with KB2533623): only then does
// LoadLibraryEx understand the LOAD_LIBRARY_SEARCH_* flags.
bool search_flags_supported = false;

void RestrictLibrarySearch() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto set_default = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (set_default && set_default(LOAD_LIBRARY_SEARCH_SYSTEM32)) search_flags_supported = true;
  // Older systems: at least take the current directory out of the search path.
  SetDllDirectoryA("");
}

// Wide: the program's folder may hold characters outside code page 936, and a byte-wise search
// for the last backslash could land on the second byte of a double-byte character.
void EnterProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return;
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return;
  path.resize(slash + 1);
  SetCurrentDirectoryW(path.c_str());
}

}  // namespace

void InitializeToolkit() {
  RestrictLibrarySearch();
  OleInitialize(nullptr);
  EnterProgramFolder();
  InitUiThread();
}

HMODULE LoadSystemLibrary(const char* name) {
  if (search_flags_supported) return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  char path[MAX_PATH + 64];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  path[length] = '\\';
  lstrcpynA(path + length + 1, name, 63);
  return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace tk
