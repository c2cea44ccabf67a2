// Scalar properties of the scope node: levelindex, childrencount,
// clustername, nodeinfo.
#include "eval/functions/scopes/scope_functions.h"

#include <array>
#include <string>
#include <string_view>

#include "eval/functions/scopes/scope_internal.h"
#include "eval/values/scalar_vars.h"
#include "foundation/assertion.h"
#include "treemap/tree_map_node.h"

namespace {

struct TNodeProperty {
  std::string_view Name;
  double (*Read)(const TTreeMapNode& node);
};

constexpr std::array<TNodeProperty, 10> kNodeProperties = {{
    {"selfleft", [](const TTreeMapNode& n) { return double{n.Rect().Left}; }},
    {"selftop", [](const TTreeMapNode& n) { return double{n.Rect().Top}; }},
    {"selfright", [](const TTreeMapNode& n) { return double{n.Rect().Right}; }},
    {"selfbottom", [](const TTreeMapNode& n) { return double{n.Rect().Bottom}; }},
    {"childrenleft", [](const TTreeMapNode& n) { return double{n.GetChildrenRect().Left}; }},
    {"childrentop", [](const TTreeMapNode& n) { return double{n.GetChildrenRect().Top}; }},
    {"childrenright", [](const TTreeMapNode& n) { return double{n.GetChildrenRect().Right}; }},
    {"childrenbottom", [](const TTreeMapNode& n) { return double{n.GetChildrenRect().Bottom}; }},
    {"realsize", [](const TTreeMapNode& n) { return n.RealSize(); }},
    {"displaysize", [](const TTreeMapNode& n) { return n.DisplaySize(); }},
}};

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

void TJUXFunc_LevelIndex::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  MarkReadsScope(*this);
  SetResult(std::make_unique<TJUXVar_Integer>());
}

void TJUXFunc_LevelIndex::Evaluate(TTreeMapNode* scope, bool) {
  if (RequireScope(*this, scope)) FResult->SetInteger(scope->Depth(), this);
}

void TJUXFunc_ChildrenCount::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  MarkReadsScope(*this);
  SetResult(std::make_unique<TJUXVar_Integer>());
}

void TJUXFunc_ChildrenCount::Evaluate(TTreeMapNode* scope, bool) {
  if (RequireScope(*this, scope)) FResult->SetInteger(scope->ChildCount(), this);
}

void TJUXFunc_ClusterName::Prepare(TTreeMapNode* scope) {
  TJUXNoParamFunc::Prepare(scope);
  MarkReadsScope(*this);
  SetResult(std::make_unique<TJUXVar_String>());
}

void TJUXFunc_ClusterName::Evaluate(TTreeMapNode* scope, bool) {
  if (!RequireScope(*this, scope)) return;
  FResult->SetString(scope->ClusterValueIndex() == -1 ? std::string() : scope->GetClassString(), this);
}

void TJUXFunc_NodeInfo::Prepare(TTreeMapNode* scope) {
  TJUXFunction::Prepare(scope);
  MarkReadsScope(*this);
  SetResult(std::make_unique<TJUXVar_Double>());
}

void TJUXFunc_NodeInfo::Evaluate(TTreeMapNode* scope, bool first) {
  Require(ParamCount() == 1 && Param(0), "JUX: an expression with syntax errors cannot be prepared or evaluated");
  Param(0)->EvaluateEx(scope, first);
  // The parameter's set state passes through: nodeinfo is elementwise.
  FSetState = Param(0)->SetState();
  if (HasError() || !RequireScope(*this, scope)) return;
  const std::string name = ParamValue(0).AsString(this);
  if (HasError()) return;
  const std::string lower = LowerAscii(name);
  for (const TNodeProperty& property : kNodeProperties) {
    if (property.Name != lower) continue;
    FResult->SetDouble(property.Read(*scope), this);
    return;
  }
  AddError(jeAttributeUnknown, "Node property unknown: " + name);
}
