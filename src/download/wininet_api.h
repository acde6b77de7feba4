// The WinInet functions the transfer layer calls, bound at run time from System32's wininet.dll.
// wininet.dll is not one of the system's known DLLs: imported statically, it would be looked up in
// the program's own folder first, where a planted copy could stand beside a downloaded stub.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <optional>

#include "toolkit/handles.h"

struct WinInetApi {
  decltype(&::InternetOpenA) InternetOpenA = nullptr;
  decltype(&::InternetConnectA) InternetConnectA = nullptr;
  decltype(&::HttpOpenRequestA) HttpOpenRequestA = nullptr;
  decltype(&::HttpSendRequestA) HttpSendRequestA = nullptr;
  decltype(&::HttpQueryInfoA) HttpQueryInfoA = nullptr;
  decltype(&::FtpFindFirstFileA) FtpFindFirstFileA = nullptr;
  decltype(&::FtpOpenFileA) FtpOpenFileA = nullptr;
  decltype(&::InternetReadFile) InternetReadFile = nullptr;
  decltype(&::InternetCloseHandle) InternetCloseHandle = nullptr;
};

// Every function of WinInetApi looked up by name in library; nullopt when library is null or
// lacks any of them.
std::optional<WinInetApi> BindWinInetApi(HMODULE library);

// The functions of System32's wininet.dll, loaded and bound on the first call from any thread and
// kept until the process ends; null when the library or any of its functions is missing.
const WinInetApi* WinInet();

struct InternetHandleTraits {
  using Value = HINTERNET;
  static Value Invalid() { return nullptr; }
  // Only reached with a handle that WinInet gave, so the functions are bound.
  static void Close(Value handle) { WinInet()->InternetCloseHandle(handle); }
};
// Owns one WinInet handle and closes it with InternetCloseHandle.
using UniqueInternetHandle = tk::UniqueHandle<InternetHandleTraits>;
