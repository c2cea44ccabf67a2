#include "eval/functions/arithmetic/arithmetic_functions.h"

#include <array>
#include <utility>

#include "eval/values/scalar_vars.h"

namespace {

bool IsIntegerValue(const TJUXVar* value) { return dynamic_cast<const TJUXVar_Integer*>(value) != nullptr; }

// The double class and every class derived from it (currency, percentage and
// the date and time classes).
bool IsDoubleValue(const TJUXVar* value) { return dynamic_cast<const TJUXVar_Double*>(value) != nullptr; }

// The value operation of each comparison, in the order of TJUXComparisonOp.
constexpr std::array<TJUXVarComparison, 6> kComparisons = {&TJUXVar::OpGreater, &TJUXVar::OpGreaterEqual,
                                                           &TJUXVar::OpLess,    &TJUXVar::OpLessEqual,
                                                           &TJUXVar::OpEqual,   &TJUXVar::OpNotEqual};

TJUXVarComparison ComparisonOf(TJUXComparisonOp op) { return kComparisons[static_cast<size_t>(op)]; }

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
  Param(0)->EvaluateParam(scope, first);
  Param(1)->EvaluateParam(scope, first);
  TJUXVar& comparison = *FComparison;
  TJUXVar& result = *Result();
  if (comparison.Storage() == TJUXVarStorage::Float && result.Storage() == TJUXVarStorage::Boolean) {
    // The double class's Assign and comparison, called directly: both sides
    // as doubles.
    auto& number = static_cast<TJUXVar_Double&>(comparison);
    number.TJUXVar_Double::Assign(ParamValue(0), this);
    static_cast<TJUXVar_Boolean&>(result).SetValue(JUXCompare(number, FOp, ParamValue(1), this));
  } else {
    comparison.Assign(ParamValue(0), this);
    if (!JUXCompareTyped(FOp, comparison, ParamValue(1), result, this))
      (comparison.*ComparisonOf(FOp))(result, ParamValue(1), this);
  }
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
  Param(0)->EvaluateParam(scope, first);
  Param(1)->EvaluateParam(scope, first);
  if (!JUXCompareTyped(FOp, ParamValue(0), ParamValue(1), *Result(), this))
    (ParamValue(0).*ComparisonOf(FOp))(*Result(), ParamValue(1), this);
  CombineAllSetStates();
}
