#include "app/toolkit/app_style.h"

#include <QApplication>
#include <QFont>
#include <QWidget>

void ApplyApplicationStyle(QApplication& app) {
  QFont font("DejaVu Sans");
  font.setPointSize(8);
  app.setFont(font);
}

void FixHeight(QWidget* control, int height) {
  control->setFixedHeight(height);
}
