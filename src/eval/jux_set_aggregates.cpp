// The set aggregates on the loop base, and isempty.
#include "eval/jux_cast_functions.h"

#include <limits>

#include "eval/jux_expression.h"
#include "foundation/assertion.h"
#include "treemap/tree_map_node.h"

namespace {

constexpr std::string_view kUnparsedTree = "JUX: an expression with syntax errors cannot be prepared or evaluated";

}  // namespace

// --- TJUXFunc_LoopBase

void TJUXFunc_LoopBase::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  FLastScope = nullptr;
  FComputed = false;
}

void TJUXFunc_LoopBase::Evaluate(TTreeMapNode* scope, bool first) {
  // Nothing below reads the scope: the set is the same as last time.
  if (FComputed && !DependsOnScope() && (!first || SameNode(scope, FLastScope))) return;
  Require(ParamCount() == 1 && Param(0), kUnparsedTree);
  FComputed = false;
  FLastScope = scope;
  FElementCount = 0;
  TJUXExpression& set = *Param(0);
  bool start = true;
  Accumulate(apStart);
  do {
    set.EvaluateEx(scope, start);
    if (HasError()) return;
    LoopTick();
    if (HasError()) return;
    const bool element = set.SetState() != jssEmpty;
    // An empty set is accumulated once without an element; an empty tail
    // after elements (a change of scope whose last nodes give nothing) adds
    // nothing.
    if (element || FElementCount == 0) Accumulate(apElement);
    if (HasError()) return;
    if (element) ++FElementCount;
    start = false;
  } while (set.SetState() == jssMore);
  FSetState = FElementCount > 0 ? jssScalar : jssEmpty;
  Accumulate(apFinish);
  FComputed = !HasError();
}

void TJUXFunc_LoopBase::CloneFields(TJUXFunction& copy) const {
  auto& loop = static_cast<TJUXFunc_LoopBase&>(copy);
  loop.FElementCount = FElementCount;
  loop.FLastScope = FLastScope;
  loop.FComputed = FComputed;
}

// --- mean

void TJUXFunc_Mean::Prepare(TTreeMapNode* scope) {
  TJUXFunc_LoopBase::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_Double>());
}

void TJUXFunc_Mean::Accumulate(TPhase phase) {
  if (phase == apElement) {
    if (ElementCount() == 0)
      Result()->Assign(Element(), this);
    else
      Result()->OpAdd(Element(), this);
  } else if (phase == apFinish) {
    FCount.SetInteger(static_cast<int32_t>(ElementCount()), this);
    Result()->OpDivide(FCount, this);
  }
}

void TJUXFunc_Mean::CloneFields(TJUXFunction& copy) const {
  TJUXFunc_LoopBase::CloneFields(copy);
  static_cast<TJUXFunc_Mean&>(copy).FCount.SetValue(FCount.Value());
}

// --- var

void TJUXFunc_Var::Prepare(TTreeMapNode* scope) {
  TJUXFunc_LoopBase::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_Double>());
}

void TJUXFunc_Var::Accumulate(TPhase phase) {
  switch (phase) {
    case apStart:
      FSumOfSquares = 0;
      FSum = 0;
      FShift = 0;
      break;
    case apElement: {
      const double x = Element().AsDouble(this);
      if (ElementCount() == 0) FShift = x;
      const double d = x - FShift;
      FSumOfSquares += d * d;
      FSum += d;
      break;
    }
    case apFinish: {
      const int64_t n = ElementCount();
      if (n <= 1) {
        Result()->SetDouble(std::numeric_limits<double>::infinity(), this);
        SetFlags(JUXKindFlag(jeDivisionByZero), true);
        break;
      }
      const double count = static_cast<double>(n);
      const double m = FSum / count;
      Result()->SetDouble((FSumOfSquares / count - m * m) * count / (count - 1), this);
      break;
    }
  }
}

// --- setcount

void TJUXFunc_LoopCount::Prepare(TTreeMapNode* scope) {
  TJUXFunc_LoopBase::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_Integer>());
}

void TJUXFunc_LoopCount::Accumulate(TPhase phase) {
  if (phase == apFinish) Result()->SetInteger(static_cast<int32_t>(ElementCount()), this);
  SetSetState(jssScalar);
}

// --- setcounttrue

void TJUXFunc_SetCountTrue::Prepare(TTreeMapNode* scope) {
  TJUXFunc_LoopBase::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_Integer>());
}

void TJUXFunc_SetCountTrue::Accumulate(TPhase phase) {
  switch (phase) {
    case apStart:
      Result()->SetInteger(0, this);
      break;
    case apElement:
      if (Param(0)->SetState() != jssEmpty && Element().AsBoolean(this))
        Result()->SetInteger(static_cast<int32_t>(Result()->AsInteger(this) + 1), this);
      break;
    case apFinish:
      SetSetState(jssScalar);
      break;
  }
}

// --- isempty

void TJUXFunc_IsEmpty::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_Boolean>());
}

void TJUXFunc_IsEmpty::Evaluate(TTreeMapNode* scope, bool) {
  Require(ParamCount() == 1 && Param(0), kUnparsedTree);
  // Only the first element is asked for, whatever this node was asked.
  Param(0)->EvaluateEx(scope, true);
  FResult->SetBoolean(Param(0)->SetState() == jssEmpty, this);
}
