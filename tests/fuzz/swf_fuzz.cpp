// The movie decoder and renderer on arbitrary bytes: decode, then render a few frames in an
// order that seeks forward and back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolkit/swf/decode_movie.h"
#include "toolkit/swf/renderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto movie = swf::DecodeMovie({data, size});
  if (!movie) return 0;
  swf::Renderer renderer(*movie);
  std::vector<uint32_t> pixels(static_cast<size_t>(renderer.width()) * renderer.height());
  const int last = movie->frame_count - 1;
  for (int frame : {0, last, last / 2, 0}) renderer.Render(frame, pixels);
  return 0;
}
