// Reading a program file whole, and replacing a file so that it is never left half-written.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace stubtool {

// The path as UTF-8 text, for messages.
std::string PathText(const std::filesystem::path& path);

// The bytes of the file at path, or nothing with a message in problem when it cannot be read.
std::optional<std::vector<unsigned char>> ReadWholeFile(const std::filesystem::path& path,
                                                        std::string& problem);

// Makes path hold bytes: they are written to a temporary file beside path, which is then renamed
// over it, so that path holds either what it held before or all of bytes. The new file gets the
// permissions of permissionsOf where the system has them. False with a message in problem when
// writing or renaming fails; the temporary file is removed then.
bool ReplaceFile(const std::filesystem::path& path, std::span<const unsigned char> bytes,
                 const std::filesystem::path& permissionsOf, std::string& problem);

}  // namespace stubtool
