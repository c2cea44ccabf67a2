// The set functions any, cumsum, diff, setjoin, linseries, setfind and
// filterbool.
#include "eval/functions/lookups/set_functions.h"

#include <cmath>
#include <string>

#include "eval/values/scalar_vars.h"

namespace {

// Set producers report this where their parent takes no set.
void CheckSetWelcome(TJUXExpression& node) {
  if (!node.Parent() || !node.Parent()->SetAllowed())
    node.AddError(jeScopeSet, "Set value encountered where a scalar was expected");
}

// A copy of parameter `index`'s prepared value (of its class).
std::unique_ptr<TJUXVar> CloneOfParam(const TJUXFunction& node, int index) { return node.ParamValue(index).Clone(); }

}  // namespace

// --- any

void TJUXFunc_First::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFunction::GetFunctionInfo(info);
  info.MinParams = 1;
  info.MaxParams = 2;
}

// The set is consumed here: any yields a scalar.
bool TJUXFunc_First::AcceptsSetParam(int index) const { return index == 0; }

void TJUXFunc_First::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  FResult = CloneOfParam(*this, 0);
}

void TJUXFunc_First::Evaluate(TTreeMapNode* scope, bool first) {
  int64_t index = 0;
  if (ParamCount() == 2) {
    FParams[1]->EvaluateEx(scope, first);
    index = ParamValue(1).AsInteger(this);
  }
  const int64_t wanted = index;
  TJUXExpression& set = *FParams[0];
  const auto reportMissing = [&] { AddError(jeScopeSet, "Index in scope set does not exist: " + std::to_string(wanted)); };
  // No element has a negative index.
  if (index < 0 && !HasError()) reportMissing();
  bool firstElement = true;
  while (!HasError() && index >= 0) {
    LoopTick();
    set.EvaluateEx(scope, firstElement);
    --index;
    firstElement = false;
    if (set.SetState() != jssMore) {
      if (index >= 0 || set.SetState() == jssEmpty) reportMissing();
      break;
    }
  }
  FResult->Assign(*set.Result(), this);
  FSetState = jssScalar;
}

// --- cumsum

void TJUXFunc_CumSum::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  FResult = CloneOfParam(*this, 0);
}

void TJUXFunc_CumSum::Evaluate(TTreeMapNode* scope, bool first) {
  TJUXExpression& set = *FParams[0];
  set.EvaluateEx(scope, first);
  if (!HasError()) {
    if (first)
      FResult->Assign(*set.Result(), this);
    else
      FResult->OpAdd(*set.Result(), this);
  }
  FSetState = set.SetState();
}

// --- diff

TJUXFunc_Diff::~TJUXFunc_Diff() = default;

void TJUXFunc_Diff::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  FResult = CloneOfParam(*this, 0);
  FPrevious = CloneOfParam(*this, 0);
}

void TJUXFunc_Diff::Evaluate(TTreeMapNode* scope, bool first) {
  TJUXExpression& set = *FParams[0];
  if (first) set.EvaluateEx(scope, true);  // the first element only starts the differences
  if (set.SetState() != jssMore) {
    FSetState = jssEmpty;
    return;
  }
  FPrevious->Assign(*set.Result(), this);
  set.EvaluateEx(scope, false);
  FResult->Assign(*set.Result(), this);
  FResult->OpSubtract(*FPrevious, this);
  FSetState = set.SetState();
}

void TJUXFunc_Diff::CloneFields(TJUXFunction& copy) const {
  if (FPrevious) static_cast<TJUXFunc_Diff&>(copy).FPrevious = FPrevious->Clone();
}

// --- setjoin

TJUXFunc_SetJoin::~TJUXFunc_SetJoin() = default;

void TJUXFunc_SetJoin::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFunction::GetFunctionInfo(info);
  info.MinParams = 1;
  info.MaxParams = kJUXUnlimitedParams;
}

void TJUXFunc_SetJoin::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFunction::Construct(operatorSyntax, params);
  CheckSetWelcome(*this);
}

void TJUXFunc_SetJoin::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  UnifyParamTypes(0);
  FResult->Assign(ParamValue(0), this);
  FLookAhead = FResult->Clone();
}

bool TJUXFunc_SetJoin::FetchNext(TTreeMapNode* scope, bool first) {
  while (FParamIndex < ParamCount() && !HasError()) {
    if (FParamStart) {
      first = true;
      FParamStart = false;
    }
    TJUXExpression& param = *FParams[static_cast<size_t>(FParamIndex)];
    if (first || param.SetState() == jssMore) param.EvaluateEx(scope, first);
    FLookAhead->Assign(*param.Result(), this);
    const uint8_t state = param.SetState();
    if (state != jssMore) {
      ++FParamIndex;
      FParamStart = true;
    }
    // An empty parameter contributes nothing.
    if (state != jssEmpty) return true;
  }
  return false;
}

void TJUXFunc_SetJoin::Evaluate(TTreeMapNode* scope, bool first) {
  if (first) {
    FParamIndex = 0;
    FParamStart = false;
    FHasNext = FetchNext(scope, true);
  }
  FResult->Assign(*FLookAhead, this);
  if (FHasNext) {
    FHasNext = FetchNext(scope, false);
    FSetState = FHasNext ? jssMore : jssLast;
  } else {
    FSetState = jssEmpty;
  }
}

std::string TJUXFunc_SetJoin::AsTextEx(bool outer) const {
  if (!FOperatorSyntax) return TJUXFunction::AsTextEx(outer);
  std::string text = "[";
  for (int i = 0; i < ParamCount(); ++i) {
    if (i > 0) text += "; ";
    if (const TJUXExpression* param = Param(i)) text += param->AsTextEx(false);
  }
  return text + "]";
}

void TJUXFunc_SetJoin::CloneFields(TJUXFunction& copy) const {
  auto& target = static_cast<TJUXFunc_SetJoin&>(copy);
  target.FParamIndex = FParamIndex;
  target.FLookAhead = FLookAhead ? FLookAhead->Clone() : nullptr;
  target.FHasNext = FHasNext;
  target.FParamStart = FParamStart;
}

// --- linseries

void TJUXFunc_LinSeries::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFunction::GetFunctionInfo(info);
  info.MinParams = 2;
  info.MaxParams = 3;
}

void TJUXFunc_LinSeries::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFunction::Construct(operatorSyntax, params);
  CheckSetWelcome(*this);
}

bool TJUXFunc_LinSeries::AcceptsSetParam(int) const { return false; }

void TJUXFunc_LinSeries::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  FResult = std::make_unique<TJUXVar_Double>();
}

void TJUXFunc_LinSeries::Evaluate(TTreeMapNode* scope, bool first) {
  const TJUXExpression& last = *FParams.back();
  if (first) {
    for (const auto& param : FParams) {
      param->EvaluateEx(scope, true);
      if (param->SetState() == jssEmpty) {
        FSetState = jssEmpty;
        return;
      }
    }
    FResult->Assign(ParamValue(0), this);
    FStep = ParamCount() == 3 ? ParamValue(1).AsDouble(this) : 1.0;
    // NaN counts as zero: a series that never moves would never end.
    if (FStep == 0 || std::isnan(FStep)) AddError(jeInternal, "Linear series must have a delta-value larger than zero");
    if (!std::isfinite(FResult->AsDouble(this)) || !std::isfinite(last.Result()->AsDouble(this))) {
      AddError(jeInternal, "Linear series must have finite start and end values");
      FSetState = jssEmpty;
      return;
    }
  } else {
    const double previous = FResult->AsDouble(this);
    FResult->SetDouble(previous + FStep, this);
    // A step lost in the rounding of a large value would repeat it forever.
    if (FResult->AsDouble(this) == previous && FStep != 0 && !std::isnan(FStep)) {
      AddError(jeInternal, "Linear series step is too small for its values");
      FSetState = jssLast;
      return;
    }
  }
  const double current = FResult->AsDouble(this);
  const double end = last.Result()->AsDouble(this);
  FSetState = jssMore;
  if (current == end) {
    FSetState = jssLast;
  } else if (FStep < 0) {
    if (current < end)
      FSetState = jssEmpty;
    else if (current + FStep < end)
      FSetState = jssLast;
  } else if (FStep > 0) {
    if (current > end)
      FSetState = jssEmpty;
    else if (current + FStep > end)
      FSetState = jssLast;
  }
  // A zero step keeps state "more"; its error ends every consumer's loop.
}

void TJUXFunc_LinSeries::CloneFields(TJUXFunction& copy) const { static_cast<TJUXFunc_LinSeries&>(copy).FStep = FStep; }

// --- setfind

bool TJUXFunc_SetFind::AcceptsSetParam(int) const { return true; }

void TJUXFunc_SetFind::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  FResult = std::make_unique<TJUXVar_Integer>();
}

void TJUXFunc_SetFind::Evaluate(TTreeMapNode* scope, bool) {
  TJUXExpression& set = *FParams[0];
  FSetState = jssScalar;
  bool firstElement = true;
  int32_t position = 0;
  do {
    LoopTick();
    set.EvaluateEx(scope, firstElement);
    firstElement = false;
    if (set.SetState() == jssEmpty) {
      FSetState = jssEmpty;  // the result is left as it was
      return;
    }
    if (set.Result()->AsBoolean(this)) {
      FResult->SetInteger(position, this);
      return;
    }
    ++position;
  } while (set.SetState() == jssMore && !HasError());
  FResult->SetInteger(-1, this);
}

// --- filterbool

TJUXFunc_FilterBool::~TJUXFunc_FilterBool() = default;

void TJUXFunc_FilterBool::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  FResult = CloneOfParam(*this, 0);
  FLookAhead = CloneOfParam(*this, 0);
  if (!ParamValue(1).AcceptsClass(TJUXVar_Boolean::Class())) AddError(jeIncompatibleTypes, "Boolean value expected");
}

void TJUXFunc_FilterBool::FetchNextMatch(TTreeMapNode* scope, bool first) {
  TJUXExpression& values = *FParams[0];
  TJUXExpression& tests = *FParams[1];
  for (;;) {
    values.EvaluateEx(scope, first);
    FSetState = values.SetState();
    tests.EvaluateEx(scope, first);
    CombineSetState(1);  // sets of unequal length report kind 8
    first = false;
    if (tests.Result()->AsBoolean(this)) {
      FLookAhead->Assign(*values.Result(), this);
      FHasNext = FSetState != jssEmpty;
      FMoreToCome = FSetState == jssMore;
      return;
    }
    LoopTick();
    if (HasError() || FSetState != jssMore) {
      FHasNext = false;
      return;
    }
  }
}

void TJUXFunc_FilterBool::Evaluate(TTreeMapNode* scope, bool first) {
  if (first) FetchNextMatch(scope, true);
  if (!FHasNext) {
    FSetState = jssEmpty;
    return;
  }
  FResult->Assign(*FLookAhead, this);
  // Look further only while the parameters have elements to come: after the
  // last element (or a scalar pair) there is nothing left to match, and a
  // scalar pair asked again would match for ever.
  if (FMoreToCome && !HasError())
    FetchNextMatch(scope, false);
  else
    FHasNext = false;
  FSetState = FHasNext ? jssMore : jssLast;
}

void TJUXFunc_FilterBool::CloneFields(TJUXFunction& copy) const {
  auto& target = static_cast<TJUXFunc_FilterBool&>(copy);
  target.FLookAhead = FLookAhead ? FLookAhead->Clone() : nullptr;
  target.FHasNext = FHasNext;
  target.FMoreToCome = FMoreToCome;
}
