#include "app/toolkit/bitmap_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <optional>

#include "app/toolkit/bitmap_qimage.h"
#include "app/toolkit/error_report.h"
#include "graphics/bitmap32.h"

QPoint PixelAt(const QPointF& position) {
  return QPoint(static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y())));
}

namespace {
std::optional<TMouseButton> ButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return TMouseButton::mbLeft;
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return std::nullopt;
  }
}
}  // namespace

TBitmapView::TBitmapView(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBitmapView::SetBitmap(const TBitmap32* bitmap) {
  FBitmap = bitmap;
  update();
}

void TBitmapView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (FBitmap == nullptr || FBitmap->Empty()) {
    painter.fillRect(rect(), palette().window());
    return;
  }
  painter.drawImage(0, 0, WrapBitmapConst(*FBitmap));
}

void TBitmapView::mousePressEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  if (!button) return;
  FButtonDown = true;
  const QPoint p = PixelAt(event->position());
  if (OnMouseDown) RunGuarded([&] { OnMouseDown(*button, p.x(), p.y()); });
}

void TBitmapView::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = PixelAt(event->position());
  if (OnMouseMove) RunGuarded([&] { OnMouseMove(p.x(), p.y()); });
}

void TBitmapView::mouseReleaseEvent(QMouseEvent* event) {
  const auto button = ButtonOf(event->button());
  if (!button) return;
  FButtonDown = event->buttons() != Qt::NoButton;
  const QPoint p = PixelAt(event->position());
  if (OnMouseUp) RunGuarded([&] { OnMouseUp(*button, p.x(), p.y()); });
}

bool TBitmapView::event(QEvent* event) {
  // A grab taken away (a popup, another window) ends a drag.
  if (event->type() == QEvent::UngrabMouse && FButtonDown) {
    FButtonDown = false;
    if (OnCaptureLost) RunGuarded(OnCaptureLost);
  }
  return QWidget::event(event);
}
