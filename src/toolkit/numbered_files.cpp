#include "toolkit/numbered_files.h"

#include <windows.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace tk {
namespace {

std::mutex files_lock;
std::vector<HANDLE> files;  // number n is element n - 1; null when free

HANDLE Lookup(int number) {
  std::lock_guard lock(files_lock);
  if (number < 1 || static_cast<std::size_t>(number) > files.size()) return nullptr;
  return files[static_cast<std::size_t>(number) - 1];
}

}  // namespace

int OpenNumberedFile(std::string_view path, FileMode mode) {
  const std::string terminated(path);
  const bool write_new = mode == FileMode::kWriteNew;
  HANDLE file =
      CreateFileA(terminated.c_str(), write_new ? GENERIC_WRITE : GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  write_new ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  std::lock_guard lock(files_lock);
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!files[i]) {
      files[i] = file;
      return static_cast<int>(i + 1);
    }
  }
  files.push_back(file);
  return static_cast<int>(files.size());
}

bool WriteNumberedFile(int number, std::span<const unsigned char> bytes) {
  HANDLE file = Lookup(number);
  if (!file) return false;
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD piece = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
    if (!WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) return false;
    bytes = bytes.subspan(written);
  }
  return true;
}

std::size_t ReadNumberedFile(int number, std::span<unsigned char> buffer) {
  HANDLE file = Lookup(number);
  if (!file || buffer.empty()) return 0;
  const DWORD wanted = buffer.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(buffer.size());
  DWORD read = 0;
  if (!ReadFile(file, buffer.data(), wanted, &read, nullptr)) return 0;
  return read;
}

void RewindNumberedFile(int number) {
  if (HANDLE file = Lookup(number)) SetFilePointer(file, 0, nullptr, FILE_BEGIN);
}

void CloseNumberedFile(int number) {
  HANDLE file = nullptr;
  {
    std::lock_guard lock(files_lock);
    if (number < 1 || static_cast<std::size_t>(number) > files.size()) return;
    file = std::exchange(files[static_cast<std::size_t>(number) - 1], nullptr);
  }
  if (file) CloseHandle(file);
}

}  // namespace tk
