#include "toolkit/swf/timeline.h"

namespace swf {

const DisplayList& Timeline::GoTo(int frame) {
  if (frame < 0) frame = 0;
  if (frame >= movie_.frame_count) frame = movie_.frame_count - 1;
  if (frame < applied_) {
    list_.clear();
    applied_ = -1;
  }
  // Frames past the last ShowFrame hold the last one.
  const int last = static_cast<int>(movie_.frames.size()) - 1;
  for (int i = applied_ + 1; i <= frame && i <= last; ++i) Apply(movie_.frames[i]);
  applied_ = frame;
  return list_;
}

void Timeline::Apply(const Frame& frame) {
  for (const DisplayOp& op : frame.ops) {
    if (op.kind == DisplayOp::Kind::kRemove) {
      list_.erase(op.depth);
      continue;
    }
    const auto found = list_.find(op.depth);
    if (op.move) {
      // A move changes the object at its depth: there must be one.
      if (found == list_.end()) continue;
      DisplayObject& object = found->second;
      if (op.character && movie_.characters.contains(*op.character)) {
        object.character = *op.character;
      }
      if (op.matrix) object.matrix = *op.matrix;
      if (op.color_transform) object.color_transform = *op.color_transform;
      object.clip_layer = object.clip_layer || op.clip_layer;
      continue;
    }
    // A new character: one that is not defined is not placed, and an occupied depth stays as
    // it is.
    if (found != list_.end() || !movie_.characters.contains(*op.character)) continue;
    DisplayObject object;
    object.character = *op.character;
    object.matrix = op.matrix.value_or(Matrix{});
    object.color_transform = op.color_transform.value_or(ColorTransform{});
    object.clip_layer = op.clip_layer;
    list_.emplace(op.depth, object);
  }
}

}  // namespace swf
