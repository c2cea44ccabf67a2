#include "eval/functions/arithmetic/arithmetic_functions.h"

#include <array>
#include <cmath>

#include "eval/values/float_math_internal.h"
#include "eval/values/scalar_vars.h"
#include "foundation/assertion.h"
#include "foundation/rounding.h"

namespace {

// Rounding maps these (and NaN) to -2147483648; 2147483647.5 rounds to the
// even 2147483648, which is out of range too.
constexpr double kRoundLow = -2147483648.5;
constexpr double kRoundHigh = 2147483647.5;

bool RoundsOutOfRange(double x) { return std::isnan(x) || x < kRoundLow || x >= kRoundHigh; }


}  // namespace

// --- typed folds

namespace {

// A fold's two steps for a result of one storage, as direct (not virtual)
// calls of the result class's own Assign and operation.
struct TJUXTypedFold {
  void (*Assign)(TJUXVar& result, const TJUXVar& source, TJUXExpression* sink);
  void (*Step)(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink);
};

// A direct call of Class's own Assign or operation on a result of that class.
#define JUX_ASSIGN(Class) \
  [](TJUXVar& r, const TJUXVar& o, TJUXExpression* s) { static_cast<Class&>(r).Class::Assign(o, s); }
#define JUX_STEP(Class, Method) \
  [](TJUXVar& r, const TJUXVar& o, TJUXExpression* s) { static_cast<Class&>(r).Class::Method(o, s); }

constexpr TJUXTypedFold kIntegerFolds[] = {
    {JUX_ASSIGN(TJUXVar_Integer), JUX_STEP(TJUXVar_Integer, OpAdd)},
    {JUX_ASSIGN(TJUXVar_Integer), JUX_STEP(TJUXVar_Integer, OpSubtract)},
    {JUX_ASSIGN(TJUXVar_Integer), JUX_STEP(TJUXVar_Integer, OpMultiply)},
    {JUX_ASSIGN(TJUXVar_Integer), JUX_STEP(TJUXVar_Integer, OpDivide)},
    {JUX_ASSIGN(TJUXVar_Integer), JUX_STEP(TJUXVar_Integer, OpAnd)},
    {JUX_ASSIGN(TJUXVar_Integer), JUX_STEP(TJUXVar_Integer, OpOr)},
    {JUX_ASSIGN(TJUXVar_Integer), JUX_STEP(TJUXVar_Integer, OpXor)},
    {JUX_ASSIGN(TJUXVar_Integer), JUX_STEP(TJUXVar_Integer, OpMax)},
    {JUX_ASSIGN(TJUXVar_Integer), JUX_STEP(TJUXVar_Integer, OpMin)},
};
constexpr TJUXTypedFold kStringFolds[] = {
    {JUX_ASSIGN(TJUXVar_String), JUX_STEP(TJUXVar_String, OpAdd)},
    {JUX_ASSIGN(TJUXVar_String), JUX_STEP(TJUXVar_String, OpSubtract)},
};

#undef JUX_ASSIGN
#undef JUX_STEP

// The typed steps of `op` on a result of `storage`; null where the fold goes
// through the virtual operations (other classes, and operations the class
// refuses).
const TJUXTypedFold* TypedFold(TJUXFoldOp op, TJUXVarStorage storage) {
  using enum TJUXFoldOp;
  switch (storage) {
    case TJUXVarStorage::Integer:
      return &kIntegerFolds[static_cast<size_t>(op)];
    case TJUXVarStorage::String:
      return op == Add ? &kStringFolds[0] : (op == Subtract ? &kStringFolds[1] : nullptr);
    default:
      return nullptr;
  }
}

bool IsFloatFold(TJUXFoldOp op) { return op != TJUXFoldOp::And && op != TJUXFoldOp::Or && op != TJUXFoldOp::Xor; }

// The double class's in-place operations (OpAdd .. OpMin) on its value.
long double FloatStep(TJUXFoldOp op, long double a, double b, TJUXExpression& sink) {
  switch (op) {
    case TJUXFoldOp::Add: return a + b;
    case TJUXFoldOp::Subtract: return a - b;
    case TJUXFoldOp::Multiply: return jux_math::Multiply(a, b);
    case TJUXFoldOp::Divide: {
      bool divByZero = false;
      const long double value = jux_math::Divide(a, b, divByZero);
      if (divByZero) sink.SetFlags(JUXKindFlag(jeDivisionByZero), true);
      return value;
    }
    case TJUXFoldOp::Max: return b > a ? b : a;
    case TJUXFoldOp::Min: return b < a ? b : a;
    default: return a;  // the logical folds have no float step (IsFloatFold)
  }
}

void RequireParsed(const TJUXFunction& node) {
  for (int i = 0; i < node.ParamCount(); ++i) Require(node.Param(i) != nullptr, kJUXUnparsedTree);
}

// The standard evaluation of a fold on a double result: Assign is the
// double's (the value read as a double), each step its operation.
void EvaluateFloatFold(TJUXFunction& node, TJUXFoldOp op, TTreeMapNode* scope, bool first) {
  RequireParsed(node);
  auto& result = static_cast<TJUXVar_Double&>(*node.Result());
  node.Param(0)->EvaluateParam(scope, first);
  double initial = 0;
  if (!node.HasError()) {
    initial = JUXReadDouble(node.ParamValue(0), &node);
    result.SetValue(initial);
    node.SetSetState(node.Param(0)->SetState());
  }
  for (int i = 1; i < node.ParamCount(); ++i) {
    node.Param(i)->EvaluateParam(scope, first);
    if (node.HasError()) return;
    // The first step starts from the double just assigned (the result holds
    // it exactly), which spares reading the extended value back from memory.
    const long double value = i == 1 ? static_cast<long double>(initial) : result.Value();
    result.SetValue(FloatStep(op, value, JUXReadDouble(node.ParamValue(i), &node), node));
    node.CombineSetState(i);
  }
}

// The Boolean class's in-place operations (OpAnd .. OpMin); And and Or (and
// their synonyms Min and Max) do not read the other operand when the value
// decides the outcome.
bool BooleanStep(TJUXFoldOp op, bool a, const TJUXVar& other, TJUXExpression& sink) {
  switch (op) {
    case TJUXFoldOp::And:
    case TJUXFoldOp::Min:
      return a ? JUXReadBoolean(other, &sink) : false;
    case TJUXFoldOp::Or:
    case TJUXFoldOp::Max:
      return a ? true : JUXReadBoolean(other, &sink);
    default:  // Xor
      return a != JUXReadBoolean(other, &sink);
  }
}

bool IsBooleanFold(TJUXFoldOp op) { return op >= TJUXFoldOp::And; }

// The standard evaluation of a fold on a Boolean result.
void EvaluateBooleanFold(TJUXFunction& node, TJUXFoldOp op, TTreeMapNode* scope, bool first) {
  RequireParsed(node);
  auto& result = static_cast<TJUXVar_Boolean&>(*node.Result());
  node.Param(0)->EvaluateParam(scope, first);
  if (!node.HasError()) {
    result.SetValue(JUXReadBoolean(node.ParamValue(0), &node));
    node.SetSetState(node.Param(0)->SetState());
  }
  for (int i = 1; i < node.ParamCount(); ++i) {
    node.Param(i)->EvaluateParam(scope, first);
    if (node.HasError()) return;
    result.SetValue(BooleanStep(op, result.Value(), node.ParamValue(i), node));
    node.CombineSetState(i);
  }
}

// The standard evaluation of a fold with the result's Assign and operation
// taken from `fold`.
void EvaluateTableFold(TJUXFunction& node, const TJUXTypedFold& fold, TTreeMapNode* scope, bool first) {
  RequireParsed(node);
  TJUXVar& result = *node.Result();
  node.Param(0)->EvaluateParam(scope, first);
  if (!node.HasError()) {
    fold.Assign(result, node.ParamValue(0), &node);
    node.SetSetState(node.Param(0)->SetState());
  }
  for (int i = 1; i < node.ParamCount(); ++i) {
    node.Param(i)->EvaluateParam(scope, first);
    if (node.HasError()) return;
    fold.Step(result, node.ParamValue(i), &node);
    node.CombineSetState(i);
  }
}

// A number value as an extended float, as its mathematical functions read
// it; false for the other classes.
bool ReadExtended(const TJUXVar& value, long double& x) {
  switch (value.Storage()) {
    case TJUXVarStorage::Float: {
      const auto& number = static_cast<const TJUXVar_Double&>(value);
      x = number.HoldsDouble() ? static_cast<long double>(number.Rounded()) : number.Value();
      return true;
    }
    case TJUXVarStorage::Integer:
      x = static_cast<long double>(static_cast<const TJUXVar_Integer&>(value).Value());
      return true;
    default:
      return false;
  }
}

// What StoreMath of the value classes does: flag a domain error, keep the
// result as a double.
void StoreMathResult(long double value, bool domainError, TJUXVar_Double& result, TJUXExpression* sink) {
  if (domainError && sink) sink->SetFlags(JUXKindFlag(jeMathDomain), true);
  result.SetValue(static_cast<double>(value));
}

}  // namespace

bool EvaluateTypedFold(TJUXFunction& node, TJUXFoldOp op, TTreeMapNode* scope, bool first) {
  if (!node.Result() || node.ParamCount() == 0) return false;
  const TJUXVarStorage storage = node.Result()->Storage();
  if (storage == TJUXVarStorage::Float && IsFloatFold(op)) {
    EvaluateFloatFold(node, op, scope, first);
    return true;
  }
  if (storage == TJUXVarStorage::Boolean && IsBooleanFold(op)) {
    EvaluateBooleanFold(node, op, scope, first);
    return true;
  }
  const TJUXTypedFold* fold = TypedFold(op, storage);
  if (!fold) return false;
  EvaluateTableFold(node, *fold, scope, first);
  return true;
}

bool ComputeMathTyped(TJUXMathOp op, const TJUXVar& argument, TJUXVar& result, TJUXExpression* sink) {
  static constexpr std::array<jux_math::TUnaryFn, 10> kFunctions = {
      &jux_math::Abs, &jux_math::Sin, &jux_math::Cos,  &jux_math::Tan,  &jux_math::Atan,
      &jux_math::Log, &jux_math::Ln,  &jux_math::Exp, &jux_math::Sqrt, &jux_math::Sqr};
  // The integer's abs and sqr give integers of their own.
  if (argument.Storage() == TJUXVarStorage::Integer && (op == TJUXMathOp::Abs || op == TJUXMathOp::Sqr)) return false;
  long double x = 0;
  if (result.Storage() != TJUXVarStorage::Float || !ReadExtended(argument, x)) return false;
  bool domainError = false;
  const long double value = kFunctions[static_cast<size_t>(op)](x, domainError);
  StoreMathResult(value, domainError, static_cast<TJUXVar_Double&>(result), sink);
  return true;
}

void PrepareMathResult(TJUXFunction& node, TJUXResultRule rule) {
  switch (rule) {
    case TJUXResultRule::FromDouble:
      node.UnifyParamTypes(0, &TJUXVar_Double::Class());
      break;
    case TJUXResultRule::FromInteger:
      node.UnifyParamTypes(0, &TJUXVar_Integer::Class());
      break;
    case TJUXResultRule::Copy:
      node.SetResult(CloneVar(node.ParamValue(0)));
      break;
  }
}

void TJUXFunc_Div::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  SetResult(CreateJUXVar(TJUXVar_Double::Class()));
}

void TJUXFunc_Mod::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  UnifyParamTypes(0);
}

void TJUXFunc_Mod::Evaluate(TTreeMapNode* scope, bool first) {
  // No error test between the steps: both operands always count.
  Param(0)->EvaluateParam(scope, first);
  Result()->Assign(ParamValue(0), this);
  Param(1)->EvaluateParam(scope, first);
  Result()->OpMod(ParamValue(1), this);
  CombineAllSetStates();
}

void TJUXFunc_Power::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  UnifyParamTypes(0, &TJUXVar_Double::Class());
}

void TJUXFunc_Power::InitResult() {
  if (Result() && Result()->Storage() == TJUXVarStorage::Float) {
    // The standard InitResult with the double class's Assign called directly.
    static_cast<TJUXVar_Double&>(*Result()).SetValue(JUXReadDouble(ParamValue(0), this));
    SetSetState(Param(0)->SetState());
    return;
  }
  TJUXTwoParamFunc::InitResult();
}

void TJUXFunc_Power::CombineParam(int index) {
  long double x = 0;
  if (Result()->Storage() == TJUXVarStorage::Float && ReadExtended(ParamValue(0), x)) {
    // FnPower of the double and integer classes, without its virtual calls.
    bool domainError = false;
    const long double value = jux_math::Power(x, JUXReadDouble(ParamValue(index), this), domainError);
    StoreMathResult(value, domainError, static_cast<TJUXVar_Double&>(*Result()), this);
  } else {
    ParamValue(0).FnPower(ParamValue(index), *Result(), this);
  }
  CombineSetState(index);
}

void TJUXFunc_Atan2::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  UnifyParamTypes(0, &TJUXVar_Double::Class());
}

void TJUXFunc_Atan2::InitResult() { SetSetState(Param(0)->SetState()); }

void TJUXFunc_Atan2::CombineParam(int index) {
  ParamValue(0).FnAtan2(ParamValue(index), *Result(), this);
  CombineSetState(index);
}

void TJUXFunc_Round::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  SetResult(CreateJUXVar(TJUXVar_Integer::Class()));
}

void TJUXFunc_Round::InitResult() {
  const double x = ParamValue(0).AsDouble(this);
  // An argument that no 32-bit integer represents is a range error, not a
  // silent -2147483648.
  if (RoundsOutOfRange(x)) SetFlags(JUXKindFlag(jeMathDomain));
  Result()->SetInteger(RoundDouble(x), this);
  SetSetState(Param(0)->SetState());
}

void TJUXFunc_Frac::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  UnifyParamTypes(0, &TJUXVar_Double::Class());
}

void TJUXFunc_Frac::InitResult() {
  const double x = ParamValue(0).AsDouble(this);
  Result()->SetDouble(x - std::trunc(x), this);
  SetSetState(Param(0)->SetState());
}

void TJUXFunc_Sign::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  SetResult(CreateJUXVar(TJUXVar_Integer::Class()));
}

void TJUXFunc_Sign::InitResult() {
  const double x = ParamValue(0).AsDouble(this);
  // NaN has no sign: the +1 it gets is flagged as a domain error.
  if (std::isnan(x)) SetFlags(JUXKindFlag(jeMathDomain));
  Result()->SetInteger(x == 0.0 ? 0 : (x < 0.0 ? -1 : 1), this);
  SetSetState(Param(0)->SetState());
}
