#include "stubtool/file_io.h"

#include <fstream>
#include <random>
#include <system_error>

#include "toolkit/text.h"

namespace stubtool {
namespace fs = std::filesystem;
namespace {

// A temporary file that is removed unless it was renamed into place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const fs::path& beside) : path_(UnusedName(beside)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (!path_.empty()) {
      std::error_code ignored;
      fs::remove(path_, ignored);
    }
  }

  const fs::path& path() const { return path_; }

  bool RenameTo(const fs::path& target, std::error_code& error) {
    fs::rename(path_, target, error);
    if (!error) {
      path_.clear();
    }
    return !error;
  }

 private:
  static fs::path UnusedName(const fs::path& beside) {
    std::random_device random;
    fs::path name;
    std::error_code ignored;
    do {
      name = beside;
      name += text::Format(".%08x.tmp", static_cast<unsigned>(random()));
    } while (fs::exists(name, ignored));
    return name;
  }

  fs::path path_;
};

}  // namespace

std::string PathText(const fs::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

std::optional<std::vector<unsigned char>> ReadWholeFile(const fs::path& path,
                                                        std::string& problem) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> bytes;
  char buffer[1 << 16];
  while (in && (in.read(buffer, sizeof buffer) || in.gcount() > 0)) {
    bytes.insert(bytes.end(), buffer, buffer + in.gcount());
  }
  if (!in.is_open() || in.bad()) {
    problem = "cannot read " + PathText(path);
    return std::nullopt;
  }
  return bytes;
}

bool ReplaceFile(const fs::path& path, std::span<const unsigned char> bytes,
                 const fs::path& permissionsOf, std::string& problem) {
  TemporaryFile temporary(path);
  {
    std::ofstream out(temporary.path(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      problem = "cannot write " + PathText(path);
      return false;
    }
  }
  std::error_code error;
  const fs::perms permissions = fs::status(permissionsOf, error).permissions();
  if (!error) {
    fs::permissions(temporary.path(), permissions, error);
  }
  if (!temporary.RenameTo(path, error)) {
    problem = "cannot replace " + PathText(path) + ": " + error.message();
    return false;
  }
  return true;
}

}  // namespace stubtool
