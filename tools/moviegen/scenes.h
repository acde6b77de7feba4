// The seven pictures of the splash movie: full-stage scenes in one palette, each settling
// into white towards the bottom, where the window keeps its bar, status line and buttons, and
// quiet at the top left, where the movie's line of text stands.
#pragma once

#include "picture.h"

namespace moviegen {

inline constexpr int kSceneCount = 7;

// Scene `index`, 0 to kSceneCount - 1: the same pixels on every run.
Picture PaintScene(int index);

}  // namespace moviegen
