// Runs the GUI tests inside one QApplication on the offscreen platform, in a
// fresh folder of the process's own.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "app/toolkit/app_style.h"
#include "support/scratch_dir.h"

int main(int argc, char** argv) {
  const TScratchDir scratch(ScratchPrefix(argv[0]));
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  ApplyApplicationStyle(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
