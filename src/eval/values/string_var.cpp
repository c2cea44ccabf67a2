#include "eval/values/scalar_vars.h"

#include "eval/language/expression.h"

// Texts of other string values are read in place (JUXReadString), and the
// own text is overwritten rather than replaced, so that a node's string
// result keeps its capacity across evaluations.

void TJUXVar_String::Assign(const TJUXVar& source, TJUXExpression* sink) {
  if (source.Storage() == TJUXVarStorage::String) {
    FValue = static_cast<const TJUXVar_String&>(source).FValue;
    return;
  }
  FValue = source.AsString(sink);
}

std::string TJUXVar_String::ToText(const TFormatSettings&) const { return FValue; }

std::string TJUXVar_String::AsString(TJUXExpression*) const { return FValue; }
void TJUXVar_String::SetString(const std::string& value, TJUXExpression*) { FValue = value; }

void TJUXVar_String::OpAdd(const TJUXVar& other, TJUXExpression* sink) {
  std::string scratch;
  FValue += JUXReadString(other, sink, scratch);
}

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
  std::string scratch;
  result.SetBoolean(FValue > JUXReadString(other, sink, scratch), sink);
}
void TJUXVar_String::OpGreaterEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  std::string scratch;
  result.SetBoolean(FValue >= JUXReadString(other, sink, scratch), sink);
}
void TJUXVar_String::OpLess(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  std::string scratch;
  result.SetBoolean(FValue < JUXReadString(other, sink, scratch), sink);
}
void TJUXVar_String::OpLessEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  std::string scratch;
  result.SetBoolean(FValue <= JUXReadString(other, sink, scratch), sink);
}
void TJUXVar_String::OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  std::string scratch;
  result.SetBoolean(FValue == JUXReadString(other, sink, scratch), sink);
}
void TJUXVar_String::OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  std::string scratch;
  result.SetBoolean(FValue != JUXReadString(other, sink, scratch), sink);
}
