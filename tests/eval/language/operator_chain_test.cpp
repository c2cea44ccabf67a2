// Preparing and evaluating long flat operator chains: the trees are far
// deeper than a call per level could take, and the loop that walks them must
// give what the calls give.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "eval/language/function.h"
#include "eval/language/parser.h"
#include "eval/math_eval_helper.h"

namespace {

using math_eval::EvalText;
using math_eval::TOutcome;

constexpr int kOperators = 100000;

std::string Chain(const std::string& first, const std::string& step, int n) {
  std::string s = first;
  for (int i = 0; i < n; ++i) s += step;
  return s;
}

TEST(JUXOperatorChain, EvaluatesChainsOfAHundredThousandOperators) {
  struct TCase {
    std::string Text;
    const char* Type;
    const char* Value;
  };
  const TCase cases[] = {
      {Chain("1", " + 1", kOperators), "integer", "100001"},
      {Chain("1", " - 2 + 2", kOperators / 2), "integer", "1"},
      {Chain("0.5", " * 1.0 + 0.5", kOperators / 2), "double", "25000.5"},
      {Chain("1 < 2", " = true", kOperators), "boolean", "True"},
      {Chain("1 < 2", " and 2 <= 3", kOperators), "boolean", "True"},
      {Chain("1 > 2", " or 3 > 4", kOperators), "boolean", "False"},
      {Chain("2", " ^ 1", kOperators), "double", "2"},
      {Chain("7", " mod 5", kOperators), "integer", "2"},
      {Chain("1", " + 1", kOperators) + " > 100000", "boolean", "True"},
      {"tryelse(" + Chain("1", " + 1", kOperators) + "; 0)", "integer", "100001"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text.substr(0, 24));
    const TOutcome out = EvalText(c.Text);
    ASSERT_TRUE(out.Built);
    EXPECT_EQ(out.Errors, std::vector<std::string>{});
    EXPECT_EQ(out.Type, c.Type);
    EXPECT_EQ(out.Text, c.Value);
  }
}

// The deepest nesting that still costs a call per level and that the parser
// admits prepares and evaluates within the stack (the sanitizer build too).
TEST(JUXOperatorChain, EvaluatesTheDeepestAdmittedNesting) {
  const TOutcome out = EvalText(Chain("1", " + (1", kJUXMaxParseDepth) + std::string(kJUXMaxParseDepth, ')'));
  ASSERT_TRUE(out.Built);
  EXPECT_EQ(out.Errors, std::vector<std::string>{});
  EXPECT_EQ(out.Text, std::to_string(kJUXMaxParseDepth + 1));
}

TEST(JUXOperatorChain, ReadsAttributesDownTheChain) {
  eval_test::TTestHost host(1);
  host.AddNumber("a", atDouble, {0.25});
  host.AddNumber("n", atInteger, {3});
  host.BuildTree({{0}});
  const TOutcome out = EvalText(Chain("n", " + a * 4.0 - 1", kOperators / 3), {}, &host, &host.Record(0, 0));
  ASSERT_TRUE(out.Built);
  EXPECT_EQ(out.Errors, std::vector<std::string>{});
  EXPECT_EQ(out.Type, "double");
  EXPECT_EQ(out.Text, "3");
}

// Errors deep in a chain climb it to the root, and the flags of every node
// above carry them.
TEST(JUXOperatorChain, ErrorsAtTheBottomReachTheTop) {
  const TOutcome divided = EvalText(Chain("1 / 0", " + 1", kOperators));
  ASSERT_TRUE(divided.Built);
  EXPECT_TRUE(divided.HasKind(jeDivisionByZero));

  const TOutcome failed = EvalText(Chain("integer('x')", " + 1", kOperators));
  ASSERT_TRUE(failed.Built);
  EXPECT_NE(failed.Flags & jfError, 0);
  EXPECT_EQ(failed.Errors, std::vector<std::string>{"Unable to cast the string value \"x\" into an integer"});

  // tryelse catches the error from the bottom and clears the whole chain.
  const TOutcome caught = EvalText("tryelse(" + Chain("integer('x')", " + 1", kOperators) + "; 5)");
  ASSERT_TRUE(caught.Built);
  EXPECT_EQ(caught.Errors, std::vector<std::string>{});
  EXPECT_EQ(caught.Text, "5");
}

// Every node's flags, set state and value after the walk equal those after
// the plain calls, over repeated evaluations. A clone keeps the values but
// not the walk, so evaluating it takes the calls.
TEST(JUXOperatorChain, WalkMatchesThePlainCalls) {
  const std::string texts[] = {
      Chain("x", " + 1 - 2147483647 * 3 / 0 + 7 mod 0", 12),
      Chain("x", " * 2147483647 + 1", 40),
      Chain("x > 1", " = (x < 0) and x / 0 > 1 or x mod 0 = 1", 20),
      Chain("true", " + 1 - x", 30),
      Chain("integer('x')", " + x", 30),
      Chain("x", " + integer('y') * x", 30),
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.substr(0, 40));
    eval_test::TTestHost host;
    std::unique_ptr<TJUXExpr_Root> root = host.MakeRoot();
    root->SetSpecialVariables(math_eval::OneVariable<TJUXVar_Integer>("x", 3));
    std::unique_ptr<TJUXExpression> walked = math_eval::ParseText(text, *root);
    ASSERT_NE(walked, nullptr);
    walked->Prepare(nullptr);
    const std::unique_ptr<TJUXExpression> called = walked->Clone();
    // The clone is a root of its own; its special variable is the same.
    called->SetSpecialVariables(math_eval::OneVariable<TJUXVar_Integer>("x", 3));
    std::vector<std::string> walkErrors;
    for (int run = 0; run < 3; ++run) {
      walked->EvaluateEx(nullptr, run == 0);
      called->EvaluateEx(nullptr, run == 0);
      const auto* a = dynamic_cast<const TJUXFunction*>(walked.get());
      const auto* b = dynamic_cast<const TJUXFunction*>(called.get());
      int depth = 0;
      for (; a && b; a = dynamic_cast<const TJUXFunction*>(a->Param(0)),
                     b = dynamic_cast<const TJUXFunction*>(b->Param(0)), ++depth) {
        SCOPED_TRACE(depth);
        EXPECT_EQ(a->Flags() & ~jfError, b->Flags() & ~jfError);
        EXPECT_EQ(a->HasError(), b->HasError());
        EXPECT_EQ(a->SetState(), b->SetState());
        EXPECT_EQ(a->Result()->ToText(root->FormatSettings()), b->Result()->ToText(root->FormatSettings()));
      }
      EXPECT_EQ(a == nullptr, b == nullptr);
      EXPECT_GE(depth, 16);
    }
    // The clone's root keeps the messages of the evaluations only.
    for (const std::string& e : called->Errors()) EXPECT_NE(std::find(root->Errors().begin(), root->Errors().end(), e),
                                                           root->Errors().end());
  }
}

}  // namespace
