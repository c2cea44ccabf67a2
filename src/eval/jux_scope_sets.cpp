// The set-producing scope functions: children, nodes, wholelevel, filter.
#include "eval/jux_scope_functions.h"

#include "eval/jux_scope_internal.h"
#include "foundation/assertion.h"
#include "treemap/tree_map_node.h"

namespace {

bool IsRecordNode(const TTreeMapNode& node) { return node.RecordIndex() != -1; }

// A group without children and without a record stands for nothing.
bool IsEmptyGroup(const TTreeMapNode& node) { return node.ChildCount() == 0 && !IsRecordNode(node); }

}  // namespace

// --- TJUXFuncSetScopeBase

TJUXFuncSetScopeBase::TJUXFuncSetScopeBase(TJUXExpression* parent)
    : TJUXFunction(parent), FCurrent(std::make_unique<TJUXVar_Scope>()) {
  FResult = std::make_unique<TJUXVar_Scope>();
}

void TJUXFuncSetScopeBase::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFunction::Construct(operatorSyntax, params);
  if (!Parent() || !Parent()->SetAllowed()) AddError(jeScopeSet, "Set value encountered where a scalar was expected");
}

void TJUXFuncSetScopeBase::Evaluate(TTreeMapNode* scope, bool first) {
  if (first) FHasCurrent = NextNode(scope, true);
  if (!FHasCurrent) {
    FSetState = jssEmpty;
    return;
  }
  FResult->Assign(*FCurrent, this);
  FHasCurrent = NextNode(scope, false);
  FSetState = FHasCurrent ? jssMore : jssLast;
}

// --- TJUXFuncScopeOutNoParamBase

void TJUXFuncScopeOutNoParamBase::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFuncSetScopeBase::GetFunctionInfo(info);
  info.MinParams = 0;
  info.MaxParams = 0;
}

void TJUXFuncScopeOutNoParamBase::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFuncSetScopeBase::Construct(operatorSyntax, params);
  if (!FFunctionInfo.Name.empty()) Meta().ScopeSetNames.Add(FFunctionInfo.Name);
}

// --- children

void TJUXFunc_COS_Children::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFuncScopeOutNoParamBase::Construct(operatorSyntax, params);
  CheckScopeAllowed(*this, jsmChildren, "Use of \"Children\" scope not allowed here");
}

void TJUXFunc_COS_Children::Prepare(TTreeMapNode* scope) {
  TJUXFuncScopeOutNoParamBase::Prepare(scope);
  MarkReadsScope(*this);
  if (scope && NextNode(scope, true))
    FResult->Assign(Current(), this);
  else
    ScopeResult(*this).SetScope(nullptr, this);
}

bool TJUXFunc_COS_Children::NextNode(TTreeMapNode* scope, bool first) {
  if (!RequireScope(*this, scope)) return false;
  FPosition = first ? 0 : FPosition + 1;
  if (IsRecordNode(*scope)) {
    AddError(jeScopeSet, "Already at node level, cannot change scope to children");
    return false;
  }
  const int count = scope->ChildCount();
  while (FPosition < count && IsEmptyGroup(scope->Child(FPosition))) ++FPosition;
  if (FPosition >= count) return false;
  Current().SetScope(&scope->Child(FPosition), this);
  return true;
}

// --- nodes

void TJUXFunc_COS_Nodes::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFuncScopeOutNoParamBase::Construct(operatorSyntax, params);
  CheckScopeAllowed(*this, jsmNodes, "Use of \"Nodes\" scope not allowed here");
}

void TJUXFunc_COS_Nodes::Prepare(TTreeMapNode* scope) {
  TJUXFuncScopeOutNoParamBase::Prepare(scope);
  MarkReadsScope(*this);
  if (scope && NextNode(scope, true))
    FResult->Assign(Current(), this);
  else
    ScopeResult(*this).SetScope(nullptr, this);
}

bool TJUXFunc_COS_Nodes::NextNode(TTreeMapNode* scope, bool first) {
  if (first) {
    FWalk.clear();
    if (!RequireScope(*this, scope)) return false;
    if (IsRecordNode(*scope)) {
      AddError(jeScopeSet, "Already at node level, change of scope to nodes is meaningless");
      return false;
    }
    FWalk.push_back({scope, 0});
  }
  // Depth first from where the last record was found; records are delivered,
  // groups are entered. The walk keeps its own path, so a deep tree needs no
  // deep recursion.
  while (!FWalk.empty()) {
    TStep& step = FWalk.back();
    if (step.Next >= step.Node->ChildCount()) {
      FWalk.pop_back();
      continue;
    }
    TTreeMapNode& child = step.Node->Child(step.Next++);
    if (IsRecordNode(child)) {
      Current().SetScope(&child, this);
      return true;
    }
    FWalk.push_back({&child, 0});
  }
  return false;
}

// --- wholelevel

void TJUXFunc_COS_WholeLevel::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFuncScopeOutNoParamBase::Construct(operatorSyntax, params);
  CheckScopeAllowed(*this, jsmWholeLevel, "Use of \"WholeLevel\" scope not allowed here");
}

void TJUXFunc_COS_WholeLevel::Prepare(TTreeMapNode* scope) {
  TJUXFuncScopeOutNoParamBase::Prepare(scope);
  MarkReadsScope(*this);
  ScopeResult(*this).SetScope(scope, this);
}

TTreeMapNode* TJUXFunc_COS_WholeLevel::NextAtLevel() {
  if (FDepth == 0) {
    if (!FRootPending || FWalk.empty()) return nullptr;
    FRootPending = false;
    return FWalk.front().Node;
  }
  while (!FWalk.empty()) {
    TStep& step = FWalk.back();
    if (step.Next >= step.Node->ChildCount()) {
      FWalk.pop_back();
      continue;
    }
    TTreeMapNode& child = step.Node->Child(step.Next++);
    if (FWalk.size() == FDepth) return &child;
    FWalk.push_back({&child, 0});
  }
  return nullptr;
}

bool TJUXFunc_COS_WholeLevel::NextNode(TTreeMapNode* scope, bool first) {
  if (first) {
    FWalk.clear();
    if (!RequireScope(*this, scope)) return false;
    FDepth = static_cast<size_t>(scope->Depth());
    FRootPending = true;
    FWalk.push_back({&scope->Root(), 0});
  }
  TTreeMapNode* candidate = NextAtLevel();
  while (candidate && candidate->Excluded()) candidate = NextAtLevel();
  Current().SetScope(candidate, this);
  return candidate != nullptr;
}

// --- filter

void TJUXFunc_ScopeFilt::GetFunctionInfo(TJUXFuncInfo& info) const {
  TJUXFuncSetScopeBase::GetFunctionInfo(info);
  info.MinParams = 2;
  info.MaxParams = 2;
}

bool TJUXFunc_ScopeFilt::AcceptsSetParam(int index) const {
  return index == 0 || TJUXFuncSetScopeBase::AcceptsSetParam(index);
}

void TJUXFunc_ScopeFilt::Prepare(TTreeMapNode* scope) {
  TJUXFuncSetScopeBase::Prepare(scope);
  FResult->Assign(ParamValue(0), this);
}

bool TJUXFunc_ScopeFilt::NextNode(TTreeMapNode* scope, bool first) {
  Require(ParamCount() == 2 && Param(0) && Param(1),
          "JUX: an expression with syntax errors cannot be prepared or evaluated");
  TJUXExpression& set = *Param(0);
  TJUXExpression& test = *Param(1);
  bool f = first;
  for (;;) {
    if (!f && set.SetState() != jssMore) return false;  // the set is exhausted
    set.EvaluateEx(scope, f);
    Current().Assign(*set.Result(), this);
    if (HasError() || set.SetState() == jssEmpty) return false;
    LoopTick();
    test.EvaluateEx(Current().Node(), f);
    if (HasError()) return true;  // the caller stops at the error
    if (test.Result()->AsBoolean(this)) return true;
    if (HasError()) return true;
    f = false;
  }
}
