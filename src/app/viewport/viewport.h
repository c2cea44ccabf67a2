#pragma once
// TViewport: one view onto colour space. A square image shows a slice or
// projection of one colour space (one of the 22 view types) with an overlay
// of grid, axes, palette curves and markers; beside it a vertical slider with
// its range labels, above it the view-type list and an edit for the value
// the slice holds constant. The mouse edits the keys of the key palette.
//
// The controls are children of the parent given to the constructor; the
// viewport removes them when it is destroyed first. The bitmaps are the
// viewport's own. Settings, palettes and the key palette are not owned.
//
// Implemented across three files: viewport.cpp (controls, layout, slider,
// their handlers and the mouse handed to the key editor), viewport_field.cpp
// (field rendering and coordinate mapping), viewport_overlay.cpp (redraw and
// overlay).

#include <QPointer>
#include <array>
#include <functional>
#include <vector>

#include "app/core/viewport/key_editor.h"
#include "app/core/viewport/overlay_builder.h"
#include "app/core/viewport/screen_mapping.h"
#include "app/core/viewport/view_types.h"
#include "app/toolkit/app_style.h"
#include "app/toolkit/bitmap_view.h"
#include "colour/colour_records.h"
#include "colour/colour_settings.h"
#include "graphics/bitmap32.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;
class QWidget;
class TColorPalette;
class TCustomPalette;
class TEditEvents;

// Control geometry the layout rules are written in: the slider beside the
// image, and above the image a row of the view-type list, the "=" and the
// value edit, centred over it.
inline constexpr int kViewportSliderWidth = 30;
inline constexpr int kViewTypeComboWidth = 105;
inline constexpr int kViewportEqualsWidth = 10;
inline constexpr int kViewportValueEditWidth = 30;
inline constexpr int kViewportImageGap = 2;  // between the row of controls and the image
inline constexpr int kViewportRowWidth = kViewTypeComboWidth + kViewportEqualsWidth + kViewportValueEditWidth;

class TViewport {
 public:
  // Builds the controls on Parent, view type 0 with the default slider
  // values, at (0, 0) with the size 100 x 100.
  explicit TViewport(QWidget* Parent);
  ~TViewport();
  TViewport(const TViewport&) = delete;
  TViewport& operator=(const TViewport&) = delete;

  // --- Layout ---------------------------------------------------------------
  // The top-left corner of the viewport's area in the parent.
  void SetPosition(int Left, int Top);
  // Fits the square image and the slider into Width x Height (both clamped at
  // 0 when too small); the area used may be smaller (TotalWidth/Height).
  void SetSize(int Width, int Height);
  void SetSliderOnRight(bool OnRight);
  void SetVisible(bool Visible);
  bool Visible() const { return FVisible; }
  bool SliderOnRight() const { return FSliderOnRight; }
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int TotalWidth() const { return FTotalWidth; }
  int TotalHeight() const { return FTotalHeight; }

  // --- View type and slider value ----------------------------------------------
  // Selects a view type (0..21) with its remembered slider value; no redraw.
  void SetViewType(TViewType ViewType);
  TViewType ViewType() const { return FViewType; }
  const TViewTypeInfo& GetViewTypeInfo() const;
  // The value remembered for the current view type.
  double GetSliderValue() const;
  // Remembers Value for the current view type and shows it on the slider and
  // in the edit; any double, no range check; no redraw.
  void SetSliderValue(double Value);
  // The slider's range from the view type and its position from Position
  // (the slider's top is the maximum), without firing its change handling.
  void UpdateTrackBar(int Position);
  // The slider to the colour's coordinate along the slider axis (unchanged
  // for the two path view types); no redraw.
  void SetSliderFromColor(const TRGB& RGB);

  // --- Settings, palettes, flags and events -------------------------------------
  // Stores the settings and hands them to every palette in Palettes().
  void SetColorSettings(const TColorSettings* Settings);
  const TColorSettings* ColorSettings() const { return FColorSettings; }
  // The palettes drawn in this view, in the order added (not owned).
  std::vector<TColorPalette*>& Palettes() { return FPalettes; }
  const std::vector<TColorPalette*>& Palettes() const { return FPalettes; }
  // The palette whose keys the mouse edits (not owned; may be null).
  void SetKeyPalette(TCustomPalette* Palette) { FKeyEditor.SetKeyPalette(Palette); }
  TCustomPalette* KeyPalette() const { return FKeyEditor.KeyPalette(); }

  void SetDrawGridLines(bool Value) { FDrawGridLines = Value; }
  void SetDrawGridAxes(bool Value) { FDrawGridAxes = Value; }
  void SetShowPixelsOutOfRange(bool Value) { FShowPixelsOutOfRange = Value; }
  void SetShowDrawTime(bool Value) { FShowDrawTime = Value; }
  void SetShowColorKeys(bool Value) { FShowColorKeys = Value; }
  bool DrawGridLines() const { return FDrawGridLines; }
  bool DrawGridAxes() const { return FDrawGridAxes; }
  bool ShowPixelsOutOfRange() const { return FShowPixelsOutOfRange; }
  bool ShowDrawTime() const { return FShowDrawTime; }
  bool ShowColorKeys() const { return FShowColorKeys; }

  // Fired after a key edit, and on every right-button release in the image.
  void SetOnPaletteChanged(std::function<void()> Event) { FKeyEditor.Events().PaletteChanged = std::move(Event); }
  // Fired on pointer moves with the colour under the pointer.
  void SetOnColorUnderCursor(std::function<void(TColor)> Event) {
    FKeyEditor.Events().ColorUnderCursor = std::move(Event);
  }
  // Fired when a click adds a key, with its colour, before it is added.
  void SetOnColorPicked(std::function<void(TColor)> Event) { FKeyEditor.Events().ColorPicked = std::move(Event); }
  // Fired when a click adds no key because the key palette is at the count limit.
  void SetOnKeyRefused(std::function<void()> Event) { FKeyEditor.Events().KeyRefused = std::move(Event); }

  // --- Colour field and coordinate mapping (viewport_field.cpp) ------------------
  // Paints the field of the current view type and slider value into Bitmap
  // (the field bitmap, cleared to the background by the caller).
  void RenderField(TBitmap32& Bitmap) const;
  TScreenPoint ColorToScreen(const TRGB& RGB) const;
  TScreenPoint ControlPointToScreen(const TLCh& P) const;
  TRGB ScreenToColor(int X, int Y, double Third) const;
  void ScreenToColorKeepThird(int X, int Y, TRGB& RGB) const;
  // Paints Steps (at least 2) slices of the current view type over one
  // another, lowest value first when Light; leaves the slider at the last.
  void DrawCompleteSpectrum(bool Light, int Steps);

  // --- Redraw and overlay (viewport_overlay.cpp) -----------------------------------
  // With OverlayOnly false re-renders the field; rebuilds the overlay, lays
  // it over the field and repaints the image. The path view types re-render
  // their field on every redraw.
  void Redraw(bool OverlayOnly);
  // The same with the palettes sampled already (the group samples once for
  // all its viewports); samples of another palette list are not used.
  void Redraw(bool OverlayOnly, const TOverlaySamples& Samples);
  void DrawKeyMarker(int X, int Y, const TRGB& RGB, int Size);
  void DrawPathLine(int X1, int Y1, int X0, int Y0, TColor32 Colour);

  // --- Mouse, handed to the key editor --------------------------------------------
  // X and Y are image pixels; a release may lie outside the image.
  void ImageMouseDown(TMouseButton Button, int X, int Y);
  void ImageMouseMove(int X, int Y);
  void ImageMouseUp(TMouseButton Button, int X, int Y);
  // The image lost the pointer grab without a release.
  void ImageCaptureLost();

  // --- Handlers of the viewport's own controls ----------------------------------------
  void ValueEditKeyUp(int Key);
  void ValueEditExit();
  void SliderChange();
  void ViewTypeComboChange();

  // --- Bitmaps and controls, for the group and for tests ---------------------------------
  const TBitmap32& FieldBitmap() const { return FFieldBitmap; }
  const TBitmap32& OverlayBitmap() const { return FOverlayBitmap; }
  const TBitmap32& CompositeBitmap() const { return FCompositeBitmap; }
  TBitmapView* Image() const;
  QLabel* MinLabel() const;
  QLabel* MaxLabel() const;
  QLabel* EqualsLabel() const;
  QLineEdit* ValueEdit() const;
  QSlider* Slider() const;
  QComboBox* ViewTypeCombo() const;

 private:
  void CreateControls(QWidget* parent);
  void ConnectControls();
  // The typed value, applied when it differs from the remembered one.
  void ApplyTypedValue();
  TScreenGeometry Geometry() const;

  // The controls, owned by the parent; QPointer so the destructor knows which
  // the parent has not already destroyed.
  QPointer<TBitmapView> FImage;
  QPointer<QLabel> FMinLabel;
  QPointer<QLabel> FMaxLabel;
  QPointer<QLabel> FEqualsLabel;
  QPointer<QLineEdit> FValueEdit;
  TEditEvents* FValueEditEvents = nullptr;  // a child of FValueEdit
  QPointer<QSlider> FSlider;
  bool FSliderOnRight = false;
  QPointer<QComboBox> FViewTypeCombo;
  TBitmap32 FFieldBitmap;
  TBitmap32 FOverlayBitmap;
  TBitmap32 FCompositeBitmap;
  TViewType FViewType = vtLuvL;
  std::array<double, kNumViewTypes> FSliderValues = kDefaultSliderValues;
  int FTotalWidth = 0, FTotalHeight = 0;
  int FLeft = 0, FTop = 0;
  bool FVisible = true;
  const TColorSettings* FColorSettings = nullptr;
  bool FSliderEventsOn = true;
  TKeyEditor FKeyEditor;  // the key palette, the mouse's events and the drag
  bool FDrawGridLines = true;
  bool FDrawGridAxes = false;
  bool FShowPixelsOutOfRange = false;
  bool FShowDrawTime = false;
  bool FShowColorKeys = false;
  std::vector<TColorPalette*> FPalettes;
  TOverlaySamples FOverlaySamples;  // reused by every redraw
};
