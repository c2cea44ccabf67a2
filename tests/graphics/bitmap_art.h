#pragma once
// Test helper: a bitmap as text, one line per row, so expected drawings read
// as pictures. Pixel 0 is '.', colours in the legend their character, any
// other colour '?'.

#include <initializer_list>
#include <string>
#include <utility>

#include "graphics/bitmap32.h"

std::string Art(const TBitmap32& bitmap, std::initializer_list<std::pair<TColor32, char>> legend);

// Joins rows with '\n' (each row followed by one), the form Art returns.
std::string Rows(std::initializer_list<const char*> rows);
