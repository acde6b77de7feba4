// WinInet is bound at run time from the system folder, never imported.
#include "download/wininet_api.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string ModulePathOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<const char*>(address), &module)) {
    return {};
  }
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  return path;
}

std::string Lower(std::string s) {
  CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

TEST(WinInetApiTest, BindsEveryFunctionFromTheSystemFolder) {
  const WinInetApi* api = WinInet();
  ASSERT_NE(api, nullptr);
  EXPECT_EQ(WinInet(), api) << "bound once";
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string expected = Lower(std::string(system) + "\\wininet.dll");
  for (const void* function : {reinterpret_cast<const void*>(api->InternetOpenA),
                               reinterpret_cast<const void*>(api->InternetConnectA),
                               reinterpret_cast<const void*>(api->HttpOpenRequestA),
                               reinterpret_cast<const void*>(api->HttpSendRequestA),
                               reinterpret_cast<const void*>(api->HttpQueryInfoA),
                               reinterpret_cast<const void*>(api->FtpFindFirstFileA),
                               reinterpret_cast<const void*>(api->FtpOpenFileA),
                               reinterpret_cast<const void*>(api->InternetReadFile),
                               reinterpret_cast<const void*>(api->InternetCloseHandle)}) {
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(Lower(ModulePathOf(function)), expected);
  }
}

TEST(WinInetApiTest, LibraryWithoutTheFunctionsBindsNothing) {
  EXPECT_FALSE(BindWinInetApi(nullptr));
  EXPECT_FALSE(BindWinInetApi(GetModuleHandleA("kernel32.dll")));
}

}  // namespace
