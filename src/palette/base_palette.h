#pragma once
// The interface of every palette: a named mapping from a parameter t in
// [0, 1], or from a swatch index, to an RGB colour. The virtual operations
// are declared in one fixed order that all palette kinds share.

#include <string>

#include "colour/colour_records.h"
#include "colour/colour_settings.h"
#include "graphics/color_types.h"
#include "palette/palette_types.h"

class TXmlNode;

class TBasePalette {
 public:
  // A bare palette: type ptBase, no colours, default settings, empty name,
  // not continuous. Every colour it gives is black.
  TBasePalette();
  virtual ~TBasePalette() = default;

  // Copying a palette is explicit: use Assign.
  TBasePalette(const TBasePalette&) = delete;
  TBasePalette& operator=(const TBasePalette&) = delete;

  // Stores the settings pointer (not owned; null = defaults).
  virtual void SetColorSettings(const TColorSettings* Settings);
  virtual void SetNumColors(int N);
  // Copies Name, ColorSettings, NumColors and Continuous; PaletteType stays.
  virtual void Assign(const TBasePalette& Source);
  // Reads (Load) or appends (save) the keys "PaletteType" (save only),
  // "PaletteNumColors" and "Continuous" through the XML persistence helpers.
  virtual void LoadSave(bool Load, TXmlNode& Node, int& ChildIndex);
  // The colour at t in [0, 1]. AllowOutOfRange true gives a colour clamped
  // to 0..255; false lets the curve palettes give kOutOfGamutGrey instead of
  // a colour outside the gamut.
  virtual void GetColor(bool AllowOutOfRange, TRGB& RGB, double t) const;
  // GetColor, then RGBToColor (clamped and rounded).
  virtual TColor GetTColor(bool AllowOutOfRange, double t) const;
  // Swatch Index for 0 <= Index < NumColors; asks GetColor with
  // AllowOutOfRange true.
  virtual void GetIndexColor(int Index, TRGB& RGB) const;
  // GetIndexColor, then RGBToColor.
  virtual TColor GetIndexTColor(int Index) const;

  TPaletteType PaletteType() const noexcept { return FPaletteType; }
  int NumColors() const noexcept { return FNumColors; }
  const TColorSettings* ColorSettings() const noexcept { return FColorSettings; }

  // The name the main window gives the palette; the viewports decide what to
  // draw by it.
  const std::string& Name() const noexcept { return FName; }
  void SetName(const std::string& Value) { FName = Value; }

  // Read as continuous: a diverging mid point is then not snapped to the
  // swatch grid. Storing it recomputes nothing.
  bool Continuous() const noexcept { return FContinuous; }
  void SetContinuous(bool Value) noexcept { FContinuous = Value; }

 protected:
  explicit TBasePalette(TPaletteType Type) noexcept : FPaletteType(Type) {}

 private:
  TPaletteType FPaletteType = ptBase;
  int FNumColors = 0;
  const TColorSettings* FColorSettings = nullptr;
  std::string FName;
  bool FContinuous = false;
};
