#include "toolkit/text.h"

#include <algorithm>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace text {
namespace {

constexpr size_t kNotFound = std::string_view::npos;

bool IsLeadByte(char c) {
  return static_cast<unsigned char>(c) >= 0x80;
}

char FoldCase(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether needle stands at the start of at (which is at least as long). Letters are folded only
// in the needle's single-byte characters: a trail byte such as 0x41 is part of a Chinese character
// and must not match 0x61.
bool MatchesIgnoringCase(std::string_view at, std::string_view needle) {
  for (size_t i = 0; i < needle.size(); ++i) {
    if (IsLeadByte(needle[i])) {
      if (at[i] != needle[i] || (i + 1 < needle.size() && at[i + 1] != needle[i + 1])) {
        return false;
      }
      ++i;
    } else if (FoldCase(at[i]) != FoldCase(needle[i])) {
      return false;
    }
  }
  return true;
}

size_t NextCandidate(std::string_view haystack, std::string_view needle, size_t from,
                     bool ignoreCase) {
  if (!ignoreCase) {
    return haystack.find(needle, from);
  }
  for (; from + needle.size() <= haystack.size(); ++from) {
    if (MatchesIgnoringCase(haystack.substr(from), needle)) {
      return from;
    }
  }
  return kNotFound;
}

// 0-based Find. Candidates come from a plain byte search; the character boundaries are walked
// once, forward only, alongside them, so the walk costs one pass however many candidates fall on
// a trail byte.
size_t FindFrom(std::string_view haystack, std::string_view needle, size_t from, bool ignoreCase) {
  if (needle.empty()) {
    return kNotFound;
  }
  size_t boundary = 0;
  while (from < haystack.size()) {
    const size_t found = NextCandidate(haystack, needle, from, ignoreCase);
    if (found == kNotFound) {
      return kNotFound;
    }
    while (boundary < found) {
      boundary += IsLeadByte(haystack[boundary]) ? 2 : 1;
    }
    if (boundary == found) {
      return found;
    }
    from = boundary;
  }
  return kNotFound;
}

}  // namespace

int Find(std::string_view haystack, std::string_view needle, int from, bool ignoreCase) {
  // Positions past what an int can hold cannot be reported.
  haystack = haystack.substr(0, std::numeric_limits<int>::max() - 1);
  const size_t found =
      FindFrom(haystack, needle, from < 1 ? 0 : static_cast<size_t>(from) - 1, ignoreCase);
  return found == kNotFound ? -1 : static_cast<int>(found) + 1;
}

std::string TextBetween(std::string_view source, std::string_view startMarker,
                        std::string_view endMarker, bool ignoreCase) {
  size_t begin = 0;
  if (!startMarker.empty()) {
    const size_t found = FindFrom(source, startMarker, 0, ignoreCase);
    if (found == kNotFound) {
      return {};
    }
    begin = found + startMarker.size();
  }
  size_t end = source.size();
  if (!endMarker.empty()) {
    end = FindFrom(source, endMarker, begin, ignoreCase);
    if (end == kNotFound) {
      return {};
    }
  }
  return std::string(source.substr(begin, end - begin));
}

std::string Trim(std::string_view s) {
  size_t begin = kNotFound;
  size_t end = 0;
  for (size_t i = 0; i < s.size();) {
    const size_t length = IsLeadByte(s[i]) && i + 1 < s.size() ? 2 : 1;
    const bool space = length == 1 ? s[i] == ' ' : s[i] == '\xA1' && s[i + 1] == '\xA1';
    if (!space) {
      begin = std::min(begin, i);
      end = i + length;
    }
    i += length;
  }
  return begin == kNotFound ? std::string() : std::string(s.substr(begin, end - begin));
}

std::string Left(std::string_view s, int n) {
  return n < 1 ? std::string() : std::string(s.substr(0, static_cast<size_t>(n)));
}

std::string Right(std::string_view s, int n) {
  if (n < 1) {
    return {};
  }
  const size_t count = std::min(s.size(), static_cast<size_t>(n));
  return std::string(s.substr(s.size() - count));
}

std::string Middle(std::string_view s, int start, int n) {
  const size_t begin = start < 1 ? 0 : static_cast<size_t>(start) - 1;
  if (n < 1 || begin >= s.size()) {
    return {};
  }
  return std::string(s.substr(begin, static_cast<size_t>(n)));
}

std::string Format(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  va_list measuring;
  va_copy(measuring, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, measuring);
  va_end(measuring);
  std::string result;
  if (length > 0) {
    // The terminating NUL that vsnprintf writes lands in the string's own terminator slot.
    result.resize(static_cast<size_t>(length));
    std::vsnprintf(result.data(), result.size() + 1, format, arguments);
  }
  va_end(arguments);
  return result;
}

std::string NumberToText(long long number) {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  return std::string(digits, end);
}

}  // namespace text
