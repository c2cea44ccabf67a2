// The viewport's controls, their layout, the slider value kept per view type
// and the handlers of the slider, the value edit and the view-type list.
#include "app/viewport/viewport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/core/window/typed_numbers.h"
#include "app/toolkit/app_style.h"
#include "app/toolkit/edit_events.h"
#include "app/toolkit/error_report.h"
#include "app/toolkit/number_edit.h"
#include "foundation/assertion.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "foundation/rounding.h"
#include "palette/colour_palette.h"

namespace {

// Control geometry the layout rules are written in.
constexpr int kSliderWidth = kViewportSliderWidth;
constexpr int kSliderTickInterval = 10;
constexpr int kEqualsWidth = kViewportEqualsWidth;
constexpr int kValueEditWidth = kViewportValueEditWidth;
constexpr int kRangeLabelHeight = kLabelHeight;
constexpr int kImageGap = kViewportImageGap;
constexpr int kEqualsDrop = 2;        // the "=" sits this much below the row's top
constexpr QRgb kRangeLabelColour = 0x999999;

// A slider position for a value: beyond the int range the nearest end, so the
// 64-bit track-bar arithmetic below stays in range.
int SliderPositionOf(double value) {
  constexpr double kLow = INT32_MIN;
  constexpr double kHigh = INT32_MAX;
  return RoundDouble(std::clamp(value, kLow, kHigh));
}

// A remembered value as the integer the edit shows after a view-type change:
// written as a whole number of any size, never the 32-bit overflow value.
std::string RoundedText(double value) {
  return FloatToText(std::nearbyint(value), UserFormatSettings());
}

QLabel* RangeLabel(QWidget* parent) {
  auto* label = new QLabel("0", parent);
  label->setAlignment(Qt::AlignCenter);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor::fromRgb(kRangeLabelColour));
  label->setPalette(palette);
  label->resize(kSliderWidth, kRangeLabelHeight);
  return label;
}

// Clears FSliderEventsOn for its lifetime.
class TSliderEventsOff {
 public:
  explicit TSliderEventsOff(bool& flag) : FFlag(flag) { FFlag = false; }
  ~TSliderEventsOff() { FFlag = true; }
  TSliderEventsOff(const TSliderEventsOff&) = delete;
  TSliderEventsOff& operator=(const TSliderEventsOff&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

TViewport::TViewport(QWidget* Parent) {
  CreateControls(Parent);
  ConnectControls();
  SetViewType(vtLuvL);
  SetPosition(0, 0);
  SetSize(100, 100);
}

TViewport::~TViewport() {
  // Handlers must not reach a destroyed viewport while the controls go.
  if (FImage) {
    FImage->OnMouseDown = nullptr;
    FImage->OnMouseMove = nullptr;
    FImage->OnMouseUp = nullptr;
    FImage->OnCaptureLost = nullptr;
  }
  if (FValueEdit) {
    FValueEditEvents->OnKeyUp = nullptr;
    FValueEditEvents->OnExit = nullptr;
  }
  delete FViewTypeCombo.data();
  delete FValueEdit.data();
  delete FMaxLabel.data();
  delete FEqualsLabel.data();
  delete FMinLabel.data();
  delete FSlider.data();
  delete FImage.data();
}

void TViewport::CreateControls(QWidget* parent) {
  FImage = new TBitmapView(parent);
  FImage->SetBitmap(&FCompositeBitmap);

  FSlider = new QSlider(Qt::Vertical, parent);
  FSlider->setTickInterval(kSliderTickInterval);
  FSlider->setTickPosition(QSlider::TicksRight);
  // The slider's top is its minimum position, like the toolkit's track bar;
  // the value shown is min + max - position, so the top end is the maximum.
  FSlider->setInvertedAppearance(true);
  FSlider->setInvertedControls(true);
  FSlider->resize(kSliderWidth, 0);

  FMinLabel = RangeLabel(parent);

  FEqualsLabel = new QLabel("=", parent);
  FEqualsLabel->setAlignment(Qt::AlignCenter);
  FEqualsLabel->resize(kEqualsWidth, kLabelHeight);

  FMaxLabel = RangeLabel(parent);

  FValueEdit = new QLineEdit(parent);
  FValueEdit->resize(kValueEditWidth, kEditHeight);
  FValueEditEvents = new TEditEvents(FValueEdit);

  FViewTypeCombo = new QComboBox(parent);
  FViewTypeCombo->setEditable(false);
  for (const TViewTypeInfo& info : ViewTypeInfo)
    FViewTypeCombo->addItem(QString::fromUtf8(info.Name.data(), static_cast<qsizetype>(info.Name.size())));
  FViewTypeCombo->resize(kViewTypeComboWidth, kComboHeight);

  for (QWidget* control : {static_cast<QWidget*>(FImage), static_cast<QWidget*>(FSlider),
                           static_cast<QWidget*>(FMinLabel), static_cast<QWidget*>(FEqualsLabel),
                           static_cast<QWidget*>(FMaxLabel), static_cast<QWidget*>(FValueEdit),
                           static_cast<QWidget*>(FViewTypeCombo)})
    control->setVisible(FVisible);
}

void TViewport::ConnectControls() {
  FImage->OnMouseDown = [this](TMouseButton button, int x, int y) { ImageMouseDown(button, x, y); };
  FImage->OnMouseMove = [this](int x, int y) { ImageMouseMove(x, y); };
  FImage->OnMouseUp = [this](TMouseButton button, int x, int y) { ImageMouseUp(button, x, y); };
  FImage->OnCaptureLost = [this] { ImageCaptureLost(); };
  QObject::connect(FSlider, &QSlider::valueChanged, FSlider,
                   [this](int) { RunGuarded([this] { SliderChange(); }); });
  FValueEditEvents->OnKeyUp = [this](int key) { ValueEditKeyUp(key); };
  FValueEditEvents->OnExit = [this] { ValueEditExit(); };
  // activated: the user's choice only, not a selection made from code.
  QObject::connect(FViewTypeCombo, &QComboBox::activated, FViewTypeCombo,
                   [this](int) { RunGuarded([this] { ViewTypeComboChange(); }); });
}

TBitmapView* TViewport::Image() const { return FImage; }
QLabel* TViewport::MinLabel() const { return FMinLabel; }
QLabel* TViewport::MaxLabel() const { return FMaxLabel; }
QLabel* TViewport::EqualsLabel() const { return FEqualsLabel; }
QLineEdit* TViewport::ValueEdit() const { return FValueEdit; }
QSlider* TViewport::Slider() const { return FSlider; }
QComboBox* TViewport::ViewTypeCombo() const { return FViewTypeCombo; }

// --- Layout -----------------------------------------------------------------------

void TViewport::SetPosition(int Left, int Top) {
  FLeft = Left;
  FTop = Top;
  const int imageTop = kComboHeight + Top + kImageGap;
  const int imageWidth = FImage->width();
  const int row = kViewportRowWidth;
  int sliderLeft, imageLeft, comboLeft;
  if (FSliderOnRight) {
    imageLeft = Left;
    sliderLeft = Left + imageWidth;
    comboLeft = Left + (imageWidth - row) / 2;
  } else {
    sliderLeft = Left;
    imageLeft = Left + kSliderWidth;
    comboLeft = sliderLeft + kSliderWidth + (imageWidth - row) / 2;
  }
  const int sliderTop = imageTop + FMinLabel->height();
  FImage->move(imageLeft, imageTop);
  FMaxLabel->move(sliderLeft, imageTop);
  FSlider->move(sliderLeft, sliderTop);
  FMinLabel->move(sliderLeft, sliderTop + FSlider->height());
  FViewTypeCombo->move(comboLeft, Top);
  FEqualsLabel->move(comboLeft + kViewTypeComboWidth, Top + kEqualsDrop);
  FValueEdit->move(comboLeft + kViewTypeComboWidth + kEqualsWidth, Top);
}

void TViewport::SetSize(int Width, int Height) {
  if (Width == FTotalWidth && Height == FTotalHeight) return;
  // A viewport too small for its slider and list keeps an empty image.
  const int side = std::max(0, std::min(Width - kSliderWidth, Height - kComboHeight - kImageGap));
  FImage->resize(side, side);
  FFieldBitmap.SetSize(side, side);
  FOverlayBitmap.SetSize(side, side);
  FCompositeBitmap.SetSize(side, side);
  FImage->SetBitmap(&FCompositeBitmap);
  const int sliderHeight = std::max(0, side - (FMinLabel->height() + FMaxLabel->height()));
  FSlider->resize(kSliderWidth, sliderHeight);
  FMinLabel->resize(kSliderWidth, kRangeLabelHeight);
  FMaxLabel->resize(kSliderWidth, kRangeLabelHeight);
  FTotalWidth = side + kSliderWidth;
  FTotalHeight = side + kComboHeight + kImageGap;
  SetPosition(FLeft, FTop);
}

void TViewport::SetSliderOnRight(bool OnRight) {
  FSliderOnRight = OnRight;
  FSlider->setTickPosition(OnRight ? QSlider::TicksLeft : QSlider::TicksRight);
  SetPosition(FLeft, FTop);
}

void TViewport::SetVisible(bool Visible) {
  if (Visible == FVisible) return;
  FVisible = Visible;
  for (QWidget* control : {static_cast<QWidget*>(FImage), static_cast<QWidget*>(FSlider),
                           static_cast<QWidget*>(FMinLabel), static_cast<QWidget*>(FEqualsLabel),
                           static_cast<QWidget*>(FMaxLabel), static_cast<QWidget*>(FValueEdit),
                           static_cast<QWidget*>(FViewTypeCombo)})
    control->setVisible(Visible);
}

// --- View type and slider ------------------------------------------------------------

void TViewport::SetViewType(TViewType ViewType) {
  const TViewTypeInfo& info = ::GetViewTypeInfo(ViewType);  // checks the range
  FViewType = ViewType;
  {
    const QSignalBlocker hold(FViewTypeCombo);
    FViewTypeCombo->setCurrentIndex(ViewType);
  }
  UpdateTrackBar(SliderPositionOf(GetSliderValue()));
  FMinLabel->setText(QString::number(RoundDouble(info.Min)));
  FMaxLabel->setText(QString::number(RoundDouble(info.Max)));
  ShowNumberText(*FValueEdit, RoundedText(GetSliderValue()));
}

const TViewTypeInfo& TViewport::GetViewTypeInfo() const { return ::GetViewTypeInfo(FViewType); }

double TViewport::GetSliderValue() const { return FSliderValues[FViewType]; }

void TViewport::SetSliderValue(double Value) {
  FSliderValues[FViewType] = Value;
  UpdateTrackBar(SliderPositionOf(Value));
  ShowNumberText(*FValueEdit, FloatToText(Value, UserFormatSettings()));
}

void TViewport::UpdateTrackBar(int Position) {
  const TSliderEventsOff off(FSliderEventsOn);
  const TViewTypeInfo& info = GetViewTypeInfo();
  const int64_t min = RoundDouble(info.Min);
  const int64_t max = RoundDouble(info.Max);
  FSlider->setRange(static_cast<int>(min), static_cast<int>(max));
  // Upside down: the top end (position min) is the maximum.
  const int64_t position = std::clamp<int64_t>(max - (Position - min), min, max);
  FSlider->setValue(static_cast<int>(position));
}

void TViewport::SetSliderFromColor(const TRGB& RGB) {
  if (const auto value = SliderAxisValue(FViewType, RGB, FColorSettings)) SetSliderValue(*value);
}

// --- Settings -------------------------------------------------------------------------

void TViewport::SetColorSettings(const TColorSettings* Settings) {
  FColorSettings = Settings;
  for (TColorPalette* palette : FPalettes)
    if (palette != nullptr) palette->SetColorSettings(Settings);
}

// --- Mouse --------------------------------------------------------------------------------

void TViewport::ImageMouseDown(TMouseButton Button, int X, int Y) { FKeyEditor.Press(Button, X, Y, Geometry()); }

void TViewport::ImageMouseMove(int X, int Y) { FKeyEditor.Move(X, Y, Geometry(), FFieldBitmap); }

void TViewport::ImageMouseUp(TMouseButton Button, int X, int Y) { FKeyEditor.Release(Button, X, Y, FFieldBitmap); }

void TViewport::ImageCaptureLost() { FKeyEditor.CaptureLost(); }

// --- Handlers ---------------------------------------------------------------------------

void TViewport::SliderChange() {
  if (!FSliderEventsOn) return;
  const int64_t value = int64_t{FSlider->minimum()} + FSlider->maximum() - FSlider->value();
  SetSliderValue(static_cast<double>(value));
  Redraw(false);
}

void TViewport::ApplyTypedValue() {
  // A text that is no finite number raises the conversion error, shown by the
  // handler's guard; the value stays as it was.
  const double value = StrToFloat(FValueEdit->text().toStdString());
  if (value == GetSliderValue()) return;
  SetSliderValue(value);
  Redraw(false);
}

void TViewport::ValueEditKeyUp(int Key) {
  if (Key == Qt::Key_Return || Key == Qt::Key_Enter) ApplyTypedValue();
}

void TViewport::ValueEditExit() { ApplyTypedValue(); }

void TViewport::ViewTypeComboChange() {
  SetViewType(static_cast<TViewType>(FViewTypeCombo->currentIndex()));
  Redraw(false);
}
