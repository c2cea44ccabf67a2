// A colour count typed into the main window's count edits and applied with
// Enter: the palette's new count, both palette images (swatches and distance
// texts) and the overlays of the four viewports. Counts from what the tool's
// own edge cases use up to the largest it accepts, and counts it refuses.
#include <benchmark/benchmark.h>

#include <QLineEdit>
#include <QString>
#include <QTabWidget>
#include <filesystem>
#include <fstream>
#include <string>

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
void BM_AutoCountEnter(benchmark::State& state) {
  EnsureApplication();
  TForm1 form;
  form.show();
  RunCountEnter(state, form, *form.edtAutoNumColors, &TForm1::edtAutoNumColorsKeyDown, *form.AutoPalette);
}
BENCHMARK(BM_AutoCountEnter)
    ->Arg(1500)
    ->Arg(5000)
    ->Arg(100000)
    ->Arg(kMaxNumColors)
    ->Arg(100000000)
    ->Arg(2147483647)
    ->Unit(benchmark::kMillisecond);

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
    ->Arg(100000)
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
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tool_bench_schemes";
  std::filesystem::create_directories(dir);
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
