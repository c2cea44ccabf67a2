#pragma once
// Function classes of the expression language: the type casts. The casts
// integer .. duration convert any value into the named class through the
// value's own cast operations (elementwise over sets).
//
// The group's registry rows are published by CastFunctionTable(): those of
// the casts, of the conditionals (conditional_functions.h), of the set
// aggregates (set_aggregates.h) and of the clock (clock_functions.h).

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "eval/language/function.h"
#include "eval/values/scalar_vars.h"

class TTreeMapNode;
class TTreeMapLevels;

// --- casts: the result is a new value of the target class; the argument casts
// itself into it (refusals are the value classes': kinds 6 and 7).

using TJUXVarCast = void (TJUXVar::*)(TJUXVar& dest, TJUXExpression* sink) const;

template <TJUXVarKind Target, TJUXVarCast Cast>
class TJUXCastFunc : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Prepare(TTreeMapNode* scope) override {
    TJUXFunction::Prepare(scope);
    SetResult(CreateJUXVar(JUXVarClass(Target)));
  }
  void InitResult() override {
    (ParamValue(0).*Cast)(*Result(), this);
    SetSetState(Param(0)->SetState());
  }
};

class TJUXFunc_CastInteger : public TJUXCastFunc<TJUXVarKind::Integer, &TJUXVar::CastToInteger> {
 public:
  using TJUXCastFunc::TJUXCastFunc;
};
class TJUXFunc_CastDouble : public TJUXCastFunc<TJUXVarKind::Double, &TJUXVar::CastToDouble> {
 public:
  using TJUXCastFunc::TJUXCastFunc;
};
class TJUXFunc_CastBool : public TJUXCastFunc<TJUXVarKind::Boolean, &TJUXVar::CastToBoolean> {
 public:
  using TJUXCastFunc::TJUXCastFunc;
};
class TJUXFunc_CastString : public TJUXCastFunc<TJUXVarKind::String, &TJUXVar::CastToString> {
 public:
  using TJUXCastFunc::TJUXCastFunc;
};
class TJUXFunc_CastCurrency : public TJUXCastFunc<TJUXVarKind::Currency, &TJUXVar::CastToCurrency> {
 public:
  using TJUXCastFunc::TJUXCastFunc;
};
class TJUXFunc_CastPercentage : public TJUXCastFunc<TJUXVarKind::Percentage, &TJUXVar::CastToPercentage> {
 public:
  using TJUXCastFunc::TJUXCastFunc;
};
class TJUXFunc_CastDateTime : public TJUXCastFunc<TJUXVarKind::DateTime, &TJUXVar::CastToDateTime> {
 public:
  using TJUXCastFunc::TJUXCastFunc;
};
class TJUXFunc_CastDate : public TJUXCastFunc<TJUXVarKind::Date, &TJUXVar::CastToDate> {
 public:
  using TJUXCastFunc::TJUXCastFunc;
};
class TJUXFunc_CastTime : public TJUXCastFunc<TJUXVarKind::Time, &TJUXVar::CastToTime> {
 public:
  using TJUXCastFunc::TJUXCastFunc;
};
class TJUXFunc_CastDuration : public TJUXCastFunc<TJUXVarKind::Duration, &TJUXVar::CastToDuration> {
 public:
  using TJUXCastFunc::TJUXCastFunc;
};

// The registry rows of this group (static storage).
std::span<const TJUXFunctionInfo> CastFunctionTable();
