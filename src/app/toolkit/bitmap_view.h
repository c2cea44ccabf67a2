#pragma once
// The image control: shows a bitmap it does not own and hands mouse presses,
// moves and releases on as plain numbers. Qt's implicit grab delivers the
// release of a button pressed here even when the pointer has left the image,
// with coordinates outside it.

#include <QWidget>
#include <functional>

#include "app/core/viewport/mouse_button.h"

class TBitmap32;

// The pixel under a pointer position: the floor of each coordinate, so a
// fractional position on a scaled screen never rounds into the next pixel.
QPoint PixelAt(const QPointF& position);

class TBitmapView : public QWidget {
  Q_OBJECT
 public:
  explicit TBitmapView(QWidget* parent);

  // The bitmap shown (not owned; may be null). Call Changed after drawing into it.
  void SetBitmap(const TBitmap32* bitmap);
  const TBitmap32* Bitmap() const { return FBitmap; }
  void Changed() { update(); }

  std::function<void(TMouseButton button, int x, int y)> OnMouseDown;
  std::function<void(int x, int y)> OnMouseMove;
  std::function<void(TMouseButton button, int x, int y)> OnMouseUp;
  // The grab ended without a release reaching us (another window took it).
  std::function<void()> OnCaptureLost;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  const TBitmap32* FBitmap = nullptr;
  bool FButtonDown = false;
};
