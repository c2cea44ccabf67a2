// The palette XML fuzz target's dictionary names every element the palettes
// save, so the fuzzer builds palette files from the start.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include <pugixml.hpp>

#include "foundation/pugi_xml_node.h"
#include "palette/custom_palette.h"
#include "palette/diverging_palette.h"
#include "palette/qualitative_palette.h"
#include "palette/sequential_palette.h"
#include "support/fuzz_dictionary.h"
#include "support/xml_names.h"

namespace {

TEST(PaletteFuzzDictionary, NamesEveryElementThePalettesSave) {
  const std::set<std::string> dict = ReadFuzzDictionary(FuzzSourceDir() / "palette_xml_load_fuzz.dict");
  auto custom = std::make_unique<TCustomPalette>();
  custom->AddKey(TRGB{255, 0, 0});
  custom->AddKey(TRGB{0, 0, 255});
  std::unique_ptr<TBasePalette> palettes[] = {std::make_unique<TSequentialPalette>(),
                                              std::make_unique<TDivergingPalette>(),
                                              std::make_unique<TQualitativePalette>(), std::move(custom)};
  for (auto& palette : palettes) {
    pugi::xml_document doc;
    const pugi::xml_node element = doc.append_child("Palette");
    TPugiXmlNode node(element);
    int childIndex = -1;
    palette->LoadSave(false, node, childIndex);
    const std::set<std::string> names = XmlNames(element);
    ASSERT_GT(names.size(), 3u);
    for (const std::string& name : names)
      EXPECT_TRUE(dict.contains(name)) << "\"" << name << "\" is missing from fuzz/palette_xml_load_fuzz.dict";
  }
}

}  // namespace
