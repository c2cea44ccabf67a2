// The largest colour count the tool accepts, typed or read from a scheme
// file. Counts above it are refused before any work is sized by them.
#pragma once

inline constexpr int kMaxNumColors = 100000;
