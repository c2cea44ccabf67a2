#include "eval/functions/strings/string_functions.h"

#include <string>
#include <vector>

#include "eval/functions/strings/sprintf_format.h"

namespace {

// The formatting argument of a value, as ToVarRec gives it; a text goes
// into the slot's own string when it holds one, reusing its capacity.
void FillVarRec(TJUXVarRec& slot, const TJUXVar& value) {
  if (value.Storage() == TJUXVarStorage::String) {
    const std::string& text = static_cast<const TJUXVar_String&>(value).Value();
    if (std::string* held = std::get_if<std::string>(&slot))
      held->assign(text);
    else
      slot = text;
    return;
  }
  slot = value.ToVarRec();
}

}  // namespace

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
  std::string scratchFormat;
  const std::string& format = JUXReadString(ParamValue(0), this, scratchFormat);
  if (HasError() || SetState() == jssEmpty) return;

  // The arguments and the translated format are kept between evaluations,
  // so that a constant format is translated once and nothing is allocated
  // once the texts have reached their sizes.
  FArgs.resize(static_cast<size_t>(ParamCount() - 1));
  for (int i = 1; i < ParamCount(); ++i) FillVarRec(FArgs[static_cast<size_t>(i - 1)], ParamValue(i));
  if (!FTranslated || format != FFormat) {
    FFormat = format;
    FTranslated = TranslateSprintfEscapes(format);
  }

  TJUXVar& result = *Result();
  std::string scratchText;
  std::string& text = result.Storage() == TJUXVarStorage::String
                          ? static_cast<TJUXVar_String&>(result).MutableValue()
                          : scratchText;
  if (!FormatJUXDirectives(*FTranslated, FArgs, FormatSettings(), text)) {
    AddError(0, "Sprintf: Error during formatting");
    text = format;
  }
  if (&text == &scratchText) result.SetString(scratchText, this);
}
