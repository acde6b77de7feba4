// A reader of SWF's little-endian bytes and big-endian bit fields over a span it never leaves.
// A read past the end yields zero and marks the reader failed for good, so a parser reads a
// whole record and checks ok() once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace swf {

class BitReader {
 public:
  explicit BitReader(std::span<const uint8_t> data) : data_(data) {}

  // Byte-aligned reads: each first skips what is left of a partly read byte.
  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  int16_t S16() { return static_cast<int16_t>(U16()); }
  // The next n bytes; empty (and the reader failed) when fewer are left.
  std::span<const uint8_t> Bytes(size_t n);
  // Skips a NUL-terminated string, the NUL included.
  void SkipString();

  // Bit fields of 0 to 32 bits, most significant bit first. SB sign-extends.
  uint32_t UB(unsigned bits);
  int32_t SB(unsigned bits);
  // Drops the rest of a partly read byte.
  void Align() {
    if (bit_ != 0) {
      bit_ = 0;
      ++pos_;
    }
  }

  bool ok() const { return ok_; }
  // Whole bytes not yet read.
  size_t remaining() const { return data_.size() - pos_ - (bit_ != 0 ? 1 : 0); }
  size_t position() const { return pos_; }

 private:
  std::span<const uint8_t> data_;
  size_t pos_ = 0;    // byte holding the next bit
  unsigned bit_ = 0;  // bits of data_[pos_] already read, 0 to 7
  bool ok_ = true;
};

}  // namespace swf
