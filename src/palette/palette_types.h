#pragma once
// Palette type values (the `PaletteType` of every palette and the `Typ` of a
// palette holder) and the grey that stands for a colour outside the gamut.

#include <cstdint>

#include "colour/colour_records.h"

using TPaletteType = uint8_t;

// A bare TBasePalette. The quantitative value is never seen on a finished
// palette: TQuantitativePalette is abstract.
inline constexpr TPaletteType ptBase = 1;
inline constexpr TPaletteType ptQuantitative = 2;
inline constexpr TPaletteType ptCustom = 3;
inline constexpr TPaletteType ptSeq = 4;
inline constexpr TPaletteType ptDiv = 5;
inline constexpr TPaletteType ptQual = 6;

// What the sequential and diverging palettes give for a colour outside the
// gamut when out-of-range colours are not allowed; the same grey as the
// viewports' background.
inline constexpr TRGB kOutOfGamutGrey{102, 102, 102};
