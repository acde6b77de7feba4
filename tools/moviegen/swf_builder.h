// Building a compressed SWF file: the records the movie uses and the tag stream.
#pragma once

#include <cstdint>
#include <vector>

#include "bit_writer.h"
#include "toolkit/swf/movie.h"

namespace moviegen {

enum TagCode : uint16_t {
  kEnd = 0,
  kShowFrame = 1,
  kDefineShape = 2,
  kSetBackgroundColor = 9,
  kDefineText = 11,
  kDefineBitsLossless = 20,
  kPlaceObject2 = 26,
  kRemoveObject2 = 28,
  kDefineFont2 = 48,
};

void WriteRect(BitWriter& w, const swf::Rect& rect);
void WriteMatrix(BitWriter& w, const swf::Matrix& matrix);
// CXFORMWITHALPHA, the colour transform of PlaceObject2; terms that are identity are left out.
void WriteColorTransform(BitWriter& w, const swf::ColorTransform& transform);

// Shape records with absolute coordinates in, the format's deltas out. The writer must hold the
// record's NumFillBits/NumLineBits already; fill_bits says how wide fill selections are.
class ShapeRecords {
 public:
  ShapeRecords(BitWriter& w, unsigned fill_bits) : w_(w), fill_bits_(fill_bits) {}
  // Starts a contour at (x, y); a fill0 above 0 selects that fill style on the left side.
  void MoveTo(int32_t x, int32_t y, uint32_t fill0 = 0);
  void LineTo(int32_t x, int32_t y);
  void CurveTo(int32_t control_x, int32_t control_y, int32_t x, int32_t y);
  // The end record, then byte alignment.
  void End();

 private:
  BitWriter& w_;
  unsigned fill_bits_;
  int32_t x_ = 0, y_ = 0;
};

class SwfBuilder {
 public:
  // Appends a tag; bodies of 63 bytes or more take the long header.
  void Tag(TagCode code, const std::vector<uint8_t>& body);

  // The file: "CWS", version, the uncompressed length, then zlib (level 9) of the frame
  // header and the tags, which must end with an End tag.
  std::vector<uint8_t> CompressedFile(uint8_t version, const swf::Rect& stage, uint16_t frame_rate,
                                      uint16_t frame_count) const;

 private:
  std::vector<uint8_t> tags_;
};

}  // namespace moviegen
