// The largest colour count the tool accepts, typed, read from a scheme
// file or reached by adding keys with the mouse. Counts above it are
// refused before any work is sized by them.
// Drawing a palette costs about 10 microseconds per colour (swatches,
// distance texts, a marker in every viewport): at this count applying it
// takes about a second, well short of the minutes larger counts took.
#pragma once

#include <string>

inline constexpr int kMaxNumColors = 100000;

// What the tool says when a count would leave 0..kMaxNumColors.
inline std::string NumColorsRangeMessage() {
  return "The number of colours must be from 0 to " + std::to_string(kMaxNumColors);
}
