// Finding the package identifier field in a built stub and rewriting it for another package.
// Works on the bytes of the program file; reading and writing the file is the caller's.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stubtool {

// An identifier field found in a program file.
struct IdField {
  std::size_t offset;  // of the start marker in the file
  std::string id;      // what the stub reads from it
};

// Every run of bytes in image laid out as an identifier field: the start marker, an identifier of
// up to 198 bytes, the end marker, spaces up to 246 bytes and a NUL. Runs that only begin like a
// field (the markers' own constants, a field whose end marker was overwritten) are not fields.
std::vector<IdField> FindIdFields(std::span<const unsigned char> image);

// The one identifier field of image, which the stub reads; or nothing, with a message in problem,
// when image holds no field or more than one.
std::optional<IdField> FindTheIdField(std::span<const unsigned char> image, std::string& problem);

// The outcome of stamping: the new image, or why there is none.
struct Stamped {
  std::vector<unsigned char> image;  // empty when refused
  std::string problem;               // empty on success
};

// image with its one identifier field rewritten to carry id (code page 936 bytes): id at offset
// 24 of the field, the end marker right behind it, spaces up to the NUL, which stays where it
// was; every byte outside the field unchanged. Refused when id breaks a rule of
// identifier_rules.h, or when image holds no field or more than one.
Stamped StampIdentifier(std::span<const unsigned char> image, std::string_view id);

}  // namespace stubtool
