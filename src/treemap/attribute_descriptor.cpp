#include "treemap/attribute_descriptor.h"

#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "foundation/xml_persistence.h"

void TAttributeDescriptor::XMLWriteValueText(TXmlNode& node, int& childIndex, std::string_view name,
                                             const std::string& text) {
  if (auto number = TextToFloat(text, UserFormatSettings())) {
    XMLReadWriteDouble(false, node, childIndex, *number, name, 0);
    return;
  }
  std::string copy = text;
  XMLReadWriteString(false, node, childIndex, copy, name, "");
}

std::string TAttributeDescriptor::XMLValueTextToUserText(std::string_view storedText) {
  if (const auto number = TextToFloat(storedText, FixedFormatSettings())) return FloatToText(*number, UserFormatSettings());
  return std::string(storedText);
}
