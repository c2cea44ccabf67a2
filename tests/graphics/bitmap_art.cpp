#include "bitmap_art.h"

std::string Art(const TBitmap32& bitmap, std::initializer_list<std::pair<TColor32, char>> legend) {
  std::string text;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const TColor32 c = bitmap.Pixel(x, y);
      char ch = c == 0 ? '.' : '?';
      for (const auto& [color, mark] : legend)
        if (color == c) ch = mark;
      text += ch;
    }
    text += '\n';
  }
  return text;
}

std::string Rows(std::initializer_list<const char*> rows) {
  std::string text;
  for (const char* row : rows) (text += row) += '\n';
  return text;
}
