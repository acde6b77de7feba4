#include "bit_writer.h"

#include <algorithm>

namespace moviegen {

void BitWriter::UB(uint32_t value, unsigned bits) {
  for (unsigned i = bits; i-- > 0;) {
    if (used_ == 0) bytes_.push_back(0);
    if ((value >> i) & 1) bytes_.back() |= static_cast<uint8_t>(0x80 >> used_);
    used_ = (used_ + 1) % 8;
  }
}

void BitWriter::U8(uint8_t value) {
  Align();
  bytes_.push_back(value);
}

void BitWriter::U16(uint16_t value) {
  U8(static_cast<uint8_t>(value));
  U8(static_cast<uint8_t>(value >> 8));
}

void BitWriter::U32(uint32_t value) {
  U16(static_cast<uint16_t>(value));
  U16(static_cast<uint16_t>(value >> 16));
}

void BitWriter::Bytes(std::span<const uint8_t> bytes) {
  Align();
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

unsigned SignedBits(std::initializer_list<int64_t> values) {
  unsigned bits = 0;
  for (int64_t v : values) {
    if (v == 0) continue;
    unsigned n = 1;
    while (v < -(int64_t{1} << (n - 1)) || v >= (int64_t{1} << (n - 1))) ++n;
    bits = std::max(bits, n);
  }
  return bits;
}

unsigned UnsignedBits(std::initializer_list<uint64_t> values) {
  unsigned bits = 0;
  for (uint64_t v : values) {
    unsigned n = 0;
    while (n < 64 && (v >> n) != 0) ++n;
    bits = std::max(bits, n);
  }
  return bits;
}

}  // namespace moviegen
