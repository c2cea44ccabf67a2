#include "treemap/tree_map_node.h"

#include <string>
#include <vector>

#include "foundation/assertion.h"
#include "foundation/format_settings.h"

TTreeMapNode::TTreeMapNode(TTreeMapNode* parent, int32_t recordIndex, TTreeMapLevel* level,
                           TTreeMapDataSource* data)
    : FLevel(level), FDataSource(data), FParent(parent), FRecordIndex(recordIndex) {
  if (level && level->HasChildren != 0) FChildren = std::make_unique<TChildrenBlock>();
  if (parent) {
    FDepth = parent->FDepth + 1;
    FRoot = parent->FRoot;
  }
}

std::unique_ptr<TTreeMapNode> TTreeMapNode::CreateRoot(int32_t recordIndex, TTreeMapLevel* level,
                                                       TTreeMapDataSource* data) {
  return std::unique_ptr<TTreeMapNode>(new TTreeMapNode(nullptr, recordIndex, level, data));
}

TTreeMapNode& TTreeMapNode::AddChild(int32_t recordIndex, TTreeMapLevel* level, TTreeMapDataSource* data) {
  Require(!IsLeaf(), "Assertion failure");
  FChildren->Children.push_back(std::unique_ptr<TTreeMapNode>(new TTreeMapNode(this, recordIndex, level, data)));
  Changed();
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
  // Every node a caller holds is a root; this tree's own root would become
  // its own descendant.
  for (const auto& child : list) Require(child != nullptr && child.get() != FRoot, "Assertion failure");
  std::swap(FChildren->Children, list);
  for (const auto& child : FChildren->Children) Place(*child, this);
  // The previous children are the caller's now; a parent that may be freed
  // before them would leave them pointing at freed memory.
  for (const auto& child : list) Place(*child, nullptr);
  Changed();
  return list;
}

void TTreeMapNode::Place(TTreeMapNode& top, TTreeMapNode* parent) {
  top.FParent = parent;
  top.FDepth = parent ? parent->FDepth + 1 : 0;
  top.FRoot = parent ? parent->FRoot : &top;
  top.FLevels.reset();  // only a root keeps levels
  std::vector<TTreeMapNode*> pending{&top};
  while (!pending.empty()) {
    TTreeMapNode* const node = pending.back();
    pending.pop_back();
    if (!node->FChildren) continue;
    for (const auto& child : node->FChildren->Children) {
      child->FDepth = node->FDepth + 1;
      child->FRoot = node->FRoot;
      pending.push_back(child.get());
    }
  }
}

TTreeMapNode& TTreeMapNode::Child(int index) const {
  RequireWith(index >= 0 && index < ChildCount(),
              [index] { return "Child index out of bounds (" + std::to_string(index) + ")"; });
  return *FChildren->Children[static_cast<size_t>(index)];
}

void TTreeMapNode::SetChildrenRect(const TTreeMapRect& rect) {
  if (!FChildren) return;
  FChildren->ChildrenRect = rect;
  Changed();
}

void TTreeMapNode::SetByteField(int32_t value) {
  if (FChildren) {
    FChildren->Value = value;
  } else {
    Require(value >= 0 && value <= 255, "Assertion failure");
    FValue = static_cast<uint8_t>(value);
  }
  Changed();
}

std::string TTreeMapNode::GetClassString() const {
  if (!FLevel || !FLevel->GroupingAttribute) return "No class string";
  return FLevel->GroupingAttribute->IndexText(FClusterValueIndex, UserFormatSettings());
}

TTreeMapNode& TTreeMapNode::DisplayRoot() {
  for (TTreeMapNode* node = this; node; node = node->FParent)
    if (node->FLevel && node->FLevel->DisplayRoot) return *node;
  return Root();
}

const std::shared_ptr<TTreeMapLevels>& TTreeMapNode::Levels() const {
  TTreeMapNode& root = *FRoot;
  if (!root.FLevels) root.FLevels = std::make_shared<TTreeMapLevels>(root);
  return root.FLevels;
}

bool SameNode(const TTreeMapNode* a, const TTreeMapNode* b) {
  if (!a || !b) return false;
  if (a->RecordIndex() < 0 && b->RecordIndex() < 0) return a == b;
  return a->RecordIndex() == b->RecordIndex();
}
