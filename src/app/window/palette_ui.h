#pragma once
// The palette-parameter panel: one slider per shape parameter of the palette
// holder's current palette (sequential, diverging or qualitative), all drawn
// into one bitmap shown by an image control, each with a label on its left and
// a value edit on its right. Dragging a slider with the left button or typing
// a value (Up/Down step it, Enter or leaving the edit applies it) writes the
// parameter straight into the palette and fires OnChange.
//
// The main window builds the panel once on its host widget and calls Redraw
// when the panel's tab is selected, after the colour count changes and after
// the palette type changes (the sliders are rebuilt when the type differs
// from the one they were built for).

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

#include "app/core/window/colour_slider.h"
#include "app/toolkit/bitmap_view.h"
#include "graphics/bitmap32.h"
#include "palette/palette_types.h"

class QObject;
class QWidget;
class TColorPalette;

class TPaletteUI {
 public:
  // Panel: the host widget (not owned); the image control covers it at its
  // size at this moment. Palette: the holder to shape (not owned, outlives the
  // panel). Either may be null: without a palette the panel shows the caption
  // "No palette...", without a host it shows nothing. Draws itself once.
  TPaletteUI(QWidget* Panel, TColorPalette* Palette);
  ~TPaletteUI();
  TPaletteUI(const TPaletteUI&) = delete;
  TPaletteUI& operator=(const TPaletteUI&) = delete;

  // Brings sliders, edits and picture up to date with the palette.
  void Redraw();
  // Works on another holder from now on (null: "No palette..."); rebuilds.
  void SetPalette(TColorPalette* Palette);
  TColorPalette* Palette() const { return FPalette; }

  // Called after every change the panel writes into the palette (also when a
  // drag over a slider left the value as it was).
  std::function<void()> OnChange;

  // The value edits' key-down handler: Enter applies the typed value, Up and
  // Down step it within the slider's bounds; Key is a Qt key code and is never
  // consumed. Sender must be one of the panel's value edits (an assertion
  // failure otherwise).
  void EditBoxKeyDown(QObject* Sender, int Key);
  // Leaving a value edit applies what was typed, as Enter does.
  void EditBoxExit(QObject* Sender);

  // For the main window's tests and the benchmark.
  const std::vector<TColorSlider>& ColorSliders() const { return FColorSliders; }
  const std::vector<QPointer<QLineEdit>>& ValueEdits() const { return FValueEdits; }
  TBitmapView* Image() const { return FImage; }
  const TBitmap32& Bitmap() const { return FBitmap; }
  int DraggedSlider() const { return FDraggedSlider; }
  // The font the labels left of the sliders are drawn in: the application
  // font, made smaller where the widest label would reach the slider.
  const QFont& LabelFont() const { return FLabelFont; }
  // The text the panel shows instead of sliders; empty while it has a palette.
  QString Caption() const;

 private:
  enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };

  void WireImage();
  void WireEdit(QLineEdit* Edit);
  void RebuildSliders();
  // DeleteNow only when no handler of the edits can be running.
  void RemoveSliders(bool DeleteNow);
  bool OwnsEdit(const QLineEdit* Edit) const;
  void ShowCaption(bool Show);
  // A press, move or release of the mouse on the image, turned into the drag
  // events: press = enter, move inside = move, leaving the image = leave,
  // coming back = enter, release ends the drag. Left button only.
  void ImageMouseDown(TMouseButton Button, int X, int Y);
  void ImageMouseMove(int X, int Y);
  void ImageMouseUp(TMouseButton Button, int X, int Y);
  void EndDrag();
  void ImageDragOver(int X, int Y, TDragState State);
  bool StepEditValue(QLineEdit& Edit, int Key, const TStepRange& Range);
  // True (after a rebuild) when the palette type changed since the sliders
  // were built, so the event at hand belongs to sliders that are gone.
  bool SlidersStale();
  void DoChange();

  std::vector<TColorSlider> FColorSliders;
  // Children of the panel, one per slider; replaced ones are deleted later
  // (a rebuild may run inside one of their own handlers).
  std::vector<QPointer<QLineEdit>> FValueEdits;
  QPointer<QWidget> FPanel;
  TColorPalette* FPalette;
  QFont FLabelFont;
  TPaletteType FShownType = 0;
  int FDraggedSlider = -1;
  TBitmap32 FBitmap;
  QPointer<TBitmapView> FImage;
  QPointer<QLabel> FCaption;
  bool FDragging = false;    // the left button went down on the image
  bool FDragInside = false;  // and the pointer is over the image
};
