#include "app/toolkit/shape_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/toolkit/bitmap_view.h"
#include "app/toolkit/error_report.h"

QColor ToQColor(TColor color) {
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TShape::TShape(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void TShape::SetBrushColor(TColor color) {
  FBrushColor = color;
  update();
}

void TShape::SetPenColor(TColor color) {
  FPenColor = color;
  update();
}

void TShape::SetPenStyle(TPenStyle style) {
  FPenStyle = style;
  update();
}

void TShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(FBrushColor));
  if (FPenStyle == TPenStyle::psSolid) {
    painter.setPen(ToQColor(FPenColor));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void TShape::mouseMoveEvent(QMouseEvent* event) {
  if (!OnMouseMove) return;
  const QPoint p = PixelAt(event->position());
  RunGuarded([&] { OnMouseMove(p.x(), p.y()); });
}
