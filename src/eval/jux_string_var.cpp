#include "eval/jux_scalar_vars.h"

#include "eval/jux_expression.h"

void TJUXVar_String::Assign(const TJUXVar& source, TJUXExpression* sink) { FValue = source.AsString(sink); }

std::string TJUXVar_String::ToText(const TFormatSettings&) const { return FValue; }

std::string TJUXVar_String::AsString(TJUXExpression*) const { return FValue; }
void TJUXVar_String::SetString(const std::string& value, TJUXExpression*) { FValue = value; }

void TJUXVar_String::OpAdd(const TJUXVar& other, TJUXExpression* sink) { FValue += other.AsString(sink); }

void TJUXVar_String::OpSubtract(const TJUXVar& other, TJUXExpression* sink) {
  const std::string part = other.AsString(sink);
  if (part.empty()) return;
  std::string kept;
  size_t from = 0;
  for (size_t hit = FValue.find(part); hit != std::string::npos; hit = FValue.find(part, from)) {
    kept.append(FValue, from, hit - from);
    from = hit + part.size();
  }
  kept.append(FValue, from, std::string::npos);
  FValue = std::move(kept);
}

// std::string compares bytes as unsigned characters: ordinal order.
void TJUXVar_String::OpGreater(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const std::string b = other.AsString(sink);
  result.SetBoolean(FValue > b, sink);
}
void TJUXVar_String::OpGreaterEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const std::string b = other.AsString(sink);
  result.SetBoolean(FValue >= b, sink);
}
void TJUXVar_String::OpLess(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const std::string b = other.AsString(sink);
  result.SetBoolean(FValue < b, sink);
}
void TJUXVar_String::OpLessEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const std::string b = other.AsString(sink);
  result.SetBoolean(FValue <= b, sink);
}
void TJUXVar_String::OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const std::string b = other.AsString(sink);
  result.SetBoolean(FValue == b, sink);
}
void TJUXVar_String::OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const std::string b = other.AsString(sink);
  result.SetBoolean(FValue != b, sink);
}
