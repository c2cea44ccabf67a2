// eval: parsing and evaluating an expression text at evaluation time.
#include "eval/functions/lookups/lookup_functions.h"

#include <string>

#include "eval/language/parser.h"
#include "eval/language/tokenizer.h"
#include "eval/values/scalar_vars.h"

namespace {

// The number of eval nodes above `node` (the node itself not counted).
int EvalNestingAbove(const TJUXExpression& node) {
  int nesting = 0;
  for (const TJUXExpression* up = node.Parent(); up; up = up->Parent())
    if (dynamic_cast<const TJUXFunc_Eval*>(up)) ++nesting;
  return nesting;
}

int TreeDepth(const TJUXExpression& node) {
  int depth = 0;
  for (const TJUXExpression* up = node.Parent(); up; up = up->Parent()) ++depth;
  return depth;
}

}  // namespace

TJUXFunc_Eval::TJUXFunc_Eval(TJUXExpression* parent) : TJUXFunction(parent) {}

TJUXFunc_Eval::~TJUXFunc_Eval() = default;

void TJUXFunc_Eval::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFunction::Construct(operatorSyntax, params);
  // What the text reads is known only at evaluation.
  if (Parent()) Parent()->MarkDependsOnScope();
  Meta().DynamicAccess = true;
}

bool TJUXFunc_Eval::BuildSubExpression(const std::string& text) {
  FSubExpression.reset();
  // The trees of evaluated texts hang below this node, so a text that
  // evaluates itself nests without end; each nested tree may also be as deep
  // as the parser allows.
  if (EvalNestingAbove(*this) >= kJUXMaxEvalNesting || TreeDepth(*this) > kJUXMaxParseDepth) {
    AddError(jeSyntax, "Expression nested too deeply");
    return false;
  }
  TJUXTokens tokens(text, this);
  if (HasError()) return false;  // the text does not scan; the cached text stays
  FCachedText = text;
  FSubExpression = BuildExpression(&tokens, this);
  if (HasError()) {
    FSubExpression.reset();  // a tree that did not build is never prepared
    return false;
  }
  return FSubExpression != nullptr;
}

void TJUXFunc_Eval::Prepare(TTreeMapNode* scope) {
  // Errors of an earlier evaluation must not stop this preparation.
  ClearErrorFlag();
  FResult = std::make_unique<TJUXVar_Integer>();  // placeholder until a tree is built
  PrepareFirstTree(scope);
  // Trees built later, at evaluation, may not produce sets.
  FSetAllowed = false;
}

void TJUXFunc_Eval::PrepareFirstTree(TTreeMapNode* scope) {
  TJUXExpression& text = *FParams[0];
  text.Prepare(scope);
  if (HasError()) return;
  // The text is computed once here, on the Prepare scope.
  text.EvaluateEx(scope, true);
  if (HasError()) return;
  const std::string source = text.Result()->AsString(this);
  if (HasError()) return;
  if (!BuildSubExpression(source)) return;
  FSubExpression->Prepare(scope);
  if (const TJUXVar* value = FSubExpression->Result()) FResult = value->Clone();
}

void TJUXFunc_Eval::Evaluate(TTreeMapNode* scope, bool first) {
  TJUXExpression& text = *FParams[0];
  text.EvaluateEx(scope, first);
  FSetState = text.SetState();
  if (FSetState == jssEmpty || HasError()) return;
  const std::string source = text.Result()->AsString(this);
  if (HasError()) return;
  // A tree that failed to build is tried again, as a changed text is.
  if (source != FCachedText || !FSubExpression) {
    if (!BuildSubExpression(source)) return;
    FSubExpression->Prepare(scope);
    first = true;
  }
  FSubExpression->EvaluateEx(scope, first);
  if (FSubExpression->SetState() != jssScalar)
    AddError(jeScopeSet, "String expression produces a set, which is not (yet) supported");
  if (const TJUXVar* value = FSubExpression->Result()) FResult->Assign(*value, this);
}

void TJUXFunc_Eval::AppendChildren(std::vector<TJUXExpression*>& children) const {
  TJUXFunction::AppendChildren(children);
  if (FSubExpression) children.push_back(FSubExpression.get());
}

void TJUXFunc_Eval::CloneFields(TJUXFunction& copy) const {
  auto& target = static_cast<TJUXFunc_Eval&>(copy);
  target.FCachedText = FCachedText;
  if (!FSubExpression) return;
  target.FSubExpression = FSubExpression->Clone();
  target.FSubExpression->SetParent(&target);
}
