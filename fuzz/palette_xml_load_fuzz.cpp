// Loading every palette kind (sequential, diverging, qualitative, custom)
// from arbitrary XML through its LoadSave, as the palette holder's stored
// palettes are read. A loaded palette gives colours without fault, and
// saving it, loading the saved element into a fresh palette and saving that
// again writes the same element: a load keeps what a save wrote.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include <pugixml.hpp>

#include "colour/colour_settings.h"
#include "foundation/pugi_xml_node.h"
#include "palette/base_palette.h"
#include "palette/custom_palette.h"
#include "palette/diverging_palette.h"
#include "palette/qualitative_palette.h"
#include "palette/sequential_palette.h"

namespace {

constexpr int kMaxRoundTripKeys = 1000;

std::unique_ptr<TBasePalette> MakePalette(int kind, const TColorSettings& settings) {
  std::unique_ptr<TBasePalette> p;
  switch (kind) {
    case 0: p = std::make_unique<TSequentialPalette>(); break;
    case 1: p = std::make_unique<TDivergingPalette>(); break;
    case 2: p = std::make_unique<TQualitativePalette>(); break;
    default: p = std::make_unique<TCustomPalette>(); break;
  }
  p->SetColorSettings(&settings);
  return p;
}

void Load(TBasePalette& p, pugi::xml_node element) {
  TPugiXmlNode node(element);
  int childIndex = -1;
  p.LoadSave(true, node, childIndex);
}

std::string Saved(TBasePalette& p) {
  pugi::xml_document doc;
  TPugiXmlNode node(doc.append_child("Palette"));
  int childIndex = -1;
  p.LoadSave(false, node, childIndex);
  std::ostringstream out;
  doc.print(out, "", pugi::format_raw);
  return out.str();
}

// What a viewport or the colour strip asks of a palette: colours along t and
// the first, middle and last swatch.
void UseColours(const TBasePalette& p) {
  TRGB rgb;
  for (const double t : {0.0, 0.37, 0.5, 1.0}) {
    p.GetColor(false, rgb, t);
    p.GetColor(true, rgb, t);
    (void)p.GetTColor(false, t);
  }
  const int n = p.NumColors();
  if (n <= 0) return;
  for (const int i : {0, n / 2, n - 1}) {
    p.GetIndexColor(i, rgb);
    (void)p.GetIndexTColor(i);
  }
}

// Round trips of many keys only cost time; the palette tests cover the
// largest count.
bool ManyKeys(const TBasePalette& p) {
  const auto* custom = dynamic_cast<const TCustomPalette*>(&p);
  return custom && custom->GetKeyCount() > kMaxRoundTripKeys;
}

void Check(pugi::xml_node element, const TColorSettings& settings) {
  for (int kind = 0; kind < 4; ++kind) {
    const std::unique_ptr<TBasePalette> loaded = MakePalette(kind, settings);
    Load(*loaded, element);
    UseColours(*loaded);
    if (ManyKeys(*loaded)) continue;

    const std::string first = Saved(*loaded);
    pugi::xml_document doc;
    if (!doc.load_string(first.c_str())) abort();
    const std::unique_ptr<TBasePalette> again = MakePalette(kind, settings);
    Load(*again, doc.document_element());
    if (Saved(*again) != first) abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pugi::xml_document doc;
  if (!doc.load_buffer(data, size)) return 0;
  const TColorSettings settings;
  int checked = 0;
  for (pugi::xml_node e = doc.document_element(); e && checked < 4; e = e.next_sibling()) {
    if (e.type() != pugi::node_element) continue;
    Check(e, settings);
    ++checked;
  }
  return 0;
}
