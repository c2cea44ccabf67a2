#pragma once
// A palette interpolated between key colours spread evenly over t, by one of
// five interpolation methods. The keys are the palette's own copies; colours
// are not clamped (keys loaded outside 0..255 stay as loaded).

#include <cstdint>
#include <vector>

#include "foundation/assertion.h"
#include "palette/base_palette.h"

// InterpolationMethod values, with their names in the main window's list.
inline constexpr uint8_t imRGB = 0;          // "RGB": linear in RGB
inline constexpr uint8_t imHLS = 1;          // "HLS": in HSV, saturation weighted by value
inline constexpr uint8_t imCIELUV = 2;       // "CIELUV": linear in CIELUV
inline constexpr uint8_t imCIELCHuv = 3;     // "CIELCH_uv": LCh, hue the short way round
inline constexpr uint8_t imCIELUVStraight = 4;  // "CIELUV (straight)": as CIELUV, drawn straight

class TCustomPalette : public TBasePalette {
 public:
  // No keys, no colours, method CIELUV.
  TCustomPalette();

  // From a custom palette also the keys (replacing the own ones) and the
  // interpolation method.
  void Assign(const TBasePalette& Source) override;
  // Base keys, then "InterpolationMethod", "NumKeys" and "Key_<i>_R/G/B".
  // A load replaces the keys: "NumKeys" of them (none for a negative count),
  // a missing component being 0, but never more than the element has
  // children named "Key_<digits>_R/G/B", so a count its children cannot
  // fill allocates nothing beyond them.
  void LoadSave(bool Load, TXmlNode& Node, int& ChildIndex) override;
  // AllowOutOfRange is not used.
  void GetColor(bool AllowOutOfRange, TRGB& RGB, double t) const override;
  // Index / (NumColors - 1); with one colour or none, key 0 (or black).
  void GetIndexColor(int Index, TRGB& RGB) const override;

  int GetKeyCount() const noexcept { return static_cast<int>(FKeys.size()); }
  // Key operations take 0 <= Index < GetKeyCount.
  void GetKey(int Index, TRGB& RGB) const;
  void SetKey(int Index, const TRGB& RGB);
  void AddKey(const TRGB& RGB);
  void AddKey(TColor Color);
  // Appends a copy of each of Source's keys, in order.
  void CopyKeys(const TCustomPalette& Source);
  // Later keys move down by one.
  void DeleteKey(int Index);
  void ClearKeys() noexcept;

  // 0..4 (imRGB .. imCIELUVStraight); a loaded value above 4 interpolates
  // as imCIELUV.
  uint8_t InterpolationMethod() const noexcept { return FInterpolationMethod; }
  void SetInterpolationMethod(uint8_t Value) noexcept { FInterpolationMethod = Value; }

 private:
  void RequireKeyIndex(int Index,
                       TSourceLocation Where = TSourceLocation::current()) const;
  TRGB Interpolate(const TRGB& A, const TRGB& B, double f) const;

  std::vector<TRGB> FKeys;
  uint8_t FInterpolationMethod = imCIELUV;
};
