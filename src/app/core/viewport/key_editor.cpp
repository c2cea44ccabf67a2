#include "app/core/viewport/key_editor.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "app/core/viewport/colour_field.h"
#include "app/core/window/num_colors_limit.h"
#include "colour/rgb_spaces.h"
#include "graphics/bitmap32.h"
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

void TKeyEditor::Press(TMouseButton Button, int X, int Y, const TScreenGeometry& View) {
  if (Button == TMouseButton::mbMiddle || FDragKey != -1 || FKeys == nullptr) return;
  for (int i = 0; i < FKeys->GetKeyCount(); ++i) {
    TRGB key;
    FKeys->GetKey(i, key);
    if (!Hits(ColorToScreen(View, key), X, Y)) continue;
    if (Button == TMouseButton::mbLeft) {
      // Every hit takes over: the last key hit is dragged.
      FDragKey = i;
      FDragStartColor = key;
      FDragMoved = false;
    } else {
      FKeys->DeleteKey(i);
      // Never below 0, should the count have fallen behind the keys.
      // In 64 bits: a typed count may be the lowest int.
      FKeys->SetNumColors(static_cast<int>(std::max<int64_t>(0, int64_t{FKeys->NumColors()} - 1)));
      FKeyDeleted = true;  // announced on the release
      return;
    }
  }
}

void TKeyEditor::Move(int X, int Y, const TScreenGeometry& View, const TBitmap32& Field) {
  if (!Inside(Field, X, Y)) return;
  TColor colour = WinColor(Field.Pixel(X, Y));
  // A drag whose key has gone (the keys changed under it) ends.
  if (FDragKey != -1 && (FKeys == nullptr || FDragKey >= FKeys->GetKeyCount())) FDragKey = -1;
  if (FDragKey != -1) {
    // Always from the start colour: the key keeps its slider-axis coordinate.
    const TRGB rgb = ClampRGB(ScreenToColorKeepThird(View, X, Y, FDragStartColor));
    FDragMoved = true;
    colour = RGBToColor(rgb);
    FKeys->SetKey(FDragKey, rgb);
    Fire(FEvents.PaletteChanged);
  }
  if (colour != kFieldBackground || FDragKey != -1) Fire(FEvents.ColorUnderCursor, colour);
}

void TKeyEditor::Release(TMouseButton Button, int X, int Y, const TBitmap32& Field) {
  const bool keyDeleted = Button == TMouseButton::mbRight && FKeyDeleted;
  if (Button == TMouseButton::mbRight) FKeyDeleted = false;
  const bool click = Inside(Field, X, Y) && (FDragKey == -1 || !FDragMoved);
  if (Button == TMouseButton::mbLeft) {
    FDragKey = -1;  // a left release ends any drag, inside the image or not
    if (!click || FKeys == nullptr) return;
    const TColor colour = WinColor(Field.Pixel(X, Y));
    if (colour == kFieldBackground) return;  // the background is never picked
    // Each key adds a colour: at the limit the click is refused as a whole,
    // before the colour is announced as picked.
    if (FKeys->NumColors() >= kMaxNumColors) {
      Fire(FEvents.KeyRefused);
      return;
    }
    Fire(FEvents.ColorPicked, colour);
    FKeys->AddKey(colour);
    FKeys->SetNumColors(FKeys->NumColors() + 1);
    Fire(FEvents.PaletteChanged);
  } else if (Button == TMouseButton::mbMiddle) {
    if (click && FKeys != nullptr) {
      FKeys->ClearKeys();
      FKeys->SetNumColors(0);
      Fire(FEvents.PaletteChanged);
    }
  } else if (click || keyDeleted) {
    Fire(FEvents.PaletteChanged);
  }
}

void TKeyEditor::CaptureLost() {
  // No release will come: end the drag, and announce a delete made by a press.
  FDragKey = -1;
  if (std::exchange(FKeyDeleted, false)) Fire(FEvents.PaletteChanged);
}
