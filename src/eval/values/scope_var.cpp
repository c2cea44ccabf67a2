#include "eval/values/derived_vars.h"

#include "eval/language/expression.h"

namespace {

// A private record node: outside the tree, with only the record index and
// the data source of `source`.
std::unique_ptr<TTreeMapNode> PrivateCopyOf(const TTreeMapNode* source) {
  auto node = TTreeMapNode::CreateRoot(-1, nullptr, nullptr);
  if (source) {
    node->SetRecordIndex(source->RecordIndex());
    node->SetDataSource(source->DataSource());
  }
  return node;
}

}  // namespace

TJUXVar_Scope::TJUXVar_Scope() = default;
TJUXVar_Scope::~TJUXVar_Scope() = default;

std::unique_ptr<TJUXVar_Scope> TJUXVar_Scope::CreateWithNode(TTreeMapNode* node) {
  auto value = std::make_unique<TJUXVar_Scope>();
  value->FNode = node;
  return value;
}

std::unique_ptr<TJUXVar_Scope> TJUXVar_Scope::CreateWithNode(std::unique_ptr<TTreeMapNode> node) {
  auto value = std::make_unique<TJUXVar_Scope>();
  value->FNode = node.get();
  value->FOwnedNode = std::move(node);
  value->FOwnsNode = value->FNode != nullptr;
  return value;
}

std::string TJUXVar_Scope::ToText(const TFormatSettings&) const {
  if (!FNode || FNode->ClusterValueIndex() == -1) return "Node";
  return "Node in cluster \"" + FNode->GetClassString() + "\"";
}

TTreeMapNode* TJUXVar_Scope::AsScope(TJUXExpression*) const { return FNode; }

void TJUXVar_Scope::SetScope(TTreeMapNode* value, TJUXExpression*) {
  if (value == FNode) return;
  FOwnedNode.reset();
  FOwnsNode = false;
  FNode = value;
}

void TJUXVar_Scope::Assign(const TJUXVar& source, TJUXExpression* sink) {
  if (&source == this) return;
  TTreeMapNode* const node = source.AsScope(sink);
  const bool sourceOwns = source.OwnsNode();
  if (sourceOwns) {
    if (FOwnsNode) {
      FNode->SetRecordIndex(node ? node->RecordIndex() : -1);
      FNode->SetDataSource(node ? node->DataSource() : nullptr);
    } else {
      FOwnedNode = PrivateCopyOf(node);
      FNode = FOwnedNode.get();
      FOwnsNode = true;
    }
    return;
  }
  FOwnedNode.reset();
  FOwnsNode = false;
  FNode = node;
}

bool TJUXVar_Scope::Compare(const TJUXVar& other, TJUXExpression* sink, bool& equal) const {
  const TTreeMapNode* const node = other.AsScope(sink);
  if (!node || !FNode) return false;
  if (FOwnsNode || other.OwnsNode())
    equal = node->RecordIndex() == FNode->RecordIndex();
  else
    equal = node == FNode;
  return true;
}

void TJUXVar_Scope::OpEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  bool equal = false;
  const bool compared = Compare(other, sink, equal);
  result.SetBoolean(compared && equal, sink);
}

void TJUXVar_Scope::OpNotEqual(TJUXVar& result, const TJUXVar& other, TJUXExpression* sink) const {
  bool equal = false;
  const bool compared = Compare(other, sink, equal);
  result.SetBoolean(compared && !equal, sink);
}
