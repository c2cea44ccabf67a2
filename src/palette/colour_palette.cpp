#include "palette/colour_palette.h"

#include "colour/rgb_spaces.h"
#include "foundation/assertion.h"

TColorPalette::TColorPalette()
    : FSeqPal(std::make_unique<TSequentialPalette>()),
      FDivPal(std::make_unique<TDivergingPalette>()),
      FQualPal(std::make_unique<TQualitativePalette>()),
      FCustPal(std::make_unique<TCustomPalette>()) {
  SetPaletteType(ptSeq);
}

TColorPalette::~TColorPalette() = default;

void TColorPalette::Assign(const TColorPalette& Source) {
  if (&Source == this) return;
  FSeqPal->Assign(*Source.FSeqPal);
  FDivPal->Assign(*Source.FDivPal);
  FQualPal->Assign(*Source.FQualPal);
  FCustPal->Assign(*Source.FCustPal);
  SetPaletteType(Source.FTyp);
}

void TColorPalette::SetPaletteType(TPaletteType Value) {
  TBasePalette* current = nullptr;
  switch (Value) {
    case ptCustom: current = FCustPal.get(); break;
    case ptSeq: current = FSeqPal.get(); break;
    case ptDiv: current = FDivPal.get(); break;
    case ptQual: current = FQualPal.get(); break;
    default:
      throw EPaletteTypeError(
          "SetPaletteType is called with an unsupported palette type (use only ptSeq, ptDiv or "
          "ptQual)");
  }
  FTyp = Value;
  FCurrent = current;
}

TCustomPalette& TColorPalette::CustPal() {
  Require(FTyp == ptCustom, ".CustPal can only be used if the palette type (.Typ) is ptCustom");
  return *FCustPal;
}

const TCustomPalette& TColorPalette::CustPal() const {
  Require(FTyp == ptCustom, ".CustPal can only be used if the palette type (.Typ) is ptCustom");
  return *FCustPal;
}

TDivergingPalette& TColorPalette::DivPal() {
  Require(FTyp == ptDiv, ".DivPal can only be used if the palette type (.Typ) is ptDiv");
  return *FDivPal;
}

const TDivergingPalette& TColorPalette::DivPal() const {
  Require(FTyp == ptDiv, ".DivPal can only be used if the palette type (.Typ) is ptDiv");
  return *FDivPal;
}

TQualitativePalette& TColorPalette::QualPal() {
  Require(FTyp == ptQual, ".QualPal can only be used if the palette type (.Typ) is ptQual");
  return *FQualPal;
}

const TQualitativePalette& TColorPalette::QualPal() const {
  Require(FTyp == ptQual, ".QualPal can only be used if the palette type (.Typ) is ptQual");
  return *FQualPal;
}

TSequentialPalette& TColorPalette::SeqPal() {
  Require(FTyp == ptSeq, ".SeqPal can only be used if the palette type (.Typ) is ptSeq");
  return *FSeqPal;
}

const TSequentialPalette& TColorPalette::SeqPal() const {
  Require(FTyp == ptSeq, ".SeqPal can only be used if the palette type (.Typ) is ptSeq");
  return *FSeqPal;
}

// The qualitative and custom palettes give unclamped colours of their own;
// the holder clamps them (without greying) so every colour it gives lies in
// 0..255.
void TColorPalette::GetColor(double t, TRGB& RGB) const {
  FCurrent->GetColor(true, RGB, t);
  RGB = ClampRGB(RGB);
}

TColor TColorPalette::GetTColor(double t) const { return FCurrent->GetTColor(true, t); }

void TColorPalette::GetIndexColor(int Index, TRGB& RGB) const {
  FCurrent->GetIndexColor(Index, RGB);
  RGB = ClampRGB(RGB);
}

TColor TColorPalette::GetIndexTColor(int Index) const { return FCurrent->GetIndexTColor(Index); }

void TColorPalette::SetColorSettings(const TColorSettings* Settings) {
  FSeqPal->SetColorSettings(Settings);
  FDivPal->SetColorSettings(Settings);
  FQualPal->SetColorSettings(Settings);
  FCustPal->SetColorSettings(Settings);
}

void TColorPalette::SetNumColors(int N) {
  FSeqPal->SetNumColors(N);
  FDivPal->SetNumColors(N);
  FQualPal->SetNumColors(N);
  FCustPal->SetNumColors(N);
}

void TColorPalette::SetName(const std::string& Value) {
  FSeqPal->SetName(Value);
  FDivPal->SetName(Value);
  FQualPal->SetName(Value);
  FCustPal->SetName(Value);
}

void TColorPalette::SetContinuous(bool Value) {
  FSeqPal->SetContinuous(Value);
  FDivPal->SetContinuous(Value);
  FQualPal->SetContinuous(Value);
  FCustPal->SetContinuous(Value);
}
