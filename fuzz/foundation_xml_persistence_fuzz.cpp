// The XML helpers' load path: bytes -> pugixml document -> every helper's load
// on the document element and its first children, then a save and reload of
// the loaded values, which must give them back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include <pugixml.hpp>

#include "foundation/float_text.h"
#include "foundation/pugi_xml_node.h"
#include "foundation/xml_persistence.h"
#include "graphics/bitmap32.h"
#include "same_pixels.h"

namespace {

struct TValues {
  double D = 0;
  int32_t I = 0;
  bool B = false;
  std::string S;
  TColor32 C = 0;
  std::unique_ptr<TBitmap32> Bmp;
};

void LoadSave(bool load, TXmlNode& node, TValues& v) {
  int index = -1;
  XMLReadWriteDouble(load, node, index, v.D, "D", 0.5);
  XMLReadWriteInteger(load, node, index, v.I, "I", 7);
  XMLReadWriteBoolean(load, node, index, v.B, "B", true);
  XMLReadWriteString(load, node, index, v.S, "S", "s");
  XMLReadWriteColor32(load, node, index, v.C, "Color", 0xFF102030u);
  XMLReadWriteBitmap32(load, node, index, v.Bmp, "Bmp");
}

void Check(pugi::xml_node element) {
  TPugiXmlNode node(element);
  TValues loaded;
  LoadSave(true, node, loaded);
  if (!loaded.Bmp) abort();

  pugi::xml_document out;
  TPugiXmlNode saved(out.append_child("E"));
  LoadSave(false, saved, loaded);
  TValues back;
  LoadSave(true, saved, back);
  // Doubles keep 15 significant digits, so a second save writes the same text.
  if (FloatToText(back.D, FixedFormatSettings()) != FloatToText(loaded.D, FixedFormatSettings())) abort();
  if (back.I != loaded.I || back.B != loaded.B || back.S != loaded.S || back.C != loaded.C) abort();
  if (!SamePixels(*back.Bmp, *loaded.Bmp)) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pugi::xml_document doc;
  if (!doc.load_buffer(data, size)) return 0;
  int checked = 0;
  for (pugi::xml_node e = doc.document_element(); e && checked < 8; e = e.next_sibling()) {
    Check(e);
    ++checked;
    for (pugi::xml_node c = e.first_child(); c && checked < 16; c = c.next_sibling())
      if (c.type() == pugi::node_element) {
        Check(c);
        ++checked;
      }
  }
  return 0;
}
