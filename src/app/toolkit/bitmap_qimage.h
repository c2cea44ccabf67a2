#pragma once
// The one adapter between our 32-bit bitmap and Qt: a QImage over the
// bitmap's own pixels (no copy), and text drawn onto a bitmap with QPainter.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include "graphics/bitmap32.h"

// A QImage (Format_ARGB32) sharing the bitmap's pixels; valid while the bitmap
// keeps its size. An empty bitmap gives a null image.
QImage WrapBitmap(TBitmap32& bitmap);
QImage WrapBitmapConst(const TBitmap32& bitmap);

// Text in the application font with its top-left corner at (X, Y). The
// colour's alpha is kept; with AntiAlias false the glyphs are not smoothed.
void RenderText(TBitmap32& bitmap, int x, int y, const QString& text, TColor32 color,
                bool antiAlias = true);

// The same in the given font.
void RenderText(TBitmap32& bitmap, int x, int y, const QString& text, TColor32 color, const QFont& font);

// The pixels that Text written in Font with its top-left corner at (X, Y) may
// colour: its glyphs' tight box grown by one pixel each way for the
// anti-aliased fringe, and at least as wide as the text's advance.
QRect TextExtent(const QFont& font, int x, int y, const QString& text);

// Font, or the largest smaller one in whole pixels (down to one pixel), in
// which Text's extent is at most Width pixels wide.
QFont FontFittingWidth(const QFont& font, const QString& text, int width);

// Writes many texts into one bitmap through one painter, each exactly as
// RenderText would. A text whose line cannot reach the bitmap is passed over
// before it is laid out. The bitmap must keep its size while the writer lives.
class TBitmapTextWriter {
 public:
  explicit TBitmapTextWriter(TBitmap32& bitmap, bool antiAlias = true);
  TBitmapTextWriter(const TBitmapTextWriter&) = delete;
  TBitmapTextWriter& operator=(const TBitmapTextWriter&) = delete;

  // The font of the texts from now on; the application font until set. The
  // anti-aliasing chosen at construction stays.
  void SetFont(const QFont& font);
  const QFont& Font() const { return FFont; }

  void Write(int x, int y, const QString& text, TColor32 color);
  // False when a text with its top-left corner at (X, Y) lies wholly outside
  // the bitmap's rows or right of its columns (with a line's height to spare
  // for glyphs that reach beyond their line).
  bool Reaches(int x, int y) const;
  // TextExtent in the writer's font.
  QRect Extent(int x, int y, const QString& text) const { return TextExtent(FFont, x, y, text); }

 private:
  QImage FImage;
  QPainter FPainter;
  QFont FFont;
  bool FAntiAlias = true;
  int FAscent = 0;
  int FLineHeight = 0;
};
int TextWidth(const QString& text);
int TextHeight(const QString& text);
