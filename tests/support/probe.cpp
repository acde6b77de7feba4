// Reads the windows of a running program from inside the same Wine session and prints them as
// JSON, for the end-to-end tests:
//   probe windows   every top-level window of the toolkit's form class, with its children in
//                   stacking order (topmost first)
//   probe menus     every visible pop-up menu window
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8FromAnsi(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int wide_length =
      MultiByteToWideChar(936, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  MultiByteToWideChar(936, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), wide_length);
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::string Json(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
      out += buffer;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// GetWindowText of another process's window gives the caption the system keeps, which an edit
// box never updates: its text lives in the control and is only had by asking it.
std::string EditText(HWND window) {
  constexpr UINT kFlags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, kFlags, 2000, &length)) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           kFlags, 2000, &copied)) {
    return {};
  }
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

std::string Text(HWND window) {
  if (ClassOf(window) == "Edit") return Json(Utf8FromAnsi(EditText(window)));
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return Json(Utf8FromAnsi(text));
}

std::string Rect(const RECT& r) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right - r.left,
                r.bottom - r.top);
  return buffer;
}

std::string Common(HWND window) {
  char buffer[160];
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  const LONG_PTR ex_style = GetWindowLongPtrA(window, GWL_EXSTYLE);
  std::snprintf(buffer, sizeof buffer,
                "\"hwnd\": %llu, \"style\": %llu, \"exstyle\": %llu, \"visible\": %s",
                static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)),
                static_cast<unsigned long long>(style & 0xFFFFFFFF),
                static_cast<unsigned long long>(ex_style & 0xFFFFFFFF),
                (style & WS_VISIBLE) ? "true" : "false");
  return std::string(buffer) + ", \"class\": " + Json(ClassOf(window)) +
         ", \"text\": " + Text(window);
}

std::string Region(HWND window) {
  RECT box{};
  const int kind = GetWindowRgnBox(window, &box);
  if (kind == ERROR) return "null";
  // The region's shape: which corner pixels it leaves out shows whether the corners are round.
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  GetWindowRgn(window, region);
  const bool corner = PtInRegion(region, box.left, box.top) != FALSE;
  const bool middle =
      PtInRegion(region, (box.left + box.right) / 2, (box.top + box.bottom) / 2) != FALSE;
  DeleteObject(region);
  return std::string("{\"box\": ") + Rect(box) + ", \"corner\": " + (corner ? "true" : "false") +
         ", \"middle\": " + (middle ? "true" : "false") + "}";
}

void PrintChildren(HWND parent) {
  std::printf("\"children\": [");
  bool first = true;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    std::printf("%s\n    {%s, \"rect\": %s, \"region\": %s}", first ? "" : ",",
                Common(child).c_str(), Rect(r).c_str(), Region(child).c_str());
    first = false;
  }
  std::printf("]");
}

BOOL CALLBACK CollectForms(HWND window, LPARAM list) {
  if (ClassOf(window) == "TkForm") reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectMenus(HWND window, LPARAM list) {
  if (ClassOf(window) == "#32768" && IsWindowVisible(window)) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  }
  return TRUE;
}

int PrintWindows() {
  std::vector<HWND> forms;
  EnumWindows(CollectForms, reinterpret_cast<LPARAM>(&forms));
  std::printf("[");
  for (std::size_t i = 0; i < forms.size(); ++i) {
    HWND form = forms[i];
    RECT r, client;
    GetWindowRect(form, &r);
    GetClientRect(form, &client);
    POINT origin{0, 0};
    ClientToScreen(form, &origin);
    DWORD pid = 0;
    GetWindowThreadProcessId(form, &pid);
    std::printf(
        "%s\n  {%s, \"pid\": %lu, \"rect\": %s, \"client\": %s, \"client_origin\": [%ld, %ld], ",
        i ? "," : "", Common(form).c_str(), pid, Rect(r).c_str(), Rect(client).c_str(), origin.x,
        origin.y);
    PrintChildren(form);
    std::printf("}");
  }
  std::printf("\n]\n");
  return 0;
}

int PrintMenus() {
  std::vector<HWND> menus;
  EnumWindows(CollectMenus, reinterpret_cast<LPARAM>(&menus));
  std::printf("[");
  for (std::size_t i = 0; i < menus.size(); ++i) {
    RECT r;
    GetWindowRect(menus[i], &r);
    std::printf("%s{%s, \"rect\": %s}", i ? ", " : "", Common(menus[i]).c_str(), Rect(r).c_str());
  }
  std::printf("]\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "windows") return PrintWindows();
  if (command == "menus") return PrintMenus();
  std::fprintf(stderr, "usage: probe windows | probe menus\n");
  return 2;
}
