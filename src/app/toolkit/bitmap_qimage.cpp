#include "app/toolkit/bitmap_qimage.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
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

TBitmapTextWriter::TBitmapTextWriter(TBitmap32& bitmap, bool antiAlias) : FImage(WrapBitmap(bitmap)) {
  if (FImage.isNull()) return;
  FPainter.begin(&FImage);
  FPainter.setFont(QApplication::font());
  FPainter.setRenderHint(QPainter::TextAntialiasing, antiAlias);
  if (!antiAlias) {
    QFont font = FPainter.font();
    font.setStyleStrategy(QFont::NoAntialias);
    FPainter.setFont(font);
  }
  const QFontMetrics metrics(FPainter.font());
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
