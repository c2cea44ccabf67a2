// The main window's ColorBrewer browser: reading the schemes at start-up and
// the "Brewer" tab's handlers, which filter them by type, colour count and
// name, show or hide the passing ones and copy the first into the custom
// palette.
#include "app/window/main_window.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QString>
#include <algorithm>
#include <string>
#include <vector>

#include "app/core/palette_names.h"
#include "app/core/window/brewer_schemes.h"
#include "app/core/window/brewer_selection.h"
#include "app/toolkit/error_report.h"
#include "app/viewport/viewport_group.h"
#include "palette/colour_palette.h"

namespace {

constexpr char kShowCaption[] = "Show ColorBrewer Palettes";
constexpr char kHideCaption[] = "Hide ColorBrewer Palettes";

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Replaces the items without firing the combo's change handler.
void SetItems(QComboBox& Combo, const std::vector<std::string>& Items) {
  const QSignalBlocker hold(&Combo);
  Combo.clear();
  for (const std::string& item : Items) Combo.addItem(Q(item));
}

// Selects the item showing Text, or none when no item does; no change handler.
void SelectText(QComboBox& Combo, const std::string& Text) {
  const QSignalBlocker hold(&Combo);
  Combo.setCurrentIndex(Combo.findText(Q(Text)));
}

}  // namespace

void TForm1::LoadBrewerPalettes() { LoadBrewerPalettes(kBrewerSchemeFileName); }

void TForm1::LoadBrewerPalettes(const std::filesystem::path& Path) {
  // Nothing may keep pointing at the schemes about to be replaced.
  if (ViewportGroup) ViewportGroup->RemovePalettes(FilteredBrewerPalettes);
  FilteredBrewerPalettes.clear();
  const bool currentIsScheme =
      std::any_of(BrewerPalettes.begin(), BrewerPalettes.end(),
                  [this](const std::unique_ptr<TColorPalette>& scheme) { return scheme.get() == Palettes[0]; });
  if (currentIsScheme) Palettes[0] = nullptr;

  TBrewerLoadResult result = ::LoadBrewerPalettes(Path, &ColorSettings);
  // A table that breaks its format keeps the complete schemes before the
  // break; start-up goes on after one report.
  BrewerPalettes = std::move(result.Schemes);
  if (!result.Problem.empty()) Notifier().ShowError(result.Problem);
}

void TForm1::UpdateBrewerSelection() {
  // The views hold the previous selection: it leaves them before its list goes.
  ViewportGroup->RemovePalettes(FilteredBrewerPalettes);
  FilteredBrewerPalettes.clear();

  // The filtering is plain work; only its result touches the combos.
  const TBrewerComboState combos{cmbBrewerPaletteType->currentIndex(),
                                 cmbBrewerNumColors->currentText().toStdString(),
                                 cmbBrewerPaletteName->currentText().toStdString()};
  const TBrewerFilter previous{BrewerType, BrewerNumColors, BrewerName};
  TBrewerSelection selection = SelectBrewerSchemes(BrewerPalettes, previous, combos);
  if (selection.RebuildNames) SetItems(*cmbBrewerPaletteName, selection.NameItems);
  if (selection.RebuildNumbers) SetItems(*cmbBrewerNumColors, selection.NumberItems);

  // Without change events: the combos' handlers would run this again.
  {
    const QSignalBlocker hold(cmbBrewerPaletteType);
    cmbBrewerPaletteType->setCurrentIndex(selection.TypeIndex);
  }
  SelectText(*cmbBrewerPaletteName, selection.NameText);
  SelectText(*cmbBrewerNumColors, selection.NumberText);

  // The next combo change is compared against these.
  BrewerType = selection.Filter.Type;
  BrewerNumColors = selection.Filter.NumColors;
  BrewerName = selection.Filter.Name;
  FilteredBrewerPalettes = std::move(selection.Filtered);

  // Shown, the first passing scheme is current; hidden, the "Brewer" tab has none.
  if (ShowBrewerPalettes) {
    ViewportGroup->AddPalettes(FilteredBrewerPalettes);
    btnShowBrewerPalettes->setText(kHideCaption);
    btnCopySelectedToCustom->setEnabled(true);
    Palettes[0] = FilteredBrewerPalettes.empty() ? nullptr : FilteredBrewerPalettes.front();
  } else {
    btnShowBrewerPalettes->setText(kShowCaption);
    btnCopySelectedToCustom->setEnabled(false);
    Palettes[0] = nullptr;
  }

  // The strip and the overlays follow the new selection.
  DrawPalette();
  ViewportGroup->Redraw(true);
}

void TForm1::btnShowBrewerPalettesClick() {
  ShowBrewerPalettes = !ShowBrewerPalettes;
  UpdateBrewerSelection();
}

void TForm1::cmbBrewerSelectionCriteriaChange() {
  ShowBrewerPalettes = true;
  UpdateBrewerSelection();
}

void TForm1::btnCopySelectedToCustomClick() {
  if (FilteredBrewerPalettes.empty()) return;
  // Assign keeps the custom palette's objects, so the keys land in the list
  // the viewports edit. The views and the strip show the copy at their next
  // redraw.
  CustomPalette->Assign(*FilteredBrewerPalettes.front());
  CustomPalette->SetName(kCustomPaletteName);
  // The copy brings the scheme's interpolation method: the "Custom" tab's
  // list shows it. Its change handler runs on the user's choice (activated)
  // only, so this redraws nothing.
  cmbInterpolationMethod->setCurrentIndex(CustomPalette->CustPal().InterpolationMethod());
}
