#include "eval/jux_arithmetic_functions.h"

#include <utility>

#include "eval/jux_scalar_vars.h"

namespace {

bool IsIntegerValue(const TJUXVar* value) { return dynamic_cast<const TJUXVar_Integer*>(value) != nullptr; }

// The double class and every class derived from it (currency, percentage and
// the date and time classes).
bool IsDoubleValue(const TJUXVar* value) { return dynamic_cast<const TJUXVar_Double*>(value) != nullptr; }

}  // namespace

void TJUXOrderingFunc::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  FComparison.reset();
  // The common class of both operands, made as the result, becomes the
  // comparison value.
  UnifyParamTypes(0);
  FComparison = std::move(FResult);
  SetResult(CreateJUXVar(TJUXVar_Boolean::Class()));
}

void TJUXOrderingFunc::Evaluate(TTreeMapNode* scope, bool first) {
  Param(0)->EvaluateEx(scope, first);
  Param(1)->EvaluateEx(scope, first);
  FComparison->Assign(ParamValue(0), this);
  ((*FComparison).*Comparison())(*Result(), ParamValue(1), this);
  CombineAllSetStates();
}

void TJUXOrderingFunc::CloneFields(TJUXFunction& copy) const {
  TJUXTwoParamFunc::CloneFields(copy);
  if (FComparison) static_cast<TJUXOrderingFunc&>(copy).FComparison = FComparison->Clone();
}

void TJUXEqualityFunc::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  const TJUXVar* left = Param(0)->Result();
  const TJUXVar* right = Param(1)->Result();
  if ((IsIntegerValue(right) && IsDoubleValue(left)) || (IsIntegerValue(left) && IsDoubleValue(right)))
    AddError(jeIncompatibleTypes, "Dangerous comparison: integer = double");
  SetResult(CreateJUXVar(TJUXVar_Boolean::Class()));
}

void TJUXEqualityFunc::Evaluate(TTreeMapNode* scope, bool first) {
  Param(0)->EvaluateEx(scope, first);
  Param(1)->EvaluateEx(scope, first);
  (ParamValue(0).*Comparison())(*Result(), ParamValue(1), this);
  CombineAllSetStates();
}
