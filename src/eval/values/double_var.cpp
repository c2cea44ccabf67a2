#include "eval/values/scalar_vars.h"

#include "eval/values/float_math_internal.h"
#include "eval/values/scalar_operations.h"
#include "treemap/number_text.h"

std::unique_ptr<TJUXVar_Double> TJUXVar_Double::CreateWithValue(double value) {
  return std::make_unique<TJUXVar_Double>(value);
}

std::string TJUXVar_Double::ToText(const TFormatSettings& settings) const {
  return FloatToStrTrimmed(FRounded, 0, 6, settings);
}

double TJUXVar_Double::AsDouble(TJUXExpression*) const { return FRounded; }
double TJUXVar_Double::AsCurrency(TJUXExpression*) const { return FRounded; }
double TJUXVar_Double::AsPercentage(TJUXExpression*) const { return FRounded; }
double TJUXVar_Double::AsDateTime(TJUXExpression*) const { return FRounded; }
double TJUXVar_Double::AsDate(TJUXExpression*) const { return FRounded; }
double TJUXVar_Double::AsDuration(TJUXExpression*) const { return FRounded; }
void TJUXVar_Double::SetInteger(int32_t value, TJUXExpression*) { SetValue(static_cast<double>(value)); }
void TJUXVar_Double::SetDouble(double value, TJUXExpression*) { SetValue(value); }

void TJUXVar_Double::CastToBoolean(TJUXVar& dest, TJUXExpression* sink) const { dest.SetBoolean(FValue != 0, sink); }
void TJUXVar_Double::CastToInteger(TJUXVar& dest, TJUXExpression* sink) const {
  // Only the low 32 bits of the truncated 64-bit value are passed on.
  const auto wide = static_cast<uint64_t>(jux_math::TruncToInt64(FValue));
  dest.SetInteger(static_cast<int32_t>(static_cast<uint32_t>(wide)), sink);
}
void TJUXVar_Double::CastToDouble(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDouble(FRounded, sink);
}
void TJUXVar_Double::CastToCurrency(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetCurrency(FRounded, sink);
}
void TJUXVar_Double::CastToPercentage(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetPercentage(FRounded, sink);
}
void TJUXVar_Double::CastToDateTime(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDateTime(FRounded, sink);
}
void TJUXVar_Double::CastToDate(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDate(FRounded, sink);
}
void TJUXVar_Double::CastToTime(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetTime(FRounded, sink);
}
void TJUXVar_Double::CastToDuration(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDuration(FRounded, sink);
}

// The operators, comparisons and functions are those of scalar_operations.h.
void TJUXVar_Double::OpAdd(const TJUXVar& other, TJUXExpression* sink) { JUXApply(*this, TJUXInPlaceOp::Add, other, sink); }
void TJUXVar_Double::OpSubtract(const TJUXVar& other, TJUXExpression* sink) {
  JUXApply(*this, TJUXInPlaceOp::Subtract, other, sink);
}
void TJUXVar_Double::OpMultiply(const TJUXVar& other, TJUXExpression* sink) {
  JUXApply(*this, TJUXInPlaceOp::Multiply, other, sink);
}
void TJUXVar_Double::OpDivide(const TJUXVar& other, TJUXExpression* sink) {
  JUXApply(*this, TJUXInPlaceOp::Divide, other, sink);
}
void TJUXVar_Double::OpMod(const TJUXVar& other, TJUXExpression* sink) { JUXApply(*this, TJUXInPlaceOp::Mod, other, sink); }
void TJUXVar_Double::OpNegate(TJUXExpression*) { SetValue(-FValue); }
void TJUXVar_Double::OpMax(const TJUXVar& other, TJUXExpression* sink) { JUXApply(*this, TJUXInPlaceOp::Max, other, sink); }
void TJUXVar_Double::OpMin(const TJUXVar& other, TJUXExpression* sink) { JUXApply(*this, TJUXInPlaceOp::Min, other, sink); }

#define JUX_DOUBLE_COMPARISON(Name, Op)                                                              \
  void TJUXVar_Double::Name(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {    \
    JUXStoreBoolean(result, JUXCompare(*this, TJUXComparisonOp::Op, other, sink), sink);             \
  }
#define JUX_DOUBLE_UNARY(Name, Fn)                                                  \
  void TJUXVar_Double::Name(TJUXVar& result, TJUXExpression* sink) const {          \
    JUXComputeMath(*this, TJUXMathFn::Fn, result, sink);                            \
  }
#define JUX_DOUBLE_BINARY(Name, Fn)                                                                \
  void TJUXVar_Double::Name(const TJUXVar& other, TJUXVar& result, TJUXExpression* sink) const {   \
    JUXComputeMath2(*this, TJUXMath2Fn::Fn, other, result, sink);                                  \
  }

JUX_DOUBLE_COMPARISON(OpGreater, Greater)
JUX_DOUBLE_COMPARISON(OpGreaterEqual, GreaterEqual)
JUX_DOUBLE_COMPARISON(OpLess, Less)
JUX_DOUBLE_COMPARISON(OpLessEqual, LessEqual)
JUX_DOUBLE_COMPARISON(OpEqual, Equal)
JUX_DOUBLE_COMPARISON(OpNotEqual, NotEqual)
JUX_DOUBLE_UNARY(FnAbs, Abs)
JUX_DOUBLE_UNARY(FnSin, Sin)
JUX_DOUBLE_UNARY(FnCos, Cos)
JUX_DOUBLE_UNARY(FnTan, Tan)
JUX_DOUBLE_UNARY(FnAtan, Atan)
JUX_DOUBLE_UNARY(FnLog, Log)
JUX_DOUBLE_UNARY(FnLn, Ln)
JUX_DOUBLE_UNARY(FnSqrt, Sqrt)
JUX_DOUBLE_UNARY(FnSqr, Sqr)
JUX_DOUBLE_UNARY(FnExp, Exp)
JUX_DOUBLE_BINARY(FnAtan2, Atan2)
JUX_DOUBLE_BINARY(FnPower, Power)

#undef JUX_DOUBLE_COMPARISON
#undef JUX_DOUBLE_UNARY
#undef JUX_DOUBLE_BINARY
