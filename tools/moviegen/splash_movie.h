// The splash movie: seven pictures in turn under one line of text, as a compressed SWF file.
#pragma once

#include <cstdint>
#include <vector>

namespace moviegen {

// The movie's bytes, the same on every run: a "CWS" file of version 6, a 600 x 300 stage on
// white at 10 frames a second, 350 frames. Each picture is a colour-mapped DefineBitsLossless
// shown through a DefineShape for 50 frames, fading in from white over its first 9 and out
// over its last 9 frames by colour transforms; the text (DefineFont2 glyphs from WenQuanYi
// Zen Hei, one DefineText) stays above them throughout. Ends the program with a message when
// the font cannot be read.
std::vector<uint8_t> MakeSplashMovie();

}  // namespace moviegen
