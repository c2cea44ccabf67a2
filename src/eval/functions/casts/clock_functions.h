#pragma once
// The clock functions of the expression language, now and today: they read
// the root's clock (eval/values/wall_clock.h) at every evaluation. Their
// registry rows are published by CastFunctionTable() (cast_functions.h).

#include "eval/language/function.h"

// now: the current local date and time as the clock gives it.
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
