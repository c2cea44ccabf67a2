#include "colour/gamma_encoder.h"

#include <bit>
#include <cmath>
#include <limits>

#include "colour/cie_internal.h"
#include "foundation/rounding.h"

namespace {

// Gammas between these have tables of at most some ten thousand buckets.
constexpr double kMinTabulatedGamma = 0.1;
constexpr double kMaxTabulatedGamma = 12.0;
// Steps from the estimate to the exact threshold; a few suffice, the bound
// only guards against a non-monotone library function.
constexpr int kMaxThresholdSteps = 64;
// Mantissa bits of a bucket: 8 suffice for gammas from about 1.1 up; smaller
// gammas need finer buckets, up to a table of a few hundred thousand bytes.
constexpr int kMinBucketBits = 8;
constexpr int kMaxBucketBits = 14;

double Encoded(double c, double gamma) noexcept { return colour_internal::Encode(c, gamma); }

// The level the reference formula gives (only for c in [0, limit]).
int ReferenceLevel(double c, double gamma) noexcept { return RoundDouble(Encoded(c, gamma)); }

// The smallest positive double whose reference level exceeds `level`,
// starting from the closed-form estimate and walking ulp by ulp.
double ExactThreshold(int level, double gamma) noexcept {
  double c = std::pow((level + 0.5) / 255.0, gamma);
  const double inf = std::numeric_limits<double>::infinity();
  for (int i = 0; i < kMaxThresholdSteps && ReferenceLevel(c, gamma) <= level; ++i)
    c = std::nextafter(c, inf);
  for (int i = 0; i < kMaxThresholdSteps; ++i) {
    const double below = std::nextafter(c, 0.0);
    if (below <= 0.0 || ReferenceLevel(below, gamma) <= level) break;
    c = below;
  }
  return c;
}

}  // namespace

int TGammaEncoder::ExactLevel(double c) const noexcept {
  const double e = Encoded(c, FGamma);
  if (e >= 0.0 && e <= 255.0) return RoundDouble(e);
  return e > 255.0 ? kLevelAbove : kLevelBelow;
}

TGammaEncoder::TGammaEncoder(double gamma) : FGamma(gamma) {
  // The limit: 1 encodes to 255 exactly; a few ulps above it may too.
  FLimit = std::numeric_limits<double>::infinity();
  if (!(gamma >= kMinTabulatedGamma && gamma <= kMaxTabulatedGamma)) return;  // FExact stays
  FLimit = 1.0;
  for (int i = 0; i < kMaxThresholdSteps; ++i) {
    const double next = std::nextafter(FLimit, 2.0);
    if (!(Encoded(next, gamma) <= 255.0)) break;
    FLimit = next;
  }
  for (int k = 0; k < 255; ++k) FThreshold[k] = ExactThreshold(k, gamma);
  FThreshold[255] = std::numeric_limits<double>::infinity();

  for (int bits = kMinBucketBits; bits <= kMaxBucketBits; ++bits) {
    if (BuildBuckets(bits)) {
      FExact = false;
      return;
    }
  }
}

bool TGammaEncoder::BuildBuckets(int Bits) {
  FShift = 52 - Bits;
  FFirstBucket = std::bit_cast<uint64_t>(FThreshold[0]) >> FShift;
  const uint64_t lastBucket = std::bit_cast<uint64_t>(FLimit) >> FShift;
  FStart.assign(lastBucket - FFirstBucket + 1, 0);
  int level = 0;
  for (uint64_t b = FFirstBucket; b <= lastBucket; ++b) {
    const double first = std::bit_cast<double>(b << FShift);
    const double last = std::bit_cast<double>(((b + 1) << FShift) - 1);
    while (first >= FThreshold[level]) ++level;
    FStart[b - FFirstBucket] = static_cast<uint8_t>(level);
    // A second level change inside the bucket would need a second step.
    if (level < 254 && last >= FThreshold[level + 1]) return false;
  }
  return true;
}
