#include "eval/functions/arithmetic/arithmetic_functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>

#include "eval/math_eval_helper.h"
#include "eval/values/derived_vars.h"

namespace {

using math_eval::EvalText;
using math_eval::TOutcome;

// One expression with its result class and text, and the flag kind it must
// raise (0: none besides what the value shows). Errors are tested apart.
struct TValueCase {
  std::string_view Expression;
  std::string_view Type;
  std::string_view Text;
  uint8_t FlagKind = 0;
};

void ExpectValue(const TValueCase& c) {
  SCOPED_TRACE(std::string(c.Expression));
  const TOutcome out = EvalText(c.Expression);
  ASSERT_TRUE(out.Built);
  EXPECT_TRUE(out.Errors.empty()) << out.Errors.front();
  EXPECT_EQ(out.Type, c.Type);
  EXPECT_EQ(out.Text, c.Text);
  if (c.FlagKind != 0) {
    EXPECT_TRUE(out.HasKind(c.FlagKind));
  }
  EXPECT_FALSE(out.HasKind(jeSyntax) || out.HasKind(jeIncompatibleTypes) || out.HasKind(jeNotDefined));
}

TEST(ArithmeticOperatorsTest, FoldsUnifyTheirOperands) {
  const TValueCase cases[] = {
      {"1 + 2.5", "double", "3.5"},
      {"2 * 3", "integer", "6"},
      {"'ab' + 'cd' + 'e'", "string", "abcde"},
      {"'Hello' - 'l'", "string", "Heo"},
      {"+5", "integer", "5"},
      {"plus(5)", "integer", "5"},
      {"plus(1; 2; 3.5)", "double", "6.5"},
      {"minus(10; 3; 2)", "integer", "5"},  // (10 - 3) - 2
      {"10 - 3 - 2", "integer", "5"},
      {"mult(2; 3; 4)", "integer", "24"},
      {"3 max 7 max 5", "integer", "7"},
      {"maxf(3; 7.5; 2)", "double", "7.5"},
      {"minf(3; 1; 2)", "integer", "1"},
      {"true and false", "boolean", "False"},
      {"false or true", "boolean", "True"},
      {"true xor true", "boolean", "False"},
      {"6 and 3", "integer", "2"},  // bitwise on integers
      {"6 or 3", "integer", "7"},
      {"6 xor 3", "integer", "5"},
  };
  for (const TValueCase& c : cases) ExpectValue(c);
}

TEST(ArithmeticOperatorsTest, DivisionAlwaysInDoubleAndModInTheCommonClass) {
  const TValueCase cases[] = {
      {"7 / 2", "double", "3.5"},
      {"div(12; 2; 3)", "double", "2"},  // (12 / 2) / 3
      {"1 / 0", "double", "INF", jeDivisionByZero},
      {"-1 / 0", "double", "-INF", jeDivisionByZero},
      {"7 mod 2", "integer", "1"},
      {"-7 mod 2", "integer", "-1"},  // the remainder keeps the sign of the dividend
      {"7.5 mod 2", "double", "1.5"},
      {"7 mod 0", "integer", "9223372036854775807", jeDivisionByZero},
      {"7.5 mod 0", "double", "7.5"},
  };
  for (const TValueCase& c : cases) ExpectValue(c);
}

TEST(ArithmeticOperatorsTest, ModOfANegativeIntegerAttribute) {
  eval_test::TTestHost host(1);
  host.AddNumber("a", atInteger, {-7});
  host.BuildTree({{0}});
  const TOutcome out = EvalText("a mod 2", {}, &host, &host.Record(0, 0));
  ASSERT_TRUE(out.Built);
  EXPECT_EQ(out.Type, "integer");
  EXPECT_EQ(out.Text, "-1");
}

TEST(ArithmeticOperatorsTest, UnaryOperatorsKeepTheOperandsClass) {
  const TValueCase cases[] = {
      {"-5", "integer", "-5"},
      {"neg(2.5)", "double", "-2.5"},
      {"- -3", "integer", "3"},
      {"-2 ^ 2", "double", "4"},  // unary binds tighter: (-2) ^ 2
      {"not true", "boolean", "False"},
      {"not 5", "integer", "-6"},  // bitwise complement
      {"not (1 = 2)", "boolean", "True"},
      {"not 1 = -2", "boolean", "True"},  // (not 1) = -2,
  };
  for (const TValueCase& c : cases) ExpectValue(c);
}

TEST(ComparisonOperatorsTest, OrderingComparesInTheCommonClass) {
  const TValueCase cases[] = {
      {"1 < 2.5", "boolean", "True"},
      {"2.5 > 2", "boolean", "True"},
      {"2 >= 2", "boolean", "True"},
      {"3 <= 2", "boolean", "False"},
      {"'B' < 'a'", "boolean", "True"},  // ordinal
      {"'abc' < 'abcd'", "boolean", "True"},
      {"1 = 2", "boolean", "False"},
      {"1.5 = 2.5", "boolean", "False"},
      {"1 <> 2", "boolean", "True"},
      {"'a' = 'a'", "boolean", "True"},
      {"true <> false", "boolean", "True"},
      {"1 + 1 = 2 and 3 > 2", "boolean", "True"},
  };
  for (const TValueCase& c : cases) ExpectValue(c);
}

TEST(ComparisonOperatorsTest, IntegerAgainstDoubleEqualityWarnsAtPrepare) {
  // The double on the left compares as a double and is right.
  TOutcome out = EvalText("1.0 = 1");
  ASSERT_TRUE(out.Built);
  EXPECT_EQ(out.Errors, std::vector<std::string>{"Dangerous comparison: integer = double"});
  EXPECT_EQ(out.Text, "True");
  EXPECT_FALSE(out.HasKind(jeIncompatibleTypes));  // evaluation went through

  // The integer on the left reads the double through its integer getter,
  // which the double refuses. The root still holds kind 4 from Prepare, so
  // only the node's flag tells.
  out = EvalText("1 <> 1.0");
  ASSERT_TRUE(out.Built);
  EXPECT_EQ(out.Errors, std::vector<std::string>{"Dangerous comparison: integer = double"});
  EXPECT_TRUE(out.HasKind(jeIncompatibleTypes));

  // A date derives from the double class and warns too.
  const TOutcome date = EvalText("d = 1", math_eval::OneVariable<TJUXVar_Date>("d", 2.0L));
  EXPECT_TRUE(date.HasMessage("Dangerous comparison: integer = double"));
  EXPECT_EQ(date.Text, "False");

  // Ordering comparisons unify instead and do not warn.
  EXPECT_TRUE(EvalText("1 < 1.5").Errors.empty());
}

TEST(ComparisonOperatorsTest, ACloneComparesWithoutAnotherPrepare) {
  // The comparison value travels with the clone, so a prepared tree can be
  // copied and evaluated as it is.
  eval_test::TTestHost host;
  std::unique_ptr<TJUXExpr_Root> root = host.MakeRoot();
  std::unique_ptr<TJUXExpression> node = math_eval::ParseText("2 > 1.5", *root);
  ASSERT_TRUE(node);
  node->Prepare(nullptr);
  std::unique_ptr<TJUXExpression> copy = node->Clone();
  node.reset();
  copy->EvaluateEx(nullptr, true);
  EXPECT_FALSE(copy->HasError());
  EXPECT_TRUE(copy->Result()->AsBoolean(nullptr));
}

TEST(MathFunctionsTest, ResultClassesAndValues) {
  const TValueCase cases[] = {
      {"sin(0)", "double", "0"},
      {"cos(0)", "double", "1"},
      {"tan(0)", "double", "0"},
      {"atan(1) * 4", "double", "3.141593"},
      {"atan2(1; 1) * 4", "double", "3.141593"},
      {"atan2(1; 0)", "double", "INF", jeMathDomain},
      {"exp(0)", "double", "1"},
      {"ln(1)", "double", "0"},
      {"ln(0)", "double", "-INF", jeMathDomain},
      {"log(1000)", "double", "3"},
      {"log(-1)", "double", "-INF", jeMathDomain},
      {"sqrt(16)", "double", "4"},
      {"sqrt(-4)", "double", "INF", jeMathDomain},
      {"sqr(3)", "integer", "9"},
      {"sqr(46340)", "integer", "2147395600"},
      {"sqr(46341)", "integer", "0", jeMathDomain},
      {"sqr(1.5)", "double", "2.25"},
      {"abs(-3)", "integer", "3"},
      {"abs(-2.5)", "double", "2.5"},
      {"power(2; 10)", "double", "1024"},
      {"power(-8; 3)", "double", "-512"},
      {"power(-8; 1 / 3)", "double", "INF", jeMathDomain},
      {"2 ^ 3 ^ 2", "double", "64"},  // left-associative: (2 ^ 3) ^ 2
      {"2 ^ -1", "double", "0.5"},
  };
  for (const TValueCase& c : cases) ExpectValue(c);
}

TEST(MathFunctionsTest, RoundFracAndSignReadTheArgumentAsDouble) {
  const TValueCase cases[] = {
      {"round(2.5)", "integer", "2"},  // ties to even
      {"round(3.5)", "integer", "4"},
      {"round(-0.5)", "integer", "0"},
      {"round(-2.5)", "integer", "-2"},
      {"round(2.4999)", "integer", "2"},
      {"round(7)", "integer", "7"},
      {"round(2147483647.4)", "integer", "2147483647"},
      {"round(-2147483648.5)", "integer", "-2147483648"},
      {"frac(3.25)", "double", "0.25"},
      {"frac(-2.75)", "double", "-0.75"},
      {"frac(4)", "double", "0"},
      {"sign(-0.0)", "integer", "0"},
      {"sign(0)", "integer", "0"},
      {"sign(-3)", "integer", "-1"},
      {"sign(0.001)", "integer", "1"},
  };
  for (const TValueCase& c : cases) ExpectValue(c);
}

TEST(MathFunctionsTest, RoundOutOfRangeAndSignOfNanAreFlagged) {
  // No 32-bit integer holds these: the value is the conversion's
  // -2147483648, and kind 3 tells the host it is not a real result.
  for (std::string_view text : {"round(1e10)", "round(-1e10)", "round(2147483647.5)", "round(nan)"}) {
    SCOPED_TRACE(std::string(text));
    const TOutcome out = EvalText(text);
    ASSERT_TRUE(out.Built);
    EXPECT_EQ(out.Text, "-2147483648");
    EXPECT_TRUE(out.HasKind(jeMathDomain));
    EXPECT_FALSE(out.HasKind(0));
  }
  EXPECT_FALSE(EvalText("round(-2147483648.4)").HasKind(jeMathDomain));

  const TOutcome sign = EvalText("sign(nan)");
  EXPECT_EQ(sign.Text, "1");
  EXPECT_TRUE(sign.HasKind(jeMathDomain));
  EXPECT_FALSE(EvalText("sign(-infinity)").HasKind(jeMathDomain));
}

TEST(MathFunctionsTest, DerivedNumberClassesKeepTheirClass) {
  // c is a currency value; a start class of double yields the derived class.
  struct TCase {
    std::string_view Expression;
    std::string_view Type;
    double Value;
  };
  const TCase cases[] = {
      {"frac(c)", "currency", -0.25}, {"abs(c)", "currency", 3.25},  {"sin(c) + c", "currency", std::sin(-3.25) - 3.25},
      {"c * 2", "currency", -6.5},    {"sign(c)", "integer", -1},    {"round(c)", "integer", -3},
      {"-c", "currency", 3.25},       {"c / 2", "double", -1.625},    {"power(c; 2)", "currency", 10.5625},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Expression));
    const TOutcome out = EvalText(c.Expression, math_eval::OneVariable<TJUXVar_Currency>("c", -3.25L));
    ASSERT_TRUE(out.Built);
    EXPECT_TRUE(out.Errors.empty());
    EXPECT_EQ(out.Type, c.Type);
    EXPECT_DOUBLE_EQ(out.Value, c.Value);
  }
}

using math_eval::RunOverSets;
using math_eval::SetParam;
using math_eval::TSetRun;
using Texts = std::vector<std::string>;

TEST(ArithmeticSetsTest, ScalarsRepeatForEveryElement) {
  TSetRun run = RunOverSets<TJUXFunc_Plus>({SetParam({1, 2, 3}), eval_test::IntegerParam(10)});
  EXPECT_EQ(run.Texts, (Texts{"11", "12", "13"}));
  EXPECT_EQ(run.LastState, jssLast);

  run = RunOverSets<TJUXFunc_Minus>({eval_test::IntegerParam(10), SetParam({1, 2})});
  EXPECT_EQ(run.Texts, (Texts{"9", "8"}));

  run = RunOverSets<TJUXFunc_Mod>({SetParam({7, 8, 9}), eval_test::IntegerParam(4)});
  EXPECT_EQ(run.Texts, (Texts{"3", "0", "1"}));
  EXPECT_EQ(run.LastState, jssLast);

  run = RunOverSets<TJUXFunc_Smaller>({SetParam({1, 2, 3}), eval_test::DoubleParam(2.5)});
  EXPECT_EQ(run.Texts, (Texts{"True", "True", "False"}));

  run = RunOverSets<TJUXFunc_NotEqual>({SetParam({1, 2}), eval_test::DoubleParam(2)});
  EXPECT_EQ(run.Texts, (Texts{"True", "False"}));
}

TEST(ArithmeticSetsTest, OneArgumentFunctionsFollowTheirArgument) {
  EXPECT_EQ(RunOverSets<TJUXFunc_Sqrt>({SetParam({4, 9})}).Texts, (Texts{"2", "3"}));
  EXPECT_EQ(RunOverSets<TJUXFunc_Abs>({SetParam({-1.5, 2})}).Texts, (Texts{"1.5", "2"}));
  EXPECT_EQ(RunOverSets<TJUXFunc_Neg>({SetParam({1, -2})}).Texts, (Texts{"-1", "2"}));
  EXPECT_EQ(RunOverSets<TJUXFunc_Round>({SetParam({1.5, 2.5, 3.5})}).Texts, (Texts{"2", "2", "4"}));
  EXPECT_EQ(RunOverSets<TJUXFunc_Sign>({SetParam({-3, 0, 3})}).Texts, (Texts{"-1", "0", "1"}));
  EXPECT_EQ(RunOverSets<TJUXFunc_Frac>({SetParam({1.25, -2.5})}).Texts, (Texts{"0.25", "-0.5"}));
  EXPECT_EQ(RunOverSets<TJUXFunc_Power>({SetParam({2, 3}), eval_test::IntegerParam(2)}).Texts, (Texts{"4", "9"}));
  EXPECT_EQ(RunOverSets<TJUXFunc_Atan2>({eval_test::DoubleParam(0), SetParam({1, 2})}).Texts, (Texts{"0", "0"}));
  const TSetRun run = RunOverSets<TJUXFunc_Sin>({SetParam({0, 0})});
  EXPECT_EQ(run.LastState, jssLast);
  EXPECT_EQ(run.Texts.size(), 2u);
}

TEST(ArithmeticSetsTest, UnequalAndEmptySets) {
  TSetRun run = RunOverSets<TJUXFunc_Plus>({SetParam({1, 2, 3}), SetParam({10, 20})});
  EXPECT_TRUE(run.Flags & JUXKindFlag(jeScopeSet));
  run = RunOverSets<TJUXFunc_Larger>({SetParam({1, 2, 3}), SetParam({10, 20})});
  EXPECT_TRUE(run.Flags & JUXKindFlag(jeScopeSet));
  run = RunOverSets<TJUXFunc_Atan2>({SetParam({1}), SetParam({1, 2})});
  EXPECT_TRUE(run.Flags & JUXKindFlag(jeScopeSet));

  run = RunOverSets<TJUXFunc_Mult>({SetParam({}), eval_test::IntegerParam(2)});
  EXPECT_EQ(run.LastState, jssEmpty);
  EXPECT_FALSE(run.Flags & jfError);
  EXPECT_EQ(RunOverSets<TJUXFunc_Exp>({SetParam({})}).LastState, jssEmpty);
  EXPECT_EQ(RunOverSets<TJUXFunc_Equal>({SetParam({}), SetParam({1})}).LastState, jssEmpty);
}

// Texts that fail, with the first message the root keeps.
struct TErrorCase {
  std::string_view Expression;
  std::string_view Message;
  uint8_t Kind;
};

TEST(ArithmeticErrorsTest, TypeConflictsCountsAndRefusals) {
  const TErrorCase cases[] = {
      {"1 + 'a'", "Incompatible types: double and string", jeIncompatibleTypes},
      {"true + 1", "Incompatible types: boolean and integer", jeIncompatibleTypes},
      {"sin('a')", "Incompatible types: double and string", jeIncompatibleTypes},
      {"power('a'; 2)", "Incompatible types: double and string", jeIncompatibleTypes},
      {"frac(true)", "Incompatible types: double and boolean", jeIncompatibleTypes},
      {"1 < 'a'", "Incompatible types: double and string", jeIncompatibleTypes},
      {"div('a'; 2)", "Incompatible types: \"double\" and \"string\"", jeIncompatibleTypes},
      {"round('a')", "Incompatible types: \"double\" and \"string\"", jeIncompatibleTypes},
      {"'a' mod 'b'", "Operator \"mod\" not defined for variables of class \"string\"", jeNotDefined},
      {"'a' * 'b'", "Operator \"*\" not defined for variables of class \"string\"", jeNotDefined},
      {"true < false", "Operator \"<\" not defined for variables of class \"boolean\"", jeNotDefined},
      {"-'a'", "Operator \"negation\" not defined for variables of class \"string\"", jeNotDefined},
      {"abs('a')", "Function \"abs\" not defined for variables of class \"string\"", jeNotDefined},
      {"minus(1)", "Not enough parameters for function \"minus\"", jeSyntax},
      {"power(1; 2; 3)", "Too many parameters for function \"power\"", jeSyntax},
      {"sin()", "Not enough parameters for function \"sin\"", jeSyntax},
      {"abs(1; 2)", "Too many parameters for function \"abs\"", jeSyntax},
  };
  for (const TErrorCase& c : cases) {
    SCOPED_TRACE(std::string(c.Expression));
    const TOutcome out = EvalText(c.Expression);
    ASSERT_FALSE(out.Errors.empty());
    EXPECT_EQ(out.Errors.front(), c.Message);
    if (out.Built) {
      EXPECT_TRUE(out.HasKind(c.Kind) || c.Kind == jeIncompatibleTypes);
    }
  }
}

TEST(ArithmeticRegistryTest, OperatorsAndCallsPrintBack) {
  // The parameter counts set by the fold classes leave their operator rows
  // intact, so a tree prints the way it was written.
  eval_test::TTestHost host;
  for (std::string_view text : {"10 - (3 - 2)", "1 + 2 * 3", "minus(10; 3; 2)", "- a ^ 2", "not x and y",
                                "1 <= 2", "7 mod 2 max 1", "round(2.5)"}) {
    SCOPED_TRACE(std::string(text));
    std::unique_ptr<TJUXExpr_Root> root = host.MakeRoot();
    std::unique_ptr<TJUXExpression> node = math_eval::ParseText(text, *root);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->AsText(), text);
  }
}

TEST(ArithmeticRegistryTest, RowsCarryTheirNamesClassesAndSignatures) {
  const auto rows = ArithmeticFunctionTable();
  EXPECT_EQ(rows.size(), 22u);
  for (const TJUXFunctionInfo& row : rows) {
    SCOPED_TRACE(std::string(row.Name));
    EXPECT_NE(row.Class, nullptr);
    EXPECT_FALSE(row.Description.empty());
    EXPECT_EQ(row.Signature.front(), '(');
    EXPECT_EQ(row.Keywords[0], row.Name == "maxf" ? "max" : row.Name == "minf" ? "min" : row.Name);
  }
  // Operator-only classes have no row.
  for (const TJUXFunctionInfo& row : rows) EXPECT_NE(row.Class, JUXFunctionClass<TJUXFunc_Mod>());
}

}  // namespace
