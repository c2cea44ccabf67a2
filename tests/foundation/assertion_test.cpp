#include "foundation/assertion.h"

#include <gtest/gtest.h>

TEST(Assertion, CarriesMessageFileAndLine) {
  try {
    Require(false, "index out of range");
    FAIL() << "Require did not raise";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "index out of range");
    EXPECT_NE(std::string(e.File()).find("assertion_test.cpp"), std::string::npos);
    EXPECT_GT(e.Line(), 0u);
    EXPECT_NE(std::string(e.what()).find("index out of range ("), std::string::npos);
  }
  EXPECT_NO_THROW(Require(true, "never"));
}
