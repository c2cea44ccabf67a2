// Mouse handling of a viewport: a left click adds the field colour under the
// pointer as a key of the key palette, a left drag moves a key, a right click
// deletes one, a middle click deletes all; every edit is announced through
// OnPaletteChanged, and the colour under the pointer is reported as it moves.
// Positions outside the image are never read: a release there only ends a
// drag (and announces a delete made by its press).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "app/core/viewport/colour_field.h"
#include "app/viewport/viewport.h"
#include "colour/rgb_spaces.h"
#include "graphics/color32.h"
#include "palette/custom_palette.h"

namespace {
// A key is hit when its point lies this close to the pointer in x and in y.
constexpr int64_t kKeyHitDistance = 4;

bool Hits(const TScreenPoint& p, int X, int Y) {
  return std::llabs(int64_t{p.X} - X) <= kKeyHitDistance && std::llabs(int64_t{p.Y} - Y) <= kKeyHitDistance;
}

void Fire(const std::function<void()>& event) {
  if (event) event();
}

void Fire(const std::function<void(TColor)>& event, TColor colour) {
  if (event) event(colour);
}

// The field bitmap has the image's size.
bool Inside(const TBitmap32& field, int X, int Y) {
  return X >= 0 && X < field.Width() && Y >= 0 && Y < field.Height();
}
}  // namespace

void TViewport::ImageMouseDown(TMouseButton Button, int X, int Y) {
  if (Button == TMouseButton::mbMiddle || FDragKey != -1 || FKeyPalette == nullptr) return;
  for (int i = 0; i < FKeyPalette->GetKeyCount(); ++i) {
    TRGB key;
    FKeyPalette->GetKey(i, key);
    if (!Hits(ColorToScreen(key), X, Y)) continue;
    if (Button == TMouseButton::mbLeft) {
      // Every hit takes over: the last key hit is dragged.
      FDragKey = i;
      FDragStartColor = key;
      FDragMoved = false;
    } else {
      FKeyPalette->DeleteKey(i);
      // Never below 0, should the count have fallen behind the keys.
      // In 64 bits: a typed count may be the lowest int.
      FKeyPalette->SetNumColors(static_cast<int>(std::max<int64_t>(0, int64_t{FKeyPalette->NumColors()} - 1)));
      FKeyDeleted = true;  // announced on the release
      return;
    }
  }
}

void TViewport::ImageMouseMove(int X, int Y) {
  if (!Inside(FFieldBitmap, X, Y)) return;
  TColor colour = WinColor(FFieldBitmap.Pixel(X, Y));
  // A drag whose key has gone (the keys changed under it) ends.
  if (FDragKey != -1 && (FKeyPalette == nullptr || FDragKey >= FKeyPalette->GetKeyCount())) FDragKey = -1;
  if (FDragKey != -1) {
    // Always from the start colour: the key keeps its slider-axis coordinate.
    TRGB rgb = FDragStartColor;
    ScreenToColorKeepThird(X, Y, rgb);
    rgb = ClampRGB(rgb);
    FDragMoved = true;
    colour = RGBToColor(rgb);
    FKeyPalette->SetKey(FDragKey, rgb);
    Fire(FOnPaletteChanged);
  }
  if (colour != kFieldBackground || FDragKey != -1) Fire(FOnColorUnderCursor, colour);
}

void TViewport::ImageMouseUp(TMouseButton Button, int X, int Y) {
  const bool keyDeleted = Button == TMouseButton::mbRight && FKeyDeleted;
  if (Button == TMouseButton::mbRight) FKeyDeleted = false;
  const bool click = Inside(FFieldBitmap, X, Y) && (FDragKey == -1 || !FDragMoved);
  if (Button == TMouseButton::mbLeft) {
    FDragKey = -1;  // a left release ends any drag, inside the image or not
    if (!click || FKeyPalette == nullptr) return;
    const TColor colour = WinColor(FFieldBitmap.Pixel(X, Y));
    if (colour == kFieldBackground) return;  // the background is never picked
    Fire(FOnColorPicked, colour);
    FKeyPalette->AddKey(colour);
    // In 64 bits, held at the largest int.
    FKeyPalette->SetNumColors(
        static_cast<int>(std::min<int64_t>(int64_t{FKeyPalette->NumColors()} + 1, INT32_MAX)));
    Fire(FOnPaletteChanged);
  } else if (Button == TMouseButton::mbMiddle) {
    if (click && FKeyPalette != nullptr) {
      FKeyPalette->ClearKeys();
      FKeyPalette->SetNumColors(0);
      Fire(FOnPaletteChanged);
    }
  } else if (click || keyDeleted) {
    Fire(FOnPaletteChanged);
  }
}

void TViewport::ImageCaptureLost() {
  // No release will come: end the drag, and announce a delete made by a press.
  FDragKey = -1;
  if (std::exchange(FKeyDeleted, false)) Fire(FOnPaletteChanged);
}
