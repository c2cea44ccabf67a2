#pragma once
// The host's attribute collection, against which the evaluator resolves
// attribute names, and the lookup by name or index.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "treemap/attribute_descriptor.h"

class TTreeMapDataSource;

class TDravolinAttributes {
 public:
  virtual ~TDravolinAttributes() = default;

  // The descriptors, owned; an entry may be empty (nullptr).
  std::vector<std::unique_ptr<TAttributeDescriptor>> Descriptors;
  // How many leading entries a lookup by name searches (clamped to the
  // number of entries).
  int32_t Count = 0;
  // The records the descriptors read their values from (not owned).
  TTreeMapDataSource* DataSource = nullptr;

  // Appends a descriptor (or an empty entry) and counts it in; returns it.
  TAttributeDescriptor* Add(std::unique_ptr<TAttributeDescriptor> descriptor);
};

// By name: the first non-empty descriptor among the first Count entries whose
// name equals Key ignoring letter case, else the first whose name equals
// MakeValidIdentifier(Key) ignoring letter case; nullptr when none does.
TAttributeDescriptor* FindAttributeByVariant(const TDravolinAttributes& collection, std::string_view key);
// By index into Descriptors (all entries, not only the first Count); nullptr
// outside the array or for an empty entry.
TAttributeDescriptor* FindAttributeByVariant(const TDravolinAttributes& collection, int64_t index);

// An identifier made from Text: "A" for an empty text, "A" in front of a text
// that does not begin with a letter, every character outside [0-9A-Za-z_]
// replaced by "_".
std::string MakeValidIdentifier(std::string_view text);
