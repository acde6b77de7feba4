// Telling an HTML page from an archive: the text ends at the first 0x00 or 0x1A, double-byte
// characters are taken whole, and the file may arrive in pieces of any size.
#include "download/html_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool FoundInPieces(const std::string& file, std::size_t piece) {
  HtmlHeadScanner scanner;
  for (std::size_t at = 0; at < file.size(); at += piece) {
    const std::size_t n = std::min(piece, file.size() - at);
    if (scanner.Feed({reinterpret_cast<const unsigned char*>(file.data() + at), n})) break;
  }
  return scanner.found();
}

struct Case {
  const char* what;
  std::string file;
  bool html;
};

TEST(HtmlHeadScanner, FindsTheMarkerOnlyInTheTextAtCharacterBoundaries) {
  const std::vector<Case> cases = {
      {"a page", "<html><head><title>x</title></head></html>", true},
      {"the marker at the very start", "<head>", true},
      {"capital letters are not the marker", "<HTML><HEAD></HEAD></HTML>", false},
      {"an empty file", "", false},
      {"a marker behind a 0x00", std::string("PK\x03\x04\x14\x00", 6) + "<head>", false},
      {"a marker behind a 0x1A", "text\x1a<head>", false},
      {"'<' as the second byte of a double-byte character", "\x81<head>", false},
      {"a double-byte character just before the marker", "\xb0\xa1<head>", true},
      {"a lead byte followed by 0x00 ends the text", std::string("\x81\x00<head>", 8), false},
      {"a partial marker then the whole one", "<he<head>", true},
      {"a marker broken by a double-byte character",
       "<he\xb0\xa1"
       "ad>",
       false},
  };
  for (const Case& c : cases) {
    for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{4096}}) {
      EXPECT_EQ(c.html, FoundInPieces(c.file, piece)) << c.what << ", pieces of " << piece;
    }
  }
}

TEST(HtmlHeadScanner, DecidesAnArchiveByItsFirstBytes) {
  // A stored ZIP entry holding an HTML page: its "<head>" lies behind the header's 0x00 bytes.
  std::string archive("PK\x03\x04\x0a\x00\x00\x00", 8);
  archive += std::string(200, 'x') + "<html><head></head></html>";
  HtmlHeadScanner scanner;
  EXPECT_TRUE(scanner.Feed({reinterpret_cast<const unsigned char*>(archive.data()), 8}));
  EXPECT_FALSE(scanner.found());
  // Once decided, further bytes change nothing.
  EXPECT_TRUE(
      scanner.Feed({reinterpret_cast<const unsigned char*>(archive.data()), archive.size()}));
  EXPECT_FALSE(scanner.found());
}

}  // namespace
