#include "foundation/xml_persistence.h"

#include <cfloat>
#include <cmath>

#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "foundation/null_conversion.h"
#include "foundation/rounding.h"
#include "foundation/xml_node.h"

namespace {

// The child a load reads: the one at ChildIndex when its name matches, else
// the first child of that name, else none.
std::unique_ptr<TXmlNode> ChildForLoad(const TXmlNode& node, int childIndex, std::string_view name) {
  if (childIndex >= 0 && childIndex < node.ChildCount()) {
    auto child = node.Child(childIndex);
    if (child->Name() == name) return child;
  }
  return node.FindChild(name);
}

// The text of the child a load reads; nullopt when there is no such child.
std::optional<std::string> LoadText(const TXmlNode& node, int& childIndex, std::string_view name) {
  ++childIndex;
  const auto child = ChildForLoad(node, childIndex, name);
  if (!child) return std::nullopt;
  return NullToEmptyString(child->Value());
}

void SaveText(TXmlNode& node, int& childIndex, std::string_view name, std::string_view text) {
  ++childIndex;
  node.AddChild(name)->SetValue(text);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<bool> TextToBoolean(std::string_view text) {
  if (const auto number = TextToFloat(text, UserFormatSettings())) return *number != 0;
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (EqualsIgnoringCase(text, "true")) return true;
  if (EqualsIgnoringCase(text, "false")) return false;
  return std::nullopt;
}

// One component of the older colour form: a real 0..1 scaled to 0..255.
uint32_t OldColorComponent(const std::optional<std::string>& text) {
  const auto x = TextToFloat(NullToEmptyString(text), FixedFormatSettings());
  if (!x) return 1;
  const double product = 255.0 * *x;
  // Beyond the float range the product rounds like any out-of-range value.
  const int32_t rounded =
      std::fabs(product) <= FLT_MAX ? RoundSingle(static_cast<float>(product)) : INT32_MIN;
  return static_cast<uint32_t>(rounded) & 0xFF;
}

}  // namespace

void XMLReadWriteDouble(bool load, TXmlNode& node, int& childIndex, double& value, std::string_view name,
                        double defaultValue) {
  if (!load) return SaveText(node, childIndex, name, FloatToText(value, FixedFormatSettings()));
  const auto text = LoadText(node, childIndex, name);
  const auto number = text ? TextToFloat(*text, FixedFormatSettings()) : std::nullopt;
  value = number.value_or(defaultValue);
}

void XMLReadWriteInteger(bool load, TXmlNode& node, int& childIndex, int32_t& value, std::string_view name,
                         int32_t defaultValue) {
  if (!load) return SaveText(node, childIndex, name, Int32ToText(value));
  const auto text = LoadText(node, childIndex, name);
  const auto number = text ? TextToInt32(*text) : std::nullopt;
  value = number.value_or(defaultValue);
}

void XMLReadWriteBoolean(bool load, TXmlNode& node, int& childIndex, bool& value, std::string_view name,
                         bool defaultValue) {
  if (!load) return SaveText(node, childIndex, name, value ? "true" : "false");
  const auto text = LoadText(node, childIndex, name);
  const auto flag = text ? TextToBoolean(*text) : std::nullopt;
  value = flag.value_or(defaultValue);
}

void XMLReadWriteString(bool load, TXmlNode& node, int& childIndex, std::string& value, std::string_view name,
                        std::string_view defaultValue) {
  if (!load) return SaveText(node, childIndex, name, value);
  auto text = LoadText(node, childIndex, name);
  value = text ? std::move(*text) : std::string(defaultValue);
}

void XMLReadWriteColor32(bool load, TXmlNode& node, int& childIndex, TColor32& value, std::string_view name,
                         TColor32 defaultValue) {
  const std::string name32 = std::string(name) + "32";
  int32_t packed = static_cast<int32_t>(value);
  if (!load) return XMLReadWriteInteger(false, node, childIndex, packed, name32, 0);
  if (node.FindChild(name32)) {
    XMLReadWriteInteger(true, node, childIndex, packed, name32, static_cast<int32_t>(defaultValue));
    value = static_cast<TColor32>(packed);
    return;
  }
  ++childIndex;
  const auto old = node.FindChild(name);
  if (!old) {
    value = defaultValue;
    return;
  }
  value = 0xFF000000u | OldColorComponent(old->ChildValue("R")) << 16 | OldColorComponent(old->ChildValue("G")) << 8 |
          OldColorComponent(old->ChildValue("B"));
}
