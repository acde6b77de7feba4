// The program-wide exit, seen from outside: each scenario runs in a process of its own
// (exit_scenarios.exe), and the test looks at its exit code and at what its exit routine logged.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Folder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.rfind('\\') + 1);
}

struct Outcome {
  DWORD code = 0;
  std::string log;
  std::string box_text;  // the text of the error box the scenario showed, if any
};

BOOL CALLBACK FindBox(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<std::pair<DWORD, HWND>*>(parameter);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char name[32] = "";
  GetClassNameA(window, name, sizeof name);
  if (pid == search->first && std::string(name) == "#32770" && IsWindowVisible(window)) {
    search->second = window;
    return FALSE;
  }
  return TRUE;
}

std::string BoxText(HWND box) {
  std::string text;
  for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char buffer[512] = "";
    GetWindowTextA(c, buffer, sizeof buffer);
    text += buffer;
    text += '\n';
  }
  return text;
}

Outcome RunScenario(const char* scenario) {
  const std::string log = Folder() + "exit_" + scenario + ".log";
  DeleteFileA(log.c_str());
  std::string command = "\"";
  command += Folder();
  command += "exit_scenarios.exe\" ";
  command += scenario;
  command += " \"";
  command += log;
  command += "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  Outcome outcome;
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start " << command;
    return outcome;
  }
  // Answer an error box, as a user would, once it shows.
  for (int i = 0; i < 200 && WaitForSingleObject(process.hProcess, 50) == WAIT_TIMEOUT; ++i) {
    std::pair<DWORD, HWND> search{process.dwProcessId, nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.second) {
      outcome.box_text = BoxText(search.second);
      PostMessageA(search.second, WM_COMMAND, IDOK, 0);
    }
  }
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 99);
    ADD_FAILURE() << scenario << " did not end";
  }
  GetExitCodeProcess(process.hProcess, &outcome.code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::ifstream in(log, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  outcome.log = content.str();
  return outcome;
}

TEST(Exit, FromAWorkerEndsWithItsCodeAfterTheRoutineRanOnceOnTheUiThread) {
  const Outcome outcome = RunScenario("worker");
  EXPECT_EQ(7u, outcome.code);
  EXPECT_EQ("routine ui\n", outcome.log);
}

TEST(Exit, NearlySimultaneousExitsEndTheProcessOnce) {
  for (int round = 0; round < 5; ++round) {
    const Outcome outcome = RunScenario("race");
    EXPECT_EQ(5u, outcome.code);
    EXPECT_EQ("routine ui\n", outcome.log);
  }
}

TEST(Exit, AnExitArrivingDuringTheRoutineLetsTheFirstOneFinish) {
  const Outcome outcome = RunScenario("during-routine");
  EXPECT_EQ(4u, outcome.code);
  EXPECT_EQ("routine begins\nroutine ends\n", outcome.log);
}

TEST(Exit, TheEndOfTheMessageLoopRunsTheRoutine) {
  const Outcome outcome = RunScenario("loop-ends");
  EXPECT_EQ(0u, outcome.code);
  EXPECT_EQ("routine ui\n", outcome.log);
}

TEST(Exit, AFatalErrorShowsItsMessageAndEndsWithMinusOne) {
  const Outcome outcome = RunScenario("fatal");
  EXPECT_EQ(static_cast<DWORD>(-1), outcome.code);
  EXPECT_NE(std::string::npos, outcome.box_text.find("测试用的致命错误")) << outcome.box_text;
  EXPECT_EQ("routine ui\n", outcome.log);
}

TEST(Exit, AnExhaustedHeapIsFatalAndNamesTheBytesRequested) {
  const Outcome outcome = RunScenario("out-of-memory");
  EXPECT_EQ(static_cast<DWORD>(-1), outcome.code);
  EXPECT_NE(std::string::npos, outcome.box_text.find("1099511627776")) << outcome.box_text;
  EXPECT_EQ("routine ui\n", outcome.log);
}

}  // namespace
