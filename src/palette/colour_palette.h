#pragma once
// TColorPalette holds one palette of each kind (sequential, diverging,
// qualitative, custom) and selects the current one by type. The four are
// independent: switching the type back finds the earlier palette unchanged.
// Colours taken through the holder are always clamped to 0..255.

#include <memory>
#include <stdexcept>
#include <string>

#include "palette/custom_palette.h"
#include "palette/diverging_palette.h"
#include "palette/palette_types.h"
#include "palette/qualitative_palette.h"
#include "palette/sequential_palette.h"

// SetPaletteType with a type the holder has no palette for.
class EPaletteTypeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TColorPalette {
 public:
  // The four palettes with their defaults; the sequential one is current.
  TColorPalette();
  ~TColorPalette();

  // Copying is explicit: use Assign.
  TColorPalette(const TColorPalette&) = delete;
  TColorPalette& operator=(const TColorPalette&) = delete;

  // Each palette assigns from Source's palette of the same kind, then the
  // type follows Source's: an independent copy.
  void Assign(const TColorPalette& Source);
  // ptCustom, ptSeq, ptDiv or ptQual; anything else raises EPaletteTypeError
  // and changes nothing.
  void SetPaletteType(TPaletteType Value);

  TPaletteType Typ() const noexcept { return FTyp; }
  // The palette of kind Typ.
  TBasePalette& Current() noexcept { return *FCurrent; }
  const TBasePalette& Current() const noexcept { return *FCurrent; }

  // Typed access; each raises EAssertionFailed unless Typ is its kind.
  TCustomPalette& CustPal();
  const TCustomPalette& CustPal() const;
  TDivergingPalette& DivPal();
  const TDivergingPalette& DivPal() const;
  TQualitativePalette& QualPal();
  const TQualitativePalette& QualPal() const;
  TSequentialPalette& SeqPal();
  const TSequentialPalette& SeqPal() const;

  // Forwarders to Current; the colours are clamped to 0..255.
  void GetColor(double t, TRGB& RGB) const;
  TColor GetTColor(double t) const;
  void GetIndexColor(int Index, TRGB& RGB) const;
  TColor GetIndexTColor(int Index) const;
  int GetNumColors() const noexcept { return FCurrent->NumColors(); }
  const std::string& GetName() const noexcept { return FCurrent->Name(); }
  bool GetContinuous() const noexcept { return FCurrent->Continuous(); }

  // Fan-out to all four palettes (sequential, diverging, qualitative,
  // custom). SetContinuous stores the flag only; nothing is recomputed.
  void SetColorSettings(const TColorSettings* Settings);
  void SetNumColors(int N);
  void SetName(const std::string& Value);
  void SetContinuous(bool Value);

 private:
  TPaletteType FTyp = ptSeq;
  std::unique_ptr<TSequentialPalette> FSeqPal;
  std::unique_ptr<TDivergingPalette> FDivPal;
  std::unique_ptr<TQualitativePalette> FQualPal;
  std::unique_ptr<TCustomPalette> FCustPal;
  TBasePalette* FCurrent = nullptr;
};
