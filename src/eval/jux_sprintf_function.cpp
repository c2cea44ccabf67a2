#include "eval/jux_string_functions.h"

#include <optional>
#include <string>
#include <vector>

#include "eval/jux_sprintf_format.h"

void TJUXFunc_Sprintf::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFunction::GetFunctionInfo(info);
  info.MinParams = 1;
  info.MaxParams = kJUXUnlimitedParams;
}

void TJUXFunc_Sprintf::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_String>());
}

void TJUXFunc_Sprintf::Evaluate(TTreeMapNode* scope, bool first) {
  Param(0)->EvaluateEx(scope, first);
  SetSetState(Param(0)->SetState());
  // Every argument is evaluated, also after an error, so that sets advance together.
  for (int i = 1; i < ParamCount(); ++i) {
    Param(i)->EvaluateEx(scope, first);
    CombineSetState(i);
  }
  const std::string format = ParamValue(0).AsString(this);
  if (HasError() || SetState() == jssEmpty) return;

  std::vector<TJUXVarRec> args;
  args.reserve(static_cast<size_t>(ParamCount() - 1));
  for (int i = 1; i < ParamCount(); ++i) args.push_back(ParamValue(i).ToVarRec());

  const std::optional<std::string> text =
      FormatJUXDirectives(TranslateSprintfEscapes(format), args, FormatSettings());
  if (!text) AddError(0, "Sprintf: Error during formatting");
  Result()->SetString(text ? *text : format, this);
}
