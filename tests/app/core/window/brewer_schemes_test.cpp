// Reading the scheme table: the schemes and their palettes, the field rules,
// line ends, format problems, and the table the tool ships.
#include "app/core/window/brewer_schemes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/core/window/num_colors_limit.h"
#include "palette/custom_palette.h"

namespace {

const std::string kFixture = TEST_DATA_DIR "/brewer_small.txt";
const std::string kShipped = TEST_DATA_DIR "/../../../data/ColorBrewer_all_schemes.txt";

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Names(const TBrewerSchemes& schemes) {
  std::vector<std::string> names;
  for (const auto& s : schemes) names.push_back(s->GetName());
  return names;
}

std::vector<TRGB> Keys(const TColorPalette& scheme) {
  std::vector<TRGB> keys(scheme.CustPal().GetKeyCount());
  for (int i = 0; i < static_cast<int>(keys.size()); ++i) scheme.CustPal().GetKey(i, keys[i]);
  return keys;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
  return text;
}

const std::vector<std::string> kFixtureNames = {
    "s Blues", "s Blues", "s Blues", "s Greens", "s Greens", "d RdBu", "d RdBu", "d RdBu",
    "d PuOr",  "d PuOr",  "q Set1",  "q Set1",   "s Mixed",  "q Mixed", "sunny",  "Plain"};

}  // namespace

TEST(BrewerSchemes, FixtureGivesCustomPalettesInFileOrder) {
  const TColorSettings settings;
  const TBrewerLoadResult r = LoadBrewerPalettes(kFixture, &settings);
  EXPECT_TRUE(r.HeaderFound);
  EXPECT_EQ(r.Problem, "");
  // Nothing after the end marker is read.
  ASSERT_EQ(Names(r.Schemes), kFixtureNames);
  const std::vector<int> counts = {3, 4, 5, 3, 4, 4, 5, 6, 6, 7, 3, 4, 3, 7, 3, 2};
  for (size_t j = 0; j < r.Schemes.size(); ++j) {
    SCOPED_TRACE(j);
    const TColorPalette& s = *r.Schemes[j];
    EXPECT_EQ(s.Typ(), ptCustom);
    EXPECT_EQ(s.CustPal().ColorSettings(), &settings);
    EXPECT_EQ(s.CustPal().InterpolationMethod(), imCIELUV);
    EXPECT_EQ(s.GetNumColors(), counts[j]);
    // Key k of scheme j is (j, k, 200 + j) in the fixture.
    const std::vector<TRGB> keys = Keys(s);
    ASSERT_EQ(static_cast<int>(keys.size()), counts[j]);
    for (int k = 0; k < counts[j]; ++k)
      EXPECT_EQ(keys[k], (TRGB{double(j), double(k), 200.0 + j}));
  }
}

TEST(BrewerSchemes, LineEndsAndFieldRules) {
  const std::string lf = FileText(kFixture);
  ASSERT_FALSE(lf.empty());
  const std::string variants[] = {lf, Replaced(lf, "\n", "\r\n"), Replaced(lf, "\n", "\r"),
                                  "\xEF\xBB\xBF" + lf};
  for (const std::string& text : variants) {
    const TBrewerLoadResult r = ReadBrewerSchemesText(text, nullptr);
    EXPECT_EQ(r.Problem, "");
    ASSERT_EQ(Names(r.Schemes), kFixtureNames);
    EXPECT_EQ(Keys(*r.Schemes[15])[1], (TRGB{15, 1, 215}));
  }

  // Blanks and tabs before a field are skipped, so empty fields do not
  // count; fields are trimmed of control characters; anything after the
  // needed fields is ignored; the header's rest is free text.
  const TBrewerLoadResult r = ReadBrewerSchemesText(
      "ColorNameXYZ anything\n"
      "\t  Odd One\t\t 2 \t\tdiv\textra\tfields\n"
      "\t\tx\t\ty\t\t 7\t8\v\t9\tignored\n"
      " a\tb\t-1\t300\t0\n"
      "EndOfPalettes\t\n",
      nullptr);
  EXPECT_EQ(r.Problem, "");
  ASSERT_EQ(Names(r.Schemes), std::vector<std::string>{"d Odd One"});
  // Colours are kept as read, also outside 0..255.
  EXPECT_EQ(Keys(*r.Schemes[0]), (std::vector<TRGB>{{7, 8, 9}, {-1, 300, 0}}));
}

TEST(BrewerSchemes, NoFileOrNoHeaderGivesNoSchemesSilently) {
  const TBrewerLoadResult missing = LoadBrewerPalettes(TEST_DATA_DIR "/no_such_file.txt", nullptr);
  EXPECT_TRUE(missing.Schemes.empty());
  EXPECT_FALSE(missing.HeaderFound);
  EXPECT_EQ(missing.Problem, "");
  for (const char* text : {"", "colorName\nBlues\t1\tseq\n1\tA\t1\t2\t3\nEndOfPalettes\n",
                           "ColorNam\n", "\n" "ColorName\n"}) {
    SCOPED_TRACE(text);
    const TBrewerLoadResult r = ReadBrewerSchemesText(text, nullptr);
    EXPECT_TRUE(r.Schemes.empty());
    EXPECT_FALSE(r.HeaderFound);
    EXPECT_EQ(r.Problem, "");
  }
}

TEST(BrewerSchemes, FormatProblemKeepsCompleteSchemesAndNamesTheLine) {
  const std::string head = "ColorName\nA\t1\tseq\n1\tx\t1\t2\t3\n";
  struct TCase {
    std::string Rest;
    std::string Problem;
  };
  const TCase cases[] = {
      {"B\tmany\tseq\n", "t.txt, line 4: 'many' is not a valid integer value. Schemes read before it: 1."},
      {"B\t1\tseq\n1\tx\t1\t2.5\t3\nEndOfPalettes\n", "line 5: '2.5' is not a valid integer value"},
      {"B\t2\tseq\n1\tx\t1\t2\t3\n1\tx\t1\t2\n", "line 6: blue value missing"},
      {"B\t1\tseq\n1\t1\t2\t3\n", "line 5: blue value missing"},
      // Leading tabs make no empty fields: 1 and 2 are the ignored ones.
      {"B\t1\tseq\n\t\t\t1\t2\t3\n", "line 5: green value missing"},
      {"B\t1\n1\tx\t1\t2\t3\n", "line 4: scheme type missing"},
      {"B\t-2\tseq\n", "line 4: negative colour count"},
      // Counts above the limit are refused before any colour line is read.
      {"B\t" + std::to_string(kMaxNumColors + 1) + "\tseq\n1\tx\t1\t2\t3\n",
       "t.txt, line 4: colour count " + std::to_string(kMaxNumColors + 1) + " above the largest the tool takes, " +
           std::to_string(kMaxNumColors) + ". Schemes read before it: 1."},
      {"B\t2147483647\tseq\n", "line 4: colour count 2147483647 above the largest"},
      {"\nEndOfPalettes\n", "line 4: scheme name missing"},
      {"", "line 4: the file ends without \"EndOfPalettes\""},
      {"B\t3\tseq\n1\tx\t1\t2\t3\n", "line 6: the file ends inside scheme \"B\""},
      {"B\t1\tseq", "line 4: the file ends inside scheme \"B\""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Rest);
    const TBrewerLoadResult r = ReadBrewerSchemesText(head + c.Rest, nullptr, "t.txt");
    EXPECT_NE(r.Problem.find(c.Problem), std::string::npos) << r.Problem;
    EXPECT_EQ(Names(r.Schemes), std::vector<std::string>{"s A"});
  }
}

TEST(BrewerSchemes, FilesUpToTheSizeLimitAreReadLargerOnesRefused) {
  // A scheme of the largest count (one byte short of the limit, padded in
  // its end line), then the same file one byte larger.
  std::string text = "ColorName\nBig\t" + std::to_string(kMaxNumColors) + "\tseq\n";
  for (int k = 0; k < kMaxNumColors; ++k) text += "1\tx\t1\t2\t3\n";
  text += "EndOfPalettes\n";
  ASSERT_LT(text.size(), kMaxBrewerFileBytes);
  text.insert(text.size() - 1, kMaxBrewerFileBytes - text.size(), ' ');
  const std::string path = ::testing::TempDir() + "brewer_size_limit.txt";
  for (const std::size_t size : {kMaxBrewerFileBytes, kMaxBrewerFileBytes + 1}) {
    SCOPED_TRACE(size);
    std::ofstream(path, std::ios::binary) << text << std::string(size - text.size(), '\n');
    const TBrewerLoadResult r = LoadBrewerPalettes(path, nullptr);
    if (size <= kMaxBrewerFileBytes) {
      EXPECT_EQ(r.Problem, "");
      ASSERT_EQ(r.Schemes.size(), 1u);
      EXPECT_EQ(r.Schemes[0]->GetNumColors(), kMaxNumColors);
      EXPECT_EQ(r.Schemes[0]->CustPal().GetKeyCount(), kMaxNumColors);
    } else {
      EXPECT_TRUE(r.Schemes.empty());
      EXPECT_EQ(r.Problem, path + " is larger than " + std::to_string(kMaxBrewerFileBytes) + " bytes; no scheme was read.");
    }
  }
  std::remove(path.c_str());
}

TEST(BrewerSchemes, UnreadablePathIsAProblem) {
  const TBrewerLoadResult r = LoadBrewerPalettes(TEST_DATA_DIR, nullptr);
  EXPECT_TRUE(r.Schemes.empty());
  EXPECT_NE(r.Problem.find("Cannot open"), std::string::npos) << r.Problem;
}

TEST(BrewerSchemes, ShippedTableHoldsEveryScheme) {
  const TBrewerLoadResult r = LoadBrewerPalettes(kShipped, nullptr);
  ASSERT_EQ(r.Problem, "");
  ASSERT_EQ(r.Schemes.size(), 265u);

  // Largest size of each scheme, with its type prefix; each scheme's sizes
  // run from 3 up to it without a gap, in file order.
  std::vector<std::pair<std::string, int>> largest;
  for (const auto& s : r.Schemes) {
    const std::string& name = s->GetName();
    EXPECT_EQ(s->CustPal().GetKeyCount(), s->GetNumColors()) << name;
    if (largest.empty() || largest.back().first != name) {
      EXPECT_EQ(s->GetNumColors(), 3) << name;
      largest.emplace_back(name, 3);
    } else {
      EXPECT_EQ(s->GetNumColors(), ++largest.back().second) << name;
    }
  }
  const std::vector<std::pair<std::string, int>> expected = {
      {"s BuGn", 9},    {"s BuPu", 9},     {"s GnBu", 9},     {"s OrRd", 9},     {"s PuBu", 9},
      {"s PuBuGn", 9},  {"s PuRd", 9},     {"s RdPu", 9},     {"s YlGn", 9},     {"s YlGnBu", 9},
      {"s YlOrBr", 9},  {"s YlOrRd", 9},   {"s Blues", 9},    {"s Greens", 9},   {"s Greys", 9},
      {"s Oranges", 9}, {"s Purples", 9},  {"s Reds", 9},     {"d BrBG", 11},    {"d PiYG", 11},
      {"d PRGn", 11},   {"d PuOr", 11},    {"d RdBu", 11},    {"d RdGy", 11},    {"d RdYlBu", 11},
      {"d RdYlGn", 11}, {"d Spectral", 11}, {"q Accent", 8},  {"q Dark2", 8},    {"q Paired", 12},
      {"q Pastel1", 9}, {"q Pastel2", 8},  {"q Set1", 9},     {"q Set2", 8},     {"q Set3", 12}};
  EXPECT_EQ(largest, expected);

  // A few schemes against the published values.
  const auto find = [&](const std::string& name, int n) -> const TColorPalette& {
    for (const auto& s : r.Schemes)
      if (s->GetName() == name && s->GetNumColors() == n) return *s;
    throw std::runtime_error("no scheme " + name);
  };
  // #eff3ff #bdd7e7 #6baed6 #3182bd #08519c
  EXPECT_EQ(Keys(find("s Blues", 5)), (std::vector<TRGB>{{0xef, 0xf3, 0xff}, {0xbd, 0xd7, 0xe7},
                                                          {0x6b, 0xae, 0xd6}, {0x31, 0x82, 0xbd},
                                                          {0x08, 0x51, 0x9c}}));
  // #f7fcb9 #addd8e #31a354
  EXPECT_EQ(Keys(find("s YlGn", 3)),
            (std::vector<TRGB>{{0xf7, 0xfc, 0xb9}, {0xad, 0xdd, 0x8e}, {0x31, 0xa3, 0x54}}));
  // Spectral 11 begins with #9e0142; Set3 12 ends with #ffed6f.
  EXPECT_EQ(Keys(find("d Spectral", 11)).front(), (TRGB{0x9e, 0x01, 0x42}));
  EXPECT_EQ(Keys(find("q Set3", 12)).back(), (TRGB{0xff, 0xed, 0x6f}));
}
