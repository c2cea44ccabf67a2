#pragma once
// Packing, unpacking and blending of TColor32 values, and the conversions
// between widget colours (TColor) and bitmap colours (TColor32).

#include <cstdint>

#include "graphics/color_types.h"

inline constexpr TColor32 clBlack32 = 0xFF000000u;
inline constexpr TColor32 clWhite32 = 0xFFFFFFFFu;
inline constexpr TColor32 clTransparent32 = 0x00000000u;

// Components are taken modulo 256.
constexpr TColor32 Color32(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
  return (a & 0xFFu) << 24 | (r & 0xFFu) << 16 | (g & 0xFFu) << 8 | (b & 0xFFu);
}

constexpr uint8_t AlphaComponent(TColor32 c) { return static_cast<uint8_t>(c >> 24); }
constexpr uint8_t RedComponent(TColor32 c) { return static_cast<uint8_t>(c >> 16); }
constexpr uint8_t GreenComponent(TColor32 c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t BlueComponent(TColor32 c) { return static_cast<uint8_t>(c); }

// The same colour with alpha replaced.
constexpr TColor32 SetAlpha(TColor32 c, uint32_t a) { return (c & 0x00FFFFFFu) | (a & 0xFFu) << 24; }

// Widget colour to opaque bitmap colour. The top byte of a TColor (a system
// colour index in some toolkits) is ignored: the caller resolves system
// colours to RGB before converting.
constexpr TColor32 Color32(TColor c) {
  return 0xFF000000u | (c & 0xFFu) << 16 | (c & 0xFF00u) | (c >> 16 & 0xFFu);
}

// Bitmap colour to widget colour; the alpha is dropped.
constexpr TColor WinColor(TColor32 c) { return (c >> 16 & 0xFFu) | (c & 0xFF00u) | (c & 0xFFu) << 16; }

// Alpha blend of Fore over Back, Fore's alpha scaled by MasterAlpha (0..255).
// Colour channels: Back + (Fore - Back) * a / 255, rounded to nearest, where
// a = ForeAlpha * MasterAlpha / 255; the result's alpha is the "over" alpha
// a + BackAlpha * (255 - a) / 255, so an opaque background stays opaque.
// a = 0 leaves Back unchanged and a = 255 gives Fore exactly.
constexpr TColor32 BlendColor32(TColor32 fore, TColor32 back, uint32_t masterAlpha = 255) {
  // (v + 127) / 255 rounds v / 255 to nearest for 0 <= v <= 255 * 255.
  const uint32_t a = (AlphaComponent(fore) * (masterAlpha & 0xFFu) + 127) / 255;
  if (a == 0) return back;
  if (a == 255) return SetAlpha(fore, 255);
  const auto mix = [a](uint32_t f, uint32_t b) { return (f * a + b * (255 - a) + 127) / 255; };
  const uint32_t alpha = a + (AlphaComponent(back) * (255 - a) + 127) / 255;
  return Color32(mix(RedComponent(fore), RedComponent(back)), mix(GreenComponent(fore), GreenComponent(back)),
                 mix(BlueComponent(fore), BlueComponent(back)), alpha);
}
