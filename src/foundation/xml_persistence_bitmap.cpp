// XMLReadWriteBitmap32, declared in xml_persistence.h.
#include "foundation/xml_persistence.h"

#include <algorithm>
#include <span>
#include <vector>

#include "foundation/assertion.h"
#include "foundation/base64.h"
#include "foundation/xml_node.h"
#include "graphics/bitmap32.h"

namespace {

bool SizeAllowed(int32_t width, int32_t height) {
  return width >= 0 && height >= 0 && width <= kMaxXmlBitmapSide && height <= kMaxXmlBitmapSide &&
         int64_t{width} * height <= kMaxXmlBitmapPixels;
}

void Save(TXmlNode& node, int& childIndex, const TBitmap32& bitmap, std::string_view name) {
  const size_t count = static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitmap.Height());
  std::vector<uint8_t> bytes(count * 4);
  const TColor32* pixels = bitmap.Bits();
  for (size_t i = 0; i < count; ++i) {
    const TColor32 p = pixels[i];
    bytes[4 * i] = static_cast<uint8_t>(p);
    bytes[4 * i + 1] = static_cast<uint8_t>(p >> 8);
    bytes[4 * i + 2] = static_cast<uint8_t>(p >> 16);
    bytes[4 * i + 3] = static_cast<uint8_t>(p >> 24);
  }
  std::string text = Base64Encode(bytes);
  auto element = node.AddChild(name);
  int32_t datas = static_cast<int32_t>(text.size());
  int32_t height = bitmap.Height();
  int32_t width = bitmap.Width();
  XMLReadWriteInteger(false, *element, childIndex, datas, "Datas", 1);
  XMLReadWriteInteger(false, *element, childIndex, height, "Height", 1);
  XMLReadWriteInteger(false, *element, childIndex, width, "Width", 1);
  XMLReadWriteString(false, *element, childIndex, text, "Pixels", "");
}

std::unique_ptr<TBitmap32> Load(const TXmlNode& node, int& childIndex, std::string_view name) {
  int32_t datas = 1, height = 1, width = 1;
  std::string text;
  if (auto element = node.FindChild(name)) {
    XMLReadWriteInteger(true, *element, childIndex, datas, "Datas", 1);
    XMLReadWriteInteger(true, *element, childIndex, height, "Height", 1);
    XMLReadWriteInteger(true, *element, childIndex, width, "Width", 1);
    XMLReadWriteString(true, *element, childIndex, text, "Pixels", "");
  } else {
    childIndex += 4;
  }
  // A stored size is not trusted: a negative, huge or overflowing one gives the default.
  if (!SizeAllowed(width, height)) width = height = 1;
  auto bitmap = std::make_unique<TBitmap32>(width, height);
  if (datas <= 1 || bitmap->Empty()) return bitmap;

  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<uint8_t> bytes(count * 4);
  const std::string_view data = std::string_view(text).substr(0, static_cast<size_t>(datas));
  const size_t decoded = Base64Decode(data, std::span<uint8_t>(bytes));
  TColor32* pixels = bitmap->Bits();
  for (size_t i = 0; i < (decoded + 3) / 4; ++i)  // a partial last pixel keeps its bytes
    pixels[i] = TColor32{bytes[4 * i]} | TColor32{bytes[4 * i + 1]} << 8 | TColor32{bytes[4 * i + 2]} << 16 |
                TColor32{bytes[4 * i + 3]} << 24;
  return bitmap;
}

}  // namespace

void XMLReadWriteBitmap32(bool load, TXmlNode& node, int& childIndex, std::unique_ptr<TBitmap32>& value,
                          std::string_view name) {
  ++childIndex;
  if (load) {
    value = Load(node, childIndex, name);
    return;
  }
  Require(value != nullptr, "XMLReadWriteBitmap32: no bitmap to save");
  Save(node, childIndex, *value, name);
}
