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

// What the value classes' comparisons compute, for the typed paths.
template <class T>
bool Compare(TJUXComparisonOp op, T a, T b) {
  switch (op) {
    case TJUXComparisonOp::Greater: return a > b;
    case TJUXComparisonOp::GreaterEqual: return a >= b;
    case TJUXComparisonOp::Less: return a < b;
    case TJUXComparisonOp::LessEqual: return a <= b;
    case TJUXComparisonOp::Equal: return a == b;
    case TJUXComparisonOp::NotEqual: return a != b;
  }
  return false;
}

// The comparison `left op right` of the number and Boolean classes, stored
// in a Boolean result without virtual calls; false when the classes ask for
// the value's own (virtual) comparison.
bool CompareTyped(TJUXComparisonOp op, const TJUXVar& left, const TJUXVar& right, TJUXVar& result,
                  TJUXExpression* sink) {
  if (result.Storage() != TJUXVarStorage::Boolean) return false;
  auto& answer = static_cast<TJUXVar_Boolean&>(result);
  switch (left.Storage()) {
    case TJUXVarStorage::Float: {
      const long double b = JUXReadDouble(right, sink);
      answer.SetValue(Compare(op, static_cast<const TJUXVar_Double&>(left).Value(), b));
      return true;
    }
    case TJUXVarStorage::Integer: {
      const int64_t b = JUXReadInteger(right, sink);
      answer.SetValue(Compare(op, static_cast<const TJUXVar_Integer&>(left).Value(), b));
      return true;
    }
    case TJUXVarStorage::Boolean:
      // Only equality is defined for Booleans; the ordering ones refuse.
      if (op != TJUXComparisonOp::Equal && op != TJUXComparisonOp::NotEqual) return false;
      {
        const bool b = JUXReadBoolean(right, sink);
        answer.SetValue(Compare(op, static_cast<const TJUXVar_Boolean&>(left).Value(), b));
      }
      return true;
    default:
      return false;
  }
}

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
    // The double class's Assign and comparison: both sides as doubles. The
    // comparison value still receives the first operand.
    const double a = JUXReadDouble(ParamValue(0), this);
    static_cast<TJUXVar_Double&>(comparison).SetValue(a);
    const double b = JUXReadDouble(ParamValue(1), this);
    static_cast<TJUXVar_Boolean&>(result).SetValue(Compare(FOp, a, b));
  } else {
    comparison.Assign(ParamValue(0), this);
    if (!CompareTyped(FOp, comparison, ParamValue(1), result, this))
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
  if (!CompareTyped(FOp, ParamValue(0), ParamValue(1), *Result(), this))
    (ParamValue(0).*ComparisonOf(FOp))(*Result(), ParamValue(1), this);
  CombineAllSetStates();
}
