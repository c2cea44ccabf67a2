#include "app/window/window_screenshot.h"

#include <QPixmap>
#include <QWidget>

bool SaveWindowScreenshot(QWidget& Window, const QString& Path) {
  const QPixmap picture = Window.grab();
  return !picture.isNull() && picture.save(Path, "PNG");
}
