// The program's text routines. A text is a std::string of code page 936 bytes: a byte from 0x80 to
// 0xFF begins a two-byte character, every other byte is a character of its own. Positions are
// 1-based byte positions; a search that finds nothing gives -1. Every routine returns a new text
// and never reads outside its arguments, whatever numbers it is given.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// The printf dialect that Format is checked against. On mingw-w64 plain "printf" means the
// Microsoft runtime's, without %zu or %lld, while its C++ library routes vsnprintf to mingw's
// C99 implementation; stdio.h names the matching dialect there.
#ifdef __MINGW_PRINTF_FORMAT
#define TEXT_PRINTF_DIALECT __MINGW_PRINTF_FORMAT
#else
#define TEXT_PRINTF_DIALECT printf
#endif

namespace text {

// Position of the first occurrence of needle in haystack that begins at or after position from,
// or -1 when there is none. An occurrence begins only on a character boundary, never on the second
// byte of a two-byte character; the boundaries are those of haystack read from its first byte.
// With ignoreCase, ASCII letters of single-byte characters match either case; bytes of two-byte
// characters always match exactly. A from below 1 counts as 1, a from past the end finds nothing,
// and a from inside a two-byte character starts at the next character. An empty needle is never
// found (-1), so that a caller stepping from one occurrence to the next always moves on.
int Find(std::string_view haystack, std::string_view needle, int from = 1, bool ignoreCase = false);

// The bytes between the first occurrence of startMarker and the first occurrence of endMarker
// behind it, both searched as Find does. An empty startMarker starts at the first byte, an empty
// endMarker runs to the end of source. Gives the empty text when startMarker is not found, or
// when endMarker is not found behind it.
std::string TextBetween(std::string_view source, std::string_view startMarker,
                        std::string_view endMarker, bool ignoreCase = false);

// s without its leading and trailing spaces: the ASCII space and the ideographic space (the
// two-byte character A1 A1). Tabs, line breaks and every other byte are kept. A text of nothing
// but spaces gives the empty text.
std::string Trim(std::string_view s);

// The first n bytes of s: the empty text for n below 1, all of s for n past its length. Counts
// bytes, so it may end in the middle of a two-byte character.
std::string Left(std::string_view s, int n);

// The last n bytes of s: the empty text for n below 1, all of s for n past its length. Counts
// bytes, so it may begin in the middle of a two-byte character.
std::string Right(std::string_view s, int n);

// The n bytes of s from position start on, fewer where s ends first. A start below 1 counts as 1;
// a start past the end, or n below 1, gives the empty text.
std::string Middle(std::string_view s, int start, int n);

// printf-style formatting into a new text of whatever length the result needs. Gives the empty
// text when the format or an argument cannot be converted.
std::string Format(const char* format, ...) __attribute__((format(TEXT_PRINTF_DIALECT, 1, 2)));

// The decimal form of number, with a leading '-' when negative.
std::string NumberToText(long long number);

}  // namespace text
