// Overlay redraw of the viewport group in the 2 x 2 layout at the main
// window's start-up size, as every mouse move of a key drag asks for: the
// custom palette (with 0 or 12 keys) and the six-colour automatic palette.

#include <benchmark/benchmark.h>

#include "offscreen_application.h"

#include <QWidget>
#include <memory>

#include "app/viewport/viewport_group.h"
#include "colour/cie_spaces.h"
#include "palette/colour_palette.h"

namespace {

void BM_ViewportGroupOverlayRedraw(benchmark::State& state) {
  EnsureApplication();
  const int keys = static_cast<int>(state.range(0));
  QWidget window;
  window.resize(800, 600);
  TViewportGroup group(&window);
  group.SetPosition(224, 24);
  group.SetSize(554, 541);

  TColorPalette custom, automatic;
  custom.SetPaletteType(ptCustom);
  custom.SetName("Custom");
  for (int i = 0; i < keys; ++i) custom.CustPal().AddKey(LChToRGB(60, 40, i * 30.0, nullptr));
  custom.SetNumColors(keys);
  automatic.SetName("AutoPalette");
  automatic.SetNumColors(6);
  group.AddPalette(&custom);
  group.AddPalette(&automatic);
  group.SetKeyPalette(&custom.CustPal());
  window.show();
  group.Redraw(false);

  for (auto _ : state) group.Redraw(true);
}
BENCHMARK(BM_ViewportGroupOverlayRedraw)->Arg(0)->Arg(12)->Unit(benchmark::kMicrosecond);

}  // namespace
