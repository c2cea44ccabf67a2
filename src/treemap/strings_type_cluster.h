#pragma once
// TStringsTypeCluster: a category given by a list of value texts. A value
// belongs to it when its text is in the list, letter case ignored.

#include "treemap/cluster.h"
#include "treemap/string_list.h"

class TStringsTypeCluster : public TCluster {
 public:
  // Name "New Value Category", opaque yellow, no icon, no values.
  explicit TStringsTypeCluster(void* owner);

  // Raises EAssertionFailed ("Assertion failure") unless Source is a
  // TStringsTypeCluster; then copies as TCluster::Assign and the values.
  void Assign(const TCluster& source) override;
  // The base keys, then the child "Strings" holding the values.
  void LoadSave(bool load, TXmlNode& node, TAttributeDescriptor* attribute) override;
  // The attribute's text of the record is in Values.
  bool ContainsRecordValue(int32_t recordIndex, TAttributeDescriptor& attribute) const override;
  // The attribute's text of the value index, in the user's locale, is in Values.
  bool ContainsIndexValue(int32_t index, TAttributeDescriptor& attribute) const override;
  bool ContainsText(std::string_view text) const override { return FValues.Contains(text); }
  bool QueryFlag() const override { return false; }
  std::string TypeName() const override { return "Values"; }
  // Values[Index]; EAssertionFailed "Index out of Bounds Cluster " + Name
  // outside 0..Count-1.
  std::string ValueText(int index) const override;
  // The number with 0 to 6 decimals in the user's locale is in Values.
  bool ContainsNumber(double value) const override;

  TDravolinHashedStringList& Values() { return FValues; }
  const TDravolinHashedStringList& Values() const { return FValues; }

 private:
  TDravolinHashedStringList FValues;
};
