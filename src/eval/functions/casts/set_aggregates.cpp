// The set aggregates on the loop base, and isempty.
#include "eval/functions/casts/set_aggregates.h"

#include <limits>

#include "eval/language/expression.h"
#include "foundation/assertion.h"
#include "treemap/tree_map_levels.h"
#include "treemap/tree_map_node.h"

namespace {

constexpr std::string_view kUnparsedTree = "JUX: an expression with syntax errors cannot be prepared or evaluated";

// Copies a value into another of the same class, every bit of it: extended
// doubles are copied as they are, where Assign would round them to doubles.
void CopyValue(const TJUXVar& from, TJUXVar& to) {
  const auto* extended = dynamic_cast<const TJUXVar_Double*>(&from);
  if (extended && &from.GetClass() == &to.GetClass())
    static_cast<TJUXVar_Double&>(to).SetValue(extended->Value());
  else
    to.Assign(from, nullptr);
}

}  // namespace

// --- TJUXFunc_LoopBase

void TJUXFunc_LoopBase::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  FLastScope = nullptr;
  FComputed = false;
  // The result's class may change: nothing kept stays.
  FLevelResults.clear();
  FResultHolds = -1;
  FLevelsOfPass.reset();
}

void TJUXFunc_LoopBase::Evaluate(TTreeMapNode* scope, bool first) {
  if (scope && !HasError() && DependsOnScopeLevelOnly()) {
    EvaluateByLevel(scope, first);
    return;
  }
  // Nothing below reads the scope: the set is the same as last time.
  if (FComputed && !DependsOnScope() && (!first || SameNode(scope, FLastScope))) return;
  Compute(scope);
}

TJUXFunc_LoopBase::TLevelResult* TJUXFunc_LoopBase::KeptResult(int depth) {
  if (FResultHolds >= 0) {
    TLevelResult& held = FLevelResults[static_cast<size_t>(FResultHolds)];
    if (held.Depth == depth && held.Pass == FPass) return &held;
  }
  for (TLevelResult& kept : FLevelResults)
    if (kept.Depth == depth && kept.Pass == FPass) return &kept;
  return nullptr;
}

TJUXFunc_LoopBase::TLevelResult& TJUXFunc_LoopBase::SlotFor(int depth) {
  for (TLevelResult& slot : FLevelResults)
    if (slot.Depth == depth || slot.Pass != FPass) return slot;
  if (FLevelResults.size() < kMaxLevelResults) return FLevelResults.emplace_back();
  FNextEvicted = (FNextEvicted + 1) % kMaxLevelResults;
  return FLevelResults[FNextEvicted];
}

void TJUXFunc_LoopBase::EvaluateByLevel(TTreeMapNode* scope, bool first) {
  const std::shared_ptr<TTreeMapLevels>& levels = scope->Levels();
  if (first || levels != FLevelsOfPass) {
    // A new pass, or a changed tree: nothing kept is current.
    ++FPass;
    FLevelsOfPass = levels;
  }
  const int depth = scope->Depth();
  if (TLevelResult* kept = KeptResult(depth)) {
    LoopTicks(kept->LoopSteps);
    if (HasError()) return;  // "User abort"
    const int slot = static_cast<int>(kept - FLevelResults.data());
    if (FResultHolds != slot) {
      CopyValue(*kept->Value, *FResult);
      FResultHolds = slot;
    }
    FSetState = kept->SetState;
    FElementCount = kept->ElementCount;
    if (kept->Flags != 0) SetFlags(kept->Flags, true);
    return;
  }
  // The flags this computation raises are kept with its result: the node's
  // earlier kind flags are set aside meanwhile (the error flag is clear).
  const TJUXFlags earlier = FFlags;
  FFlags = 0;
  const int64_t stepsBefore = LoopCounter();
  Compute(scope);
  const TJUXFlags raised = FFlags;
  FFlags = static_cast<TJUXFlags>(FFlags | earlier);
  FResultHolds = -1;
  if (HasError()) return;
  TLevelResult& slot = SlotFor(depth);
  if (!slot.Value || &slot.Value->GetClass() != &FResult->GetClass()) slot.Value = FResult->GetClass().Create();
  CopyValue(*FResult, *slot.Value);
  slot.Depth = depth;
  slot.Pass = FPass;
  slot.SetState = FSetState;
  slot.ElementCount = FElementCount;
  slot.LoopSteps = LoopCounter() - stepsBefore;
  slot.Flags = raised;
  FResultHolds = static_cast<int>(&slot - FLevelResults.data());
}

void TJUXFunc_LoopBase::Compute(TTreeMapNode* scope) {
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
