// The tree-map's XML readers on arbitrary XML: a string list (plain, and as
// the values of a non-text attribute), a string-value cluster (its keys, its
// values and its icon) and an icon on its own, each loaded from the document
// element and its first child elements. Nothing may crash or raise; what was
// loaded saves, and the saved element loads back to the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "foundation/pugi_xml_node.h"
#include "graphics/bitmap32.h"
#include "same_pixels.h"
#include "treemap/attribute_descriptor.h"
#include "treemap/cluster_icon.h"
#include "treemap/string_list.h"
#include "treemap/string_list_xml.h"
#include "treemap/strings_type_cluster.h"

namespace {

// Round trips of larger images are left to the bitmap helper's own target:
// they only cost time here.
constexpr int64_t kMaxRoundTripPixels = int64_t{1} << 20;

void Check(bool condition) {
  if (!condition) abort();
}

// A number column: its values are stored in the fixed format and shown in
// the user's; the reads are not used by the XML code.
class TNumberAttribute final : public TAttributeDescriptor {
 public:
  TNumberAttribute() {
    Name = "amount";
    TypeCode = atDouble;
  }
  void LoadValues(TTreeMapDataSource*, TDravolinAttributes&) override {}
  std::string RecordText(int32_t) override { return {}; }
  double RecordNumber(int32_t) override { return 0; }
  std::string IndexText(int32_t, const TFormatSettings&) override { return {}; }
  double IndexNumber(int32_t) override { return 0; }
  int32_t RecordValueIndex(int32_t) override { return kValueIndexNull; }
};

// A fresh element for a save; whitespace-only texts must survive the reload,
// so the saved document is read back with them kept.
class TSaved {
 public:
  TSaved() : FNode(FDoc.append_child("E")) {}
  TPugiXmlNode& Node() { return FNode; }
  TPugiXmlNode Reloaded() {
    std::string text;
    struct TWriter final : pugi::xml_writer {
      std::string* Out;
      void write(const void* data, size_t size) override { Out->append(static_cast<const char*>(data), size); }
    } writer;
    writer.Out = &text;
    FDoc.save(writer, "", pugi::format_raw);
    Check(static_cast<bool>(FReloaded.load_string(text.c_str(), pugi::parse_default | pugi::parse_ws_pcdata)));
    return TPugiXmlNode(FReloaded.document_element());
  }

 private:
  pugi::xml_document FDoc, FReloaded;
  TPugiXmlNode FNode;
};

bool Small(const TBitmap32& image) { return int64_t{image.Width()} * image.Height() <= kMaxRoundTripPixels; }

// For a non-text attribute a load converts stored numbers to the user's
// locale and a save converts the user's numbers to the stored form, so a
// stored text that reads as a number only in the user's locale changes once;
// from then on a save and a load give the same list back.
TDravolinHashedStringList SavedAndLoaded(const TDravolinHashedStringList& list, TAttributeDescriptor* attribute) {
  TSaved saved;
  TDravolinHashedStringList copy = list;
  StringsToFromXML(copy, false, saved.Node(), attribute);
  TPugiXmlNode reloaded = saved.Reloaded();
  TDravolinHashedStringList back;
  StringsToFromXML(back, true, reloaded, attribute);
  return back;
}

void CheckStringList(TPugiXmlNode& node, TAttributeDescriptor* attribute) {
  TDravolinHashedStringList loaded;
  loaded.Add("left over");
  StringsToFromXML(loaded, true, node, attribute);
  Check(loaded.Count() == node.ChildCount());

  const TDravolinHashedStringList back = SavedAndLoaded(loaded, attribute);
  if (attribute == nullptr) {
    Check(back.Strings() == loaded.Strings());
  } else {
    Check(back.Count() == loaded.Count());
    Check(SavedAndLoaded(back, attribute).Strings() == back.Strings());
  }
}

void CheckIcon(const TIcon& icon) {
  Check(icon.WorkingCopy().Width() == icon.Image().Width());
  Check(icon.WorkingCopy().Height() == icon.Image().Height());
  Check(icon.DrawState.Index == -1 && icon.DrawState.Mode == 2);
}

std::unique_ptr<TStringsTypeCluster> SavedAndLoaded(TStringsTypeCluster& cluster, TAttributeDescriptor* attribute) {
  TSaved saved;
  cluster.LoadSave(false, saved.Node(), attribute);
  TPugiXmlNode reloaded = saved.Reloaded();
  auto back = std::make_unique<TStringsTypeCluster>(nullptr);
  back->LoadSave(true, reloaded, attribute);
  return back;
}

bool SameCluster(const TStringsTypeCluster& a, const TStringsTypeCluster& b) {
  return a.ID() == b.ID() && a.Name() == b.Name() && a.Visible() == b.Visible() && a.Color() == b.Color() &&
         a.HasIcon() == b.HasIcon() && a.Values().Strings() == b.Values().Strings() &&
         (!a.HasIcon() || SamePixels(a.Icon()->Image(), b.Icon()->Image()));
}

// Without an attribute the values round-trip as they are; with a non-text
// one after their first save (see SavedAndLoaded of a string list).
void CheckCluster(TPugiXmlNode& node, TAttributeDescriptor* attribute) {
  TStringsTypeCluster loaded(nullptr);
  loaded.LoadSave(true, node, attribute);
  if (loaded.HasIcon()) CheckIcon(*loaded.Icon());
  if (loaded.HasIcon() && !Small(loaded.Icon()->Image())) return;

  const std::unique_ptr<TStringsTypeCluster> back = SavedAndLoaded(loaded, attribute);
  if (attribute == nullptr) {
    Check(SameCluster(*back, loaded));
  } else {
    Check(SameCluster(*SavedAndLoaded(*back, attribute), *back));
  }
}

void CheckIconElement(TPugiXmlNode& node) {
  TIcon loaded{std::string()};
  loaded.LoadSave(true, node);
  CheckIcon(loaded);
  if (!Small(loaded.Image())) return;

  TSaved saved;
  loaded.LoadSave(false, saved.Node());
  TPugiXmlNode reloaded = saved.Reloaded();
  TIcon back{std::string()};
  back.LoadSave(true, reloaded);
  Check(SamePixels(back.Image(), loaded.Image()));
}

void CheckElement(pugi::xml_node element) {
  TPugiXmlNode node(element);
  TNumberAttribute amount;
  CheckStringList(node, nullptr);
  CheckStringList(node, &amount);
  CheckCluster(node, nullptr);
  CheckCluster(node, &amount);
  CheckIconElement(node);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pugi::xml_document doc;
  if (!doc.load_buffer(data, size)) return 0;
  const pugi::xml_node top = doc.document_element();
  if (!top) return 0;
  CheckElement(top);
  int checked = 0;
  for (pugi::xml_node c = top.first_child(); c && checked < 4; c = c.next_sibling())
    if (c.type() == pugi::node_element) {
      CheckElement(c);
      ++checked;
    }
  return 0;
}
