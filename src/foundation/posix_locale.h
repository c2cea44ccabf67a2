#pragma once
// What the POSIX locale functions give about a locale, and the records built
// from it. Reading (ReadPosixLocale) is kept apart from the translation
// (FormatSettingsFromPosix) so that tests can feed the translation any
// locale's data without the locale being installed.

#include <array>
#include <climits>
#include <locale.h>
#include <string>

#include "foundation/format_settings.h"

struct TPosixLocaleInfo {
  std::string Radix;           // nl_langinfo RADIXCHAR
  std::string ThousandsSep;    // THOUSEP
  std::string DateFormat;      // D_FMT, a strftime pattern such as "%m/%d/%y"
  std::string TimeFormat;      // T_FMT
  std::string TimeFormatAmPm;  // T_FMT_AMPM, what "%r" stands for
  std::string DateTimeFormat;  // D_T_FMT, what "%c" stands for
  std::string AmString, PmString;
  std::array<std::string, 12> AbMonth, Month;  // January first
  std::array<std::string, 7> AbDay, Day;       // Sunday first, as POSIX orders them
  // localeconv monetary fields; CHAR_MAX means "not given".
  std::string CurrencySymbol;
  int FracDigits = CHAR_MAX;
  int PCsPrecedes = CHAR_MAX, PSepBySpace = CHAR_MAX;
  int NCsPrecedes = CHAR_MAX, NSepBySpace = CHAR_MAX, NSignPosn = CHAR_MAX;
};

// The data of the C locale, as glibc gives it.
TPosixLocaleInfo CLocaleInfo();

// Reads nl_langinfo_l and localeconv (the latter under uselocale) of `locale`.
TPosixLocaleInfo ReadPosixLocale(locale_t locale);

// The record for a locale's data. Fields POSIX does not give get fixed
// defaults: TwoDigitYearCenturyWindow 50; ListSeparator ";" when the decimal
// separator is "," and "," otherwise; CurrencyDecimals 2, CurrencyFormat 0
// ("$1") and NegCurrFormat 1 ("-$1") when localeconv leaves them unset.
// Separators that are not one byte are mapped (no-break and thin spaces to
// " ", U+2019 to "'") or replaced by a default ("." for the decimal
// separator, "," or "." for the thousands separator, whichever differs from
// the decimal one).
TFormatSettings FormatSettingsFromPosix(const TPosixLocaleInfo& info);

// The record of the user's default locale (newlocale(LC_ALL_MASK, "", 0));
// an unset or broken locale gives the C locale's record.
TFormatSettings UserLocaleFormatSettings();
