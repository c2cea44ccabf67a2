#pragma once
// TForm1: the tool's one main window. It owns the colour settings, the
// palettes (custom, automatic, rainbow, two stored slots, the ColorBrewer
// schemes), the viewport group, the palette-parameter panel, the swatch bitmap
// and the 80 colour-history swatches, and holds every control of the window.
//
// Controls and fields are public, as on a designer form: the window's handlers
// live in several files (start-up and layout, palette strip and history,
// settings and tabs, schemes, nice numbers) and the tests drive the controls.
//
// Every handler runs on the GUI thread; the wiring wraps each in RunGuarded so
// an exception shows as an error box and the tool carries on.

#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "colour/colour_settings.h"
#include "graphics/bitmap32.h"
#include "graphics/color_types.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QResizeEvent;
class QSlider;
class QTabWidget;
class TBitmapView;
class TColorPalette;
class TEditEvents;
class TPaletteUI;
class TShape;
class TViewportGroup;
enum class TMouseButton;

inline constexpr int kNumPrevColors = 80;
inline constexpr int kPrevColorColumns = 5;
inline constexpr int kPrevColorRows = kNumPrevColors / kPrevColorColumns;

// Tab indexes of PageControl1.
inline constexpr int kTabCustom = 0;
inline constexpr int kTabAuto = 1;
inline constexpr int kTabBrewer = 2;
inline constexpr int kTabExtra = 3;

class TForm1 : public QWidget {
  Q_OBJECT
 public:
  // Builds the controls, then the tool (FormCreate).
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // --- Start-up and layout ---------------------------------------------------
  void FormCreate();
  void FormResize();

  // --- Palette strip, swatches and colour history ------------------------------
  // DrawPalette, then the viewports' overlays.
  void PaletteChanged();
  // Both palette images, the slider's visibility, Store's state and the custom
  // colour-count text.
  void DrawPalette();
  void ShowColorUnderCursor(TColor Color);
  // Puts the colour in front of the history; the oldest falls off the end.
  void PushPreviousColor(TColor Color);
  void PrevColorPanelMouseMove(TShape* Sender, int X, int Y);
  void imgContPaletteMouseMove(int X, int Y);
  void imgPaletteMouseMove(int X, int Y);
  void imgPaletteMouseUp(TMouseButton Button, int X, int Y);
  void btnStoreCurPaletteClick();
  void chkShowStoredPaletteClick();
  void sldCurPaletteChange();
  void btnRandomizeClick();
  void btnBackgroundClick();
  void chkCurPaletteShowPixelsOutOfRangeClick();

  // Random(m), uniform over 0 .. m - 1 (m >= 1), for Randomize. By default a
  // generator re-seeded from the clock at every click; tests inject their own.
  void SetRandomGenerator(std::function<int(int)> Random) { FRandom = std::move(Random); }

  // --- Settings and palette tabs -----------------------------------------------
  void cmbRGB_ConversionChange();
  void cmbReferenceWhiteChange();
  void cmbDistFuncChange();
  void edtGammaKeyDown(int Key);
  void chkShowPixelsOutOfRangeClick();
  void chkShowColorKeysClick();
  void chkDrawGridLinesClick();
  void chkDrawGridAxesClick();
  void chkShowDrawTimeClick();
  void rad1x1Click();
  void rad2x2Click();
  void edtCustomNumColorsKeyDown(int Key);
  void cmbInterpolationMethodChange();
  void edtAutoNumColorsKeyDown(int Key);
  void edtAutoNumColorsExit();
  void radSeqDivClick();
  void UpdateAutoPaletteType();
  void chkStandardRainbowClick();
  void edtRainbowNumColorsChange();
  // The rainbow: N keys of evenly spaced hues, N colours.
  void BuildRainbow(int N);
  void btnDrawCompleteSpectrumClick();
  void PageControl1Change();
  // Arrow-key stepping of a number edit (Key is a Qt key code); true when the
  // edit's text was (re)written and the caller should apply it.
  bool StepEditValue(QLineEdit& Edit, int Key, double Minimum, double Maximum, double Step);
  // Operations that no control triggers.
  void btnSetToHueClick();
  void btnCopyParametersClick();
  void edtHueShift2KeyDown(int Key);

  // --- ColorBrewer schemes -------------------------------------------------------
  // Reads "ColorBrewer_all_schemes.txt" of the current directory.
  void LoadBrewerPalettes();
  // Reads the schemes from Path (tests); the schemes read before replace none
  // that the views or the current palette still hold.
  void LoadBrewerPalettes(const std::filesystem::path& Path);
  void UpdateBrewerSelection();
  void btnShowBrewerPalettesClick();
  void btnCopySelectedToCustomClick();
  void cmbBrewerSelectionCriteriaChange();

  // --- Nice-number labelling ---------------------------------------------------------
  void edtNiceNumberChange();

  // --- Controls (children of the window; Qt owns them) --------------------------------
  QWidget* Image1 = nullptr;  // invisible; marks where the viewports start
  QGroupBox* GroupBox2 = nullptr;
  QCheckBox* chkShowPixelsOutOfRange = nullptr;
  QCheckBox* chkDrawGridLines = nullptr;
  QCheckBox* chkDrawGridAxes = nullptr;
  QCheckBox* chkShowDrawTime = nullptr;
  QCheckBox* chkShowColorKeys = nullptr;
  QLabel* Label1 = nullptr;
  QComboBox* cmbRGB_Conversion = nullptr;
  QLabel* Label11 = nullptr;
  QComboBox* cmbReferenceWhite = nullptr;
  QLabel* Label12 = nullptr;
  QLineEdit* edtGamma = nullptr;
  QLabel* Label14 = nullptr;
  QComboBox* cmbDistFunc = nullptr;
  QRadioButton* rad1x1 = nullptr;
  QRadioButton* rad2x2 = nullptr;

  QGroupBox* GroupBox1 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* lblRGB = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* lblLuv = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* lblCH = nullptr;
  TShape* panCurColor = nullptr;

  QGroupBox* grpPrevColors = nullptr;
  TShape* panPrevColor = nullptr;

  QTabWidget* PageControl1 = nullptr;
  QWidget* tabCustom = nullptr;
  QWidget* tabAuto = nullptr;
  QWidget* tabBrewer = nullptr;
  QWidget* tabExtra = nullptr;
  // "Custom"
  QLabel* Label4 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label18 = nullptr;
  QLabel* Label16 = nullptr;
  QLineEdit* edtCustomNumColors = nullptr;
  QLabel* Label17 = nullptr;
  QComboBox* cmbInterpolationMethod = nullptr;
  // "Auto"
  QLabel* Label19 = nullptr;
  QLineEdit* edtAutoNumColors = nullptr;
  QLabel* lblPaletteType = nullptr;
  QRadioButton* radSequential = nullptr;
  QRadioButton* radDiverging = nullptr;
  QRadioButton* radQualitative = nullptr;
  QLabel* panPaletteUI = nullptr;  // host of the palette-parameter panel
  // "Brewer"
  QLabel* Label7 = nullptr;
  QComboBox* cmbBrewerPaletteType = nullptr;
  QLabel* Label8 = nullptr;
  QComboBox* cmbBrewerNumColors = nullptr;
  QLabel* Label9 = nullptr;
  QComboBox* cmbBrewerPaletteName = nullptr;
  QPushButton* btnShowBrewerPalettes = nullptr;
  QPushButton* btnCopySelectedToCustom = nullptr;
  // "Extra"
  QCheckBox* chkStandardRainbow = nullptr;
  QLabel* Label10 = nullptr;
  QLineEdit* edtRainbowNumColors = nullptr;
  QGroupBox* GroupBox4 = nullptr;
  QLabel* Label15 = nullptr;
  QComboBox* cmbDrawCompleteSpectrumViewportNr = nullptr;
  QRadioButton* radSpectrumLight = nullptr;
  QRadioButton* radSpectrumDark = nullptr;
  QPushButton* btnDrawCompleteSpectrum = nullptr;
  QGroupBox* GroupBox5 = nullptr;
  QLineEdit* edtNiceNumber1 = nullptr;
  QLineEdit* edtNiceNumber2 = nullptr;
  QCheckBox* chkNiceNumbersFixed = nullptr;
  QLabel* lblNiceNumbers = nullptr;

  QGroupBox* grpPalette = nullptr;
  TBitmapView* imgContPalette = nullptr;
  QSlider* sldCurPalette = nullptr;
  TBitmapView* imgPalette = nullptr;
  QCheckBox* chkCurPaletteShowPixelsOutOfRange = nullptr;
  QCheckBox* chkShowStoredPalette = nullptr;
  QPushButton* btnStoreCurPalette = nullptr;
  QPushButton* btnBackground = nullptr;
  QPushButton* btnRandomize = nullptr;

  // --- Fields ------------------------------------------------------------------------
  int ImageRightMargin = 0;
  int ImageBottomMargin = 0;
  int PageControlOffset = 0;
  int PrevColorsBottomMargin = 0;
  int PrevColorsRowMargin = 0;
  TColor PaletteBackground = 0;
  TBitmap32 PaletteBitmap;  // the swatches shown in imgPalette
  // A text written on PaletteBitmap and the pixels it may colour.
  struct TSwatchText {
    QString Text;
    QRect Extent;
  };
  // The texts of the last drawing, top to bottom: the mean, then the distances
  // that fitted.
  std::vector<TSwatchText> SwatchTexts;
  // [0] the current palette (not owned; may be null); [1], [2] the stored
  // slots, pointing at StoredPalettes for the window's life.
  std::array<TColorPalette*, 3> Palettes{};
  std::unique_ptr<TColorPalette> CustomPalette;
  std::unique_ptr<TColorPalette> AutoPalette;
  std::unique_ptr<TColorPalette> RainbowPalette;
  std::array<std::unique_ptr<TColorPalette>, 2> StoredPalettes;
  std::vector<std::unique_ptr<TColorPalette>> BrewerPalettes;
  std::vector<TColorPalette*> FilteredBrewerPalettes;  // references into BrewerPalettes
  bool ShowBrewerPalettes = false;
  int BrewerNumColors = -1;
  std::string BrewerName = "All";
  uint8_t BrewerType = 0;
  std::array<TShape*, kNumPrevColors> PrevColors{};
  TColorSettings ColorSettings;
  // Declared after the palettes: the group and the panel point at them and go first.
  std::unique_ptr<TViewportGroup> ViewportGroup;
  std::unique_ptr<TPaletteUI> PaletteUI;

  // The picture of imgContPalette.
  TBitmap32 ContPaletteBitmap;

  // The button-face colour (the window background) as a plain RGB colour.
  static TColor ButtonFaceColor();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void CreateControls();
  void CreateViewSettings();
  void CreateColorUnderCursor();
  void CreatePrevColors();
  void CreatePageControl();
  void CreatePaletteGroup();
  void CreatePrevColorSwatches();
  // All signals of the window's controls to their handlers.
  void WireControls();
  TEditEvents* EditEventsOf(QLineEdit* Edit);
  // A swatch or strip image pixel, as a widget colour; false outside the bitmap.
  static bool PixelAt(const TBitmap32& Bitmap, int X, int Y, TColor& Color);
  void DrawStrips();
  void DrawSwatches();
  void DrawDistances(int X, int W, double H);
  // The settings to the viewport group and the automatic palette.
  void HandOutColorSettings();

  std::function<int(int)> FRandom;
  std::vector<TEditEvents*> FEditEvents;
};
