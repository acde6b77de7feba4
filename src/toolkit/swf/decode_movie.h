// Decoding a whole SWF file into a Movie (movie.h).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "toolkit/swf/movie.h"

namespace swf {

// The largest stage accepted, in pixels on either side.
inline constexpr int kMaxStagePixels = 4096;

// The movie in `file`, "FWS" or "CWS". Nothing when the file is damaged: a bad header or zlib
// stream, a body shorter or longer than its length field (movie_file.h), a frame count of 0, a
// stage outside 1..kMaxStagePixels pixels, a tag that runs past the body, a malformed tag that
// the decoder reads (tag_readers.h), or no End tag. A damaged file never yields part of a
// movie. Tags the decoder does not read (scripts, sounds, sprites, buttons, other bitmap
// kinds...) are skipped, as are frames past the header's frame count.
std::optional<Movie> DecodeMovie(std::span<const uint8_t> file);

}  // namespace swf
