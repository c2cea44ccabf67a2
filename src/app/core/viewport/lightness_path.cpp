#include "app/core/viewport/lightness_path.h"

#include <algorithm>
#include <vector>

#include "colour/cie_spaces.h"
#include "colour/colour_interpolation.h"
#include "foundation/assertion.h"
#include "palette/colour_palette.h"

namespace {

std::optional<TPathTable> FromSequential(const TSequentialPalette& palette,
                                         const TColorSettings* Settings) {
  TPathTable table;
  for (int i = 0; i < kPathSamples; ++i) {
    TRGB rgb;
    palette.GetColor(true, rgb, static_cast<double>(i) / (kPathSamples - 1));
    table.Entries[i] = RGBToLCh(rgb, Settings);
  }
  table.Entries[kPathSamples] = table.Entries[kPathSamples - 1];
  return table;
}

std::optional<TPathTable> FromKeys(const TCustomPalette& palette, const TColorSettings* Settings) {
  std::vector<TLCh> keys(palette.GetKeyCount());
  for (int i = 0; i < palette.GetKeyCount(); ++i) {
    TRGB rgb;
    palette.GetKey(i, rgb);
    keys[i] = RGBToLCh(rgb, Settings);
  }
  return PathFromKeys(std::move(keys));
}

}  // namespace

TPathTable PathFromKeys(std::vector<TLCh> Keys) {
  Require(!Keys.empty(), "a path needs at least one key");
  // Descending by L*, then reversed: a stable sort keeps keys of equal L* in
  // key order, so after the reversal they run in reverse key order.
  std::stable_sort(Keys.begin(), Keys.end(),
                   [](const TLCh& a, const TLCh& b) { return CompareFirstDouble(a, b) < 0; });
  std::reverse(Keys.begin(), Keys.end());
  TPathTable table;
  for (int i = 0; i < kPathTableSize; ++i) table.Entries[i] = Keys[std::min<size_t>(i, Keys.size() - 1)];
  return table;
}

int CompareFirstDouble(const TLCh& A, const TLCh& B) noexcept {
  if (B.L > A.L) return 1;
  if (B.L < A.L) return -1;
  return 0;
}

std::optional<TPathTable> BuildPathTable(double S, std::span<TColorPalette* const> Palettes,
                                         const TColorSettings* Settings) {
  for (const TColorPalette* p : Palettes) {
    if (p == nullptr) continue;
    if (S <= kPathSourceSwitch) {
      if (p->Typ() == ptSeq && p->SeqPal().NumColors() > 0) return FromSequential(p->SeqPal(), Settings);
    } else if (p->Typ() == ptCustom && p->CustPal().NumColors() > 0 && p->CustPal().GetKeyCount() > 0) {
      return FromKeys(p->CustPal(), Settings);
    }
  }
  return std::nullopt;
}

double PathHue(const TPathTable& Table, double L) {
  const auto& e = Table.Entries;
  int i = 0;
  while (i < kPathSamples && !(L <= e[i].L)) ++i;
  if (i == 0) return e[0].h;
  if (i == kPathSamples) return e[kPathSamples - 1].h;
  const double t = (L - e[i - 1].L) / (e[i].L - e[i - 1].L);
  return InterpolateHue(t, e[i - 1].h, e[i].h);
}
