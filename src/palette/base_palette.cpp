#include "palette/base_palette.h"

#include "colour/rgb_spaces.h"
#include "foundation/xml_persistence.h"

TBasePalette::TBasePalette() = default;

void TBasePalette::SetColorSettings(const TColorSettings* Settings) { FColorSettings = Settings; }

void TBasePalette::SetNumColors(int N) { FNumColors = N; }

void TBasePalette::Assign(const TBasePalette& Source) {
  FName = Source.FName;
  FColorSettings = Source.FColorSettings;
  FNumColors = Source.FNumColors;
  FContinuous = Source.FContinuous;
}

void TBasePalette::LoadSave(bool Load, TXmlNode& Node, int& ChildIndex) {
  // The type is written for a reader's information only: a load neither
  // reads it nor advances the child index for it.
  if (!Load) {
    int32_t type = FPaletteType;
    XMLReadWriteInteger(false, Node, ChildIndex, type, "PaletteType", 0);
  }
  int32_t numColors = FNumColors;
  XMLReadWriteInteger(Load, Node, ChildIndex, numColors, "PaletteNumColors", 100);
  FNumColors = numColors;
  XMLReadWriteBoolean(Load, Node, ChildIndex, FContinuous, "Continuous", true);
}

void TBasePalette::GetColor(bool /*AllowOutOfRange*/, TRGB& RGB, double /*t*/) const {
  RGB = TRGB{};
}

TColor TBasePalette::GetTColor(bool AllowOutOfRange, double t) const {
  TRGB rgb;
  GetColor(AllowOutOfRange, rgb, t);
  return RGBToColor(rgb);
}

void TBasePalette::GetIndexColor(int /*Index*/, TRGB& RGB) const { RGB = TRGB{}; }

TColor TBasePalette::GetIndexTColor(int Index) const {
  TRGB rgb;
  GetIndexColor(Index, rgb);
  return RGBToColor(rgb);
}
