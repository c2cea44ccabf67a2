#pragma once
// TViewportGroup: the four viewports of the main window and the one object
// through which the window talks to them. It lays them out as one viewport
// (1 x 1) or four in a 2 x 2 grid with 10-pixel gaps, copies the colour
// settings, the key palette, the display flags and the three events into each
// of them, adds and removes the palettes they show, and redraws the visible
// ones in full or their overlays only.
//
// Viewport 0 is top-left, 1 top-right, 2 bottom-left, 3 bottom-right; in the
// 1 x 1 layout only viewport 0 is shown and redrawn, but all four receive
// settings, palettes, flags, events and slider moves. Palettes, settings and
// the key palette are not owned: remove a palette before freeing it.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "app/core/viewport/overlay_builder.h"
#include "app/viewport/viewport.h"

#include "colour/colour_records.h"
#include "colour/colour_settings.h"
#include "graphics/color_types.h"

class QWidget;
class TColorPalette;
class TCustomPalette;
class TViewport;

inline constexpr uint8_t kLayout1x1 = 0;
inline constexpr uint8_t kLayout2x2 = 1;
inline constexpr int kNumViewports = 4;
// The gap between neighbouring viewports, both ways.
inline constexpr int kViewportGap = 10;
// The smallest image side at which the rows of controls of two viewports side
// by side do not meet (each row is centred over its image and may reach into
// the gap between them).
inline constexpr int kViewportMinImageSide = kViewportRowWidth - kViewportGap;
// The smallest group at which no viewport's controls overlap another's in
// the 2 x 2 layout (the tighter of the two): images of that side, each beside
// its slider and below its row of controls.
inline constexpr int kViewportGroupMinWidth = 2 * (kViewportMinImageSide + kViewportSliderWidth) + kViewportGap;
inline constexpr int kViewportGroupMinHeight =
    2 * (kViewportMinImageSide + kComboHeight + kViewportImageGap) + kViewportGap;

class TViewportGroup {
 public:
  // Four viewports on Parent: "CIELuv_L*", "CIELuv_C*", "CIELuv_H*" and
  // "HLS_H", the right-hand two with their slider on the right; 2 x 2,
  // visible, 50 x 50 at (10, 10), colour keys shown.
  explicit TViewportGroup(QWidget* Parent);
  ~TViewportGroup();
  TViewportGroup(const TViewportGroup&) = delete;
  TViewportGroup& operator=(const TViewportGroup&) = delete;

  // kLayout1x1 or kLayout2x2 (anything else raises EAssertionFailed). A new
  // layout shows its viewports (whatever SetVisible said last), sizes and
  // places them and redraws in full; the same layout does nothing.
  void SetLayout(uint8_t Layout);
  uint8_t Layout() const { return FLayout; }
  // On a change: shows the viewports of the layout, or hides all four.
  void SetVisible(bool Visible);
  bool Visible() const { return FVisible; }

  // The top-left corner of the group's rectangle in the parent.
  void SetPosition(int Left, int Top);
  // Sizes the viewports to fit Width x Height (each image is kept square, so
  // the area used may be smaller), then places them again.
  void SetSize(int Width, int Height);
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  // Broadcasts to all four viewports; no redraw (the caller redraws).
  void SetColorSettings(const TColorSettings* Settings);
  void SetKeyPalette(TCustomPalette* Palette);
  void SetOnPaletteChanged(std::function<void()> Event);
  void SetOnColorUnderCursor(std::function<void(TColor)> Event);
  void SetOnColorPicked(std::function<void(TColor)> Event);
  void SetOnKeyRefused(std::function<void()> Event);
  void SetShowPixelsOutOfRange(bool Value);
  void SetShowColorKeys(bool Value);
  void SetDrawGridLines(bool Value);
  void SetDrawGridAxes(bool Value);
  void SetShowDrawTime(bool Value);

  const TColorSettings* ColorSettings() const { return FColorSettings; }
  TCustomPalette* KeyPalette() const { return FKeyPalette; }
  bool ShowPixelsOutOfRange() const { return FShowPixelsOutOfRange; }
  bool ShowColorKeys() const { return FShowColorKeys; }
  bool DrawGridLines() const { return FDrawGridLines; }
  bool DrawGridAxes() const { return FDrawGridAxes; }
  bool ShowDrawTime() const { return FShowDrawTime; }

  // Appends to every viewport's palettes (a palette added twice is drawn twice).
  void AddPalette(TColorPalette* Palette);
  void AddPalettes(std::span<TColorPalette* const> Palettes);
  // Removes the first occurrence from every viewport's palettes.
  void RemovePalette(TColorPalette* Palette);
  void RemovePalettes(std::span<TColorPalette* const> Palettes);

  // Moves the slider of all four viewports, shown or not, to the colour; no redraw.
  void SetSliderFromColor(const TRGB& RGB);
  // Redraws viewport 0, and in the 2 x 2 layout viewports 1 to 3: in full, or
  // only their overlays when OverlayOnly. The palettes are sampled once for
  // all of them (a viewport whose palette list differs samples its own).
  void Redraw(bool OverlayOnly);

  // Viewport 0..3 (others raise EAssertionFailed).
  TViewport& Viewport(int Index);
  const TViewport& Viewport(int Index) const;

 private:
  // The viewports the layout shows: 1 or 4.
  int ShownCount() const { return FLayout == kLayout2x2 ? kNumViewports : 1; }
  // Shows the layout's viewports and hides the rest.
  void ShowLayout();

  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  uint8_t FLayout = kLayout2x2;
  bool FVisible = true;
  const TColorSettings* FColorSettings = nullptr;
  TCustomPalette* FKeyPalette = nullptr;
  bool FShowPixelsOutOfRange = false;
  bool FShowColorKeys = false;
  bool FDrawGridLines = true;
  bool FDrawGridAxes = false;
  bool FShowDrawTime = false;
  std::function<void()> FOnPaletteChanged;
  std::function<void(TColor)> FOnColorUnderCursor;
  std::function<void(TColor)> FOnColorPicked;
  std::function<void()> FOnKeyRefused;
  std::array<std::unique_ptr<TViewport>, kNumViewports> FViewports;
  // The palettes sampled once per redraw for all shown viewports.
  TOverlaySamples FSamples;
};
