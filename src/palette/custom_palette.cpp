#include "palette/custom_palette.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "colour/cie_spaces.h"
#include "colour/colour_interpolation.h"
#include "colour/rgb_spaces.h"
#include "foundation/assertion.h"
#include "foundation/xml_node.h"
#include "foundation/xml_persistence.h"

namespace {

std::string KeyName(int Index, const char* Component) {
  return "Key_" + std::to_string(Index) + "_" + Component;
}

// "Key_<digits>_R", "_G" or "_B": a name a key component may have.
bool IsKeyComponentName(std::string_view name) {
  constexpr std::string_view kPrefix = "Key_";
  if (name.size() < kPrefix.size() + 3 || !name.starts_with(kPrefix)) return false;
  const std::string_view digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - 2);
  const std::string_view component = name.substr(name.size() - 2);
  return std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; }) &&
         (component == "_R" || component == "_G" || component == "_B");
}

// The number of Node's children named like a key component, counted up to Limit.
int CountKeyChildren(const TXmlNode& Node, int Limit) {
  int count = 0;
  for (int i = 0, n = Node.ChildCount(); i < n && count < Limit; ++i)
    if (IsKeyComponentName(Node.Child(i)->Name())) ++count;
  return count;
}

// HSV with the saturation averaged with the value as weight, so a blend
// towards black keeps the hue's saturation instead of greying.
TRGB InterpolateHSV(const TRGB& A, const TRGB& B, double f) {
  THSV a = RGBToHSV(A);
  THSV b = RGBToHSV(B);
  a.S = a.V / 255 * a.S;
  b.S = b.V / 255 * b.S;
  THSV mix;
  mix.H = InterpolateHue(f, a.H, b.H);
  mix.V = (1 - f) * a.V + f * b.V;
  mix.S = (1 - f) * a.S + f * b.S;
  mix.S = mix.V == 0 ? 0 : mix.S / (mix.V / 255);
  return HSVToRGB(mix);
}

}  // namespace

TCustomPalette::TCustomPalette() : TBasePalette(ptCustom) {}

void TCustomPalette::Assign(const TBasePalette& Source) {
  TBasePalette::Assign(Source);
  // From itself the keys stay: freeing them first would lose them.
  if (const auto* source = dynamic_cast<const TCustomPalette*>(&Source); source && source != this) {
    FKeys = source->FKeys;
    FInterpolationMethod = source->FInterpolationMethod;
  }
}

void TCustomPalette::LoadSave(bool Load, TXmlNode& Node, int& ChildIndex) {
  TBasePalette::LoadSave(Load, Node, ChildIndex);
  int32_t method = FInterpolationMethod;
  XMLReadWriteInteger(Load, Node, ChildIndex, method, "InterpolationMethod", imCIELUV);
  FInterpolationMethod = static_cast<uint8_t>(method & 0xFF);
  int32_t numKeys = GetKeyCount();
  XMLReadWriteInteger(Load, Node, ChildIndex, numKeys, "NumKeys", 0);
  if (Load) {
    // The count comes from the file: a key allocated for it must have a
    // child of its own, so a claimed count its children cannot fill costs
    // nothing. A sound element has three children per key.
    numKeys = numKeys < 0 ? 0 : CountKeyChildren(Node, numKeys);
    FKeys.assign(numKeys, TRGB{});
  }
  for (int i = 0; i < numKeys; ++i) {
    TRGB& key = FKeys[i];
    XMLReadWriteDouble(Load, Node, ChildIndex, key.R, KeyName(i, "R"), 0);
    XMLReadWriteDouble(Load, Node, ChildIndex, key.G, KeyName(i, "G"), 0);
    XMLReadWriteDouble(Load, Node, ChildIndex, key.B, KeyName(i, "B"), 0);
  }
}

void TCustomPalette::GetColor(bool /*AllowOutOfRange*/, TRGB& RGB, double t) const {
  const int k = GetKeyCount();
  if (k == 0 || NumColors() == 0) {
    RGB = TRGB{};
  } else if (k == 1 || NumColors() == 1 || !(t > 0)) {
    // !(t > 0) also takes a NaN t to the first key.
    RGB = FKeys.front();
  } else if (t >= 1) {
    RGB = FKeys.back();
  } else {
    // The keys are spread evenly over t, whatever NumColors is.
    const double x = (k - 1) * t;
    const double whole = std::floor(x);
    const int i = static_cast<int>(whole);
    RGB = Interpolate(FKeys[i], FKeys[i + 1], x - whole);
  }
}

TRGB TCustomPalette::Interpolate(const TRGB& A, const TRGB& B, double f) const {
  const TColorSettings* settings = ColorSettings();
  switch (FInterpolationMethod) {
    case imRGB:
      return LerpRGB(A, B, f);
    case imHLS:
      return InterpolateHSV(A, B, f);
    case imCIELCHuv:
      return LChToRGB(LerpLCh(RGBToLCh(A, settings), RGBToLCh(B, settings), f), settings);
    default: {
      // imCIELUV, imCIELUVStraight, and any unknown method read from a file.
      TLuv a, b;
      RGBToLuv(A, a.L, a.u, a.v, settings);
      RGBToLuv(B, b.L, b.u, b.v, settings);
      const TLuv mix = LerpLuv(a, b, f);
      return LuvToRGB(mix.L, mix.u, mix.v, settings);
    }
  }
}

void TCustomPalette::GetIndexColor(int Index, TRGB& RGB) const {
  const int n = NumColors();
  GetColor(true, RGB, n >= 2 ? static_cast<double>(Index) / (n - 1) : 0);
}

void TCustomPalette::RequireKeyIndex(int Index, TSourceLocation Where) const {
  if (Index < 0 || Index >= GetKeyCount())
    throw EAssertionFailed("Use a key Index in the possible range [0..GetKeyCount-1]", Where);
}

void TCustomPalette::GetKey(int Index, TRGB& RGB) const {
  RequireKeyIndex(Index);
  RGB = FKeys[Index];
}

void TCustomPalette::SetKey(int Index, const TRGB& RGB) {
  RequireKeyIndex(Index);
  FKeys[Index] = RGB;
}

void TCustomPalette::AddKey(const TRGB& RGB) { FKeys.push_back(RGB); }

void TCustomPalette::AddKey(TColor Color) { FKeys.push_back(ColorToRGB(Color)); }

void TCustomPalette::CopyKeys(const TCustomPalette& Source) {
  // Copy first: Source may be this palette.
  const std::vector<TRGB> keys = Source.FKeys;
  FKeys.insert(FKeys.end(), keys.begin(), keys.end());
}

void TCustomPalette::DeleteKey(int Index) {
  RequireKeyIndex(Index);
  FKeys.erase(FKeys.begin() + Index);
}

void TCustomPalette::ClearKeys() noexcept { FKeys.clear(); }
