#include "app/core/window/brewer_selection.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "app/core/window/typed_numbers.h"

namespace {

bool TypePasses(TPaletteType Filter, const TColorPalette& Scheme) {
  return Filter == 0 || BrewerSchemeType(Scheme.GetName()) == Filter;
}

bool NamePasses(std::string_view Filter, const TColorPalette& Scheme) {
  return Filter == kBrewerAll || BrewerStrippedName(Scheme.GetName()) == Filter;
}

}  // namespace

TBrewerSelection SelectBrewerSchemes(const TBrewerSchemes& Schemes, const TBrewerFilter& Previous,
                                     const TBrewerComboState& Combos) {
  TBrewerSelection result;
  TBrewerFilter& f = result.Filter;
  f.Type = BrewerTypeFromIndex(Combos.TypeIndex);
  f.NumColors = Combos.NumColorsText == kBrewerAll ? -1 : StrToInt(Combos.NumColorsText);
  f.Name = Combos.NameText;

  const bool typeChanged = f.Type != Previous.Type;
  bool nameChanged = false;
  if (typeChanged) {
    nameChanged = true;
    f.Name = kBrewerAll;
  }
  const bool numberChanged = f.NumColors != Previous.NumColors;
  if (f.Name != Previous.Name) nameChanged = true;

  // Count range of the schemes of this type and name.
  int lo = INT_MAX;
  int hi = -INT_MAX;
  if (typeChanged || nameChanged) {
    for (const auto& scheme : Schemes) {
      if (!TypePasses(f.Type, *scheme) || !NamePasses(f.Name, *scheme)) continue;
      lo = std::min(lo, scheme->GetNumColors());
      hi = std::max(hi, scheme->GetNumColors());
    }
    if (f.NumColors != -1) {
      if (lo > hi)
        f.NumColors = -1;  // nothing matches: a count would select nothing
      else if (f.NumColors < lo)
        f.NumColors = lo;
      else if (f.NumColors > hi)
        f.NumColors = hi;
    }
  }

  if (typeChanged || numberChanged) {
    result.RebuildNames = true;
    result.NameItems.push_back(kBrewerAll);
  }
  if (typeChanged || nameChanged) {
    result.RebuildNumbers = true;
    result.NumberItems.push_back(kBrewerAll);
    // 64-bit so that a range ending at INT_MAX still terminates.
    for (int64_t n = lo; n <= hi; ++n) result.NumberItems.push_back(std::to_string(n));
  }

  for (const auto& scheme : Schemes) {
    if (!TypePasses(f.Type, *scheme)) continue;
    if (f.NumColors != -1 && scheme->GetNumColors() != f.NumColors) continue;
    const std::string_view stripped = BrewerStrippedName(scheme->GetName());
    // The sizes of one scheme follow each other: list its name once.
    if (result.RebuildNames && result.NameItems.back() != stripped)
      result.NameItems.emplace_back(stripped);
    if (NamePasses(f.Name, *scheme)) result.Filtered.push_back(scheme.get());
  }

  result.TypeIndex = BrewerIndexFromType(f.Type);
  result.NameText = f.Name;
  result.NumberText = f.NumColors == -1 ? std::string(kBrewerAll) : std::to_string(f.NumColors);
  return result;
}
