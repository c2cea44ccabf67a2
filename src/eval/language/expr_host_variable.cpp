// The node that reads one of the variables the host hands the root
// (TJUXExpr_SpecVar): its value, text, preparation and copy.

#include "eval/language/expression.h"

#include "foundation/assertion.h"

TJUXExpr_SpecVar::TJUXExpr_SpecVar(TJUXExpression* parent, int32_t index) : TJUXExpression(parent), FIndex(index) {
  const TSpecVarRec* const var = Variable();
  Require(var != nullptr, "special variable index out of range");
  FResult = var->Value ? var->Value->Clone() : nullptr;
  std::vector<int32_t>& counts = Meta().SpecVarUseCounts;
  if (counts.size() <= static_cast<size_t>(FIndex)) counts.resize(static_cast<size_t>(FIndex) + 1, 0);
  ++counts[static_cast<size_t>(FIndex)];
  if (parent) parent->MarkDependsOnScope();
}

const TSpecVarRec* TJUXExpr_SpecVar::Variable() const {
  const TSpecVarList& vars = Root()->SpecialVariables();
  if (FIndex < 0 || static_cast<size_t>(FIndex) >= vars.size()) return nullptr;
  return &vars[static_cast<size_t>(FIndex)];
}

void TJUXExpr_SpecVar::Prepare(TTreeMapNode*) {
  // The value is taken once per preparation.
  const TSpecVarRec* const var = Variable();
  if (var && var->Value) FResult = var->Value->Clone();
}

std::unique_ptr<TJUXExpression> TJUXExpr_SpecVar::Clone() const {
  std::unique_ptr<TJUXExpr_SpecVar> copy(new TJUXExpr_SpecVar(TCloneTag{}, FIndex));
  CopyBaseInto(*copy);
  return copy;
}

std::string TJUXExpr_SpecVar::AsTextEx(bool) const {
  const TSpecVarRec* const var = Variable();
  return var ? var->Name : std::string();
}
