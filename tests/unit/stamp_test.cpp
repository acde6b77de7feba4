#include "stubtool/stamp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "download/package_id_layout.h"
#include "stubtool/identifier_rules.h"

namespace {

using stubtool::FindIdFields;
using stubtool::IdentifierProblem;
using stubtool::StampIdentifier;

const std::string kStart = "#@#@#@#@#@#@#@#@#@#@#@##";
const std::string kEnd = "#$%$%$%$%$%$%$%$%$%$%$%#";
const std::string kDeliveredField = kStart + "1099" + kEnd + std::string(194, ' ') + '\0';

std::vector<unsigned char> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

// A stand-in for a program file: code and data around the field, among them the two markers as
// the constants that the stub searches with, each ended by its NUL.
struct Image {
  std::string before, after;
  std::string Build(const std::string& field) const { return before + field + after; }
};

Image StubLike() {
  Image image;
  for (int i = 0; i < 3000; ++i) {
    image.before += static_cast<char>(i * 7 % 256);
  }
  image.before += kStart + '\0' + kEnd + '\0' + "1099";
  image.after = std::string("\0\0\0", 3) + kStart + '\0';
  for (int i = 0; i < 500; ++i) {
    image.after += static_cast<char>(i * 13 % 256);
  }
  return image;
}

TEST(FindIdFieldsTest, FindsTheDeliveredFieldOnly) {
  const Image image = StubLike();
  const auto fields = FindIdFields(Bytes(image.Build(kDeliveredField)));
  ASSERT_EQ(fields.size(), 1u);
  EXPECT_EQ(fields[0].offset, image.before.size());
  EXPECT_EQ(fields[0].id, "1099");
}

TEST(FindIdFieldsTest, RunsThatAreNotLaidOutAsTheFieldAreNoFields) {
  const std::string ok = kStart + "1099" + kEnd + std::string(194, ' ');
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"end marker overwritten",
       kStart + "1099" + "#$%$%$%$%$%$%$%$%$%$%$%x" + std::string(194, ' ') + '\0'},
      {"no NUL behind the field", ok + 'x'},
      {"cut off before its NUL", ok},
      {"cut off in the filler", ok.substr(0, 100)},
      {"filler that is not spaces", kStart + "1099" + kEnd + std::string(193, ' ') + "x" + '\0'},
      {"NUL inside the field",
       kStart + "1099" + kEnd + std::string(100, ' ') + '\0' + std::string(93, ' ') + '\0'},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(FindIdFields(Bytes(c.bytes)).empty()) << c.name;
    EXPECT_TRUE(FindIdFields(Bytes("xyz" + c.bytes)).empty()) << c.name;
  }
}

TEST(FindIdFieldsTest, EmptyAndLongestIdentifiers) {
  const std::string empty = kStart + kEnd + std::string(198, ' ') + '\0';
  const std::string longest = kStart + std::string(198, 'z') + kEnd + '\0';
  auto fields = FindIdFields(Bytes("ab" + empty + "cd" + longest));
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_EQ(fields[0].offset, 2u);
  EXPECT_EQ(fields[0].id, "");
  EXPECT_EQ(fields[1].offset, 2u + 247u + 2u);
  EXPECT_EQ(fields[1].id, std::string(198, 'z'));
}

class StampTest : public testing::TestWithParam<std::string> {};

TEST_P(StampTest, RewritesTheFieldAndNothingElse) {
  const std::string& id = GetParam();
  const Image image = StubLike();
  const std::string original = image.Build(kDeliveredField);
  const stubtool::Stamped stamped = StampIdentifier(Bytes(original), id);
  ASSERT_EQ(stamped.problem, "");
  const std::string result(stamped.image.begin(), stamped.image.end());
  ASSERT_EQ(result.size(), original.size());

  const size_t at = image.before.size();
  EXPECT_EQ(result.substr(0, at), image.before);
  EXPECT_EQ(result.substr(at + 247), image.after);
  const std::string field = result.substr(at, 247);
  EXPECT_EQ(field.substr(0, 24), kStart);
  EXPECT_EQ(field.substr(24, id.size()), id);
  EXPECT_EQ(field.substr(24 + id.size(), 24), kEnd);
  EXPECT_EQ(field.substr(48 + id.size(), 198 - id.size()), std::string(198 - id.size(), ' '));
  EXPECT_EQ(field[246], '\0');

  EXPECT_EQ(IdInField(field.substr(0, 246)), id);
  const auto fields = FindIdFields(stamped.image);
  ASSERT_EQ(fields.size(), 1u);
  EXPECT_EQ(fields[0].offset, at);
  EXPECT_EQ(fields[0].id, id);

  // A stamped stub can be stamped again, back to the delivered identifier.
  const stubtool::Stamped back = StampIdentifier(stamped.image, "1099");
  EXPECT_EQ(std::string(back.image.begin(), back.image.end()), original);
}

INSTANTIATE_TEST_SUITE_P(
    Identifiers, StampTest,
    testing::Values("x", "1099", "12345", "\xB2\xE2\xCA\xD4\xB0\xFC" /* 测试包 */,
                    "\x81\x40" /* 丂, trail byte '@' */, "\x81\x5C\x81\x7C" /* trail bytes \ | */,
                    " leading space", "a b", "100%", "%s%n", "a@b$c%d", "x.y", ".hidden", "CONSOLE",
                    "COM10", "LPT", "\xA1\xA1" /* ideographic space */, std::string(198, 'q'),
                    std::string(196, 'q') + "\xB0\xA1"));

TEST(StampRefusalTest, RefusesIdentifiersThatDoNotStandAsOneFolderAndOneUrlSegment) {
  const struct {
    std::string id;
    const char* why;  // a word the message must hold
  } cases[] = {
      {"", "empty"},
      {std::string(199, 'q'), "199 bytes"},
      {std::string(197, 'q') + "\xB0\xA1", "199 bytes"},
      {"\x80", "0x80"},
      {"a\xFF\x41", "0xFF"},
      {"a\xB0", "middle of a character"},
      {"\x81\x20x", "0x81 0x20"},
      {"\x81\x7F", "0x81 0x7F"},
      {"\x81\xFF", "0x81 0xFF"},
      {"1099" + kEnd, "end marker"},
      {"a" + kEnd + "b", "end marker"},
      {"a\\b", "separator"},
      {"a/b", "separator"},
      {"c:", "':'"},
      {"a<b", "'<'"},
      {"a>b", "'>'"},
      {"a\"b", "'\"'"},
      {"a|b", "'|'"},
      {"a?b", "'?'"},
      {"a*b", "'*'"},
      {"a#b", "'#'"},
      {"#@#", "'#'"},
      {kStart, "'#'"},
      {"#$%", "'#'"},
      {std::string("a\0b", 3), "0x00"},
      {"a\tb", "0x09"},
      {"a\nb", "0x0A"},
      {"\x1F", "0x1F"},
      {"a\x7F", "0x7F"},
      {"..", "\"..\""},
      {"a..b", "\"..\""},
      {".", "dot"},
      {"a.", "dot"},
      {"a ", "space"},
      {" ", "space"},
      {"CON", "device"},
      {"con", "device"},
      {"Prn", "device"},
      {"AUX.txt", "device"},
      {"nul.tar.gz", "device"},
      {"CON .zip", "device"},
      {"COM1", "device"},
      {"com9.x", "device"},
      {"LPT0", "device"},
      {"lpt5", "device"},
      {"CONIN$", "device"},
      {"conout$.log", "device"},
  };
  const std::string original = StubLike().Build(kDeliveredField);
  for (const auto& c : cases) {
    const std::string problem = IdentifierProblem(c.id);
    EXPECT_NE(problem.find(c.why), std::string::npos) << "id: " << c.id << "; problem: " << problem;
    const stubtool::Stamped stamped = StampIdentifier(Bytes(original), c.id);
    EXPECT_EQ(stamped.problem, problem);
    EXPECT_TRUE(stamped.image.empty());
  }
}

TEST(StampRefusalTest, RefusesFilesWithoutExactlyOneField) {
  const Image image = StubLike();
  const struct {
    const char* name;
    std::string file;
    const char* why;
  } cases[] = {
      {"no field", image.before + image.after, "no package identifier field"},
      {"empty file", "", "no package identifier field"},
      {"overwritten end marker",
       image.Build(kStart + "1099" + "#$%$%$%$%$%$%$%$%$%$%$%?" + std::string(194, ' ') + '\0'),
       "no package identifier field"},
      {"two fields", image.Build(kDeliveredField + kDeliveredField), "2 times"},
      {"three fields", image.Build(kDeliveredField) + kDeliveredField + "x" + kDeliveredField,
       "3 times"},
  };
  for (const auto& c : cases) {
    const stubtool::Stamped stamped = StampIdentifier(Bytes(c.file), "abc");
    EXPECT_NE(stamped.problem.find(c.why), std::string::npos)
        << c.name << "; problem: " << stamped.problem;
    EXPECT_TRUE(stamped.image.empty()) << c.name;
  }
}

}  // namespace
