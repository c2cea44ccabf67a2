#pragma once
// The working space's power law from linear light to an 8-bit channel, by
// table: the same byte as 255 * exp(log(c) / gamma) rounded to nearest (ties
// to even), without a logarithm or an exponential per channel. Built once per
// setting from the gamma alone (TCIERowConverter holds one); building it
// allocates, Level does not.

#include <bit>
#include <cstdint>
#include <vector>

// Channel levels outside 0..255: the linear value is negative or NaN (the
// encoded component would be -1), or it encodes above 255.
inline constexpr int kLevelBelow = -1;
inline constexpr int kLevelAbove = 256;

class TGammaEncoder {
 public:
  explicit TGammaEncoder(double gamma);

  // The rounded encoded level 0..255 of a linear value, kLevelBelow or
  // kLevelAbove. 0 stays 0.
  int Level(double c) const noexcept {
    if (!(c >= 0.0)) return kLevelBelow;
    if (c > FLimit) return kLevelAbove;
    if (FExact) return ExactLevel(c);
    if (c < FThreshold[0]) return 0;
    // The buckets are narrow enough to hold at most one level change each:
    // one branch-free step from the bucket's first level.
    const int k = FStart[(std::bit_cast<uint64_t>(c) >> FShift) - FFirstBucket];
    return k + (c >= FThreshold[k]);
  }

  // The largest linear value that still encodes to at most 255.
  double Limit() const noexcept { return FLimit; }
  // False when the gamma is one the tables do not cover (not finite, or far
  // outside any working space's); Level then evaluates the formula itself.
  bool Tabulated() const noexcept { return !FExact; }

 private:
  int ExactLevel(double c) const noexcept;
  // Builds FStart with buckets of the exponent and the top Bits mantissa
  // bits; false when some bucket holds more than one level change.
  bool BuildBuckets(int Bits);

  double FGamma;
  bool FExact = true;
  double FLimit = 0.0;
  // FThreshold[k]: the smallest linear value whose level is above k.
  double FThreshold[256] = {};
  int FShift = 44;  // 52 - mantissa bits of a bucket
  uint64_t FFirstBucket = 0;
  // Per bucket the level of its smallest value: where the search starts.
  std::vector<uint8_t> FStart;
};
