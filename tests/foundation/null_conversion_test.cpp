#include "foundation/null_conversion.h"

#include <gtest/gtest.h>

TEST(NullConversion, MissingValuesConvertToZeroOrEmpty) {
  EXPECT_EQ(NullToZero(std::nullopt), 0.0);
  EXPECT_EQ(NullToEmptyString(std::nullopt), "");
  EXPECT_EQ(NullToDefault<int>(std::nullopt), 0);
  EXPECT_EQ(NullToZero(2.5), 2.5);
  EXPECT_EQ(NullToEmptyString(std::string("x")), "x");
}
