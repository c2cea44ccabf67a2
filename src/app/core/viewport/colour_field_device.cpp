// The colour fields of the HLS, HSV, RGB and opponent-space view types
// (10..21).
#include "app/core/viewport/colour_field_internal.h"

#include <array>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "app/core/viewport/fast_atan2.h"
#include "app/core/viewport/field_pixels.h"
#include "colour/hsv_hls_rows.h"
#include "colour/rgb_spaces.h"
#include "foundation/assertion.h"

namespace colour_field_internal {
namespace {

// --- HLS and HSV ----------------------------------------------------------------

// The HLS rule: display saturation Sd is the model saturation times f.
template <bool ShowAll>
void HLSPixel(TColor32* px, double H, double L, double Sd, double f) {
  if (f == 0 && Sd != 0) return TDeviceWriter<ShowAll>::OutOfGamut(px);
  TDeviceWriter<ShowAll>::Write(px, colour_rows::HLSToRGB(H, L, f == 0 ? Sd : Sd / f));
}

template <bool ShowAll>
void HSVPixel(TColor32* px, double H, double V, double Sd, double f) {
  if (f == 0 && Sd != 0) return TDeviceWriter<ShowAll>::OutOfGamut(px);
  TDeviceWriter<ShowAll>::Write(px, colour_rows::HSVToRGB(H, V, f == 0 ? Sd : Sd / f));
}

// 10 "HLS_H": display saturation 0..510 across, lightness down, H = S.
template <bool ShowAll>
void RenderHLSHue(TBitmap32& bmp, const TContext& c) {
  Sweep(
      bmp, c, [&](int x) { return c.X(x) * 510; },
      [&](int y) {
        const double L = (1 - c.Y(y)) * 255;
        return TLevelFactor{L, HLSFactor(L)};
      },
      [&](TColor32* px, double Sd, TLevelFactor row) { HLSPixel<ShowAll>(px, c.S, row.Level, Sd, row.F); });
}

// 12 "HLS_S": hue across, lightness down, display saturation = S.
template <bool ShowAll>
void RenderHLSSaturation(TBitmap32& bmp, const TContext& c) {
  Sweep(
      bmp, c, [&](int x) { return c.X(x) * 360; },
      [&](int y) {
        const double L = (1 - c.Y(y)) * 255;
        return TLevelFactor{L, HLSFactor(L)};
      },
      [&](TColor32* px, double H, TLevelFactor row) { HLSPixel<ShowAll>(px, H, row.Level, c.S, row.F); });
}

// 13 "HSV_H": display saturation 0..255 across, value down, H = S.
template <bool ShowAll>
void RenderHSVHue(TBitmap32& bmp, const TContext& c) {
  Sweep(
      bmp, c, [&](int x) { return c.X(x) * 255; },
      [&](int y) {
        const double V = (1 - c.Y(y)) * 255;
        return TLevelFactor{V, V / 255};
      },
      [&](TColor32* px, double Sd, TLevelFactor row) { HSVPixel<ShowAll>(px, c.S, row.Level, Sd, row.F); });
}

// 14 "HSV_S": hue across, value down, display saturation = S.
template <bool ShowAll>
void RenderHSVSaturation(TBitmap32& bmp, const TContext& c) {
  Sweep(
      bmp, c, [&](int x) { return c.X(x) * 360; },
      [&](int y) {
        const double V = (1 - c.Y(y)) * 255;
        return TLevelFactor{V, V / 255};
      },
      [&](TColor32* px, double H, TLevelFactor row) { HSVPixel<ShowAll>(px, H, row.Level, c.S, row.F); });
}

// 11 "HLS_L" and 15 "HSV_V": a disc of hue (angle) and display saturation
// (radius) at lightness or value S.
//
// Faster than the formulas, with the same pixels but in a rare case: the
// angle is computed for the top-left quarter only, with a table arctangent,
// and mirrored into the other three (the mirrored x' and y' equal the
// negated ones to within an ulp), and it goes to turns directly; the hue
// thus differs from the formulas' by a few ulps at most.
// Without ShowAll a pixel whose saturation alone puts it outside the gamut
// skips the colour: every HLS colour has one component at each of the levels
// m1 and m2, and every HSV colour one at p, whatever the hue.
// The saturation terms of one disc row, in a loop of their own so that the
// square roots and divisions run two at a time: display saturation Sd,
// model saturation Sd / f, and for HLS the levels m1 and m2 of HLSToRGB
// (by the colour library, a row at a time). Every operation is the scalar
// one (IEEE, correctly rounded), in the same order, so the values are those
// of the per-pixel formulas.
struct TDiscRow {
  std::vector<double> Sd, Saturation, M1, M2;
  explicit TDiscRow(int width) : Sd(width), Saturation(width), M1(width), M2(width) {}
};

void DiscRowTerms(const std::vector<double>& xds, double yd, double f, double L, bool hls, TDiscRow& row) {
  const int n = static_cast<int>(xds.size());
  const double yy = yd * yd;
  int x = 0;
#ifdef __SSE2__
  const __m128d k255 = _mm_set1_pd(255.0), kF = _mm_set1_pd(f), kYY = _mm_set1_pd(yy);
  for (; x + 1 < n; x += 2) {
    const __m128d xd = _mm_loadu_pd(&xds[x]);
    const __m128d sd = _mm_mul_pd(k255, _mm_sqrt_pd(_mm_add_pd(_mm_mul_pd(xd, xd), kYY)));
    _mm_storeu_pd(&row.Sd[x], sd);
    _mm_storeu_pd(&row.Saturation[x], _mm_div_pd(sd, kF));
  }
#endif
  for (; x < n; ++x) {
    row.Sd[x] = 255 * std::sqrt(xds[x] * xds[x] + yy);
    row.Saturation[x] = row.Sd[x] / f;
  }
  if (hls) colour_rows::HLSLevelsRow(L, row.Saturation, row.M1, row.M2);
}

template <bool ShowAll, bool HSV>
void RenderDisc(TBitmap32& bmp, const TContext& c) {
  using namespace colour_rows;
  const double f = HSV ? c.S / 255 : HLSFactor(c.S);
  const TFastAtan2 atan2;
  const int cx = (c.W - 1) / 2;  // the last column of the left half
  const int cy = (c.H - 1) / 2;
  std::vector<double> xds(c.W), turns(cx + 1);
  for (int x = 0; x < c.W; ++x) xds[x] = (c.X(x) - 0.5) * 2;
  TDiscRow terms(c.W);

  for (int y = 0; y <= cy; ++y) {
    const double yd = (0.5 - c.Y(y)) * 2;  // >= 0
    for (int x = 0; x <= cx; ++x) turns[x] = atan2(yd, xds[x]) * (1 / kTwoPi);  // 0.25..0.5
    const int rows[2] = {y, c.H - 1 - y};  // the row and its mirror (the same in the middle)
    for (int k = 0; k < (rows[1] == y ? 1 : 2); ++k) {
      const bool bottom = k == 1;
      // The radius exactly as the formulas have it (not mirrored): saturations
      // on exact halves are common, and an ulp would round them the other way.
      DiscRowTerms(xds, (0.5 - c.Y(rows[k])) * 2, f, c.S, !HSV, terms);
      TColor32* line = bmp.ScanLine(rows[k]);
      for (int x = 0; x < c.W; ++x) {
        TColor32* px = line + x;
        const double Sd = terms.Sd[x];
        if (f == 0 || Sd == 0) {
          // The centre is grey; away from it a factor of 0 leaves no colour.
          if (Sd != 0) {
            TDeviceWriter<ShowAll>::OutOfGamut(px);
          } else {
            TDeviceWriter<ShowAll>::Write(px, HSV ? HSVToRGB(0, c.S, 0) : HLSToRGB(0, c.S, 0));
          }
          continue;
        }
        const bool right = x > cx;
        const int q = right ? c.W - 1 - x : x;
        double t = right ? 0.5 - turns[q] : turns[q];  // top half: 0..0.5
        if (bottom && t != 0) t = 1 - t;
        const double saturation = terms.Saturation[x];
        if constexpr (HSV) {
          if (!ShowAll && Round(HSVLowLevel(c.S, saturation)) < 0) continue;
          TDeviceWriter<ShowAll>::Write(px, HSVFromSixths(t * 6, c.S, saturation));
        } else {
          const double m1 = terms.M1[x], m2 = terms.M2[x];
          if (!ShowAll && (Round(m2) > 255 || Round(m1) < 0)) continue;
          TDeviceWriter<ShowAll>::Write(px, HLSFromTurns(t, m1, m2));
        }
      }
    }
  }
}

// --- RGB ------------------------------------------------------------------------

// 16..18: two channels grow by repeated addition of 255 / (W - 1), starting
// from minus one step, across and down; the third is S.
template <bool ShowAll, TViewType ViewType>
void RenderRGBPlane(TBitmap32& bmp, const TContext& c) {
  const double step = 255.0 / (c.W - 1);
  std::vector<double> rows(c.H);
  double v = -step;
  for (int y = 0; y < c.H; ++y) rows[y] = v += step;
  double across = -step;
  Sweep(
      bmp, c, [&](int) { return across += step; }, [&](int y) { return rows[y]; },
      [&](TColor32* px, double a, double d) {
        if constexpr (ViewType == vtRGB_R) {
          TDeviceWriter<ShowAll>::Write(px, {c.S, a, d});
        } else if constexpr (ViewType == vtRGB_G) {
          TDeviceWriter<ShowAll>::Write(px, {a, c.S, d});
        } else {
          TDeviceWriter<ShowAll>::Write(px, {a, d, c.S});
        }
      });
}

// --- Opponent space ---------------------------------------------------------------

template <bool ShowAll>
void OpponentPixel(TColor32* px, double I, double RG, double YB) {
  TRGB rgb;
  OpponentToRGB(I, RG, YB, rgb.R, rgb.G, rgb.B);
  TDeviceWriter<ShowAll>::Write(px, rgb);
}

// 19 "RGB_L": the opponent plane at intensity S.
template <bool ShowAll>
void RenderOpponentPlane(TBitmap32& bmp, const TContext& c) {
  Sweep(
      bmp, c, [&](int x) { return (c.X(x) - 0.5) * 200; }, [&](int y) { return (0.5 - c.Y(y)) * 200; },
      [&](TColor32* px, double RG, double YB) { OpponentPixel<ShowAll>(px, c.S, RG, YB); });
}

// 20 "RGB_S": hue across, intensity down, chroma S.
template <bool ShowAll>
void RenderOpponentChroma(TBitmap32& bmp, const TContext& c) {
  Sweep(
      bmp, c, [&](int x) { return Direction(c.X(x) * 360 / 360 * kTwoPi, c.S); },
      [&](int y) { return (1 - c.Y(y)) * 100; },
      [&](TColor32* px, TPair d, double I) { OpponentPixel<ShowAll>(px, I, d.A, d.B); });
}

// 21 "RGB_H": the opponent hue line at hue S, intensity down.
template <bool ShowAll>
void RenderOpponentHueLine(TBitmap32& bmp, const TContext& c) {
  const TPair dir = Direction(c.S / 360 * kTwoPi, 100);
  Sweep(
      bmp, c,
      [&](int x) {
        const double t = (c.X(x) - 0.5) * 2;
        return TPair{t * dir.A, t * dir.B};
      },
      [&](int y) { return (1 - c.Y(y)) * 100; },
      [&](TColor32* px, TPair d, double I) { OpponentPixel<ShowAll>(px, I, d.A, d.B); });
}

template <bool ShowAll>
constexpr std::array<TRenderFn, 12> kDeviceRenderers = {
    &RenderHLSHue<ShowAll>,  // 10
    &RenderDisc<ShowAll, false>,  // 11
    &RenderHLSSaturation<ShowAll>,  // 12
    &RenderHSVHue<ShowAll>,  // 13
    &RenderHSVSaturation<ShowAll>,  // 14
    &RenderDisc<ShowAll, true>,  // 15
    &RenderRGBPlane<ShowAll, vtRGB_R>,  // 16
    &RenderRGBPlane<ShowAll, vtRGB_G>,  // 17
    &RenderRGBPlane<ShowAll, vtRGB_B>,  // 18
    &RenderOpponentPlane<ShowAll>,  // 19
    &RenderOpponentChroma<ShowAll>,  // 20
    &RenderOpponentHueLine<ShowAll>,  // 21
};

}  // namespace

TRenderFn DeviceRenderer(TViewType ViewType, bool ShowAll) {
  Require(ViewType >= vtHLS_H && ViewType < kNumViewTypes, "not a device view type");
  const int i = ViewType - vtHLS_H;
  return ShowAll ? kDeviceRenderers<true>[i] : kDeviceRenderers<false>[i];
}

}  // namespace colour_field_internal
