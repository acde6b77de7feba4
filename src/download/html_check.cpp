#include "download/html_check.h"

namespace {

constexpr char kMarker[] = "<head>";
constexpr std::size_t kMarkerLength = sizeof kMarker - 1;

}  // namespace

bool HtmlHeadScanner::Feed(std::span<const unsigned char> bytes) {
  for (unsigned char byte : bytes) {
    if (found_ || text_ended_) return true;
    if (pending_lead_) {
      pending_lead_ = false;
      // A lead byte followed by the end of the text is left out with it.
      if (byte == 0x00 || byte == 0x1A) {
        text_ended_ = true;
        return true;
      }
      // A double-byte character never takes part in the ASCII marker: the match starts over.
      matched_ = 0;
      continue;
    }
    if (byte == 0x00 || byte == 0x1A) {
      text_ended_ = true;
      return true;
    }
    if (byte >= 0x80) {
      pending_lead_ = true;
      continue;
    }
    // The marker's characters are all different, so a mismatch can only restart at its first one.
    if (byte == static_cast<unsigned char>(kMarker[matched_])) {
      if (++matched_ == kMarkerLength) found_ = true;
    } else {
      matched_ = byte == static_cast<unsigned char>(kMarker[0]) ? 1 : 0;
    }
  }
  return found_ || text_ended_;
}
