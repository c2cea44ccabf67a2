// The scope functions that move to one node (parent, scope, root,
// displayroot) and allrecords.
#include "eval/functions/scopes/scope_functions.h"

#include "eval/functions/scopes/scope_internal.h"
#include "foundation/assertion.h"
#include "treemap/tree_map_node.h"

namespace {

constexpr std::string_view kNoAttributes =
    "JUX: DravolinAttributes is not defined when evaluating a non-constant expression";

}  // namespace

// --- allrecords

TJUXFunc_COS_AllRecords::TJUXFunc_COS_AllRecords(TJUXExpression* parent) : TJUXNoParamFunc(parent) {
  auto value = TJUXVar_Scope::CreateWithNode(TTreeMapNode::CreateRoot(-1, nullptr, nullptr));
  FRecordNode = value->Node();
  FResult = std::move(value);
}

void TJUXFunc_COS_AllRecords::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXNoParamFunc::Construct(operatorSyntax, params);
  CheckScopeAllowed(*this, jsmAllRecords, "\"AllRecords\" scope not allowed here");
}

void TJUXFunc_COS_AllRecords::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  Require(GetAttributes(*this) != nullptr, kNoAttributes);
  FPosition = 0;
  FRecordNode->SetRecordIndex(0);
  if (scope) FRecordNode->SetDataSource(scope->DataSource());
}

void TJUXFunc_COS_AllRecords::Evaluate(TTreeMapNode* scope, bool first) {
  const TDravolinAttributes* const attributes = GetAttributes(*this);
  Require(attributes != nullptr, kNoAttributes);
  const int32_t count = GetRecordCount(attributes->DataSource);
  // Past the end the position stays there, however often it is asked again.
  FPosition = first ? 0 : (FPosition < count ? FPosition + 1 : count);
  if (FPosition >= count) {
    FSetState = jssEmpty;
    return;
  }
  FRecordNode->SetRecordIndex(FPosition);
  if (scope) FRecordNode->SetDataSource(scope->DataSource());
  FSetState = FPosition + 1 < count ? jssMore : jssLast;
}

void TJUXFunc_COS_AllRecords::CloneFields(TJUXFunction& copy) const {
  auto& records = static_cast<TJUXFunc_COS_AllRecords&>(copy);
  // The clone's result is a copy owning a private node of its own.
  records.FRecordNode = ScopeResult(records).Node();
  records.FPosition = FPosition;
}

// --- parent

void TJUXFunc_COS_Parent::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXNoParamFunc::Construct(operatorSyntax, params);
  CheckScopeAllowed(*this, jsmParent, "Use of \"Parent\" scope not allowed here");
}

void TJUXFunc_COS_Parent::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  MarkReadsScope(*this);
  SetResult(std::make_unique<TJUXVar_Scope>());
  if (scope) Evaluate(scope, true);
}

void TJUXFunc_COS_Parent::Evaluate(TTreeMapNode* scope, bool) {
  if (!RequireScope(*this, scope)) return;
  if (!scope->Parent()) {
    AddError(jeScopeSet, "Already at root level, parent scope not available");
    return;
  }
  ScopeResult(*this).SetScope(scope->Parent(), this);
}

// --- scope

void TJUXFunc_COS_Scope::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXNoParamFunc::Construct(operatorSyntax, params);
  CheckScopeAllowed(*this, jsmScope, "Use of the \"Scope\" scope not allowed here");
}

void TJUXFunc_COS_Scope::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  MarkReadsScope(*this);
  ScopeResult(*this).SetScope(scope, this);
}

void TJUXFunc_COS_Scope::Evaluate(TTreeMapNode* scope, bool) {
  if (RequireScope(*this, scope)) ScopeResult(*this).SetScope(scope, this);
}

// --- root

void TJUXFunc_COS_Root::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXNoParamFunc::Construct(operatorSyntax, params);
  CheckScopeAllowed(*this, jsmRoot, "Use of \"Root\" scope not allowed here");
}

void TJUXFunc_COS_Root::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  MarkReadsScope(*this);
  ScopeResult(*this).SetScope(scope ? &scope->Root() : nullptr, this);
}

void TJUXFunc_COS_Root::Evaluate(TTreeMapNode* scope, bool) {
  if (RequireScope(*this, scope)) ScopeResult(*this).SetScope(&scope->Root(), this);
}

// --- displayroot

void TJUXFunc_COS_DisplayRoot::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXNoParamFunc::Construct(operatorSyntax, params);
  CheckScopeAllowed(*this, jsmDisplayRoot, "Use of \"Displayroot\" scope not allowed here");
}

void TJUXFunc_COS_DisplayRoot::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  MarkReadsScope(*this);
  ScopeResult(*this).SetScope(scope ? &scope->DisplayRoot() : nullptr, this);
}

void TJUXFunc_COS_DisplayRoot::Evaluate(TTreeMapNode* scope, bool) {
  if (RequireScope(*this, scope)) ScopeResult(*this).SetScope(&scope->DisplayRoot(), this);
}
