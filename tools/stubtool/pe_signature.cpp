#include "stubtool/pe_signature.h"

#include <cstdint>
#include <optional>

namespace stubtool {
namespace {

// Little-endian reads; offsets are 64-bit so that no sum of header fields wraps around.
std::optional<std::uint32_t> Read(std::span<const unsigned char> image, std::uint64_t offset,
                                  int bytes) {
  if (offset > image.size() || image.size() - offset < static_cast<std::uint64_t>(bytes)) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) {
    value = value << 8 | image[offset + i];
  }
  return value;
}

constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint32_t kPe32Magic = 0x10B;
constexpr std::uint32_t kPe32PlusMagic = 0x20B;
constexpr std::uint32_t kSecurityDirectory = 4;  // IMAGE_DIRECTORY_ENTRY_SECURITY

}  // namespace

bool HasAuthenticodeSignature(std::span<const unsigned char> image) {
  if (Read(image, 0, 2) != 0x5A4D) {  // "MZ"
    return false;
  }
  const auto peOffset = Read(image, 0x3C, 4);
  if (!peOffset || Read(image, *peOffset, 4) != kPeSignature) {
    return false;
  }
  const std::uint64_t fileHeader = *peOffset + 4ull;
  const auto optionalHeaderSize = Read(image, fileHeader + 16, 2);
  const std::uint64_t optionalHeader = fileHeader + 20;
  const auto magic = Read(image, optionalHeader, 2);
  if (!optionalHeaderSize || !magic || (magic != kPe32Magic && magic != kPe32PlusMagic)) {
    return false;
  }
  // NumberOfRvaAndSizes and the data directories behind it sit 16 bytes further in PE32+, whose
  // ImageBase and stack and heap sizes are 64-bit.
  const std::uint64_t countOffset = optionalHeader + (magic == kPe32Magic ? 92 : 108);
  const auto directoryCount = Read(image, countOffset, 4);
  if (!directoryCount || *directoryCount <= kSecurityDirectory) {
    return false;
  }
  const std::uint64_t entry = countOffset + 4 + 8ull * kSecurityDirectory;
  if (entry + 8 > optionalHeader + *optionalHeaderSize) {
    return false;
  }
  const auto address = Read(image, entry, 4);
  const auto size = Read(image, entry + 4, 4);
  return address && size && (*address != 0 || *size != 0);
}

}  // namespace stubtool
