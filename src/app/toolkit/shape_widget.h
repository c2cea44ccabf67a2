#pragma once
// A filled rectangle with a one-pixel frame: the colour swatch control.

#include <QWidget>
#include <functional>

#include "graphics/color_types.h"

enum class TPenStyle { psSolid, psClear };

class TShape : public QWidget {
  Q_OBJECT
 public:
  explicit TShape(QWidget* parent);

  TColor BrushColor() const { return FBrushColor; }
  TColor PenColor() const { return FPenColor; }
  TPenStyle PenStyle() const { return FPenStyle; }
  void SetBrushColor(TColor color);
  void SetPenColor(TColor color);
  void SetPenStyle(TPenStyle style);

  // Pointer moves over the swatch, in its own coordinates.
  std::function<void(int x, int y)> OnMouseMove;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  TColor FBrushColor = 0xFFFFFF;
  TColor FPenColor = 0x000000;
  TPenStyle FPenStyle = TPenStyle::psSolid;
};

// A widget colour (R | G<<8 | B<<16) as a QColor.
QColor ToQColor(TColor color);
