#pragma once
// The conditionals of the expression language: ifthenelse chooses one of two
// branches; tryelse gives a default when its value records an error, and
// swallows that error. Their registry rows are published by
// CastFunctionTable() (cast_functions.h).

#include <cstdint>
#include <string_view>

#include "eval/language/function.h"

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
  bool CatchError() override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 private:
  bool FCatching = false;  // true only while the value is evaluated
};
