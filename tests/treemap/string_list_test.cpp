#include "treemap/string_list.h"

#include <gtest/gtest.h>

#include "foundation/assertion.h"
#include "foundation/float_text.h"
#include "foundation/format_settings.h"
#include "test_attribute.h"
#include "treemap/string_list_xml.h"
#include "xml_fixture.h"

namespace {

TEST(DravolinHashedStringList, LookupsIgnoreCaseAndFindTheFirst) {
  TDravolinHashedStringList list;
  list.Add("abc");
  list.Add("Other");
  list.Add("ABC");
  EXPECT_EQ(list.IndexOf("aBc"), 0);
  EXPECT_EQ(list.IndexOf("other"), 1);
  EXPECT_EQ(list.IndexOf("ab"), -1);
  list.Add("new");  // added after the index was built
  EXPECT_EQ(list.IndexOf("NEW"), 3);
  list.Delete(0);
  EXPECT_EQ(list.IndexOf("abc"), 1);  // the later duplicate moved up
  EXPECT_EQ(list[1], "ABC");
  EXPECT_THROW(list[3], EAssertionFailed);
  EXPECT_THROW(list.Delete(-1), EAssertionFailed);
  try {
    list.Delete(3);
    FAIL() << "no precondition failure";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (3)");
  }

  const TDravolinHashedStringList copy = list;
  list.Clear();
  EXPECT_EQ(list.IndexOf("other"), -1);
  EXPECT_EQ(copy.IndexOf("OTHER"), 0);
  EXPECT_EQ(copy.Count(), 3);
}

TEST(StringsToFromXML, PlainTextsRoundTrip) {
  TXmlFixture xml;
  TDravolinHashedStringList list;
  list.Add("a");
  list.Add("");
  list.Add("b <&>");
  auto node = xml.Empty();
  StringsToFromXML(list, false, node, nullptr);
  EXPECT_EQ(xml.Text(), "<E><String>a</String><String></String><String>b &lt;&amp;&gt;</String></E>");

  TDravolinHashedStringList loaded;
  loaded.Add("stale");
  StringsToFromXML(loaded, true, node, nullptr);
  EXPECT_EQ(loaded.Strings(), list.Strings());
}

TEST(StringsToFromXML, LoadTakesEveryChildWhateverItsName) {
  TXmlFixture xml;
  auto node = xml.Parse("<Strings><String>x</String><Other>y</Other><String/></Strings>");
  TDravolinHashedStringList loaded;
  StringsToFromXML(loaded, true, node, nullptr);
  EXPECT_EQ(loaded.Strings(), (std::vector<std::string>{"x", "y", ""}));
}

TEST(StringsToFromXML, NumbersOfNonTextAttributesAreStoredInTheFixedFormat) {
  TTestAttribute amount("Amount", {}, atDouble);
  const TFormatSettings& user = UserFormatSettings();
  TDravolinHashedStringList list;
  list.Add(FloatToText(2.5, user));
  list.Add("n/a");  // not a number: kept as it is
  TXmlFixture xml;
  auto node = xml.Empty();
  StringsToFromXML(list, false, node, &amount);
  EXPECT_EQ(xml.Text(), "<E><String>2,5</String><String>n/a</String></E>");

  TDravolinHashedStringList loaded;
  StringsToFromXML(loaded, true, node, &amount);
  EXPECT_EQ(loaded.Strings(), list.Strings());

  TTestAttribute name("Name");  // a text attribute stores the texts as they are
  TXmlFixture plain;
  auto plainNode = plain.Empty();
  StringsToFromXML(list, false, plainNode, &name);
  EXPECT_EQ(plain.Text(), "<E><String>" + list[0] + "</String><String>n/a</String></E>");
}

}  // namespace
