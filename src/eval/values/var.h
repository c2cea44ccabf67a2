#pragma once
// The value protocol of the expression language. Every value (a node's result,
// a named constant, an attribute value) is a TJUXVar subclass; the base class
// refuses every typed operation: it records the refusal in the evaluating
// expression (the "sink", may be null) and leaves or returns a fixed fallback,
// so that evaluation always goes on. Value classes override what they support
// (scalar_vars.h, derived_vars.h).
//
// Class references: a value class is described by one constant TJUXVarClass
// record (type name, type code, accepted classes, promoted class and the two
// virtual constructors), found with JUXVarClass(kind) or T::Class().

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "eval/values/wall_clock.h"
#include "foundation/format_settings.h"

class TJUXExpression;
class TTreeMapNode;
class TJUXVar;

// Error kinds: the number passed to TJUXExpression::AddError, and the bit of
// the flag word it sets. Bit 0 (jfError) is set while an error is present.
enum TJUXErrorKind : uint8_t {
  jeSyntax = 1,
  jeDivisionByZero = 2,     // flag only, no message
  jeMathDomain = 3,         // flag only, no message
  jeIncompatibleTypes = 4,
  jeNotDefined = 5,         // operator or function not defined for a value class
  jeInvalidTypecast = 6,
  jeNotConvertible = 7,     // text that cannot be read as the wanted type
  jeScopeSet = 8,           // scope and set errors
  jeAttributeUnknown = 10,  // also unknown node property names
  jeUserAbort = 11,
  jeInternal = 12,
};

using TJUXFlags = uint16_t;
inline constexpr TJUXFlags jfError = 1;
constexpr TJUXFlags JUXKindFlag(uint8_t kind) { return static_cast<TJUXFlags>(1u << kind); }

// The eleven value classes. The order is that of the class table, not the
// attribute type code (see TJUXVarClass::TypeRank).
enum class TJUXVarKind : uint8_t {
  String,
  Boolean,
  Integer,
  Double,
  DateTime,
  Date,
  Time,
  Duration,
  Currency,
  Percentage,
  Scope,
};
inline constexpr int kJUXVarKindCount = 11;

constexpr uint16_t JUXKindBit(TJUXVarKind kind) { return static_cast<uint16_t>(1u << static_cast<unsigned>(kind)); }

// A class reference of a value class. Compare class references by address.
struct TJUXVarClass {
  TJUXVarKind Kind;
  std::string_view TypeName;  // "string", "integer", ..., "Scope"
  int32_t TypeRank;           // the attribute type code (0 string, 1 integer, 2 double, 3 datetime, ...)
  uint16_t Accepts;           // JUXKindBit of every class whose values this class can take
  int8_t Promoted;            // kind index of the promoted class, -1 for none
  std::unique_ptr<TJUXVar> (*Create)();  // the zero value of the class
  // Reads the text with the settings; unreadable text gives the zero value, no error.
  std::unique_ptr<TJUXVar> (*CreateFromText)(std::string_view text, const TFormatSettings& settings);

  bool AcceptsClass(const TJUXVarClass& other) const { return (Accepts & JUXKindBit(other.Kind)) != 0; }
  const TJUXVarClass* PromotedClass() const;
};

// The class reference of a kind (static table; never null).
const TJUXVarClass& JUXVarClass(TJUXVarKind kind);

// How a value holds its content, for the typed paths of the evaluator that
// read and write values without virtual calls: Float for the double class and
// the six classes derived from it (which answer AsDouble, SetDouble and
// SetInteger as the double class does), Integer, Boolean and String for those
// classes, Other for the rest.
enum class TJUXVarStorage : uint8_t { Other, Float, Integer, Boolean, String };

// The formatting argument of sprintf: numbers of every numeric class travel as
// extended floats, Booleans as bool, texts as strings (a scope gives int64 0).
using TJUXVarRec = std::variant<int64_t, bool, long double, std::string>;

class TJUXVar {
 public:
  TJUXVar() = default;
  explicit TJUXVar(TJUXVarStorage storage) : FStorage(storage) {}
  TJUXVar(const TJUXVar&) = delete;
  TJUXVar& operator=(const TJUXVar&) = delete;
  virtual ~TJUXVar() = default;

  // --- class information
  virtual const TJUXVarClass& GetClass() const = 0;
  TJUXVarStorage Storage() const { return FStorage; }
  std::string_view TypeName() const { return GetClass().TypeName; }
  int32_t TypeRank() const { return GetClass().TypeRank; }
  bool AcceptsClass(const TJUXVarClass& other) const { return GetClass().AcceptsClass(other); }
  const TJUXVarClass* PromotedClass() const { return GetClass().PromotedClass(); }

  // --- copying and text
  // A new value of the same class holding the same value (CloneVar); the
  // caller owns it. Scope values copy their node ownership as Assign does.
  virtual std::unique_ptr<TJUXVar> Clone() const;
  virtual bool OwnsNode() const { return false; }
  // Base: "String value undefined".
  virtual std::string ToText(const TFormatSettings& settings) const;
  virtual TJUXVarRec ToVarRec() const = 0;

  // --- getters: refusal records kind 4 «Incompatible types: "A" and "own"»
  // and returns the fallback (1, 1.0, "", true, null).
  virtual int64_t AsInteger(TJUXExpression* sink) const;
  virtual double AsDouble(TJUXExpression* sink) const;
  virtual std::string AsString(TJUXExpression* sink) const;
  virtual bool AsBoolean(TJUXExpression* sink) const;
  virtual TTreeMapNode* AsScope(TJUXExpression* sink) const;
  virtual double AsCurrency(TJUXExpression* sink) const;
  virtual double AsPercentage(TJUXExpression* sink) const;
  virtual double AsDateTime(TJUXExpression* sink) const;
  virtual double AsDate(TJUXExpression* sink) const;
  virtual double AsTime(TJUXExpression* sink) const;
  virtual double AsDuration(TJUXExpression* sink) const;

  // --- setters: refusal records kind 4 and leaves the value unchanged.
  // SetInteger takes 32 bits: pass the low 32 bits of a 64-bit integer.
  virtual void SetInteger(int32_t value, TJUXExpression* sink);
  virtual void SetDouble(double value, TJUXExpression* sink);
  virtual void SetString(const std::string& value, TJUXExpression* sink);
  virtual void SetBoolean(bool value, TJUXExpression* sink);
  virtual void SetScope(TTreeMapNode* value, TJUXExpression* sink);
  virtual void SetCurrency(double value, TJUXExpression* sink);
  virtual void SetPercentage(double value, TJUXExpression* sink);
  virtual void SetDateTime(double value, TJUXExpression* sink);
  virtual void SetDate(double value, TJUXExpression* sink);
  virtual void SetTime(double value, TJUXExpression* sink);
  virtual void SetDuration(double value, TJUXExpression* sink);

  // --- casts into a destination through its setter of the target type.
  // Refusal: the destination first receives the fallback, then kind 6
  // «Invalid typecast, from "own" to "Y"» is recorded.
  virtual void CastToInteger(TJUXVar& dest, TJUXExpression* sink) const;
  virtual void CastToDouble(TJUXVar& dest, TJUXExpression* sink) const;
  // Never refused: ToText with the sink's settings, then dest.SetString.
  // Without a sink the user format settings are used.
  virtual void CastToString(TJUXVar& dest, TJUXExpression* sink) const;
  virtual void CastToBoolean(TJUXVar& dest, TJUXExpression* sink) const;
  virtual void CastToCurrency(TJUXVar& dest, TJUXExpression* sink) const;
  virtual void CastToPercentage(TJUXVar& dest, TJUXExpression* sink) const;
  virtual void CastToDateTime(TJUXVar& dest, TJUXExpression* sink) const;
  virtual void CastToDate(TJUXVar& dest, TJUXExpression* sink) const;
  virtual void CastToTime(TJUXVar& dest, TJUXExpression* sink) const;
  virtual void CastToDuration(TJUXVar& dest, TJUXExpression* sink) const;

  // --- assignment: base refuses with kind 4 (A = source type, B = own type).
  virtual void Assign(const TJUXVar& source, TJUXExpression* sink);

  // --- in-place operators (this is the left operand and receives the result).
  // Refusal: kind 5 «Operator "X" not defined for variables of class "own"».
  virtual void OpAdd(const TJUXVar& other, TJUXExpression* sink);
  virtual void OpSubtract(const TJUXVar& other, TJUXExpression* sink);
  virtual void OpMultiply(const TJUXVar& other, TJUXExpression* sink);
  virtual void OpDivide(const TJUXVar& other, TJUXExpression* sink);
  virtual void OpMod(const TJUXVar& other, TJUXExpression* sink);
  virtual void OpNegate(TJUXExpression* sink);
  virtual void OpNot(TJUXExpression* sink);
  virtual void OpAnd(const TJUXVar& other, TJUXExpression* sink);
  virtual void OpOr(const TJUXVar& other, TJUXExpression* sink);
  virtual void OpXor(const TJUXVar& other, TJUXExpression* sink);
  virtual void OpMax(const TJUXVar& other, TJUXExpression* sink);
  virtual void OpMin(const TJUXVar& other, TJUXExpression* sink);

  // --- comparisons: own value (left) with other (right); the outcome goes to
  // result.SetBoolean. Refusal: kind 5, result untouched.
  virtual void OpGreater(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const;
  virtual void OpGreaterEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const;
  virtual void OpLess(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const;
  virtual void OpLessEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const;
  virtual void OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const;
  virtual void OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const;

  // --- mathematical functions of the own value into a result value.
  // Refusal: kind 5 «Function "X" not defined for variables of class "own"».
  // The result may be this very value.
  virtual void FnAbs(TJUXVar& result, TJUXExpression* sink) const;
  virtual void FnSin(TJUXVar& result, TJUXExpression* sink) const;
  virtual void FnCos(TJUXVar& result, TJUXExpression* sink) const;
  virtual void FnTan(TJUXVar& result, TJUXExpression* sink) const;
  virtual void FnAtan(TJUXVar& result, TJUXExpression* sink) const;
  virtual void FnAtan2(const TJUXVar& other, TJUXVar& result, TJUXExpression* sink) const;
  virtual void FnLog(TJUXVar& result, TJUXExpression* sink) const;
  virtual void FnLn(TJUXVar& result, TJUXExpression* sink) const;
  virtual void FnSqrt(TJUXVar& result, TJUXExpression* sink) const;
  virtual void FnSqr(TJUXVar& result, TJUXExpression* sink) const;
  virtual void FnExp(TJUXVar& result, TJUXExpression* sink) const;
  virtual void FnPower(const TJUXVar& other, TJUXVar& result, TJUXExpression* sink) const;

 protected:
  // Refusal helpers for subclasses that refuse conditionally.
  void RefuseGetter(std::string_view wanted, TJUXExpression* sink) const;
  void RefuseOperator(std::string_view op, TJUXExpression* sink) const;
  void RefuseFunction(std::string_view fn, TJUXExpression* sink) const;
  void RefuseCast(std::string_view target, TJUXExpression* sink) const;

 private:
  TJUXVarStorage FStorage = TJUXVarStorage::Other;
};

// The copy that Clone returns: a new value of the same class, assigned from
// `value` without a sink.
std::unique_ptr<TJUXVar> CloneVar(const TJUXVar& value);

// A new zero value of a class (the virtual constructor Create).
inline std::unique_ptr<TJUXVar> CreateJUXVar(const TJUXVarClass& cls) { return cls.Create(); }

// The settings a value uses for text conversions with this sink: the sink's
// format settings, or the user's when there is no sink.
const TFormatSettings& SinkFormatSettings(const TJUXExpression* sink);
// The clock a value reads dates without a (full) year with: the sink's root's,
// or the system clock when there is no sink.
const TJUXClock& SinkClock(const TJUXExpression* sink);
