#include "eval/language/function.h"

#include <gtest/gtest.h>

#include "eval/test_host.h"
#include "eval/values/derived_vars.h"
#include "foundation/assertion.h"

namespace {

using eval_test::IntegerParam;
using eval_test::StringParam;
using eval_test::TTestParams;

// Elementwise addition of any number of parameters.
class TTestPlus : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void GetFunctionInfo(TJUXFuncInfo& info) const override {
    TJUXFunction::GetFunctionInfo(info);
    info.MaxParams = kJUXUnlimitedParams;
  }
  void Prepare(TTreeMapNode* scope) override {
    TJUXFunction::Prepare(scope);
    UnifyParamTypes(0);
  }
  void CombineParam(int index) override {
    ++Combined;
    FResult->OpAdd(ParamValue(index), this);
    CombineSetState(index);
  }
  int Combined = 0;

 protected:
  void CloneFields(TJUXFunction& copy) const override { static_cast<TTestPlus&>(copy).Combined = -1; }
};

class TTestMinus : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  void Prepare(TTreeMapNode* scope) override {
    TJUXFunction::Prepare(scope);
    UnifyParamTypes(0);
  }
  void CombineParam(int index) override { FResult->OpSubtract(ParamValue(index), this); }
};

class TTestTimes : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
};

// Takes a set as its parameter 0.
class TTestConsumer : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  bool AcceptsSetParam(int index) const override { return index == 0; }
};

// A leaf that delivers the elements of Values as a set (or a scalar), counts
// its evaluations and can fail.
class TTestSet : public TJUXExpression {
 public:
  TTestSet(TJUXExpression* parent, std::vector<int> values, bool scalar = false)
      : TJUXExpression(parent), Values(std::move(values)), Scalar(scalar) {
    SawSetAllowed = AcceptsSetParam(0);
    FResult = std::make_unique<TJUXVar_Integer>();
  }
  void Evaluate(TTreeMapNode*, bool first) override {
    ++Evaluations;
    if (Fail) AddError(jeScopeSet, "probe failed");
    Position = first ? 0 : Position + 1;
    if (Values.empty()) {
      FSetState = jssEmpty;
      return;
    }
    FResult->SetInteger(Values[std::min(Position, Values.size() - 1)], this);
    FSetState = Scalar ? jssScalar : (Position + 1 < Values.size() ? jssMore : jssLast);
  }
  void Prepare(TTreeMapNode*) override {}
  std::unique_ptr<TJUXExpression> Clone() const override { return std::make_unique<TTestSet>(nullptr, Values, Scalar); }

  std::vector<int> Values;
  bool Scalar;
  bool Fail = false;
  bool SawSetAllowed = false;
  size_t Position = 0;
  int Evaluations = 0;
};

std::string_view TestTokenText(uint8_t kind) {
  switch (kind) {
    case 13: return "+";
    case 14: return "-";
    case 15: return "*";
    default: return "?";
  }
}

const TJUXFunctionInfo kTestFunctions[] = {
    {"minus", JUXFunctionClass<TTestMinus>(), "", "", {}, jfcArithmetic},
    {"plus", JUXFunctionClass<TTestPlus>(), "", "", {}, jfcArithmetic},
};
const TJUXOperatorSpecs kTestBinary[] = {
    {13, JUXFunctionClass<TTestPlus>(), 2, ""},
    {14, JUXFunctionClass<TTestMinus>(), 2, ""},
    {15, JUXFunctionClass<TTestTimes>(), 3, ""},
};
const TJUXOperatorSpecs kTestUnary[] = {
    {25, JUXFunctionClass<TTestConsumer>(), 0, "not"},
    {13, JUXFunctionClass<TTestPlus>(), 0, ""},
};
const TJUXFunctionTables kTestTables{kTestFunctions, kTestBinary, kTestUnary, &TestTokenText};

template <class T>
std::unique_ptr<TJUXFunction> Make(TJUXExpression* parent, std::vector<TTestParams::TBuilder> params,
                                   bool operatorSyntax = false) {
  TTestParams source(std::move(params));
  source.FunctionTables = &kTestTables;
  return JUXFunctionClass<T>()->Create(parent, operatorSyntax, source);
}

template <class T>
TTestParams::TBuilder Node(std::vector<TTestParams::TBuilder> params, bool operatorSyntax = true) {
  return [params, operatorSyntax](TJUXExpression& parent) -> std::unique_ptr<TJUXExpression> {
    return Make<T>(&parent, params, operatorSyntax);
  };
}

TTestParams::TBuilder ValueParam(TJUXVarKind kind) {
  return [kind](TJUXExpression& parent) -> std::unique_ptr<TJUXExpression> {
    const std::unique_ptr<TJUXVar> value = JUXVarClass(kind).Create();
    return std::make_unique<TJUXExpr_Const>(&parent, 0, "v", *value, 1, "v");
  };
}

TTestParams::TBuilder SetParam(std::vector<int> values, TTestSet** probe = nullptr, bool scalar = false) {
  return [values, probe, scalar](TJUXExpression& parent) -> std::unique_ptr<TJUXExpression> {
    auto node = std::make_unique<TTestSet>(&parent, values, scalar);
    if (probe) *probe = node.get();
    return node;
  };
}

class JUXFunction : public ::testing::Test {
 protected:
  JUXFunction() { Root.FormatSettings().DecimalSeparator = '.'; }
  TJUXExpr_Root Root;
};

TEST_F(JUXFunction, ParameterCountsFromTheClass) {
  const auto none = Make<TTestPlus>(&Root, {});
  EXPECT_EQ(Root.Errors().at(0), "Not enough parameters for function \"plus\"");
  EXPECT_EQ(none->ParamCount(), 0);

  TJUXExpr_Root other;
  const auto three = Make<TTestMinus>(&other, {IntegerParam(1), IntegerParam(2), IntegerParam(3)});
  EXPECT_EQ(other.Errors().at(0), "Too many parameters for function \"minus\"");
  EXPECT_EQ(three->ParamCount(), 0);
  EXPECT_TRUE(other.HasErrorKind(jeSyntax));

  const auto one = Make<TTestPlus>(&Root, {IntegerParam(1)});
  EXPECT_EQ(one->FunctionInfo().MaxParams, kJUXUnlimitedParams);
}

TEST_F(JUXFunction, FunctionInfoRowsFromTheTables) {
  const auto plus = Make<TTestPlus>(&Root, {IntegerParam(1)});
  EXPECT_EQ(plus->FunctionInfo().FunctionIndex, 1);
  EXPECT_EQ(plus->FunctionInfo().Name, "plus");
  EXPECT_EQ(plus->FunctionInfo().BinaryOperatorIndex, 0);
  EXPECT_EQ(plus->FunctionInfo().UnaryOperatorIndex, 1);
  const auto times = Make<TTestTimes>(&Root, {IntegerParam(1), IntegerParam(2)});
  EXPECT_EQ(times->FunctionInfo().FunctionIndex, -1);
  EXPECT_EQ(times->FunctionInfo().Name, "");
  EXPECT_EQ(times->FunctionInfo().BinaryOperatorIndex, 2);
  EXPECT_EQ(times->FunctionInfo().UnaryOperatorIndex, 0);
  EXPECT_EQ(times->FunctionInfo().MinParams, 2);
}

TEST_F(JUXFunction, StandardEvaluationFoldsParameters) {
  const auto single = Make<TTestPlus>(&Root, {IntegerParam(1)});
  single->Prepare(nullptr);
  single->EvaluateEx(nullptr, true);
  EXPECT_EQ(single->Result()->AsInteger(nullptr), 1);

  const auto sum = Make<TTestPlus>(&Root, {IntegerParam(1), eval_test::DoubleParam(2.5), IntegerParam(3)});
  sum->Prepare(nullptr);
  EXPECT_EQ(sum->Result()->TypeName(), "double");
  sum->EvaluateEx(nullptr, true);
  EXPECT_EQ(sum->Result()->AsDouble(nullptr), 6.5);
  sum->EvaluateEx(nullptr, false);  // the result is reused, not accumulated
  EXPECT_EQ(sum->Result()->AsDouble(nullptr), 6.5);
  EXPECT_TRUE(Root.Errors().empty());
}

TEST_F(JUXFunction, UnifyParamTypes) {
  using K = TJUXVarKind;
  struct TCase {
    K A, B;
    const char* Want;
    const char* Error;
  };
  const TCase cases[] = {
      {K::Integer, K::Double, "double", nullptr},
      {K::Integer, K::Currency, "currency", nullptr},
      {K::Double, K::Percentage, "percentage", nullptr},
      {K::Integer, K::Date, "date", nullptr},
      {K::Integer, K::Duration, "duration", nullptr},
      {K::Integer, K::Time, "datetime", nullptr},
      {K::Double, K::Time, "time", nullptr},
      {K::Date, K::Time, "datetime", nullptr},
      {K::DateTime, K::Date, "datetime", nullptr},
      {K::Time, K::DateTime, "datetime", nullptr},
      {K::Integer, K::String, "double", "Incompatible types: double and string"},
      {K::Currency, K::Percentage, "currency", "Incompatible types: currency and percentage"},
      {K::Duration, K::Date, "duration", "Incompatible types: duration and date"},
      {K::Date, K::Duration, "datetime", "Incompatible types: datetime and duration"},
      {K::Boolean, K::Boolean, "boolean", nullptr},
      {K::Scope, K::Integer, "Scope", "Incompatible types: Scope and integer"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << JUXVarClass(c.A).TypeName << " with " << JUXVarClass(c.B).TypeName);
    TJUXExpr_Root root;
    const auto node = Make<TTestPlus>(&root, {ValueParam(c.A), ValueParam(c.B)});
    node->Prepare(nullptr);
    EXPECT_EQ(node->Result()->TypeName(), c.Want);
    if (c.Error)
      EXPECT_EQ(root.Errors(), std::vector<std::string>{c.Error});
    else
      EXPECT_TRUE(root.Errors().empty());
  }
}

TEST_F(JUXFunction, ElementwiseSets) {
  Root.SetSetState(jssScalar);
  // A consumer lets its parameter 0 be a set; the elementwise plus below it
  // then passes that permission on to its own parameters.
  TTestSet* probe = nullptr;
  const auto consumer = Make<TTestConsumer>(&Root, {Node<TTestPlus>({SetParam({1, 2, 3}, &probe), IntegerParam(10)})});
  EXPECT_TRUE(probe->SawSetAllowed);
  auto& plus = static_cast<TJUXFunction&>(*consumer->Param(0));
  plus.Prepare(nullptr);
  std::vector<int64_t> values;
  std::vector<uint8_t> states;
  for (bool first = true;; first = false) {
    plus.EvaluateEx(nullptr, first);
    values.push_back(plus.Result()->AsInteger(nullptr));
    states.push_back(plus.SetState());
    if (plus.SetState() != jssMore) break;
  }
  EXPECT_EQ(values, (std::vector<int64_t>{11, 12, 13}));
  EXPECT_EQ(states, (std::vector<uint8_t>{jssMore, jssMore, jssLast}));

  // Directly under the root no set is allowed.
  TTestSet* scalarProbe = nullptr;
  const auto underRoot = Make<TTestPlus>(&Root, {SetParam({1}, &scalarProbe)});
  EXPECT_FALSE(scalarProbe->SawSetAllowed);
}

TEST_F(JUXFunction, SetsOfUnequalLengthAndEmptySets) {
  const auto mismatch = Make<TTestPlus>(&Root, {SetParam({1, 2, 3}), SetParam({1, 2})});
  mismatch->Prepare(nullptr);
  mismatch->EvaluateEx(nullptr, true);
  EXPECT_TRUE(Root.Errors().empty());
  mismatch->EvaluateEx(nullptr, false);  // the shorter one delivers its last element
  EXPECT_EQ(Root.Errors(), std::vector<std::string>{"Number of set-elements does not match"});

  TJUXExpr_Root other;
  const auto empty = Make<TTestPlus>(&other, {IntegerParam(1), SetParam({})});
  empty->Prepare(nullptr);
  empty->EvaluateEx(nullptr, true);
  EXPECT_EQ(empty->SetState(), jssEmpty);
  EXPECT_TRUE(other.Errors().empty());
}

TEST_F(JUXFunction, CombineSetStateTable) {
  // [node][param] -> new state; * marks the mismatch error.
  const char* table[4][4] = {{"0", "1", "2", "3"}, {"1", "1", "1*", "3"}, {"2", "2*", "2", "3"}, {"3", "3", "3", "3"}};
  for (uint8_t node = 0; node < 4; ++node)
    for (uint8_t param = 0; param < 4; ++param) {
      SCOPED_TRACE(testing::Message() << int(node) << " with " << int(param));
      TJUXExpr_Root root;
      const auto f = Make<TTestPlus>(&root, {IntegerParam(0), IntegerParam(0)});
      f->Param(1)->SetSetState(param);
      f->SetSetState(node);
      f->CombineSetState(1);
      EXPECT_EQ(std::string(1, static_cast<char>('0' + f->SetState())), std::string(1, table[node][param][0]));
      EXPECT_EQ(root.HasErrorKind(jeScopeSet), table[node][param][1] == '*');
    }
}

TEST_F(JUXFunction, StopsAfterTheParameterFollowingAnError) {
  TTestSet *p0 = nullptr, *p1 = nullptr, *p2 = nullptr;
  const auto node = Make<TTestPlus>(&Root, {SetParam({1}, &p0, true), SetParam({2}, &p1, true), SetParam({3}, &p2, true)});
  node->Prepare(nullptr);
  p0->Fail = true;
  node->EvaluateEx(nullptr, true);
  EXPECT_EQ(p1->Evaluations, 1);
  EXPECT_EQ(p2->Evaluations, 0);
  EXPECT_EQ(static_cast<TTestPlus&>(*node).Combined, 0);
  EXPECT_TRUE(node->HasError());

  node->ClearErrorFlag();
  EXPECT_FALSE(node->HasError());
  EXPECT_FALSE(node->Param(0)->HasError());
  EXPECT_TRUE(node->Param(0)->HasErrorKind(jeScopeSet));
  EXPECT_EQ(node->IndexOfParam(node->Param(2)), 2);
  EXPECT_EQ(node->IndexOfParam(node.get()), -1);
}

TEST_F(JUXFunction, PrintsOperatorsAndCalls) {
  const auto rightNested =
      Make<TTestMinus>(&Root, {IntegerParam(1), Node<TTestMinus>({IntegerParam(2), IntegerParam(3)})}, true);
  EXPECT_EQ(rightNested->AsText(), "1 - (2 - 3)");
  const auto leftNested =
      Make<TTestMinus>(&Root, {Node<TTestMinus>({IntegerParam(1), IntegerParam(2)}), IntegerParam(3)}, true);
  EXPECT_EQ(leftNested->AsText(), "(1 - 2) - 3");
  const auto tighter =
      Make<TTestPlus>(&Root, {IntegerParam(1), Node<TTestTimes>({IntegerParam(2), IntegerParam(3)})}, true);
  EXPECT_EQ(tighter->AsText(), "1 + 2 * 3");
  const auto call = Make<TTestPlus>(&Root, {IntegerParam(1), StringParam("a")}, false);
  EXPECT_EQ(call->AsText(), "plus(1; 'a')");
  const auto unary = Make<TTestPlus>(&Root, {IntegerParam(4)}, true);
  EXPECT_EQ(unary->AsText(), "+ 4");
}

TEST_F(JUXFunction, CloneCopiesTheSubtree) {
  const auto node = Make<TTestPlus>(&Root, {IntegerParam(1), Node<TTestMinus>({IntegerParam(5), IntegerParam(2)})}, true);
  node->Prepare(nullptr);
  node->EvaluateEx(nullptr, true);
  const std::unique_ptr<TJUXExpression> copy = node->Clone();
  auto& fn = static_cast<TTestPlus&>(*copy);
  EXPECT_EQ(fn.AsText(), "1 + (5 - 2)");
  EXPECT_EQ(fn.Combined, -1);  // CloneFields ran
  EXPECT_EQ(fn.Param(1)->Parent(), copy.get());
  EXPECT_EQ(fn.Param(1)->Root(), copy.get());
  EXPECT_EQ(fn.Result()->AsInteger(nullptr), 4);
  fn.Prepare(nullptr);
  fn.EvaluateEx(nullptr, true);
  EXPECT_EQ(fn.Result()->AsInteger(nullptr), 4);
  EXPECT_TRUE(copy->Errors().empty());
}

TEST_F(JUXFunction, AbstractCombineIsAPreconditionFailure) {
  const auto node = Make<TTestTimes>(&Root, {IntegerParam(1), IntegerParam(2)});
  node->Prepare(nullptr);
  try {
    node->EvaluateEx(nullptr, true);
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "Non-implemented abstract method called. Please check.");
  }
}

}  // namespace
