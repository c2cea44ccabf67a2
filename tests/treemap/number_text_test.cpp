#include "treemap/number_text.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "foundation/assertion.h"
#include "foundation/format_settings.h"

namespace {

TFormatSettings WithSeparator(char separator) {
  TFormatSettings settings;
  settings.DecimalSeparator = separator;
  settings.ThousandSeparator = separator == ',' ? '.' : ',';
  return settings;
}

TEST(FloatToStrTrimmed, Cases) {
  const struct {
    double Value;
    int Min, Max;
    const char* Dot;
    const char* Comma;
  } kCases[] = {
      {2.5, 0, 6, "2.5", "2,5"},
      {100, 0, 6, "100", "100"},
      {1.5, 2, 6, "1.50", "1,50"},
      {0.1234567, 0, 6, "0.123457", "0,123457"},
      {1, 0, 25, "1", "1"},  // 18 decimals at most, then trimmed
      {2, 0, 0, "2", "2"},
      // Exact ties round away from zero; 9.995 lies just below its tie.
      {2.5, 0, 0, "3", "3"},
      {-0.5, 0, 0, "-1", "-1"},
      {99.5, 0, 0, "100", "100"},
      {-3.25, 1, 1, "-3.3", "-3,3"},
      {0.125, 0, 2, "0.13", "0,13"},
      {0.0078125, 0, 6, "0.007813", "0,007813"},
      {9.995, 0, 2, "9.99", "9,99"},
      {-0.0000001, 0, 6, "0", "0"},  // no "-0"
      {-0.0, 2, 6, "0.00", "0,00"},
      {1234567.125, 0, 2, "1234567.13", "1234567,13"},
      {0.1, 0, 18, "0.100000000000000006", "0,100000000000000006"},
      {1e20, 0, 6, "100000000000000000000", "100000000000000000000"},
      {std::numeric_limits<double>::max(), 0, 18, nullptr, nullptr},
      {std::nan(""), 0, 6, "NAN", "NAN"},
      {-INFINITY, 0, 6, "-INF", "-INF"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Value);
    const std::string dot = FloatToStrTrimmed(c.Value, c.Min, c.Max, WithSeparator('.'));
    const std::string comma = FloatToStrTrimmed(c.Value, c.Min, c.Max, WithSeparator(','));
    if (!c.Dot) {
      EXPECT_EQ(dot.size(), 309u);  // every integer digit of the largest double
      continue;
    }
    EXPECT_EQ(dot, c.Dot);
    EXPECT_EQ(comma, c.Comma);
  }
}

TEST(FloatToStrTrimmed, DefaultFormUsesTheUserLocale) {
  const char separator = UserFormatSettings().DecimalSeparator;
  EXPECT_EQ(FloatToStrTrimmed(0, 6, 2.5), std::string("2") + separator + "5");
  EXPECT_EQ(FloatToStrTrimmed(0, 6, 2.0), "2");
}

TEST(FloatToStrTrimmed, BadDecimalCountsFail) {
  EXPECT_THROW(FloatToStrTrimmed(1.0, -1, 6, WithSeparator('.')), EAssertionFailed);
  EXPECT_THROW(FloatToStrTrimmed(1.0, 3, 2, WithSeparator('.')), EAssertionFailed);
  EXPECT_THROW(FloatToStrTrimmed(3, 2, 1.0), EAssertionFailed);
}

}  // namespace
