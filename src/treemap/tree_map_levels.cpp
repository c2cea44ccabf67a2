#include "treemap/tree_map_levels.h"

#include "treemap/tree_map_node.h"

TTreeMapLevels::TTreeMapLevels(TTreeMapNode& root) : FAll{&root}, FAllStart{0, 1}, FIncludedStart{0} {
  if (!root.Excluded()) FIncluded.push_back(&root);
  FIncludedStart.push_back(FIncluded.size());
}

bool TTreeMapLevels::AddLevel() {
  const size_t begin = FAllStart[FAllStart.size() - 2];
  const size_t end = FAllStart.back();
  if (begin == end) return false;
  // Children of the level in order: a level in left-to-right order gives the
  // level below in left-to-right order.
  for (size_t i = begin; i < end; ++i) {
    const TTreeMapNode::TChildList* children = FAll[i]->ChildList();
    if (!children) continue;
    for (const auto& child : *children) {
      FAll.push_back(child.get());
      if (!child->Excluded()) FIncluded.push_back(child.get());
    }
  }
  FAllStart.push_back(FAll.size());
  FIncludedStart.push_back(FIncluded.size());
  return true;
}

std::span<TTreeMapNode* const> TTreeMapLevels::Level(int depth) {
  if (depth < 0) return {};
  const auto wanted = static_cast<size_t>(depth);
  while (FIncludedStart.size() <= wanted + 1)
    if (!AddLevel()) return {};
  return {FIncluded.data() + FIncludedStart[wanted], FIncludedStart[wanted + 1] - FIncludedStart[wanted]};
}
