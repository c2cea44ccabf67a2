#include "eval/functions/strings/string_functions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "eval/functions/strings/edit_distance.h"
#include "eval/functions/strings/sprintf_format.h"
#include "eval/functions/text_eval_helper.h"

namespace {

using text_eval::EvalText;
using text_eval::TCase;
using text_eval::TestSettings;
using text_eval::TOutcome;
using text_eval::TVars;

void ExpectCases(std::span<const TCase> cases) {
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Expression));
    const TOutcome out = EvalText(c.Expression);
    ASSERT_TRUE(out.Built);
    EXPECT_TRUE(out.Errors.empty()) << out.Errors.front();
    EXPECT_FALSE(out.HasError());
    EXPECT_EQ(out.Type, c.Type);
    EXPECT_EQ(out.Text, c.Text);
  }
}

constexpr std::string_view kSprintfError = "Sprintf: Error during formatting";

TEST(StringFunctionsTest, PiecesOfTexts) {
  const TCase cases[] = {
      {"leftstr('abc'; 5)", "string", "abc"},
      {"leftstr('abc'; 2)", "string", "ab"},
      {"leftstr('abc'; -1)", "string", ""},
      {"leftstr(''; 3)", "string", ""},
      {"rightstr('abc'; 0)", "string", ""},
      {"rightstr('abcdef'; 2)", "string", "ef"},
      {"rightstr('abc'; 10)", "string", "abc"},
      {"rightstr('abc'; -2)", "string", ""},
      {"midstr('abcdef'; 3; 10)", "string", "cdef"},
      {"midstr('abcdef'; 7; 1)", "string", ""},
      {"midstr('abcdef'; 0; 2)", "string", "ab"},  // a start below 1 counts as 1, the count stays
      {"midstr('abcdef'; -5; 2)", "string", "ab"},
      {"midstr('abcdef'; 2; 0)", "string", ""},
      {"midstr('abcdef'; 2; -1)", "string", ""},
      {"midstr('abcdef'; 6; 1)", "string", "f"},
  };
  ExpectCases(cases);
}

TEST(StringFunctionsTest, PiecesWithExtremeCounts) {
  // The most negative and the largest integers as counts and positions.
  struct TRow {
    std::string_view Expression;
    std::string_view Want;
  } const rows[] = {
      {"rightstr('abc'; lo)", ""}, {"rightstr('abc'; hi)", "abc"}, {"leftstr('abc'; lo)", ""},
      {"leftstr('abc'; hi)", "abc"}, {"midstr('abc'; lo; hi)", "abc"}, {"midstr('abc'; hi; hi)", ""},
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(std::string(r.Expression));
    const TOutcome out = EvalText(r.Expression, TVars()
                                                    .AddValue<TJUXVar_Integer>("lo", INT64_MIN)
                                                    .AddValue<TJUXVar_Integer>("hi", INT64_MAX));
    EXPECT_TRUE(out.Errors.empty()) << out.Errors.front();
    EXPECT_EQ(out.Text, r.Want);
  }
}

TEST(StringFunctionsTest, CaseLengthAndTrimming) {
  const TCase cases[] = {
      {"uppercase('abc XYZ 123 _')", "string", "ABC XYZ 123 _"},
      {"lowercase('ABC xyz 123 _')", "string", "abc xyz 123 _"},
      {"lenstr('')", "integer", "0"},
      {"lenstr('abc')", "integer", "3"},
      {"trimstr('  a b  ')", "string", "a b"},
      {"ltrimstr('  a b  ')", "string", "a b  "},
      {"rtrimstr('  a b  ')", "string", "  a b"},
      {"trimstr('   ')", "string", ""},
      {"ltrimstr('')", "string", ""},
  };
  ExpectCases(cases);
}

TEST(StringFunctionsTest, CaseRulesTouchOnlyAsciiLetters) {
  // Accented letters (Latin-1 bytes) and every other byte stay unchanged.
  std::string all;
  for (int code = 1; code < 256; ++code) all += static_cast<char>(code);
  std::string upper = all, lower = all;
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  const TOutcome up = EvalText("uppercase(s)", TVars().AddValue<TJUXVar_String>("s", all));
  const TOutcome down = EvalText("lowercase(s)", TVars().AddValue<TJUXVar_String>("s", all));
  EXPECT_EQ(up.Text, upper);
  EXPECT_EQ(down.Text, lower);
  EXPECT_EQ(EvalText("lenstr(s)", TVars().AddValue<TJUXVar_String>("s", all)).Text, "255");
}

TEST(StringFunctionsTest, TrimmingRemovesEveryControlCharacter) {
  const std::string text = std::string("\t\r\n\x01 x\x1f y \x7f\t ");
  const auto vars = [&] { return TVars().AddValue<TJUXVar_String>("s", text); };
  EXPECT_EQ(EvalText("trimstr(s)", vars()).Text, "x\x1f y \x7f");  // code 127 is not below 33
  EXPECT_EQ(EvalText("ltrimstr(s)", vars()).Text, "x\x1f y \x7f\t ");
  EXPECT_EQ(EvalText("rtrimstr(s)", vars()).Text, "\t\r\n\x01 x\x1f y \x7f");
  EXPECT_EQ(EvalText("trimstr(s)", TVars().AddValue<TJUXVar_String>("s", std::string("\t \t"))).Text, "");
}

TEST(StringFunctionsTest, ReplaceAndPosition) {
  const TCase cases[] = {
      {"replacestr('aaa'; 'aa'; 'b')", "string", "ba"},
      {"replacestr('abc'; ''; 'x')", "string", "abc"},
      {"replacestr('ABC'; 'b'; 'x')", "string", "ABC"},
      {"replacestr('abab'; 'b'; 'bb')", "string", "abbabb"},  // inserted text is not searched again
      {"replacestr('abc'; 'abc'; '')", "string", ""},
      {"pos('b'; 'abcb')", "integer", "2"},
      {"pos('b'; 'abcb'; 3)", "integer", "4"},
      {"pos('b'; 'abcb'; 1)", "integer", "2"},
      {"pos('b'; 'abcb'; 4)", "integer", "4"},
      {"pos('b'; 'abcb'; 5)", "integer", "0"},
      {"pos('cb'; 'abcb'; 4)", "integer", "0"},  // no room left for the search text
      {"pos('b'; 'abcb'; 0)", "integer", "2"},   // a start below 1 counts as 1
      {"pos(''; 'abc')", "integer", "0"},
      {"pos(''; 'abc'; 2)", "integer", "0"},
      {"pos('a'; '')", "integer", "0"},
      {"pos('B'; 'abc')", "integer", "0"},
      {"pos('abcd'; 'abc')", "integer", "0"},
  };
  ExpectCases(cases);
}

TEST(StringFunctionsTest, ReplaceSearchesPastNulCharacters) {
  const std::string text("a\0a", 3);
  const TOutcome out = EvalText("replacestr(s; 'a'; 'b')", TVars().AddValue<TJUXVar_String>("s", text));
  EXPECT_EQ(out.Text, std::string("b\0b", 3));
}

TEST(StringFunctionsTest, DistanceAndComparison) {
  const TCase cases[] = {
      {"editdist('flaw'; 'lawn')", "integer", "2"},
      {"editdist(''; 'abc')", "integer", "3"},
      {"editdist('abc'; '')", "integer", "3"},
      {"editdist('a'; 'A')", "integer", "1"},
      {"editdist('kitten'; 'sitting')", "integer", "3"},
      {"editdist('same'; 'same')", "integer", "0"},
      {"comparetext('abc'; 'ABC')", "integer", "0"},
      {"comparetext('abc'; 'abd')", "integer", "-1"},
      {"comparetext('ab'; 'abc')", "integer", "-1"},
      {"comparetext('b'; 'A')", "integer", "1"},
      {"comparetext('_'; 'z')", "integer", "5"},  // "_" (95) sorts after "Z" (90)
      {"comparetext(''; '')", "integer", "0"},
  };
  ExpectCases(cases);
}

TEST(StringFunctionsTest, LevenshteinIsSymmetricAndBounded) {
  const std::vector<std::string> words = {"", "a", "ab", "ba", "abc", "acb", "kitten", "sitting", "Saturday",
                                          "Sunday", "aaaa"};
  for (const std::string& a : words)
    for (const std::string& b : words) {
      SCOPED_TRACE(a + " / " + b);
      const int32_t d = LevenshteinDistance(a, b);
      EXPECT_EQ(d, LevenshteinDistance(b, a));
      EXPECT_GE(d, static_cast<int32_t>(a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()));
      EXPECT_LE(d, static_cast<int32_t>(std::max(a.size(), b.size())));
      EXPECT_EQ(d == 0, a == b);
    }
  EXPECT_EQ(LevenshteinDistance("Saturday", "Sunday"), 3);
  EXPECT_EQ(MinOfThree(3, 1, 2), 1);
}

TEST(StringFunctionsTest, SprintfFormatsItsArguments) {
  const TCase cases[] = {
      {"sprintf('%s has %d items'; 'box'; 3)", "string", "box has 3 items"},
      {"sprintf('%.2f'; 1)", "string", "1.00"},
      {"sprintf('%f'; 2.5)", "string", "2.50"},
      {"sprintf('plain')", "string", "plain"},
      {"sprintf('100%%')", "string", "100%"},
      {"sprintf('%%d')", "string", "%1.0f"},
      {"sprintf('[%5s|%-5s]'; 'ab'; 'cd')", "string", "[   ab|cd   ]"},
      {"sprintf('%.2s'; 'abcdef')", "string", "ab"},
      {"sprintf('%1:s %0:s %s'; 'a'; 'b')", "string", "b a b"},
      {"sprintf('%*.*f'; 8; 3; 1.25)", "string", "1"},  // "*" takes 0 from a non-integer argument
      {"sprintf('%e'; 1234.5)", "string", "1.23450000000000E+003"},
      {"sprintf('%.3e'; -0.000123)", "string", "-1.23E-004"},
      {"sprintf('%g'; 0.5)", "string", "0.5"},
      {"sprintf('%g'; 1e20)", "string", "1E20"},
      {"sprintf('%.3g'; 1234.5)", "string", "1.23E3"},
      {"sprintf('%g'; 0.000001)", "string", "1E-6"},
      {"sprintf('%n'; 1234567.891)", "string", "1,234,567.89"},
      {"sprintf('%.0n'; -1234)", "string", "-1,234"},
      {"sprintf('%m'; 1234.5)", "string", "$1,234.50"},
      {"sprintf('%.0m'; -7)", "string", "-$7"},
      {"sprintf('%f'; nan)", "string", "NAN"},
      {"sprintf('%.1f'; -0.01)", "string", "0.0"},
      {"sprintf('%d%%'; 50)", "string", "50%"},
      // Precisions beyond the largest a number takes fall back to the default.
      {"sprintf('%.18f'; 0.5)", "string", "0.500000000000000000"},
      {"sprintf('%.19f'; 2.5)", "string", "2.50"},
      {"sprintf('%.19e'; 1234.5)", "string", "1.23450000000000E+003"},
      {"sprintf('%.1000g'; 0.5)", "string", "0.5"},
      {"sprintf('%.19m'; 1234.5)", "string", "$1,234.50"},
  };
  ExpectCases(cases);
}

TEST(StringFunctionsTest, SprintfEscapes) {
  EXPECT_EQ(TranslateSprintfEscapes("a\\nb"), "a\r\nb");
  EXPECT_EQ(TranslateSprintfEscapes("a\\tb"), "a\tb");
  EXPECT_EQ(TranslateSprintfEscapes("\\\\n"), "\\n");  // two backslashes and n: a backslash and n
  EXPECT_EQ(TranslateSprintfEscapes("%d and %5d"), "%1.0f and %5d");
  EXPECT_EQ(TranslateSprintfEscapes("%%d"), "%%1.0f");
  EXPECT_EQ(TranslateSprintfEscapes("\\"), "\\");
  EXPECT_EQ(TranslateSprintfEscapes(""), "");
  EXPECT_EQ(EvalText("sprintf('a\\nb')").Text, "a\r\nb");
}

TEST(StringFunctionsTest, SprintfWidthsUpToTheBoundPad) {
  const TOutcome out = EvalText("sprintf('%-1048576s|'; 'a')");
  EXPECT_TRUE(out.Errors.empty());
  EXPECT_EQ(out.Text, "a" + std::string((1 << 20) - 1, ' ') + "|");
}

TEST(StringFunctionsTest, SprintfFailuresKeepTheFormat) {
  for (std::string_view text : {"sprintf('%s'; true)", "sprintf('%s')", "sprintf('%5d'; 5)", "sprintf('%s'; 1)",
                                "sprintf('%f'; 'a')", "sprintf('%q'; 1)", "sprintf('%'; 1)", "sprintf('%p'; 1)",
                                "sprintf('%1048577s'; 'a')", "sprintf('%99999999s'; 'a')",
                                "sprintf('%9999999999s'; 'a')"}) {
    SCOPED_TRACE(std::string(text));
    const TOutcome out = EvalText(text);
    ASSERT_TRUE(out.Built);
    EXPECT_TRUE(out.HasError());
    ASSERT_EQ(out.Errors.size(), 1u);
    EXPECT_EQ(out.Errors.front(), kSprintfError);
    // The untranslated format text.
    const size_t open = text.find('\'');
    EXPECT_EQ(out.Text, text.substr(open + 1, text.find('\'', open + 1) - open - 1));
  }
  const TOutcome newline = EvalText("sprintf('\\n%s')");
  EXPECT_EQ(newline.Text, "\\n%s");
}

TEST(StringFunctionsTest, SprintfUsesTheExpressionsSeparators) {
  TFormatSettings comma = TestSettings();
  comma.DecimalSeparator = ',';
  comma.ThousandSeparator = '.';
  // The tokenizer reads numbers with the settings too: pass the double as a variable.
  const TOutcome out =
      EvalText("sprintf('%.2f|%n'; 1; x)", TVars().Add<TJUXVar_Double>("x", 1234.5), comma);
  EXPECT_TRUE(out.Errors.empty()) << out.Errors.front();
  EXPECT_EQ(out.Text, "1,00|1.234,50");
}

TEST(StringFunctionsTest, IntegerDirectivesTakeIntegerArguments) {
  const std::vector<TJUXVarRec> args = {int64_t{-42}, int64_t{255}, int64_t{7}};
  const TFormatSettings s = TestSettings();
  EXPECT_EQ(FormatJUXDirectives("%d|%x|%.3u", args, s), "-42|FF|007");
  EXPECT_EQ(FormatJUXDirectives("%.4d", std::vector<TJUXVarRec>{int64_t{-5}}, s), "-0005");
  // Zero padding goes up to 16 digits; a larger precision pads nothing.
  EXPECT_EQ(FormatJUXDirectives("%.16d", std::vector<TJUXVarRec>{int64_t{5}}, s), "0000000000000005");
  EXPECT_EQ(FormatJUXDirectives("%.17d", std::vector<TJUXVarRec>{int64_t{5}}, s), "5");
  EXPECT_EQ(FormatJUXDirectives("%*d", std::vector<TJUXVarRec>{int64_t{4}, int64_t{5}}, s), "   5");
  EXPECT_FALSE(FormatJUXDirectives("%d", std::vector<TJUXVarRec>{true}, s));
}

TEST(StringFunctionsTest, SetsAreTakenElementByElement) {
  using Texts = std::vector<std::string>;
  struct TRow {
    std::string_view Expression;
    Texts Want;
  } const rows[] = {
      {"uppercase(['a'; 'b'; 'c'])", {"A", "B", "C"}},
      {"lenstr(['a'; 'bb'])", {"1", "2"}},
      {"leftstr('abc'; [1; 2; 3])", {"a", "ab", "abc"}},
      {"midstr(['abc'; 'xyz']; 2; [1; 2])", {"b", "yz"}},
      {"replacestr(['aa'; 'ba']; 'a'; 'c')", {"cc", "bc"}},
      {"pos('b'; ['abc'; 'bcd'; 'xyz'])", {"2", "1", "0"}},
      {"sprintf('%s-%s'; ['a'; 'b']; 'x')", {"a-x", "b-x"}},
      {"editdist(['a'; 'ab']; 'abc')", {"2", "1"}},
      {"comparetext('b'; ['A'; 'B'; 'C'])", {"1", "0", "-1"}},
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(std::string(r.Expression));
    std::vector<std::string> errors;
    EXPECT_EQ(text_eval::EvalSet(r.Expression, &errors), r.Want);
    EXPECT_TRUE(errors.empty()) << errors.front();
  }
  std::vector<std::string> errors;
  text_eval::EvalSet("leftstr(['abc'; 'def'; 'ghi']; [1; 2])", &errors);
  ASSERT_FALSE(errors.empty());
  EXPECT_EQ(errors.front(), "Number of set-elements does not match");
}

TEST(StringFunctionsTest, TextGettersRefuseOtherValues) {
  const TOutcome out = EvalText("lenstr(5)");
  ASSERT_TRUE(out.Built);
  EXPECT_TRUE(out.HasKind(jeIncompatibleTypes));
  ASSERT_FALSE(out.Errors.empty());
  EXPECT_EQ(out.Errors.front(), "Incompatible types: \"string\" and \"integer\"");
  EXPECT_TRUE(EvalText("leftstr('abc'; 'x')").HasKind(jeIncompatibleTypes));
}

TEST(StringFunctionsTest, ParameterCounts) {
  for (std::string_view text : {"pos('a')", "pos('a'; 'b'; 1; 2)", "leftstr('a')", "midstr('a'; 1)",
                                "editdist('a')", "sprintf()"}) {
    SCOPED_TRACE(std::string(text));
    const TOutcome out = EvalText(text);
    EXPECT_FALSE(out.Built);
    ASSERT_FALSE(out.Errors.empty());
    EXPECT_TRUE(out.Errors.front().find("parameters for function") != std::string::npos) << out.Errors.front();
  }
}

}  // namespace
