#include "eval/language/expression.h"

#include "eval/values/scalar_vars.h"
#include "foundation/assertion.h"
#include "treemap/tree_map_node.h"

TJUXExpr_Var::TJUXExpr_Var(TJUXExpression* parent, std::string name) : TJUXExpression(parent), FName(std::move(name)) {
  TJUX_META& meta = Meta();
  meta.AttributeNames.Add(FName);
  if (!parent || !parent->InsideChangeOfScope()) {
    meta.DirectAttributeNames.Add(FName);
    if (parent) parent->MarkDependsOnScope();
  }
  FResult = std::make_unique<TJUXVar_Double>();
}

void TJUXExpr_Var::Prepare(TTreeMapNode*) {
  TDravolinAttributes* const attributes = Attributes();
  Require(attributes != nullptr, "JUX: DravolinAttributes is not defined when evaluating a non-constant expression");
  FResult.reset();
  FAttribute = FindAttributeByVariant(*attributes, std::string_view(FName));
  if (!FAttribute) {
    AddError(jeAttributeUnknown, "Attribute unknown: " + FName);
    FResult = std::make_unique<TJUXVar_Double>();
    return;
  }
  FAttribute->LoadValues(attributes->DataSource, *attributes);
  const TJUXVarClass* const cls = AttributeValueClass(FAttribute->TypeCode);
  if (!cls) {
    AddError(jeInternal, "Internal error: attribute type not listed");
    FResult = std::make_unique<TJUXVar_Double>();
    return;
  }
  FResult = cls->Create();
}

void TJUXExpr_Var::Evaluate(TTreeMapNode* scope, bool) {
  if (!FAttribute) {
    AddError(jeAttributeUnknown, "Attribute unknown: " + FName);
    return;
  }
  ReadAttributeValue(*this, *FAttribute, scope);
}

std::unique_ptr<TJUXExpression> TJUXExpr_Var::Clone() const {
  auto copy = std::make_unique<TJUXExpr_Var>(nullptr, FName);
  copy->FAttribute = FAttribute;
  CopyBaseInto(*copy);
  return copy;
}
