#pragma once
// The clock functions of the expression language, now and today: they read
// the clock at every evaluation, in local time. Their registry rows are
// published by CastFunctionTable() (cast_functions.h).

#include "eval/language/function.h"

// now: the current date and time, to the millisecond.
class TJUXFunc_Now : public TJUXNoParamFunc {
 public:
  using TJUXNoParamFunc::TJUXNoParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// today: the current date (no time of day).
class TJUXFunc_Today : public TJUXNoParamFunc {
 public:
  using TJUXNoParamFunc::TJUXNoParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// The current local date and time as a day count (30 December 1899 = day 0),
// the time of day to the millisecond as the fraction.
double JUXCurrentDateTime();
