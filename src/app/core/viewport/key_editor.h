#pragma once
// Key editing with the mouse in one view, without any widget: a left click
// adds the field colour under the pointer as a key of the key palette, a left
// drag moves a key, a right click deletes one, a middle click deletes all.
// Every edit is announced through PaletteChanged, and the colour under the
// pointer is reported as it moves. A click that would take the key palette
// past kMaxNumColors colours adds nothing and fires KeyRefused instead. Positions are image pixels; positions
// outside the field are never read: a release there only ends a drag (and
// announces a delete made by its press).

#include <functional>

#include "app/core/viewport/mouse_button.h"
#include "app/core/viewport/screen_mapping.h"
#include "colour/colour_records.h"
#include "graphics/color_types.h"

class TBitmap32;
class TCustomPalette;

struct TKeyEditEvents {
  // After a key edit, and on every right-button release in the field.
  std::function<void()> PaletteChanged;
  // On pointer moves, with the colour under the pointer.
  std::function<void(TColor)> ColorUnderCursor;
  // When a click adds a key, with its colour, before it is added.
  std::function<void(TColor)> ColorPicked;
  // When a click would add a key to a palette already at the count limit;
  // nothing else fires and nothing changes.
  std::function<void()> KeyRefused;
};

class TKeyEditor {
 public:
  // The palette whose keys are edited (not owned; may be null).
  void SetKeyPalette(TCustomPalette* Palette) { FKeys = Palette; }
  TCustomPalette* KeyPalette() const { return FKeys; }
  TKeyEditEvents& Events() { return FEvents; }

  // View maps keys to the image and back; Field is the colour field shown,
  // of the view's size.
  void Press(TMouseButton Button, int X, int Y, const TScreenGeometry& View);
  void Move(int X, int Y, const TScreenGeometry& View, const TBitmap32& Field);
  void Release(TMouseButton Button, int X, int Y, const TBitmap32& Field);
  // The pointer grab ended without a release.
  void CaptureLost();

 private:
  TCustomPalette* FKeys = nullptr;
  TKeyEditEvents FEvents;
  int FDragKey = -1;  // the key being dragged, -1 when none
  TRGB FDragStartColor;
  bool FDragMoved = false;
  bool FKeyDeleted = false;  // a right press deleted a key; its release announces it
};
