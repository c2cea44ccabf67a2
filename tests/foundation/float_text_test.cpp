#include "foundation/float_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

TEST(FloatText, WritesTheShortestGeneralForm) {
  struct Case { double In; const char* Want; };
  const Case cases[] = {
      {0.75, "0,75"}, {2.2, "2,2"}, {100, "100"}, {1234.5, "1234,5"}, {-0.5, "-0,5"},
      {0, "0"}, {1e-5, "1E-5"}, {0.0001, "0,0001"}, {0.00012345, "0,00012345"}, {1e20, "1E20"},
      {-1.5e-7, "-1,5E-7"}, {123456789012345.0, "123456789012345"}, {1e15, "1E15"},
      {999999999999999.9, "1E15"},  // rounds up to 16 integer digits
      {0.1 + 0.2, "0,3"},           // 15 significant digits hide the binary error
      {1.0 / 3, "0,333333333333333"}, {2.5e-308, "2,5E-308"},
      {std::numeric_limits<double>::infinity(), "INF"}, {std::nan(""), "NAN"},
      // The largest doubles round down: 1,79769313486232E308 is past the range
      // and would not read back (found by fuzzing typed numbers).
      {std::numeric_limits<double>::max(), "1,79769313486231E308"},
      {-std::numeric_limits<double>::max(), "-1,79769313486231E308"},
      {1.797693134862315e308, "1,79769313486231E308"}, {1.79769313486231e308, "1,79769313486231E308"},
      {1.7976931348623e308, "1,7976931348623E308"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Want);
    EXPECT_EQ(FloatToText(c.In, FixedFormatSettings()), c.Want);
  }
  TFormatSettings point = FixedFormatSettings();
  point.DecimalSeparator = '.';
  EXPECT_EQ(FloatToText(1234.5, point), "1234.5");
}

TEST(FloatText, ReadsOnlyTheNumberGrammar) {
  struct Case { const char* In; std::optional<double> Want; };
  const Case cases[] = {
      {"0,75", 0.75}, {"  2,50 ", 2.5}, {"1e5", 1e5}, {"1E-5", 1e-5}, {"-3", -3.0}, {"+4,", 4.0},
      {",5", 0.5}, {"1,5E+2", 150.0}, {"\t7\n", 7.0}, {"0000,1", 0.1}, {"1E-400", 0.0},
      {"0,75.", std::nullopt}, {"0.75", std::nullopt}, {"1.234,5", std::nullopt}, {"", std::nullopt},
      {"  ", std::nullopt}, {",", std::nullopt}, {"1E", std::nullopt}, {"1E+", std::nullopt},
      {"2,5x", std::nullopt}, {"--1", std::nullopt}, {"1 2", std::nullopt}, {"1E400", std::nullopt},
      {"INF", std::nullopt}, {"NAN", std::nullopt}, {"0x10", std::nullopt}, {"1e99999999999999999", std::nullopt},
      // Only the four whitespace characters are blanks here; the evaluator's
      // reading of the same grammar also trims the other control characters.
      {"\v7", std::nullopt}, {"7\x01", std::nullopt}, {"\f7", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.In);
    EXPECT_EQ(TextToFloat(c.In, FixedFormatSettings()), c.Want);
  }
}

// The exponent and the number of leading zeros together decide between
// overflow and underflow, however long the text.
TEST(FloatText, LongTextsOverflowOrUnderflowByTheirLeadingDigit) {
  const std::string zeros(500000, '0');
  EXPECT_EQ(TextToFloat("0," + zeros + "1E1000000", FixedFormatSettings()), std::nullopt);  // 10^499999
  EXPECT_EQ(TextToFloat("0," + zeros + "1E499700", FixedFormatSettings()), 1e-301);
  EXPECT_EQ(TextToFloat("-0," + zeros + "1E400000", FixedFormatSettings()), -0.0);
  EXPECT_EQ(TextToFloat("1" + zeros + "E-1000000", FixedFormatSettings()), 0.0);
  EXPECT_EQ(TextToFloat("1" + zeros + "E-499700", FixedFormatSettings()), 1e300);
}

TEST(FloatText, RoundTripsFifteenDigits) {
  for (const double v : {0.75, 2.2, -1e-5, 6.02214076e23, 123.456789012345, 1e-300,
                         std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()}) {
    SCOPED_TRACE(v);
    const auto back = TextToFloat(FloatToText(v, FixedFormatSettings()), FixedFormatSettings());
    ASSERT_TRUE(back);
    EXPECT_NEAR(*back, v, std::fabs(v) * 1e-14);
  }
}

TEST(FloatText, ReadsPlainInt32) {
  struct Case { const char* In; std::optional<int32_t> Want; };
  const Case cases[] = {
      {"0", 0}, {"-16777216", -16777216}, {" 42 ", 42}, {"+7", 7}, {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN}, {"2147483648", std::nullopt}, {"1,0", std::nullopt}, {"", std::nullopt},
      {"+-1", std::nullopt}, {"12a", std::nullopt}, {"$FF", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.In);
    EXPECT_EQ(TextToInt32(c.In), c.Want);
  }
  EXPECT_EQ(Int32ToText(-1), "-1");
}
