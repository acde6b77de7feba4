#include "utf8.h"

#include <stdexcept>

namespace assetgen {

std::u32string DecodeUtf8(std::u8string_view text) {
  std::u32string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    int continuation = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
      value = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      continuation = 1;
      value = lead & 0x1F;
      smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      continuation = 2;
      value = lead & 0x0F;
      smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      continuation = 3;
      value = lead & 0x07;
      smallest = 0x10000;
    } else {
      throw std::runtime_error("malformed UTF-8: unexpected byte");
    }
    if (text.size() - i <= static_cast<std::size_t>(continuation)) {
      throw std::runtime_error("malformed UTF-8: sequence cut short");
    }
    for (int k = 1; k <= continuation; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) throw std::runtime_error("malformed UTF-8: missing continuation");
      value = (value << 6) | (next & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
      throw std::runtime_error("malformed UTF-8: not a valid code point");
    }
    out.push_back(value);
    i += continuation + 1;
  }
  return out;
}

}  // namespace assetgen
