#include "eval/values/scalar_vars.h"

#include "eval/values/scalar_operations.h"

std::unique_ptr<TJUXVar_Boolean> TJUXVar_Boolean::CreateWithValue(bool value) {
  return std::make_unique<TJUXVar_Boolean>(value);
}

void TJUXVar_Boolean::Assign(const TJUXVar& source, TJUXExpression* sink) { FValue = JUXReadBoolean(source, sink); }

std::string TJUXVar_Boolean::ToText(const TFormatSettings&) const { return FValue ? "True" : "False"; }

bool TJUXVar_Boolean::AsBoolean(TJUXExpression*) const { return FValue; }
void TJUXVar_Boolean::SetBoolean(bool value, TJUXExpression*) { FValue = value; }

void TJUXVar_Boolean::CastToBoolean(TJUXVar& dest, TJUXExpression* sink) const { dest.SetBoolean(FValue, sink); }
void TJUXVar_Boolean::CastToDouble(TJUXVar& dest, TJUXExpression* sink) const { dest.SetDouble(FValue ? 1.0 : 0.0, sink); }
void TJUXVar_Boolean::CastToInteger(TJUXVar& dest, TJUXExpression* sink) const { dest.SetInteger(FValue ? 1 : 0, sink); }

void TJUXVar_Boolean::OpNot(TJUXExpression*) { FValue = !FValue; }
// The operators and comparisons are those of scalar_operations.h.
void TJUXVar_Boolean::OpAnd(const TJUXVar& other, TJUXExpression* sink) { JUXApply(*this, TJUXInPlaceOp::And, other, sink); }
void TJUXVar_Boolean::OpOr(const TJUXVar& other, TJUXExpression* sink) { JUXApply(*this, TJUXInPlaceOp::Or, other, sink); }
void TJUXVar_Boolean::OpXor(const TJUXVar& other, TJUXExpression* sink) { JUXApply(*this, TJUXInPlaceOp::Xor, other, sink); }
void TJUXVar_Boolean::OpMax(const TJUXVar& other, TJUXExpression* sink) { JUXApply(*this, TJUXInPlaceOp::Max, other, sink); }
void TJUXVar_Boolean::OpMin(const TJUXVar& other, TJUXExpression* sink) { JUXApply(*this, TJUXInPlaceOp::Min, other, sink); }

void TJUXVar_Boolean::OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  JUXStoreBoolean(result, JUXCompare(*this, TJUXComparisonOp::Equal, other, sink), sink);
}
void TJUXVar_Boolean::OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  JUXStoreBoolean(result, JUXCompare(*this, TJUXComparisonOp::NotEqual, other, sink), sink);
}
