#pragma once
// The colour-space choice shared by every CIE conversion, the gamut and
// distance functions and the palettes, with the built-in tables behind its
// indexes. A null settings pointer stands for the defaults everywhere.

#include <array>
#include <cstdint>
#include <string_view>

inline constexpr int kNumRGBConversions = 16;
inline constexpr int kNumReferenceWhites = 6;
inline constexpr int kNumDistFuncs = 3;

// Owned by the main window and handed out by pointer; nobody else writes it.
// The default values are also what a null pointer means.
struct TColorSettings {
  uint8_t RGBConversion = 0;   // working space, row of RGBConversionNames (0..15)
  uint8_t ReferenceWhite = 3;  // row of ReferenceWhiteNames (0..5)
  double Gamma = 2.2;          // exponent of the power law RGB <-> linear light
  uint8_t DistFunc = 2;        // row of DistFuncNames (0..2)
  bool operator==(const TColorSettings&) const = default;
};

inline constexpr TColorSettings kDefaultColorSettings{};

inline constexpr std::array<std::string_view, kNumDistFuncs> DistFuncNames = {
    "dE (CIE 1994)", "dE (CIE 2000)", "Vestrom Custom"};

inline constexpr std::array<std::string_view, kNumReferenceWhites> ReferenceWhiteNames = {
    "C", "D50", "D55", "D65", "D75", "E"};

inline constexpr std::array<std::string_view, kNumRGBConversions> RGBConversionNames = {
    "Adobe98",  "sRGB",         "AppleRGB", "BestRGB",   "BetaRGB",   "BruceRGB",
    "CIE",      "ColorMatch",   "DonRGB4",  "ECI",       "EktaSpacePS5", "NTSC",
    "PAL_SECAM", "ProPhoto",    "SMPTE_C",  "WideGamut"};

// The usual reference white (a ReferenceWhite index) of each working space.
inline constexpr std::array<uint8_t, kNumRGBConversions> DefaultReferenceWhite = {
    3, 3, 3, 1, 1, 3, 5, 1, 1, 1, 1, 0, 3, 1, 3, 1};

// Nine doubles of a 3x3 matrix stored column by column:
// X = m0 r + m3 g + m6 b, Y = m1 r + m4 g + m7 b, Z = m2 r + m5 g + m8 b.
using TColorMatrix = std::array<double, 9>;

// The two matrices of one working space. XYZToRGB is the stored partner of
// RGBToXYZ, an inverse only to within about 4e-6 per element; it is used as
// it is, never recomputed.
struct TWorkingSpaceMatrices {
  TColorMatrix RGBToXYZ;
  TColorMatrix XYZToRGB;
};

extern const std::array<TWorkingSpaceMatrices, kNumRGBConversions> WorkingSpaceMatrices;

// A white point (Yw = 1) with its chromaticity u'w, v'w (table constants).
struct TReferenceWhiteValues {
  double Xw, Yw, Zw, uw, vw;
};

extern const std::array<TReferenceWhiteValues, kNumReferenceWhites> ReferenceWhiteValues;

// Accessors. `Settings` may be null (the defaults). An index outside its
// table raises EAssertionFailed.
void GetReferenceWhite(const TColorSettings* Settings, double& Xw, double& Yw, double& Zw,
                       double& uw, double& vw);
const TReferenceWhiteValues& GetReferenceWhite(const TColorSettings* Settings);
double GetGamma(const TColorSettings* Settings);
uint8_t GetDistFunc(const TColorSettings* Settings);
const TColorMatrix& GetRGBToXYZMatrix(const TColorSettings* Settings);
const TColorMatrix& GetXYZToRGBMatrix(const TColorSettings* Settings);
