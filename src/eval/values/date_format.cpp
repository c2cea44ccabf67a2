#include "eval/values/date_format.h"

#include <algorithm>
#include <cstdint>

#include "eval/values/date_text.h"

namespace {

// The top format and the formats it names are expanded; deeper ones are not.
constexpr int kMaxFormatLevels = 2;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsLetter(char upper) { return upper >= 'A' && upper <= 'Z'; }

bool StartsWithNoCase(std::string_view text, size_t at, std::string_view word) {
  if (text.size() - at < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (Upper(text[at + k]) != Upper(word[k])) return false;
  return true;
}

bool StartsAmPmMarker(std::string_view format, size_t at) {
  return StartsWithNoCase(format, at, "am/pm") || StartsWithNoCase(format, at, "a/p") ||
         StartsWithNoCase(format, at, "ampm");
}

size_t RunLength(std::string_view format, size_t at) {
  const char letter = Upper(format[at]);
  size_t end = at;
  while (end < format.size() && Upper(format[end]) == letter) ++end;
  return end - at;
}

void AppendNumber(std::string& out, int64_t value, size_t minDigits) {
  const std::string digits = std::to_string(value < 0 ? -value : value);
  if (value < 0) out += '-';
  if (digits.size() < minDigits) out.append(minDigits - digits.size(), '0');
  out += digits;
}

class TDateTimeWriter {
 public:
  TDateTimeWriter(double value, const TFormatSettings& settings, std::string& out)
      : FParts(DecodeJUXDateTime(value)), FSettings(settings), FOut(out) {}

  void Append(std::string_view format, int level);

 private:
  bool HasTimeOfDay() const { return FParts.Hour != 0 || FParts.Minute != 0 || FParts.Second != 0; }
  const std::string& DayName(bool isLong) const {
    const size_t day = static_cast<size_t>(FParts.DayOfWeek - 1);
    return isLong ? FSettings.LongDayNames[day] : FSettings.ShortDayNames[day];
  }
  // Looks ahead from an hour specifier for the am/pm marker that decides the clock.
  void DetectTwelveHourClock(std::string_view format, size_t from);
  void AppendHour(size_t letters);
  void AppendMarker(std::string_view format, size_t& i);

  TJUXDateTimeParts FParts;
  const TFormatSettings& FSettings;
  std::string& FOut;
  bool FTwelveHour = false;  // once set, for the rest of the format text
};

void TDateTimeWriter::DetectTwelveHourClock(std::string_view format, size_t from) {
  bool quoted = false;
  for (size_t k = from; k < format.size(); ++k) {
    const char c = format[k];
    if (c == '\'' || c == '"') {
      quoted = !quoted;
    } else if (Upper(c) == 'H') {
      return;
    } else if (Upper(c) == 'A' && !quoted) {
      if (StartsAmPmMarker(format, k)) FTwelveHour = true;
      return;
    }
  }
}

void TDateTimeWriter::AppendHour(size_t letters) {
  int32_t hour = FParts.Hour;
  if (FTwelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
  AppendNumber(FOut, hour, std::min<size_t>(letters, 2));
}

void TDateTimeWriter::AppendMarker(std::string_view format, size_t& i) {
  const bool afternoon = FParts.Hour >= 12;
  if (StartsWithNoCase(format, i, "am/pm")) {
    FOut.append(format.substr(i + (afternoon ? 3 : 0), 2));
    FTwelveHour = true;
    i += 5;
  } else if (StartsWithNoCase(format, i, "a/p")) {
    FOut += format[i + (afternoon ? 2 : 0)];
    FTwelveHour = true;
    i += 3;
  } else if (StartsWithNoCase(format, i, "ampm")) {
    FOut += afternoon ? FSettings.TimePMString : FSettings.TimeAMString;
    FTwelveHour = true;
    i += 4;
  } else if (StartsWithNoCase(format, i, "aaaa")) {
    FOut += DayName(true);
    i += 4;
  } else if (StartsWithNoCase(format, i, "aaa")) {
    FOut += DayName(false);
    i += 3;
  } else {
    FOut += format[i];
    ++i;
  }
}

void TDateTimeWriter::Append(std::string_view format, int level) {
  if (level >= kMaxFormatLevels) return;
  // The 12-hour clock belongs to one format text: a nested format starts on
  // the 24-hour clock and leaves the outer one's choice as it was.
  const bool outerTwelveHour = FTwelveHour;
  FTwelveHour = false;
  const TJUXDateTimeParts& p = FParts;
  char lastLetter = 0;
  size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    char token = Upper(c);
    if (IsLetter(token)) {
      if (token == 'M' && lastLetter == 'H') token = 'N';
      lastLetter = token;
    }
    const size_t n = IsLetter(token) ? RunLength(format, i) : 1;
    switch (token) {
      case 'C':
        Append(FSettings.ShortDateFormat, level + 1);
        if (HasTimeOfDay()) {
          FOut += ' ';
          Append(FSettings.LongTimeFormat, level + 1);
        }
        break;
      case 'D':
        if (n <= 2) AppendNumber(FOut, p.Day, n);
        else if (n <= 4) FOut += DayName(n == 4);
        else Append(n == 5 ? FSettings.ShortDateFormat : FSettings.LongDateFormat, level + 1);
        break;
      case 'M':
        if (n <= 2) AppendNumber(FOut, p.Month, n);
        else FOut += (n == 3 ? FSettings.ShortMonthNames : FSettings.LongMonthNames)[static_cast<size_t>(p.Month - 1)];
        break;
      case 'Y':
        if (n <= 2) AppendNumber(FOut, ((p.Year % 100) + 100) % 100, 2);
        else AppendNumber(FOut, p.Year, 4);
        break;
      case 'H':
        DetectTwelveHourClock(format, i + n);
        AppendHour(n);
        break;
      case 'N':
        AppendNumber(FOut, p.Minute, std::min<size_t>(n, 2));
        break;
      case 'S':
        AppendNumber(FOut, p.Second, std::min<size_t>(n, 2));
        break;
      case 'Z':
        AppendNumber(FOut, p.MilliSecond, std::min<size_t>(n, 3));
        break;
      case 'T':
        Append(n == 1 ? FSettings.ShortTimeFormat : FSettings.LongTimeFormat, level + 1);
        break;
      case 'A':
        AppendMarker(format, i);
        continue;
      case 'E':
        AppendNumber(FOut, p.Year >= 1 ? p.Year : 1 - p.Year, std::min<size_t>(n, 2));
        break;
      case 'G':
        FOut += p.Year >= 1 ? "A.D." : "B.C.";
        break;
      case '\'':
      case '"': {
        const size_t close = format.find(c, i + 1);
        const size_t end = close == std::string_view::npos ? format.size() : close;
        FOut.append(format.substr(i + 1, end - i - 1));
        i = close == std::string_view::npos ? end : end + 1;
        continue;
      }
      case '/':
        FOut += FSettings.DateSeparator;
        break;
      case ':':
        FOut += FSettings.TimeSeparator;
        break;
      default:
        FOut.append(format.substr(i, n));
        break;
    }
    i += n;
  }
  FTwelveHour = outerTwelveHour;
}

}  // namespace

std::string JUXDateTimeString(std::string_view format, double value, const TFormatSettings& settings) {
  std::string out;
  TDateTimeWriter writer(value, settings, out);
  writer.Append(format.empty() ? std::string_view("c") : format, 0);
  return out;
}
