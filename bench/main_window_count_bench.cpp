// A colour count typed into the main window's count edits and applied with
// Enter: the palette's new count, both palette images (swatches and distance
// texts) and the overlays of the four viewports. Counts from what the tool's
// own edge cases use up to the largest it accepts, and counts it refuses.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QString>
#include <QTabWidget>
#include <filesystem>
#include <fstream>
#include <string>

#include <stdlib.h>

#include "app/core/window/brewer_schemes.h"
#include "app/core/window/num_colors_limit.h"
#include "app/toolkit/error_report.h"
#include "app/window/main_window.h"
#include "colour/cie_spaces.h"
#include "offscreen_application.h"
#include "palette/colour_palette.h"

namespace {

// Message boxes counted, never shown.
class TCountingNotifier final : public TNotifier {
 public:
  void ShowError(const std::string&) override { ++Count; }
  void ShowMessage(const std::string&, const std::string&) override { ++Count; }
  void ShowInformation(const std::string&) override { ++Count; }
  int Count = 0;
};

// The count state.range(0) typed into one of the window's count edits,
// applied with Enter again and again.
void RunCountEnter(benchmark::State& state, TForm1& form, QLineEdit& edit, void (TForm1::*keyDown)(int),
                   const TColorPalette& palette) {
  TCountingNotifier notifier;
  const TScopedNotifier scope(notifier);
  const QString typed = QString::number(state.range(0));
  for (auto _ : state) {
    edit.setText(typed);
    (form.*keyDown)(Qt::Key_Return);
  }
  state.counters["messages"] = notifier.Count;
  state.counters["count"] = palette.GetNumColors();
}

// Arg: the count typed into the "Auto" tab's edit (the sequential palette).
// The handler's work only: the new count and the images it draws into; the
// widgets repaint later, when the event loop runs.
void BM_AutoCountEnter(benchmark::State& state) {
  EnsureApplication();
  TForm1 form;
  form.show();
  RunCountEnter(state, form, *form.edtAutoNumColors, &TForm1::edtAutoNumColorsKeyDown, *form.AutoPalette);
}
BENCHMARK(BM_AutoCountEnter)
    ->Arg(1500)
    ->Arg(5000)
    ->Arg(kMaxNumColors)
    ->Arg(100000000)
    ->Arg(2147483647)
    ->Unit(benchmark::kMillisecond);

// As BM_AutoCountEnter, then the whole window repainted on the spot and the
// pending events handled: what the user waits for after Enter. Offscreen this
// leaves out only the transfer to the display; under a real X server
// (QT_QPA_PLATFORM=xcb) it includes it.
void BM_AutoCountEnterDrawn(benchmark::State& state) {
  EnsureApplication();
  TForm1 form;
  form.show();
  TCountingNotifier notifier;
  const TScopedNotifier scope(notifier);
  const QString typed = QString::number(state.range(0));
  for (auto _ : state) {
    form.edtAutoNumColors->setText(typed);
    form.edtAutoNumColorsKeyDown(Qt::Key_Return);
    form.repaint();
    QCoreApplication::processEvents();
  }
  state.counters["messages"] = notifier.Count;
  state.counters["count"] = form.AutoPalette->GetNumColors();
}
BENCHMARK(BM_AutoCountEnterDrawn)->Arg(1500)->Arg(kMaxNumColors)->Unit(benchmark::kMillisecond);

// Arg: the count typed into the "Custom" tab's edit, its tab current and
// three keys set, so the swatches and their distances differ.
void BM_CustomCountEnter(benchmark::State& state) {
  EnsureApplication();
  TForm1 form;
  form.show();
  form.PageControl1->setCurrentIndex(kTabCustom);
  for (double hue : {0.0, 120.0, 240.0}) form.CustomPalette->CustPal().AddKey(LChToRGB(60, 40, hue, nullptr));
  RunCountEnter(state, form, *form.edtCustomNumColors, &TForm1::edtCustomNumColorsKeyDown, *form.CustomPalette);
}
BENCHMARK(BM_CustomCountEnter)
    ->Arg(1500)
    ->Arg(5000)
    ->Arg(kMaxNumColors)
    ->Arg(100000000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

// Start-up with a scheme file at the size limit, made in a scratch working
// directory. Arg 0: a scheme of no colours and one of the largest count, so
// the number list holds every count; Arg 1: schemes of no colours, as many as
// fit (the most holders a file can ask for). The automatic palette is current,
// so the window draws what it shows at every start.
void BM_StartUpWithSchemeFileAtTheLimit(benchmark::State& state) {
  EnsureApplication();
  std::string text = "ColorName\n";
  if (state.range(0) == 0) {
    text += "Zero\t0\tseq\nBig\t" + std::to_string(kMaxNumColors) + "\tseq\n";
    for (int k = 0; k < kMaxNumColors; ++k) text += "1\tx\t1\t2\t3\n";
  } else {
    while (text.size() + 32 < kMaxBrewerFileBytes) text += "E\t0\tseq\n";
  }
  text += "EndOfPalettes\n";
  const std::filesystem::path previous = std::filesystem::current_path();
  // A folder of this run's own, so runs at once do not share the file.
  std::string pattern = (std::filesystem::temp_directory_path() / "tool_bench_schemes-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("cannot make a scratch folder");
    return;
  }
  const std::filesystem::path dir = pattern;
  std::ofstream(dir / kBrewerSchemeFileName, std::ios::binary) << text;
  std::filesystem::current_path(dir);
  TCountingNotifier notifier;
  const TScopedNotifier scope(notifier);
  size_t schemes = 0;
  for (auto _ : state) {
    TForm1 form;
    schemes = form.BrewerPalettes.size();
  }
  std::filesystem::current_path(previous);
  std::filesystem::remove_all(dir);
  state.counters["schemes"] = static_cast<double>(schemes);
  state.counters["bytes"] = static_cast<double>(text.size());
  state.counters["messages"] = notifier.Count;
}
BENCHMARK(BM_StartUpWithSchemeFileAtTheLimit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
