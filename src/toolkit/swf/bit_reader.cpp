#include "toolkit/swf/bit_reader.h"

namespace swf {

uint8_t BitReader::U8() {
  Align();
  if (pos_ >= data_.size()) {
    ok_ = false;
    return 0;
  }
  return data_[pos_++];
}

uint16_t BitReader::U16() {
  const uint16_t low = U8();
  return static_cast<uint16_t>(low | (U8() << 8));
}

uint32_t BitReader::U32() {
  const uint32_t low = U16();
  return low | (static_cast<uint32_t>(U16()) << 16);
}

std::span<const uint8_t> BitReader::Bytes(size_t n) {
  Align();
  if (n > data_.size() - pos_) {
    ok_ = false;
    pos_ = data_.size();
    return {};
  }
  const auto bytes = data_.subspan(pos_, n);
  pos_ += n;
  return bytes;
}

void BitReader::SkipString() {
  while (ok_ && U8() != 0) {
  }
}

uint32_t BitReader::UB(unsigned bits) {
  if (bits > 32) {
    ok_ = false;
    return 0;
  }
  uint64_t value = 0;
  for (unsigned done = 0; done < bits;) {
    if (pos_ >= data_.size()) {
      ok_ = false;
      return 0;
    }
    const unsigned take = bits - done < 8 - bit_ ? bits - done : 8 - bit_;
    const unsigned shift = 8 - bit_ - take;
    value = (value << take) | ((data_[pos_] >> shift) & ((1u << take) - 1));
    done += take;
    bit_ += take;
    if (bit_ == 8) {
      bit_ = 0;
      ++pos_;
    }
  }
  return static_cast<uint32_t>(value);
}

int32_t BitReader::SB(unsigned bits) {
  const uint32_t value = UB(bits);
  if (bits == 0 || bits >= 32) return static_cast<int32_t>(value);
  const uint32_t sign = 1u << (bits - 1);
  return static_cast<int32_t>((value ^ sign) - sign);
}

}  // namespace swf
