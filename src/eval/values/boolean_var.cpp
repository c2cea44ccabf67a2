#include "eval/values/scalar_vars.h"

#include "eval/language/expression.h"

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
void TJUXVar_Boolean::OpAnd(const TJUXVar& other, TJUXExpression* sink) {
  if (FValue) FValue = JUXReadBoolean(other, sink);
}
void TJUXVar_Boolean::OpOr(const TJUXVar& other, TJUXExpression* sink) {
  if (!FValue) FValue = JUXReadBoolean(other, sink);
}
void TJUXVar_Boolean::OpXor(const TJUXVar& other, TJUXExpression* sink) { FValue = FValue != JUXReadBoolean(other, sink); }
void TJUXVar_Boolean::OpMax(const TJUXVar& other, TJUXExpression* sink) { OpOr(other, sink); }
void TJUXVar_Boolean::OpMin(const TJUXVar& other, TJUXExpression* sink) { OpAnd(other, sink); }

void TJUXVar_Boolean::OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const bool b = JUXReadBoolean(other, sink);
  result.SetBoolean(FValue == b, sink);
}
void TJUXVar_Boolean::OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const bool b = JUXReadBoolean(other, sink);
  result.SetBoolean(FValue != b, sink);
}
