#pragma once
// The filters of the "Brewer" tab: which schemes pass the type, colour-count
// and name filters, and what the three filter combos list and select. Pure
// logic; the main window applies the result to its combos and viewports.

#include <string>
#include <string_view>
#include <vector>

#include "app/core/window/brewer_schemes.h"

inline constexpr char kBrewerAll[] = "All";

// Type combo: index 0 "All", 1 "Sequential", 2 "Diverging", 3 "Qualitative".
constexpr TPaletteType BrewerTypeFromIndex(int Index) noexcept {
  constexpr TPaletteType kTypes[] = {0, ptSeq, ptDiv, ptQual};
  return Index >= 0 && Index < 4 ? kTypes[Index] : TPaletteType{0};
}
constexpr int BrewerIndexFromType(TPaletteType Type) noexcept {
  for (int i = 0; i < 4; ++i)
    if (BrewerTypeFromIndex(i) == Type) return i;
  return 0;
}

// BrewerType (0 = all), BrewerNumColors (-1 = all), BrewerName ("All" = all).
struct TBrewerFilter {
  TPaletteType Type = 0;
  int NumColors = -1;
  std::string Name = kBrewerAll;
  bool operator==(const TBrewerFilter&) const = default;
};

// What the combos currently show.
struct TBrewerComboState {
  int TypeIndex = 0;            // selected index of the type combo
  std::string NumColorsText;    // text of the number combo: "All" or a count
  std::string NameText;         // text of the name combo
};

struct TBrewerSelection {
  TBrewerFilter Filter;         // the new filters
  // When set, the combo's items are replaced by these (each starts with "All").
  bool RebuildNames = false;
  std::vector<std::string> NameItems;
  bool RebuildNumbers = false;
  std::vector<std::string> NumberItems;
  // The passing schemes in file order (references into the scheme list).
  std::vector<TColorPalette*> Filtered;
  // Selections to show without firing change handlers: the type combo's
  // index, the name item equal to NameText (none when no item is), the
  // number item equal to NumberText.
  int TypeIndex = 0;
  std::string NameText;
  std::string NumberText;
};

// Applies the combos to the previous filters. A changed type resets the name
// to "All". After a type or name change the count range is that of the
// schemes of the type and name: a count filter is moved into it, or set to
// "All" when no scheme matches, and the number list becomes "All" and every
// count of the range. After a type or count change the name list becomes
// "All" and the names of the schemes of that type and count, each once.
// A number text other than "All" that is not an integer raises EConvertError.
TBrewerSelection SelectBrewerSchemes(const TBrewerSchemes& Schemes, const TBrewerFilter& Previous,
                                     const TBrewerComboState& Combos);
