// mapstr, lookup, mapindex, find, samevalue and datatype.
#include "eval/functions/lookups/lookup_functions.h"

#include <cmath>
#include <string>

#include "eval/values/scalar_vars.h"

namespace {

// The tolerance of samevalue without a third parameter.
constexpr double kSameValueTolerance = 1e-10;

void SetUnlimitedFrom(TJUXFuncInfo& info, int32_t minimum) {
  info.MinParams = minimum;
  info.MaxParams = kJUXUnlimitedParams;
}

}  // namespace

// --- mapstr

void TJUXFunc_MapStr::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFunction::GetFunctionInfo(info);
  SetUnlimitedFrom(info, 2);
}

// The result follows parameter 0 element by element, so a set there is only
// welcome where mapstr itself may be a set.
bool TJUXFunc_MapStr::AcceptsSetParam(int index) const {
  return index == 0 && TJUXFunction::AcceptsSetParam(index);
}

void TJUXFunc_MapStr::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  FResult = std::make_unique<TJUXVar_Integer>();
}

void TJUXFunc_MapStr::Evaluate(TTreeMapNode* scope, bool first) {
  FParams[0]->EvaluateEx(scope, first);
  const std::string text = ParamValue(0).AsString(this);
  int32_t found = -1;
  for (int i = 1; i < ParamCount() && !HasError(); ++i) {
    FParams[static_cast<size_t>(i)]->EvaluateEx(scope, first);
    const std::string pattern = ParamValue(i).AsString(this);
    // No early exit: the last matching pattern wins.
    if (!pattern.empty() && text.find(pattern) != std::string::npos) found = i - 1;
  }
  FResult->SetInteger(found, this);
  FSetState = FParams[0]->SetState();
}

// --- lookup

void TJUXFunc_Lookup::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXTwoParamFunc::GetFunctionInfo(info);
  SetUnlimitedFrom(info, 2);
}

bool TJUXFunc_Lookup::AcceptsSetParam(int index) const {
  return index == 0 && TJUXTwoParamFunc::AcceptsSetParam(index);
}

void TJUXFunc_Lookup::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  UnifyParamTypes(1);
}

void TJUXFunc_Lookup::Evaluate(TTreeMapNode* scope, bool first) {
  FParams[0]->EvaluateEx(scope, first);
  const int64_t index = ParamValue(0).AsInteger(this);
  if (!HasError()) {
    // Only the chosen result is evaluated.
    if (index >= 0 && index < ParamCount() - 1) {
      TJUXExpression& chosen = *FParams[static_cast<size_t>(index + 1)];
      chosen.EvaluateEx(scope, first);
      FResult->Assign(*chosen.Result(), this);
    } else {
      AddError(jeInternal, "Value out of range with lookup function");
    }
  }
  FSetState = FParams[0]->SetState();
}

// --- mapindex

TJUXFunc_MapIndex::TJUXFunc_MapIndex(TJUXExpression* parent)
    : TJUXFunction(parent), FComparison(std::make_unique<TJUXVar_Boolean>()) {}

TJUXFunc_MapIndex::~TJUXFunc_MapIndex() = default;

void TJUXFunc_MapIndex::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFunction::GetFunctionInfo(info);
  SetUnlimitedFrom(info, 2);
}

bool TJUXFunc_MapIndex::AcceptsSetParam(int index) const {
  return index == 0 && TJUXFunction::AcceptsSetParam(index);
}

void TJUXFunc_MapIndex::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  FResult = std::make_unique<TJUXVar_Integer>();
}

void TJUXFunc_MapIndex::Evaluate(TTreeMapNode* scope, bool first) {
  FParams[0]->EvaluateEx(scope, first);
  int32_t found = -1;
  // Downwards, so the lowest matching index is the one that stays.
  for (int i = ParamCount() - 1; i >= 1 && !HasError(); --i) {
    FParams[static_cast<size_t>(i)]->EvaluateEx(scope, first);
    FComparison->SetValue(false);
    ParamValue(0).OpEqual(*FComparison, ParamValue(i), this);
    if (FComparison->Value()) found = i - 1;
  }
  FResult->SetInteger(found, this);
  FSetState = FParams[0]->SetState();
}

// --- find

void TJUXFunc_MapIndexBool::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFunction::GetFunctionInfo(info);
  SetUnlimitedFrom(info, 2);
}

void TJUXFunc_MapIndexBool::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  FResult = std::make_unique<TJUXVar_Integer>();
}

void TJUXFunc_MapIndexBool::Evaluate(TTreeMapNode* scope, bool first) {
  int32_t found = -1;
  // Every parameter is evaluated; downwards, so the first true one stays.
  for (int i = ParamCount() - 1; i >= 0; --i) {
    FParams[static_cast<size_t>(i)]->EvaluateEx(scope, first);
    if (ParamValue(i).AsBoolean(this)) found = i;
  }
  FResult->SetInteger(found, this);
  CombineAllSetStates();
}

// --- samevalue

void TJUXFunc_SameValue::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXTwoParamFunc::GetFunctionInfo(info);
  info.MinParams = 2;
  info.MaxParams = 3;
}

void TJUXFunc_SameValue::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  FResult = std::make_unique<TJUXVar_Boolean>();
}

void TJUXFunc_SameValue::Evaluate(TTreeMapNode* scope, bool first) {
  FParams[0]->EvaluateEx(scope, first);
  FParams[1]->EvaluateEx(scope, first);
  double tolerance = kSameValueTolerance;
  if (ParamCount() == 3) {
    FParams[2]->EvaluateEx(scope, first);
    tolerance = ParamValue(2).AsDouble(this);
  }
  if (!HasError()) {
    const double a = ParamValue(0).AsDouble(this);
    const double b = ParamValue(1).AsDouble(this);
    // Written as "not >=" so that a NaN difference counts as the same value.
    FResult->SetBoolean(!(std::fabs(a - b) >= tolerance), this);
  }
  CombineAllSetStates();
}

// --- datatype

void TJUXFunc_DataType::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  const TJUXVar* value = FParams[0]->Result();
  FResult = std::make_unique<TJUXVar_String>(value ? std::string(value->TypeName()) : std::string());
}
