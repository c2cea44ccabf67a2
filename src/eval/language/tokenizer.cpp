#include "eval/language/tokenizer.h"

#include <string>
#include <utility>

#include "eval/language/expression.h"
#include "foundation/assertion.h"
#include "foundation/format_settings.h"

namespace {

constexpr uint8_t kSyntaxErrorKind = 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsIdentChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_'; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAscii(c);
  return lower;
}

// Takes characters from Pos while they satisfy InSet; Pos ends on the first
// character outside the set (or at the end).
template <typename TPredicate>
std::string_view ScanSet(std::string_view text, size_t& pos, TPredicate inSet) {
  const size_t start = pos;
  while (pos < text.size() && inSet(text[pos])) ++pos;
  return text.substr(start, pos - start);
}

// A quoted string from the opening quote at Pos to its closing quote
// inclusive, doubled quotes left doubled. Without a closing quote Pos stays
// on the opening quote and the answer is empty.
std::string_view ScanQuoted(std::string_view text, size_t& pos) {
  const size_t start = pos;
  const char quote = text[pos];
  size_t i = pos + 1;
  while (i < text.size()) {
    if (text[i] == quote) {
      if (i + 1 < text.size() && text[i + 1] == quote) {
        i += 2;
        continue;
      }
      pos = i + 1;
      return text.substr(start, pos - start);
    }
    ++i;
  }
  return {};
}

// The length of the UTF-8 sequence at Pos and its code point, so that an
// unrecognized non-ASCII character is named whole; a byte that does not
// start a valid sequence counts as one character with its byte value.
size_t Utf8Sequence(std::string_view text, size_t pos, uint32_t& code) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  code = lead;
  size_t length = 0;
  uint32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07u;
  } else {
    return 1;
  }
  if (pos + length > text.size()) return 1;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0u) != 0x80u) return 1;
    value = (value << 6) | (byte(pos + i) & 0x3Fu);
  }
  // Overlong forms, surrogates and values beyond Unicode are not characters.
  if ((length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10FFFF)) ||
      (value >= 0xD800 && value <= 0xDFFF))
    return 1;
  code = value;
  return length;
}

// The operator row whose text stands at Pos, compared in lower case.
const TJUXTokenKindRow* MatchOperator(std::string_view text, size_t pos) {
  for (const TJUXTokenKindRow& row : kJUXTokenKindTable) {
    if (row.Text.empty() || pos + row.Text.size() > text.size()) continue;
    bool same = true;
    for (size_t i = 0; i < row.Text.size() && same; ++i) same = LowerAscii(text[pos + i]) == row.Text[i];
    if (same) return &row;
  }
  return nullptr;
}

std::string QuotedKindText(int kind) {
  const TJUXTokenKindRow* row = JUXKindRow(kind);
  return "\"" + std::string(row ? row->Text : std::string_view()) + "\" expected";
}

}  // namespace

const TJUXTokenKindRow* JUXKindRow(int kind) {
  if (kind < 0 || kind >= kJUXTokenKindCount) return nullptr;
  return &kJUXTokenKindTable[kJUXTokenKindRowIndex[kind]];
}

TJUXTokens::TJUXTokens(std::string_view text, TJUXExpression* expression) : FExpression(expression) {
  Require(expression != nullptr, "JUX Tokenizer needs a non-nil TJUXExpression object");
  Scan(text);
  MatchGroups();
}

TJUXTokens::TJUXTokens(const TJUXTokenInfoList* tokens, int first, int last, TJUXTokens* parent, int offset,
                       TJUXExpression* expression)
    : FTokens(tokens),
      FGroupEnds(parent ? parent->FGroupEnds : &FOwnGroupEnds),
      FFirst(first),
      FLast(last),
      FTop(parent ? parent->FTop : this),
      FParent(parent),
      FOffset(offset),
      FDepth(parent ? parent->FDepth + 1 : 0),
      FExpression(expression) {}

std::unique_ptr<TJUXTokens> TJUXTokens::CreateSlice(TJUXTokenInfoList tokens, TJUXExpression* expression) {
  Require(expression != nullptr, "JUX Tokenizer needs a non-nil TJUXExpression object");
  std::unique_ptr<TJUXTokens> list(new TJUXTokens(nullptr, 0, 0, nullptr, 0, expression));
  list->FOwnTokens = std::move(tokens);
  list->FTokens = &list->FOwnTokens;
  list->FLast = static_cast<int>(list->FOwnTokens.size());
  list->MatchGroups();
  return list;
}

TJUXTokens::~TJUXTokens() = default;

void TJUXTokens::Add(uint8_t kind, std::string text, int position) {
  FOwnTokens.push_back(TJUXTokenInfo{kind, std::move(text), {}, position});
  FLast = static_cast<int>(FOwnTokens.size());
}

void TJUXTokens::Scan(std::string_view text) {
  const char decimalSeparator = FormatSettings().DecimalSeparator;
  size_t p = 0;
  while (p < text.size()) {
    const char c = text[p];
    const int position = static_cast<int>(p) + 1;
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      ++p;
    } else if (c == '$') {
      ++p;
      Add(jtkIntegerConstant, "$" + std::string(ScanSet(text, p, IsHexDigit)), position);
    } else if (c == '"' || c == '\'') {
      const std::string_view quoted = ScanQuoted(text, p);
      Add(jtkStringConstant, std::string(quoted), position);
      if (quoted.empty()) {
        // Without its closing quote the rest of the text is all string.
        Error("No closing quote for string constant", Count() - 1);
        return;
      }
    } else if (c == '#') {
      ++p;
      if (p < text.size() && text[p] == '$') {
        ++p;
        Add(jtkStringConstChar, "$" + std::string(ScanSet(text, p, IsHexDigit)), position);
      } else {
        Add(jtkStringConstChar, std::string(ScanSet(text, p, IsDigit)), position);
      }
    } else if (IsDigit(c)) {
      if (c == '0' && p + 1 < text.size() && text[p + 1] == 'x') {
        p += 2;
        Add(jtkIntegerConstant, "$" + std::string(ScanSet(text, p, IsHexDigit)), position);
        continue;
      }
      const auto inNumber = [decimalSeparator](char ch) {
        return IsDigit(ch) || ch == 'E' || ch == 'e' || ch == decimalSeparator;
      };
      std::string number(ScanSet(text, p, inNumber));
      uint8_t kind = jtkIntegerConstant;
      if (number.back() == 'E' || number.back() == 'e') {
        number += ScanSet(text, p, [](char ch) { return ch == '+' || ch == '-'; });
        number += ScanSet(text, p, IsDigit);
        kind = jtkDoubleConstant;
      } else if (number.find_first_of(std::string{'E', 'e', decimalSeparator}) != std::string::npos) {
        kind = jtkDoubleConstant;
      }
      Add(kind, std::move(number), position);
    } else if (IsLetter(c) || c == '_') {
      const std::string_view word = ScanSet(text, p, IsIdentChar);
      const std::string lower = LowerAscii(word);
      const TJUXTokenKindRow* match = nullptr;
      for (const TJUXTokenKindRow& row : kJUXTokenKindTable)
        if (!row.Text.empty() && row.Text == lower) match = &row;
      if (match)
        Add(match->Kind, std::string(match->Text), position);
      else
        Add(jtkID, std::string(word), position);
    } else if (const TJUXTokenKindRow* row = MatchOperator(text, p)) {
      Add(row->Kind, std::string(row->Text), position);
      p += row->Text.size();
    } else {
      uint32_t code = 0;
      const size_t length = Utf8Sequence(text, p, code);
      std::string character(text.substr(p, length));
      Add(jtkUnknown, character, position);
      Error("Unrecognized character: " + character + "(#" + std::to_string(code) + ")", Count() - 1);
      p += length;
    }
  }
  if (FOwnTokens.empty()) Error("Empty expression", -1);
}

const TJUXTokenInfo& TJUXTokens::Token(int index) const {
  Require(index >= 0 && index < Count(), "JUX token index out of range");
  return (*FTokens)[static_cast<size_t>(FFirst + index)];
}

uint8_t TJUXTokens::Kind(int index) const {
  if (index < 0 || index >= Count()) return jtkUnknown;
  return (*FTokens)[static_cast<size_t>(FFirst + index)].Kind;
}

bool TJUXTokens::GetToken(int index, TJUXTokenInfo& token) {
  if (index < 0 || index >= Count()) {
    Error("Token requested that is out of bounds(" + std::to_string(index) + ")", -1);
    return false;
  }
  token = Token(index);
  return true;
}

bool TJUXTokens::KindEntry(int kind, TJUXTokenInfo& token) {
  const TJUXTokenKindRow* row = JUXKindRow(kind);
  if (!row) return false;
  token = TJUXTokenInfo{row->Kind, std::string(row->Text), std::string(row->Description), 0};
  return true;
}

void TJUXTokens::MatchGroups() {
  // A group closes at the first token of its closing kind not taken by a
  // group opened inside it; other closing tokens are passed over.
  FOwnGroupEnds.assign(FOwnTokens.size(), -1);
  std::vector<int32_t> open;
  for (size_t i = 0; i < FOwnTokens.size(); ++i) {
    const uint8_t k = FOwnTokens[i].Kind;
    if (!open.empty()) {
      const uint8_t awaited = FOwnTokens[static_cast<size_t>(open.back())].Kind == jtkOpenParen ? jtkCloseParen
                                                                                                : jtkCloseBracket;
      if (k == awaited) {
        FOwnGroupEnds[static_cast<size_t>(open.back())] = static_cast<int32_t>(i);
        open.pop_back();
        continue;
      }
    }
    if (k == jtkOpenParen || k == jtkOpenBracket) open.push_back(static_cast<int32_t>(i));
  }
}

void TJUXTokens::RegisterSlice(std::unique_ptr<TJUXTokens> slice) { FTop->FSlices.push_back(std::move(slice)); }

int TJUXTokens::GroupEnd(int index) const {
  if (index < 0 || index >= Count()) return -1;
  const int end = (*FGroupEnds)[static_cast<size_t>(FFirst + index)];
  return end >= 0 && end < FLast ? end - FFirst : -1;
}

TJUXTokens* TJUXTokens::Slice(int first, int last, bool deeper) {
  if (first < 0 || last >= Count() || last < first - 1) {
    Error("Slicing out of range(" + std::to_string(first) + ";" + std::to_string(last) + ")", -1);
    return nullptr;
  }
  std::unique_ptr<TJUXTokens> slice(
      new TJUXTokens(FTokens, FFirst + first, FFirst + last + 1, this, first, FExpression));
  TJUXTokens* result = slice.get();
  if (!deeper) result->FDepth = FDepth;
  RegisterSlice(std::move(slice));
  return result;
}

int TJUXTokens::FindMatching(int start, uint8_t kind, int step) const {
  const int count = Count();
  if (step > 0) {
    // Forwards a group is skipped in one step to where it closes; a group
    // that does not close in this list hides every token after it.
    for (int i = start; i >= 0 && i < count;) {
      const uint8_t k = Kind(i);
      if (k == kind) return i;
      if (k == jtkOpenParen || k == jtkOpenBracket) {
        i = GroupEnd(i);
        if (i < 0) return -1;
      }
      ++i;
    }
    return -1;
  }
  // Backwards: Awaited holds, per open bracket group, the kind that ends it;
  // only the innermost one is compared, so nesting costs heap, not stack.
  std::vector<uint8_t> awaited{kind};
  for (int i = start; i >= 0 && i < count; i += step) {
    const uint8_t k = Kind(i);
    if (k == awaited.back()) {
      awaited.pop_back();
      if (awaited.empty()) return i;
    } else if (k == jtkCloseParen) {
      awaited.push_back(jtkOpenParen);
    } else if (k == jtkCloseBracket) {
      awaited.push_back(jtkOpenBracket);
    }
  }
  return -1;
}

int TJUXTokens::StripOuterPairs(uint8_t openKind, uint8_t closeKind) {
  // Pair n encloses the rest when the group opened by token n closes at the
  // token n from the end.
  const int count = Count();
  int n = 0;
  while (n < count && Kind(n) == openKind) {
    const int end = GroupEnd(n);
    if (end != count - 1 - n || Kind(end) != closeKind) break;
    ++n;
  }
  FFirst += n;
  FLast -= n;
  FOffset += n;
  return n;
}

void TJUXTokens::Error(const std::string& message, int tokenIndex) {
  if (FParent) {
    FParent->Error(message, tokenIndex < 0 ? tokenIndex : tokenIndex + FOffset);
    return;
  }
  std::string text = message;
  if (tokenIndex >= 0 && tokenIndex < Count()) text = std::to_string(Token(tokenIndex).Position) + ": " + message;
  FExpression->AddError(kSyntaxErrorKind, text);
}

bool TJUXTokens::Expect(uint8_t kind, int index) {
  if (index >= Count()) index = Count();
  if (index >= 0 && index < Count() && Kind(index) == kind) return true;
  Error(kind == jtkUnknown ? std::string("Expression expected") : QuotedKindText(kind), index);
  return false;
}

int TJUXTokens::FindClosing(int start, uint8_t closeKind) {
  const int close = FindMatching(start, closeKind, +1);
  if (close >= 0) return close;
  Error(QuotedKindText(closeKind), Count());
  return Count();
}

const TFormatSettings& TJUXTokens::FormatSettings() const { return FTop->FExpression->FormatSettings(); }
