#pragma once
// Operators and elementwise arithmetic functions of the expression language:
// the folds behind "+", "-", "*", "/", "max", "min", "and", "or", "xor"
// (also called by name as plus, minus, mult, div, maxf, minf), "mod", the six
// comparisons, unary "-" (neg) and "not", and the one- and two-argument
// mathematical functions (power, abs, sign, round, frac, sqr, sqrt, exp, ln,
// log, sin, cos, tan, atan, atan2).
//
// Each class settles the value class of its result in Prepare and then
// computes by calling the operations of the values, with this node as the
// sink; only round, frac and sign read their argument as a double. All are
// elementwise: a set-valued argument is handled one element per evaluation.

#include <cstdint>
#include <memory>
#include <span>

#include "eval/language/function.h"
#include "eval/values/scalar_operations.h"
#include "eval/values/var.h"

// --- folds: result := parameter 0, then result op= parameter i, left to right.

using TJUXVarOperator = void (TJUXVar::*)(const TJUXVar& other, TJUXExpression* sink);

// The standard evaluation of a fold (same order, set states and error stops)
// with the result class's own Assign and operation (scalar_operations.h)
// called directly, chosen by the result's storage; false, having done
// nothing, where the fold must go through the virtual operations (other
// classes, operations a class refuses, a node without result or parameters).
bool EvaluateTypedFold(TJUXFunction& node, TJUXInPlaceOp op, TTreeMapNode* scope, bool first);

// A fold over MinParams.. parameters with a unified result (the common class
// of all parameters).
template <TJUXVarOperator Op, TJUXInPlaceOp Kind, int MinParams>
class TJUXFoldFunc : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void GetFunctionInfo(TJUXFuncInfo& info) const override {
    TJUXFunction::GetFunctionInfo(info);
    info.MinParams = MinParams;
    info.MaxParams = kJUXUnlimitedParams;
  }
  bool KeepsParamZeroFirst() const override { return true; }
  void Prepare(TTreeMapNode* scope) override {
    TJUXFunction::Prepare(scope);
    UnifyParamTypes(0);
  }
  void Evaluate(TTreeMapNode* scope, bool first) override {
    if (!EvaluateTypedFold(*this, Kind, scope, first)) TJUXFunction::Evaluate(scope, first);
  }
  void CombineParam(int index) override {
    (Result()->*Op)(ParamValue(index), this);
    CombineSetState(index);
  }
};

class TJUXFunc_Plus : public TJUXFoldFunc<&TJUXVar::OpAdd, TJUXInPlaceOp::Add, 1> {
 public:
  using TJUXFoldFunc::TJUXFoldFunc;
};
class TJUXFunc_Minus : public TJUXFoldFunc<&TJUXVar::OpSubtract, TJUXInPlaceOp::Subtract, 2> {
 public:
  using TJUXFoldFunc::TJUXFoldFunc;
};
class TJUXFunc_Mult : public TJUXFoldFunc<&TJUXVar::OpMultiply, TJUXInPlaceOp::Multiply, 2> {
 public:
  using TJUXFoldFunc::TJUXFoldFunc;
};
// Always divides in a double result: `7 / 2` is 3.5.
class TJUXFunc_Div : public TJUXFoldFunc<&TJUXVar::OpDivide, TJUXInPlaceOp::Divide, 2> {
 public:
  using TJUXFoldFunc::TJUXFoldFunc;
  void Prepare(TTreeMapNode* scope) override;
};
class TJUXFunc_And : public TJUXFoldFunc<&TJUXVar::OpAnd, TJUXInPlaceOp::And, 2> {
 public:
  using TJUXFoldFunc::TJUXFoldFunc;
};
class TJUXFunc_Or : public TJUXFoldFunc<&TJUXVar::OpOr, TJUXInPlaceOp::Or, 2> {
 public:
  using TJUXFoldFunc::TJUXFoldFunc;
};
class TJUXFunc_Xor : public TJUXFoldFunc<&TJUXVar::OpXor, TJUXInPlaceOp::Xor, 2> {
 public:
  using TJUXFoldFunc::TJUXFoldFunc;
};
class TJUXFunc_Max : public TJUXFoldFunc<&TJUXVar::OpMax, TJUXInPlaceOp::Max, 2> {
 public:
  using TJUXFoldFunc::TJUXFoldFunc;
};
class TJUXFunc_Min : public TJUXFoldFunc<&TJUXVar::OpMin, TJUXInPlaceOp::Min, 2> {
 public:
  using TJUXFoldFunc::TJUXFoldFunc;
};

// --- unary copies: the result is a clone of the operand's value, then the
// operation is applied to it in place.

using TJUXVarUnaryOperator = void (TJUXVar::*)(TJUXExpression* sink);

template <TJUXVarUnaryOperator Op>
class TJUXUnaryCopyFunc : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  bool KeepsParamZeroFirst() const override { return true; }
  void Prepare(TTreeMapNode* scope) override {
    TJUXFunction::Prepare(scope);
    SetResult(CloneVar(ParamValue(0)));
  }
  void InitResult() override {
    TJUXFunction::InitResult();
    (Result()->*Op)(this);
  }
};

class TJUXFunc_Neg : public TJUXUnaryCopyFunc<&TJUXVar::OpNegate> {
 public:
  using TJUXUnaryCopyFunc::TJUXUnaryCopyFunc;
};
class TJUXFunc_Not : public TJUXUnaryCopyFunc<&TJUXVar::OpNot> {
 public:
  using TJUXUnaryCopyFunc::TJUXUnaryCopyFunc;
};

// --- "mod": both operands are always evaluated and the remainder always taken.
class TJUXFunc_Mod : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  bool KeepsParamZeroFirst() const override { return true; }
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// --- ordering comparisons: both operands are compared in their common class,
// through a comparison value of that class that receives the first operand.

using TJUXVarComparison = void (TJUXVar::*)(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const;

class TJUXOrderingFunc : public TJUXTwoParamFunc {
 public:
  TJUXOrderingFunc(TJUXExpression* parent, TJUXComparisonOp op) : TJUXTwoParamFunc(parent), FOp(op) {}
  bool KeepsParamZeroFirst() const override { return true; }
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 protected:
  void CloneFields(TJUXFunction& copy) const override;

 private:
  TJUXComparisonOp FOp;
  std::unique_ptr<TJUXVar> FComparison;  // of the common class; made by Prepare
};

class TJUXFunc_Larger : public TJUXOrderingFunc {
 public:
  explicit TJUXFunc_Larger(TJUXExpression* parent) : TJUXOrderingFunc(parent, TJUXComparisonOp::Greater) {}
};
class TJUXFunc_Smaller : public TJUXOrderingFunc {
 public:
  explicit TJUXFunc_Smaller(TJUXExpression* parent) : TJUXOrderingFunc(parent, TJUXComparisonOp::Less) {}
};
class TJUXFunc_LargerEq : public TJUXOrderingFunc {
 public:
  explicit TJUXFunc_LargerEq(TJUXExpression* parent) : TJUXOrderingFunc(parent, TJUXComparisonOp::GreaterEqual) {}
};
class TJUXFunc_SmallerEq : public TJUXOrderingFunc {
 public:
  explicit TJUXFunc_SmallerEq(TJUXExpression* parent) : TJUXOrderingFunc(parent, TJUXComparisonOp::LessEqual) {}
};

// --- equality: done by the class of the left operand, which reads the right
// one through its getters. Prepare warns (kind 4) when an integer meets a
// double or a class derived from it, since that comparison is fragile.
class TJUXEqualityFunc : public TJUXTwoParamFunc {
 public:
  TJUXEqualityFunc(TJUXExpression* parent, TJUXComparisonOp op) : TJUXTwoParamFunc(parent), FOp(op) {}
  bool KeepsParamZeroFirst() const override { return true; }
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 private:
  TJUXComparisonOp FOp;
};

class TJUXFunc_Equal : public TJUXEqualityFunc {
 public:
  explicit TJUXFunc_Equal(TJUXExpression* parent) : TJUXEqualityFunc(parent, TJUXComparisonOp::Equal) {}
};
class TJUXFunc_NotEqual : public TJUXEqualityFunc {
 public:
  explicit TJUXFunc_NotEqual(TJUXExpression* parent) : TJUXEqualityFunc(parent, TJUXComparisonOp::NotEqual) {}
};

// --- mathematical functions of one argument: the argument's value computes
// into the result (no assignment first).

using TJUXVarFunction = void (TJUXVar::*)(TJUXVar& result, TJUXExpression* sink) const;

// How a one-argument function makes its result value in Prepare.
enum class TJUXResultRule : uint8_t {
  FromDouble,   // unified from the double class
  FromInteger,  // unified from the integer class
  Copy,         // a clone of the argument's value
};

// The result value of a one-argument function by its rule.
void PrepareMathResult(TJUXFunction& node, TJUXResultRule rule);

template <TJUXVarFunction Fn, TJUXMathFn Op, TJUXResultRule Rule>
class TJUXMathFunc : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Prepare(TTreeMapNode* scope) override {
    TJUXFunction::Prepare(scope);
    PrepareMathResult(*this, Rule);
  }
  void InitResult() override {
    // The argument class's own function: directly for the number classes.
    if (!JUXComputeMathTyped(Op, ParamValue(0), *Result(), this)) (ParamValue(0).*Fn)(*Result(), this);
    SetSetState(Param(0)->SetState());
  }
};

class TJUXFunc_Sin : public TJUXMathFunc<&TJUXVar::FnSin, TJUXMathFn::Sin, TJUXResultRule::FromDouble> {
 public:
  using TJUXMathFunc::TJUXMathFunc;
};
class TJUXFunc_Cos : public TJUXMathFunc<&TJUXVar::FnCos, TJUXMathFn::Cos, TJUXResultRule::FromDouble> {
 public:
  using TJUXMathFunc::TJUXMathFunc;
};
class TJUXFunc_Tan : public TJUXMathFunc<&TJUXVar::FnTan, TJUXMathFn::Tan, TJUXResultRule::FromDouble> {
 public:
  using TJUXMathFunc::TJUXMathFunc;
};
class TJUXFunc_Atan : public TJUXMathFunc<&TJUXVar::FnAtan, TJUXMathFn::Atan, TJUXResultRule::FromDouble> {
 public:
  using TJUXMathFunc::TJUXMathFunc;
};
// Base-10 logarithm.
class TJUXFunc_Log : public TJUXMathFunc<&TJUXVar::FnLog, TJUXMathFn::Log, TJUXResultRule::FromDouble> {
 public:
  using TJUXMathFunc::TJUXMathFunc;
};
class TJUXFunc_Ln : public TJUXMathFunc<&TJUXVar::FnLn, TJUXMathFn::Ln, TJUXResultRule::FromDouble> {
 public:
  using TJUXMathFunc::TJUXMathFunc;
};
class TJUXFunc_Exp : public TJUXMathFunc<&TJUXVar::FnExp, TJUXMathFn::Exp, TJUXResultRule::FromDouble> {
 public:
  using TJUXMathFunc::TJUXMathFunc;
};
class TJUXFunc_Sqrt : public TJUXMathFunc<&TJUXVar::FnSqrt, TJUXMathFn::Sqrt, TJUXResultRule::FromDouble> {
 public:
  using TJUXMathFunc::TJUXMathFunc;
};
// An integer argument squares as an integer (0 and kind 3 beyond 46340).
class TJUXFunc_Sqr : public TJUXMathFunc<&TJUXVar::FnSqr, TJUXMathFn::Sqr, TJUXResultRule::FromInteger> {
 public:
  using TJUXMathFunc::TJUXMathFunc;
};
// Keeps the argument's class.
class TJUXFunc_Abs : public TJUXMathFunc<&TJUXVar::FnAbs, TJUXMathFn::Abs, TJUXResultRule::Copy> {
 public:
  using TJUXMathFunc::TJUXMathFunc;
};

// --- power and atan2: the first argument's class computes with the second.

// `power(b; e)`: b to the power e.
class TJUXFunc_Power : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  bool KeepsParamZeroFirst() const override { return true; }
  void Prepare(TTreeMapNode* scope) override;
  void InitResult() override;
  void CombineParam(int index) override;
};

// `atan2(DeltaY; DeltaX)`: the angle of the vector (DeltaX, DeltaY).
class TJUXFunc_Atan2 : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void InitResult() override;
  void CombineParam(int index) override;
};

// --- functions that read their argument as a double.

// The nearest 32-bit integer, ties to even. NaN or a value outside the 32-bit
// range gives -2147483648 and flags kind 3.
class TJUXFunc_Round : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Prepare(TTreeMapNode* scope) override;
  void InitResult() override;
};

// x minus x truncated toward zero, so the fraction keeps the sign of x.
class TJUXFunc_Frac : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Prepare(TTreeMapNode* scope) override;
  void InitResult() override;
};

// The integer -1, 0 (for +0 and -0) or +1; NaN gives +1 and flags kind 3.
class TJUXFunc_Sign : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Prepare(TTreeMapNode* scope) override;
  void InitResult() override;
};

// The registry rows of this group: plus, minus, mult, div, neg, maxf, minf,
// power, abs, sign, round, frac, sqr, sqrt, exp, ln, log, sin, cos, tan, atan,
// atan2. The operator-only classes (and, or, xor, not, mod, comparisons) have
// no row.
std::span<const TJUXFunctionInfo> ArithmeticFunctionTable();
