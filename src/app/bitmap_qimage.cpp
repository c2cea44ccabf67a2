#include "app/bitmap_qimage.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

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
  QImage image = WrapBitmap(bitmap);
  if (image.isNull()) return;
  QPainter painter(&image);
  painter.setFont(QApplication::font());
  painter.setRenderHint(QPainter::TextAntialiasing, antiAlias);
  if (!antiAlias) {
    QFont font = painter.font();
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
  }
  painter.setPen(QColor((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF, color >> 24));
  const QFontMetrics metrics(painter.font());
  painter.drawText(x, y + metrics.ascent(), text);
}

int TextWidth(const QString& text) {
  return QFontMetrics(QApplication::font()).horizontalAdvance(text);
}

int TextHeight(const QString& text) {
  return QFontMetrics(QApplication::font()).boundingRect(text).height();
}
