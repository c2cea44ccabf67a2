#include "eval/values/scalar_vars.h"

#include "eval/values/scalar_operations.h"

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
void TJUXVar_Integer::CastToInteger(TJUXVar& dest, TJUXExpression* sink) const { dest.SetInteger(jux_ops::Low32(FValue), sink); }
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

// The operators, comparisons and functions are those of scalar_operations.h.
#define JUX_INTEGER_OPERATOR(Name, Op)                                           \
  void TJUXVar_Integer::Name(const TJUXVar& other, TJUXExpression* sink) {       \
    JUXApply(*this, TJUXInPlaceOp::Op, other, sink);                             \
  }
#define JUX_INTEGER_COMPARISON(Name, Op)                                                             \
  void TJUXVar_Integer::Name(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {   \
    JUXStoreBoolean(result, JUXCompare(*this, TJUXComparisonOp::Op, other, sink), sink);             \
  }
#define JUX_INTEGER_UNARY(Name, Fn)                                              \
  void TJUXVar_Integer::Name(TJUXVar& result, TJUXExpression* sink) const {      \
    JUXComputeMath(*this, TJUXMathFn::Fn, result, sink);                         \
  }
#define JUX_INTEGER_BINARY(Name, Fn)                                                               \
  void TJUXVar_Integer::Name(const TJUXVar& other, TJUXVar& result, TJUXExpression* sink) const {  \
    JUXComputeMath2(*this, TJUXMath2Fn::Fn, other, result, sink);                                  \
  }

JUX_INTEGER_OPERATOR(OpAdd, Add)
JUX_INTEGER_OPERATOR(OpSubtract, Subtract)
JUX_INTEGER_OPERATOR(OpMultiply, Multiply)
JUX_INTEGER_OPERATOR(OpDivide, Divide)
JUX_INTEGER_OPERATOR(OpMod, Mod)
JUX_INTEGER_OPERATOR(OpAnd, And)
JUX_INTEGER_OPERATOR(OpOr, Or)
JUX_INTEGER_OPERATOR(OpXor, Xor)
JUX_INTEGER_OPERATOR(OpMax, Max)
JUX_INTEGER_OPERATOR(OpMin, Min)
void TJUXVar_Integer::OpNegate(TJUXExpression*) { FValue = jux_ops::WrapSub(0, FValue); }
void TJUXVar_Integer::OpNot(TJUXExpression*) { FValue = ~FValue; }

JUX_INTEGER_COMPARISON(OpGreater, Greater)
JUX_INTEGER_COMPARISON(OpGreaterEqual, GreaterEqual)
JUX_INTEGER_COMPARISON(OpLess, Less)
JUX_INTEGER_COMPARISON(OpLessEqual, LessEqual)
JUX_INTEGER_COMPARISON(OpEqual, Equal)
JUX_INTEGER_COMPARISON(OpNotEqual, NotEqual)

JUX_INTEGER_UNARY(FnAbs, Abs)
JUX_INTEGER_UNARY(FnSqr, Sqr)
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

#undef JUX_INTEGER_OPERATOR
#undef JUX_INTEGER_COMPARISON
#undef JUX_INTEGER_UNARY
#undef JUX_INTEGER_BINARY
