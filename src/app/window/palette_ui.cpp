#include "app/window/palette_ui.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <string_view>

#include "app/core/window/typed_numbers.h"
#include "app/toolkit/app_style.h"
#include "app/toolkit/bitmap_qimage.h"
#include "app/toolkit/bitmap_view.h"
#include "app/toolkit/edit_events.h"
#include "app/toolkit/error_report.h"
#include "app/toolkit/number_edit.h"
#include "foundation/assertion.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

// Value edits sit at the panel's right edge, level with their slider.
constexpr int kEditRightOffset = 40;
constexpr int kEditWidth = 30;
constexpr int kLabelLeft = 10;
constexpr int kLabelDown = 4;
constexpr int kLabelGap = 2;  // between a label's last pixel and its slider's frame
constexpr char kHueLabelSample[] = "Hue 2:";
constexpr TColor32 kLabelColor = clBlack32;

constexpr char kTagProperty[] = "tag";
constexpr char kNoPaletteCaption[] = "No palette...";

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The application font, or a smaller one in which every label a slider can
// carry ends before the frame of a slider at kSliderLeft (the frame is the
// column left of the slider). One font for all labels, so they match whatever
// palette type is shown.
QFont FitLabelFont() {
  constexpr int room = kSliderLeft - 1 - kLabelGap - kLabelLeft;
  QFont font = QApplication::font();
  for (std::string_view name : SliderKindNames)
    font = FontFittingWidth(font, QString::fromUtf8(name.data(), static_cast<int>(name.size())) + ":", room);
  return FontFittingWidth(font, kHueLabelSample, room);
}

}  // namespace

TPaletteUI::TPaletteUI(QWidget* Panel, TColorPalette* Palette)
    : FPanel(Panel), FPalette(Palette), FLabelFont(FitLabelFont()) {
  if (FPalette != nullptr) FShownType = FPalette->Typ();
  if (FPanel != nullptr) {
    FImage = new TBitmapView(FPanel);
    FImage->setGeometry(0, 0, FPanel->width(), FPanel->height());
    FBitmap.SetSize(FImage->width(), FImage->height());
    FImage->SetBitmap(&FBitmap);
    FImage->show();
    WireImage();
  }
  RebuildSliders();
}

TPaletteUI::~TPaletteUI() {
  // The controls are the panel's children, but they call back into this
  // object: they go with it (unless the panel has already taken them).
  RemoveSliders(true);
  delete FImage.data();
  delete FCaption.data();
}

void TPaletteUI::WireImage() {
  FImage->OnMouseDown = [this](TMouseButton button, int x, int y) { ImageMouseDown(button, x, y); };
  FImage->OnMouseMove = [this](int x, int y) { ImageMouseMove(x, y); };
  FImage->OnMouseUp = [this](TMouseButton button, int x, int y) { ImageMouseUp(button, x, y); };
  FImage->OnCaptureLost = [this] { EndDrag(); };
}

void TPaletteUI::WireEdit(QLineEdit* Edit) {
  auto* events = new TEditEvents(Edit);
  // A replaced edit may still see events until it is freed: they are dropped.
  events->OnKeyDown = [this, Edit](int key) {
    if (OwnsEdit(Edit)) EditBoxKeyDown(Edit, key);
    return false;
  };
  events->OnExit = [this, Edit] {
    if (OwnsEdit(Edit)) EditBoxExit(Edit);
  };
}

void TPaletteUI::SetPalette(TColorPalette* Palette) {
  FPalette = Palette;
  FShownType = FPalette != nullptr ? FPalette->Typ() : 0;
  RebuildSliders();
}

QString TPaletteUI::Caption() const {
  if (FPanel == nullptr || (FImage != nullptr && !FImage->isHidden())) return {};
  if (const auto* host = qobject_cast<const QLabel*>(FPanel.data())) return host->text();
  return FCaption != nullptr ? FCaption->text() : QString();
}

void TPaletteUI::ShowCaption(bool Show) {
  if (FPanel == nullptr) return;
  if (FImage != nullptr) FImage->setVisible(!Show);
  if (FCaption != nullptr) FCaption->setVisible(Show);
  if (!Show) return;
  // A host that shows a caption of its own gets the text; any other host a
  // centred label of ours.
  const QString text = QString::fromLatin1(kNoPaletteCaption);
  if (auto* host = qobject_cast<QLabel*>(FPanel.data())) {
    host->setText(text);
    return;
  }
  if (FCaption == nullptr) {
    FCaption = new QLabel(text, FPanel);
    FCaption->setAlignment(Qt::AlignCenter);
    FCaption->setGeometry(0, 0, FPanel->width(), FPanel->height());
    FCaption->show();
  }
}

void TPaletteUI::RemoveSliders(bool DeleteNow) {
  FDraggedSlider = -1;
  FColorSliders.clear();
  // Out of the list first: hiding a focused edit moves the focus, and its exit
  // handler must find it gone.
  const std::vector<QPointer<QLineEdit>> edits = std::move(FValueEdits);
  FValueEdits.clear();
  for (const QPointer<QLineEdit>& edit : edits) {
    if (edit == nullptr) continue;
    if (DeleteNow) {
      delete edit.data();
      continue;
    }
    // Off the panel at once; freed once the event being handled (perhaps one
    // of this edit's own) is done.
    edit->hide();
    edit->setParent(nullptr);
    edit->deleteLater();
  }
}

bool TPaletteUI::OwnsEdit(const QLineEdit* Edit) const {
  return std::find(FValueEdits.begin(), FValueEdits.end(), Edit) != FValueEdits.end();
}

void TPaletteUI::RebuildSliders() {
  RemoveSliders(false);
  if (FPalette != nullptr && FPanel != nullptr) {
    const TPaletteType type = FPalette->Typ();
    const auto kinds = SliderKindsFor(type);
    FColorSliders.reserve(kinds.size());
    int hueSliders = 0;
    for (size_t i = 0; i < kinds.size(); ++i) {
      TColorSlider& slider = FColorSliders.emplace_back(*FPalette, FBitmap);
      slider.Kind = kinds[i];
      if (slider.Kind == skHue) slider.HueIndex = hueSliders++;
      slider.Left = kSliderLeft;
      slider.Top = SliderTop(type, static_cast<int>(i));
      slider.Width = FImage->width() - kSliderWidthMargin;
      slider.Height = kSliderHeight;

      auto* edit = new QLineEdit(FPanel);
      edit->setGeometry(FPanel->width() - kEditRightOffset, slider.Top, kEditWidth, kEditHeight);
      edit->setProperty(kTagProperty, static_cast<int>(i));
      edit->show();
      WireEdit(edit);
      FValueEdits.emplace_back(edit);
    }
  }
  Redraw();
}

void TPaletteUI::Redraw() {
  if (FPalette == nullptr || FPanel == nullptr) {
    ShowCaption(true);
    return;
  }
  ShowCaption(false);
  if (FPalette->Typ() != FShownType) {
    FShownType = FPalette->Typ();
    RebuildSliders();  // draws the new sliders
    return;
  }
  DrawPanelBackground(FBitmap);
  for (size_t i = 0; i < FColorSliders.size(); ++i) {
    TColorSlider& slider = FColorSliders[i];
    slider.Draw();
    RenderText(FBitmap, kLabelLeft, slider.Top + kLabelDown, QString::fromStdString(slider.LabelText()),
               kLabelColor, FLabelFont);
    if (QLineEdit* edit = FValueEdits[i]) {
      const QSignalBlocker hold(edit);
      ShowNumberText(*edit, slider.ValueText());
    }
  }
  FImage->Changed();
}

bool TPaletteUI::SlidersStale() {
  if (FPalette == nullptr || FPalette->Typ() == FShownType) return false;
  Redraw();
  return true;
}

void TPaletteUI::ImageMouseDown(TMouseButton Button, int X, int Y) {
  if (Button != TMouseButton::mbLeft || FDragging) return;
  FDragging = true;
  FDragInside = true;
  ImageDragOver(X, Y, TDragState::dsDragEnter);
}

void TPaletteUI::ImageMouseMove(int X, int Y) {
  if (!FDragging) return;
  const bool inside = X >= 0 && Y >= 0 && X < FImage->width() && Y < FImage->height();
  if (inside) {
    const bool entering = !FDragInside;
    FDragInside = true;
    ImageDragOver(X, Y, entering ? TDragState::dsDragEnter : TDragState::dsDragMove);
  } else if (FDragInside) {
    FDragInside = false;
    ImageDragOver(X, Y, TDragState::dsDragLeave);
  }
}

void TPaletteUI::ImageMouseUp(TMouseButton Button, int, int) {
  if (Button == TMouseButton::mbLeft && FDragging) EndDrag();
}

void TPaletteUI::EndDrag() {
  FDragging = false;
  FDragInside = false;
  FDraggedSlider = -1;
  if (FImage != nullptr) FImage->unsetCursor();
}

void TPaletteUI::ImageDragOver(int X, int Y, TDragState State) {
  if (SlidersStale()) {
    FDraggedSlider = -1;
    FImage->unsetCursor();
    return;
  }
  const auto hit = std::find_if(FColorSliders.begin(), FColorSliders.end(),
                                [X, Y](const TColorSlider& s) { return s.Contains(X, Y); });
  if (State == TDragState::dsDragEnter)
    FDraggedSlider =
        hit == FColorSliders.end() ? -1 : static_cast<int>(hit - FColorSliders.begin());
  else if (State == TDragState::dsDragLeave)
    FDraggedSlider = -1;
  if (FDraggedSlider < 0 || FDraggedSlider >= static_cast<int>(FColorSliders.size())) {
    FImage->unsetCursor();
    return;
  }
  // No cursor while a slider follows the pointer.
  FImage->setCursor(Qt::BlankCursor);
  FColorSliders[FDraggedSlider].DragTo(X);
  Redraw();
  DoChange();
}

bool TPaletteUI::StepEditValue(QLineEdit& Edit, int Key, const TStepRange& Range) {
  double value = 0;
  try {
    value = StrToFloat(Edit.text().toStdString());
  } catch (const EConvertError& error) {
    if (IsEnter(Key))
      Notifier().ShowMessage(QApplication::applicationName().toStdString(), error.what());
    return false;
  }
  double stepped = value;
  if (Range.Step > 0 && Key == Qt::Key_Up) stepped = std::min(Range.Max, value + Range.Step);
  if (Range.Step > 0 && Key == Qt::Key_Down) stepped = std::max(Range.Min, value - Range.Step);
  if (stepped == value && !IsEnter(Key)) return false;
  ShowNumberText(Edit, FloatToText(stepped, UserFormatSettings()));
  return true;
}

void TPaletteUI::EditBoxKeyDown(QObject* Sender, int Key) {
  auto* edit = qobject_cast<QLineEdit*>(Sender);
  bool tagged = false;
  const int tag = edit != nullptr ? edit->property(kTagProperty).toInt(&tagged) : -1;
  Require(tagged && tag >= 0 && tag < static_cast<int>(FColorSliders.size()) &&
              tag < static_cast<int>(FValueEdits.size()) && FValueEdits[tag] == edit,
          "The EditBox given to EditBoxKeyDown should have a tag with a correct number [ 0 .. "
          "Length(FColorSliders]-1 ]");
  if (SlidersStale()) return;
  TColorSlider& slider = FColorSliders[tag];
  if (!StepEditValue(*edit, Key, slider.StepRange())) return;
  if (!slider.ApplyTypedValue(StrToFloat(edit->text().toStdString()))) return;
  Redraw();
  DoChange();
}

void TPaletteUI::EditBoxExit(QObject* Sender) { EditBoxKeyDown(Sender, Qt::Key_Return); }

void TPaletteUI::DoChange() {
  if (OnChange) OnChange();
}
