#include "offscreen_application.h"

#include <QApplication>
#include <cstdlib>

#include "app/toolkit/app_style.h"

void EnsureApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "tool_bench";
  static char* argv[] = {name, nullptr};
  auto* app = new QApplication(argc, argv);  // never destroyed: the run ends with the process
  ApplyApplicationStyle(*app);
}
