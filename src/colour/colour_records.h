#pragma once
// The plain colour records that travel through the colour code. Components
// are never clamped on construction: a value outside its range is how a
// colour outside the RGB gamut shows.

// RGB on a 0..255 scale; a component below 0 or above 255 lies outside the gamut.
struct TRGB {
  double R = 0, G = 0, B = 0;
  bool operator==(const TRGB&) const = default;
};

// HSV: hue in degrees, value (the largest component) and saturation on 0..255.
// V comes before S.
struct THSV {
  double H = 0, V = 0, S = 0;
  bool operator==(const THSV&) const = default;
};

// HLS: hue in degrees, lightness and saturation on 0..255.
struct THLS {
  double H = 0, L = 0, S = 0;
  bool operator==(const THLS&) const = default;
};

// CIELUV: L* (0..100 for real colours), u*, v*.
struct TLuv {
  double L = 0, u = 0, v = 0;
  bool operator==(const TLuv&) const = default;
};

// CIELUV in polar form: L*, chroma C*uv >= 0, hue h in degrees in [0, 360).
struct TLCh {
  double L = 0, C = 0, h = 0;
  bool operator==(const TLCh&) const = default;
};
