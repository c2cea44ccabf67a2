#include "eval/values/derived_vars.h"

#include <gtest/gtest.h>

#include "eval/language/expression.h"
#include "eval/test_host.h"
#include "eval/values/date_format.h"

namespace {

TFormatSettings DaySettings() {
  TFormatSettings s = UserFormatSettings();
  s.DecimalSeparator = '.';
  s.DateSeparator = '/';
  s.TimeSeparator = ':';
  s.ShortDateFormat = "dd/mm/yyyy";
  s.LongTimeFormat = "hh:mm:ss";
  s.TimeAMString.clear();
  s.TimePMString.clear();
  s.ShortDayNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
  s.LongDayNames = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
  return s;
}

TEST(JUXDerivedVars, DateAndTimeTexts) {
  const TFormatSettings s = DaySettings();
  EXPECT_EQ(TJUXVar_Date(45000.0L).ToText(s), "15/03/2023");
  EXPECT_EQ(TJUXVar_DateTime(45000.5L).ToText(s), "15/03/2023 12:00:00");
  EXPECT_EQ(TJUXVar_DateTime(45000.0L).ToText(s), "15/03/2023");
  EXPECT_EQ(TJUXVar_Date(0.0L).ToText(s), "30/12/1899");
  EXPECT_EQ(TJUXVar_Time(0.75L).ToText(s), "18:00:00");
  // "mm" after an hour is minutes, elsewhere the month.
  EXPECT_EQ(TJUXVar_Time((6 * 3600 + 30 * 60 + 15) / 86400.0L).ToText(s), "06:30:15");
  EXPECT_EQ(JUXDateTimeString("yyyy-mm-dd h:mm 'at' d/m", 45000.25, s), "2023-03-15 6:00 at 15/3");
  EXPECT_EQ(JUXDateTimeString("hh:nn ampm", 45000.75, [&] {
              TFormatSettings t = s;
              t.TimePMString = "PM";
              return t;
            }()),
            "06:00 PM");
  EXPECT_EQ(TJUXVar_Percentage(50.0L).ToText(s), "50%");
  EXPECT_EQ(TJUXVar_Percentage(0.5L).ToText(s), "0.5%");
}

// The value classes write through the same formatter as the date functions:
// markers keep the case written, "aaa" is a day name, "gg" the era.
TEST(JUXDerivedVars, TextsFollowTheDateFunctionFormats) {
  TFormatSettings s = DaySettings();
  s.ShortDateFormat = "aaa dd/mm/yyyy gg";
  s.LongTimeFormat = "h:nn:ss Am/Pm";
  EXPECT_EQ(TJUXVar_Date(45000.0L).ToText(s), "Wed 15/03/2023 A.D.");
  EXPECT_EQ(TJUXVar_Time(0.75L).ToText(s), "6:00:00 Pm");
  EXPECT_EQ(TJUXVar_DateTime(45000.0L + 0.25L).ToText(s), "Wed 15/03/2023 A.D. 6:00:00 Am");
}

TEST(JUXDerivedVars, DateTextReadsBack) {
  TJUXExpr_Root sink;
  sink.FormatSettings() = DaySettings();
  for (double value : {45000.0, 1.0, 36526.0, 2958465.0}) {
    SCOPED_TRACE(value);
    TJUXVar_String text(TJUXVar_Date(value).ToText(sink.FormatSettings()));
    TJUXVar_Date date;
    text.CastToDate(date, &sink);
    EXPECT_EQ(static_cast<double>(date.Value()), value);
  }
  TJUXVar_String text(TJUXVar_DateTime(45000.5L).ToText(sink.FormatSettings()));
  TJUXVar_DateTime moment;
  text.CastToDateTime(moment, &sink);
  EXPECT_NEAR(static_cast<double>(moment.Value()), 45000.5, 1e-9);
  TJUXVar_Time time;
  TJUXVar_String("06:30:15").CastToTime(time, &sink);
  EXPECT_NEAR(static_cast<double>(time.Value()), (6 * 3600 + 30 * 60 + 15) / 86400.0, 1e-12);
  EXPECT_TRUE(sink.Errors().empty());

  TJUXVar_Date date;
  TJUXVar_String("31/02/2023").CastToDate(date, &sink);  // no such day
  EXPECT_EQ(sink.Errors().size(), 1u);
}

TEST(JUXDerivedVars, DateTimeSplitsDaysAndFraction) {
  const TJUXVar_DateTime v(-1.25L);
  EXPECT_EQ(v.AsDate(nullptr), -1.0);
  EXPECT_EQ(v.AsTime(nullptr), -0.25);
  // A time answers AsDate with its value (inherited from the double).
  EXPECT_EQ(TJUXVar_Time(0.3L).AsDate(nullptr), 0.3);
  // A date answers AsCurrency with its day number.
  EXPECT_EQ(TJUXVar_Date(45000.0L).AsCurrency(nullptr), 45000.0);
  TJUXExpr_Root sink;
  TJUXVar_Date(1.0L).AsTime(&sink);
  EXPECT_EQ(sink.Errors().at(0), "Incompatible types: \"time\" and \"date\"");
}

TEST(JUXDerivedVars, DurationText) {
  const TFormatSettings& clock = UserFormatSettings24h();
  const char sep = clock.TimeSeparator;
  auto t = [sep](std::string text) {
    for (char& c : text)
      if (c == ':') c = sep;
    return text;
  };
  const std::pair<double, std::string> cases[] = {
      {0.25, t("06:00:00")},          {1.5, t("1 day, 12:00:00")},   {2.25, t("2 days, 06:00:00")},
      {-1.5, t("- 1 day, 12:00:00")}, {1.0, t("1 day, 00:00:00")},   {0.5, t("12:00:00")},
      {-0.5, t("- 12:00:00")},        {0.99999, t("0 day, 23:59:59")},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(TJUXVar_Duration(value).ToText(DaySettings()), text) << value;
}

TEST(JUXDerivedVars, CurrencyUsesLocaleMoneyFormat) {
  TFormatSettings s = DaySettings();
  s.CurrencyString = "EUR";
  s.CurrencyDecimals = 2;
  s.ThousandSeparator = '.';
  s.DecimalSeparator = ',';
  s.CurrencyFormat = 3;  // "1 $"
  s.NegCurrFormat = 8;   // "-1 $"
  EXPECT_EQ(TJUXVar_Currency(-1234.5L).ToText(s), "-1.234,50 EUR");
  EXPECT_EQ(TJUXVar_Currency(1234567.125L).ToText(s), "1.234.567,12 EUR");
  s.NegCurrFormat = 0;  // "($1)"
  s.CurrencyString = "$";
  EXPECT_EQ(TJUXVar_Currency(-5.0L).ToText(s), "($5,00)");
  EXPECT_EQ(TJUXVar_Currency(-0.001L).ToText(s), "0,00 $");  // rounds to zero: no sign
}

TEST(JUXDerivedVars, PercentageCastRoundTrip) {
  TJUXExpr_Root sink;
  sink.FormatSettings().DecimalSeparator = '.';
  TJUXVar_Percentage p;
  TJUXVar_String("50%").CastToPercentage(p, &sink);
  EXPECT_EQ(static_cast<double>(p.Value()), 0.5);
  EXPECT_EQ(p.ToText(sink.FormatSettings()), "0.5%");
}

class JUXScopeVar : public ::testing::Test {
 protected:
  JUXScopeVar() : Host(10) { Host.BuildTree({{7, 2}, {7}}); }
  eval_test::TTestHost Host;
};

TEST_F(JUXScopeVar, TextAndMissingNode) {
  TJUXVar_Scope none;
  EXPECT_EQ(none.ToText(DaySettings()), "Node");
  TJUXVar_Boolean eq(true), ne(true);
  const auto other = TJUXVar_Scope::CreateWithNode(&Host.Root());
  none.OpEqual(eq, *other, nullptr);
  none.OpNotEqual(ne, *other, nullptr);
  EXPECT_FALSE(eq.Value());
  EXPECT_FALSE(ne.Value());
  // A group without a grouping attribute shows the node's class string.
  EXPECT_EQ(TJUXVar_Scope::CreateWithNode(&Host.Group(0))->ToText(DaySettings()), "Node in cluster \"No class string\"");
  EXPECT_EQ(TJUXVar_Scope::CreateWithNode(&Host.Root())->ToText(DaySettings()), "Node");
}

TEST_F(JUXScopeVar, EqualityByIdentityOrRecord) {
  TTreeMapNode& a = Host.Record(0, 0);  // record 7
  TTreeMapNode& b = Host.Record(1, 0);  // record 7 too, another node
  const auto refA = TJUXVar_Scope::CreateWithNode(&a);
  const auto refB = TJUXVar_Scope::CreateWithNode(&b);
  TJUXVar_Boolean eq;
  refA->OpEqual(eq, *refB, nullptr);
  EXPECT_FALSE(eq.Value());

  auto privateNode = TTreeMapNode::CreateRoot(7, nullptr, nullptr);
  const auto owning = TJUXVar_Scope::CreateWithNode(std::move(privateNode));
  owning->OpEqual(eq, *refB, nullptr);
  EXPECT_TRUE(eq.Value());
  refA->OpEqual(eq, *owning, nullptr);
  EXPECT_TRUE(eq.Value());
  TJUXVar_Boolean ne(true);
  refA->OpNotEqual(ne, *owning, nullptr);
  EXPECT_FALSE(ne.Value());

  TJUXExpr_Root sink;
  refA->OpEqual(eq, TJUXVar_Integer(7), &sink);
  EXPECT_FALSE(eq.Value());
  EXPECT_EQ(sink.Errors().at(0), "Incompatible types: \"scope\" and \"integer\"");
}

TEST_F(JUXScopeVar, CloneOfPrivateNodeOwnsItsOwnCopy) {
  auto node = TTreeMapNode::CreateRoot(3, nullptr, &Host.Data);
  auto owning = TJUXVar_Scope::CreateWithNode(std::move(node));
  std::unique_ptr<TJUXVar> copy = owning->Clone();
  ASSERT_TRUE(copy->OwnsNode());
  TTreeMapNode* copied = copy->AsScope(nullptr);
  EXPECT_NE(copied, owning->Node());
  EXPECT_EQ(copied->RecordIndex(), 3);
  EXPECT_EQ(copied->DataSource(), &Host.Data);
  owning.reset();  // freeing one does not affect the other (checked under ASan)
  EXPECT_EQ(copy->AsScope(nullptr)->RecordIndex(), 3);

  // A copy of a reference is the same reference.
  const auto ref = TJUXVar_Scope::CreateWithNode(&Host.Group(1));
  const std::unique_ptr<TJUXVar> refCopy = ref->Clone();
  EXPECT_FALSE(refCopy->OwnsNode());
  EXPECT_EQ(refCopy->AsScope(nullptr), &Host.Group(1));
}

TEST_F(JUXScopeVar, AssignAndSetScopeHandOwnership) {
  auto owning = TJUXVar_Scope::CreateWithNode(TTreeMapNode::CreateRoot(1, nullptr, nullptr));
  TTreeMapNode* const privateNode = owning->Node();
  // Owning from owning: the private node stays and takes the record.
  owning->Assign(*TJUXVar_Scope::CreateWithNode(TTreeMapNode::CreateRoot(5, nullptr, nullptr)), nullptr);
  EXPECT_EQ(owning->Node(), privateNode);
  EXPECT_EQ(owning->Node()->RecordIndex(), 5);
  // From a reference: the private node is freed, the value references.
  owning->Assign(*TJUXVar_Scope::CreateWithNode(&Host.Record(0, 1)), nullptr);
  EXPECT_FALSE(owning->OwnsNode());
  EXPECT_EQ(owning->Node(), &Host.Record(0, 1));

  auto again = TJUXVar_Scope::CreateWithNode(TTreeMapNode::CreateRoot(1, nullptr, nullptr));
  again->SetScope(&Host.Root(), nullptr);
  EXPECT_FALSE(again->OwnsNode());
  EXPECT_EQ(again->AsScope(nullptr), &Host.Root());
  again.reset();  // does not free the tree's node
  EXPECT_EQ(Host.Root().ChildCount(), 2);

  // A scope refuses numbers and all casts but to string.
  TJUXExpr_Root sink;
  TJUXVar_Integer dest;
  TJUXVar_Scope().CastToInteger(dest, &sink);
  EXPECT_EQ(sink.Errors().at(0), "Invalid typecast, from \"Scope\" to \"integer\"");
}

}  // namespace
