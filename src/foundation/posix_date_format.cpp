#include "foundation/posix_date_format.h"

#include <vector>

namespace {

enum class TKind { Date, Hour, Minute, Second, AmPm, Literal, Dropped };

struct TToken {
  TKind Kind;
  std::string Text;  // the format letters, or the literal characters
};

struct TConversion {
  char Letter;
  TKind Kind;
  const char* Padded;    // the plain conversion
  const char* Unpadded;  // with the "-" flag
};

constexpr TConversion kConversions[] = {
    {'d', TKind::Date, "dd", "d"},     {'e', TKind::Date, "d", "d"},
    {'m', TKind::Date, "mm", "m"},     {'y', TKind::Date, "yy", "yy"},
    {'Y', TKind::Date, "yyyy", "yyyy"}, {'b', TKind::Date, "mmm", "mmm"},
    {'h', TKind::Date, "mmm", "mmm"},  {'B', TKind::Date, "mmmm", "mmmm"},
    {'a', TKind::Date, "ddd", "ddd"},  {'A', TKind::Date, "dddd", "dddd"},
    {'H', TKind::Hour, "hh", "h"},     {'I', TKind::Hour, "hh", "h"},
    {'k', TKind::Hour, "h", "h"},      {'l', TKind::Hour, "h", "h"},
    {'M', TKind::Minute, "mm", "m"},   {'S', TKind::Second, "ss", "s"},
    {'p', TKind::AmPm, "ampm", "ampm"}, {'P', TKind::AmPm, "ampm", "ampm"},
};

struct TComposite {
  char Letter;
  const char* Pattern;  // nullptr: taken from the locale
};

constexpr TComposite kComposites[] = {
    {'D', "%m/%d/%y"}, {'F', "%Y-%m-%d"}, {'T', "%H:%M:%S"}, {'R', "%H:%M"},
    {'r', nullptr},    {'x', nullptr},    {'X', nullptr},    {'c', nullptr},
};

struct TLocalePatterns {
  std::string_view Date, Time, TimeAmPm, DateTime;
  std::string_view For(char letter) const {
    switch (letter) {
      case 'x': return Date;
      case 'X': return Time;
      case 'r': return TimeAmPm.empty() ? std::string_view("%I:%M:%S %p") : TimeAmPm;
      default: return DateTime;
    }
  }
};

bool IsFlag(char c) { return c == '-' || c == '_' || c == '0' || c == '^' || c == '#'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAsciiPunct(char c) {
  return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') || (c >= '{' && c <= '~');
}

void AppendLiteral(std::vector<TToken>& tokens, char c) {
  if (tokens.empty() || tokens.back().Kind != TKind::Literal) tokens.push_back({TKind::Literal, {}});
  tokens.back().Text += c;
}

// Splits a strftime pattern into fields and literals; composites are expanded
// in place (depth-limited, since locale data could refer to itself).
void Tokenize(std::string_view pattern, const TLocalePatterns& locale, int depth,
              std::vector<TToken>& tokens) {
  size_t i = 0;
  while (i < pattern.size()) {
    const char c = pattern[i++];
    if (c != '%') {
      AppendLiteral(tokens, c);
      continue;
    }
    bool unpadded = false;
    while (i < pattern.size() && IsFlag(pattern[i])) unpadded |= pattern[i++] == '-';
    while (i < pattern.size() && IsDigit(pattern[i])) ++i;
    while (i < pattern.size() && (pattern[i] == 'E' || pattern[i] == 'O')) ++i;
    if (i >= pattern.size()) break;
    const char letter = pattern[i++];
    if (letter == '%') { AppendLiteral(tokens, '%'); continue; }
    if (letter == 'n' || letter == 't') { AppendLiteral(tokens, ' '); continue; }
    bool done = false;
    for (const TComposite& comp : kComposites) {
      if (comp.Letter != letter) continue;
      if (depth < 4) Tokenize(comp.Pattern ? std::string_view(comp.Pattern) : locale.For(letter), locale,
                              depth + 1, tokens);
      done = true;
      break;
    }
    for (const TConversion& conv : kConversions) {
      if (done || conv.Letter != letter) continue;
      tokens.push_back({conv.Kind, unpadded ? conv.Unpadded : conv.Padded});
      done = true;
    }
    if (!done) tokens.push_back({TKind::Dropped, {}});
  }
}

std::vector<TToken> Tokens(std::string_view pattern, const TLocalePatterns& locale) {
  std::vector<TToken> tokens;
  Tokenize(pattern, locale, 0, tokens);
  // Unknown conversions go, with the literal text that joins them to the next field.
  std::vector<TToken> kept;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].Kind != TKind::Dropped) { kept.push_back(tokens[i]); continue; }
    if (i + 1 < tokens.size() && tokens[i + 1].Kind == TKind::Literal) ++i;
  }
  return kept;
}

bool IsTimeKind(TKind k) { return k == TKind::Hour || k == TKind::Minute || k == TKind::Second || k == TKind::AmPm; }

// The first punctuation character of a literal between two fields of the
// wanted group, or `fallback`.
char FindSeparator(const std::vector<TToken>& tokens, bool time, char fallback) {
  auto inGroup = [time](TKind k) { return time ? IsTimeKind(k) && k != TKind::AmPm : k == TKind::Date; };
  for (size_t i = 1; i + 1 < tokens.size(); ++i) {
    if (tokens[i].Kind != TKind::Literal || !inGroup(tokens[i - 1].Kind) || !inGroup(tokens[i + 1].Kind)) continue;
    const char c = tokens[i].Text[0];
    if (IsAsciiPunct(c) && c != '%' && c != '"' && c != '\'') return c;
  }
  return fallback;
}

// Literal characters that the format letters never claim.
bool IsPlainLiteral(char c) {
  return c == ' ' || IsDigit(c) || (IsAsciiPunct(c) && c != '/' && c != ':' && c != '"' && c != '\'');
}

// Writes the tokens as a format string; a literal `dateSep` becomes "/" and a
// literal `timeSep` ":" (a '\0' separator is not mapped).
std::string Render(const std::vector<TToken>& tokens, char dateSep, char timeSep) {
  std::string out;
  bool afterHour = false;
  for (const TToken& t : tokens) {
    if (t.Kind != TKind::Literal) {
      if (t.Kind == TKind::Minute) out += afterHour ? t.Text : (t.Text == "m" ? "n" : "nn");
      else out += t.Text;
      afterHour = t.Kind == TKind::Hour;
      continue;
    }
    // "mm" reads as minutes only right after an hour (across the time separator).
    if (t.Text != std::string(1, timeSep)) afterHour = false;
    std::string quoted;
    auto flush = [&] {
      if (quoted.empty()) return;
      out += '"';
      out += quoted;
      out += '"';
      quoted.clear();
    };
    for (const char c : t.Text) {
      if (dateSep != '\0' && c == dateSep) { flush(); out += '/'; }
      else if (timeSep != '\0' && c == timeSep) { flush(); out += ':'; }
      else if (IsPlainLiteral(c)) { flush(); out += c; }
      else if (c == '"') { flush(); out += "'\"'"; }
      else quoted += c;
    }
    flush();
  }
  return out;
}

// The date fields of a date-and-time pattern: from its first to its last date
// field without the time fields, plus the text that closes the last field
// ("日" in "%d日 %H時"; not a separator such as ", "), without trailing blanks.
std::vector<TToken> DatePart(const std::vector<TToken>& tokens) {
  size_t first = tokens.size(), last = 0;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].Kind != TKind::Date) continue;
    if (first == tokens.size()) first = i;
    last = i;
  }
  std::vector<TToken> part;
  for (size_t i = first; i < tokens.size() && i <= last; ++i) {
    if (IsTimeKind(tokens[i].Kind)) {
      if (i + 1 <= last && tokens[i + 1].Kind == TKind::Literal) ++i;
      continue;
    }
    part.push_back(tokens[i]);
  }
  if (!part.empty() && last + 1 < tokens.size() && tokens[last + 1].Kind == TKind::Literal) {
    std::string tail = tokens[last + 1].Text;
    while (!tail.empty() && tail.back() == ' ') tail.pop_back();
    if (!tail.empty() && tail[0] != ' ' && !IsAsciiPunct(tail[0])) part.push_back({TKind::Literal, tail});
  }
  return part;
}

// The time pattern without its seconds: a separator before them goes with
// them ("%H:%M:%S"), otherwise the text after them ("%M分%S秒").
std::vector<TToken> WithoutSeconds(const std::vector<TToken>& tokens, char timeSep) {
  std::vector<TToken> part;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].Kind != TKind::Second) { part.push_back(tokens[i]); continue; }
    if (!part.empty() && part.back().Kind == TKind::Literal && part.back().Text == std::string(1, timeSep))
      part.pop_back();
    else if (i + 1 < tokens.size() && tokens[i + 1].Kind == TKind::Literal)
      ++i;
  }
  return part;
}

}  // namespace

TPosixDateFormats TranslatePosixDateFormats(std::string_view dateFormat, std::string_view timeFormat,
                                            std::string_view timeFormatAmPm,
                                            std::string_view dateTimeFormat) {
  const TLocalePatterns locale{dateFormat, timeFormat, timeFormatAmPm, dateTimeFormat};
  const auto date = Tokens(dateFormat, locale);
  const auto time = Tokens(timeFormat, locale);
  const auto longDate = DatePart(Tokens(dateTimeFormat, locale));

  TPosixDateFormats f;
  f.DateSeparator = FindSeparator(date, false, '/');
  f.TimeSeparator = FindSeparator(time, true, ':');
  f.ShortDateFormat = Render(date, f.DateSeparator, '\0');
  f.LongDateFormat = longDate.empty() ? f.ShortDateFormat : Render(longDate, f.DateSeparator, '\0');
  f.LongTimeFormat = Render(time, '\0', f.TimeSeparator);
  f.ShortTimeFormat = Render(WithoutSeconds(time, f.TimeSeparator), '\0', f.TimeSeparator);
  return f;
}
