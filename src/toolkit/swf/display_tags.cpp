// PlaceObject2, RemoveObject and RemoveObject2.
#include "toolkit/swf/bit_reader.h"
#include "toolkit/swf/records.h"
#include "toolkit/swf/tag_readers.h"

namespace swf {
namespace {

constexpr uint8_t kHasClipDepth = 0x40;
constexpr uint8_t kHasName = 0x20;
constexpr uint8_t kHasRatio = 0x10;
constexpr uint8_t kHasColorTransform = 0x08;
constexpr uint8_t kHasMatrix = 0x04;
constexpr uint8_t kHasCharacter = 0x02;
constexpr uint8_t kMove = 0x01;

bool Append(DisplayOp op, DecodeBudget& budget, Frame& frame) {
  if (budget.display_ops == 0) return false;
  --budget.display_ops;
  frame.ops.push_back(op);
  return true;
}

}  // namespace

bool ReadPlaceObject2(TagBody tag, DecodeBudget& budget, Frame& frame) {
  BitReader r(tag);
  const uint8_t flags = r.U8();
  DisplayOp op;
  op.depth = r.U16();
  op.move = (flags & kMove) != 0;
  if (flags & kHasCharacter) op.character = r.U16();
  if (flags & kHasMatrix) op.matrix = ReadMatrix(r);
  if (flags & kHasColorTransform) op.color_transform = ReadColorTransformWithAlpha(r);
  if (flags & kHasRatio) r.U16();
  if (flags & kHasName) r.SkipString();
  if (flags & kHasClipDepth) {
    r.U16();
    op.clip_layer = true;
  }
  // Clip actions belong to sprites and buttons, which are not played; they are left unread.
  if (!r.ok()) return false;
  // Neither a new character nor a change of one: nothing to do.
  if (!op.move && !op.character) return true;
  return Append(op, budget, frame);
}

bool ReadRemoveObject(TagBody tag, bool with_character, DecodeBudget& budget, Frame& frame) {
  BitReader r(tag);
  if (with_character) r.U16();
  DisplayOp op;
  op.kind = DisplayOp::Kind::kRemove;
  op.depth = r.U16();
  if (!r.ok()) return false;
  return Append(op, budget, frame);
}

}  // namespace swf
