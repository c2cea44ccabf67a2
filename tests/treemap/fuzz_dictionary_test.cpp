// The tree-map XML fuzz target's dictionary names every element a cluster
// saves with its icon and string list.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include <pugixml.hpp>

#include "foundation/pugi_xml_node.h"
#include "graphics/bitmap32_io.h"
#include "support/fuzz_dictionary.h"
#include "support/xml_names.h"
#include "treemap/strings_type_cluster.h"

namespace {

TEST(TreeMapFuzzDictionary, NamesEveryElementAClusterSaves) {
  const std::set<std::string> dict = ReadFuzzDictionary(FuzzSourceDir() / "treemap_xml_load_fuzz.dict");
  const std::string iconFile = (std::filesystem::path(testing::TempDir()) / "icon.png").string();
  TBitmap32 image(2, 1);
  image.SetPixel(1, 0, 0x80FFFFFFu);
  WriteImageFileBytes(iconFile, SaveBitmap32ToPng(image));

  TStringsTypeCluster cluster(nullptr);
  cluster.SetName("Fruit");
  cluster.Values().Add("apple");
  cluster.SetIconFile(iconFile);
  ASSERT_TRUE(cluster.HasIcon());
  pugi::xml_document doc;
  const pugi::xml_node element = doc.append_child("Cluster");
  TPugiXmlNode node(element);
  cluster.LoadSave(false, node, nullptr);

  const std::set<std::string> names = XmlNames(element);
  ASSERT_TRUE(names.contains("Pixels"));  // the icon's bitmap was saved
  for (const std::string& name : names)
    EXPECT_TRUE(dict.contains(name)) << "\"" << name << "\" is missing from fuzz/treemap_xml_load_fuzz.dict";
}

}  // namespace
