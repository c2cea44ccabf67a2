#pragma once
// The four scalar value classes: double (80-bit extended; also the parent of
// the derived number classes), integer (64-bit), Boolean and string (8-bit
// characters). Numbers cross class borders as doubles; SetInteger takes 32
// bits. Division by zero flags kind 2 and domain errors of the mathematical
// functions kind 3 in the sink (no message); those operations, and the string
// casts, need a sink.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "eval/values/var.h"

class TJUXVar_Double : public TJUXVar {
 public:
  TJUXVar_Double() : TJUXVar(TJUXVarStorage::Float) {}
  explicit TJUXVar_Double(long double value) : TJUXVar(TJUXVarStorage::Float) { SetValue(value); }
  static const TJUXVarClass& Class() { return JUXVarClass(TJUXVarKind::Double); }
  static std::unique_ptr<TJUXVar_Double> CreateWithValue(double value);

  // The value, and the value rounded to a double (what AsDouble answers),
  // which is kept beside it: readers that want a double then load 8 bytes
  // instead of converting the extended value, whose 10-byte stores the
  // processor cannot forward to a load that follows closely.
  long double Value() const { return FValue; }
  double Rounded() const { return FRounded; }
  // True when the value is a double (Rounded() is then the value exactly).
  bool HoldsDouble() const { return FHoldsDouble; }
  // The same number as Value(), read from the double beside it when that
  // holds it exactly: what the arithmetic reads, so that a value stored just
  // before costs no stalled 10-byte load.
  long double FastValue() const { return FHoldsDouble ? static_cast<long double>(FRounded) : FValue; }
  void SetValue(long double value) {
    FValue = value;
    FRounded = static_cast<double>(value);
    FHoldsDouble = static_cast<long double>(FRounded) == value;
  }
  void SetValue(double value) {
    FValue = value;
    FRounded = value;
    FHoldsDouble = true;
  }

  const TJUXVarClass& GetClass() const override { return Class(); }
  // value := source as a double (inline below, for the typed paths that call
  // it without the virtual call).
  void Assign(const TJUXVar& source, TJUXExpression* sink) override;
  // Trimmed decimals: at least 0, at most 6.
  std::string ToText(const TFormatSettings& settings) const override;
  TJUXVarRec ToVarRec() const override { return FValue; }

  double AsDouble(TJUXExpression* sink) const override;
  double AsCurrency(TJUXExpression* sink) const override;
  double AsPercentage(TJUXExpression* sink) const override;
  double AsDateTime(TJUXExpression* sink) const override;
  double AsDate(TJUXExpression* sink) const override;
  double AsDuration(TJUXExpression* sink) const override;
  void SetInteger(int32_t value, TJUXExpression* sink) override;
  void SetDouble(double value, TJUXExpression* sink) override;

  void CastToBoolean(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToInteger(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDouble(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToCurrency(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToPercentage(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDateTime(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDate(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToTime(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDuration(TJUXVar& dest, TJUXExpression* sink) const override;

  void OpAdd(const TJUXVar& other, TJUXExpression* sink) override;
  void OpSubtract(const TJUXVar& other, TJUXExpression* sink) override;
  void OpMultiply(const TJUXVar& other, TJUXExpression* sink) override;
  void OpDivide(const TJUXVar& other, TJUXExpression* sink) override;
  void OpMod(const TJUXVar& other, TJUXExpression* sink) override;
  void OpNegate(TJUXExpression* sink) override;
  void OpMax(const TJUXVar& other, TJUXExpression* sink) override;
  void OpMin(const TJUXVar& other, TJUXExpression* sink) override;

  void OpGreater(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpGreaterEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpLess(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpLessEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;

  void FnAbs(TJUXVar& result, TJUXExpression* sink) const override;
  void FnSin(TJUXVar& result, TJUXExpression* sink) const override;
  void FnCos(TJUXVar& result, TJUXExpression* sink) const override;
  void FnTan(TJUXVar& result, TJUXExpression* sink) const override;
  void FnAtan(TJUXVar& result, TJUXExpression* sink) const override;
  void FnAtan2(const TJUXVar& other, TJUXVar& result, TJUXExpression* sink) const override;
  void FnLog(TJUXVar& result, TJUXExpression* sink) const override;
  void FnLn(TJUXVar& result, TJUXExpression* sink) const override;
  void FnSqrt(TJUXVar& result, TJUXExpression* sink) const override;
  void FnSqr(TJUXVar& result, TJUXExpression* sink) const override;
  void FnExp(TJUXVar& result, TJUXExpression* sink) const override;
  void FnPower(const TJUXVar& other, TJUXVar& result, TJUXExpression* sink) const override;

 private:
  long double FValue = 0.0L;
  double FRounded = 0.0;  // always FValue rounded to a double
  bool FHoldsDouble = true;
};

class TJUXVar_Integer : public TJUXVar {
 public:
  TJUXVar_Integer() : TJUXVar(TJUXVarStorage::Integer) {}
  explicit TJUXVar_Integer(int64_t value) : TJUXVar(TJUXVarStorage::Integer), FValue(value) {}
  static const TJUXVarClass& Class() { return JUXVarClass(TJUXVarKind::Integer); }

  int64_t Value() const { return FValue; }
  void SetValue(int64_t value) { FValue = value; }

  const TJUXVarClass& GetClass() const override { return Class(); }
  void Assign(const TJUXVar& source, TJUXExpression* sink) override;
  std::string ToText(const TFormatSettings& settings) const override;
  TJUXVarRec ToVarRec() const override { return static_cast<long double>(FValue); }

  int64_t AsInteger(TJUXExpression* sink) const override;
  double AsDouble(TJUXExpression* sink) const override;
  double AsCurrency(TJUXExpression* sink) const override;
  double AsPercentage(TJUXExpression* sink) const override;
  double AsDateTime(TJUXExpression* sink) const override;
  double AsDate(TJUXExpression* sink) const override;
  double AsDuration(TJUXExpression* sink) const override;
  void SetInteger(int32_t value, TJUXExpression* sink) override;

  void CastToBoolean(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToInteger(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDouble(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToCurrency(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToPercentage(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDateTime(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDate(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDuration(TJUXVar& dest, TJUXExpression* sink) const override;

  void OpAdd(const TJUXVar& other, TJUXExpression* sink) override;
  void OpSubtract(const TJUXVar& other, TJUXExpression* sink) override;
  void OpMultiply(const TJUXVar& other, TJUXExpression* sink) override;
  void OpDivide(const TJUXVar& other, TJUXExpression* sink) override;
  void OpMod(const TJUXVar& other, TJUXExpression* sink) override;
  void OpNegate(TJUXExpression* sink) override;
  void OpNot(TJUXExpression* sink) override;
  void OpAnd(const TJUXVar& other, TJUXExpression* sink) override;
  void OpOr(const TJUXVar& other, TJUXExpression* sink) override;
  void OpXor(const TJUXVar& other, TJUXExpression* sink) override;
  void OpMax(const TJUXVar& other, TJUXExpression* sink) override;
  void OpMin(const TJUXVar& other, TJUXExpression* sink) override;

  void OpGreater(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpGreaterEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpLess(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpLessEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;

  void FnAbs(TJUXVar& result, TJUXExpression* sink) const override;
  void FnSin(TJUXVar& result, TJUXExpression* sink) const override;
  void FnCos(TJUXVar& result, TJUXExpression* sink) const override;
  void FnTan(TJUXVar& result, TJUXExpression* sink) const override;
  void FnAtan(TJUXVar& result, TJUXExpression* sink) const override;
  void FnAtan2(const TJUXVar& other, TJUXVar& result, TJUXExpression* sink) const override;
  void FnLog(TJUXVar& result, TJUXExpression* sink) const override;
  void FnLn(TJUXVar& result, TJUXExpression* sink) const override;
  void FnSqrt(TJUXVar& result, TJUXExpression* sink) const override;
  void FnSqr(TJUXVar& result, TJUXExpression* sink) const override;
  void FnExp(TJUXVar& result, TJUXExpression* sink) const override;
  void FnPower(const TJUXVar& other, TJUXVar& result, TJUXExpression* sink) const override;

 private:
  int64_t FValue = 0;
};

class TJUXVar_Boolean : public TJUXVar {
 public:
  TJUXVar_Boolean() : TJUXVar(TJUXVarStorage::Boolean) {}
  explicit TJUXVar_Boolean(bool value) : TJUXVar(TJUXVarStorage::Boolean), FValue(value) {}
  static const TJUXVarClass& Class() { return JUXVarClass(TJUXVarKind::Boolean); }
  static std::unique_ptr<TJUXVar_Boolean> CreateWithValue(bool value);

  bool Value() const { return FValue; }
  void SetValue(bool value) { FValue = value; }

  const TJUXVarClass& GetClass() const override { return Class(); }
  void Assign(const TJUXVar& source, TJUXExpression* sink) override;
  // "True" or "False".
  std::string ToText(const TFormatSettings& settings) const override;
  TJUXVarRec ToVarRec() const override { return FValue; }

  bool AsBoolean(TJUXExpression* sink) const override;
  void SetBoolean(bool value, TJUXExpression* sink) override;

  void CastToBoolean(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDouble(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToInteger(TJUXVar& dest, TJUXExpression* sink) const override;

  void OpNot(TJUXExpression* sink) override;
  // And/Or (and Min/Max, their synonyms) do not read the other operand when
  // the own value decides the outcome.
  void OpAnd(const TJUXVar& other, TJUXExpression* sink) override;
  void OpOr(const TJUXVar& other, TJUXExpression* sink) override;
  void OpXor(const TJUXVar& other, TJUXExpression* sink) override;
  void OpMax(const TJUXVar& other, TJUXExpression* sink) override;
  void OpMin(const TJUXVar& other, TJUXExpression* sink) override;

  void OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;

 private:
  bool FValue = false;
};

class TJUXVar_String : public TJUXVar {
 public:
  TJUXVar_String() : TJUXVar(TJUXVarStorage::String) {}
  explicit TJUXVar_String(std::string value) : TJUXVar(TJUXVarStorage::String), FValue(std::move(value)) {}
  static const TJUXVarClass& Class() { return JUXVarClass(TJUXVarKind::String); }

  const std::string& Value() const { return FValue; }
  void SetValue(std::string value) { FValue = std::move(value); }
  // The text itself, for functions that build their result in place and so
  // reuse its capacity from one evaluation to the next.
  std::string& MutableValue() { return FValue; }

  const TJUXVarClass& GetClass() const override { return Class(); }
  void Assign(const TJUXVar& source, TJUXExpression* sink) override;
  std::string ToText(const TFormatSettings& settings) const override;
  TJUXVarRec ToVarRec() const override { return FValue; }

  std::string AsString(TJUXExpression* sink) const override;
  void SetString(const std::string& value, TJUXExpression* sink) override;

  // Concatenation; removal of every occurrence of the other text.
  void OpAdd(const TJUXVar& other, TJUXExpression* sink) override;
  void OpSubtract(const TJUXVar& other, TJUXExpression* sink) override;

  // Ordinal (byte-wise, case-sensitive) comparisons.
  void OpGreater(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpGreaterEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpLess(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpLessEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;
  void OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const override;

  // Text reading with the sink's settings; a failure records kind 7 «Unable
  // to cast the string value "S" into a Y» and leaves a fallback in dest.
  void CastToBoolean(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToCurrency(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDate(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDateTime(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDouble(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToDuration(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToInteger(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToPercentage(TJUXVar& dest, TJUXExpression* sink) const override;
  void CastToTime(TJUXVar& dest, TJUXExpression* sink) const override;

 private:
  std::string FValue;
};

// The getters without a virtual call where the storage tells the class; the
// same answers as AsDouble, AsInteger and AsBoolean, whose refusals the other
// classes still give.
inline double JUXReadDouble(const TJUXVar& value, TJUXExpression* sink) {
  switch (value.Storage()) {
    case TJUXVarStorage::Float:
      return static_cast<const TJUXVar_Double&>(value).Rounded();
    case TJUXVarStorage::Integer:
      return static_cast<double>(static_cast<const TJUXVar_Integer&>(value).Value());
    default:
      return value.AsDouble(sink);
  }
}

inline void TJUXVar_Double::Assign(const TJUXVar& source, TJUXExpression* sink) {
  SetValue(JUXReadDouble(source, sink));
}

inline int64_t JUXReadInteger(const TJUXVar& value, TJUXExpression* sink) {
  if (value.Storage() == TJUXVarStorage::Integer) return static_cast<const TJUXVar_Integer&>(value).Value();
  return value.AsInteger(sink);
}

inline bool JUXReadBoolean(const TJUXVar& value, TJUXExpression* sink) {
  if (value.Storage() == TJUXVarStorage::Boolean) return static_cast<const TJUXVar_Boolean&>(value).Value();
  return value.AsBoolean(sink);
}

// The text of a value without copying it: a string value's own text, or
// AsString of any other value kept in `scratch`.
inline const std::string& JUXReadString(const TJUXVar& value, TJUXExpression* sink, std::string& scratch) {
  if (value.Storage() == TJUXVarStorage::String) return static_cast<const TJUXVar_String&>(value).Value();
  scratch = value.AsString(sink);
  return scratch;
}
