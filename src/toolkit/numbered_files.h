// The toolkit's file facility: open files known by positive numbers, 0 meaning the open failed.
// Other processes may read and write a file while it is open here (no sharing restriction).
// Operations on a number that is not open do nothing (reads give nothing). Safe from any thread.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace tk {

enum class FileMode {
  kWriteNew,           // write only; created, or truncated to length 0
  kReadWriteExisting,  // read and write; never created
};

// Opens `path` (code page 936) and gives its number; 0 when it cannot be opened.
int OpenNumberedFile(std::string_view path, FileMode mode);

// Writes all of `bytes` at the current position; false when that failed.
bool WriteNumberedFile(int number, std::span<const unsigned char> bytes);

// Reads up to buffer.size() bytes from the current position; the number of bytes read, 0 at the
// end of the file and on failure.
std::size_t ReadNumberedFile(int number, std::span<unsigned char> buffer);

// Moves the current position to the start of the file.
void RewindNumberedFile(int number);

// Closes the file; its number may be given out again.
void CloseNumberedFile(int number);

}  // namespace tk
