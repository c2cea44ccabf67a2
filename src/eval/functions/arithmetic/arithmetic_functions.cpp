#include "eval/functions/arithmetic/arithmetic_functions.h"

#include <cmath>

#include "eval/values/scalar_vars.h"
#include "foundation/assertion.h"
#include "foundation/rounding.h"

namespace {

// Rounding maps these (and NaN) to -2147483648; 2147483647.5 rounds to the
// even 2147483648, which is out of range too.
constexpr double kRoundLow = -2147483648.5;
constexpr double kRoundHigh = 2147483647.5;

bool RoundsOutOfRange(double x) { return std::isnan(x) || x < kRoundLow || x >= kRoundHigh; }

// --- typed folds

void RequireParsed(const TJUXFunction& node) {
  for (int i = 0; i < node.ParamCount(); ++i) Require(node.Param(i) != nullptr, kJUXUnparsedTree);
}

// The string class's "+" and "-", for the typed fold.
constexpr bool StringHas(TJUXInPlaceOp op) { return op == TJUXInPlaceOp::Add || op == TJUXInPlaceOp::Subtract; }
void JUXApply(TJUXVar_String& value, TJUXInPlaceOp op, const TJUXVar& other, TJUXExpression* sink) {
  if (op == TJUXInPlaceOp::Add)
    value.TJUXVar_String::OpAdd(other, sink);
  else
    value.TJUXVar_String::OpSubtract(other, sink);
}

// The standard evaluation of a fold on a result of class TValue (the double
// class standing for the classes derived from it, which keep its Assign and
// operators): TValue's own Assign, then its operation with every further
// parameter, both called without the virtual call. True: the fold is done.
// Kept out of line: EvaluateTypedFold, which only picks one, then needs no
// stack frame of its own and jumps to it, so a fold costs one frame, not two.
template <class TValue>
[[gnu::noinline]] bool EvaluateFold(TJUXFunction& node, TJUXInPlaceOp op, TTreeMapNode* scope, bool first) {
  RequireParsed(node);
  auto& result = static_cast<TValue&>(*node.Result());
  node.Param(0)->EvaluateParam(scope, first);
  if (!node.HasError()) {
    result.TValue::Assign(node.ParamValue(0), &node);
    node.SetSetState(node.Param(0)->SetState());
  }
  for (int i = 1; i < node.ParamCount(); ++i) {
    node.Param(i)->EvaluateParam(scope, first);
    if (node.HasError()) return true;
    JUXApply(result, op, node.ParamValue(i), &node);
    node.CombineSetState(i);
  }
  return true;
}

}  // namespace

bool EvaluateTypedFold(TJUXFunction& node, TJUXInPlaceOp op, TTreeMapNode* scope, bool first) {
  if (!node.Result() || node.ParamCount() == 0) return false;
  // Each case ends in its fold's call (a jump: see EvaluateFold).
  switch (node.Result()->Storage()) {
    case TJUXVarStorage::Float:
      return JUXDoubleHas(op) && EvaluateFold<TJUXVar_Double>(node, op, scope, first);
    case TJUXVarStorage::Integer:
      return JUXIntegerHas(op) && EvaluateFold<TJUXVar_Integer>(node, op, scope, first);
    case TJUXVarStorage::Boolean:
      return JUXBooleanHas(op) && EvaluateFold<TJUXVar_Boolean>(node, op, scope, first);
    case TJUXVarStorage::String:
      return StringHas(op) && EvaluateFold<TJUXVar_String>(node, op, scope, first);
    default:
      return false;
  }
}

void PrepareMathResult(TJUXFunction& node, TJUXResultRule rule) {
  switch (rule) {
    case TJUXResultRule::FromDouble:
      node.UnifyParamTypes(0, &TJUXVar_Double::Class());
      break;
    case TJUXResultRule::FromInteger:
      node.UnifyParamTypes(0, &TJUXVar_Integer::Class());
      break;
    case TJUXResultRule::Copy:
      node.SetResult(CloneVar(node.ParamValue(0)));
      break;
  }
}

void TJUXFunc_Div::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  SetResult(CreateJUXVar(TJUXVar_Double::Class()));
}

void TJUXFunc_Mod::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  UnifyParamTypes(0);
}

void TJUXFunc_Mod::Evaluate(TTreeMapNode* scope, bool first) {
  // No error test between the steps: both operands always count.
  Param(0)->EvaluateParam(scope, first);
  Result()->Assign(ParamValue(0), this);
  Param(1)->EvaluateParam(scope, first);
  Result()->OpMod(ParamValue(1), this);
  CombineAllSetStates();
}

void TJUXFunc_Power::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  UnifyParamTypes(0, &TJUXVar_Double::Class());
}

void TJUXFunc_Power::InitResult() {
  if (Result() && Result()->Storage() == TJUXVarStorage::Float) {
    // The standard InitResult with the double class's Assign called directly.
    auto& result = static_cast<TJUXVar_Double&>(*Result());
    result.TJUXVar_Double::Assign(ParamValue(0), this);
    SetSetState(Param(0)->SetState());
    return;
  }
  TJUXTwoParamFunc::InitResult();
}

void TJUXFunc_Power::CombineParam(int index) {
  // The base's own FnPower: directly for the number classes.
  if (!JUXComputeMath2Typed(TJUXMath2Fn::Power, ParamValue(0), ParamValue(index), *Result(), this))
    ParamValue(0).FnPower(ParamValue(index), *Result(), this);
  CombineSetState(index);
}

void TJUXFunc_Atan2::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  UnifyParamTypes(0, &TJUXVar_Double::Class());
}

void TJUXFunc_Atan2::InitResult() { SetSetState(Param(0)->SetState()); }

void TJUXFunc_Atan2::CombineParam(int index) {
  ParamValue(0).FnAtan2(ParamValue(index), *Result(), this);
  CombineSetState(index);
}

void TJUXFunc_Round::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  SetResult(CreateJUXVar(TJUXVar_Integer::Class()));
}

void TJUXFunc_Round::InitResult() {
  const double x = ParamValue(0).AsDouble(this);
  // An argument that no 32-bit integer represents is a range error, not a
  // silent -2147483648.
  if (RoundsOutOfRange(x)) SetFlags(JUXKindFlag(jeMathDomain));
  Result()->SetInteger(RoundDouble(x), this);
  SetSetState(Param(0)->SetState());
}

void TJUXFunc_Frac::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  UnifyParamTypes(0, &TJUXVar_Double::Class());
}

void TJUXFunc_Frac::InitResult() {
  const double x = ParamValue(0).AsDouble(this);
  Result()->SetDouble(x - std::trunc(x), this);
  SetSetState(Param(0)->SetState());
}

void TJUXFunc_Sign::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  SetResult(CreateJUXVar(TJUXVar_Integer::Class()));
}

void TJUXFunc_Sign::InitResult() {
  const double x = ParamValue(0).AsDouble(this);
  // NaN has no sign: the +1 it gets is flagged as a domain error.
  if (std::isnan(x)) SetFlags(JUXKindFlag(jeMathDomain));
  Result()->SetInteger(x == 0.0 ? 0 : (x < 0.0 ? -1 : 1), this);
  SetSetState(Param(0)->SetState());
}
