#include "treemap/strings_type_cluster.h"

#include "foundation/assertion.h"
#include "foundation/format_settings.h"
#include "foundation/xml_node.h"
#include "treemap/attribute_descriptor.h"
#include "treemap/number_text.h"
#include "treemap/string_list_xml.h"

TStringsTypeCluster::TStringsTypeCluster(void* owner) : TCluster(owner) {
  SetName("New Value Category");
  SetColor(0xFFFFFF00u);
}

void TStringsTypeCluster::Assign(const TCluster& source) {
  const auto* strings = dynamic_cast<const TStringsTypeCluster*>(&source);
  Require(strings != nullptr, "Assertion failure");
  TCluster::Assign(source);
  if (strings != this) FValues = strings->FValues;
}

void TStringsTypeCluster::LoadSave(bool load, TXmlNode& node, TAttributeDescriptor* attribute) {
  TCluster::LoadSave(load, node, attribute);
  if (!load) {
    StringsToFromXML(FValues, false, *node.AddChild("Strings"), attribute);
    return;
  }
  if (const auto strings = node.FindChild("Strings")) StringsToFromXML(FValues, true, *strings, attribute);
}

bool TStringsTypeCluster::ContainsRecordValue(int32_t recordIndex, TAttributeDescriptor& attribute) const {
  return FValues.Contains(attribute.RecordText(recordIndex));
}

bool TStringsTypeCluster::ContainsIndexValue(int32_t index, TAttributeDescriptor& attribute) const {
  return FValues.Contains(attribute.IndexText(index, UserFormatSettings()));
}

std::string TStringsTypeCluster::ValueText(int index) const {
  RequireWith(index >= 0 && index < FValues.Count(), [this] { return "Index out of Bounds Cluster " + Name(); });
  return FValues[index];
}

bool TStringsTypeCluster::ContainsNumber(double value) const {
  return FValues.Contains(FloatToStrTrimmed(0, 6, value));
}
