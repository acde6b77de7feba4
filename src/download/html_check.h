// Tells an HTML page from a package archive, as the download does after the transfer: the file is
// read as text (up to its first 0x00 or 0x1A byte) and searched for "<head>", case-sensitively and
// only at code page 936 character boundaries. An archive, whose first bytes hold a 0x00, is
// therefore decided by its first few bytes.
#pragma once

#include <cstddef>
#include <span>
#include <string>

// Fed the file piece by piece, so that a large file is never held in memory.
class HtmlHeadScanner {
 public:
  // Feeds the next bytes of the file. Returns true once the decision is made (the marker was
  // found, or the text has ended); further bytes are then ignored.
  bool Feed(std::span<const unsigned char> bytes);

  // True when "<head>" stands in the text of the bytes fed so far.
  bool found() const { return found_; }

 private:
  bool found_ = false;
  bool text_ended_ = false;
  // A lead byte was the last byte fed: the next one is its second byte.
  bool pending_lead_ = false;
  // How much of the marker the text seen so far ends with, counted in whole characters.
  std::size_t matched_ = 0;
};
