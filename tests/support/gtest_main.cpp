// main() of the test programs: the tests run inside a fresh folder of the
// process's own, removed afterwards whether they pass or fail.
#include <gtest/gtest.h>

#include "support/scratch_dir.h"

int main(int argc, char** argv) {
  const TScratchDir scratch(ScratchPrefix(argv[0]));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
