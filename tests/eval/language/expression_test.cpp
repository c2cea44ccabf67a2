#include "eval/language/expression.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "eval/test_host.h"
#include "eval/values/derived_vars.h"
#include "foundation/assertion.h"

namespace {

using eval_test::TTestHost;

TEST(JUXExpressionErrors, FirstMessageOfEachKindWhileErrorIsSet) {
  TJUXExpr_Root root;
  TJUXExpr_Const child(&root, jlkIntegerConstant, "1");
  child.AddError(jeSyntax, "first");
  child.AddError(jeSyntax, "second");       // dropped at the child
  child.AddError(jeScopeSet, "other kind");  // a new kind travels up
  EXPECT_EQ(root.Errors(), (std::vector<std::string>{"first", "other kind"}));
  EXPECT_TRUE(child.HasErrorKind(jeSyntax));
  EXPECT_TRUE(root.HasError());

  child.ClearErrorFlag();
  root.ClearErrorFlag();
  child.AddError(jeSyntax, "again");  // bit 0 was cleared: recorded once more
  EXPECT_EQ(root.Errors().back(), "again");
  EXPECT_EQ(root.Errors().size(), 3u);
}

TEST(JUXExpressionErrors, FlagsPropagateWithoutError) {
  TJUXExpr_Root root;
  TJUXExpr_Const child(&root, jlkIntegerConstant, "1");
  child.SetFlags(JUXKindFlag(jeDivisionByZero));
  EXPECT_TRUE(root.HasErrorKind(jeDivisionByZero));
  EXPECT_FALSE(root.HasError());
  child.SetFlags(JUXKindFlag(jeMathDomain), false);
  EXPECT_FALSE(root.HasErrorKind(jeMathDomain));
  EXPECT_TRUE(root.Errors().empty());
}

TEST(JUXExpressionErrors, LoopTickCallsProgressAfterTheInterval) {
  TJUXExpr_Root root;
  TJUXExpr_Const child(&root, jlkIntegerConstant, "1");
  std::vector<int64_t> calls;
  bool goOn = true;
  root.SetProgressCallback([&](int64_t counter) {
    calls.push_back(counter);
    return goOn;
  });
  for (int i = 0; i < 10000; ++i) child.LoopTick();
  EXPECT_TRUE(calls.empty());
  child.LoopTick();
  EXPECT_EQ(calls, std::vector<int64_t>{10001});
  EXPECT_EQ(root.LoopCounter(), 10001);
  EXPECT_FALSE(root.HasError());

  goOn = false;
  root.SetTickInterval(0);
  child.LoopTick();
  EXPECT_TRUE(child.HasErrorKind(jeUserAbort));
  EXPECT_EQ(root.Errors().back(), "User abort");
}

// LoopTicks(n) against n calls of LoopTick: the same counter, the same
// callback calls, and the same stop at a false answer.
TEST(JUXExpressionErrors, LoopTicksCountAsSingleTicksDo) {
  struct TCase {
    int64_t Interval;
    int64_t Before;  // single ticks first, so the tick counter starts mid-interval
    int64_t Steps;
    int StopAtCall;  // the callback answers false at this call (1-based); 0 never
  };
  const TCase cases[] = {
      {10000, 0, 10000, 0}, {10000, 0, 10001, 0}, {10000, 9999, 2, 0}, {3, 0, 25, 0}, {3, 2, 7, 0},
      {0, 0, 5, 0},         {-4, 1, 3, 0},        {1, 0, 1, 0},        {3, 1, 30, 3}, {0, 0, 5, 1},
      {10000, 0, 0, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Interval << " " << c.Before << " " << c.Steps << " " << c.StopAtCall);
    std::vector<int64_t> calls[2];
    std::unique_ptr<TJUXExpr_Root> roots[2];
    std::unique_ptr<TJUXExpr_Const> children[2];
    for (int r = 0; r < 2; ++r) {
      roots[r] = std::make_unique<TJUXExpr_Root>();
      children[r] = std::make_unique<TJUXExpr_Const>(roots[r].get(), jlkIntegerConstant, "1");
      roots[r]->SetTickInterval(c.Interval);
      roots[r]->SetProgressCallback([&calls, r, &c](int64_t counter) {
        calls[r].push_back(counter);
        return static_cast<int>(calls[r].size()) != c.StopAtCall;
      });
      for (int64_t i = 0; i < c.Before; ++i) children[r]->LoopTick();
    }
    for (int64_t i = 0; i < c.Steps && !children[0]->HasError(); ++i) children[0]->LoopTick();
    children[1]->LoopTicks(c.Steps);
    EXPECT_EQ(calls[1], calls[0]);
    EXPECT_EQ(roots[1]->LoopCounter(), roots[0]->LoopCounter());
    EXPECT_EQ(roots[1]->Errors(), roots[0]->Errors());
    // The next single tick calls back where it would have.
    children[0]->ClearErrorFlag();
    children[1]->ClearErrorFlag();
    for (int r = 0; r < 2; ++r) children[r]->LoopTick();
    EXPECT_EQ(calls[1], calls[0]);
  }
  // Without a callback only the counter moves.
  TJUXExpr_Root root;
  TJUXExpr_Const child(&root, jlkIntegerConstant, "1");
  child.LoopTicks(123456);
  EXPECT_EQ(root.LoopCounter(), 123456);
}

TEST(JUXExpressionConst, Literals) {
  struct TCase {
    uint8_t Kind;
    const char* Token;
    const char* Type;
    const char* Value;    // ToText of the result
    const char* Printed;  // AsText
  };
  const TCase cases[] = {
      {jlkStringConstant, "'a''b'", "string", "a'b", "'a''b'"},
      {jlkStringConstant, "\"a\"\"b\"", "string", "a\"b", "\"a\"\"b\""},
      {jlkStringConstant, "'x\"y'", "string", "x\"y", "'x\"y'"},
      {jlkStringConstChar, "65", "string", "A", "#65"},
      {jlkStringConstChar, "321", "string", "A", "#321"},
      {jlkStringConstChar, "$41", "string", "A", "#$41"},
      {jlkDoubleConstant, "1.50", "double", "1.5", "1.5"},
      {jlkDoubleConstant, "2e-3", "double", "0.002", "0.002"},
      {jlkIntegerConstant, "$1F", "integer", "31", "$1F"},
      {jlkIntegerConstant, "0012", "integer", "12", "12"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Token);
    TJUXExpr_Root root;
    root.FormatSettings().DecimalSeparator = '.';
    TJUXExpr_Const node(&root, c.Kind, c.Token);
    EXPECT_EQ(node.Result()->TypeName(), c.Type);
    EXPECT_EQ(node.Result()->ToText(root.FormatSettings()), c.Value);
    EXPECT_EQ(node.AsText(), c.Printed);
    EXPECT_TRUE(root.Errors().empty());
  }
}

TEST(JUXExpressionConst, BadTokensAndDirectEvaluation) {
  TJUXExpr_Root root;
  TJUXExpr_Const unhandled(&root, 1, "abc");
  EXPECT_EQ(root.Errors().at(0), "JUX: Unhandled constant expression token: abc");
  EXPECT_TRUE(root.HasErrorKind(jeSyntax));

  // An integer literal beyond 32 bits is an error, not a silent 0.
  TJUXExpr_Root other;
  TJUXExpr_Const big(&other, jlkIntegerConstant, "3000000000");
  EXPECT_EQ(other.Errors().at(0), "Unable to cast the string value \"3000000000\" into an integer");
  // So is a number literal the scanner accepts but that does not read.
  for (const char* text : {"1.2.3", "1e", "2E+", "1.5e-"}) {
    SCOPED_TRACE(text);
    TJUXExpr_Root host;
    host.FormatSettings().DecimalSeparator = '.';
    TJUXExpr_Const bad(&host, jlkDoubleConstant, text);
    EXPECT_TRUE(bad.HasErrorKind(jeNotConvertible));
    EXPECT_EQ(host.Errors(), std::vector<std::string>{"Unable to cast the string value \"" + std::string(text) +
                                                      "\" into a double"});
  }

  TJUXExpr_Const named(&root, 0, "pi", TJUXVar_Double(3.5L), 1, "PI");
  EXPECT_EQ(named.AsText(), "pi");
  named.EvaluateEx(nullptr, true);  // does nothing
  EXPECT_EQ(named.Result()->AsDouble(nullptr), 3.5);
  try {
    named.Evaluate(nullptr, true);
    FAIL() << "no precondition failure";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "Evaluate not defined for constant expressions");
  }
  const std::unique_ptr<TJUXExpression> copy = named.Clone();
  EXPECT_EQ(copy->AsText(), "pi");
  EXPECT_EQ(copy->Result()->AsDouble(nullptr), 3.5);
  EXPECT_EQ(copy->Parent(), nullptr);
}

class JUXExpressionAttributes : public ::testing::Test {
 protected:
  JUXExpressionAttributes() : Host(3) {
    Host.AddText("Name", {"ann", "bob", "cy"});
    Host.AddNumber("Sales", atInteger, {1.5, 2.5, 3.4});
    Host.AddNumber("When", atDate, {45000, 45001, 45002});
    Host.AddNumber("Share", atPercentage, {10, 20, 30});
    Host.AddNumber("my_field", atDouble, {0.5, 0.25, 0.125});
    Host.BuildTree({{0, 1}, {2}});
    Root = Host.MakeRoot();
  }
  TTestHost Host;
  std::unique_ptr<TJUXExpr_Root> Root;
};

TEST_F(JUXExpressionAttributes, ResultClassAndValuePerType) {
  struct TCase {
    const char* Name;
    const char* Type;
    int Group, Record;
    const char* Text;
  };
  const TCase cases[] = {
      {"name", "string", 0, 1, "bob"},
      {"SALES", "integer", 0, 0, "2"},   // 1.5 rounds to even
      {"Sales", "integer", 0, 1, "2"},   // 2.5 too
      {"when", "date", 1, 0, "45002"},
      {"share", "percentage", 0, 1, "20%"},
      {"my field", "double", 1, 0, "0.125"},  // found through MakeValidIdentifier
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TJUXExpr_Var node(Root.get(), c.Name);
    node.Prepare(&Host.Record(0, 0));
    EXPECT_EQ(node.Result()->TypeName(), c.Type);
    node.EvaluateEx(&Host.Record(c.Group, c.Record), true);
    std::string text = node.Result()->ToText(Root->FormatSettings());
    if (std::string(c.Type) == "date") text = std::to_string(static_cast<int>(node.Result()->AsDouble(nullptr)));
    EXPECT_EQ(text, c.Text);
    EXPECT_FALSE(node.HasError());
  }
  EXPECT_TRUE(Root->Errors().empty());
}

TEST_F(JUXExpressionAttributes, ByIndexReadsTheSameValueForEveryNode) {
  TAttributeDescriptor& name = *Host.Attributes.Descriptors[0];
  name.ByIndex = true;
  name.Index = 2;
  TJUXExpr_Var node(Root.get(), "Name");
  node.Prepare(&Host.Record(0, 0));
  for (int g = 0; g < 2; ++g) {
    node.EvaluateEx(&Host.Record(g, 0), true);
    EXPECT_EQ(node.Result()->AsString(nullptr), "cy");
  }
}

TEST_F(JUXExpressionAttributes, UnknownAttributeReportsAtEveryEvaluation) {
  TJUXExpr_Var node(Root.get(), "nothere");
  node.Prepare(&Host.Record(0, 0));
  EXPECT_EQ(node.Result()->TypeName(), "double");
  EXPECT_EQ(Root->Errors(), std::vector<std::string>{"Attribute unknown: nothere"});
  Root->ClearErrorFlag();  // the host clears the root between evaluations
  node.EvaluateEx(&Host.Record(0, 0), false);
  EXPECT_EQ(Root->Errors().size(), 2u);
  EXPECT_TRUE(node.HasErrorKind(jeAttributeUnknown));
}

TEST_F(JUXExpressionAttributes, FixedAndUnlistedTypes) {
  TTestHost host(1);
  auto& fixed = host.AddNumber("fixed", atFixedNumber, {});
  fixed.FixedNumber = 7.5;
  host.AddNumber("odd", 42, {});
  auto root = host.MakeRoot();
  TJUXExpr_Var f(root.get(), "fixed");
  f.Prepare(nullptr);
  EXPECT_EQ(root->Errors().at(0), "Internal error: attribute type not listed");
  f.EvaluateEx(nullptr, true);
  EXPECT_EQ(f.Result()->AsDouble(nullptr), 7.5);
  TJUXExpr_Var o(root.get(), "odd");
  o.Prepare(nullptr);
  o.EvaluateEx(nullptr, true);
  EXPECT_TRUE(o.HasErrorKind(jeInternal));
}

TEST_F(JUXExpressionAttributes, PrepareNeedsAnAttributeCollection) {
  TJUXExpr_Root bare;
  TJUXExpr_Var node(&bare, "x");
  EXPECT_THROW(node.Prepare(nullptr), EAssertionFailed);
}

TEST_F(JUXExpressionAttributes, MetaListsNamesSortedWithoutDuplicates) {
  TJUXExpr_Var a(Root.get(), "Sales");
  TJUXExpr_Var b(Root.get(), "name");
  TJUXExpr_Var c(Root.get(), "SALES");
  EXPECT_EQ(Root->Meta().AttributeNames.Names(), (std::vector<std::string>{"name", "Sales"}));
  EXPECT_EQ(Root->Meta().DirectAttributeNames.Names(), (std::vector<std::string>{"name", "Sales"}));
  EXPECT_TRUE(Root->DependsOnScope());
  const std::unique_ptr<TJUXExpression> copy = a.Clone();
  EXPECT_EQ(copy->AsText(), "Sales");
}

TEST(JUXExpressionSpecVar, CopiesTheRootsValue) {
  TJUXExpr_Root root;
  TSpecVarList vars;
  vars.push_back({"limit", std::make_unique<TJUXVar_Integer>(5)});
  vars.push_back({"label", std::make_unique<TJUXVar_String>("x")});
  root.SetSpecialVariables(std::move(vars));
  TJUXExpr_SpecVar node(&root, 1);
  TJUXExpr_SpecVar again(&root, 1);
  EXPECT_EQ(node.Result()->AsString(nullptr), "x");
  EXPECT_EQ(node.AsText(), "label");
  EXPECT_EQ(root.Meta().SpecVarUseCounts, (std::vector<int32_t>{0, 2}));
  node.Result()->SetString("changed", nullptr);
  node.Prepare(nullptr);  // a fresh copy per preparation
  EXPECT_EQ(node.Result()->AsString(nullptr), "x");
  const std::unique_ptr<TJUXExpression> copy = node.Clone();
  EXPECT_EQ(copy->Result()->AsString(nullptr), "x");
  EXPECT_THROW(TJUXExpr_SpecVar(&root, 5), EAssertionFailed);
}

TEST(JUXExpressionTree, FormatSettingsAndRootFollowTheParent) {
  TJUXExpr_Root root;
  root.FormatSettings().DecimalSeparator = '#';
  TJUXExpr_Const orphan(nullptr, jlkIntegerConstant, "1");
  EXPECT_NE(orphan.FormatSettings().DecimalSeparator, '#');
  orphan.SetParent(&root);
  EXPECT_EQ(orphan.FormatSettings().DecimalSeparator, '#');
  EXPECT_EQ(orphan.Root(), &root);
  orphan.AddError(jeSyntax, "up");
  EXPECT_EQ(root.Errors().at(0), "up");
  orphan.SetParent(nullptr);
  EXPECT_EQ(orphan.Root(), &orphan);
  EXPECT_NE(orphan.FormatSettings().DecimalSeparator, '#');
}

}  // namespace
