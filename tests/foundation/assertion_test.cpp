#include "foundation/assertion.h"

#include <gtest/gtest.h>

TEST(Assertion, CarriesMessageFileAndLine) {
  try {
    Require(false, "index out of range");
    FAIL() << "Require did not raise";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "index out of range");
    // Named relative to the clone, whichever folder it was built in.
    const std::string file = e.File();
    EXPECT_TRUE(file.ends_with("tests/foundation/assertion_test.cpp")) << file;
    EXPECT_FALSE(file.starts_with("/")) << file;
    EXPECT_GT(e.Line(), 0u);
    EXPECT_NE(std::string(e.what()).find("index out of range ("), std::string::npos);
  }
  EXPECT_NO_THROW(Require(true, "never"));
}

TEST(Assertion, RequireWithBuildsTheMessageOnlyOnFailure) {
  int built = 0;
  const auto message = [&built] {
    ++built;
    return std::string("index ") + std::to_string(7) + " out of range";
  };
  for (int i = 0; i < 3; ++i) RequireWith(true, message);
  EXPECT_EQ(built, 0);
  try {
    RequireWith(false, message);
    FAIL() << "RequireWith did not raise";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(built, 1);
    EXPECT_EQ(e.Message(), "index 7 out of range");
    EXPECT_NE(std::string(e.File()).find("assertion_test.cpp"), std::string::npos);  // the caller, not the header
  }
}
