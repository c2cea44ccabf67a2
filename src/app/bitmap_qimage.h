#pragma once
// The one adapter between our 32-bit bitmap and Qt: a QImage over the
// bitmap's own pixels (no copy), and text drawn onto a bitmap with QPainter.

#include <QImage>
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
int TextWidth(const QString& text);
int TextHeight(const QString& text);
