#include "treemap/tree_map_node.h"

#include <string>

#include "foundation/assertion.h"
#include "foundation/format_settings.h"

TTreeMapNode::TTreeMapNode(TTreeMapNode* parent, int32_t recordIndex, TTreeMapLevel* level,
                           TTreeMapDataSource* data)
    : FLevel(level), FDataSource(data), FParent(parent), FRecordIndex(recordIndex) {
  if (level && level->HasChildren != 0) FChildren = std::make_unique<TChildrenBlock>();
}

std::unique_ptr<TTreeMapNode> TTreeMapNode::CreateRoot(int32_t recordIndex, TTreeMapLevel* level,
                                                       TTreeMapDataSource* data) {
  return std::unique_ptr<TTreeMapNode>(new TTreeMapNode(nullptr, recordIndex, level, data));
}

TTreeMapNode& TTreeMapNode::AddChild(int32_t recordIndex, TTreeMapLevel* level, TTreeMapDataSource* data) {
  Require(!IsLeaf(), "Assertion failure");
  FChildren->Children.push_back(std::unique_ptr<TTreeMapNode>(new TTreeMapNode(this, recordIndex, level, data)));
  return *FChildren->Children.back();
}

TTreeMapNode::~TTreeMapNode() {
  if (!FChildren) return;
  // Take every descendant's children out before it is freed, so freeing never recurses.
  TChildList pending = std::move(FChildren->Children);
  while (!pending.empty()) {
    std::unique_ptr<TTreeMapNode> node = std::move(pending.back());
    pending.pop_back();
    if (node->FChildren) {
      for (auto& child : node->FChildren->Children) pending.push_back(std::move(child));
      node->FChildren->Children.clear();
    }
  }
}

TTreeMapNode::TChildList TTreeMapNode::SetChildList(TChildList list) {
  Require(!IsLeaf(), "Assertion failure");
  for (const auto& child : list) Require(child != nullptr, "Assertion failure");
  for (const auto& child : list) child->FParent = this;
  std::swap(FChildren->Children, list);
  return list;
}

TTreeMapNode& TTreeMapNode::Child(int index) const {
  Require(index >= 0 && index < ChildCount(), "Child index out of bounds (" + std::to_string(index) + ")");
  return *FChildren->Children[static_cast<size_t>(index)];
}

void TTreeMapNode::SetChildrenRect(const TTreeMapRect& rect) {
  if (FChildren) FChildren->ChildrenRect = rect;
}

void TTreeMapNode::SetByteField(int32_t value) {
  if (FChildren) {
    FChildren->Value = value;
    return;
  }
  Require(value >= 0 && value <= 255, "Assertion failure");
  FValue = static_cast<uint8_t>(value);
}

std::string TTreeMapNode::GetClassString() const {
  if (!FLevel || !FLevel->GroupingAttribute) return "No class string";
  return FLevel->GroupingAttribute->IndexText(FClusterValueIndex, UserFormatSettings());
}

const TTreeMapNode& TTreeMapNode::Root() const {
  const TTreeMapNode* node = this;
  while (node->FParent) node = node->FParent;
  return *node;
}

TTreeMapNode& TTreeMapNode::Root() {
  TTreeMapNode* node = this;
  while (node->FParent) node = node->FParent;
  return *node;
}

TTreeMapNode& TTreeMapNode::DisplayRoot() {
  for (TTreeMapNode* node = this; node; node = node->FParent)
    if (node->FLevel && node->FLevel->DisplayRoot) return *node;
  return Root();
}

int TTreeMapNode::Depth() const {
  int depth = 0;
  for (const TTreeMapNode* node = FParent; node; node = node->FParent) ++depth;
  return depth;
}

bool SameNode(const TTreeMapNode* a, const TTreeMapNode* b) {
  if (!a || !b) return false;
  if (a->RecordIndex() < 0 && b->RecordIndex() < 0) return a == b;
  return a->RecordIndex() == b->RecordIndex();
}
