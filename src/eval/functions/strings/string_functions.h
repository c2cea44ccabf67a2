#pragma once
// String functions of the expression language: leftstr, rightstr, midstr,
// lowercase, uppercase, lenstr, ltrimstr, rtrimstr, trimstr, replacestr, pos,
// sprintf, editdist and comparetext. The group's registry rows are published
// by StringFunctionTable().
//
// Texts are 8-bit characters; positions and lengths count from 1; the case
// rules touch only the ASCII letters. Parameters are read through AsString
// and AsInteger, so any value class whose getter answers can be passed. All
// work element by element on sets (the standard set protocol).

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "eval/language/function.h"
#include "eval/values/scalar_vars.h"

// The common part of leftstr and rightstr: a string result, the set state
// of parameter 0 at InitResult; CombineParam(1) computes.
class TJUXPieceStrFunc : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void InitResult() override;
};

// leftstr(s; n): the first n characters; all of s when n >= its length,
// empty when n <= 0.
class TJUXFunc_LeftStr : public TJUXPieceStrFunc {
 public:
  using TJUXPieceStrFunc::TJUXPieceStrFunc;
  void CombineParam(int index) override;
};

// rightstr(s; n): the last n characters.
class TJUXFunc_RightStr : public TJUXPieceStrFunc {
 public:
  using TJUXPieceStrFunc::TJUXPieceStrFunc;
  void CombineParam(int index) override;
};

// midstr(s; p; n): n characters from position p (a p below 1 counts as 1).
class TJUXFunc_MidStr : public TJUXThreeParamFunc {
 public:
  using TJUXThreeParamFunc::TJUXThreeParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void InitResult() override;
  void CombineParam(int index) override;
};

// A one-parameter function of parameter 0's text, computed in InitResult,
// with a result of class TResultVar; the set state is parameter 0's.
template <class TResultVar>
class TJUXTextFunc : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void Prepare(TTreeMapNode* scope) override {
    TJUXFunction::Prepare(scope);
    SetResult(std::make_unique<TResultVar>());
  }
  void InitResult() override {
    std::string scratch;
    Compute(JUXReadString(ParamValue(0), this, scratch));
    SetSetState(Param(0)->SetState());
  }

 protected:
  virtual void Compute(const std::string& text) = 0;
};

class TJUXFunc_Lowercase : public TJUXTextFunc<TJUXVar_String> {
 public:
  using TJUXTextFunc::TJUXTextFunc;
 protected:
  void Compute(const std::string& text) override;
};
class TJUXFunc_Uppercase : public TJUXTextFunc<TJUXVar_String> {
 public:
  using TJUXTextFunc::TJUXTextFunc;
 protected:
  void Compute(const std::string& text) override;
};
// The number of characters, as an integer.
class TJUXFunc_LenStr : public TJUXTextFunc<TJUXVar_Integer> {
 public:
  using TJUXTextFunc::TJUXTextFunc;
 protected:
  void Compute(const std::string& text) override;
};
// Trimming removes every character of code 32 or less (blanks and control
// characters) from the left end, the right end or both.
class TJUXFunc_LTrimStr : public TJUXTextFunc<TJUXVar_String> {
 public:
  using TJUXTextFunc::TJUXTextFunc;
 protected:
  void Compute(const std::string& text) override;
};
class TJUXFunc_RTrimStr : public TJUXTextFunc<TJUXVar_String> {
 public:
  using TJUXTextFunc::TJUXTextFunc;
 protected:
  void Compute(const std::string& text) override;
};
class TJUXFunc_TrimStr : public TJUXTextFunc<TJUXVar_String> {
 public:
  using TJUXTextFunc::TJUXTextFunc;
 protected:
  void Compute(const std::string& text) override;
};

// replacestr(s; old; new): every occurrence of old, from left to right,
// replaced by new (case-sensitive; replaced text is not searched again; an
// empty old leaves s unchanged). A NUL character is a character like any
// other: the search does not end there.
class TJUXFunc_ReplaceStr : public TJUXThreeParamFunc {
 public:
  using TJUXThreeParamFunc::TJUXThreeParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void InitResult() override {}
  void CombineParam(int index) override;
};

// pos(sub; s) or pos(sub; s; start): the 1-based position of the first
// occurrence of sub in s (at or after start), 0 if none or when sub is
// empty. A start below 1 counts as 1.
class TJUXFunc_Pos : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  void Prepare(TTreeMapNode* scope) override;
  void InitResult() override {}
  void CombineParam(int index) override;
};

// sprintf(format; p1; p2; ...): the format with its escapes translated and
// its directives filled from the parameters (eval/functions/strings/sprintf_format.h).
// A formatting failure adds "Sprintf: Error during formatting" and gives the
// format text unchanged.
class TJUXFunc_Sprintf : public TJUXFunction {
 public:
  using TJUXFunction::TJUXFunction;
  void GetFunctionInfo(TJUXFuncInfo& info) const override;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;

 private:
  // Kept from one evaluation to the next (their capacity is reused): the
  // formatting arguments, and the last format text with its translation.
  std::vector<TJUXVarRec> FArgs;
  std::string FFormat;
  std::optional<std::string> FTranslated;
};

// editdist(a; b): the Levenshtein distance (case-sensitive).
class TJUXFunc_EditDist : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// comparetext(a; b): < 0, 0 or > 0 as a sorts before, equal to (ignoring
// ASCII case) or after b; the difference of the first differing characters
// after folding a..z to upper case, else the difference of the lengths.
class TJUXFunc_CompareText : public TJUXTwoParamFunc {
 public:
  using TJUXTwoParamFunc::TJUXTwoParamFunc;
  void Prepare(TTreeMapNode* scope) override;
  void Evaluate(TTreeMapNode* scope, bool first) override;
};

// The registry rows of this group (static storage).
std::span<const TJUXFunctionInfo> StringFunctionTable();
