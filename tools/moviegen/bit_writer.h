// Writing SWF's little-endian bytes and big-endian bit fields.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace moviegen {

class BitWriter {
 public:
  // Bit fields, most significant bit first; `value` must fit `bits`.
  void UB(uint32_t value, unsigned bits);
  void SB(int32_t value, unsigned bits) { UB(static_cast<uint32_t>(value), bits); }
  // Pads a partly written byte with zero bits.
  void Align() { used_ = 0; }

  // Byte-aligned writes: each first pads a partly written byte.
  void U8(uint8_t value);
  void U16(uint16_t value);
  void U32(uint32_t value);
  void Bytes(std::span<const uint8_t> bytes);

  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  unsigned used_ = 0;  // bits written into bytes_.back(), 0 when it is full
};

// The width of a signed bit field that holds every value; 0 when all are 0.
unsigned SignedBits(std::initializer_list<int64_t> values);
// The width of an unsigned bit field that holds every value; 0 when all are 0.
unsigned UnsignedBits(std::initializer_list<uint64_t> values);

}  // namespace moviegen
