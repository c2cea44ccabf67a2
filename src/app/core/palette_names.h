#pragma once
// The names the main window gives its palettes. The viewports' overlays tell
// palettes apart by them: sampled curves and markers only for these three,
// keys or curve control points for every palette but a stored one.

inline constexpr char kCustomPaletteName[] = "Custom";
inline constexpr char kAutoPaletteName[] = "AutoPalette";
inline constexpr char kStoredPaletteName[] = "Stored";
