#include "app/splash_movie.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "app/main_window.h"
#include "assets/assets.h"
#include "toolkit/handles.h"
#include "toolkit/movie_player.h"
#include "toolkit/text.h"

namespace {

// A name in the temporary directory that no file has yet: "%x.tmp" counting up from the tick
// count plus the number of earlier requests of this process. The file itself is not created.
std::string TemporaryFileName() {
  static std::atomic<unsigned> requests{0};
  char folder[MAX_PATH + 1] = "";
  const DWORD length = GetTempPathA(MAX_PATH, folder);
  std::string path(folder, length <= MAX_PATH ? length : 0);
  if (!path.empty() && path.back() != '\\') path += '\\';
  for (unsigned number = GetTickCount() + requests++;; ++number) {
    std::string candidate = path + text::Format("%x.tmp", number);
    if (GetFileAttributesA(candidate.c_str()) == INVALID_FILE_ATTRIBUTES) return candidate;
  }
}

// Creates or truncates the file, open for writing without sharing, and writes all of `bytes`.
bool WriteWholeFile(const std::string& path, std::span<const unsigned char> bytes) {
  if (path.empty()) return false;
  tk::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

void LoadSplashMovie() {
  const std::string MovieFile = TemporaryFileName();
  if (!WriteWholeFile(MovieFile, assets::SplashMovie)) return;
  HWND window = tk::MainWindow();
  tk::LoadMovie(window, Kestroflash控件1, MovieFile);
  tk::PlayMovie(window, Kestroflash控件1);
  tk::BlockContextMenu(window);
}
