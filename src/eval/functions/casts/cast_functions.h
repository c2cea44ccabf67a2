#pragma once
// Function classes of the expression language: type casts, conditionals,
// set aggregates and the clock.
//
// - The casts integer .. duration convert any value into the named class
//   through the value's own cast operations (elementwise over sets).
// - ifthenelse chooses one of two branches; tryelse gives a default when its
//   value records an error, and swallows that error.
// - The aggregates sum, prod, mean, var, setmax, setmin, setcount and
//   setcounttrue fold every element of a set into one scalar on a common loop
//   base; isempty tells whether a set is empty.
// - now and today read the clock.
//
// The group's registry rows are published by CastFunctionTable().

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

// --- conditionals

// ifthenelse(ATest; ValueIfTrue; ValueElse): both branches are evaluated; the
// result, in the common class of the branches, is the one the test chooses.
// A test that is not Boolean is refused (kind 4) and no branch is evaluated.
class TJUXFunc_IfThenElse : public TJUXThreeParamFunc {
 public:
  using TJUXThreeParamFunc::TJUXThreeParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// tryelse(AValue; ADefault): the value, or the default when the value's
// evaluation recorded an error. Such errors are swallowed: they set no kind
// bit here and leave no message. Flag-only conditions (a zero divisor) are no
// errors and pass through; errors of the default are recorded normally.
// The value may be a set wherever tryelse may be one; the default may not.
class TJUXFunc_TryElse : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  bool AcceptsSetParam(int index) const override;
  void AddError(uint8_t kind, std::string_view message) override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 private:
  bool FCatching = false;  // true only while the value is evaluated
};

// --- set aggregates

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

// --- clock: read at every evaluation, in local time.

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

// The registry rows of this group (static storage).
std::span<const TJUXFunctionInfo> CastFunctionTable();
