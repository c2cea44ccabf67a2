#include "foundation/format_settings.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "foundation/posix_locale.h"

TEST(FormatSettings, FixedRecordHoldsItsValues) {
  const TFormatSettings& f = FixedFormatSettings();
  EXPECT_EQ(f.CurrencyFormat, 2);
  EXPECT_EQ(f.NegCurrFormat, 1);
  EXPECT_EQ(f.ThousandSeparator, '.');
  EXPECT_EQ(f.DecimalSeparator, ',');
  EXPECT_EQ(f.CurrencyDecimals, 2);
  EXPECT_EQ(f.DateSeparator, '/');
  EXPECT_EQ(f.TimeSeparator, ':');
  EXPECT_EQ(f.ListSeparator, ',');
  EXPECT_EQ(f.CurrencyString, "E");
  EXPECT_EQ(f.ShortDateFormat, "dd/mm/yyyy");
  EXPECT_EQ(f.LongDateFormat, "dd/mm/yyyy");
  EXPECT_EQ(f.TimeAMString, "am");
  EXPECT_EQ(f.TimePMString, "pm");
  EXPECT_EQ(f.ShortTimeFormat, "hh:mm");
  EXPECT_EQ(f.LongTimeFormat, "hh:mm:ss");
  EXPECT_EQ(f.ShortMonthNames.front(), "Jan");
  EXPECT_EQ(f.ShortMonthNames.back(), "Dec");
  EXPECT_EQ(f.LongMonthNames[8], "September");
  EXPECT_EQ(f.ShortDayNames.front(), "Mon");
  EXPECT_EQ(f.ShortDayNames.back(), "Sun");
  EXPECT_EQ(f.LongDayNames[2], "Wednesday");
  EXPECT_EQ(f.TwoDigitYearCenturyWindow, 50);
}

TEST(FormatSettings, With24hClockUsesTheRecordsOwnSeparatorAndDropsAmPm) {
  TFormatSettings twelve = FormatSettingsFromPosix(CLocaleInfo());
  twelve.TimeSeparator = '.';
  twelve.LongTimeFormat = "hh:mm:ss ampm";
  const TFormatSettings h24 = With24hClock(twelve);
  EXPECT_EQ(h24.ShortTimeFormat, "hh.mm.ss");
  EXPECT_EQ(h24.LongTimeFormat, "hh.mm.ss");
  EXPECT_EQ(h24.TimeAMString, "");
  EXPECT_EQ(h24.TimePMString, "");
  EXPECT_EQ(h24.ShortDateFormat, twelve.ShortDateFormat);
}

TEST(FormatSettings, UserRecordsAreFilledAndStable) {
  InitializeFormatSettings();
  // Whatever the machine's locale: the 24-hour copy is the user record with
  // its clock changed, and nothing is left empty that every locale has.
  const TFormatSettings& user = UserFormatSettings();
  EXPECT_EQ(UserFormatSettings24h(), With24hClock(user));
  EXPECT_TRUE(UserFormatSettings24h().TimeAMString.empty());
  EXPECT_NE(user.DecimalSeparator, '\0');
  EXPECT_NE(user.DecimalSeparator, user.ThousandSeparator);
  EXPECT_EQ(&UserFormatSettings(), &user);
}

TEST(FormatSettings, ObjectOwnsACopy) {
  TFormatSettings source = FixedFormatSettings();
  TFormatSettingsObj obj(source);
  source.CurrencyString = "changed";
  EXPECT_EQ(obj.FormatSettings, FixedFormatSettings());
}

TEST(FormatSettings, FloatingPointExceptionsStayMasked) {
  InitializeFormatSettings();  // the start-up step reads the locale
  EXPECT_EQ(fegetexcept(), 0);  // no exception traps
  volatile double zero = 0;
  EXPECT_TRUE(std::isinf(1.0 / zero));
  EXPECT_TRUE(std::isnan(zero / zero));
  EXPECT_TRUE(std::isinf(1e308 * (zero + 10)));
}
