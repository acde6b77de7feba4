// The percentage arithmetic and the status texts, byte for byte in code page 936.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "progress/percent.h"
#include "progress/status_texts.h"

namespace {

struct PercentCase {
  const char* name;
  std::int64_t done;
  std::int64_t total;
  int expected;
};

class PercentOfTest : public testing::TestWithParam<PercentCase> {};

TEST_P(PercentOfTest, DividesFirstThenMultipliesAndTruncates) {
  const PercentCase& c = GetParam();
  EXPECT_EQ(PercentOf(c.done, c.total), c.expected);
}

constexpr std::int64_t kGiB = std::int64_t{1} << 30;
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Cases, PercentOfTest,
    testing::Values(
        PercentCase{"Nothing", 0, 100, 0},
        // 29 / 100 * 100 is 28.999999999999996 in double precision.
        PercentCase{"DivisionFirstShowsInTheResult", 29, 100, 28},
        PercentCase{"MultiplyingFirstWouldGive29", 58, 200, 28},
        PercentCase{"TruncatesTowardZero", 99999, 100000, 99}, PercentCase{"Exact", 37, 100, 37},
        PercentCase{"Whole", 100, 100, 100}, PercentCase{"OneChunkOfAnEmptyTotal", 10240, 0, 0},
        PercentCase{"NothingOfNothing", 0, 0, 0},
        // Packages of 2 GiB and more, past the width of a 32-bit count.
        PercentCase{"HalfOfFourGiB", 2 * kGiB, 4 * kGiB, 50},
        PercentCase{"PastTwoGiB", 3 * kGiB, 4 * kGiB, 75},
        PercentCase{"ChunkOfFiveGiB", 10240, 5 * kGiB, 0},
        PercentCase{"AllButOneByteOfSixGiB", 6 * kGiB - 1, 6 * kGiB, 99},
        PercentCase{"AllOfSixGiB", 6 * kGiB, 6 * kGiB, 100},
        PercentCase{"NearTheEndOfTheRange", kMax / 2, kMax, 50},
        // Outside the range of a sound count: clamped to 0..100.
        PercentCase{"MoreThanAnnounced", 150, 100, 100},
        PercentCase{"FarMoreThanAnnounced", kMax, 1, 100}, PercentCase{"NegativeDone", -5, 100, 0},
        PercentCase{"NegativeTotal", 5, -100, 0}, PercentCase{"BothNegative", -50, -100, 0},
        PercentCase{"Extremes", kMin, kMax, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PercentTextTest, IsTheDecimalDigitsFollowedByPercent) {
  EXPECT_EQ(PercentText(0), "0%");
  EXPECT_EQ(PercentText(9), "9%");
  EXPECT_EQ(PercentText(37), "37%");
  EXPECT_EQ(PercentText(100), "100%");
}

// The expected bytes are written out, so the test does not rest on the compiler's charset.
TEST(StatusTextsTest, AreCodePage936BytesWithAsciiCommas) {
  EXPECT_EQ(std::string(DownloadingFormat),
            "\xCF\xB5\xCD\xB3\xD5\xFD\xD4\xDA\xCE\xAA\xC4\xFA\xB8\xDF\xCB\xD9\xCF\xC2\xD4\xD8"
            "%s,\xC7\xEB\xC9\xD4\xBA\xF3......");
  EXPECT_EQ(std::string(InstallingFormat),
            "\xCF\xB5\xCD\xB3\xD5\xFD\xD4\xDA\xCE\xAA\xC4\xFA\xB8\xDF\xCB\xD9\xB0\xB2\xD7\xB0"
            "%s,\xC7\xEB\xC9\xD4\xBA\xF3......");
  EXPECT_EQ(
      std::string(ChooseDirMessage),
      "\xC7\xEB\xD1\xA1\xD4\xF1\xB0\xB2\xD7\xB0\xC4\xBF\xC2\xBC\xBD\xF8\xD0\xD0\xB0\xB2\xD7\xB0"
      ",\xBB\xF2\xC4\xAC\xC8\xCF\xB0\xB2\xD7\xB0\xA1\xA3");
}

TEST(StatusLineTest, PutsThePercentageTextInPlaceOfTheTemplatesPlaceholder) {
  EXPECT_EQ(StatusLine(DownloadingFormat, 37),
            "\xCF\xB5\xCD\xB3\xD5\xFD\xD4\xDA\xCE\xAA\xC4\xFA\xB8\xDF\xCB\xD9\xCF\xC2\xD4\xD8"
            "37%,\xC7\xEB\xC9\xD4\xBA\xF3......");
  EXPECT_EQ(StatusLine(InstallingFormat, 100),
            "\xCF\xB5\xCD\xB3\xD5\xFD\xD4\xDA\xCE\xAA\xC4\xFA\xB8\xDF\xCB\xD9\xB0\xB2\xD7\xB0"
            "100%,\xC7\xEB\xC9\xD4\xBA\xF3......");
  EXPECT_EQ(StatusLine(DownloadingFormat, 0), std::string(DownloadingFormat).replace(20, 2, "0%"));
}

}  // namespace
