// The palette panel's full redraw (background, every slider with its preview,
// labels and value edits), which runs on every mouse move of a slider drag,
// and the slider drawing alone.
#include <benchmark/benchmark.h>

#include "offscreen_application.h"

#include <QWidget>
#include <vector>

#include "app/core/window/colour_slider.h"
#include "app/window/palette_ui.h"
#include "graphics/bitmap32.h"
#include "palette/colour_palette.h"

namespace {

constexpr int kPanelSize = 225;  // the tool's panel

// Arg: the palette type (4 sequential, 5 diverging, 6 qualitative).
void BM_PaletteUIRedraw(benchmark::State& state) {
  EnsureApplication();
  TColorPalette palette;
  palette.SetPaletteType(static_cast<TPaletteType>(state.range(0)));
  QWidget panel;
  panel.resize(kPanelSize, kPanelSize);
  TPaletteUI ui(&panel, &palette);
  for (auto _ : state) {
    ui.Redraw();
    benchmark::DoNotOptimize(ui.Bitmap().Bits());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(ui.ColorSliders().size()));
}
BENCHMARK(BM_PaletteUIRedraw)->Arg(ptSeq)->Arg(ptDiv)->Arg(ptQual)->Unit(benchmark::kMicrosecond);

// The Qt-free part: background and the diverging palette's seven sliders.
void BM_ColorSlidersDraw(benchmark::State& state) {
  TColorPalette palette;
  palette.SetPaletteType(ptDiv);
  TBitmap32 bitmap(kPanelSize, kPanelSize);
  std::vector<TColorSlider> sliders;
  const auto kinds = SliderKindsFor(ptDiv);
  int hues = 0;
  for (size_t i = 0; i < kinds.size(); ++i) {
    TColorSlider& slider = sliders.emplace_back(palette, bitmap);
    slider.Kind = kinds[i];
    if (slider.Kind == skHue) slider.HueIndex = hues++;
    slider.Left = kSliderLeft;
    slider.Top = SliderTop(ptDiv, static_cast<int>(i));
    slider.Width = kPanelSize - kSliderWidthMargin;
    slider.Height = kSliderHeight;
  }
  for (auto _ : state) {
    DrawPanelBackground(bitmap);
    for (TColorSlider& slider : sliders) slider.Draw();
    benchmark::DoNotOptimize(bitmap.Bits());
  }
}
BENCHMARK(BM_ColorSlidersDraw)->Unit(benchmark::kMicrosecond);

}  // namespace
