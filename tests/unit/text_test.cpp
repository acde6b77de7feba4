#include "toolkit/text.h"

#include <gtest/gtest.h>

#include <string>

// Code page 936 characters whose trail byte is an ASCII byte, written as bytes so that the test
// does not depend on the compiler's execution character set.
#define ZHUAN "\x81\x40" /* 丂: trail byte '@' */
#define SHANG "\x81\x41" /* 丄: trail byte 'A' */
#define YI "\x81\x61"    /* 乤: trail byte 'a' */
#define A "\xB0\xA1"     /* 啊 */

namespace {

struct FindCase {
  const char* name;
  std::string haystack;
  std::string needle;
  int from;
  bool ignoreCase;
  int expected;
};

class FindTest : public testing::TestWithParam<FindCase> {};

TEST_P(FindTest, GivesPositionOfFirstOccurrenceOnACharacterBoundary) {
  const FindCase& c = GetParam();
  EXPECT_EQ(text::Find(c.haystack, c.needle, c.from, c.ignoreCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTest,
    testing::Values(FindCase{"AtStart", "abcabc", "abc", 1, false, 1},
                    FindCase{"AtEnd", "xxabc", "abc", 1, false, 3},
                    FindCase{"WholeText", "abc", "abc", 1, false, 1},
                    FindCase{"NeedleLongerThanText", "ab", "abc", 1, false, -1},
                    FindCase{"NotFound", "abcabc", "abd", 1, false, -1},
                    FindCase{"EmptyHaystack", "", "a", 1, false, -1},
                    FindCase{"EmptyNeedleIsNeverFound", "abc", "", 1, false, -1},
                    FindCase{"FromSkipsEarlierOccurrence", "abcabc", "abc", 2, false, 4},
                    FindCase{"FromOnTheOccurrence", "abcabc", "abc", 4, false, 4},
                    FindCase{"FromPastLastOccurrence", "abcabc", "abc", 5, false, -1},
                    FindCase{"FromOnLastByte", "abc", "c", 3, false, 3},
                    FindCase{"FromPastEnd", "abc", "c", 4, false, -1},
                    FindCase{"FromFarPastEnd", "abc", "c", 1000000, false, -1},
                    FindCase{"FromZeroCountsAsOne", "abc", "a", 0, false, 1},
                    FindCase{"FromNegativeCountsAsOne", "abc", "a", -5, false, 1},
                    FindCase{"CaseMattersByDefault", "ABC", "abc", 1, false, -1},
                    FindCase{"IgnoreCaseFoldsAsciiLetters", "xABc", "abC", 1, true, 2},
                    FindCase{"IgnoreCaseFoldsNothingElse", "x[", "{", 1, true, -1},
                    FindCase{"IgnoreCaseWithFrom", "abcABC", "abc", 2, true, 4},
                    FindCase{"TrailByteAtIsNotAMatch", "x" ZHUAN "#", "@#", 1, false, -1},
                    FindCase{"MatchBehindTrailByteAt", ZHUAN "@#", "@#", 1, false, 3},
                    FindCase{"TrailByteAIsNotAMatch", SHANG, "A", 1, false, -1},
                    FindCase{"TrailByteAIsNotFoldedIntoA", SHANG "a", "A", 1, true, 3},
                    FindCase{"TrailBytesCompareExactly", SHANG, YI, 1, true, -1},
                    FindCase{"DoubleByteNeedle", "x" A ZHUAN, ZHUAN, 1, false, 4},
                    FindCase{"DoubleByteNeedleIgnoringCase", "x" A SHANG "b", SHANG "B", 1, true,
                             4},
                    // 0xB0 0xB0 0xA1: the character B0B0 comes first, so the A1 that follows it is
                    // not the trail byte of a character B0A1.
                    FindCase{"BoundariesWalkedFromTheStart", "\xB0\xB0\xA1", A, 1, false, -1},
                    FindCase{"FromOnTrailByteMovesToNextCharacter", A "@@", "@", 2, false, 3},
                    // Without walking from the start, position 2 would look like the start of B0A1.
                    FindCase{"FromOnTrailByteIsNotABoundary", "\xB0\xB0\xA1x", A, 2, false, -1},
                    FindCase{"LoneLeadByteAtEnd", "ab\xB0", "\xB0", 1, false, 3},
                    FindCase{"LeadByteSwallowsNextAsciiByte", "a\xB0#b#", "#", 1, false, 5}),
    [](const testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

TEST(FindTest, ManyCandidatesOnTrailBytes) {
  // Every '@' but the last is a trail byte; the walk over the boundaries must keep up with the
  // candidates and still find the one real occurrence.
  std::string haystack;
  for (int i = 0; i < 10000; ++i) {
    haystack += ZHUAN;
  }
  EXPECT_EQ(text::Find(haystack, "@"), -1);
  haystack += "@";
  EXPECT_EQ(text::Find(haystack, "@"), 20001);
  EXPECT_EQ(text::Find(haystack, "@", 1, true), 20001);
}

// The delivered identifier field and variants of it.
const std::string kStart = "#@#@#@#@#@#@#@#@#@#@#@##";
const std::string kEnd = "#$%$%$%$%$%$%$%$%$%$%$%#";

std::string Field(const std::string& between) {
  std::string field = kStart + between + kEnd;
  field.resize(246, ' ');
  return field;
}

struct BetweenCase {
  const char* name;
  std::string source;
  std::string startMarker;
  std::string endMarker;
  bool ignoreCase;
  std::string expected;
};

class TextBetweenTest : public testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetweenTest, ExtractsBetweenTheMarkers) {
  const BetweenCase& c = GetParam();
  EXPECT_EQ(text::TextBetween(c.source, c.startMarker, c.endMarker, c.ignoreCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    testing::Values(
        BetweenCase{"DeliveredField", Field("1099"), kStart, kEnd, false, "1099"},
        BetweenCase{"MarkersBackToBack", Field(""), kStart, kEnd, false, ""},
        BetweenCase{"LeadingSpaceKept", Field(" 1099"), kStart, kEnd, false, " 1099"},
        BetweenCase{"FirstOfTwoEndMarkersEnds", Field("ab" + kEnd + "cd"), kStart, kEnd, false,
                    "ab"},
        BetweenCase{"LongestIdentifier", Field(std::string(198, 'x')), kStart, kEnd, false,
                    std::string(198, 'x')},
        BetweenCase{"OverwrittenEndMarker",
                    kStart + "1099" + "#$%$%$%$%$%$%$%$%$%$%$%x" + std::string(194, ' '), kStart,
                    kEnd, false, ""},
        BetweenCase{"NoStartMarker", "1099" + kEnd, kStart, kEnd, false, ""},
        BetweenCase{"EndMarkerOnlyBeforeStart", kEnd + kStart + "1099", kStart, kEnd, false, ""},
        BetweenCase{"EmptyStartMarker", "1099" + kEnd + "  ", "", kEnd, false, "1099"},
        BetweenCase{"EmptyEndMarker", kStart + "1099  ", kStart, "", false, "1099  "},
        BetweenCase{"BothMarkersEmpty", "a b c", "", "", false, "a b c"},
        BetweenCase{"EmptySource", "", "", "", false, ""},
        BetweenCase{"EndSearchedBehindStart", "]x[1099]", "[", "]", false, "1099"},
        BetweenCase{"OverlappingMarkers", "<<a<", "<<", "<", false, "a"},
        BetweenCase{"CaseMatters", "<B>x</B>", "<b>", "</b>", false, ""},
        BetweenCase{"IgnoreCase", "<B>x</B>", "<b>", "</b>", true, "x"},
        BetweenCase{"ChineseIdentifier", Field(A ZHUAN), kStart, kEnd, false, A ZHUAN},
        // A lead byte right in front of the end marker takes its '#' as trail byte: no end
        // marker begins there, and the one at the end of the field is the only other '#'.
        BetweenCase{"LeadByteSwallowsEndMarker", Field("1099\xB0"), kStart, kEnd, false, ""},
        // The trail byte '@' of 丂 followed by "abc@" is not the marker "@abc@".
        BetweenCase{"TrailByteIsNotAStartMarker", "x" ZHUAN "abc@id]", "@abc@", "]", false, ""},
        BetweenCase{"TrailByteIsNotAnEndMarker", "[" ZHUAN "]@]", "[", "@]", false, ZHUAN "]"}),
    [](const testing::TestParamInfo<BetweenCase>& info) { return std::string(info.param.name); });

TEST(TrimTest, RemovesAsciiAndIdeographicSpacesAtBothEnds) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {"", ""},
      {"   ", ""},
      {"abc", "abc"},
      {"  a b  ", "a b"},
      {"\xA1\xA1 a\xA1\xA1 b \xA1\xA1\xA1\xA1", "a\xA1\xA1 b"},
      {"\t a \n", "\t a \n"},
      {"\xA1\xA1", ""},
      // The last two bytes are A1 A1, but the first A1 is the trail byte of B0A1 (啊).
      {"x\xB0\xA1\xA1", "x\xB0\xA1\xA1"},
      {A "\xA1\xA1", A},
      // A lead byte takes the space behind it as its trail byte.
      {"a\xB0 ", "a\xB0 "},
      {" " A "\xA1\xA1", A},
      {"a\xA1", "a\xA1"},
      {"a \xB0", "a \xB0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text::Trim(c.in), c.out) << "input: " << c.in;
  }
}

TEST(SliceTest, LeftRightMiddleClampToTheText) {
  const std::string s = "abcdef";
  EXPECT_EQ(text::Left(s, 2), "ab");
  EXPECT_EQ(text::Left(s, 6), "abcdef");
  EXPECT_EQ(text::Left(s, 7), "abcdef");
  EXPECT_EQ(text::Left(s, 0), "");
  EXPECT_EQ(text::Left(s, -1), "");
  EXPECT_EQ(text::Left("", 3), "");

  EXPECT_EQ(text::Right(s, 2), "ef");
  EXPECT_EQ(text::Right(s, 6), "abcdef");
  EXPECT_EQ(text::Right(s, 100), "abcdef");
  EXPECT_EQ(text::Right(s, 0), "");
  EXPECT_EQ(text::Right(s, -3), "");
  EXPECT_EQ(text::Right("", 3), "");

  EXPECT_EQ(text::Middle(s, 2, 3), "bcd");
  EXPECT_EQ(text::Middle(s, 1, 6), "abcdef");
  EXPECT_EQ(text::Middle(s, 5, 10), "ef");
  EXPECT_EQ(text::Middle(s, 6, 1), "f");
  EXPECT_EQ(text::Middle(s, 7, 1), "");
  EXPECT_EQ(text::Middle(s, 1000, 1), "");
  EXPECT_EQ(text::Middle(s, 0, 2), "ab");
  EXPECT_EQ(text::Middle(s, -4, 2), "ab");
  EXPECT_EQ(text::Middle(s, 2, 0), "");
  EXPECT_EQ(text::Middle(s, 2, -1), "");
  EXPECT_EQ(text::Middle(s, 2, 2147483647), "bcdef");
  EXPECT_EQ(text::Middle(s, -2147483647 - 1, 2147483647), "abcdef");
}

TEST(FormatTest, FormatsLikePrintf) {
  EXPECT_EQ(text::Format("%s%d%%", "x", 42), "x42%");
  EXPECT_EQ(text::Format("%5.1f|%-3s|%03d", 2.5, "a", 7), "  2.5|a  |007");
  EXPECT_EQ(text::Format("%s", ""), "");
  EXPECT_EQ(text::Format("%s", A), A);
}

TEST(FormatTest, OutputOfAnyLength) {
  const std::string part(5000, 'y');
  const std::string result = text::Format("[%s|%s]%d", part.c_str(), part.c_str(), 7);
  EXPECT_EQ(result, "[" + part + "|" + part + "]7");
}

TEST(NumberToTextTest, Decimal) {
  EXPECT_EQ(text::NumberToText(0), "0");
  EXPECT_EQ(text::NumberToText(1099), "1099");
  EXPECT_EQ(text::NumberToText(-42), "-42");
  EXPECT_EQ(text::NumberToText(9223372036854775807LL), "9223372036854775807");
  EXPECT_EQ(text::NumberToText(-9223372036854775807LL - 1), "-9223372036854775808");
}

}  // namespace
