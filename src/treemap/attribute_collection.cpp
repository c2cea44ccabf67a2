#include "treemap/attribute_collection.h"

#include <algorithm>

namespace {

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameTextAscii(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

constexpr bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr bool IsIdentifierChar(char c) { return IsLetter(c) || (c >= '0' && c <= '9') || c == '_'; }

TAttributeDescriptor* FindByName(const TDravolinAttributes& collection, std::string_view name) {
  const size_t count = std::min(collection.Descriptors.size(), static_cast<size_t>(std::max(collection.Count, 0)));
  for (size_t i = 0; i < count; ++i) {
    TAttributeDescriptor* descriptor = collection.Descriptors[i].get();
    if (descriptor && SameTextAscii(descriptor->Name, name)) return descriptor;
  }
  return nullptr;
}

}  // namespace

TAttributeDescriptor* TDravolinAttributes::Add(std::unique_ptr<TAttributeDescriptor> descriptor) {
  Descriptors.push_back(std::move(descriptor));
  Count = static_cast<int32_t>(Descriptors.size());
  return Descriptors.back().get();
}

TAttributeDescriptor* FindAttributeByVariant(const TDravolinAttributes& collection, std::string_view key) {
  if (TAttributeDescriptor* found = FindByName(collection, key)) return found;
  return FindByName(collection, MakeValidIdentifier(key));
}

TAttributeDescriptor* FindAttributeByVariant(const TDravolinAttributes& collection, int64_t index) {
  if (index < 0 || index >= static_cast<int64_t>(collection.Descriptors.size())) return nullptr;
  return collection.Descriptors[static_cast<size_t>(index)].get();
}

std::string MakeValidIdentifier(std::string_view text) {
  if (text.empty()) return "A";
  std::string result;
  result.reserve(text.size() + 1);
  if (!IsLetter(text.front())) result += 'A';
  for (const char c : text) result += IsIdentifierChar(c) ? c : '_';
  return result;
}
