#include "eval/jux_arithmetic_functions.h"

#include <cmath>

#include "eval/jux_scalar_vars.h"
#include "foundation/rounding.h"

namespace {

// Rounding maps these (and NaN) to -2147483648; 2147483647.5 rounds to the
// even 2147483648, which is out of range too.
constexpr double kRoundLow = -2147483648.5;
constexpr double kRoundHigh = 2147483647.5;

bool RoundsOutOfRange(double x) { return std::isnan(x) || x < kRoundLow || x >= kRoundHigh; }

}  // namespace

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
  Param(0)->EvaluateEx(scope, first);
  Result()->Assign(ParamValue(0), this);
  Param(1)->EvaluateEx(scope, first);
  Result()->OpMod(ParamValue(1), this);
  CombineAllSetStates();
}

void TJUXFunc_Power::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  UnifyParamTypes(0, &TJUXVar_Double::Class());
}

void TJUXFunc_Power::CombineParam(int index) {
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
