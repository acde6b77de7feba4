#include "toolkit/swf/inflate.h"

#include <zlib.h>

namespace swf {
namespace {

constexpr size_t kFirstOutput = 64u << 10;
constexpr size_t kMaxPiece = 1u << 30;  // handed to zlib at once, within its 32-bit counters

}  // namespace

bool InflateExactly(std::span<const uint8_t> in, size_t size, std::vector<uint8_t>& out) {
  z_stream stream{};
  if (inflateInit(&stream) != Z_OK) return false;
  out.clear();
  out.resize(size < kFirstOutput ? size : kFirstOutput);
  size_t fed = 0;
  size_t produced = 0;
  int result = Z_OK;
  for (;;) {
    if (stream.avail_in == 0 && fed < in.size()) {
      const size_t piece = in.size() - fed < kMaxPiece ? in.size() - fed : kMaxPiece;
      stream.next_in = const_cast<Bytef*>(in.data() + fed);
      stream.avail_in = static_cast<uInt>(piece);
      fed += piece;
    }
    if (produced == out.size() && out.size() < size) {
      out.resize(size - out.size() < out.size() ? size : out.size() * 2);
    }
    const size_t room = out.size() - produced < kMaxPiece ? out.size() - produced : kMaxPiece;
    stream.next_out = out.data() + produced;
    stream.avail_out = static_cast<uInt>(room);
    result = inflate(&stream, Z_NO_FLUSH);
    produced += room - stream.avail_out;
    // Z_OK means progress; anything else ends the stream, well or badly. A stream that would
    // write past `size` stops with Z_BUF_ERROR on a full output.
    if (result != Z_OK) break;
  }
  inflateEnd(&stream);
  return result == Z_STREAM_END && produced == size;
}

}  // namespace swf
