#include "eval/language/tokenizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eval/language/expression.h"
#include "foundation/assertion.h"

namespace {

// A root that only collects errors.
class TTestRoot final : public TJUXExpression {
 public:
  TTestRoot() : TJUXExpression(nullptr) {}
  void Evaluate(TTreeMapNode*, bool) override {}
  std::unique_ptr<TJUXExpression> Clone() const override { return nullptr; }
  void Prepare(TTreeMapNode*) override {}
};

struct TTok {
  uint8_t Kind;
  std::string Text;
  bool operator==(const TTok&) const = default;
};

std::vector<TTok> Kinds(const TJUXTokens& tokens) {
  std::vector<TTok> out;
  for (int i = 0; i < tokens.Count(); ++i) out.push_back({tokens.Token(i).Kind, tokens.Token(i).Text});
  return out;
}

void PrintTo(const TTok& t, std::ostream* os) { *os << int(t.Kind) << ":'" << t.Text << "'"; }

struct TScanCase {
  const char* Text;
  char DecimalSeparator;
  std::vector<TTok> Want;
};

TEST(JUXTokenizer, ScansTokenKindsAndTexts) {
  const std::vector<TScanCase> cases = {
      {"a<>b", '.', {{jtkID, "a"}, {jtkNotEqual, "<>"}, {jtkID, "b"}}},
      {"a>=b", '.', {{jtkID, "a"}, {jtkLargerEq, ">="}, {jtkID, "b"}}},
      {"a<=b", '.', {{jtkID, "a"}, {jtkSmallerEq, "<="}, {jtkID, "b"}}},
      {"a< >b", '.', {{jtkID, "a"}, {jtkSmaller, "<"}, {jtkLarger, ">"}, {jtkID, "b"}}},
      {"X MOD 2", '.', {{jtkID, "X"}, {jtkMod, "mod"}, {jtkIntegerConstant, "2"}}},
      {"Not a AND b Or c xOr d MAX e min f", '.',
       {{jtkNot, "not"}, {jtkID, "a"}, {jtkAnd, "and"}, {jtkID, "b"}, {jtkOr, "or"}, {jtkID, "c"},
        {jtkXor, "xor"}, {jtkID, "d"}, {jtkMax, "max"}, {jtkID, "e"}, {jtkMin, "min"}, {jtkID, "f"}}},
      {"modx _a1 a_B", '.', {{jtkID, "modx"}, {jtkID, "_a1"}, {jtkID, "a_B"}}},
      {"1.5", '.', {{jtkDoubleConstant, "1.5"}}},
      {"2e-3 2E+3 1e5 12", '.',
       {{jtkDoubleConstant, "2e-3"}, {jtkDoubleConstant, "2E+3"}, {jtkDoubleConstant, "1e5"},
        {jtkIntegerConstant, "12"}}},
      {"1.5", ',', {{jtkIntegerConstant, "1"}, {jtkDot, "."}, {jtkIntegerConstant, "5"}}},
      {"1,5", ',', {{jtkDoubleConstant, "1,5"}}},
      {"0x1F $1f", '.', {{jtkIntegerConstant, "$1F"}, {jtkIntegerConstant, "$1f"}}},
      {"0X1F", '.', {{jtkIntegerConstant, "0"}, {jtkID, "X1F"}}},
      {"#65 #$41", '.', {{jtkStringConstChar, "65"}, {jtkStringConstChar, "$41"}}},
      {"'it''s' \"a\"\"b\" 'say \"hi\"'", '.',
       {{jtkStringConstant, "'it''s'"}, {jtkStringConstant, "\"a\"\"b\""}, {jtkStringConstant, "'say \"hi\"'"}}},
      {"(a;[b],c.d)", '.',
       {{jtkOpenParen, "("}, {jtkID, "a"}, {jtkSemicolon, ";"}, {jtkOpenBracket, "["}, {jtkID, "b"},
        {jtkCloseBracket, "]"}, {jtkComma, ","}, {jtkID, "c"}, {jtkDot, "."}, {jtkID, "d"}, {jtkCloseParen, ")"}}},
      {"+-*/^=", '.',
       {{jtkPlus, "+"}, {jtkMinus, "-"}, {jtkMultiply, "*"}, {jtkDivide, "/"}, {jtkPower, "^"}, {jtkEqual, "="}}},
      {" \t\r\na\n", '.', {{jtkID, "a"}}},
  };
  for (const TScanCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTestRoot root;
    root.FormatSettings().DecimalSeparator = c.DecimalSeparator;
    TJUXTokens tokens(c.Text, &root);
    EXPECT_EQ(Kinds(tokens), c.Want);
    EXPECT_TRUE(root.Errors().empty());
  }
}

TEST(JUXTokenizer, PositionsAreOneBasedAtTheFirstCharacter) {
  TTestRoot root;
  TJUXTokens tokens("ab + 0x1f*#65 'q'", &root);
  std::vector<int> positions;
  for (int i = 0; i < tokens.Count(); ++i) positions.push_back(tokens.Token(i).Position);
  EXPECT_EQ(positions, (std::vector<int>{1, 4, 6, 10, 11, 15}));
}

struct TErrorCase {
  const char* Text;
  std::vector<std::string> Errors;
  std::vector<TTok> Tokens;
};

TEST(JUXTokenizer, ReportsLexicalErrors) {
  const std::vector<TErrorCase> cases = {
      {"", {"Empty expression"}, {}},
      {"   ", {"Empty expression"}, {}},
      // The rest of the text after an unterminated string is not scanned.
      {"'abc", {"1: No closing quote for string constant"}, {{jtkStringConstant, ""}}},
      {"a + 'x''", {"5: No closing quote for string constant"}, {{jtkID, "a"}, {jtkPlus, "+"}, {jtkStringConstant, ""}}},
      {"a ! b", {"3: Unrecognized character: !(#33)"}, {{jtkID, "a"}, {jtkUnknown, "!"}, {jtkID, "b"}}},
      // Only the first message of a kind reaches the root's list.
      {"! @", {"1: Unrecognized character: !(#33)"}, {{jtkUnknown, "!"}, {jtkUnknown, "@"}}},
      // A non-ASCII character is named whole, with its code point.
      {"x \xC3\xA9", {"3: Unrecognized character: \xC3\xA9(#233)"}, {{jtkID, "x"}, {jtkUnknown, "\xC3\xA9"}}},
      // A byte that starts no valid UTF-8 sequence counts alone.
      {"\xFF", {"1: Unrecognized character: \xFF(#255)"}, {{jtkUnknown, "\xFF"}}},
  };
  for (const TErrorCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTestRoot root;
    TJUXTokens tokens(c.Text, &root);
    EXPECT_EQ(root.Errors(), c.Errors);
    EXPECT_TRUE(root.HasErrorKind(jeSyntax));
    EXPECT_EQ(Kinds(tokens), c.Tokens);
  }
}

TEST(JUXTokenizer, NeedsAnExpression) {
  try {
    TJUXTokens tokens("a", nullptr);
    FAIL() << "no exception";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "JUX Tokenizer needs a non-nil TJUXExpression object");
  }
}

TEST(JUXTokenizer, KindTableAndEntries) {
  for (int kind = 0; kind < kJUXTokenKindCount; ++kind) {
    SCOPED_TRACE(kind);
    TJUXTokenInfo entry;
    ASSERT_TRUE(TJUXTokens::KindEntry(kind, entry));
    EXPECT_EQ(entry.Kind, kind);
    EXPECT_EQ(entry.Position, 0);
  }
  TJUXTokenInfo entry;
  ASSERT_TRUE(TJUXTokens::KindEntry(jtkNotEqual, entry));
  EXPECT_EQ(entry.Text, "<>");
  EXPECT_EQ(entry.Description, "unequal");
  EXPECT_FALSE(TJUXTokens::KindEntry(kJUXTokenKindCount, entry));
  EXPECT_FALSE(TJUXTokens::KindEntry(-1, entry));
}

TEST(JUXTokenizer, FindMatchingSkipsBracketGroups) {
  TTestRoot root;
  //                   0 1 2 3 4 5 6 7 8 9 10
  TJUXTokens tokens("a ; ( b ; [ c ; ] ) ; d", &root);
  EXPECT_EQ(tokens.FindMatching(0, jtkSemicolon, +1), 1);
  EXPECT_EQ(tokens.FindMatching(2, jtkSemicolon, +1), 10);
  EXPECT_EQ(tokens.FindMatching(3, jtkSemicolon, +1), 4);
  EXPECT_EQ(tokens.FindMatching(5, jtkSemicolon, +1), 10);  // the ")" at 9 is passed over
  EXPECT_EQ(tokens.FindMatching(11, jtkSemicolon, -1), 10);
  EXPECT_EQ(tokens.FindMatching(9, jtkSemicolon, -1), 1);
  EXPECT_EQ(tokens.FindMatching(11, jtkMod, +1), -1);
  EXPECT_EQ(tokens.FindMatching(-1, jtkSemicolon, +1), -1);
  // An unclosed group hides everything after it.
  TJUXTokens open("( a ; b", &root);
  EXPECT_EQ(open.FindMatching(0, jtkSemicolon, +1), -1);
}

TEST(JUXTokenizer, StripOuterPairsRemovesOnlyEnclosingPairs) {
  struct TCase {
    const char* Text;
    uint8_t Open, Close;
    int Removed;
    int Count;
  };
  const TCase cases[] = {
      {"((a))", jtkOpenParen, jtkCloseParen, 2, 1},
      {"(a) + (b)", jtkOpenParen, jtkCloseParen, 0, 7},
      {"((a) + (b))", jtkOpenParen, jtkCloseParen, 1, 7},
      {"[[a; b]]", jtkOpenBracket, jtkCloseBracket, 2, 3},
      {"([a])", jtkOpenParen, jtkCloseParen, 1, 3},
      {"([a)]", jtkOpenParen, jtkCloseParen, 0, 5},
      {"((a)", jtkOpenParen, jtkCloseParen, 0, 4},
      {"()", jtkOpenParen, jtkCloseParen, 1, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTestRoot root;
    TJUXTokens tokens(c.Text, &root);
    EXPECT_EQ(tokens.StripOuterPairs(c.Open, c.Close), c.Removed);
    EXPECT_EQ(tokens.Count(), c.Count);
    EXPECT_EQ(tokens.Offset(), c.Removed);
  }
}

TEST(JUXTokenizer, DeepBracketsNeedNoStack) {
  // Bracket matching and stripping are iterative; 200000 levels would
  // overflow the stack of a recursive matcher.
  constexpr int kDepth = 200000;
  TTestRoot root;
  TJUXTokens tokens(std::string(kDepth, '(') + "a" + std::string(kDepth, ')'), &root);
  EXPECT_EQ(tokens.FindMatching(1, jtkCloseParen, +1), tokens.Count() - 1);
  EXPECT_EQ(tokens.StripOuterPairs(jtkOpenParen, jtkCloseParen), kDepth);
  ASSERT_EQ(tokens.Count(), 1);
  EXPECT_EQ(tokens.Token(0).Text, "a");
}

TEST(JUXTokenizer, SlicesReportAtTheirPositionInTheWholeText) {
  TTestRoot root2;
  TJUXTokens top("f(alpha; beta)", &root2);
  TJUXTokens* inner = top.Slice(1, top.Count() - 1);  // "(alpha; beta)"
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->StripOuterPairs(jtkOpenParen, jtkCloseParen), 1);
  TJUXTokens* second = inner->Slice(2, 2);  // "beta"
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Depth(), 2);
  EXPECT_EQ(second->Token(0).Text, "beta");
  second->Error("boom", 0);
  EXPECT_EQ(root2.Errors(), std::vector<std::string>{"10: boom"});
}

TEST(JUXTokenizer, MisuseOfTheListIsReportedNotFatal) {
  struct TCase {
    const char* Name;
    void (*Act)(TJUXTokens&);
    const char* Message;
  };
  const TCase cases[] = {
      {"slice past end", [](TJUXTokens& t) { EXPECT_EQ(t.Slice(1, 5), nullptr); }, "Slicing out of range(1;5)"},
      {"slice inverted", [](TJUXTokens& t) { EXPECT_EQ(t.Slice(2, 0), nullptr); }, "Slicing out of range(2;0)"},
      {"empty slice", [](TJUXTokens& t) { ASSERT_NE(t.Slice(1, 0), nullptr); }, nullptr},
      {"token past end",
       [](TJUXTokens& t) {
         TJUXTokenInfo token;
         EXPECT_FALSE(t.GetToken(3, token));
       },
       "Token requested that is out of bounds(3)"},
      {"expect at end", [](TJUXTokens& t) { EXPECT_FALSE(t.Expect(jtkCloseParen, 9)); }, "\")\" expected"},
      {"expect wrong kind", [](TJUXTokens& t) { EXPECT_FALSE(t.Expect(jtkOpenParen, 1)); }, "3: \"(\" expected"},
      {"expect expression", [](TJUXTokens& t) { EXPECT_FALSE(t.Expect(jtkUnknown, 0)); }, "1: Expression expected"},
      {"expect ok", [](TJUXTokens& t) { EXPECT_TRUE(t.Expect(jtkPlus, 1)); }, nullptr},
      {"closing missing", [](TJUXTokens& t) { EXPECT_EQ(t.FindClosing(0, jtkCloseBracket), 3); }, "\"]\" expected"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTestRoot root;
    TJUXTokens tokens("a + b", &root);
    c.Act(tokens);
    if (c.Message)
      EXPECT_EQ(root.Errors(), std::vector<std::string>{c.Message});
    else
      EXPECT_TRUE(root.Errors().empty());
  }
}

}  // namespace
