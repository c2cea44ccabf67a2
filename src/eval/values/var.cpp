#include "eval/values/var.h"

#include "eval/language/expression.h"

namespace {

constexpr double kGetterFallback = 1.0;

}  // namespace

const TJUXVarClass* TJUXVarClass::PromotedClass() const {
  if (Promoted < 0) return nullptr;
  return &JUXVarClass(static_cast<TJUXVarKind>(Promoted));
}

const TFormatSettings& SinkFormatSettings(const TJUXExpression* sink) {
  return sink ? sink->FormatSettings() : UserFormatSettings();
}

const TJUXClock& SinkClock(const TJUXExpression* sink) { return sink ? sink->Clock() : JUXSystemClock(); }

std::unique_ptr<TJUXVar> CloneVar(const TJUXVar& value) {
  std::unique_ptr<TJUXVar> copy = value.GetClass().Create();
  copy->Assign(value, nullptr);
  return copy;
}

std::unique_ptr<TJUXVar> TJUXVar::Clone() const { return CloneVar(*this); }

std::string TJUXVar::ToText(const TFormatSettings&) const { return "String value undefined"; }

void TJUXVar::RefuseGetter(std::string_view wanted, TJUXExpression* sink) const {
  ReportIncompatibleTypes(sink, wanted, TypeName());
}
void TJUXVar::RefuseOperator(std::string_view op, TJUXExpression* sink) const {
  ReportOperatorNotDefined(sink, op, TypeName());
}
void TJUXVar::RefuseFunction(std::string_view fn, TJUXExpression* sink) const {
  ReportFunctionNotDefined(sink, fn, TypeName());
}
void TJUXVar::RefuseCast(std::string_view target, TJUXExpression* sink) const {
  ReportInvalidTypecast(sink, TypeName(), target);
}

// --- getters
int64_t TJUXVar::AsInteger(TJUXExpression* sink) const {
  RefuseGetter("integer", sink);
  return 1;
}
double TJUXVar::AsDouble(TJUXExpression* sink) const {
  RefuseGetter("double", sink);
  return kGetterFallback;
}
std::string TJUXVar::AsString(TJUXExpression* sink) const {
  RefuseGetter("string", sink);
  return {};
}
bool TJUXVar::AsBoolean(TJUXExpression* sink) const {
  RefuseGetter("boolean", sink);
  return true;
}
TTreeMapNode* TJUXVar::AsScope(TJUXExpression* sink) const {
  RefuseGetter("scope", sink);
  return nullptr;
}
double TJUXVar::AsCurrency(TJUXExpression* sink) const {
  RefuseGetter("currency", sink);
  return kGetterFallback;
}
double TJUXVar::AsPercentage(TJUXExpression* sink) const {
  RefuseGetter("percentage", sink);
  return kGetterFallback;
}
double TJUXVar::AsDateTime(TJUXExpression* sink) const {
  RefuseGetter("datetime", sink);
  return kGetterFallback;
}
double TJUXVar::AsDate(TJUXExpression* sink) const {
  RefuseGetter("date", sink);
  return kGetterFallback;
}
double TJUXVar::AsTime(TJUXExpression* sink) const {
  RefuseGetter("time", sink);
  return kGetterFallback;
}
double TJUXVar::AsDuration(TJUXExpression* sink) const {
  RefuseGetter("duration", sink);
  return kGetterFallback;
}

// --- setters
void TJUXVar::SetInteger(int32_t, TJUXExpression* sink) { RefuseGetter("integer", sink); }
void TJUXVar::SetDouble(double, TJUXExpression* sink) { RefuseGetter("double", sink); }
void TJUXVar::SetString(const std::string&, TJUXExpression* sink) { RefuseGetter("string", sink); }
void TJUXVar::SetBoolean(bool, TJUXExpression* sink) { RefuseGetter("boolean", sink); }
void TJUXVar::SetScope(TTreeMapNode*, TJUXExpression* sink) { RefuseGetter("scope", sink); }
void TJUXVar::SetCurrency(double, TJUXExpression* sink) { RefuseGetter("currency", sink); }
void TJUXVar::SetPercentage(double, TJUXExpression* sink) { RefuseGetter("percentage", sink); }
void TJUXVar::SetDateTime(double, TJUXExpression* sink) { RefuseGetter("datetime", sink); }
void TJUXVar::SetDate(double, TJUXExpression* sink) { RefuseGetter("date", sink); }
void TJUXVar::SetTime(double, TJUXExpression* sink) { RefuseGetter("time", sink); }
void TJUXVar::SetDuration(double, TJUXExpression* sink) { RefuseGetter("duration", sink); }

// --- casts: the destination receives the fallback before the refusal is recorded
void TJUXVar::CastToInteger(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetInteger(0, sink);
  RefuseCast("integer", sink);
}
void TJUXVar::CastToDouble(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDouble(1.0, sink);
  RefuseCast("double", sink);
}
void TJUXVar::CastToString(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetString(ToText(SinkFormatSettings(sink)), sink);
}
void TJUXVar::CastToBoolean(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetBoolean(true, sink);
  RefuseCast("boolean", sink);
}
void TJUXVar::CastToCurrency(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetCurrency(0.0, sink);
  RefuseCast("currency", sink);
}
void TJUXVar::CastToPercentage(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetPercentage(0.0, sink);
  RefuseCast("percentage", sink);
}
void TJUXVar::CastToDateTime(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDateTime(1.0, sink);
  RefuseCast("datetime", sink);
}
void TJUXVar::CastToDate(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDate(1.0, sink);
  RefuseCast("date", sink);
}
void TJUXVar::CastToTime(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetTime(1.0, sink);
  RefuseCast("time", sink);
}
void TJUXVar::CastToDuration(TJUXVar& dest, TJUXExpression* sink) const {
  dest.SetDuration(1.0, sink);
  RefuseCast("duration", sink);
}

void TJUXVar::Assign(const TJUXVar& source, TJUXExpression* sink) {
  ReportIncompatibleTypes(sink, source.TypeName(), TypeName());
}

// --- operators
void TJUXVar::OpAdd(const TJUXVar&, TJUXExpression* sink) { RefuseOperator("+", sink); }
void TJUXVar::OpSubtract(const TJUXVar&, TJUXExpression* sink) { RefuseOperator("-", sink); }
void TJUXVar::OpMultiply(const TJUXVar&, TJUXExpression* sink) { RefuseOperator("*", sink); }
void TJUXVar::OpDivide(const TJUXVar&, TJUXExpression* sink) { RefuseOperator("/", sink); }
void TJUXVar::OpMod(const TJUXVar&, TJUXExpression* sink) { RefuseOperator("mod", sink); }
void TJUXVar::OpNegate(TJUXExpression* sink) { RefuseOperator("negation", sink); }
void TJUXVar::OpNot(TJUXExpression* sink) { RefuseOperator("not", sink); }
void TJUXVar::OpAnd(const TJUXVar&, TJUXExpression* sink) { RefuseOperator("and", sink); }
void TJUXVar::OpOr(const TJUXVar&, TJUXExpression* sink) { RefuseOperator("or", sink); }
void TJUXVar::OpXor(const TJUXVar&, TJUXExpression* sink) { RefuseOperator("xor", sink); }
void TJUXVar::OpMax(const TJUXVar&, TJUXExpression* sink) { RefuseOperator("max", sink); }
void TJUXVar::OpMin(const TJUXVar&, TJUXExpression* sink) { RefuseOperator("min", sink); }

// --- comparisons
void TJUXVar::OpGreater(TJUXVar&, const TJUXVar&, TJUXExpression* sink) const { RefuseOperator(">", sink); }
void TJUXVar::OpGreaterEqual(TJUXVar&, const TJUXVar&, TJUXExpression* sink) const { RefuseOperator(">=", sink); }
void TJUXVar::OpLess(TJUXVar&, const TJUXVar&, TJUXExpression* sink) const { RefuseOperator("<", sink); }
void TJUXVar::OpLessEqual(TJUXVar&, const TJUXVar&, TJUXExpression* sink) const { RefuseOperator("<=", sink); }
void TJUXVar::OpEqual(TJUXVar&, const TJUXVar&, TJUXExpression* sink) const { RefuseOperator("=", sink); }
void TJUXVar::OpNotEqual(TJUXVar&, const TJUXVar&, TJUXExpression* sink) const { RefuseOperator("<>", sink); }

// --- mathematical functions
void TJUXVar::FnAbs(TJUXVar&, TJUXExpression* sink) const { RefuseFunction("abs", sink); }
void TJUXVar::FnSin(TJUXVar&, TJUXExpression* sink) const { RefuseFunction("sin", sink); }
void TJUXVar::FnCos(TJUXVar&, TJUXExpression* sink) const { RefuseFunction("cos", sink); }
void TJUXVar::FnTan(TJUXVar&, TJUXExpression* sink) const { RefuseFunction("tan", sink); }
void TJUXVar::FnAtan(TJUXVar&, TJUXExpression* sink) const { RefuseFunction("atan", sink); }
void TJUXVar::FnAtan2(const TJUXVar&, TJUXVar&, TJUXExpression* sink) const { RefuseFunction("atan2", sink); }
void TJUXVar::FnLog(TJUXVar&, TJUXExpression* sink) const { RefuseFunction("log", sink); }
void TJUXVar::FnLn(TJUXVar&, TJUXExpression* sink) const { RefuseFunction("ln", sink); }
void TJUXVar::FnSqrt(TJUXVar&, TJUXExpression* sink) const { RefuseFunction("sqrt", sink); }
void TJUXVar::FnSqr(TJUXVar&, TJUXExpression* sink) const { RefuseFunction("sqr", sink); }
void TJUXVar::FnExp(TJUXVar&, TJUXExpression* sink) const { RefuseFunction("exp", sink); }
void TJUXVar::FnPower(const TJUXVar&, TJUXVar&, TJUXExpression* sink) const { RefuseFunction("power", sink); }
