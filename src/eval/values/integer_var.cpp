#include "eval/values/scalar_vars.h"

#include "eval/language/expression.h"
#include "eval/values/float_math_internal.h"

namespace {

int32_t Low32(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

// Two's-complement arithmetic that wraps instead of overflowing.
int64_t WrapAdd(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)); }
int64_t WrapSub(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b)); }
int64_t WrapMul(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b)); }

void FlagKind(TJUXExpression* sink, uint8_t kind) {
  if (sink) sink->SetFlags(JUXKindFlag(kind), true);
}

void StoreMath(long double value, bool domainError, TJUXVar& result, TJUXExpression* sink) {
  if (domainError) FlagKind(sink, jeMathDomain);
  result.SetDouble(static_cast<double>(value), sink);
}

constexpr int64_t kDivByZeroResult = INT64_MAX;

}  // namespace

void TJUXVar_Integer::Assign(const TJUXVar& source, TJUXExpression* sink) { FValue = JUXReadInteger(source, sink); }

std::string TJUXVar_Integer::ToText(const TFormatSettings&) const { return std::to_string(FValue); }

int64_t TJUXVar_Integer::AsInteger(TJUXExpression*) const { return FValue; }
double TJUXVar_Integer::AsDouble(TJUXExpression*) const { return static_cast<double>(FValue); }
double TJUXVar_Integer::AsCurrency(TJUXExpression*) const { return static_cast<double>(FValue); }
double TJUXVar_Integer::AsPercentage(TJUXExpression*) const { return static_cast<double>(FValue); }
double TJUXVar_Integer::AsDateTime(TJUXExpression*) const { return static_cast<double>(FValue); }
double TJUXVar_Integer::AsDate(TJUXExpression*) const { return static_cast<double>(FValue); }
double TJUXVar_Integer::AsDuration(TJUXExpression*) const { return static_cast<double>(FValue); }
void TJUXVar_Integer::SetInteger(int32_t value, TJUXExpression*) { FValue = value; }

void TJUXVar_Integer::CastToBoolean(TJUXVar& dest, TJUXExpression* sink) const { dest.SetBoolean(FValue != 0, sink); }
void TJUXVar_Integer::CastToInteger(TJUXVar& dest, TJUXExpression* sink) const { dest.SetInteger(Low32(FValue), sink); }
void TJUXVar_Integer::CastToDouble(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDouble(static_cast<double>(FValue), sink);
}
void TJUXVar_Integer::CastToCurrency(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetCurrency(static_cast<double>(FValue), sink);
}
void TJUXVar_Integer::CastToPercentage(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetPercentage(static_cast<double>(FValue), sink);
}
void TJUXVar_Integer::CastToDateTime(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDateTime(static_cast<double>(FValue), sink);
}
void TJUXVar_Integer::CastToDate(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDate(static_cast<double>(FValue), sink);
}
void TJUXVar_Integer::CastToDuration(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDuration(static_cast<double>(FValue), sink);
}

void TJUXVar_Integer::OpAdd(const TJUXVar& other, TJUXExpression* sink) { FValue = WrapAdd(FValue, JUXReadInteger(other, sink)); }
void TJUXVar_Integer::OpSubtract(const TJUXVar& other, TJUXExpression* sink) {
  FValue = WrapSub(FValue, JUXReadInteger(other, sink));
}
void TJUXVar_Integer::OpMultiply(const TJUXVar& other, TJUXExpression* sink) {
  FValue = WrapMul(FValue, JUXReadInteger(other, sink));
}
void TJUXVar_Integer::OpDivide(const TJUXVar& other, TJUXExpression* sink) {
  const int64_t b = JUXReadInteger(other, sink);
  if (b == 0) {
    FValue = kDivByZeroResult;
    FlagKind(sink, jeDivisionByZero);
  } else if (b == -1) {
    FValue = WrapSub(0, FValue);  // the most negative value wraps instead of trapping
  } else {
    FValue /= b;
  }
}
void TJUXVar_Integer::OpMod(const TJUXVar& other, TJUXExpression* sink) {
  const int64_t b = JUXReadInteger(other, sink);
  if (b == 0) {
    FValue = kDivByZeroResult;
    FlagKind(sink, jeDivisionByZero);
  } else if (b == -1) {
    FValue = 0;
  } else {
    FValue %= b;
  }
}
void TJUXVar_Integer::OpNegate(TJUXExpression*) { FValue = WrapSub(0, FValue); }
void TJUXVar_Integer::OpNot(TJUXExpression*) { FValue = ~FValue; }
void TJUXVar_Integer::OpAnd(const TJUXVar& other, TJUXExpression* sink) { FValue &= JUXReadInteger(other, sink); }
void TJUXVar_Integer::OpOr(const TJUXVar& other, TJUXExpression* sink) { FValue |= JUXReadInteger(other, sink); }
void TJUXVar_Integer::OpXor(const TJUXVar& other, TJUXExpression* sink) { FValue ^= JUXReadInteger(other, sink); }
void TJUXVar_Integer::OpMax(const TJUXVar& other, TJUXExpression* sink) {
  const int64_t b = JUXReadInteger(other, sink);
  if (b > FValue) FValue = b;
}
void TJUXVar_Integer::OpMin(const TJUXVar& other, TJUXExpression* sink) {
  const int64_t b = JUXReadInteger(other, sink);
  if (b < FValue) FValue = b;
}

void TJUXVar_Integer::OpGreater(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const int64_t b = JUXReadInteger(other, sink);
  result.SetBoolean(FValue > b, sink);
}
void TJUXVar_Integer::OpGreaterEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const int64_t b = JUXReadInteger(other, sink);
  result.SetBoolean(FValue >= b, sink);
}
void TJUXVar_Integer::OpLess(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const int64_t b = JUXReadInteger(other, sink);
  result.SetBoolean(FValue < b, sink);
}
void TJUXVar_Integer::OpLessEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const int64_t b = JUXReadInteger(other, sink);
  result.SetBoolean(FValue <= b, sink);
}
void TJUXVar_Integer::OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const int64_t b = JUXReadInteger(other, sink);
  result.SetBoolean(FValue == b, sink);
}
void TJUXVar_Integer::OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  const int64_t b = JUXReadInteger(other, sink);
  result.SetBoolean(FValue != b, sink);
}

void TJUXVar_Integer::FnAbs(TJUXVar& result, TJUXExpression* sink) const {
  result.SetInteger(Low32(FValue < 0 ? WrapSub(0, FValue) : FValue), sink);
}
void TJUXVar_Integer::FnSqr(TJUXVar& result, TJUXExpression* sink) const {
  // Below the square root of 2147483647, so the square fits in 32 bits.
  const uint64_t magnitude = FValue < 0 ? 0 - static_cast<uint64_t>(FValue) : static_cast<uint64_t>(FValue);
  if (magnitude <= 46340) {
    result.SetInteger(static_cast<int32_t>(FValue * FValue), sink);
    return;
  }
  FlagKind(sink, jeMathDomain);
  result.SetInteger(0, sink);
}

#define JUX_INTEGER_UNARY(Name, Fn)                                                     \
  void TJUXVar_Integer::Name(TJUXVar& result, TJUXExpression* sink) const {             \
    bool domainError = false;                                                           \
    const long double value = jux_math::Fn(static_cast<long double>(FValue), domainError); \
    StoreMath(value, domainError, result, sink);                                        \
  }
#define JUX_INTEGER_BINARY(Name, Fn)                                                                         \
  void TJUXVar_Integer::Name(const TJUXVar& other, TJUXVar& result, TJUXExpression* sink) const {            \
    bool domainError = false;                                                                                \
    const long double value = jux_math::Fn(static_cast<long double>(FValue), JUXReadDouble(other, sink), domainError); \
    StoreMath(value, domainError, result, sink);                                                             \
  }

JUX_INTEGER_UNARY(FnSin, Sin)
JUX_INTEGER_UNARY(FnCos, Cos)
JUX_INTEGER_UNARY(FnTan, Tan)
JUX_INTEGER_UNARY(FnAtan, Atan)
JUX_INTEGER_UNARY(FnLog, Log)
JUX_INTEGER_UNARY(FnLn, Ln)
JUX_INTEGER_UNARY(FnSqrt, Sqrt)
JUX_INTEGER_UNARY(FnExp, Exp)
JUX_INTEGER_BINARY(FnAtan2, Atan2)
JUX_INTEGER_BINARY(FnPower, Power)

#undef JUX_INTEGER_UNARY
#undef JUX_INTEGER_BINARY
