// The conditionals ifthenelse and tryelse.
#include "eval/functions/casts/conditional_functions.h"

#include "foundation/assertion.h"

namespace {

constexpr std::string_view kUnparsedTree = "JUX: an expression with syntax errors cannot be prepared or evaluated";

}  // namespace

// --- ifthenelse

void TJUXFunc_IfThenElse::Prepare(TTreeMapNode* scope) {
  TJUXThreeParamFunc::Prepare(scope);
  UnifyParamTypes(1);
}

void TJUXFunc_IfThenElse::Evaluate(TTreeMapNode* scope, bool first) {
  Require(ParamCount() == 3, kUnparsedTree);
  Param(0)->EvaluateEx(scope, first);
  const bool choice = ParamValue(0).AsBoolean(this);
  if (!HasError()) {
    // Both branches count, so that their sets advance in step with the test.
    Param(1)->EvaluateEx(scope, first);
    Param(2)->EvaluateEx(scope, first);
    FResult->Assign(ParamValue(choice ? 1 : 2), this);
  }
  CombineAllSetStates();
}

// --- tryelse

bool TJUXFunc_TryElse::AcceptsSetParam(int index) const {
  return index == 0 && TJUXTwoParamFunc::AcceptsSetParam(index);
}

bool TJUXFunc_TryElse::CatchError() {
  if (!FCatching) return false;
  FFlags = static_cast<TJUXFlags>(FFlags | jfError);
  return true;
}

void TJUXFunc_TryElse::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  UnifyParamTypes(0);
}

void TJUXFunc_TryElse::Evaluate(TTreeMapNode* scope, bool first) {
  Require(ParamCount() == 2, kUnparsedTree);
  FCatching = true;
  Param(0)->EvaluateEx(scope, first);
  FCatching = false;
  int chosen = 0;
  if (HasError()) {
    ClearErrorFlag();  // here and below the value
    Param(1)->EvaluateEx(scope, first);
    chosen = 1;
  }
  FResult->Assign(ParamValue(chosen), this);
  FSetState = Param(0)->SetState();
}
