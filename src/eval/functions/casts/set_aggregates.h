#pragma once
// The set aggregates of the expression language: sum, prod, mean, var, setmax,
// setmin, setcount and setcounttrue fold every element of a set into one
// scalar on a common loop base; isempty tells whether a set is empty. Their
// registry rows are published by CastFunctionTable() (cast_functions.h).

#include <cstdint>
#include <memory>

#include "eval/language/function.h"
#include "eval/values/scalar_vars.h"

class TTreeMapLevels;
class TTreeMapNode;

// The loop over every element of the parameter's set. An aggregate whose
// parameter does not depend on the scope keeps its result while it is asked
// again for the same scope node, or with `first` false; it is computed at
// least once after every Prepare, and again after an evaluation that ended
// in an error. Every element counts one loop tick. The aggregate of an empty
// set is empty (set state 3), except for the counts, which give 0.
//
// An aggregate whose parameter reads only the depth of the scope node and
// its tree (wholelevel) computes once per depth and pass: a pass starts at
// an evaluation with `first` set, and ends early when a node of the tree
// changes (the tree then answers new Levels). Later nodes at a depth already
// computed in the pass get the kept result, count the loop steps the
// computation counted (so the loop counter and the progress callback see
// what a fresh computation would show, and "User abort" still stops) and
// raise the error-kind flags it raised. The host's data is read once per
// pass, as for an aggregate that does not depend on the scope.
class TJUXFunc_LoopBase : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  bool AcceptsSetParam(int) const override { return true; }
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 protected:
  enum TPhase : uint8_t { apStart = 0, apElement = 1, apFinish = 2 };
  // apElement: the parameter's result holds the element and ElementCount()
  // is the number of elements before it.
  virtual void Accumulate(TPhase phase) = 0;
  int64_t ElementCount() const { return FElementCount; }
  const TJUXVar& Element() const { return ParamValue(0); }
  void CloneFields(TJUXFunction& copy) const override;

 private:
  // The loop: the result for `scope`, computed from its set.
  void Compute(TTreeMapNode* scope);
  // Evaluation of an aggregate whose set depends only on the scope's depth
  // and tree (see above).
  void EvaluateByLevel(TTreeMapNode* scope, bool first);
  // The kept result for `depth` in this pass, or nullptr.
  struct TLevelResult;
  TLevelResult* KeptResult(int depth);
  // A slot to keep the result for `depth` in.
  TLevelResult& SlotFor(int depth);

  int64_t FElementCount = 0;
  const TTreeMapNode* FLastScope = nullptr;  // not owned
  bool FComputed = false;                    // a result since the last Prepare

  struct TLevelResult {
    int Depth = -1;
    uint64_t Pass = 0;               // the pass it was computed in
    std::unique_ptr<TJUXVar> Value;  // an exact copy of the result
    uint8_t SetState = 0;
    int64_t ElementCount = 0;
    int64_t LoopSteps = 0;  // counted by the computation, its inner loops included
    TJUXFlags Flags = 0;    // the error-kind flags it raised
  };
  // A few depths are kept per pass: a tree-map has a few levels, and a tree
  // deeper than that (a chain) gains little from keeping more.
  static constexpr size_t kMaxLevelResults = 32;
  std::vector<TLevelResult> FLevelResults;
  size_t FNextEvicted = 0;                   // the slot replaced next when all are in use
  int FResultHolds = -1;                     // the slot whose value the result equals, -1 none
  std::shared_ptr<TTreeMapLevels> FLevelsOfPass;  // the tree state of the pass
  uint64_t FPass = 0;
};

// result := first element, then result op= every further element; the
// result has the class of the parameter's value.
using TJUXVarFold = void (TJUXVar::*)(const TJUXVar& other, TJUXExpression* sink);

template <TJUXVarFold Fold>
class TJUXFoldLoop : public TJUXFunc_LoopBase {
 public:
  using TJUXFunc_LoopBase::TJUXFunc_LoopBase;
  void Prepare(TTreeMapNode* scope) override {
    TJUXFunc_LoopBase::Prepare(scope);
    SetResult(CloneVar(Element()));
  }

 protected:
  void Accumulate(TPhase phase) override {
    if (phase != apElement) return;
    if (ElementCount() == 0)
      Result()->Assign(Element(), this);
    else
      (Result()->*Fold)(Element(), this);
  }
};

class TJUXFunc_Sum : public TJUXFoldLoop<&TJUXVar::OpAdd> {
 public:
  using TJUXFoldLoop::TJUXFoldLoop;
};
class TJUXFunc_Prod : public TJUXFoldLoop<&TJUXVar::OpMultiply> {
 public:
  using TJUXFoldLoop::TJUXFoldLoop;
};
class TJUXFunc_SetMax : public TJUXFoldLoop<&TJUXVar::OpMax> {
 public:
  using TJUXFoldLoop::TJUXFoldLoop;
};
class TJUXFunc_SetMin : public TJUXFoldLoop<&TJUXVar::OpMin> {
 public:
  using TJUXFoldLoop::TJUXFoldLoop;
};

// mean: the sum in a double divided by the element count; an empty set
// divides by zero (kind 2 flagged).
class TJUXFunc_Mean : public TJUXFunc_LoopBase {
 public:
  using TJUXFunc_LoopBase::TJUXFunc_LoopBase;
  void Prepare(TTreeMapNode* scope) override;

 protected:
  void Accumulate(TPhase phase) override;
  void CloneFields(TJUXFunction& copy) const override;

 private:
  TJUXVar_Integer FCount;
};

// var: the sample variance (divisor n - 1), in one pass; fewer than two
// elements give +INF with kind 2 flagged. The sums are taken of the elements'
// distances from the first element, so that a large common offset does not
// cancel the digits of the variance.
class TJUXFunc_Var : public TJUXFunc_LoopBase {
 public:
  using TJUXFunc_LoopBase::TJUXFunc_LoopBase;
  void Prepare(TTreeMapNode* scope) override;

 protected:
  void Accumulate(TPhase phase) override;

 private:
  double FSumOfSquares = 0;
  double FSum = 0;
  double FShift = 0;
};

// setcount: the number of elements; setcounttrue: the number of true ones.
// Both give the scalar 0 for an empty set.
class TJUXFunc_LoopCount : public TJUXFunc_LoopBase {
 public:
  using TJUXFunc_LoopBase::TJUXFunc_LoopBase;
  void Prepare(TTreeMapNode* scope) override;

 protected:
  void Accumulate(TPhase phase) override;
};

class TJUXFunc_SetCountTrue : public TJUXFunc_LoopBase {
 public:
  using TJUXFunc_LoopBase::TJUXFunc_LoopBase;
  void Prepare(TTreeMapNode* scope) override;

 protected:
  void Accumulate(TPhase phase) override;
};

// isempty(ASet): whether the set has no element (only the first is asked for).
class TJUXFunc_IsEmpty : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  bool AcceptsSetParam(int) const override { return true; }
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};
