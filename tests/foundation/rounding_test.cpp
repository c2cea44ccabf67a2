#include "foundation/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(Rounding, NearestTiesToEvenAndOutOfRange) {
  struct Case { double in; int32_t want; };
  const Case cases[] = {
      {0.5, 0},  {1.5, 2},   {2.5, 2},   {3.5, 4},   {-1.5, -2},  {-2.5, -2},
      {0.49999999999999994, 0},        {2147483647.0, 2147483647}, {-2147483648.0, INT32_MIN},
      {2147483647.6, INT32_MIN},       {-2147483648.6, INT32_MIN}, {1e20, INT32_MIN},
      {std::numeric_limits<double>::infinity(), INT32_MIN},
      {std::numeric_limits<double>::quiet_NaN(), INT32_MIN},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(RoundDouble(c.in), c.want);
  }
  EXPECT_EQ(RoundSingle(127.5f), 128);
  EXPECT_EQ(RoundSingle(126.5f), 126);
  EXPECT_EQ(RoundSingle(1e20f), INT32_MIN);
}
