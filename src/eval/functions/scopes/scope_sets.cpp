// The set-producing scope functions: children, nodes, wholelevel, filter.
#include "eval/functions/scopes/scope_functions.h"

#include <vector>

#include "eval/functions/scopes/scope_internal.h"
#include "foundation/assertion.h"
#include "treemap/tree_map_node.h"

namespace {

bool IsRecordNode(const TTreeMapNode& node) { return node.RecordIndex() != -1; }

// A group without children and without a record stands for nothing.
bool IsEmptyGroup(const TTreeMapNode& node) { return node.ChildCount() == 0 && !IsRecordNode(node); }

// Goes on with a depth-first walk kept as the path of steps from its start:
// the next child for which stop(child) holds, or null when the walk is done.
// Other children are entered. The path, not recursion, keeps a deep tree cheap.
template <class TStep, class Stop>
TTreeMapNode* NextInWalk(std::vector<TStep>& walk, Stop stop) {
  while (!walk.empty()) {
    TStep& step = walk.back();
    if (step.Next >= step.Node->ChildCount()) {
      walk.pop_back();
      continue;
    }
    TTreeMapNode& child = step.Node->Child(step.Next++);
    if (stop(child)) return &child;
    walk.push_back({&child, 0});
  }
  return nullptr;
}

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

void TJUXFuncScopeOutNoParamBase::PrepareWithFirstNode(TTreeMapNode* scope) {
  TJUXFuncSetScopeBase::Prepare(scope);
  MarkReadsScope(*this);
  if (scope && NextNode(scope, true))
    FResult->Assign(Current(), this);
  else
    ScopeResult(*this).SetScope(nullptr, this);
}

// --- children

void TJUXFunc_COS_Children::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFuncScopeOutNoParamBase::Construct(operatorSyntax, params);
  CheckScopeAllowed(*this, jsmChildren, "Use of \"Children\" scope not allowed here");
}

void TJUXFunc_COS_Children::Prepare(TTreeMapNode* scope) { PrepareWithFirstNode(scope); }

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

void TJUXFunc_COS_Nodes::Prepare(TTreeMapNode* scope) { PrepareWithFirstNode(scope); }

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
  // groups are entered.
  TTreeMapNode* const record = NextInWalk(FWalk, [](const TTreeMapNode& child) { return IsRecordNode(child); });
  if (!record) return false;
  Current().SetScope(record, this);
  return true;
}

// --- wholelevel

void TJUXFunc_COS_WholeLevel::Construct(bool operatorSyntax, TJUXParamSource& params) {
  TJUXFuncScopeOutNoParamBase::Construct(operatorSyntax, params);
  CheckScopeAllowed(*this, jsmWholeLevel, "Use of \"WholeLevel\" scope not allowed here");
}

void TJUXFunc_COS_WholeLevel::Prepare(TTreeMapNode* scope) {
  TJUXFuncScopeOutNoParamBase::Prepare(scope);
  // The set is the same for every node at one depth of one tree, which lets
  // an aggregate over it keep its result from node to node.
  MarkReadsScopeLevel(*this);
  ScopeResult(*this).SetScope(scope, this);
}

bool TJUXFunc_COS_WholeLevel::NextNode(TTreeMapNode* scope, bool first) {
  if (first) {
    FDepth = -1;
    FNext = 0;
    if (!RequireScope(*this, scope)) return false;
    // The tree computes a level once for each state of the tree. Holding its
    // levels keeps them while the set is delivered; the level is asked for
    // at every step, as a wholelevel below this one may make them compute a
    // deeper level meanwhile.
    const std::shared_ptr<TTreeMapLevels>& levels = scope->Levels();
    if (FLevels != levels) FLevels = levels;
    FDepth = scope->Depth();
  }
  const std::span<TTreeMapNode* const> level = FLevels ? FLevels->Level(FDepth) : std::span<TTreeMapNode* const>{};
  TTreeMapNode* const node = FNext < level.size() ? level[FNext++] : nullptr;
  Current().SetScope(node, this);
  return node != nullptr;
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
