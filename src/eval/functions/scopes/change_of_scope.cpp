// The change of scope: "." and evalfor.
#include "eval/functions/scopes/scope_functions.h"

#include <string>

#include "eval/functions/scopes/scope_internal.h"
#include "foundation/assertion.h"

namespace {

constexpr std::string_view kUnparsedTree = "JUX: an expression with syntax errors cannot be prepared or evaluated";

}  // namespace

void TJUXChangeOfScope::EndConstruct() {
  ++Meta().ChangeOfScopeCount;
  // «1.5» typed with the wrong decimal separator scans as 1 "." 5.
  if (ParamCount() == 2 && Errors().empty())
    if (const auto* constant = dynamic_cast<const TJUXExpr_Const*>(Param(0)))
      AddError(jeScopeSet, "Invalid scope: \"" + constant->AsText() + "\". Perhaps the wrong decimal separator?");
}

void TJUXChangeOfScope::PrepareValue(TTreeMapNode* node) {
  Param(1)->Prepare(node);
  FValuePrepared = true;
  SetResult(CloneVar(ParamValue(1)));
}

void TJUXChangeOfScope::Prepare(TTreeMapNode* scope) {
  Require(ParamCount() == 2 && Param(0) && Param(1), kUnparsedTree);
  Param(0)->Prepare(scope);
  TTreeMapNode* const node = ParamValue(0).AsScope(this);
  FValuePrepared = false;
  if (node)
    PrepareValue(node);
  else
    SetResult(std::make_unique<TJUXVar_Scope>());
}

void TJUXChangeOfScope::Evaluate(TTreeMapNode* scope, bool first) {
  if (!RequireScope(*this, scope)) return;
  Require(ParamCount() == 2 && Param(0) && Param(1), kUnparsedTree);
  TJUXExpression& scopeOperand = *Param(0);
  TJUXExpression& valueOperand = *Param(1);
  bool f = first;
  // The scope operand advances only after the value operand has delivered
  // its last element for the current node.
  bool advance = first || (valueOperand.SetState() != jssMore && valueOperand.SetState() != jssEmpty);
  for (;;) {
    if (advance) {
      scopeOperand.EvaluateEx(scope, f);
      f = true;
    }
    TTreeMapNode* const node = scopeOperand.Result()->AsScope(this);
    if (HasError()) return;
    if (scopeOperand.SetState() == jssEmpty) {
      FSetState = jssEmpty;
      return;
    }
    if (!FValuePrepared) {
      // Prepared without a node: the value operand gets the first node it meets.
      if (!node) {
        FSetState = jssEmpty;
        return;
      }
      PrepareValue(node);
    }
    valueOperand.EvaluateEx(node, f);
    const uint8_t valueState = valueOperand.SetState();
    const bool moreScope = scopeOperand.SetState() == jssMore;
    if (valueState == jssEmpty && moreScope && !HasError()) {
      // Nothing for this node: go on with the next one.
      LoopTick();
      if (HasError()) return;
      advance = true;
      f = false;
      continue;
    }
    FResult->Assign(*valueOperand.Result(), this);
    FSetState = (valueState == jssScalar || valueState == jssLast) ? scopeOperand.SetState() : valueState;
    return;
  }
}

void TJUXChangeOfScope::CloneFields(TJUXFunction& copy) const {
  static_cast<TJUXChangeOfScope&>(copy).FValuePrepared = FValuePrepared;
}
