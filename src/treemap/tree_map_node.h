#pragma once
// TTreeMapNode: one node of a tree-map hierarchy over the records of a data
// set, and the scope of every expression evaluation.
//
// Inner nodes (those whose level has the has-children flag) own a list of
// children; the others are leaves. A record node stands for one record
// (RecordIndex >= 0); other nodes group records, and ClusterValueIndex says
// which value of the level's grouping attribute a group stands for.
//
// The host builds a tree top-down: CreateRoot for the top node, AddChild for
// every other node; the root owns the whole tree. Level and data source are
// host objects that must outlive the nodes referring to them.
//
// Every node knows its depth and its root, so both are answered at once;
// replacing a child list costs the size of the subtrees that move. Every
// change to a node (a setter, a child added, a child list replaced) gives the
// tree new Levels, which is how caches of data derived from the tree (the
// evaluator's level sets and aggregates over them) learn of the change.
//
// The host-side interfaces the evaluator uses are included here.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "treemap/attribute_collection.h"
#include "treemap/attribute_descriptor.h"
#include "treemap/tree_map_data_source.h"
#include "treemap/tree_map_levels.h"
#include "treemap/tree_map_level.h"
#include "treemap/tree_map_rect.h"

class TTreeMapNode {
 public:
  using TChildList = std::vector<std::unique_ptr<TTreeMapNode>>;

  // A node without parent: the root of a tree, or a stand-alone record node.
  static std::unique_ptr<TTreeMapNode> CreateRoot(int32_t recordIndex, TTreeMapLevel* level,
                                                  TTreeMapDataSource* data);
  // A new node appended to this node's children. Raises EAssertionFailed
  // ("Assertion failure") when this node is a leaf.
  TTreeMapNode& AddChild(int32_t recordIndex, TTreeMapLevel* level, TTreeMapDataSource* data);

  // Frees the subtree (iteratively, so a deep chain cannot exhaust the stack).
  ~TTreeMapNode();
  TTreeMapNode(const TTreeMapNode&) = delete;
  TTreeMapNode& operator=(const TTreeMapNode&) = delete;

  bool IsLeaf() const { return !FChildren; }
  // The children, nullptr for a leaf.
  const TChildList* ChildList() const { return FChildren ? &FChildren->Children : nullptr; }
  // Replaces the children of an inner node and returns the previous list to
  // the caller. The new children (roots of their own trees, as every node a
  // caller holds is) become children of this node; the previous ones leave
  // the tree and become roots. Empty entries are not allowed. Raises
  // EAssertionFailed ("Assertion failure") for a leaf or an empty entry.
  TChildList SetChildList(TChildList list);
  // Child Index; raises EAssertionFailed when Index is outside 0..ChildCount-1.
  TTreeMapNode& Child(int index) const;
  int ChildCount() const { return FChildren ? static_cast<int>(FChildren->Children.size()) : 0; }

  TTreeMapRect Rect() const { return FRect; }
  void SetRect(const TTreeMapRect& rect) {
    FRect = rect;
    Changed();
  }
  // The children area; a leaf answers its own rectangle.
  TTreeMapRect GetChildrenRect() const { return FChildren ? FChildren->ChildrenRect : FRect; }
  // Sets the children area of an inner node; ignored for a leaf.
  void SetChildrenRect(const TTreeMapRect& rect);

  // The node's value: 0..255 for a leaf (EAssertionFailed "Assertion failure"
  // otherwise), any 32-bit value for an inner node.
  void SetByteField(int32_t value);
  int32_t ByteField() const { return FChildren ? FChildren->Value : FValue; }

  // The text of the node's cluster value in the user's locale, written by the
  // level's grouping attribute; "No class string" without one.
  std::string GetClassString() const;

  // The topmost ancestor (this node for a root).
  const TTreeMapNode& Root() const { return *FRoot; }
  TTreeMapNode& Root() { return *FRoot; }
  // The nearest node from this one upwards whose level is a display root;
  // the root when no node on the way is one.
  TTreeMapNode& DisplayRoot();
  const TTreeMapNode& DisplayRoot() const { return const_cast<TTreeMapNode*>(this)->DisplayRoot(); }
  // The number of ancestors (0 for a root).
  int Depth() const { return FDepth; }
  // The levels of this node's tree as it is now: the same object until a node
  // of the tree changes, a new one after that (see tree_map_levels.h).
  const std::shared_ptr<TTreeMapLevels>& Levels() const;

  TTreeMapNode* Parent() const { return FParent; }
  TTreeMapLevel* Level() const { return FLevel; }
  TTreeMapDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TTreeMapDataSource* data) {
    FDataSource = data;
    Changed();
  }

  int32_t RecordIndex() const { return FRecordIndex; }
  void SetRecordIndex(int32_t index) {
    FRecordIndex = index;
    Changed();
  }
  int32_t ClusterValueIndex() const { return FClusterValueIndex; }
  void SetClusterValueIndex(int32_t index) {
    FClusterValueIndex = index;
    Changed();
  }

  double RealSize() const { return FRealSize; }
  void SetRealSize(double size) {
    FRealSize = size;
    Changed();
  }
  double DisplaySize() const { return FDisplaySize; }
  void SetDisplaySize(double size) {
    FDisplaySize = size;
    Changed();
  }

  // Excluded nodes are passed over by the whole-level walk.
  bool Excluded() const { return FExcluded; }
  void SetExcluded(bool excluded) {
    FExcluded = excluded;
    Changed();
  }

  // Two values kept for the host and not read here: an integer (-1 at
  // creation) and a flag (true at creation).
  int32_t HostInteger() const { return FHostInteger; }
  void SetHostInteger(int32_t value) {
    FHostInteger = value;
    Changed();
  }
  bool HostFlag() const { return FHostFlag; }
  void SetHostFlag(bool value) {
    FHostFlag = value;
    Changed();
  }

 private:
  struct TChildrenBlock {
    TChildList Children;
    TTreeMapRect ChildrenRect;
    int32_t Value = 0;
  };

  TTreeMapNode(TTreeMapNode* parent, int32_t recordIndex, TTreeMapLevel* level, TTreeMapDataSource* data);
  // Drops the tree's levels: the next request makes new ones.
  void Changed() { FRoot->FLevels.reset(); }
  // Sets depth and root of `top` and of every node below it, after `top`
  // was placed under `parent` (nullptr: it became a root).
  static void Place(TTreeMapNode& top, TTreeMapNode* parent);

  std::unique_ptr<TChildrenBlock> FChildren;
  int32_t FHostInteger = -1;
  int32_t FClusterValueIndex = -1;
  uint8_t FValue = 0;
  bool FHostFlag = true;
  double FRealSize = 0;
  double FDisplaySize = 0;
  bool FExcluded = false;
  TTreeMapRect FRect;
  TTreeMapLevel* FLevel = nullptr;
  TTreeMapDataSource* FDataSource = nullptr;
  TTreeMapNode* FParent = nullptr;
  int32_t FRecordIndex = -1;
  int32_t FDepth = 0;
  TTreeMapNode* FRoot = this;
  mutable std::shared_ptr<TTreeMapLevels> FLevels;  // roots only, made on request
};

// Whether two scope nodes denote the same node: false when either is
// missing; two nodes without records only when they are the same object;
// otherwise when their record indexes are equal.
bool SameNode(const TTreeMapNode* a, const TTreeMapNode* b);
