#include "stubtool/identifier_rules.h"

#include <array>
#include <cstring>

#include "download/package_id_layout.h"
#include "toolkit/text.h"

namespace stubtool {
namespace {

bool IsLeadByte(unsigned char c) {
  return c >= 0x80;
}

bool IsValidLeadByte(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}

bool IsValidTrailByte(unsigned char c) {
  return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// The first byte of id that does not stand in a well-formed code page 936 character, or empty.
std::string EncodingProblem(std::string_view id) {
  for (size_t i = 0; i < id.size(); ++i) {
    const auto c = static_cast<unsigned char>(id[i]);
    if (!IsLeadByte(c)) {
      continue;
    }
    // Windows' code page 936 has the euro sign as the single byte 0x80, but the stub takes every
    // byte from 0x80 on as the first of two.
    if (!IsValidLeadByte(c)) {
      return text::Format(
          "the identifier's byte 0x%02X at position %zu begins no two-byte character of code page "
          "936 (the euro sign 0x80 cannot stand in it)",
          c, i + 1);
    }
    if (i + 1 == id.size()) {
      return text::Format("the identifier ends in the middle of a character (lead byte 0x%02X)", c);
    }
    const auto trail = static_cast<unsigned char>(id[++i]);
    if (!IsValidTrailByte(trail)) {
      return text::Format(
          "the identifier's bytes 0x%02X 0x%02X at position %zu are not a code page 936 character",
          c, trail, i);
    }
  }
  return {};
}

// A problem with one single-byte character of id, or empty.
std::string CharacterProblem(char c) {
  if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
    return text::Format("the identifier holds the control byte 0x%02X",
                        static_cast<unsigned char>(c));
  }
  if (c == '\\' || c == '/') {
    return text::Format("the identifier holds the path separator '%c'", c);
  }
  if (std::strchr(":<>\"|?*", c) != nullptr) {
    return text::Format("the identifier holds '%c', which a Windows folder name cannot hold", c);
  }
  if (c == '#') {
    return "the identifier holds '#', which would end the path of the download URL";
  }
  return {};
}

bool IsReservedDeviceName(std::string_view id) {
  // Windows treats "CON", "con.txt" and "CON .zip" alike: the device is named by what stands
  // before the first dot, trailing spaces left out.
  const int dot = text::Find(id, ".");
  std::string base = dot > 0 ? text::Left(id, dot - 1) : std::string(id);
  while (!base.empty() && base.back() == ' ') {
    base.pop_back();
  }
  for (char& c : base) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                               "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view device : kDevices) {
    if (base == device) {
      return true;
    }
  }
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
         base[3] >= '0' && base[3] <= '9';
}

}  // namespace

std::string IdentifierProblem(std::string_view id) {
  if (id.empty()) {
    return "the identifier is empty";
  }
  if (id.size() > IdCapacity) {
    return text::Format("the identifier is %zu bytes long, and the field holds at most %zu",
                        id.size(), IdCapacity);
  }
  if (std::string problem = EncodingProblem(id); !problem.empty()) {
    return problem;
  }
  if (IdInField(IdFieldFor(id)) != id) {
    return text::Format(
        "the identifier holds the end marker \"%.*s\", so the stub would read another identifier",
        static_cast<int>(IdEndMarker.size()), IdEndMarker.data());
  }
  for (size_t i = 0; i < id.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(id[i]))) {
      ++i;
    } else if (std::string problem = CharacterProblem(id[i]); !problem.empty()) {
      return problem;
    }
  }
  if (text::Find(id, "..") > 0) {
    return "the identifier holds \"..\"";
  }
  if (id.back() == '.' || id.back() == ' ') {
    return "the identifier ends in a dot or a space, which Windows drops from a folder name";
  }
  if (IsReservedDeviceName(id)) {
    return "the identifier is the name of a Windows device";
  }
  return {};
}

}  // namespace stubtool
