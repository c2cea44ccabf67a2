#include "app/viewport/viewport_group.h"

#include <algorithm>

#include "app/viewport/viewport.h"
#include "foundation/assertion.h"

namespace {
// The view type each viewport starts with.
constexpr std::array<TViewType, kNumViewports> kInitialViewTypes = {vtLuvL, vtLuvC, vtLuvH, vtHLS_H};
}  // namespace

TViewportGroup::TViewportGroup(QWidget* Parent) {
  for (auto& viewport : FViewports) viewport = std::make_unique<TViewport>(Parent);
  FViewports[1]->SetSliderOnRight(true);
  FViewports[3]->SetSliderOnRight(true);
  for (int i = 0; i < kNumViewports; ++i) FViewports[i]->SetViewType(kInitialViewTypes[i]);
  SetSize(50, 50);
  SetPosition(10, 10);
  SetShowColorKeys(true);
}

TViewportGroup::~TViewportGroup() = default;

void TViewportGroup::ShowLayout() {
  for (int i = 0; i < kNumViewports; ++i) FViewports[i]->SetVisible(i < ShownCount());
}

void TViewportGroup::SetLayout(uint8_t Layout) {
  Require(Layout == kLayout1x1 || Layout == kLayout2x2, "viewport layout must be 0 (1 x 1) or 1 (2 x 2)");
  if (Layout == FLayout) return;
  FLayout = Layout;
  ShowLayout();
  SetSize(FWidth, FHeight);
  SetPosition(FLeft, FTop);
  Redraw(false);
}

void TViewportGroup::SetVisible(bool Visible) {
  if (Visible == FVisible) return;
  FVisible = Visible;
  if (Visible) {
    ShowLayout();
  } else {
    for (auto& viewport : FViewports) viewport->SetVisible(false);
  }
}

void TViewportGroup::SetPosition(int Left, int Top) {
  FLeft = Left;
  FTop = Top;
  FViewports[0]->SetPosition(Left, Top);
  if (FLayout != kLayout2x2) return;
  const int x2 = Left + FViewports[0]->TotalWidth() + kViewportGap;
  const int y2 = Top + FViewports[0]->TotalHeight() + kViewportGap;
  FViewports[1]->SetPosition(x2, Top);
  FViewports[2]->SetPosition(Left, y2);
  FViewports[3]->SetPosition(x2, y2);
}

void TViewportGroup::SetSize(int Width, int Height) {
  FWidth = Width;
  FHeight = Height;
  if (FLayout == kLayout2x2) {
    // Division toward zero, as the layout rules ask.
    FViewports[0]->SetSize((Width - kViewportGap) / 2, (Height - kViewportGap) / 2);
    // The others take viewport 0's size after its image was made square.
    for (int i = 1; i < kNumViewports; ++i)
      FViewports[i]->SetSize(FViewports[0]->TotalWidth(), FViewports[0]->TotalHeight());
  } else {
    FViewports[0]->SetSize(Width, Height);
  }
  SetPosition(FLeft, FTop);
}

void TViewportGroup::SetColorSettings(const TColorSettings* Settings) {
  FColorSettings = Settings;
  for (auto& viewport : FViewports) viewport->SetColorSettings(Settings);
}

void TViewportGroup::SetKeyPalette(TCustomPalette* Palette) {
  FKeyPalette = Palette;
  for (auto& viewport : FViewports) viewport->SetKeyPalette(Palette);
}

void TViewportGroup::SetOnPaletteChanged(std::function<void()> Event) {
  FOnPaletteChanged = std::move(Event);
  for (auto& viewport : FViewports) viewport->SetOnPaletteChanged(FOnPaletteChanged);
}

void TViewportGroup::SetOnColorUnderCursor(std::function<void(TColor)> Event) {
  FOnColorUnderCursor = std::move(Event);
  for (auto& viewport : FViewports) viewport->SetOnColorUnderCursor(FOnColorUnderCursor);
}

void TViewportGroup::SetOnColorPicked(std::function<void(TColor)> Event) {
  FOnColorPicked = std::move(Event);
  for (auto& viewport : FViewports) viewport->SetOnColorPicked(FOnColorPicked);
}

void TViewportGroup::SetOnKeyRefused(std::function<void()> Event) {
  FOnKeyRefused = std::move(Event);
  for (auto& viewport : FViewports) viewport->SetOnKeyRefused(FOnKeyRefused);
}

void TViewportGroup::SetShowPixelsOutOfRange(bool Value) {
  FShowPixelsOutOfRange = Value;
  for (auto& viewport : FViewports) viewport->SetShowPixelsOutOfRange(Value);
}

void TViewportGroup::SetShowColorKeys(bool Value) {
  FShowColorKeys = Value;
  for (auto& viewport : FViewports) viewport->SetShowColorKeys(Value);
}

void TViewportGroup::SetDrawGridLines(bool Value) {
  FDrawGridLines = Value;
  for (auto& viewport : FViewports) viewport->SetDrawGridLines(Value);
}

void TViewportGroup::SetDrawGridAxes(bool Value) {
  FDrawGridAxes = Value;
  for (auto& viewport : FViewports) viewport->SetDrawGridAxes(Value);
}

void TViewportGroup::SetShowDrawTime(bool Value) {
  FShowDrawTime = Value;
  for (auto& viewport : FViewports) viewport->SetShowDrawTime(Value);
}

void TViewportGroup::AddPalette(TColorPalette* Palette) {
  for (auto& viewport : FViewports) viewport->Palettes().push_back(Palette);
}

void TViewportGroup::AddPalettes(std::span<TColorPalette* const> Palettes) {
  for (TColorPalette* palette : Palettes) AddPalette(palette);
}

void TViewportGroup::RemovePalette(TColorPalette* Palette) {
  for (auto& viewport : FViewports) {
    auto& palettes = viewport->Palettes();
    const auto it = std::find(palettes.begin(), palettes.end(), Palette);
    if (it != palettes.end()) palettes.erase(it);
  }
}

void TViewportGroup::RemovePalettes(std::span<TColorPalette* const> Palettes) {
  for (TColorPalette* palette : Palettes) RemovePalette(palette);
}

void TViewportGroup::SetSliderFromColor(const TRGB& RGB) {
  for (auto& viewport : FViewports) viewport->SetSliderFromColor(RGB);
}

void TViewportGroup::Redraw(bool OverlayOnly) {
  FSamples.Sample(FViewports[0]->Palettes());
  for (int i = 0; i < ShownCount(); ++i) FViewports[i]->Redraw(OverlayOnly, FSamples);
}

TViewport& TViewportGroup::Viewport(int Index) {
  Require(Index >= 0 && Index < kNumViewports, "viewport index out of range");
  return *FViewports[Index];
}

const TViewport& TViewportGroup::Viewport(int Index) const {
  Require(Index >= 0 && Index < kNumViewports, "viewport index out of range");
  return *FViewports[Index];
}
