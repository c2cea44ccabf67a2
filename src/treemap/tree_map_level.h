#pragma once
// The host's level descriptor: what the nodes of one depth of a tree-map have
// in common. Hosts may derive from it to keep more per level.

#include <cstdint>

class TAttributeDescriptor;

class TTreeMapLevel {
 public:
  virtual ~TTreeMapLevel() = default;

  // The attribute whose values the nodes of this level stand for (not owned);
  // nullptr when the level does not group.
  TAttributeDescriptor* GroupingAttribute = nullptr;
  // The nodes of this level are display roots.
  bool DisplayRoot = false;
  // Nonzero: the nodes of this level are inner nodes with a children list.
  int32_t HasChildren = 0;
};
