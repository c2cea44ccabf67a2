// The largest colour count the tool accepts, typed or read from a scheme
// file. Counts above it are refused before any work is sized by them.
// Drawing a palette costs about 10 microseconds per colour (swatches,
// distance texts, a marker in every viewport): at this count applying it
// takes about a second, well short of the minutes larger counts took.
#pragma once

inline constexpr int kMaxNumColors = 100000;
