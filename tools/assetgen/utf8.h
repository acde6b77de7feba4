// Decodes UTF-8 text into code points. Throws std::runtime_error on a malformed sequence (a stray
// or missing continuation byte, an overlong form, a surrogate, a value above U+10FFFF).
#pragma once

#include <string>
#include <string_view>

namespace assetgen {

std::u32string DecodeUtf8(std::u8string_view text);

}  // namespace assetgen
