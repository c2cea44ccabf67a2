#pragma once
// TDravolinHashedStringList: an unsorted list of strings with fast lookups
// that ignore ASCII letter case. IndexOf answers the first position of a
// text; the lookup index is kept up to date by Add and rebuilt on demand
// after other changes.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TDravolinHashedStringList {
 public:
  TDravolinHashedStringList() = default;
  TDravolinHashedStringList(const TDravolinHashedStringList& other) : FStrings(other.FStrings) {}
  TDravolinHashedStringList& operator=(const TDravolinHashedStringList& other);

  int Count() const { return static_cast<int>(FStrings.size()); }
  // The string at 0 <= Index < Count (EAssertionFailed otherwise).
  const std::string& operator[](int index) const;
  const std::vector<std::string>& Strings() const { return FStrings; }

  // Appends Text; returns its position.
  int Add(std::string text);
  void Delete(int index);
  void Clear();
  // The first position of Text, letter case ignored; -1 when absent.
  int IndexOf(std::string_view text) const;
  bool Contains(std::string_view text) const { return IndexOf(text) != -1; }

 private:
  struct TCaseInsensitiveHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const noexcept;
  };
  struct TCaseInsensitiveEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept;
  };
  using TIndex = std::unordered_map<std::string, int, TCaseInsensitiveHash, TCaseInsensitiveEqual>;

  void BuildIndex() const;

  std::vector<std::string> FStrings;
  mutable TIndex FIndex;
  mutable bool FIndexValid = false;
};
