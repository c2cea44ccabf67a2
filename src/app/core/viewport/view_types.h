#pragma once
// The 22 view types of a viewport: the colour space and slice each one shows,
// its name in the view-type list and the range of its slider.

#include <array>
#include <cstdint>
#include <string_view>

using TViewType = uint8_t;

// The view types, in list order.
inline constexpr TViewType vtLuvL = 0;        // "CIELuv_L*": u*, v* plane at L*
inline constexpr TViewType vtLuvC = 1;        // "CIELuv_C*": hue x lightness at a chroma
inline constexpr TViewType vtLuvH = 2;        // "CIELuv_H*": chroma x lightness at a hue
inline constexpr TViewType vtLuvL2 = 3;       // "CIELuv_L* 2": hue x chroma at L*
inline constexpr TViewType vtLuvH2 = 4;       // "CIELuv_H* 2": as vtLuvH, hue from a palette path
inline constexpr TViewType vtLuvHFull = 5;    // "CIELuv_H* full": a hue line through grey
inline constexpr TViewType vtLuvHFull2 = 6;   // "CIELuv_H* full 2": as vtLuvHFull, hue from a path
inline constexpr TViewType vtLabL = 7;        // "CIELab_L*"
inline constexpr TViewType vtLabC = 8;        // "CIELab_C*"
inline constexpr TViewType vtLabH = 9;        // "CIELab_H*": a hue line through grey
inline constexpr TViewType vtHLS_H = 10;
inline constexpr TViewType vtHLS_L = 11;      // a disc of hue and saturation
inline constexpr TViewType vtHLS_S = 12;
inline constexpr TViewType vtHSV_H = 13;
inline constexpr TViewType vtHSV_S = 14;
inline constexpr TViewType vtHSV_V = 15;      // a disc of hue and saturation
inline constexpr TViewType vtRGB_R = 16;
inline constexpr TViewType vtRGB_G = 17;
inline constexpr TViewType vtRGB_B = 18;
inline constexpr TViewType vtOppI = 19;       // "RGB_L": opponent-space intensity plane
inline constexpr TViewType vtOppC = 20;       // "RGB_S": opponent hue x intensity at a chroma
inline constexpr TViewType vtOppH = 21;       // "RGB_H": an opponent hue line through grey

inline constexpr int kNumViewTypes = 22;

struct TViewTypeInfo {
  std::string_view Name;
  double Min;  // the slider's range
  double Max;
};

inline constexpr std::array<TViewTypeInfo, kNumViewTypes> ViewTypeInfo = {{
    {"CIELuv_L*", 0, 100},   {"CIELuv_C*", 0, 200},      {"CIELuv_H*", 0, 360},
    {"CIELuv_L* 2", 0, 100}, {"CIELuv_H* 2", 0, 360},    {"CIELuv_H* full", 0, 360},
    {"CIELuv_H* full 2", 0, 360},
    {"CIELab_L*", 0, 100},   {"CIELab_C*", 0, 200},      {"CIELab_H*", 0, 360},
    {"HLS_H", 0, 360},       {"HLS_L", 0, 255},          {"HLS_S", 0, 255},
    {"HSV_H", 0, 360},       {"HSV_S", 0, 255},          {"HSV_V", 0, 255},
    {"RGB_R", 0, 255},       {"RGB_G", 0, 255},          {"RGB_B", 0, 255},
    {"RGB_L", 0, 100},       {"RGB_S", 0, 100},          {"RGB_H", 0, 360},
}};

// The slider value a new viewport starts with for each view type.
inline constexpr std::array<double, kNumViewTypes> kDefaultSliderValues = {
    60, 50, 0, 60, 0, 0, 0,  // CIELUV
    60, 50, 0,               // CIELAB
    0, 128, 128,             // HLS
    0, 128, 128,             // HSV
    0, 0, 0,                 // RGB
    50, 50, 0,               // opponent space
};

// The table row of a view type; raises EAssertionFailed for one above 21.
const TViewTypeInfo& GetViewTypeInfo(TViewType viewType);

// True for the view types whose hue comes from a palette's path through
// lightness instead of the slider (their field follows the palettes).
constexpr bool FollowsPalettePath(TViewType viewType) {
  return viewType == vtLuvH2 || viewType == vtLuvHFull2;
}
