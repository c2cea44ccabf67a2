#pragma once
// The JUX tokenizer: scans expression text into a token list, and the token
// list operations the parser works with (slices, bracket matching, errors).
//
// A top list is made from text; slices are cut from it (and from slices of
// it) by Slice(). The top list owns every slice cut below it and frees them
// with itself; the pointers Slice() returns stay valid until then. A slice
// refers to the top list's tokens instead of copying them, so cutting is
// cheap however long the expression is. The top list also knows, once for
// all slices, where every bracket group closes, so skipping a group, finding
// a separator and stripping enclosing pairs cost no rescanning.
//
// Every lexical or syntax error goes to the expression the top list was made
// for, as an error of kind 1, prefixed with the 1-based position of the
// offending token's first character ("7: ...") when the error names a token.
// Positions count bytes of the text.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TJUXExpression;
struct TFormatSettings;

// Token kinds. The values are fixed: stored kinds and the kind-to-row index
// depend on them.
enum TJUXTokenKind : uint8_t {
  jtkUnknown = 0,          // an unrecognized character
  jtkID = 1,               // identifier
  jtkStringConstant = 2,   // 'text' or "text", quotes kept
  jtkStringConstChar = 3,  // #65 or #$41 (text without the "#")
  jtkDoubleConstant = 4,
  jtkIntegerConstant = 5,  // decimal digits, or "$" and hex digits
  jtkOpenParen = 6,
  jtkCloseParen = 7,
  jtkOpenBracket = 8,
  jtkCloseBracket = 9,
  jtkDot = 10,
  jtkComma = 11,
  jtkSemicolon = 12,
  jtkPlus = 13,
  jtkMinus = 14,
  jtkMultiply = 15,
  jtkDivide = 16,
  jtkMod = 17,
  jtkPower = 18,
  jtkSmaller = 19,
  jtkEqual = 20,
  jtkNotEqual = 21,
  jtkLarger = 22,
  jtkSmallerEq = 23,
  jtkLargerEq = 24,
  jtkNot = 25,
  jtkAnd = 26,
  jtkOr = 27,
  jtkXor = 28,
  jtkMax = 29,
  jtkMin = 30,
};
inline constexpr int kJUXTokenKindCount = 31;

// One token. Description is filled only in copies of the static table rows.
struct TJUXTokenInfo {
  uint8_t Kind = jtkUnknown;
  std::string Text;
  std::string Description;
  int32_t Position = 0;  // 1-based; 0 in the static table
  bool operator==(const TJUXTokenInfo&) const = default;
};
using TJUXTokenInfoList = std::vector<TJUXTokenInfo>;

// A row of the static token-kind table.
struct TJUXTokenKindRow {
  uint8_t Kind;
  std::string_view Text;  // empty: never matched by text
  std::string_view Description;
};

// The token-kind table in scanning order: the two-character comparisons come
// before the one-character ones, so rows 19..24 are not in kind order.
inline constexpr std::array<TJUXTokenKindRow, kJUXTokenKindCount> kJUXTokenKindTable = {{
    {jtkUnknown, "", "[?]"},
    {jtkID, "", "ID"},
    {jtkStringConstant, "", "StringConstant"},
    {jtkStringConstChar, "", "StringConstChar"},
    {jtkDoubleConstant, "", "DoubleConstant"},
    {jtkIntegerConstant, "", "IntegerConstant"},
    {jtkOpenParen, "(", "("},
    {jtkCloseParen, ")", ")"},
    {jtkOpenBracket, "[", "["},
    {jtkCloseBracket, "]", "]"},
    {jtkDot, ".", "."},
    {jtkComma, ",", ","},
    {jtkSemicolon, ";", ";"},
    {jtkPlus, "+", "plus"},
    {jtkMinus, "-", "minus"},
    {jtkMultiply, "*", "multiplication"},
    {jtkDivide, "/", "division"},
    {jtkMod, "mod", "modulus"},
    {jtkPower, "^", "power"},
    {jtkNotEqual, "<>", "unequal"},
    {jtkLargerEq, ">=", "larger or equal"},
    {jtkSmallerEq, "<=", "smaller or equal"},
    {jtkSmaller, "<", "smaller"},
    {jtkEqual, "=", "equal"},
    {jtkLarger, ">", "larger"},
    {jtkNot, "not", "not"},
    {jtkAnd, "and", "and"},
    {jtkOr, "or", "or"},
    {jtkXor, "xor", "exclusive or"},
    {jtkMax, "max", "maximum"},
    {jtkMin, "min", "minimum"},
}};

// index[kind] = the row of that kind in kJUXTokenKindTable.
inline constexpr std::array<int, kJUXTokenKindCount> kJUXTokenKindRowIndex = [] {
  std::array<int, kJUXTokenKindCount> index{};
  for (int row = 0; row < kJUXTokenKindCount; ++row) index[kJUXTokenKindTable[row].Kind] = row;
  return index;
}();

// The static row of a kind; nullptr for a kind outside the table.
const TJUXTokenKindRow* JUXKindRow(int kind);

class TJUXTokens;
// One token list per argument, as the parser hands them to function
// constructors. The lists are owned by their top list.
using TJUXTokenArray = std::vector<TJUXTokens*>;

class TJUXTokens {
 public:
  // Scans Text into tokens. Lexical errors are reported to Expression; the
  // list holds the tokens scanned so far in any case. Raises EAssertionFailed
  // "JUX Tokenizer needs a non-nil TJUXExpression object" without an
  // expression.
  TJUXTokens(std::string_view text, TJUXExpression* expression);
  // A top list over given tokens (no scanning).
  static std::unique_ptr<TJUXTokens> CreateSlice(TJUXTokenInfoList tokens, TJUXExpression* expression);
  ~TJUXTokens();
  TJUXTokens(const TJUXTokens&) = delete;
  TJUXTokens& operator=(const TJUXTokens&) = delete;

  int Count() const { return FLast - FFirst; }
  // Token Index, unchecked beyond a precondition (0 <= Index < Count).
  const TJUXTokenInfo& Token(int index) const;
  // The kind of token Index; jtkUnknown outside the list.
  uint8_t Kind(int index) const;
  // Copies token Index; an index outside the list reports "Token requested
  // that is out of bounds(<index>)" and copies nothing.
  bool GetToken(int index, TJUXTokenInfo& token);
  // Copies the static row of a kind; nothing is copied (false) for a kind
  // outside the table.
  static bool KindEntry(int kind, TJUXTokenInfo& token);

  // A new list of tokens First..Last (empty when Last = First - 1), owned by
  // the top list, one level deeper than this list unless Deeper is false (a
  // part the parser handles without recursing). Out of range: reports
  // "Slicing out of range(<first>;<last>)" and returns nullptr.
  TJUXTokens* Slice(int first, int last, bool deeper = true);
  // Counts this list one level deeper (the parser recurses into it after
  // all); answers the list.
  TJUXTokens* Deepen() {
    ++FDepth;
    return this;
  }
  // The index of the first token of Kind met walking from Start in steps of
  // Step (+1 or -1), skipping bracket groups; -1 when there is none.
  int FindMatching(int start, uint8_t kind, int step) const;
  // Removes enclosing bracket pairs that span the whole list; returns how many.
  int StripOuterPairs(uint8_t openKind, uint8_t closeKind);
  // Reports Message at token Index (no position prefix outside 0..Count-1).
  void Error(const std::string& message, int tokenIndex);
  // True when token Index has Kind; else reports "Expression expected" (kind
  // 0) or «"<text>" expected» at Index (clamped to Count) and answers false.
  bool Expect(uint8_t kind, int index);
  // The matching closing token of kind CloseKind from Start; when there is
  // none, reports «"<text>" expected» at the end and answers Count.
  int FindClosing(int start, uint8_t closeKind);
  // Where the bracket group opened by token Index ("(" or "[") closes in this
  // list: what FindMatching(Index + 1, its closing kind, +1) answers, -1 when
  // the group does not close inside the list or the token opens none.
  int GroupEnd(int index) const;

  TJUXExpression* Expression() const { return FExpression; }
  // The format settings of the expression the top list was made for.
  const TFormatSettings& FormatSettings() const;
  // Index of this list's first token in its parent list.
  int Offset() const { return FOffset; }
  // How deeply the parser recursed to reach this list (0 for a top list).
  int Depth() const { return FDepth; }

 private:
  TJUXTokens(const TJUXTokenInfoList* tokens, int first, int last, TJUXTokens* parent, int offset,
             TJUXExpression* expression);
  void Scan(std::string_view text);
  void Add(uint8_t kind, std::string text, int position);
  // Fills the group ends of a top list's tokens.
  void MatchGroups();
  void RegisterSlice(std::unique_ptr<TJUXTokens> slice);

  TJUXTokenInfoList FOwnTokens;                    // a top list's tokens
  const TJUXTokenInfoList* FTokens = &FOwnTokens;  // the top list's tokens
  // Per token of the top list: the index of the token that closes the group
  // it opens, -1 for an unclosed group or any other token.
  std::vector<int32_t> FOwnGroupEnds;
  const std::vector<int32_t>* FGroupEnds = &FOwnGroupEnds;
  int FFirst = 0;  // this list: (*FTokens)[FFirst, FLast)
  int FLast = 0;
  TJUXTokens* FTop = this;
  TJUXTokens* FParent = nullptr;
  int FOffset = 0;
  int FDepth = 0;
  TJUXExpression* FExpression = nullptr;
  std::vector<std::unique_ptr<TJUXTokens>> FSlices;  // top list only
};
