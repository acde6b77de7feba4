#include "download/wininet_api.h"

#include "toolkit/startup.h"

namespace {

template <typename Function>
bool Bind(HMODULE library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  return function != nullptr;
}

}  // namespace

std::optional<WinInetApi> BindWinInetApi(HMODULE library) {
  if (!library) return std::nullopt;
  WinInetApi api;
  const bool complete = Bind(library, "InternetOpenA", api.InternetOpenA) &&
                        Bind(library, "InternetConnectA", api.InternetConnectA) &&
                        Bind(library, "HttpOpenRequestA", api.HttpOpenRequestA) &&
                        Bind(library, "HttpSendRequestA", api.HttpSendRequestA) &&
                        Bind(library, "HttpQueryInfoA", api.HttpQueryInfoA) &&
                        Bind(library, "FtpFindFirstFileA", api.FtpFindFirstFileA) &&
                        Bind(library, "FtpOpenFileA", api.FtpOpenFileA) &&
                        Bind(library, "InternetReadFile", api.InternetReadFile) &&
                        Bind(library, "InternetCloseHandle", api.InternetCloseHandle);
  if (!complete) return std::nullopt;
  return api;
}

const WinInetApi* WinInet() {
  // Never freed: handles of the library stay in use until the process ends.
  static const std::optional<WinInetApi> api = BindWinInetApi(tk::LoadSystemLibrary("wininet.dll"));
  return api ? &*api : nullptr;
}
