// The clock functions now and today.
#include "eval/functions/casts/clock_functions.h"

#include <cmath>

#include "eval/values/derived_vars.h"

void TJUXFunc_Now::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_DateTime>());
}

void TJUXFunc_Now::Evaluate(TTreeMapNode*, bool) { FResult->SetDateTime(Clock()(), this); }

void TJUXFunc_Today::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_Date>());
}

void TJUXFunc_Today::Evaluate(TTreeMapNode*, bool) { FResult->SetDate(std::trunc(Clock()()), this); }
