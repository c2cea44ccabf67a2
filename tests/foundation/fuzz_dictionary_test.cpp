// The XML helpers' fuzz target's dictionary names every element the helpers
// write, including the children of a colour and a bitmap.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include <pugixml.hpp>

#include "foundation/pugi_xml_node.h"
#include "foundation/xml_persistence.h"
#include "graphics/bitmap32.h"
#include "support/fuzz_dictionary.h"
#include "support/xml_names.h"

namespace {

TEST(FoundationFuzzDictionary, NamesEveryElementTheHelpersWrite) {
  const std::set<std::string> dict = ReadFuzzDictionary(FuzzSourceDir() / "foundation_xml_persistence_fuzz.dict");
  // The names the fuzz target hands to the helpers.
  double d = 0.5;
  int32_t i = 7;
  bool b = true;
  std::string s = "s";
  TColor32 c = 0xFF102030u;
  auto bitmap = std::make_unique<TBitmap32>(1, 1);
  pugi::xml_document doc;
  const pugi::xml_node element = doc.append_child("E");
  TPugiXmlNode node(element);
  int index = -1;
  XMLReadWriteDouble(false, node, index, d, "D", 0);
  XMLReadWriteInteger(false, node, index, i, "I", 0);
  XMLReadWriteBoolean(false, node, index, b, "B", false);
  XMLReadWriteString(false, node, index, s, "S", "");
  XMLReadWriteColor32(false, node, index, c, "Color", 0);
  XMLReadWriteBitmap32(false, node, index, bitmap, "Bmp");

  const std::set<std::string> names = XmlNames(element);
  ASSERT_TRUE(names.contains("Pixels"));  // the bitmap's children were written
  for (const std::string& name : names)
    EXPECT_TRUE(dict.contains(name)) << "\"" << name << "\" is missing from fuzz/foundation_xml_persistence_fuzz.dict";
}

}  // namespace
