// Every operator and one-argument mathematical function computed down two
// routes over every numeric value class and a grid of operands: through the
// function node (which takes typed paths for the number and Boolean classes)
// and through the value operations it is defined by, called virtually (what
// a host reaches with its own values, and what functions such as sum and
// diff call). The two must agree bit for bit, flags and messages included.
#include "eval/functions/arithmetic/arithmetic_functions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "eval/language/registry.h"
#include "eval/test_host.h"
#include "eval/values/derived_vars.h"
#include "eval/values/scalar_vars.h"

namespace {

using K = TJUXVarKind;

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

// Floating operands: exact doubles, numbers that only the 80-bit format holds
// (as a literal or an intermediate result can), double and extended
// subnormals, beyond the double range, and the non-finite values.
const long double kFloatGrid[] = {
    0.0L,     -0.0L,     1.0L,          -1.0L,   0.5L,    -0.25L,  3.0L,    -8.0L,
    1.0L / 3, -2.0L / 3, 0.1L,          1e300L,  -1e300L, 1.7976931348623157e308L,
    4.9e-324L, 1e-4940L, 1e4000L,       kNaN,    kInf,    -kInf,
};

const int64_t kIntegerGrid[] = {
    0, 1, -1, 2, -3, 7, 46340, 46341, 2147483647, -2147483648LL, 9007199254740993LL, INT64_MAX, INT64_MIN,
};

// A value of `kind` holding `number` exactly (80 bits for the floating
// classes, unlike Assign, which takes a double).
std::unique_ptr<TJUXVar> MakeValue(K kind, long double number) {
  std::unique_ptr<TJUXVar> value = JUXVarClass(kind).Create();
  if (value->Storage() == TJUXVarStorage::Float)
    static_cast<TJUXVar_Double&>(*value).SetValue(number);
  else
    static_cast<TJUXVar_Integer&>(*value).SetValue(static_cast<int64_t>(number));
  return value;
}

std::unique_ptr<TJUXVar> ExactCopy(const TJUXVar& value) {
  if (value.Storage() == TJUXVarStorage::Float)
    return MakeValue(value.GetClass().Kind, static_cast<const TJUXVar_Double&>(value).Value());
  return MakeValue(value.GetClass().Kind, static_cast<long double>(static_cast<const TJUXVar_Integer&>(value).Value()));
}

// A host's value as a parameter: the node holds the value exactly.
class THostValue : public TJUXExpression {
 public:
  THostValue(TJUXExpression* parent, const TJUXVar& value) : TJUXExpression(parent) { SetResult(ExactCopy(value)); }
  void Evaluate(TTreeMapNode*, bool) override {}
  void Prepare(TTreeMapNode*) override {}
  std::unique_ptr<TJUXExpression> Clone() const override { return nullptr; }
};

// What one route produced: class, value (the 80-bit pattern, or "NAN" for
// any NaN), the kind bits 2 to 5 and the messages of the evaluation.
std::string Describe(const TJUXVar& value, TJUXFlags flags, std::span<const std::string> messages) {
  std::ostringstream out;
  out << value.TypeName() << ' ';
  switch (value.Storage()) {
    case TJUXVarStorage::Float: {
      const long double number = static_cast<const TJUXVar_Double&>(value).Value();
      if (std::isnan(number)) {
        out << "NAN";
        break;
      }
      unsigned char bytes[10];
      std::memcpy(bytes, &number, sizeof bytes);  // the x87 extended format: 10 significant bytes
      out << std::hexfloat << number << " [";
      for (unsigned char b : bytes) out << std::hex << static_cast<int>(b) << ' ';
      out << ']';
      break;
    }
    case TJUXVarStorage::Integer:
      out << static_cast<const TJUXVar_Integer&>(value).Value();
      break;
    case TJUXVarStorage::Boolean:
      out << (static_cast<const TJUXVar_Boolean&>(value).Value() ? "True" : "False");
      break;
    default:
      out << '?';
  }
  out << " flags " << (flags & 0x3C);
  for (const std::string& m : messages) out << " | " << m;
  return out.str();
}

using TCreate = std::unique_ptr<TJUXFunction> (*)(TJUXExpression*, bool, TJUXParamSource&);

// The virtual route of one operation: computes into `result` (a fresh value
// of the node's result class) from x and y; `common` is the class in which
// the ordering comparisons compare.
using TVirtualRoute = std::function<void(const TJUXVar& x, const TJUXVar& y, TJUXVar& result,
                                         const TJUXVarClass& common, TJUXExpression* sink)>;

struct TOperation {
  std::string_view Name;
  TCreate Create;
  int Arity;  // 1 or 2
  TVirtualRoute Virtual;
};

template <class T>
constexpr TCreate Node = &CreateJUXFunction<T>;

// result := x (Assign), then result op= y: the folds and "mod".
TVirtualRoute Fold(void (TJUXVar::*op)(const TJUXVar&, TJUXExpression*)) {
  return [op](const TJUXVar& x, const TJUXVar& y, TJUXVar& result, const TJUXVarClass&, TJUXExpression* sink) {
    result.Assign(x, sink);
    (result.*op)(y, sink);
  };
}

// result := x, then the operation in place: neg and "not".
TVirtualRoute Unary(void (TJUXVar::*op)(TJUXExpression*)) {
  return [op](const TJUXVar& x, const TJUXVar&, TJUXVar& result, const TJUXVarClass&, TJUXExpression* sink) {
    result.Assign(x, sink);
    (result.*op)(sink);
  };
}

// The argument's function computes into the result.
TVirtualRoute Math(void (TJUXVar::*fn)(TJUXVar&, TJUXExpression*) const) {
  return [fn](const TJUXVar& x, const TJUXVar&, TJUXVar& result, const TJUXVarClass&, TJUXExpression* sink) {
    (x.*fn)(result, sink);
  };
}

// power starts from result := x; atan2 does not.
TVirtualRoute Math2(void (TJUXVar::*fn)(const TJUXVar&, TJUXVar&, TJUXExpression*) const, bool assignFirst) {
  return [fn, assignFirst](const TJUXVar& x, const TJUXVar& y, TJUXVar& result, const TJUXVarClass&,
                           TJUXExpression* sink) {
    if (assignFirst) result.Assign(x, sink);
    (x.*fn)(y, result, sink);
  };
}

using TComparison = void (TJUXVar::*)(TJUXVar&, const TJUXVar&, TJUXExpression*) const;

// x taken into a value of the common class, which compares with y.
TVirtualRoute Ordering(TComparison op) {
  return [op](const TJUXVar& x, const TJUXVar& y, TJUXVar& result, const TJUXVarClass& common, TJUXExpression* sink) {
    std::unique_ptr<TJUXVar> comparison = common.Create();
    comparison->Assign(x, sink);
    (comparison.get()->*op)(result, y, sink);
  };
}

// Equality is the left operand's own.
TVirtualRoute Equality(TComparison op) {
  return [op](const TJUXVar& x, const TJUXVar& y, TJUXVar& result, const TJUXVarClass&, TJUXExpression* sink) {
    (x.*op)(result, y, sink);
  };
}

const std::vector<TOperation>& Operations() {
  static const std::vector<TOperation> operations = {
      {"+", Node<TJUXFunc_Plus>, 2, Fold(&TJUXVar::OpAdd)},
      {"-", Node<TJUXFunc_Minus>, 2, Fold(&TJUXVar::OpSubtract)},
      {"*", Node<TJUXFunc_Mult>, 2, Fold(&TJUXVar::OpMultiply)},
      {"/", Node<TJUXFunc_Div>, 2, Fold(&TJUXVar::OpDivide)},
      {"max", Node<TJUXFunc_Max>, 2, Fold(&TJUXVar::OpMax)},
      {"min", Node<TJUXFunc_Min>, 2, Fold(&TJUXVar::OpMin)},
      {"and", Node<TJUXFunc_And>, 2, Fold(&TJUXVar::OpAnd)},
      {"or", Node<TJUXFunc_Or>, 2, Fold(&TJUXVar::OpOr)},
      {"xor", Node<TJUXFunc_Xor>, 2, Fold(&TJUXVar::OpXor)},
      {"mod", Node<TJUXFunc_Mod>, 2, Fold(&TJUXVar::OpMod)},
      {"^", Node<TJUXFunc_Power>, 2, Math2(&TJUXVar::FnPower, true)},
      {"atan2", Node<TJUXFunc_Atan2>, 2, Math2(&TJUXVar::FnAtan2, false)},
      {">", Node<TJUXFunc_Larger>, 2, Ordering(&TJUXVar::OpGreater)},
      {">=", Node<TJUXFunc_LargerEq>, 2, Ordering(&TJUXVar::OpGreaterEqual)},
      {"<", Node<TJUXFunc_Smaller>, 2, Ordering(&TJUXVar::OpLess)},
      {"<=", Node<TJUXFunc_SmallerEq>, 2, Ordering(&TJUXVar::OpLessEqual)},
      {"=", Node<TJUXFunc_Equal>, 2, Equality(&TJUXVar::OpEqual)},
      {"<>", Node<TJUXFunc_NotEqual>, 2, Equality(&TJUXVar::OpNotEqual)},
      {"neg", Node<TJUXFunc_Neg>, 1, Unary(&TJUXVar::OpNegate)},
      {"not", Node<TJUXFunc_Not>, 1, Unary(&TJUXVar::OpNot)},
      {"abs", Node<TJUXFunc_Abs>, 1, Math(&TJUXVar::FnAbs)},
      {"sin", Node<TJUXFunc_Sin>, 1, Math(&TJUXVar::FnSin)},
      {"cos", Node<TJUXFunc_Cos>, 1, Math(&TJUXVar::FnCos)},
      {"tan", Node<TJUXFunc_Tan>, 1, Math(&TJUXVar::FnTan)},
      {"atan", Node<TJUXFunc_Atan>, 1, Math(&TJUXVar::FnAtan)},
      {"log", Node<TJUXFunc_Log>, 1, Math(&TJUXVar::FnLog)},
      {"ln", Node<TJUXFunc_Ln>, 1, Math(&TJUXVar::FnLn)},
      {"exp", Node<TJUXFunc_Exp>, 1, Math(&TJUXVar::FnExp)},
      {"sqrt", Node<TJUXFunc_Sqrt>, 1, Math(&TJUXVar::FnSqrt)},
      {"sqr", Node<TJUXFunc_Sqr>, 1, Math(&TJUXVar::FnSqr)},
  };
  return operations;
}

// The tree route: the node over the two host values (one for a function of
// one argument), prepared and evaluated once; `resultClass` receives the
// class Prepare settled on.
std::string TreeRoute(const TOperation& op, const TJUXVar& x, const TJUXVar& y, const TJUXVarClass*& resultClass) {
  eval_test::TTestHost host;
  std::unique_ptr<TJUXExpr_Root> root = host.MakeRoot();
  std::vector<eval_test::TTestParams::TBuilder> builders;
  builders.push_back([&x](TJUXExpression& parent) { return std::make_unique<THostValue>(&parent, x); });
  if (op.Arity == 2)
    builders.push_back([&y](TJUXExpression& parent) { return std::make_unique<THostValue>(&parent, y); });
  eval_test::TTestParams params(std::move(builders));
  params.FunctionTables = &JUXFunctionTables();
  std::unique_ptr<TJUXFunction> node = op.Create(root.get(), true, params);
  node->Prepare(nullptr);
  // Prepare's own warnings (an integer compared with a double) are not the
  // operation's: the evaluation starts with the root's flags cleared, so
  // that a message of the same kind is not held back there.
  const size_t prepared = root->Errors().size();
  root->EvaluateEx(nullptr, true);
  node->EvaluateEx(nullptr, true);
  resultClass = &node->Result()->GetClass();
  return Describe(*node->Result(), node->Flags(), std::span(root->Errors()).subspan(prepared));
}

std::string VirtualRoute(const TOperation& op, const TJUXVar& x, const TJUXVar& y, const TJUXVarClass& resultClass,
                         const TJUXVarClass& common) {
  TJUXExpr_Root sink;
  std::unique_ptr<TJUXVar> result = resultClass.Create();
  op.Virtual(x, y, *result, common, &sink);
  return Describe(*result, sink.Flags(), sink.Errors());
}

// The common class of the operand classes used here (each pair unifies).
const TJUXVarClass& CommonClass(K left, K right) {
  if (left == right || right == K::Integer) return JUXVarClass(left);
  if (left == K::Integer) return JUXVarClass(right);
  return JUXVarClass(left);  // a floating class with a double
}

std::vector<long double> GridOf(K kind) {
  if (kind == K::Integer) {
    std::vector<long double> grid;
    for (int64_t v : kIntegerGrid) grid.push_back(static_cast<long double>(v));
    return grid;
  }
  return {std::begin(kFloatGrid), std::end(kFloatGrid)};
}

struct TClassPair {
  K Left, Right;
};

// Every numeric class with itself, every other one with a double, and the
// double with an integer.
const TClassPair kClassPairs[] = {
    {K::Integer, K::Integer},   {K::Double, K::Double},       {K::DateTime, K::DateTime},
    {K::Date, K::Date},         {K::Time, K::Time},           {K::Duration, K::Duration},
    {K::Currency, K::Currency}, {K::Percentage, K::Percentage}, {K::Integer, K::Double},
    {K::DateTime, K::Double},   {K::Date, K::Double},         {K::Time, K::Double},
    {K::Duration, K::Double},   {K::Currency, K::Double},     {K::Percentage, K::Double},
    {K::Double, K::Integer},
};

TEST(OperationRoutesTest, TreeAndValueOperationsAgreeOnEveryOperandPair) {
  int compared = 0, differing = 0;
  std::string shown;
  for (const TClassPair& pair : kClassPairs) {
    const std::vector<long double> left = GridOf(pair.Left), right = GridOf(pair.Right);
    for (const TOperation& op : Operations()) {
      const size_t rightCount = op.Arity == 2 ? right.size() : 1;
      if (op.Arity == 1 && pair.Left != pair.Right) continue;  // one argument: one class
      for (long double a : left) {
        for (size_t j = 0; j < rightCount; ++j) {
          const std::unique_ptr<TJUXVar> x = MakeValue(pair.Left, a);
          const std::unique_ptr<TJUXVar> y = MakeValue(pair.Right, right[j]);
          const TJUXVarClass* resultClass = nullptr;
          const std::string tree = TreeRoute(op, *x, *y, resultClass);
          const std::string virtualRoute =
              VirtualRoute(op, *x, *y, *resultClass, CommonClass(pair.Left, pair.Right));
          ++compared;
          if (tree == virtualRoute) continue;
          if (++differing <= 20) {
            std::ostringstream row;
            row << x->TypeName() << ' ' << static_cast<double>(a) << ' ' << op.Name << ' ' << y->TypeName() << ' '
                << static_cast<double>(right[j]) << "\n  tree:    " << tree << "\n  virtual: " << virtualRoute << '\n';
            shown += row.str();
          }
        }
      }
    }
  }
  EXPECT_EQ(differing, 0) << differing << " of " << compared << " operations differ; the first ones:\n" << shown;
  EXPECT_GT(compared, 10000);
}

// A fold over three operands: the second step starts from the 80-bit value
// the first one left, on both routes; and a chain long enough to be walked
// in a loop, each link taking the previous result as a double.
std::unique_ptr<TJUXFunction> BuildChain(TCreate create, const TJUXVar& x, const TJUXVar& y, int links,
                                         TJUXExpression& parent) {
  std::vector<eval_test::TTestParams::TBuilder> builders;
  if (links == 1)
    builders.push_back([&x](TJUXExpression& p) { return std::make_unique<THostValue>(&p, x); });
  else
    builders.push_back([create, &x, &y, links](TJUXExpression& p) -> std::unique_ptr<TJUXExpression> {
      return BuildChain(create, x, y, links - 1, p);
    });
  builders.push_back([&y](TJUXExpression& p) { return std::make_unique<THostValue>(&p, y); });
  eval_test::TTestParams params(std::move(builders));
  params.FunctionTables = &JUXFunctionTables();
  return create(&parent, true, params);
}

TEST(OperationRoutesTest, LongFoldsAndWalkedChainsAgreeWithTheValueOperations) {
  struct TFoldRow {
    std::string_view Name;
    TCreate Create;
    void (TJUXVar::*Op)(const TJUXVar&, TJUXExpression*);
  };
  const TFoldRow rows[] = {
      {"+", Node<TJUXFunc_Plus>, &TJUXVar::OpAdd},      {"-", Node<TJUXFunc_Minus>, &TJUXVar::OpSubtract},
      {"*", Node<TJUXFunc_Mult>, &TJUXVar::OpMultiply}, {"/", Node<TJUXFunc_Div>, &TJUXVar::OpDivide},
      {"max", Node<TJUXFunc_Max>, &TJUXVar::OpMax},     {"min", Node<TJUXFunc_Min>, &TJUXVar::OpMin},
  };
  constexpr int kLinks = 20;  // beyond the length from which a chain is walked in a loop
  int differing = 0;
  std::string shown;
  for (const TFoldRow& row : rows) {
    for (long double a : kFloatGrid) {
      for (long double b : kFloatGrid) {
        const std::unique_ptr<TJUXVar> x = MakeValue(K::Double, a), y = MakeValue(K::Double, b);
        eval_test::TTestHost host;
        std::unique_ptr<TJUXExpr_Root> root = host.MakeRoot();

        // op(x; y; y) in one node.
        eval_test::TTestParams params({
            [&x](TJUXExpression& p) { return std::make_unique<THostValue>(&p, *x); },
            [&y](TJUXExpression& p) { return std::make_unique<THostValue>(&p, *y); },
            [&y](TJUXExpression& p) { return std::make_unique<THostValue>(&p, *y); },
        });
        params.FunctionTables = &JUXFunctionTables();
        std::unique_ptr<TJUXFunction> fold = row.Create(root.get(), false, params);
        fold->Prepare(nullptr);
        fold->EvaluateEx(nullptr, true);
        TJUXExpr_Root sink;
        std::unique_ptr<TJUXVar> folded = fold->Result()->GetClass().Create();
        folded->Assign(*x, &sink);
        (folded.get()->*row.Op)(*y, &sink);
        (folded.get()->*row.Op)(*y, &sink);

        // ((x op y) op y) ... with kLinks nodes.
        std::unique_ptr<TJUXFunction> chain = BuildChain(row.Create, *x, *y, kLinks, *root);
        chain->Prepare(nullptr);
        chain->EvaluateEx(nullptr, true);
        TJUXExpr_Root chainSink;
        std::unique_ptr<TJUXVar> linked = ExactCopy(*x);
        for (int i = 0; i < kLinks; ++i) {
          std::unique_ptr<TJUXVar> next = chain->Result()->GetClass().Create();
          next->Assign(*linked, &chainSink);
          (next.get()->*row.Op)(*y, &chainSink);
          linked = std::move(next);
        }

        const std::string pairs[2][2] = {
            {Describe(*fold->Result(), fold->Flags(), {}), Describe(*folded, sink.Flags(), {})},
            {Describe(*chain->Result(), chain->Flags(), {}), Describe(*linked, chainSink.Flags(), {})},
        };
        for (const auto& [tree, virtualRoute] : pairs) {
          if (tree == virtualRoute) continue;
          if (++differing <= 10)
            shown += std::string(row.Name) + " over " + std::to_string(static_cast<double>(a)) + ", " +
                     std::to_string(static_cast<double>(b)) + "\n  tree:    " + tree + "\n  virtual: " + virtualRoute +
                     '\n';
        }
      }
    }
  }
  EXPECT_EQ(differing, 0) << shown;
}

// A parameter that holds a copy of a value and counts its evaluations.
class TCountedValue : public TJUXExpression {
 public:
  TCountedValue(TJUXExpression* parent, const TJUXVar& value, int& evaluations)
      : TJUXExpression(parent), FEvaluations(evaluations) {
    SetResult(CloneVar(value));
  }
  void Evaluate(TTreeMapNode*, bool) override { ++FEvaluations; }
  void Prepare(TTreeMapNode*) override {}
  std::unique_ptr<TJUXExpression> Clone() const override { return nullptr; }

 private:
  int& FEvaluations;
};

// Every fold, on results of each class it may have (typed or not), evaluates
// each of its parameters once per evaluation, never twice.
TEST(OperationRoutesTest, FoldsEvaluateEveryParameterOnce) {
  struct TFoldRow {
    std::string_view Name;
    TCreate Create;
  };
  const TFoldRow folds[] = {
      {"+", Node<TJUXFunc_Plus>}, {"-", Node<TJUXFunc_Minus>}, {"*", Node<TJUXFunc_Mult>},
      {"/", Node<TJUXFunc_Div>},  {"max", Node<TJUXFunc_Max>}, {"min", Node<TJUXFunc_Min>},
      {"and", Node<TJUXFunc_And>}, {"or", Node<TJUXFunc_Or>},  {"xor", Node<TJUXFunc_Xor>},
  };
  const std::unique_ptr<TJUXVar> operands[] = {
      MakeValue(K::Double, 2.5L), MakeValue(K::Integer, 3), MakeValue(K::Currency, 4.25L),
      std::make_unique<TJUXVar_Boolean>(true), std::make_unique<TJUXVar_String>("ab"),
  };
  constexpr int kParams = 3;
  int checked = 0;
  for (const TFoldRow& fold : folds) {
    for (const std::unique_ptr<TJUXVar>& operand : operands) {
      SCOPED_TRACE(std::string(fold.Name) + " over " + std::string(operand->TypeName()));
      eval_test::TTestHost host;
      std::unique_ptr<TJUXExpr_Root> root = host.MakeRoot();
      int evaluations[kParams] = {};
      std::vector<eval_test::TTestParams::TBuilder> builders;
      for (int& count : evaluations)
        builders.push_back([&operand, &count](TJUXExpression& parent) {
          return std::make_unique<TCountedValue>(&parent, *operand, count);
        });
      eval_test::TTestParams params(std::move(builders));
      params.FunctionTables = &JUXFunctionTables();
      std::unique_ptr<TJUXFunction> node = fold.Create(root.get(), true, params);
      node->Prepare(nullptr);
      if (root->HasError()) continue;  // no common class
      node->EvaluateEx(nullptr, true);
      // A refusal stops the fold after the parameter that follows it.
      const bool refused = node->HasError();
      for (int count : evaluations) {
        EXPECT_LE(count, 1);
        if (!refused) {
          EXPECT_EQ(count, 1);
        }
      }
      if (!refused) ++checked;
    }
  }
  EXPECT_GE(checked, 20);
}

// The double class's rule for its in-place arithmetic: a is its own 80-bit
// number, b the other operand read as a double. With a = b = 1e300 in
// extended precision, b rounds to a different double than a is.
TEST(OperationRoutesTest, TheDoubleClassTakesTheOtherOperandAsADouble) {
  const long double a = 1e300L;
  const long double b = static_cast<double>(1e300L);
  ASSERT_NE(a, b);
  struct TRuleRow {
    std::string_view Name;
    void (TJUXVar::*Op)(const TJUXVar&, TJUXExpression*);
    long double Expected;
  };
  const TRuleRow rows[] = {
      {"+", &TJUXVar::OpAdd, a + b},
      {"-", &TJUXVar::OpSubtract, a - b},
      {"*", &TJUXVar::OpMultiply, a * b},
      {"/", &TJUXVar::OpDivide, a / b},
      {"max", &TJUXVar::OpMax, b > a ? b : a},
      {"min", &TJUXVar::OpMin, b < a ? b : a},
  };
  for (const TRuleRow& row : rows) {
    SCOPED_TRACE(std::string(row.Name));
    TJUXVar_Double x(a);
    const TJUXVar_Double y(a);
    TJUXExpr_Root sink;
    (x.*row.Op)(y, &sink);
    EXPECT_EQ(x.Value(), row.Expected);
  }
  // Through the tree the first operand is assigned into the result as a
  // double first, so there both operands are the same double.
  const std::unique_ptr<TJUXVar> x = MakeValue(K::Double, a);
  const TJUXVarClass* resultClass = nullptr;
  const TOperation& minus = *std::find_if(Operations().begin(), Operations().end(),
                                          [](const TOperation& op) { return op.Name == "-"; });
  const std::string tree = TreeRoute(minus, *x, *x, resultClass);
  EXPECT_EQ(tree, Describe(TJUXVar_Double(0.0L), 0, {}));
}

}  // namespace
