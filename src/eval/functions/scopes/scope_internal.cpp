#include "eval/functions/scopes/scope_internal.h"

#include <string>

#include "eval/language/function.h"

void CheckScopeAllowed(TJUXExpression& node, uint16_t mask, std::string_view message) {
  if ((RootScopeMask(node) & mask) == 0) node.AddError(jeScopeSet, message);
}

namespace {

// Whether `node` lies in the value operand of a change of scope, which hands
// down a scope of its own.
bool InValueOperand(const TJUXExpression& node) {
  const TJUXExpression* child = &node;
  for (const TJUXExpression* parent = node.Parent(); parent; child = parent, parent = parent->Parent())
    if (parent->IsChangeOfScope() && parent->IndexOfParam(child) == 1) return true;
  return false;
}

}  // namespace

void MarkReadsScope(TJUXExpression& node) {
  if (!InValueOperand(node)) node.MarkDependsOnScope();
}

void MarkReadsScopeLevel(TJUXExpression& node) {
  if (!InValueOperand(node)) node.MarkDependsOnScopeLevel();
}

bool RequireScope(TJUXExpression& node, const TTreeMapNode* scope) {
  if (scope) return true;
  node.AddError(jeScopeSet, "JUX: evaluate called without scope parameter");
  return false;
}

TJUXVar_Scope& ScopeResult(TJUXExpression& node) {
  auto* scope = dynamic_cast<TJUXVar_Scope*>(node.Result());
  if (!scope) {
    auto fresh = std::make_unique<TJUXVar_Scope>();
    scope = fresh.get();
    node.SetResult(std::move(fresh));
  }
  return *scope;
}
