#include "download/package_id.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

TEST(PackageIdTest, DeliveredFieldIsLaidOutByteForByte) {
  const std::string_view field(PackageIdField, sizeof PackageIdField);
  ASSERT_EQ(field.size(), 247u);
  EXPECT_EQ(field.substr(0, 24), "#@#@#@#@#@#@#@#@#@#@#@##");
  EXPECT_EQ(field.substr(24, 4), "1099");
  EXPECT_EQ(field.substr(28, 24), "#$%$%$%$%$%$%$%$%$%$%$%#");
  EXPECT_EQ(field.substr(52, 194), std::string(194, ' '));
  EXPECT_EQ(field[246], '\0');
  EXPECT_EQ(field.substr(0, 246), IdFieldFor("1099"));
}

TEST(PackageIdTest, MarkersAreTheFieldsOwn) {
  EXPECT_EQ(IdStartMarker, std::string_view(PackageIdField, 24));
  EXPECT_EQ(IdEndMarker, std::string_view(PackageIdField + 28, 24));
  // The search keys are constants of their own, not views into the field that stamping rewrites.
  EXPECT_NE(IdStartMarker.data(), PackageIdField);
}

TEST(PackageIdTest, ReadsDeliveredIdentifier) {
  EXPECT_EQ(ReadPackageId(), "1099");
}

}  // namespace
