#include "eval/functions/strings/string_functions.h"

#include <string>

#include "eval/functions/strings/edit_distance.h"

namespace {

// Evaluates both parameters; unless an error is set, stores distance(text 0,
// text 1); the set state always merges both parameters.
template <int32_t (*Distance)(std::string_view, std::string_view)>
void EvaluatePair(TJUXFunction& node, TTreeMapNode* scope, bool first) {
  node.Param(0)->EvaluateEx(scope, first);
  node.Param(1)->EvaluateEx(scope, first);
  if (!node.HasError()) {
    const std::string a = node.ParamValue(0).AsString(&node);
    const std::string b = node.ParamValue(1).AsString(&node);
    node.Result()->SetInteger(Distance(a, b), &node);
  }
  node.CombineAllSetStates();
}

}  // namespace

void TJUXFunc_EditDist::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_Integer>());
}

void TJUXFunc_EditDist::Evaluate(TTreeMapNode* scope, bool first) {
  EvaluatePair<&LevenshteinDistance>(*this, scope, first);
}

void TJUXFunc_CompareText::Prepare(TTreeMapNode* scope) {
  TJUXTwoParamFunc::Prepare(scope);
  SetResult(std::make_unique<TJUXVar_Integer>());
}

void TJUXFunc_CompareText::Evaluate(TTreeMapNode* scope, bool first) {
  EvaluatePair<&CompareTextASCII>(*this, scope, first);
}
