// The main window's number edits as the user meets them: Enter on a text
// that is no number, and the numbers the program writes into them.
#include "app/window/main_window.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "app/viewport/viewport.h"
#include "app/viewport/viewport_group.h"
#include "app/window/main_window_fixture.h"
#include "app/window/palette_ui.h"
#include "foundation/format_settings.h"

namespace {

// The index of the first character the edit shows (painting it scrolls the
// text to keep the cursor in sight).
int FirstShownCharacter(QLineEdit& edit) {
  edit.grab();
  return edit.cursorPositionAt(QPoint(0, edit.height() / 2));
}

bool WiderThanEdit(const QLineEdit& edit) {
  return edit.fontMetrics().horizontalAdvance(edit.text()) > edit.contentsRect().width();
}

struct TEditCase {
  const char* Name;
  int Tab;
  std::function<QLineEdit*(TForm1&)> Edit;
  bool Narrow;  // too narrow for a 15-digit number
};

// Every edit that acts on Enter, on the tab that shows it.
std::vector<TEditCase> EnterEdits() {
  return {
      {"viewport value", kTabCustom, [](TForm1& f) { return f.ViewportGroup->Viewport(0).ValueEdit(); }, true},
      {"gamma", kTabCustom, [](TForm1& f) { return f.edtGamma; }, false},
      {"custom count", kTabCustom, [](TForm1& f) { return f.edtCustomNumColors; }, true},
      {"auto count", kTabAuto, [](TForm1& f) { return f.edtAutoNumColors; }, true},
      {"palette panel value", kTabAuto, [](TForm1& f) { return f.PaletteUI->ValueEdits().front().data(); },
       false},
  };
}

// The message box for "abc" closes on the press of Enter, and the window
// system hands the release to the edit that gets the focus back. One Enter
// opens one box; the Enter that closes it opens none.
TEST(MainWindowEdits, EnterThatClosesTheErrorBoxOpensNoOther) {
  TMainWindowUnderTest under;
  TForm1& f = under.Form();
  const auto boxes = [&] { return under.Notifier.Errors.size() + under.Notifier.Messages.size(); };
  for (const TEditCase& c : EnterEdits()) {
    SCOPED_TRACE(c.Name);
    f.PageControl1->setCurrentIndex(c.Tab);
    QLineEdit* edit = c.Edit(f);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();  // leaving the previous row's "abc" reports it
    under.Notifier.Errors.clear();
    under.Notifier.Messages.clear();
    edit->setText("abc");
    QTest::keyPress(edit, Qt::Key_Return);
    QTest::keyRelease(edit, Qt::Key_Return);
    ASSERT_EQ(boxes(), 1u);

    QMessageBox box(QMessageBox::Critical, "", "'abc' is not a valid floating point value", QMessageBox::Ok, &f);
    box.show();
    QTest::keyPress(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    QTest::keyRelease(edit, Qt::Key_Return);
    EXPECT_EQ(boxes(), 1u);
  }
}

// After the palette-slice slider moves, every viewport's value edit shows the
// start of its 15-digit value, not its tail.
TEST(MainWindowEdits, SliceSliderValuesShowTheirStart) {
  TMainWindowUnderTest under;
  TForm1& f = under.Form();
  f.PageControl1->setCurrentIndex(kTabAuto);
  ASSERT_TRUE(f.sldCurPalette->isVisibleTo(&f));
  for (int i = 0; i < kNumViewports; ++i) f.ViewportGroup->Viewport(i).ValueEdit()->grab();
  f.sldCurPalette->setValue(f.sldCurPalette->maximum() / 3);
  int wide = 0;
  for (int i = 0; i < kNumViewports; ++i) {
    QLineEdit& edit = *f.ViewportGroup->Viewport(i).ValueEdit();
    SCOPED_TRACE(edit.text().toStdString());
    if (WiderThanEdit(edit)) ++wide;
    EXPECT_EQ(FirstShownCharacter(edit), 0);
  }
  EXPECT_GT(wide, 0);  // the slice gives values too long for the edits
}

// A long number that Enter writes back into a narrow edit shows its start
// too. (The palette panel writes at most four characters.)
TEST(MainWindowEdits, NumbersWrittenAfterEnterShowTheirStart) {
  TMainWindowUnderTest under;
  TForm1& f = under.Form();
  for (const TEditCase& c : EnterEdits()) {
    if (!c.Narrow) continue;
    SCOPED_TRACE(c.Name);
    f.PageControl1->setCurrentIndex(c.Tab);
    QLineEdit& edit = *c.Edit(f);
    edit.setFocus();
    edit.setText(QString("0") + UserFormatSettings().DecimalSeparator + "123456789012345");  // the user's locale
    QTest::keyClick(&edit, Qt::Key_Return);
    ASSERT_TRUE(WiderThanEdit(edit)) << edit.text().toStdString();
    EXPECT_EQ(FirstShownCharacter(edit), 0);
  }
}

}  // namespace
