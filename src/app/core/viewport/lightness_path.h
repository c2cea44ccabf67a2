#pragma once
// The hue path through lightness that the view types "CIELuv_H* 2" and
// "CIELuv_H* full 2" take their hue from: a table of CIELUV LCh points in
// ascending L*, sampled from a sequential palette or taken from the keys of a
// custom palette, and the hue it gives at a lightness.

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "colour/colour_records.h"
#include "colour/colour_settings.h"

class TColorPalette;

// Slider values up to this take the path from a sequential palette, higher
// ones from a custom palette's keys.
inline constexpr double kPathSourceSwitch = 120.0;
inline constexpr int kPathSamples = 50;       // samples of a sequential palette
inline constexpr int kPathTableSize = 51;     // entries of a table from keys

struct TPathTable {
  // Ascending L*; only the first kPathSamples entries are searched.
  std::array<TLCh, kPathTableSize> Entries{};
};

// Sort comparator of records by their first double, descending: 1 when B's
// is greater, -1 when it is smaller, 0 when equal.
int CompareFirstDouble(const TLCh& A, const TLCh& B) noexcept;

// The path for slider value S from the first palette that supplies one, or
// none. S <= kPathSourceSwitch: the first sequential palette with colours,
// sampled at i / 49. Otherwise: the first custom palette with colours and
// keys; its keys sorted by ascending L* (keys of equal L* in reverse key
// order), the last one repeated to fill the table. Palettes may be null.
std::optional<TPathTable> BuildPathTable(double S, std::span<TColorPalette* const> Palettes,
                                         const TColorSettings* Settings);

// The table from key colours already in LCh: sorted with CompareFirstDouble
// (descending, stable) and reversed, so ascending L* with keys of equal L* in
// reverse key order; the first kPathTableSize entries, the last (lightest)
// repeated where there are fewer. Keys must not be empty.
TPathTable PathFromKeys(std::vector<TLCh> Keys);

// The hue of the path at lightness L: the first entry's below it, the 50th's
// above, interpolated on the short arc in between.
double PathHue(const TPathTable& Table, double L);
