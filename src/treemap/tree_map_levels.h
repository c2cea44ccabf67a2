#pragma once
// TTreeMapLevels: the nodes of a tree by depth, for one state of the tree.
//
// A tree answers one TTreeMapLevels object (TTreeMapNode::Levels) until a
// node of it changes; then it makes a new one at the next request. Holders
// keep the object they got (a std::shared_ptr, so it cannot be freed and its
// address reused) and compare it with the tree's current one to tell whether
// what they derived from the tree is still current.
//
// Level(d) is every node at depth d that is not excluded, left to right
// across the whole tree: the order of a depth-first walk that visits
// children in list order. Levels are computed at their first request, by a
// breadth-first walk that goes on from the deepest level computed so far;
// the walk passes through excluded nodes to their children.

#include <cstddef>
#include <span>
#include <vector>

class TTreeMapNode;

class TTreeMapLevels {
 public:
  // `root` must outlive the object's use: call Level only on the object the
  // tree currently answers.
  explicit TTreeMapLevels(TTreeMapNode& root);

  // The nodes at `depth` (0 is the root) that are not excluded; empty when
  // the tree has none there. Valid until the next call of Level.
  std::span<TTreeMapNode* const> Level(int depth);

 private:
  // Computes the level below the deepest one computed; false when that one
  // was empty (the tree ends there).
  bool AddLevel();

  std::vector<TTreeMapNode*> FAll;       // every node of the computed levels, breadth first
  std::vector<size_t> FAllStart;         // where each level starts in FAll, and one past the last
  std::vector<TTreeMapNode*> FIncluded;  // the same without excluded nodes
  std::vector<size_t> FIncludedStart;
};
