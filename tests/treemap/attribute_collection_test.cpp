#include "treemap/attribute_collection.h"

#include <gtest/gtest.h>

#include "test_attribute.h"

namespace {

TEST(MakeValidIdentifier, Cases) {
  const struct {
    const char* Text;
    const char* Want;
  } kCases[] = {{"", "A"},         {"9lives", "A9lives"}, {"_x", "A_x"},
                {"a-b c", "a_b_c"}, {"Sales", "Sales"},    {"\xE9t\xE9", "A_t_"}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(MakeValidIdentifier(c.Text), c.Want);
  }
}

struct TCollectionFixture : testing::Test {
  TDravolinAttributes Collection;
  TAttributeDescriptor* Sales = Collection.Add(std::make_unique<TTestAttribute>("Sales"));
  TAttributeDescriptor* MyField = Collection.Add(std::make_unique<TTestAttribute>("my_field"));
};

TEST_F(TCollectionFixture, ByName) {
  EXPECT_EQ(FindAttributeByVariant(Collection, "SALES"), Sales);
  EXPECT_EQ(FindAttributeByVariant(Collection, "my field"), MyField);  // through MakeValidIdentifier
  EXPECT_EQ(FindAttributeByVariant(Collection, "MY_FIELD"), MyField);
  EXPECT_EQ(FindAttributeByVariant(Collection, "missing"), nullptr);
  EXPECT_EQ(FindAttributeByVariant(Collection, ""), nullptr);
}

TEST_F(TCollectionFixture, ByIndex) {
  EXPECT_EQ(FindAttributeByVariant(Collection, int64_t{0}), Sales);
  EXPECT_EQ(FindAttributeByVariant(Collection, int64_t{1}), MyField);
  EXPECT_EQ(FindAttributeByVariant(Collection, int64_t{2}), nullptr);
  EXPECT_EQ(FindAttributeByVariant(Collection, int64_t{-1}), nullptr);
}

TEST_F(TCollectionFixture, NameSearchHonoursCountAndSkipsEmptyEntries) {
  Collection.Descriptors.insert(Collection.Descriptors.begin(), nullptr);
  Collection.Count = 2;  // the empty entry and Sales
  EXPECT_EQ(FindAttributeByVariant(Collection, "sales"), Sales);
  EXPECT_EQ(FindAttributeByVariant(Collection, "my_field"), nullptr);
  EXPECT_EQ(FindAttributeByVariant(Collection, int64_t{2}), MyField);  // indexes reach every entry
  EXPECT_EQ(FindAttributeByVariant(Collection, int64_t{0}), nullptr);

  Collection.Count = 1000;  // more than there are entries
  EXPECT_EQ(FindAttributeByVariant(Collection, "my_field"), MyField);
  Collection.Count = -5;
  EXPECT_EQ(FindAttributeByVariant(Collection, "sales"), nullptr);
}

TEST(AttributeTypeNames, Tables) {
  EXPECT_EQ(kAttributeTypeNames[atDateTime], "Date + Time");
  EXPECT_EQ(kAttributeTypeNames[atPercentage], "Percentage");
  EXPECT_EQ(kAttributeTypeNames[atFixedText], "");
  EXPECT_EQ(kAttributeTypeNamesExtended[8], "Percentage");
  EXPECT_EQ(kAttributeTypeNamesExtended[9], "Date + Time (ISO)");
  EXPECT_EQ(kAttributeTypeNamesExtended[13], "Boolean");
}

}  // namespace
