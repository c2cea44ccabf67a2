#pragma once
// Set functions of the expression language: any, cumsum, diff, setjoin (also
// the set literal «[a; b]»), linseries, setfind and filterbool.
//
// The set producers keep their position between the calls of one set (set
// protocol, language/function.h): a call with `first` starts over.
//
// Their registry rows are in the lookup group's table (LookupFunctionTable(),
// lookup_functions.h).

#include <cstdint>
#include <memory>
#include <string>

#include "eval/language/function.h"

// any(ASet; [AIndex]): the element of ASet at the zero-based index (0 when
// not given), as a scalar; a scalar counts as a set of one element. An index
// beyond the set, a negative one, or an empty set reports «Index in scope
// set does not exist: <index>» (kind 8).
class TJUXFunc_First : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  bool AcceptsSetParam(int index) const override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// cumsum(ASet): the running sums e1, e1+e2, ... of a set.
class TJUXFunc_CumSum : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// diff(ASet): the differences of consecutive elements, one fewer than the
// set has; a scalar or a one-element set gives an empty set.
class TJUXFunc_Diff : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  ~TJUXFunc_Diff() override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 protected:
  void CloneFields(TJUXFunction& copy) const override;

 private:
  std::unique_ptr<TJUXVar> FPrevious;
};

// setjoin(Set1; Set2; ...) and the set literal «[a; b]»: every element of
// every parameter in order; empty parameters contribute nothing, duplicates
// stay. Built where no set is accepted, it reports "Set value encountered
// where a scalar was expected" (kind 8).
class TJUXFunc_SetJoin : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  ~TJUXFunc_SetJoin() override;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
  // The set literal prints as «[1; 2; 3]», a call as «setjoin(1; 2; 3)».
  std::string AsTextEx(bool outer) const override;

 protected:
  void CloneFields(TJUXFunction& copy) const override;

 private:
  // Moves the look-ahead to the next element; false when the parameters are
  // used up or an error is set.
  bool FetchNext(TTreeMapNode* scope, bool first);

  int32_t FParamIndex = 0;
  std::unique_ptr<TJUXVar> FLookAhead;
  bool FHasNext = false;
  bool FParamStart = false;  // the parameter at FParamIndex starts its set
};

// linseries(AStart; [AStep]; AEnd): the doubles start, start + step, ... up
// to the last one not beyond AEnd; the step defaults to 1 and may be
// negative. A zero or NaN step, a start or end that is not finite, or a
// step too small to change the running value reports kind 12.
class TJUXFunc_LinSeries : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  void Construct(bool operatorSyntax, TJUXParamSource& params) override;
  bool AcceptsSetParam(int index) const override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 protected:
  void CloneFields(TJUXFunction& copy) const override;

 private:
  double FStep = 1.0;
};

// setfind(ASet): the zero-based index of the first true element, -1 when
// none is; an empty set leaves the result unchanged with set state empty.
class TJUXFunc_SetFind : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  bool AcceptsSetParam(int index) const override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// filterbool(ASet; ATests): the elements of ASet whose partner in ATests (a
// Boolean set of the same length, advanced in step) is true. Two scalars give
// a one-element set when the test is true, else an empty set.
class TJUXFunc_FilterBool : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  ~TJUXFunc_FilterBool() override;
  // A test parameter that is not Boolean reports "Boolean value expected".
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 protected:
  void CloneFields(TJUXFunction& copy) const override;

 private:
  // Advances both parameters to the next matching pair and keeps its element.
  void FetchNextMatch(TTreeMapNode* scope, bool first);

  std::unique_ptr<TJUXVar> FLookAhead;
  bool FHasNext = false;
  bool FMoreToCome = false;  // the parameters had more elements at the last match
};
