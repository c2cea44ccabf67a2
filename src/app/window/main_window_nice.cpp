// The main window's nice-number test group: nice class bounds between the two
// edits' numbers, shown in its label, one custom colour per class.
#include "app/window/main_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QString>

#include "app/core/window/nice_numbers.h"
#include "app/core/window/typed_numbers.h"
#include "app/viewport/viewport_group.h"
#include "foundation/format_settings.h"
#include "palette/colour_palette.h"

void TForm1::edtNiceNumberChange() {
  // A text that is not a number, or a fixed count the search cannot divide
  // by, ends the handler quietly; what was done before stays.
  try {
    const double a = StrToFloat(edtNiceNumber1->text().toStdString());
    const double b = StrToFloat(edtNiceNumber2->text().toStdString());
    double start = 0;
    double step = 0;
    int n = 0;
    const bool fixed = chkNiceNumbersFixed->isChecked();
    if (fixed) n = CustomPalette->GetNumColors() + 1;
    FindNiceNumbers(start, step, a, b, n, fixed);
    lblNiceNumbers->setText(QString::fromStdString(NiceNumbersText(start, step, n, UserFormatSettings())));
    if (n != 0) CustomPalette->SetNumColors(n - 1);  // one colour per class
    DrawPalette();
    ViewportGroup->Redraw(true);
  } catch (const EConvertError&) {
  } catch (const ENiceNumberError&) {
  }
}
