#include "eval/functions/casts/cast_functions.h"
#include "eval/functions/casts/clock_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "eval/functions/tree_eval_helper.h"
#include "eval/test_host.h"

namespace {

using eval_test::TTestHost;
using tree_eval::TTreeEval;
using TList = std::vector<std::string>;

// Records 0..3 with x = 3, 1, 5, 4 and the texts name = "1", "b", "3", "4";
// groups: {0, 1}, {} (no records), {2, 3}.
class CastFixture : public ::testing::Test {
 protected:
  CastFixture() : Host(4) {
    Host.AddNumber("x", atInteger, {3, 1, 5, 4});
    Host.AddNumber("big", atDouble, {1e9 + 1, 1e9 + 2, 1e9 + 3, 1e9 + 4});
    Host.AddText("name", {"1", "b", "3", "4"});
    Host.BuildTree({{0, 1}, {}, {2, 3}});
  }

  // A root with fixed date and time formats.
  static void FixFormats(TTreeEval& eval) {
    TFormatSettings& fs = eval.Root().FormatSettings();
    fs.DateSeparator = '/';
    fs.TimeSeparator = ':';
    fs.ShortDateFormat = "dd/mm/yyyy";
    fs.LongTimeFormat = "hh:mm:ss";
  }

  TTestHost Host;
};

struct TValueCase {
  const char* Text;
  const char* Type;
  const char* Result;
};

TEST_F(CastFixture, ValuesOfCastsConditionalsAndAggregates) {
  const TValueCase cases[] = {
      {"integer('12')", "integer", "12"},
      {"integer(2.7)", "integer", "2"},
      {"double(3)", "double", "3"},
      {"boolean(0)", "boolean", "False"},
      {"boolean(2)", "boolean", "True"},
      {"boolean('TRUE')", "boolean", "True"},
      {"string(1.5)", "string", "1.5"},
      {"string(true)", "string", "True"},
      {"percentage(50)", "percentage", "50%"},
      {"date(45000)", "date", "15/03/2023"},
      {"datetime(45000.5)", "datetime", "15/03/2023 12:00:00"},
      {"duration(2.25)", "duration", "2 days, 06:00:00"},
      {"currency(2)", "currency", nullptr},
      {"ifthenelse(true; 1; 2.5)", "double", "1"},
      {"ifthenelse(1 > 2; 1; 2.5)", "double", "2.5"},
      {"ifthenelse(false; 'yes'; 'no')", "string", "no"},
      {"tryelse(integer('x'); 0)", "integer", "0"},
      {"tryelse(integer('7'); 0)", "integer", "7"},
      {"tryelse(1 / 0; 5)", "double", "INF"},  // a zero divisor is no error
      {"tryelse(nodeinfo('width'); -1)", "double", "-1"},
      {"sum(3)", "integer", "3"},
      {"prod(2.5)", "double", "2.5"},
      {"setmax(7)", "integer", "7"},
      {"setmin(7)", "integer", "7"},
      {"mean(3)", "double", "3"},
      {"setcount(5)", "integer", "1"},
      {"sum(allrecords.x)", "integer", "13"},
      {"sum(allrecords.x / 2)", "double", "6.5"},
      {"prod(allrecords.x)", "integer", "60"},
      {"setmax(allrecords.x)", "integer", "5"},
      {"setmin(allrecords.x)", "integer", "1"},
      {"mean(allrecords.x)", "double", "3.25"},
      {"setcount(allrecords)", "integer", "4"},
      {"setcounttrue(allrecords.x > 2)", "integer", "3"},
      {"setcounttrue([true; false; true])", "integer", "2"},
      {"sum([1; 2.5])", "double", "3.5"},
      {"setcount(string(allrecords.x))", "integer", "4"},  // casts are elementwise
      {"sum(tryelse(integer(allrecords.name); 0))", "integer", "8"},
      {"sum(ifthenelse(allrecords.x > 3; allrecords.x; 0))", "integer", "9"},
      {"isempty(allrecords)", "boolean", "False"},
      {"isempty(filter(allrecords; x > 9))", "boolean", "True"},
  };
  for (const TValueCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TTreeEval eval(Host);
    FixFormats(eval);
    ASSERT_TRUE(eval.Load(c.Text, &Host.Root())) << (eval.Errors().empty() ? "" : eval.Errors().front());
    const std::string text = eval.Evaluate(&Host.Group(0));
    EXPECT_EQ(eval.Node().Result()->TypeName(), c.Type);
    if (c.Result) {
      EXPECT_EQ(text, c.Result);
    }
    EXPECT_TRUE(eval.Errors().empty()) << eval.Errors().front();
  }
}

TEST_F(CastFixture, RefusalsAreRecordedWithTheirMessages) {
  const std::pair<const char*, const char*> cases[] = {
      {"integer('12.5')", "Unable to cast the string value \"12.5\" into an integer"},
      {"time(3)", "Invalid typecast, from \"integer\" to \"time\""},
      {"date(true)", "Invalid typecast, from \"boolean\" to \"date\""},
      {"ifthenelse(1; 2; 3)", "Incompatible types: \"boolean\" and \"integer\""},
      // An error in the branch not chosen still counts.
      {"ifthenelse(true; 1; integer('x'))", "Unable to cast the string value \"x\" into an integer"},
      // The default's errors are not caught.
      {"tryelse(integer('x'); integer('y'))", "Unable to cast the string value \"y\" into an integer"},
      {"prod(allrecords.name)", "Operator \"*\" not defined for variables of class \"string\""},
      {"sum(allrecords.x > 2)", "Operator \"+\" not defined for variables of class \"boolean\""},
      {"setcounttrue(allrecords.x)", "Incompatible types: \"boolean\" and \"integer\""},
      {"sum(integer(allrecords.name))", "Unable to cast the string value \"b\" into an integer"},
  };
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text);
    TTreeEval eval(Host);
    ASSERT_TRUE(eval.Load(text, &Host.Root()));
    EXPECT_EQ(eval.Evaluate(&Host.Group(0)), "<error>");
    EXPECT_EQ(eval.Errors(), TList{message});
  }
}

TEST_F(CastFixture, TypeConflictsOfTheBranchesAreFoundAtPrepare) {
  const std::pair<const char*, const char*> cases[] = {
      {"ifthenelse(true; 'a'; 1)", "Incompatible types: string and integer"},
      {"tryelse(true; 1)", "Incompatible types: boolean and integer"},
  };
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text);
    TTreeEval eval(Host);
    ASSERT_TRUE(eval.Load(text, &Host.Root()));
    EXPECT_EQ(eval.Errors(), TList{message});
  }
}

TEST_F(CastFixture, TryElseSwallowsOnlyTheErrorsOfItsValue) {
  TTreeEval eval(Host);
  ASSERT_TRUE(eval.Load("tryelse(integer(name); -1)", &Host.Root()));
  const TList expected = {"1", "-1", "3", "4"};
  TList got;
  for (int r = 0; r < 4; ++r) got.push_back(eval.Evaluate(&Host.Record(r < 2 ? 0 : 2, r % 2), r == 0));
  EXPECT_EQ(got, expected);
  EXPECT_TRUE(eval.Errors().empty());
  // The value's nodes keep no error flag behind.
  const auto& tryElse = static_cast<TJUXFunction&>(eval.Node());
  EXPECT_FALSE(tryElse.Param(0)->HasError());
  EXPECT_FALSE(eval.Root().HasError());
}

TEST_F(CastFixture, SetsBelowTryElseFollowTryElsesOwnPlace) {
  const std::pair<const char*, bool> cases[] = {
      {"tryelse(children.x; 0)", false},
      {"sum(tryelse(children.x; 0))", true},
      {"sum(tryelse(0; children.x))", false},  // the default may not be a set
  };
  for (const auto& [text, accepted] : cases) {
    SCOPED_TRACE(text);
    TTreeEval eval(Host);
    EXPECT_EQ(eval.Parse(text), accepted);
  }
}

TEST_F(CastFixture, VarianceIsTheSampleVariance) {
  const std::pair<const char*, double> cases[] = {
      {"var(allrecords.x)", 35.0 / 12.0},  // 3, 1, 5, 4
      {"var(allrecords.big)", 5.0 / 3.0},  // 1e9 + 1 .. 1e9 + 4: no cancellation
      {"var(children.children.x)", 35.0 / 12.0},
      {"var([1; 2; 3; 4])", 5.0 / 3.0},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    TTreeEval eval(Host);
    ASSERT_TRUE(eval.Load(text, &Host.Root()));
    eval.Evaluate(&Host.Root());
    EXPECT_NEAR(eval.Node().Result()->AsDouble(nullptr), expected, 1e-9);
  }
  TTreeEval one(Host);
  ASSERT_TRUE(one.Load("var(3)", &Host.Root()));
  EXPECT_EQ(one.Evaluate(&Host.Root()), "INF");
  EXPECT_TRUE(one.Node().HasErrorKind(jeDivisionByZero));
  EXPECT_TRUE(one.Errors().empty());
}

TEST_F(CastFixture, AggregatesOfAnEmptySet) {
  // The children of the group without records.
  const std::pair<const char*, const char*> cases[] = {
      {"sum(children.x)", "<empty>"},     {"prod(children.x)", "<empty>"},  {"setmax(children.x)", "<empty>"},
      {"setmin(children.x)", "<empty>"},  {"mean(children.x)", "<empty>"},  {"var(children.x)", "<empty>"},
      {"setcount(children)", "0"},        {"setcounttrue(children.x > 0)", "0"},
      {"isempty(children)", "True"},      {"sum(children.x) + 1", "<empty>"},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    TTreeEval eval(Host);
    ASSERT_TRUE(eval.Load(text, &Host.Root()));
    EXPECT_EQ(eval.Evaluate(&Host.Group(1)), expected);
    EXPECT_TRUE(eval.Errors().empty()) << eval.Errors().front();
  }
  TTreeEval mean(Host);
  ASSERT_TRUE(mean.Load("mean(children.x)", &Host.Root()));
  mean.Evaluate(&Host.Group(1));
  EXPECT_TRUE(mean.Node().HasErrorKind(jeDivisionByZero));
}

TEST_F(CastFixture, AggregateWithoutScopeReadsWalksItsSetOnce) {
  TTreeEval eval(Host);
  ASSERT_TRUE(eval.Load("sum(allrecords.x)", &Host.Root()));
  // Computed even when the first evaluation after Prepare comes with first false.
  EXPECT_EQ(eval.Evaluate(&Host.Record(0, 0), false), "13");
  const int64_t ticks = eval.Root().LoopCounter();
  EXPECT_EQ(ticks, 4);
  for (int r = 0; r < 2; ++r) EXPECT_EQ(eval.Evaluate(&Host.Record(2, r), false), "13");
  EXPECT_EQ(eval.Evaluate(&Host.Record(0, 0), true), "13");  // the same node
  EXPECT_EQ(eval.Root().LoopCounter(), ticks);
  EXPECT_EQ(eval.Evaluate(&Host.Record(2, 1), true), "13");  // another node: walked again
  EXPECT_EQ(eval.Root().LoopCounter(), 2 * ticks);

  // A scope read below the aggregate makes it follow the scope.
  TTreeEval perNode(Host);
  ASSERT_TRUE(perNode.Load("sum(allrecords.x) + x", &Host.Root()));
  EXPECT_EQ(perNode.Evaluate(&Host.Record(0, 0), true), "16");
  EXPECT_EQ(perNode.Evaluate(&Host.Record(0, 1), false), "14");
}

TEST_F(CastFixture, AnAggregateThatFailedIsNotReusedAsAResult) {
  TTreeEval eval(Host);
  ASSERT_TRUE(eval.Load("sum(integer(allrecords.name))", &Host.Root()));
  EXPECT_EQ(eval.Evaluate(&Host.Record(0, 0), true), "<error>");
  EXPECT_EQ(eval.Evaluate(&Host.Record(0, 1), false), "<error>");
  EXPECT_EQ(eval.Errors().front(), "Unable to cast the string value \"b\" into an integer");
}

TEST_F(CastFixture, ProgressCallbackCanStopALoop) {
  TTreeEval eval(Host);
  std::vector<int64_t> calls;
  eval.Root().SetTickInterval(2);
  eval.Root().SetProgressCallback([&](int64_t counter) {
    calls.push_back(counter);
    return false;
  });
  ASSERT_TRUE(eval.Load("setcount(allrecords)", &Host.Root()));
  EXPECT_EQ(eval.Evaluate(&Host.Root()), "<error>");
  EXPECT_EQ(calls, (std::vector<int64_t>{3}));
  EXPECT_EQ(eval.Errors(), TList{"User abort"});
}

// now and today read the root's clock at every evaluation, and so do dates
// written without a year or with two digits.
TEST_F(CastFixture, ClockFunctionsReadTheHostsClock) {
  TTreeEval now(Host);
  ASSERT_TRUE(now.Load("now", &Host.Root()));
  now.Evaluate(&Host.Root());
  EXPECT_EQ(now.Node().Result()->TypeName(), "datetime");
  EXPECT_EQ(now.Node().Result()->AsDouble(nullptr), TTestHost::kClockStart);
  Host.ClockNow = 44348.25;
  now.Evaluate(&Host.Root(), false);
  EXPECT_EQ(now.Node().Result()->AsDouble(nullptr), 44348.25);

  Host.ClockNow = TTestHost::kClockStart;
  TTreeEval today(Host);
  ASSERT_TRUE(today.Load("today", &Host.Root()));
  today.Evaluate(&Host.Root());
  EXPECT_EQ(today.Node().Result()->TypeName(), "date");
  EXPECT_EQ(today.Node().Result()->AsDouble(nullptr), 43890.0);
  EXPECT_TRUE(now.Errors().empty());
  EXPECT_TRUE(today.Errors().empty());
}

TEST_F(CastFixture, DatesWithoutAFullYearTakeItFromTheClock) {
  struct TCase {
    double Clock;
    const char* Text;
    double Want;  // 0: unreadable
  };
  const TCase cases[] = {
      {TTestHost::kClockStart, "date('29/2')", 43890},  // 2020-02-29
      {44348.5, "date('29/2')", 0},                     // 2021 has no 29 February
      {44348.5, "date('1/3')", 44256},                  // 2021-03-01
      {TTestHost::kClockStart, "date('1/3/21')", 44256},
      {TTestHost::kClockStart, "date('1/3/99')", 72745},  // 2099: the current century
      {36525.75, "date('1/3/21')", 7731},                 // 1921 on 1999-12-31
      {36526.0, "date('1/3/21')", 44256},                 // 2021 from 2000-01-01 on
      {36525.75, "date('1/3/2021')", 44256},              // a full year reads no clock
      {TTestHost::kClockStart, "datetime('29/2 12:00')", 43890.5},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Text) + " at " + std::to_string(c.Clock));
    Host.ClockNow = c.Clock;
    TTreeEval eval(Host);
    FixFormats(eval);
    ASSERT_TRUE(eval.Load(c.Text, &Host.Root()));
    eval.Evaluate(&Host.Root());
    if (c.Want == 0) {
      EXPECT_TRUE(eval.Node().HasErrorKind(jeNotConvertible));
      continue;
    }
    EXPECT_TRUE(eval.Errors().empty());
    EXPECT_EQ(eval.Node().Result()->AsDouble(nullptr), c.Want);
  }
}

// A root whose host hands no clock reads the system's, in local time.
TEST(ClockFunctions, WithoutAHostClockReadTheSystemClock) {
  TTestHost bare;
  std::unique_ptr<TJUXExpr_Root> root = bare.MakeRoot();
  root->SetClock(nullptr);
  std::unique_ptr<TJUXExpression> node;
  {
    TJUXTokens tokens("now", root.get());
    node = BuildExpression(&tokens, root.get());
  }
  ASSERT_TRUE(node && !root->HasError());
  node->Prepare(nullptr);
  const double before = JUXSystemClockNow();
  node->EvaluateEx(nullptr, true);
  const double after = JUXSystemClockNow();
  const double reading = node->Result()->AsDouble(nullptr);
  // A daylight-saving change between the readings moves local time by an hour.
  constexpr double kHour = 1.0 / 24;
  EXPECT_GE(reading, before - kHour);
  EXPECT_LE(reading, after + kHour);
  EXPECT_GT(reading, 45000.0);  // after 2023
}

TEST(CastFunctionTable, RowsNameTheirClasses) {
  const std::span<const TJUXFunctionInfo> rows = CastFunctionTable();
  EXPECT_EQ(rows.size(), 23u);
  for (const TJUXFunctionInfo& row : rows) {
    SCOPED_TRACE(std::string(row.Name));
    EXPECT_NE(row.Class, nullptr);
    EXPECT_FALSE(row.Signature.empty());
  }
}

}  // namespace
