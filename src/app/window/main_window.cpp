// The main window's controls and their geometry, the start-up sequence that
// builds the tool, the resize handler and the wiring of every control.
#include "app/window/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPoint>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QResizeEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <algorithm>
#include <string_view>

#include "app/core/palette_names.h"
#include "app/core/window/num_colors_limit.h"
#include "app/toolkit/app_style.h"
#include "app/toolkit/bitmap_view.h"
#include "app/toolkit/edit_events.h"
#include "app/toolkit/error_report.h"
#include "app/toolkit/number_edit.h"
#include "app/toolkit/shape_widget.h"
#include "app/viewport/viewport_group.h"
#include "app/window/palette_ui.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "graphics/color32.h"
#include "palette/colour_palette.h"

namespace {

constexpr char kCaption[] = "Dravolin Quenzaro";

// The window is 1057 x 712 from outside; its client area, which every
// position below and the resize margins are measured in, is that less the
// frame (8 pixels each side) and the title bar.
constexpr int kClientWidth = 1041;
constexpr int kClientHeight = 674;

// Controls: left, top, width, height within the parent.
constexpr QRect kImage1{224, 24, 554, 541};

constexpr QRect kGroupBox2{8, 16, 201, 233};  // "View Settings"
constexpr QPoint kChkShowPixelsOutOfRange{8, 18};
constexpr QPoint kChkDrawGridLines{8, 36};
constexpr QPoint kChkDrawGridAxes{8, 54};
constexpr QPoint kChkShowDrawTime{8, 72};
constexpr QPoint kChkShowColorKeys{8, 90};
constexpr int kSettingLabelLeft = 8;
constexpr int kSettingLabelWidth = 62;
constexpr int kSettingFieldLeft = 72;
constexpr int kSettingFieldWidth = 121;
constexpr int kSettingRowTop = 112;   // first combo row
constexpr int kSettingRowStep = 25;
constexpr int kSettingLabelDrop = 4;  // a label's top below its field's
constexpr QPoint kRad1x1{8, 212};
constexpr QPoint kRad2x2{72, 212};

constexpr QRect kGroupBox1{8, 253, 201, 71};  // "Color under cursor"
constexpr int kCursorLabelLeft = 8;
constexpr int kCursorValueLeft = 58;
constexpr int kCursorLabelWidth = kCursorValueLeft - kCursorLabelLeft;  // up to its value
constexpr int kCursorValueWidth = 78;
constexpr int kCursorRowTop = 19;
constexpr int kCursorRowStep = 16;
constexpr QRect kPanCurColor{138, 17, 50, 42};

constexpr QRect kGrpPrevColors{8, 328, 201, 337};
constexpr QRect kPanPrevColor{8, 16, 38, 41};
constexpr TColor kPrevColorBrush = 0xE0E0E0;
constexpr TColor kPrevColorPen = 0xD3D3D3;
constexpr TColor kCurColorPen = 0xD3D3D3;
constexpr int kPrevColorsRowMargin = 22;

constexpr QRect kPageControl1{792, 24, 241, 337};
// Tab "Custom"
constexpr QRect kLabel4{8, 10, 220, kLabelHeight};
constexpr QRect kLabel6{8, 28, 220, kLabelHeight};
constexpr QRect kLabel18{8, 46, 220, kLabelHeight};
constexpr QRect kLabel16{8, 80, 110, kLabelHeight};
constexpr QRect kEdtCustomNumColors{120, 76, 60, kEditHeight};
constexpr QRect kLabel17{8, 110, 150, kLabelHeight};
constexpr QRect kCmbInterpolationMethod{8, 126, 150, kComboHeight};
// Tab "Auto"
constexpr QRect kLabel19{8, 14, 70, kLabelHeight};
constexpr QRect kEdtAutoNumColors{80, 10, 50, kEditHeight};
constexpr QRect kLblPaletteType{8, 40, 100, kLabelHeight};
constexpr int kAutoRadioTop = 56;
constexpr int kRadioGap = 4;  // between neighbouring radio buttons of a row
constexpr int kRadSequentialLeft = 16;
constexpr int kRadDivergingLeft = 84;
constexpr int kRadQualitativeLeft = 149;
constexpr QRect kPanPaletteUI{4, 76, 225, 225};
// Tab "Brewer"
constexpr int kBrewerLabelLeft = 8;
constexpr int kBrewerComboLeft = 112;
constexpr int kBrewerComboWidth = 110;
constexpr int kBrewerRowTop = 10;
constexpr int kBrewerRowStep = 28;
constexpr QRect kBtnShowBrewerPalettes{8, 98, 214, kButtonHeight};
constexpr QRect kBtnCopySelectedToCustom{8, 130, 214, kButtonHeight};
// Tab "Extra"
constexpr QPoint kChkStandardRainbow{8, 10};
constexpr QRect kLabel10{8, 38, 80, kLabelHeight};
constexpr QRect kEdtRainbowNumColors{90, 34, 60, kEditHeight};
constexpr QRect kGroupBox4{8, 64, 217, 108};  // "Draw Spectrum"
constexpr QRect kLabel15{8, 25, 60, kLabelHeight};
constexpr QRect kCmbDrawCompleteSpectrumViewportNr{70, 21, 60, kComboHeight};
constexpr QPoint kRadSpectrumLight{8, 50};
constexpr QPoint kRadSpectrumDark{80, 50};
constexpr QRect kBtnDrawCompleteSpectrum{8, 74, 200, kButtonHeight};
constexpr QRect kGroupBox5{8, 178, 217, 100};  // "Nice number test"
constexpr QRect kEdtNiceNumber1{8, 20, 60, kEditHeight};
constexpr QRect kEdtNiceNumber2{80, 20, 60, kEditHeight};
constexpr QPoint kChkNiceNumbersFixed{8, 48};
constexpr QRect kLblNiceNumbers{4, 80, 209, kLabelHeight};

constexpr QRect kGrpPalette{792, 368, 241, 297};  // "Palette colors"
constexpr QRect kImgContPalette{14, 19, 87, 206};
constexpr QRect kSldCurPalette{108, 13, 29, 220};
constexpr QRect kImgPalette{136, 19, 90, 206};
// Below the slider's last row (13 + 220).
constexpr QPoint kChkCurPaletteShowPixelsOutOfRange{8, 233};
constexpr QPoint kChkShowStoredPalette{8, 251};
constexpr QRect kBtnStoreCurPalette{8, 269, 70, kButtonHeight};
constexpr QRect kBtnBackground{84, 269, 76, kButtonHeight};
constexpr QRect kBtnRandomize{166, 269, 68, kButtonHeight};

// The smallest client area at which every control lies inside the window and
// none overlaps another: the viewport group at its smallest between the fixed
// left-hand groups and the right-hand column, which keeps its distance from
// the right edge (the viewports keep theirs by a wider margin), the history
// group still holding its first row of swatches, and the whole "Palette
// colors" group. Below it the window does not shrink.
constexpr int kImageRightMargin = kClientWidth - (kImage1.x() + kImage1.width());
constexpr int kImageBottomMargin = kClientHeight - (kImage1.y() + kImage1.height());
constexpr int kPrevColorsBottomMargin = kClientHeight - (kGrpPrevColors.y() + kGrpPrevColors.height());
static_assert(kImageRightMargin > kClientWidth - kPageControl1.x(), "the viewports end left of the right-hand column");
constexpr int kMinClientWidth = kImage1.x() + kViewportGroupMinWidth + kImageRightMargin;
// The "Palette colors" group keeps its size and its place below the tab page,
// so the window is at least as high as to hold the whole group with the margin
// that the history group beside it keeps from the bottom edge; both then end
// on one line.
constexpr int kPaletteGroupBottom = kGrpPalette.y() + kGrpPalette.height() + kPrevColorsBottomMargin;
constexpr int kMinClientHeight =
    std::max({kImage1.y() + kViewportGroupMinHeight + kImageBottomMargin,
              kGrpPrevColors.y() + kPanPrevColor.height() + kPrevColorsRowMargin + kPrevColorsBottomMargin,
              kPaletteGroupBottom});

constexpr int kSliderMax = 100;
constexpr int kSliderStart = 50;
constexpr int kSliderTickInterval = 10;

constexpr std::string_view kInterpolationMethods[] = {"RGB", "HLS", "CIELUV", "CIELCH_uv",
                                                      "CIELUV (straight)"};
constexpr int kInitialInterpolationMethod = 2;
constexpr std::string_view kBrewerTypeItems[] = {"All", "Sequential", "Diverging", "Qualitative"};
constexpr int kInitialBrewerType = 1;
constexpr int kBrewerMinCount = 3;
constexpr int kBrewerMaxCount = 12;
constexpr int kInitialBrewerNumColors = 3;  // the item "5"
constexpr int kNumSpectrumViewports = 4;

// The settings at start.
constexpr TColorSettings kStartSettings{0, 3, 2.2, 2};
constexpr int kAutoStartColors = 6;
constexpr int kRainbowStartColors = 12;
constexpr int kBrewerStartNumColors = 5;

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<int>(text.size())); }

template <class TControl>
TControl* Place(TControl* control, const QRect& rect) {
  control->setGeometry(rect);
  return control;
}

QLabel* NewLabel(QWidget* parent, const char* text, const QRect& rect) {
  return Place(new QLabel(text, parent), rect);
}

// Check boxes and radio buttons are as wide as their caption: only the
// indicator and the caption react to a click.
template <class TButton>
TButton* NewToggle(QWidget* parent, const char* text, QPoint at, bool checked) {
  auto* button = new TButton(text, parent);
  button->setGeometry(at.x(), at.y(), button->sizeHint().width(), kCheckHeight);
  button->setChecked(checked);
  return button;
}

QCheckBox* NewCheck(QWidget* parent, const char* text, QPoint at, bool checked) {
  return NewToggle<QCheckBox>(parent, text, at, checked);
}

QRadioButton* NewRadio(QWidget* parent, const char* text, QPoint at, bool checked) {
  return NewToggle<QRadioButton>(parent, text, at, checked);
}

QComboBox* NewList(QWidget* parent, const QRect& rect) {
  return Place(new QComboBox(parent), rect);
}

QLineEdit* NewEdit(QWidget* parent, const char* text, const QRect& rect) {
  return Place(new QLineEdit(text, parent), rect);
}

QPushButton* NewButton(QWidget* parent, const char* text, const QRect& rect) {
  return Place(new QPushButton(text, parent), rect);
}

QGroupBox* NewGroup(QWidget* parent, const char* text, const QRect& rect) {
  return Place(new QGroupBox(text, parent), rect);
}

// A label and its field on one row of a two-column group.
QRect LabelRect(int left, int width, int fieldTop) {
  return {left, fieldTop + kSettingLabelDrop, width, kLabelHeight};
}

template <class TNames>
void FillList(QComboBox* combo, const TNames& names, int selected) {
  const QSignalBlocker hold(combo);
  combo->clear();
  for (std::string_view name : names) combo->addItem(Q(name));
  combo->setCurrentIndex(selected);
}

}  // namespace

TColor TForm1::ButtonFaceColor() {
  const QColor face = QApplication::palette().color(QPalette::Button);
  return static_cast<TColor>(face.red()) | static_cast<TColor>(face.green()) << 8 |
         static_cast<TColor>(face.blue()) << 16;
}

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  setWindowTitle(kCaption);
  resize(kClientWidth, kClientHeight);
  setMinimumSize(kMinClientWidth, kMinClientHeight);
  if (const QScreen* screen = QApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
  }
  QPalette background = palette();
  background.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
  setPalette(background);
  setAutoFillBackground(true);
  CreateControls();
  WireControls();
  RunGuarded([this] { FormCreate(); });
}

TForm1::~TForm1() {
  // The controls outlive the fields (Qt deletes them after the members): no
  // signal or edit event may reach a handler from here on.
  for (QObject* child : findChildren<QObject*>()) QObject::disconnect(child, nullptr, this, nullptr);
  for (TEditEvents* events : FEditEvents) {
    events->OnKeyDown = nullptr;
    events->OnKeyUp = nullptr;
    events->OnExit = nullptr;
  }
}

// --- Controls --------------------------------------------------------------------------

void TForm1::CreateControls() {
  Image1 = Place(new QWidget(this), kImage1);
  Image1->setVisible(false);
  CreateViewSettings();
  CreateColorUnderCursor();
  CreatePrevColors();
  CreatePageControl();
  CreatePaletteGroup();
}

void TForm1::CreateViewSettings() {
  GroupBox2 = NewGroup(this, "View Settings", kGroupBox2);
  chkShowPixelsOutOfRange = NewCheck(GroupBox2, "Show pixels out of range", kChkShowPixelsOutOfRange, false);
  chkDrawGridLines = NewCheck(GroupBox2, "Draw grid lines", kChkDrawGridLines, true);
  chkDrawGridAxes = NewCheck(GroupBox2, "Draw grid axes (red)", kChkDrawGridAxes, false);
  chkShowDrawTime = NewCheck(GroupBox2, "Show draw time (MSec)", kChkShowDrawTime, false);
  chkShowColorKeys = NewCheck(GroupBox2, "Show color keys", kChkShowColorKeys, true);

  const auto row = [](int i) { return kSettingRowTop + i * kSettingRowStep; };
  const auto label = [&](const char* text, int i) {
    return NewLabel(GroupBox2, text, LabelRect(kSettingLabelLeft, kSettingLabelWidth, row(i)));
  };
  const auto field = [&](int i, int height) {
    return QRect{kSettingFieldLeft, row(i), kSettingFieldWidth, height};
  };
  Label1 = label("RGB:", 0);
  cmbRGB_Conversion = NewList(GroupBox2, field(0, kComboHeight));
  Label11 = label("Ref. White:", 1);
  cmbReferenceWhite = NewList(GroupBox2, field(1, kComboHeight));
  Label12 = label("Gamma:", 2);
  edtGamma = NewEdit(GroupBox2, "", field(2, kEditHeight));
  Label14 = label("Dist Func:", 3);
  cmbDistFunc = NewList(GroupBox2, field(3, kComboHeight));
  rad1x1 = NewRadio(GroupBox2, "1 x 1", kRad1x1, false);
  rad2x2 = NewRadio(GroupBox2, "2 x 2", kRad2x2, true);
}

void TForm1::CreateColorUnderCursor() {
  GroupBox1 = NewGroup(this, "Color under cursor", kGroupBox1);
  const auto row = [](int i) { return kCursorRowTop + i * kCursorRowStep; };
  const auto caption = [&](const char* text, int i) {
    return NewLabel(GroupBox1, text, {kCursorLabelLeft, row(i), kCursorLabelWidth, kLabelHeight});
  };
  const auto value = [&](int i) {
    return NewLabel(GroupBox1, "none", {kCursorValueLeft, row(i), kCursorValueWidth, kLabelHeight});
  };
  Label3 = caption("R G B: ", 0);
  lblRGB = value(0);
  Label5 = caption("L* u* v*:", 1);
  lblLuv = value(1);
  Label2 = caption("C* H*:", 2);
  lblCH = value(2);
  panCurColor = Place(new TShape(GroupBox1), kPanCurColor);
  panCurColor->SetPenColor(kCurColorPen);
}

void TForm1::CreatePrevColors() {
  grpPrevColors = NewGroup(this, "Previous colors", kGrpPrevColors);
  panPrevColor = Place(new TShape(grpPrevColors), kPanPrevColor);
  panPrevColor->SetBrushColor(kPrevColorBrush);
  panPrevColor->SetPenColor(kPrevColorPen);
  panPrevColor->SetPenStyle(TPenStyle::psClear);
}

void TForm1::CreatePageControl() {
  PageControl1 = Place(new QTabWidget(this), kPageControl1);
  tabCustom = new QWidget;
  tabAuto = new QWidget;
  tabBrewer = new QWidget;
  tabExtra = new QWidget;
  PageControl1->addTab(tabCustom, "Custom");
  PageControl1->addTab(tabAuto, "Auto");
  PageControl1->addTab(tabBrewer, "Brewer");
  PageControl1->addTab(tabExtra, "Extra");

  Label4 = NewLabel(tabCustom, "Left-click on a viewport to add a color", kLabel4);
  Label6 = NewLabel(tabCustom, "Right-click on a colorkey to delete it", kLabel6);
  Label18 = NewLabel(tabCustom, "Middle-click to clear all keys", kLabel18);
  Label16 = NewLabel(tabCustom, "Number of colors:", kLabel16);
  edtCustomNumColors = NewEdit(tabCustom, "0", kEdtCustomNumColors);
  Label17 = NewLabel(tabCustom, "Interpolation method:", kLabel17);
  cmbInterpolationMethod = NewList(tabCustom, kCmbInterpolationMethod);
  FillList(cmbInterpolationMethod, kInterpolationMethods, kInitialInterpolationMethod);

  Label19 = NewLabel(tabAuto, "Num Colors:", kLabel19);
  edtAutoNumColors = NewEdit(tabAuto, "6", kEdtAutoNumColors);
  lblPaletteType = NewLabel(tabAuto, "Palette type:", kLblPaletteType);
  const auto autoRadio = [this](const char* caption, int left, bool checked) {
    return NewRadio(tabAuto, caption, {left, kAutoRadioTop}, checked);
  };
  radSequential = autoRadio("Sequential", kRadSequentialLeft, true);
  radDiverging = autoRadio("Diverging", kRadDivergingLeft, false);
  radDiverging->setVisible(false);
  radQualitative = autoRadio("Qualitative", kRadQualitativeLeft, false);
  panPaletteUI = Place(new QLabel("Palette UI", tabAuto), kPanPaletteUI);
  panPaletteUI->setAlignment(Qt::AlignCenter);

  const auto brewerRow = [](int i) { return kBrewerRowTop + i * kBrewerRowStep; };
  const auto brewerLabel = [&](const char* text, int i) {
    return NewLabel(tabBrewer, text,
                    LabelRect(kBrewerLabelLeft, kBrewerComboLeft - kBrewerLabelLeft, brewerRow(i)));
  };
  const auto brewerCombo = [&](int i) {
    return NewList(tabBrewer, {kBrewerComboLeft, brewerRow(i), kBrewerComboWidth, kComboHeight});
  };
  Label7 = brewerLabel("Palette type:", 0);
  cmbBrewerPaletteType = brewerCombo(0);
  FillList(cmbBrewerPaletteType, kBrewerTypeItems, kInitialBrewerType);
  Label8 = brewerLabel("Number of Colors:", 1);
  cmbBrewerNumColors = brewerCombo(1);
  {
    const QSignalBlocker hold(cmbBrewerNumColors);
    cmbBrewerNumColors->addItem("All");
    for (int n = kBrewerMinCount; n <= kBrewerMaxCount; ++n) cmbBrewerNumColors->addItem(QString::number(n));
    cmbBrewerNumColors->setCurrentIndex(kInitialBrewerNumColors);
  }
  Label9 = brewerLabel("Palette name:", 2);
  cmbBrewerPaletteName = brewerCombo(2);
  {
    const QSignalBlocker hold(cmbBrewerPaletteName);
    cmbBrewerPaletteName->addItem("All");
    cmbBrewerPaletteName->setCurrentIndex(0);
  }
  btnShowBrewerPalettes = NewButton(tabBrewer, "Show ColorBrewer Palettes", kBtnShowBrewerPalettes);
  btnCopySelectedToCustom = NewButton(tabBrewer, "Copy selected to custom ", kBtnCopySelectedToCustom);

  chkStandardRainbow = NewCheck(tabExtra, "Rainbow", kChkStandardRainbow, false);
  Label10 = NewLabel(tabExtra, "Nr of colors:", kLabel10);
  edtRainbowNumColors = NewEdit(tabExtra, "12", kEdtRainbowNumColors);
  GroupBox4 = NewGroup(tabExtra, "Draw Spectrum", kGroupBox4);
  Label15 = NewLabel(GroupBox4, "Viewport:", kLabel15);
  cmbDrawCompleteSpectrumViewportNr = NewList(GroupBox4, kCmbDrawCompleteSpectrumViewportNr);
  cmbDrawCompleteSpectrumViewportNr->setEditable(true);
  {
    const QSignalBlocker hold(cmbDrawCompleteSpectrumViewportNr);
    for (int v = 1; v <= kNumSpectrumViewports; ++v) cmbDrawCompleteSpectrumViewportNr->addItem(QString::number(v));
    cmbDrawCompleteSpectrumViewportNr->setEditText("1");
  }
  radSpectrumLight = NewRadio(GroupBox4, "Light", kRadSpectrumLight, true);
  radSpectrumDark = NewRadio(GroupBox4, "Dark", kRadSpectrumDark, false);
  btnDrawCompleteSpectrum = NewButton(GroupBox4, "Draw complete sprectrum", kBtnDrawCompleteSpectrum);
  GroupBox5 = NewGroup(tabExtra, "Nice number test", kGroupBox5);
  GroupBox5->setVisible(false);
  edtNiceNumber1 = NewEdit(GroupBox5, "20", kEdtNiceNumber1);
  edtNiceNumber2 = NewEdit(GroupBox5, "40", kEdtNiceNumber2);
  chkNiceNumbersFixed = NewCheck(GroupBox5, "Fixed number of categories", kChkNiceNumbersFixed, false);
  lblNiceNumbers = NewLabel(GroupBox5, "20, 25, 30, 35, 40", kLblNiceNumbers);
  lblNiceNumbers->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  // The form was designed on "Auto"; FormCreate selects it again.
  const QSignalBlocker hold(PageControl1);
  PageControl1->setCurrentIndex(kTabAuto);
}

void TForm1::CreatePaletteGroup() {
  grpPalette = NewGroup(this, "Palette colors", kGrpPalette);
  imgContPalette = Place(new TBitmapView(grpPalette), kImgContPalette);
  sldCurPalette = Place(new QSlider(Qt::Vertical, grpPalette), kSldCurPalette);
  sldCurPalette->setRange(0, kSliderMax);
  sldCurPalette->setValue(kSliderStart);
  sldCurPalette->setTickInterval(kSliderTickInterval);
  sldCurPalette->setTickPosition(QSlider::NoTicks);
  // Position 0 at the top, as the strip's end (t = 1) is.
  sldCurPalette->setInvertedAppearance(true);
  sldCurPalette->setInvertedControls(true);
  imgPalette = Place(new TBitmapView(grpPalette), kImgPalette);
  chkCurPaletteShowPixelsOutOfRange =
      NewCheck(grpPalette, "Show pixels out of range", kChkCurPaletteShowPixelsOutOfRange, true);
  chkShowStoredPalette = NewCheck(grpPalette, "Show stored palettes", kChkShowStoredPalette, false);
  btnStoreCurPalette = NewButton(grpPalette, "Store", kBtnStoreCurPalette);
  btnBackground = NewButton(grpPalette, "Background", kBtnBackground);
  btnRandomize = NewButton(grpPalette, "Randomize", kBtnRandomize);
}

void TForm1::CreatePrevColorSwatches() {
  const QRect t = panPrevColor->geometry();
  for (int i = 0; i < kNumPrevColors; ++i) {
    const int r = i / kPrevColorColumns;
    const int c = i % kPrevColorColumns;
    const int column = r % 2 == 0 ? c : kPrevColorColumns - 1 - c;  // serpentine
    auto* swatch = new TShape(grpPrevColors);
    swatch->setGeometry(t.left() + (t.width() - 1) * column, t.top() + (t.height() - 1) * r, t.width(),
                        t.height());
    swatch->SetBrushColor(panPrevColor->BrushColor());
    swatch->SetPenColor(panPrevColor->PenColor());
    swatch->SetPenStyle(panPrevColor->PenStyle());
    swatch->OnMouseMove = [this, swatch](int x, int y) { PrevColorPanelMouseMove(swatch, x, y); };
    swatch->show();
    PrevColors[i] = swatch;
  }
}

// --- Start-up -------------------------------------------------------------------------------

void TForm1::FormCreate() {
  // The settings first: everything built below is handed them.
  ColorSettings = kStartSettings;
  FillList(cmbRGB_Conversion, RGBConversionNames, ColorSettings.RGBConversion);
  FillList(cmbReferenceWhite, ReferenceWhiteNames, ColorSettings.ReferenceWhite);
  FillList(cmbDistFunc, DistFuncNames, ColorSettings.DistFunc);
  ShowNumberText(*edtGamma, FloatToText(ColorSettings.Gamma, UserFormatSettings()));

  // The history swatches exist before a viewport can pick a colour into them.
  CreatePrevColorSwatches();

  // The margins as laid out, which every resize keeps.
  ImageRightMargin = width() - (Image1->x() + Image1->width());
  ImageBottomMargin = height() - (Image1->y() + Image1->height());
  PageControlOffset = width() - PageControl1->x();
  PrevColorsBottomMargin = height() - (grpPrevColors->y() + grpPrevColors->height());
  PrevColorsRowMargin = kPrevColorsRowMargin;

  // The viewports take Image1's place; Image1 only marks it and stays hidden.
  ViewportGroup = std::make_unique<TViewportGroup>(this);
  ViewportGroup->SetPosition(Image1->x(), Image1->y());
  ViewportGroup->SetSize(Image1->width(), Image1->height());
  ViewportGroup->SetOnPaletteChanged([this] { PaletteChanged(); });
  ViewportGroup->SetOnColorUnderCursor([this](TColor color) { ShowColorUnderCursor(color); });
  ViewportGroup->SetOnColorPicked([this](TColor color) { PushPreviousColor(color); });
  // Told as the count edits tell it.
  ViewportGroup->SetOnKeyRefused([] { Notifier().ShowInformation(NumColorsRangeMessage()); });
  ViewportGroup->SetColorSettings(&ColorSettings);
  ViewportGroup->SetVisible(true);

  // The swatch and strip bitmaps at their controls' sizes, before anything draws.
  PaletteBitmap.SetSize(imgPalette->width(), imgPalette->height());
  PaletteBitmap.Clear();
  imgPalette->SetBitmap(&PaletteBitmap);
  ContPaletteBitmap.SetSize(imgContPalette->width(), imgContPalette->height());
  ContPaletteBitmap.Clear(Color32(ButtonFaceColor()));
  imgContPalette->SetBitmap(&ContPaletteBitmap);

  // The rainbow alone keeps the default settings; the stored slots start empty.
  CustomPalette = std::make_unique<TColorPalette>();
  CustomPalette->SetPaletteType(ptCustom);
  CustomPalette->SetColorSettings(&ColorSettings);
  CustomPalette->SetName(kCustomPaletteName);
  CustomPalette->SetNumColors(0);

  AutoPalette = std::make_unique<TColorPalette>();
  AutoPalette->SetName(kAutoPaletteName);
  AutoPalette->SetColorSettings(&ColorSettings);
  AutoPalette->SetContinuous(false);
  AutoPalette->SetNumColors(kAutoStartColors);

  RainbowPalette = std::make_unique<TColorPalette>();
  RainbowPalette->SetPaletteType(ptCustom);
  BuildRainbow(kRainbowStartColors);

  for (int s = 0; s < 2; ++s) {
    StoredPalettes[s] = std::make_unique<TColorPalette>();
    StoredPalettes[s]->SetColorSettings(&ColorSettings);
    StoredPalettes[s]->SetNumColors(0);
    Palettes[s + 1] = StoredPalettes[s].get();
  }

  // The schemes and their filters are in place before any tab can show them.
  PaletteBackground = ButtonFaceColor();
  ShowBrewerPalettes = false;
  LoadBrewerPalettes();
  BrewerNumColors = kBrewerStartNumColors;
  BrewerName = "All";
  BrewerType = 0;
  UpdateBrewerSelection();

  // The automatic palette is current. The tab is set without its handler,
  // which would draw before the views hold their palettes.
  Palettes[0] = AutoPalette.get();
  {
    const QSignalBlocker hold(PageControl1);
    PageControl1->setCurrentIndex(kTabAuto);
  }

  // The views always show these two and edit the custom keys; one full draw
  // once all of it is in place.
  ViewportGroup->AddPalette(CustomPalette.get());
  ViewportGroup->AddPalette(AutoPalette.get());
  ViewportGroup->SetKeyPalette(&CustomPalette->CustPal());
  ViewportGroup->Redraw(false);
  DrawPalette();

  // The panel last: it draws the automatic palette as it now stands.
  PaletteUI = std::make_unique<TPaletteUI>(panPaletteUI, AutoPalette.get());
  PaletteUI->OnChange = [this] { PaletteChanged(); };

  // Without a diverging choice the sequential one moves into its place,
  // as far as its caption still clears the qualitative one.
  if (!radDiverging->isVisibleTo(tabAuto)) {
    const int clear = radQualitative->x() - kRadioGap - radSequential->width();
    radSequential->move(std::max(radSequential->x(), std::min(radDiverging->x(), clear)), radSequential->y());
  }
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  RunGuarded([this] { FormResize(); });
}

void TForm1::FormResize() {
  if (!ViewportGroup) return;  // before the tool is built
  const int oldWidth = ViewportGroup->Width();
  const int oldHeight = ViewportGroup->Height();
  ViewportGroup->SetSize(width() - Image1->x() - ImageRightMargin, height() - Image1->y() - ImageBottomMargin);
  if (ViewportGroup->Width() != oldWidth || ViewportGroup->Height() != oldHeight) ViewportGroup->Redraw(false);

  PageControl1->move(width() - PageControlOffset, PageControl1->y());
  grpPalette->move(PageControl1->x(), grpPalette->y());

  grpPrevColors->resize(grpPrevColors->width(), height() - (grpPrevColors->y() + PrevColorsBottomMargin));
  for (int r = 0; r < kPrevColorRows; ++r) {
    const bool fits = (r + 1) * panPrevColor->height() + PrevColorsRowMargin <= grpPrevColors->height();
    for (int c = 0; c < kPrevColorColumns; ++c) PrevColors[r * kPrevColorColumns + c]->setVisible(fits);
  }
}

// --- Wiring ------------------------------------------------------------------------------------

TEditEvents* TForm1::EditEventsOf(QLineEdit* Edit) {
  auto* events = new TEditEvents(Edit);
  FEditEvents.push_back(events);
  return events;
}

void TForm1::WireControls() {
  // A handler of the window, run guarded.
  const auto guarded = [this](void (TForm1::*handler)()) {
    return [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); };
  };
  // A key-down handler; the key is always passed on to the edit.
  const auto keyDown = [this](QLineEdit* edit, void (TForm1::*handler)(int)) {
    EditEventsOf(edit)->OnKeyDown = [this, handler](int key) {
      (this->*handler)(key);
      return false;
    };
  };

  connect(chkShowPixelsOutOfRange, &QCheckBox::clicked, this, guarded(&TForm1::chkShowPixelsOutOfRangeClick));
  connect(chkDrawGridLines, &QCheckBox::clicked, this, guarded(&TForm1::chkDrawGridLinesClick));
  connect(chkDrawGridAxes, &QCheckBox::clicked, this, guarded(&TForm1::chkDrawGridAxesClick));
  connect(chkShowDrawTime, &QCheckBox::clicked, this, guarded(&TForm1::chkShowDrawTimeClick));
  connect(chkShowColorKeys, &QCheckBox::clicked, this, guarded(&TForm1::chkShowColorKeysClick));
  connect(cmbRGB_Conversion, &QComboBox::activated, this, guarded(&TForm1::cmbRGB_ConversionChange));
  connect(cmbReferenceWhite, &QComboBox::activated, this, guarded(&TForm1::cmbReferenceWhiteChange));
  connect(cmbDistFunc, &QComboBox::activated, this, guarded(&TForm1::cmbDistFuncChange));
  keyDown(edtGamma, &TForm1::edtGammaKeyDown);
  connect(rad1x1, &QRadioButton::clicked, this, guarded(&TForm1::rad1x1Click));
  connect(rad2x2, &QRadioButton::clicked, this, guarded(&TForm1::rad2x2Click));

  connect(PageControl1, &QTabWidget::currentChanged, this, guarded(&TForm1::PageControl1Change));
  keyDown(edtCustomNumColors, &TForm1::edtCustomNumColorsKeyDown);
  connect(cmbInterpolationMethod, &QComboBox::activated, this, guarded(&TForm1::cmbInterpolationMethodChange));
  keyDown(edtAutoNumColors, &TForm1::edtAutoNumColorsKeyDown);
  FEditEvents.back()->OnExit = [this] { edtAutoNumColorsExit(); };
  for (QRadioButton* radio : {radSequential, radDiverging, radQualitative})
    connect(radio, &QRadioButton::clicked, this, guarded(&TForm1::radSeqDivClick));
  for (QComboBox* combo : {cmbBrewerPaletteType, cmbBrewerNumColors, cmbBrewerPaletteName})
    connect(combo, &QComboBox::activated, this, guarded(&TForm1::cmbBrewerSelectionCriteriaChange));
  connect(btnShowBrewerPalettes, &QPushButton::clicked, this, guarded(&TForm1::btnShowBrewerPalettesClick));
  connect(btnCopySelectedToCustom, &QPushButton::clicked, this, guarded(&TForm1::btnCopySelectedToCustomClick));
  connect(chkStandardRainbow, &QCheckBox::clicked, this, guarded(&TForm1::chkStandardRainbowClick));
  // A change of the text from code runs the handler too (the handler relies
  // on that when it caps the count).
  connect(edtRainbowNumColors, &QLineEdit::textChanged, this, guarded(&TForm1::edtRainbowNumColorsChange));
  connect(btnDrawCompleteSpectrum, &QPushButton::clicked, this, guarded(&TForm1::btnDrawCompleteSpectrumClick));
  for (QLineEdit* edit : {edtNiceNumber1, edtNiceNumber2})
    connect(edit, &QLineEdit::textChanged, this, guarded(&TForm1::edtNiceNumberChange));

  imgContPalette->OnMouseMove = [this](int x, int y) { imgContPaletteMouseMove(x, y); };
  connect(sldCurPalette, &QSlider::valueChanged, this, guarded(&TForm1::sldCurPaletteChange));
  imgPalette->OnMouseMove = [this](int x, int y) { imgPaletteMouseMove(x, y); };
  imgPalette->OnMouseUp = [this](TMouseButton button, int x, int y) { imgPaletteMouseUp(button, x, y); };
  connect(chkCurPaletteShowPixelsOutOfRange, &QCheckBox::clicked, this,
          guarded(&TForm1::chkCurPaletteShowPixelsOutOfRangeClick));
  connect(chkShowStoredPalette, &QCheckBox::clicked, this, guarded(&TForm1::chkShowStoredPaletteClick));
  connect(btnStoreCurPalette, &QPushButton::clicked, this, guarded(&TForm1::btnStoreCurPaletteClick));
  connect(btnBackground, &QPushButton::clicked, this, guarded(&TForm1::btnBackgroundClick));
  connect(btnRandomize, &QPushButton::clicked, this, guarded(&TForm1::btnRandomizeClick));
  panPrevColor->OnMouseMove = [this](int x, int y) { PrevColorPanelMouseMove(panPrevColor, x, y); };
}
