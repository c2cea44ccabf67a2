#include "treemap/string_list.h"

#include <algorithm>

#include "foundation/assertion.h"

namespace {

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

size_t TDravolinHashedStringList::TCaseInsensitiveHash::operator()(std::string_view text) const noexcept {
  // FNV-1a over the lower-cased bytes.
  size_t hash = 1469598103934665603ull;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(LowerAscii(c));
    hash *= 1099511628211ull;
  }
  return hash;
}

bool TDravolinHashedStringList::TCaseInsensitiveEqual::operator()(std::string_view a,
                                                                  std::string_view b) const noexcept {
  return std::ranges::equal(a, b, [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

TDravolinHashedStringList& TDravolinHashedStringList::operator=(const TDravolinHashedStringList& other) {
  if (this != &other) {
    FStrings = other.FStrings;
    FIndex.clear();
    FIndexValid = false;
  }
  return *this;
}

const std::string& TDravolinHashedStringList::operator[](int index) const {
  RequireWith(index >= 0 && index < Count(),
              [index] { return "List index out of bounds (" + std::to_string(index) + ")"; });
  return FStrings[static_cast<size_t>(index)];
}

int TDravolinHashedStringList::Add(std::string text) {
  const int index = Count();
  FStrings.push_back(std::move(text));
  if (FIndexValid) FIndex.try_emplace(FStrings.back(), index);
  return index;
}

void TDravolinHashedStringList::Delete(int index) {
  RequireWith(index >= 0 && index < Count(),
              [index] { return "List index out of bounds (" + std::to_string(index) + ")"; });
  FStrings.erase(FStrings.begin() + index);
  FIndexValid = false;
}

void TDravolinHashedStringList::Clear() {
  FStrings.clear();
  FIndex.clear();
  FIndexValid = false;
}

void TDravolinHashedStringList::BuildIndex() const {
  FIndex.clear();
  FIndex.reserve(FStrings.size());
  for (size_t i = 0; i < FStrings.size(); ++i) FIndex.try_emplace(FStrings[i], static_cast<int>(i));
  FIndexValid = true;
}

int TDravolinHashedStringList::IndexOf(std::string_view text) const {
  if (!FIndexValid) BuildIndex();
  const auto found = FIndex.find(text);
  return found == FIndex.end() ? -1 : found->second;
}
