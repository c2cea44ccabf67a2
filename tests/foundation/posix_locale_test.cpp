#include "foundation/posix_locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "foundation/posix_date_format.h"

TEST(PosixLocale, CLocaleIsReadAsItsKnownData) {
  const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  ASSERT_NE(c, static_cast<locale_t>(0));
  const TFormatSettings read = FormatSettingsFromPosix(ReadPosixLocale(c));
  freelocale(c);
  EXPECT_EQ(read, FormatSettingsFromPosix(CLocaleInfo()));

  EXPECT_EQ(read.DecimalSeparator, '.');
  EXPECT_EQ(read.ThousandSeparator, ',');  // C has none: the other of "." and ","
  EXPECT_EQ(read.ListSeparator, ',');
  EXPECT_EQ(read.ShortDateFormat, "mm/dd/yy");
  EXPECT_EQ(read.LongDateFormat, "ddd mmm d yyyy");
  EXPECT_EQ(read.LongTimeFormat, "hh:mm:ss");
  EXPECT_EQ(read.ShortTimeFormat, "hh:mm");
  EXPECT_EQ(read.TimeAMString, "AM");
  EXPECT_EQ(read.ShortDayNames[0], "Mon");  // the record's week starts on Monday
  EXPECT_EQ(read.LongDayNames[6], "Sunday");
  EXPECT_EQ(read.CurrencyDecimals, 2);
  EXPECT_EQ(read.CurrencyFormat, 0);
  EXPECT_EQ(read.NegCurrFormat, 1);
  EXPECT_EQ(read.TwoDigitYearCenturyWindow, 50);
}

TEST(PosixLocale, BrokenLocaleFallsBackToC) {
  const char* saved = std::getenv("LC_ALL");
  const std::string previous = saved ? saved : "";
  setenv("LC_ALL", "xx_NOWHERE.BROKEN", 1);
  const TFormatSettings user = UserLocaleFormatSettings();
  if (saved) setenv("LC_ALL", previous.c_str(), 1); else unsetenv("LC_ALL");
  EXPECT_EQ(user, FormatSettingsFromPosix(CLocaleInfo()));
}

TEST(PosixLocale, TranslatesDateAndTimePatterns) {
  struct Case {
    const char* Name;
    const char* D, *T, *TAmPm, *DT;
    const char* ShortDate, *LongDate, *ShortTime, *LongTime;
    char DateSep, TimeSep;
  };
  const Case cases[] = {
      {"en_US", "%m/%d/%Y", "%r", "%I:%M:%S %p", "%a %d %b %Y %r %Z",
       "mm/dd/yyyy", "ddd dd mmm yyyy", "hh:mm ampm", "hh:mm:ss ampm", '/', ':'},
      {"de_DE", "%d.%m.%Y", "%T", "", "%a %d %b %Y %T %Z",
       "dd/mm/yyyy", "ddd dd mmm yyyy", "hh:mm", "hh:mm:ss", '.', ':'},
      {"fi_FI (same separator)", "%d.%m.%Y", "%H.%M.%S", "", "%a %e. %Bta %Y %H.%M.%S",
       "dd/mm/yyyy", "ddd d/ mmmm\"ta\" yyyy", "hh:mm", "hh:mm:ss", '.', '.'},
      {"sv_SE (ISO)", "%F", "%H:%M:%S", "", "%a %e %b %Y %H:%M:%S",
       "yyyy/mm/dd", "ddd d mmm yyyy", "hh:mm", "hh:mm:ss", '-', ':'},
      {"hu_HU", "%Y. %m. %d.", "%H:%M:%S", "", "%Y. %b. %e., %A, %H:%M:%S %Z",
       "yyyy/ mm/ dd/", "yyyy/ mmm/ d/, dddd", "hh:mm", "hh:mm:ss", '.', ':'},
      {"ja_JP", "%Y年%m月%d日", "%H時%M分%S秒", "", "%Y年%m月%d日 %H時%M分%S秒",
       "yyyy\"年\"mm\"月\"dd\"日\"", "yyyy\"年\"mm\"月\"dd\"日\"", "hh\"時\"nn\"分\"",
       "hh\"時\"nn\"分\"ss\"秒\"", '/', ':'},
      {"glibc flags, literal letters, unknown fields", "%-d/%-m/%Ey week %V", "%-I h %M", "", "",
       "d/m/yy \"week\" ", "d/m/yy \"week\" ", "h \"h\" nn", "h \"h\" nn", '/', ':'},
      {"self-referring locale data", "%x", "%X", "%r", "%c", "", "", "", "", '/', ':'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const TPosixDateFormats f = TranslatePosixDateFormats(c.D, c.T, c.TAmPm, c.DT);
    EXPECT_EQ(f.ShortDateFormat, c.ShortDate);
    EXPECT_EQ(f.LongDateFormat, c.LongDate);
    EXPECT_EQ(f.ShortTimeFormat, c.ShortTime);
    EXPECT_EQ(f.LongTimeFormat, c.LongTime);
    EXPECT_EQ(f.DateSeparator, c.DateSep);
    EXPECT_EQ(f.TimeSeparator, c.TimeSep);
  }
}

TEST(PosixLocale, SeparatorsAndCurrencyCodes) {
  TPosixLocaleInfo fr = CLocaleInfo();
  fr.Radix = ",";
  fr.ThousandsSep = "\xE2\x80\xAF";  // narrow no-break space
  fr.CurrencySymbol = "\xE2\x82\xAC";
  fr.FracDigits = 2;
  fr.PCsPrecedes = 0;
  fr.PSepBySpace = 1;
  fr.NCsPrecedes = 0;
  fr.NSepBySpace = 1;
  fr.NSignPosn = 1;
  const TFormatSettings f = FormatSettingsFromPosix(fr);
  EXPECT_EQ(f.DecimalSeparator, ',');
  EXPECT_EQ(f.ThousandSeparator, ' ');
  EXPECT_EQ(f.ListSeparator, ';');
  EXPECT_EQ(f.CurrencyString, "\xE2\x82\xAC");
  EXPECT_EQ(f.CurrencyFormat, 3);  // "1 $"
  EXPECT_EQ(f.NegCurrFormat, 8);   // "-1 $"

  TPosixLocaleInfo odd = CLocaleInfo();
  odd.Radix = "\xD9\xAB";  // Arabic decimal separator: no one-byte form
  odd.ThousandsSep = ".";
  odd.PCsPrecedes = 1;
  odd.PSepBySpace = 0;
  odd.NCsPrecedes = 1;
  odd.NSepBySpace = 0;
  odd.NSignPosn = 0;
  const TFormatSettings o = FormatSettingsFromPosix(odd);
  EXPECT_EQ(o.DecimalSeparator, '.');
  EXPECT_EQ(o.ThousandSeparator, ',');  // may not equal the decimal separator
  EXPECT_EQ(o.CurrencyFormat, 0);       // "$1"
  EXPECT_EQ(o.NegCurrFormat, 0);        // "($1)"
}
