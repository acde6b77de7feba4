// zlib inflation bounded by the size the caller expects.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace swf {

// Inflates the zlib stream at the start of `in` into `out`, which then holds exactly `size`
// bytes. False (out unspecified) when the stream is damaged, ends early or holds more than
// `size` bytes. out grows with what the stream delivers, never past `size`.
bool InflateExactly(std::span<const uint8_t> in, size_t size, std::vector<uint8_t>& out);

}  // namespace swf
