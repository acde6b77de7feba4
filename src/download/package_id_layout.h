// The layout of the package identifier field, shared by the stub that reads the field and by the
// packaging tool that rewrites it in a built stub. The field is one 246-byte text ended by NUL:
//
//   offset   0  24 bytes  IdStartMarker
//   offset  24   n bytes  the identifier, 1 <= n <= IdCapacity
//   offset  24+n 24 bytes  IdEndMarker
//            then 198 - n spaces, so that the NUL stays at offset IdFieldSize
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "toolkit/text.h"

inline constexpr std::string_view IdStartMarker = "#@#@#@#@#@#@#@#@#@#@#@##";
inline constexpr std::string_view IdEndMarker = "#$%$%$%$%$%$%$%$%$%$%$%#";

// Length of the field without its NUL.
inline constexpr std::size_t IdFieldSize = 246;
// The bytes that the identifier and the filler share.
inline constexpr std::size_t IdCapacity = IdFieldSize - IdStartMarker.size() - IdEndMarker.size();
inline constexpr char IdFiller = ' ';

// The identifier starts at offset 24.
static_assert(IdStartMarker.size() == 24 && IdCapacity == 198);

// The IdFieldSize bytes of a field that carries id (without the NUL behind them). id is at most
// IdCapacity bytes long; a longer one is cut to IdCapacity.
inline std::string IdFieldFor(std::string_view id) {
  std::string field(IdStartMarker);
  field += id.substr(0, IdCapacity);
  field += IdEndMarker;
  field.resize(IdFieldSize, IdFiller);
  return field;
}

// The identifier that a field's text carries, read exactly as the stub reads it. Empty when the
// text holds no start marker, or no end marker behind it.
inline std::string IdInField(std::string_view field) {
  return text::TextBetween(field, IdStartMarker, IdEndMarker, false);
}
