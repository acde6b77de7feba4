// What the toolkit's start-up (run by win_test_main before the tests) leaves behind.
#include "toolkit/startup.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::string ProgramFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\'));
}

TEST(Startup, TheCurrentDirectoryIsTheProgramsFolder) {
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_STRCASEEQ(ProgramFolder().c_str(), current);
}

TEST(Startup, LibrariesAreNotSearchedForInTheProgramsFolder) {
  // stub_planted.dll lies beside this program.
  ASSERT_NE(INVALID_FILE_ATTRIBUTES,
            GetFileAttributesA((ProgramFolder() + "\\stub_planted.dll").c_str()));
  EXPECT_EQ(nullptr, LoadLibraryA("stub_planted.dll"));
  EXPECT_EQ(nullptr, tk::LoadSystemLibrary("stub_planted.dll"));
  // Asked for by its full path, the same file loads: the search, not the file, kept it out.
  HMODULE planted = LoadLibraryA((ProgramFolder() + "\\stub_planted.dll").c_str());
  EXPECT_NE(nullptr, planted);
  if (planted) FreeLibrary(planted);
}

TEST(Startup, SystemLibrariesLoadFromSystem32) {
  HMODULE gdiplus = tk::LoadSystemLibrary("gdiplus.dll");
  ASSERT_NE(nullptr, gdiplus);
  char path[MAX_PATH];
  GetModuleFileNameA(gdiplus, path, MAX_PATH);
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  EXPECT_EQ(0, _strnicmp(system, path, strlen(system))) << path;
}

TEST(Startup, OleIsInitialisedOnTheUiThread) {
  // A second initialisation on an initialised thread answers S_FALSE.
  const HRESULT result = OleInitialize(nullptr);
  EXPECT_EQ(S_FALSE, result);
  if (SUCCEEDED(result)) OleUninitialize();
}

}  // namespace
