// The "Brewer" tab's filters over the fixture table: what passes, and what
// the type, number and name combos list and select.
#include "app/core/window/brewer_selection.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/core/window/num_colors_limit.h"
#include "app/core/window/typed_numbers.h"

namespace {

using TItems = std::vector<std::string>;

// Fixture schemes (name: sizes): s Blues 3-5, s Greens 3-4, d RdBu 4-6,
// d PuOr 6-7, q Set1 3-4, s Mixed 3, q Mixed 7, "sunny" (type word "warm") 3,
// "Plain" (type word "other") 2.
class BrewerSelection : public ::testing::Test {
 protected:
  void SetUp() override {
    TBrewerLoadResult r = LoadBrewerPalettes(TEST_DATA_DIR "/brewer_small.txt", nullptr);
    ASSERT_EQ(r.Problem, "");
    FSchemes = std::move(r.Schemes);
  }

  // name:count of each passing scheme.
  static TItems Passing(const TBrewerSelection& s) {
    TItems out;
    for (const TColorPalette* p : s.Filtered)
      out.push_back(p->GetName() + ":" + std::to_string(p->GetNumColors()));
    return out;
  }

  TBrewerSelection Select(const TBrewerFilter& previous, int typeIndex, const std::string& number,
                          const std::string& name) const {
    return SelectBrewerSchemes(FSchemes, previous, {typeIndex, number, name});
  }

  TBrewerSchemes FSchemes;
};

}  // namespace

void PrintTo(const TBrewerFilter& f, std::ostream* os) {
  *os << "{" << int(f.Type) << ", " << f.NumColors << ", \"" << f.Name << "\"}";
}

static_assert(BrewerTypeFromIndex(0) == 0 && BrewerTypeFromIndex(1) == ptSeq &&
              BrewerTypeFromIndex(2) == ptDiv && BrewerTypeFromIndex(3) == ptQual &&
              BrewerTypeFromIndex(4) == 0 && BrewerTypeFromIndex(-1) == 0);
static_assert(BrewerIndexFromType(0) == 0 && BrewerIndexFromType(ptSeq) == 1 &&
              BrewerIndexFromType(ptDiv) == 2 && BrewerIndexFromType(ptQual) == 3 &&
              BrewerIndexFromType(ptCustom) == 0);

TEST_F(BrewerSelection, StartUpNarrowsToSequentialFiveColours) {
  // The form shows "Sequential", "5", "All"; the fields start at 0, 5, "All".
  const TBrewerSelection s = Select({0, 5, "All"}, 1, "5", "All");
  EXPECT_EQ(s.Filter, (TBrewerFilter{ptSeq, 5, "All"}));
  ASSERT_TRUE(s.RebuildNames);
  EXPECT_EQ(s.NameItems, (TItems{"All", "Blues"}));
  ASSERT_TRUE(s.RebuildNumbers);
  // "sunny" reads as sequential by its first letter.
  EXPECT_EQ(s.NumberItems, (TItems{"All", "3", "4", "5"}));
  EXPECT_EQ(Passing(s), (TItems{"s Blues:5"}));
  EXPECT_EQ(s.TypeIndex, 1);
  EXPECT_EQ(s.NameText, "All");
  EXPECT_EQ(s.NumberText, "5");
}

TEST_F(BrewerSelection, ChoosingATypeClampsTheNumberAndResetsTheName) {
  struct TCase {
    int TypeIndex;
    std::string Number, Name;
    TBrewerFilter Expected;
    TItems Numbers, Names, Passing;
  };
  const TCase cases[] = {
      // Diverging counts are 4..7: 3 moves up to 4; the name resets to "All".
      {2, "3", "Blues", {ptDiv, 4, "All"}, {"All", "4", "5", "6", "7"}, {"All", "RdBu"}, {"d RdBu:4"}},
      // Qualitative counts are 3..7: 9 moves down to 7.
      {3, "9", "All", {ptQual, 7, "All"}, {"All", "3", "4", "5", "6", "7"}, {"All", "Mixed"}, {"q Mixed:7"}},
      // "All" colours stays "All"; each name is listed once per run of sizes.
      {2, "All", "All", {ptDiv, -1, "All"}, {"All", "4", "5", "6", "7"}, {"All", "RdBu", "PuOr"},
       {"d RdBu:4", "d RdBu:5", "d RdBu:6", "d PuOr:6", "d PuOr:7"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.TypeIndex);
    const TBrewerSelection s = Select({ptSeq, 5, "Blues"}, c.TypeIndex, c.Number, c.Name);
    EXPECT_EQ(s.Filter, c.Expected);
    EXPECT_TRUE(s.RebuildNumbers && s.RebuildNames);
    EXPECT_EQ(s.NumberItems, c.Numbers);
    EXPECT_EQ(s.NameItems, c.Names);
    EXPECT_EQ(Passing(s), c.Passing);
    EXPECT_EQ(s.NumberText, c.Expected.NumColors == -1 ? "All" : std::to_string(c.Expected.NumColors));
    EXPECT_EQ(s.NameText, "All");
  }
}

TEST_F(BrewerSelection, ChoosingANameSetsTheRangeToThatName) {
  // PuOr has 6 and 7 colours: 4 moves to 6, 9 moves to 7.
  for (const auto& [number, clamped] : {std::pair{"4", 6}, std::pair{"9", 7}, std::pair{"7", 7}}) {
    SCOPED_TRACE(number);
    const TBrewerSelection s = Select({ptDiv, std::stoi(number), "All"}, 2, number, "PuOr");
    EXPECT_EQ(s.Filter, (TBrewerFilter{ptDiv, clamped, "PuOr"}));
    EXPECT_TRUE(s.RebuildNumbers);
    EXPECT_EQ(s.NumberItems, (TItems{"All", "6", "7"}));
    // Neither the type nor the number combo changed: the name list stays.
    EXPECT_FALSE(s.RebuildNames);
    EXPECT_EQ(Passing(s), (TItems{"d PuOr:" + std::to_string(clamped)}));
    EXPECT_EQ(s.NameText, "PuOr");
  }

  // With type "All" the range covers the name's schemes of every type.
  const TBrewerSelection all = Select({0, -1, "All"}, 0, "All", "Mixed");
  EXPECT_EQ(all.NumberItems, (TItems{"All", "3", "4", "5", "6", "7"}));
  EXPECT_EQ(Passing(all), (TItems{"s Mixed:3", "q Mixed:7"}));
}

TEST_F(BrewerSelection, OddTypeWordsKeepTheBareName) {
  // "Plain" is found only with type "All"; its stripped name drops "Pl".
  const TBrewerSelection all = Select({ptSeq, 2, "All"}, 0, "2", "All");
  EXPECT_EQ(all.NameItems, (TItems{"All", "ain"}));
  EXPECT_EQ(Passing(all), (TItems{"Plain:2"}));
  for (int typeIndex : {1, 2, 3}) {
    SCOPED_TRACE(typeIndex);
    const TBrewerSelection typed = Select({0, 2, "All"}, typeIndex, "All", "All");
    for (const TColorPalette* p : typed.Filtered) EXPECT_NE(p->GetName(), "Plain");
  }
  // "sunny" starts with "s", so it is sequential, listed as "nny".
  const TBrewerSelection seq = Select({ptSeq, 5, "All"}, 1, "3", "All");
  EXPECT_EQ(seq.NameItems, (TItems{"All", "Blues", "Greens", "Mixed", "nny"}));
  EXPECT_EQ(Passing(seq), (TItems{"s Blues:3", "s Greens:3", "s Mixed:3", "sunny:3"}));
}

TEST_F(BrewerSelection, ChoosingOnlyANumberKeepsIt) {
  const TBrewerSelection s = Select({ptSeq, 5, "All"}, 1, "4", "All");
  EXPECT_EQ(s.Filter, (TBrewerFilter{ptSeq, 4, "All"}));
  EXPECT_FALSE(s.RebuildNumbers);
  EXPECT_TRUE(s.RebuildNames);
  EXPECT_EQ(s.NameItems, (TItems{"All", "Blues", "Greens"}));
  EXPECT_EQ(s.NumberText, "4");
  EXPECT_EQ(Passing(s), (TItems{"s Blues:4", "s Greens:4"}));

  // A name kept while the number changes filters within that name.
  const TBrewerSelection named = Select({ptSeq, 5, "Blues"}, 1, "3", "Blues");
  EXPECT_EQ(Passing(named), (TItems{"s Blues:3"}));
  EXPECT_EQ(named.NameText, "Blues");
}

TEST_F(BrewerSelection, EmptyRangeFallsBackToAllColours) {
  // Without schemes, start-up leaves the number on "All", so the next change
  // reads a valid number text.
  const TBrewerSchemes none;
  const TBrewerSelection first = SelectBrewerSchemes(none, {0, 5, "All"}, {1, "5", "All"});
  EXPECT_EQ(first.Filter, (TBrewerFilter{ptSeq, -1, "All"}));
  EXPECT_EQ(first.NumberItems, (TItems{"All"}));
  EXPECT_EQ(first.NameItems, (TItems{"All"}));
  EXPECT_EQ(first.NumberText, "All");
  EXPECT_TRUE(first.Filtered.empty());
  const TBrewerSelection next =
      SelectBrewerSchemes(none, first.Filter, {2, first.NumberText, first.NameText});
  EXPECT_EQ(next.Filter, (TBrewerFilter{ptDiv, -1, "All"}));

  // A name that no scheme of the type has.
  const TBrewerSelection s = Select({ptDiv, 5, "All"}, 2, "5", "Blues");
  EXPECT_EQ(s.Filter, (TBrewerFilter{ptDiv, -1, "Blues"}));
  EXPECT_EQ(s.NumberItems, (TItems{"All"}));
  EXPECT_TRUE(s.Filtered.empty());
}

TEST_F(BrewerSelection, NumberTextThatIsNoIntegerRaises) {
  try {
    Select({ptSeq, 5, "All"}, 1, "", "All");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'' is not a valid integer value");
  }
}

TEST(BrewerSelectionLimit, TheNumberListHoldsAtMostTheLimitPlusTwoItems) {
  // Schemes of 0 and of the largest count; one above it ends the table there.
  std::string text = "ColorName\nZero\t0\tseq\nBig\t" + std::to_string(kMaxNumColors) + "\tseq\n";
  for (int k = 0; k < kMaxNumColors; ++k) text += "1\tx\t1\t2\t3\n";
  text += "Over\t" + std::to_string(kMaxNumColors + 1) + "\tseq\nEndOfPalettes\n";
  const TBrewerLoadResult r = ReadBrewerSchemesText(text, nullptr);
  EXPECT_NE(r.Problem.find("above the largest"), std::string::npos) << r.Problem;
  ASSERT_EQ(r.Schemes.size(), 2u);
  const TBrewerSelection s = SelectBrewerSchemes(r.Schemes, {0, -1, "All"}, {1, "All", "All"});
  ASSERT_TRUE(s.RebuildNumbers);
  ASSERT_EQ(s.NumberItems.size(), static_cast<size_t>(kMaxNumColors) + 2);
  EXPECT_EQ(s.NumberItems[1], "0");
  EXPECT_EQ(s.NumberItems.back(), std::to_string(kMaxNumColors));
}
