#include "app/toolkit/bitmap_qimage.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPoint>
#include <algorithm>
#include <cstdint>

QImage WrapBitmap(TBitmap32& bitmap) {
  if (bitmap.Empty()) return {};
  return QImage(reinterpret_cast<uchar*>(bitmap.Bits()), bitmap.Width(), bitmap.Height(),
                bitmap.Width() * 4, QImage::Format_ARGB32);
}

QImage WrapBitmapConst(const TBitmap32& bitmap) {
  if (bitmap.Empty()) return {};
  return QImage(reinterpret_cast<const uchar*>(bitmap.Bits()), bitmap.Width(), bitmap.Height(),
                bitmap.Width() * 4, QImage::Format_ARGB32);
}

void RenderText(TBitmap32& bitmap, int x, int y, const QString& text, TColor32 color,
                bool antiAlias) {
  TBitmapTextWriter(bitmap, antiAlias).Write(x, y, text, color);
}

void RenderText(TBitmap32& bitmap, int x, int y, const QString& text, TColor32 color, const QFont& font) {
  TBitmapTextWriter writer(bitmap);
  writer.SetFont(font);
  writer.Write(x, y, text, color);
}

QRect TextExtent(const QFont& font, int x, int y, const QString& text) {
  const QFontMetrics metrics(font);
  const QRect ink = metrics.tightBoundingRect(text);  // relative to the baseline's left end
  const int baseline = y + metrics.ascent();
  const int left = x + std::min(0, ink.left() - 1);
  const int right = x + std::max(metrics.horizontalAdvance(text), ink.right() + 2);  // exclusive
  return QRect(QPoint(left, baseline + ink.top() - 1), QPoint(right - 1, baseline + ink.bottom() + 1));
}

QFont FontFittingWidth(const QFont& font, const QString& text, int width) {
  QFont fitted = font;
  int pixels = QFontInfo(font).pixelSize();
  while (pixels > 1 && TextExtent(fitted, 0, 0, text).width() > width) {
    fitted.setPixelSize(--pixels);
  }
  return fitted;
}

TBitmapTextWriter::TBitmapTextWriter(TBitmap32& bitmap, bool antiAlias)
    : FImage(WrapBitmap(bitmap)), FAntiAlias(antiAlias) {
  if (FImage.isNull()) return;
  FPainter.begin(&FImage);
  FPainter.setRenderHint(QPainter::TextAntialiasing, antiAlias);
  SetFont(QApplication::font());
}

void TBitmapTextWriter::SetFont(const QFont& font) {
  FFont = font;
  if (FImage.isNull()) return;
  QFont painterFont = font;
  if (!FAntiAlias) painterFont.setStyleStrategy(QFont::NoAntialias);
  FPainter.setFont(painterFont);
  const QFontMetrics metrics(painterFont);
  FAscent = metrics.ascent();
  FLineHeight = metrics.height();
}

bool TBitmapTextWriter::Reaches(int x, int y) const {
  if (FImage.isNull()) return false;
  const int64_t top = int64_t{y} - FLineHeight;
  const int64_t bottom = int64_t{y} + 2 * int64_t{FLineHeight};
  return top < FImage.height() && bottom > 0 && int64_t{x} - FLineHeight < FImage.width();
}

void TBitmapTextWriter::Write(int x, int y, const QString& text, TColor32 color) {
  if (!Reaches(x, y)) return;
  FPainter.setPen(QColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF, color >> 24));
  FPainter.drawText(x, y + FAscent, text);
}

int TextWidth(const QString& text) {
  return QFontMetrics(QApplication::font()).horizontalAdvance(text);
}

int TextHeight(const QString& text) {
  return QFontMetrics(QApplication::font()).boundingRect(text).height();
}
