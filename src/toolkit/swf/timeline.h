// The display list of a movie at any frame: what is on stage, at which depth, with which
// matrix and colour transform.
#pragma once

#include <cstdint>
#include <map>

#include "toolkit/swf/movie.h"

namespace swf {

struct DisplayObject {
  uint16_t character = 0;
  Matrix matrix;
  ColorTransform color_transform;
  bool clip_layer = false;
};

// Objects by depth; the lowest depth is drawn first.
using DisplayList = std::map<uint16_t, DisplayObject>;

class Timeline {
 public:
  // Keeps a reference to movie, which must outlive the timeline.
  explicit Timeline(const Movie& movie) : movie_(movie) {}

  // The display list at `frame` (0-based), clamped to the movie's frames. Going forward
  // applies the frames in between; going back replays from the first frame.
  const DisplayList& GoTo(int frame);

 private:
  void Apply(const Frame& frame);

  const Movie& movie_;
  DisplayList list_;
  int applied_ = -1;  // the last frame whose operations are in list_
};

}  // namespace swf
