#include "treemap/string_list_xml.h"

#include "foundation/null_conversion.h"
#include "foundation/xml_node.h"
#include "foundation/xml_persistence.h"
#include "treemap/attribute_descriptor.h"
#include "treemap/string_list.h"

namespace {

constexpr const char* kStringKey = "String";

bool IsNonText(const TAttributeDescriptor* attribute) { return attribute && attribute->TypeCode != atText; }

}  // namespace

void StringsToFromXML(TDravolinHashedStringList& strings, bool load, TXmlNode& node,
                      TAttributeDescriptor* attribute) {
  if (!load) {
    int childIndex = -1;
    for (const std::string& text : strings.Strings()) {
      if (IsNonText(attribute)) {
        attribute->XMLWriteValueText(node, childIndex, kStringKey, text);
      } else {
        std::string copy = text;
        XMLReadWriteString(false, node, childIndex, copy, kStringKey, "");
      }
    }
    return;
  }
  strings.Clear();
  const int count = node.ChildCount();
  for (int i = 0; i < count; ++i) {
    std::string text = NullToEmptyString(node.Child(i)->Value());
    if (IsNonText(attribute)) text = attribute->XMLValueTextToUserText(text);
    strings.Add(std::move(text));
  }
}
