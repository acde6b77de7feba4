// The SWF container: the 8-byte header ("FWS" or "CWS", version, uncompressed length) and the
// body behind it, inflated when the file is compressed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace swf {

// The largest uncompressed length accepted; no file is inflated or copied beyond it.
inline constexpr uint32_t kMaxMovieLength = 16u << 20;

struct MovieFile {
  uint8_t version = 0;
  bool compressed = false;
  uint32_t length = 0;        // as the header announces it, header included
  std::vector<uint8_t> body;  // length - 8 bytes: everything behind the header
};

// The header and body of file. Nothing when the signature is not "FWS" or "CWS", the version
// is 0 (or below 6 for "CWS"), the length is below 9 or above kMaxMovieLength, or the body is
// shorter than the length says: an uncompressed file with fewer bytes, a zlib stream that is
// damaged, ends early or inflates to a different length. Bytes after the body are ignored.
std::optional<MovieFile> ReadMovieFile(std::span<const uint8_t> file);

}  // namespace swf
