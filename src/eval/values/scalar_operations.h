#pragma once
// The in-place operators, comparisons and mathematical functions of the
// double, integer and Boolean value classes, each written once. The classes'
// virtual operations (OpAdd .. OpMin, OpMod, OpGreater .. OpNotEqual,
// FnAbs .. FnPower) are these functions, and the evaluator's typed paths call
// them directly where a value's storage tells its class, so that both routes
// compute every operation alike.
//
// The double class, and the six classes derived from it, follow one rule: a
// is the value's own 80-bit number, b the other operand read as a double
// (numbers cross class borders as doubles), and the arithmetic is done in
// extended precision. The parameter types below carry that rule.

#include <cstdint>

#include "eval/values/float_math_internal.h"
#include "eval/values/scalar_vars.h"

// The in-place operators with a second operand.
enum class TJUXInPlaceOp : uint8_t { Add, Subtract, Multiply, Divide, And, Or, Xor, Max, Min, Mod };
enum class TJUXComparisonOp : uint8_t { Greater, GreaterEqual, Less, LessEqual, Equal, NotEqual };
// The mathematical functions of one argument and of two.
enum class TJUXMathFn : uint8_t { Abs, Sin, Cos, Tan, Atan, Log, Ln, Exp, Sqrt, Sqr };
enum class TJUXMath2Fn : uint8_t { Atan2, Power };

// Marks kind 2 or 3 (flags without a message) in the sink and its
// ancestors; without a sink nothing.
void JUXFlagKind(TJUXExpression* sink, uint8_t kind);

// A number into a result value, as its SetDouble, SetInteger or SetBoolean
// would store it: directly where the storage tells a class that answers
// them as the double, integer and Boolean classes do, else by the call.
inline void JUXStoreDouble(TJUXVar& result, double value, TJUXExpression* sink) {
  if (result.Storage() == TJUXVarStorage::Float)
    static_cast<TJUXVar_Double&>(result).SetValue(value);
  else
    result.SetDouble(value, sink);
}
inline void JUXStoreInteger(TJUXVar& result, int32_t value, TJUXExpression* sink) {
  if (result.Storage() == TJUXVarStorage::Integer)
    static_cast<TJUXVar_Integer&>(result).SetValue(value);
  else
    result.SetInteger(value, sink);
}
inline void JUXStoreBoolean(TJUXVar& result, bool value, TJUXExpression* sink) {
  if (result.Storage() == TJUXVarStorage::Boolean)
    static_cast<TJUXVar_Boolean&>(result).SetValue(value);
  else
    result.SetBoolean(value, sink);
}

namespace jux_ops {

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

// Wraps instead of overflowing (two's complement).
inline int64_t WrapAdd(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}
inline int64_t WrapSub(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}
inline int64_t WrapMul(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
}
inline int32_t Low32(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

// An integer division or remainder by zero gives the largest 64-bit value.
inline constexpr int64_t kIntegerDivByZero = INT64_MAX;

// The functions on an extended argument: the number into the result as a
// double, kind 3 flagged where the argument is outside the domain.
inline void FloatMath(TJUXMathFn fn, long double x, TJUXVar& result, TJUXExpression* sink) {
  bool domainError = false;
  long double y = 0;
  switch (fn) {
    case TJUXMathFn::Abs: y = jux_math::Abs(x, domainError); break;
    case TJUXMathFn::Sin: y = jux_math::Sin(x, domainError); break;
    case TJUXMathFn::Cos: y = jux_math::Cos(x, domainError); break;
    case TJUXMathFn::Tan: y = jux_math::Tan(x, domainError); break;
    case TJUXMathFn::Atan: y = jux_math::Atan(x, domainError); break;
    case TJUXMathFn::Log: y = jux_math::Log(x, domainError); break;
    case TJUXMathFn::Ln: y = jux_math::Ln(x, domainError); break;
    case TJUXMathFn::Exp: y = jux_math::Exp(x, domainError); break;
    case TJUXMathFn::Sqrt: y = jux_math::Sqrt(x, domainError); break;
    case TJUXMathFn::Sqr: y = jux_math::Sqr(x, domainError); break;
  }
  if (domainError) JUXFlagKind(sink, jeMathDomain);
  JUXStoreDouble(result, static_cast<double>(y), sink);
}

inline void FloatMath2(TJUXMath2Fn fn, long double x, double y, TJUXVar& result, TJUXExpression* sink) {
  bool domainError = false;
  const long double z = fn == TJUXMath2Fn::Power ? jux_math::Power(x, y, domainError)
                                                  : jux_math::Atan2(x, y, domainError);
  if (domainError) JUXFlagKind(sink, jeMathDomain);
  JUXStoreDouble(result, static_cast<double>(z), sink);
}

}  // namespace jux_ops

// --- the double class (and the classes derived from it)

// The double class has every in-place operator but the logical ones.
constexpr bool JUXDoubleHas(TJUXInPlaceOp op) {
  return op != TJUXInPlaceOp::And && op != TJUXInPlaceOp::Or && op != TJUXInPlaceOp::Xor;
}

// value := value op other. Multiply saturates to signed infinities beyond
// the square root of the largest extended value; Divide by zero gives an
// infinity (+inf for 0 / 0) and flags kind 2; Mod by zero leaves the value.
// The logical operators are not the double class's and change nothing.
inline void JUXApply(TJUXVar_Double& value, TJUXInPlaceOp op, const TJUXVar& other, TJUXExpression* sink) {
  const long double a = value.FastValue();
  const double b = JUXReadDouble(other, sink);
  long double r = a;
  switch (op) {
    case TJUXInPlaceOp::Add: r = a + b; break;
    case TJUXInPlaceOp::Subtract: r = a - b; break;
    case TJUXInPlaceOp::Multiply: r = jux_math::Multiply(a, b); break;
    case TJUXInPlaceOp::Divide: {
      bool divByZero = false;
      r = jux_math::Divide(a, b, divByZero);
      if (divByZero) JUXFlagKind(sink, jeDivisionByZero);
      break;
    }
    case TJUXInPlaceOp::Max: r = b > a ? b : a; break;
    case TJUXInPlaceOp::Min: r = b < a ? b : a; break;
    case TJUXInPlaceOp::Mod: r = jux_math::Mod(a, b); break;
    case TJUXInPlaceOp::And:
    case TJUXInPlaceOp::Or:
    case TJUXInPlaceOp::Xor: break;
  }
  value.SetValue(r);
}

// value compared with other as a double (IEEE rules: with a NaN only "<>"
// holds).
inline bool JUXCompare(const TJUXVar_Double& value, TJUXComparisonOp op, const TJUXVar& other, TJUXExpression* sink) {
  const double b = JUXReadDouble(other, sink);
  // Two doubles compare as their extended values do, and quicker.
  if (value.HoldsDouble()) return jux_ops::Compare(op, value.Rounded(), b);
  return jux_ops::Compare(op, value.Value(), static_cast<long double>(b));
}

inline void JUXComputeMath(const TJUXVar_Double& value, TJUXMathFn fn, TJUXVar& result, TJUXExpression* sink) {
  jux_ops::FloatMath(fn, value.FastValue(), result, sink);
}

// value as x, other as the double y: x to the power y, or the angle of (y, x).
inline void JUXComputeMath2(const TJUXVar_Double& value, TJUXMath2Fn fn, const TJUXVar& other, TJUXVar& result,
                            TJUXExpression* sink) {
  jux_ops::FloatMath2(fn, value.FastValue(), JUXReadDouble(other, sink), result, sink);
}

// --- the integer class: 64-bit two's-complement arithmetic that wraps

constexpr bool JUXIntegerHas(TJUXInPlaceOp) { return true; }

inline void JUXApply(TJUXVar_Integer& value, TJUXInPlaceOp op, const TJUXVar& other, TJUXExpression* sink) {
  const int64_t a = value.Value();
  const int64_t b = JUXReadInteger(other, sink);
  switch (op) {
    case TJUXInPlaceOp::Add: value.SetValue(jux_ops::WrapAdd(a, b)); return;
    case TJUXInPlaceOp::Subtract: value.SetValue(jux_ops::WrapSub(a, b)); return;
    case TJUXInPlaceOp::Multiply: value.SetValue(jux_ops::WrapMul(a, b)); return;
    case TJUXInPlaceOp::Divide:
    case TJUXInPlaceOp::Mod:
      if (b == 0) {
        value.SetValue(jux_ops::kIntegerDivByZero);
        JUXFlagKind(sink, jeDivisionByZero);
      } else if (b == -1) {
        // The most negative value wraps instead of trapping.
        value.SetValue(op == TJUXInPlaceOp::Divide ? jux_ops::WrapSub(0, a) : 0);
      } else {
        value.SetValue(op == TJUXInPlaceOp::Divide ? a / b : a % b);
      }
      return;
    case TJUXInPlaceOp::And: value.SetValue(a & b); return;
    case TJUXInPlaceOp::Or: value.SetValue(a | b); return;
    case TJUXInPlaceOp::Xor: value.SetValue(a ^ b); return;
    case TJUXInPlaceOp::Max:
      if (b > a) value.SetValue(b);
      return;
    case TJUXInPlaceOp::Min:
      if (b < a) value.SetValue(b);
      return;
  }
}

inline bool JUXCompare(const TJUXVar_Integer& value, TJUXComparisonOp op, const TJUXVar& other,
                       TJUXExpression* sink) {
  const int64_t b = JUXReadInteger(other, sink);
  return jux_ops::Compare(op, value.Value(), b);
}

// abs and sqr stay integers (the low 32 bits of the absolute value; the
// square up to a magnitude of 46340, beyond it 0 and kind 3); the other
// functions compute on the value as an extended float.
inline void JUXComputeMath(const TJUXVar_Integer& value, TJUXMathFn fn, TJUXVar& result, TJUXExpression* sink) {
  const int64_t v = value.Value();
  if (fn == TJUXMathFn::Abs) {
    JUXStoreInteger(result, jux_ops::Low32(v < 0 ? jux_ops::WrapSub(0, v) : v), sink);
    return;
  }
  if (fn == TJUXMathFn::Sqr) {
    // Below the square root of 2147483647, so the square fits in 32 bits.
    const uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    if (magnitude <= 46340) {
      JUXStoreInteger(result, static_cast<int32_t>(v * v), sink);
      return;
    }
    JUXFlagKind(sink, jeMathDomain);
    JUXStoreInteger(result, 0, sink);
    return;
  }
  jux_ops::FloatMath(fn, static_cast<long double>(v), result, sink);
}

inline void JUXComputeMath2(const TJUXVar_Integer& value, TJUXMath2Fn fn, const TJUXVar& other, TJUXVar& result,
                            TJUXExpression* sink) {
  jux_ops::FloatMath2(fn, static_cast<long double>(value.Value()), JUXReadDouble(other, sink), result, sink);
}

// --- the Boolean class: and, or, xor; max and min are or and and

constexpr bool JUXBooleanHas(TJUXInPlaceOp op) {
  return op == TJUXInPlaceOp::And || op == TJUXInPlaceOp::Or || op == TJUXInPlaceOp::Xor ||
         op == TJUXInPlaceOp::Max || op == TJUXInPlaceOp::Min;
}

// And and Or do not read the other operand when the own value decides.
inline void JUXApply(TJUXVar_Boolean& value, TJUXInPlaceOp op, const TJUXVar& other, TJUXExpression* sink) {
  switch (op) {
    case TJUXInPlaceOp::And:
    case TJUXInPlaceOp::Min:
      if (value.Value()) value.SetValue(JUXReadBoolean(other, sink));
      return;
    case TJUXInPlaceOp::Or:
    case TJUXInPlaceOp::Max:
      if (!value.Value()) value.SetValue(JUXReadBoolean(other, sink));
      return;
    case TJUXInPlaceOp::Xor: value.SetValue(value.Value() != JUXReadBoolean(other, sink)); return;
    default: return;  // not the Boolean class's (JUXBooleanHas)
  }
}

// Only equality is defined for Booleans.
constexpr bool JUXBooleanCompares(TJUXComparisonOp op) {
  return op == TJUXComparisonOp::Equal || op == TJUXComparisonOp::NotEqual;
}

inline bool JUXCompare(const TJUXVar_Boolean& value, TJUXComparisonOp op, const TJUXVar& other,
                       TJUXExpression* sink) {
  const bool b = JUXReadBoolean(other, sink);
  return jux_ops::Compare(op, value.Value(), b);
}

// --- the typed route: the operation of the value's class, called without
// the virtual call where the storage tells the class; false, having done
// nothing, where the class must answer by its virtual operation (other
// classes, and operations the class refuses).

inline bool JUXComputeMathTyped(TJUXMathFn fn, const TJUXVar& value, TJUXVar& result, TJUXExpression* sink) {
  switch (value.Storage()) {
    case TJUXVarStorage::Float:
      JUXComputeMath(static_cast<const TJUXVar_Double&>(value), fn, result, sink);
      return true;
    case TJUXVarStorage::Integer:
      JUXComputeMath(static_cast<const TJUXVar_Integer&>(value), fn, result, sink);
      return true;
    default:
      return false;
  }
}

inline bool JUXComputeMath2Typed(TJUXMath2Fn fn, const TJUXVar& value, const TJUXVar& other, TJUXVar& result,
                                 TJUXExpression* sink) {
  switch (value.Storage()) {
    case TJUXVarStorage::Float:
      JUXComputeMath2(static_cast<const TJUXVar_Double&>(value), fn, other, result, sink);
      return true;
    case TJUXVarStorage::Integer:
      JUXComputeMath2(static_cast<const TJUXVar_Integer&>(value), fn, other, result, sink);
      return true;
    default:
      return false;
  }
}

// The comparison `value op other` into a Boolean result.
inline bool JUXCompareTyped(TJUXComparisonOp op, const TJUXVar& value, const TJUXVar& other, TJUXVar& result,
                            TJUXExpression* sink) {
  if (result.Storage() != TJUXVarStorage::Boolean) return false;
  auto& answer = static_cast<TJUXVar_Boolean&>(result);
  switch (value.Storage()) {
    case TJUXVarStorage::Float:
      answer.SetValue(JUXCompare(static_cast<const TJUXVar_Double&>(value), op, other, sink));
      return true;
    case TJUXVarStorage::Integer:
      answer.SetValue(JUXCompare(static_cast<const TJUXVar_Integer&>(value), op, other, sink));
      return true;
    case TJUXVarStorage::Boolean:
      if (!JUXBooleanCompares(op)) return false;
      answer.SetValue(JUXCompare(static_cast<const TJUXVar_Boolean&>(value), op, other, sink));
      return true;
    default:
      return false;
  }
}
