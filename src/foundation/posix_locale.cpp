#include "foundation/posix_locale.h"

#include <langinfo.h>

#include <string_view>

#include "foundation/posix_date_format.h"

namespace {

constexpr nl_item kAbMonth[12] = {ABMON_1, ABMON_2, ABMON_3, ABMON_4,  ABMON_5,  ABMON_6,
                                  ABMON_7, ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12};
constexpr nl_item kMonth[12] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
constexpr nl_item kAbDay[7] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7};
constexpr nl_item kDay[7] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};

// NegCurrFormat by [symbol precedes][separated by a space][n_sign_posn 0..4].
constexpr uint8_t kNegCurrFormat[2][2][5] = {
    {{4, 5, 7, 6, 7}, {15, 8, 10, 13, 10}},   // symbol after the amount
    {{0, 1, 3, 1, 2}, {14, 9, 11, 9, 12}},    // symbol before the amount
};

// Multi-byte separators that have a one-byte equivalent.
struct TSeparatorMapping {
  std::string_view Utf8;
  char Byte;
};
constexpr TSeparatorMapping kSeparatorMappings[] = {
    {"\xC2\xA0", ' '},      // no-break space
    {"\xE2\x80\xAF", ' '},  // narrow no-break space
    {"\xE2\x80\x89", ' '},  // thin space
    {"\xE2\x80\x99", '\''}, // right single quotation mark
};

char OneByte(std::string_view text, char fallback) {
  if (text.size() == 1) return text[0];
  for (const auto& m : kSeparatorMappings)
    if (text == m.Utf8) return m.Byte;
  return fallback;
}

std::string Langinfo(nl_item item, locale_t locale) {
  const char* s = nl_langinfo_l(item, locale);
  return s ? std::string(s) : std::string();
}

bool Given(int v) { return v != CHAR_MAX; }

}  // namespace

TPosixLocaleInfo CLocaleInfo() {
  TPosixLocaleInfo c;
  c.Radix = ".";
  c.DateFormat = "%m/%d/%y";
  c.TimeFormat = "%H:%M:%S";
  c.TimeFormatAmPm = "%I:%M:%S %p";
  c.DateTimeFormat = "%a %b %e %H:%M:%S %Y";
  c.AmString = "AM";
  c.PmString = "PM";
  c.AbMonth = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  c.Month = {"January", "February", "March",     "April",   "May",      "June",
             "July",    "August",   "September", "October", "November", "December"};
  c.AbDay = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  c.Day = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  return c;
}

TPosixLocaleInfo ReadPosixLocale(locale_t locale) {
  TPosixLocaleInfo info;
  info.Radix = Langinfo(RADIXCHAR, locale);
  info.ThousandsSep = Langinfo(THOUSEP, locale);
  info.DateFormat = Langinfo(D_FMT, locale);
  info.TimeFormat = Langinfo(T_FMT, locale);
  info.TimeFormatAmPm = Langinfo(T_FMT_AMPM, locale);
  info.DateTimeFormat = Langinfo(D_T_FMT, locale);
  info.AmString = Langinfo(AM_STR, locale);
  info.PmString = Langinfo(PM_STR, locale);
  for (int i = 0; i < 12; ++i) {
    info.AbMonth[i] = Langinfo(kAbMonth[i], locale);
    info.Month[i] = Langinfo(kMonth[i], locale);
  }
  for (int i = 0; i < 7; ++i) {
    info.AbDay[i] = Langinfo(kAbDay[i], locale);
    info.Day[i] = Langinfo(kDay[i], locale);
  }
  // localeconv has no _l form: read it with `locale` current on this thread only.
  const locale_t previous = uselocale(locale);
  const lconv* conv = localeconv();
  if (conv) {
    info.CurrencySymbol = conv->currency_symbol ? conv->currency_symbol : "";
    info.FracDigits = static_cast<unsigned char>(conv->frac_digits);
    info.PCsPrecedes = static_cast<unsigned char>(conv->p_cs_precedes);
    info.PSepBySpace = static_cast<unsigned char>(conv->p_sep_by_space);
    info.NCsPrecedes = static_cast<unsigned char>(conv->n_cs_precedes);
    info.NSepBySpace = static_cast<unsigned char>(conv->n_sep_by_space);
    info.NSignPosn = static_cast<unsigned char>(conv->n_sign_posn);
  }
  uselocale(previous);
  return info;
}

TFormatSettings FormatSettingsFromPosix(const TPosixLocaleInfo& info) {
  TFormatSettings s;
  s.DecimalSeparator = OneByte(info.Radix, '.');
  const char otherSeparator = s.DecimalSeparator == '.' ? ',' : '.';
  s.ThousandSeparator = OneByte(info.ThousandsSep, otherSeparator);
  if (s.ThousandSeparator == s.DecimalSeparator) s.ThousandSeparator = otherSeparator;
  s.ListSeparator = s.DecimalSeparator == ',' ? ';' : ',';

  s.CurrencyString = info.CurrencySymbol;
  s.CurrencyDecimals = Given(info.FracDigits) && info.FracDigits <= 20 ? info.FracDigits : 2;
  s.CurrencyFormat = 0;
  if (Given(info.PCsPrecedes) && Given(info.PSepBySpace))
    s.CurrencyFormat = (info.PCsPrecedes ? 0 : 1) + (info.PSepBySpace ? 2 : 0);
  s.NegCurrFormat = 1;
  if (Given(info.NCsPrecedes) && Given(info.NSepBySpace) && info.NSignPosn >= 0 && info.NSignPosn <= 4)
    s.NegCurrFormat = kNegCurrFormat[info.NCsPrecedes ? 1 : 0][info.NSepBySpace ? 1 : 0][info.NSignPosn];

  const TPosixDateFormats f = TranslatePosixDateFormats(info.DateFormat, info.TimeFormat, info.TimeFormatAmPm,
                                                        info.DateTimeFormat);
  s.DateSeparator = f.DateSeparator;
  s.TimeSeparator = f.TimeSeparator;
  s.ShortDateFormat = f.ShortDateFormat;
  s.LongDateFormat = f.LongDateFormat;
  s.ShortTimeFormat = f.ShortTimeFormat;
  s.LongTimeFormat = f.LongTimeFormat;
  s.TimeAMString = info.AmString;
  s.TimePMString = info.PmString;

  s.ShortMonthNames = info.AbMonth;
  s.LongMonthNames = info.Month;
  for (int i = 0; i < 7; ++i) {  // POSIX starts the week on Sunday, the record on Monday
    s.ShortDayNames[i] = info.AbDay[(i + 1) % 7];
    s.LongDayNames[i] = info.Day[(i + 1) % 7];
  }
  s.TwoDigitYearCenturyWindow = 50;
  return s;
}

TFormatSettings UserLocaleFormatSettings() {
  locale_t locale = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return FormatSettingsFromPosix(CLocaleInfo());
  const TFormatSettings settings = FormatSettingsFromPosix(ReadPosixLocale(locale));
  freelocale(locale);
  return settings;
}
