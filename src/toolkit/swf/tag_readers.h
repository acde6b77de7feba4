// Readers of the tags the movie decoder understands, each given the tag's body (the bytes
// after its header). Each returns false when the body is malformed: a record runs past the
// end, a count or offset points outside the body, a compressed bitmap does not inflate to its
// size, or the movie's budget is spent; the decoder then refuses the whole movie. A
// well-formed definition of a kind that is not drawn (a bitmap format other than 3 and 5)
// returns true and defines nothing. A character id that is already defined keeps its first
// definition.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "toolkit/swf/movie.h"

namespace swf {

// What one movie may decode in all, whatever its file claims: the bounds that keep a hostile
// file from costing more than a small multiple of the splash movie.
struct DecodeBudget {
  size_t bitmap_pixels = 8u << 20;
  size_t edges = 1u << 20;
  size_t glyph_placements = 1u << 20;
  size_t display_ops = 1u << 18;
};

using TagBody = std::span<const uint8_t>;

// DefineBitsLossless (has_alpha false) and DefineBitsLossless2 (true).
bool ReadDefineBitsLossless(TagBody tag, bool has_alpha, DecodeBudget& budget, Movie& movie);
// DefineShape, DefineShape2 and DefineShape3: shape_version 1, 2 or 3.
bool ReadDefineShape(TagBody tag, int shape_version, DecodeBudget& budget, Movie& movie);
bool ReadDefineFont(TagBody tag, DecodeBudget& budget, Movie& movie);
bool ReadDefineFont2(TagBody tag, DecodeBudget& budget, Movie& movie);
// DefineText (has_alpha false) and DefineText2 (true).
bool ReadDefineText(TagBody tag, bool has_alpha, DecodeBudget& budget, Movie& movie);
// PlaceObject2, RemoveObject and RemoveObject2 append an operation to `frame`.
bool ReadPlaceObject2(TagBody tag, DecodeBudget& budget, Frame& frame);
bool ReadRemoveObject(TagBody tag, bool with_character, DecodeBudget& budget, Frame& frame);

}  // namespace swf
