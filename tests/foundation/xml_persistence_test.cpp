#include "foundation/xml_persistence.h"

#include <gtest/gtest.h>

#include <sstream>

#include "foundation/assertion.h"
#include "foundation/pugi_xml_node.h"

namespace {

// An element parsed from text, and its serialized children after saves.
class XmlPersistence : public ::testing::Test {
 protected:
  TPugiXmlNode Parse(const char* xml) {
    EXPECT_TRUE(FDoc.load_string(xml));
    return TPugiXmlNode(FDoc.document_element());
  }
  TPugiXmlNode Empty() { return TPugiXmlNode(FDoc.append_child("E")); }
  std::string Text() {
    std::ostringstream out;
    FDoc.document_element().print(out, "", pugi::format_raw);
    return out.str();
  }
  pugi::xml_document FDoc;
};

}  // namespace

TEST_F(XmlPersistence, SaveAppendsOneChildPerValue) {
  TPugiXmlNode node = Empty();
  int index = -1;
  double a = 0.75, b = 2.2, c = 100, d = 1e-5;
  int32_t i = -42;
  bool flag = true;
  std::string s = "a<b";
  XMLReadWriteDouble(false, node, index, a, "A", 0);
  XMLReadWriteDouble(false, node, index, b, "B", 0);
  XMLReadWriteDouble(false, node, index, c, "C", 0);
  XMLReadWriteDouble(false, node, index, d, "D", 0);
  XMLReadWriteInteger(false, node, index, i, "I", 0);
  XMLReadWriteBoolean(false, node, index, flag, "F", false);
  XMLReadWriteString(false, node, index, s, "S", "unused");
  EXPECT_EQ(index, 6);
  EXPECT_EQ(Text(), "<E><A>0,75</A><B>2,2</B><C>100</C><D>1E-5</D><I>-42</I><F>true</F><S>a&lt;b</S></E>");
}

TEST_F(XmlPersistence, LoadTakesPositionThenFirstByNameThenDefault) {
  TPugiXmlNode node = Parse("<E><X>1</X><Y>2</Y><X>3</X></E>");
  struct Case { int Index; const char* Name; int32_t Want; };
  const Case cases[] = {
      {-1, "X", 1},  // position 0 is an X: positional
      {1, "X", 3},   // position 2 is the second X: positional beats first-by-name
      {-1, "Y", 2},  // position 0 is X: first Y by name
      {5, "Y", 2},   // beyond the children: by name
      {0, "Z", 99},  // no such child: default
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name + std::to_string(c.Index));
    int index = c.Index;
    int32_t value = -7;
    XMLReadWriteInteger(true, node, index, value, c.Name, 99);
    EXPECT_EQ(value, c.Want);
    EXPECT_EQ(index, c.Index + 1);
  }
  EXPECT_EQ(node.ChildCount(), 3);  // a load never creates nodes
}

TEST_F(XmlPersistence, LoadsValuesStrictlyElseDefault) {
  TPugiXmlNode node = Parse(
      "<E><A>  2,50 </A><B>1e5</B><C>0.75</C><D/><I>12</I><J>1,0</J><K>2147483648</K>"
      "<T>TRUE</T><U>0</U><V>-3</V><W>yes</W><S/><R>x</R></E>");
  struct DoubleCase { const char* Name; double Want; };
  for (const DoubleCase& c : {DoubleCase{"A", 2.5}, {"B", 1e5}, {"C", -1}, {"D", -1}, {"missing", -1}}) {
    SCOPED_TRACE(c.Name);
    int index = -1;
    double v = 0;
    XMLReadWriteDouble(true, node, index, v, c.Name, -1);
    EXPECT_EQ(v, c.Want);
  }
  struct IntCase { const char* Name; int32_t Want; };
  for (const IntCase& c : {IntCase{"I", 12}, {"J", -1}, {"K", -1}, {"D", -1}}) {
    SCOPED_TRACE(c.Name);
    int index = -1;
    int32_t v = 0;
    XMLReadWriteInteger(true, node, index, v, c.Name, -1);
    EXPECT_EQ(v, c.Want);
  }
  struct BoolCase { const char* Name; bool Default, Want; };
  for (const BoolCase& c : {BoolCase{"T", false, true}, {"U", true, false}, {"V", false, true},
                            {"W", true, true}, {"W", false, false}, {"D", true, true}}) {
    SCOPED_TRACE(c.Name);
    int index = -1;
    bool v = !c.Want;
    XMLReadWriteBoolean(true, node, index, v, c.Name, c.Default);
    EXPECT_EQ(v, c.Want);
  }
  // An element without text is Null, which reads leniently as "" (not the default).
  int index = -1;
  std::string s = "old";
  XMLReadWriteString(true, node, index, s, "S", "default");
  EXPECT_EQ(s, "");
  XMLReadWriteString(true, node, index, s, "missing", "default");
  EXPECT_EQ(s, "default");
}

TEST_F(XmlPersistence, SavedElementLoadsBackOnThePositionalPath) {
  TPugiXmlNode node = Empty();
  int index = -1;
  double d = -123.25;
  int32_t i = 7;
  bool b = false;
  std::string s = "text";
  XMLReadWriteDouble(false, node, index, d, "D", 0);
  XMLReadWriteInteger(false, node, index, i, "I", 0);
  XMLReadWriteBoolean(false, node, index, b, "B", true);
  XMLReadWriteString(false, node, index, s, "S", "");
  // Same names appear again later: only the positional path gives the first values.
  node.AddChild("D")->SetValue("1");
  node.AddChild("I")->SetValue("1");

  index = -1;
  d = 0, i = 0, b = true, s.clear();
  XMLReadWriteDouble(true, node, index, d, "D", 0);
  XMLReadWriteInteger(true, node, index, i, "I", 0);
  XMLReadWriteBoolean(true, node, index, b, "B", true);
  XMLReadWriteString(true, node, index, s, "S", "");
  EXPECT_EQ(d, -123.25);
  EXPECT_EQ(i, 7);
  EXPECT_FALSE(b);
  EXPECT_EQ(s, "text");
  EXPECT_EQ(index, 3);
}

// A node lists its child elements once; the children it adds itself join the
// list, text, comments and the like never count, and a name finds the first
// child of that name.
TEST_F(XmlPersistence, NodeCountsIndexesAndFindsTheChildrenItAdds) {
  TPugiXmlNode node = Parse("<E>text<A/><!--c--><B>1</B><B>2</B></E>");
  ASSERT_EQ(node.ChildCount(), 3);
  EXPECT_EQ(node.Child(1)->Name(), "B");
  EXPECT_EQ(node.FindChild("B")->Value(), "1");
  EXPECT_EQ(node.FindChild("C"), nullptr);
  node.AddChild("C")->SetValue("3");
  node.AddChild("A")->SetValue("4");
  ASSERT_EQ(node.ChildCount(), 5);
  EXPECT_EQ(node.Child(3)->Name(), "C");
  EXPECT_EQ(node.Child(3)->Value(), "3");
  EXPECT_EQ(node.FindChild("C")->Value(), "3");
  EXPECT_EQ(node.FindChild("A")->Value(), std::nullopt);  // the first A
  EXPECT_THROW(node.Child(5), EAssertionFailed);
  EXPECT_THROW(node.Child(-1), EAssertionFailed);
  int index = 2;
  int32_t value = 0;
  XMLReadWriteInteger(true, node, index, value, "C", 0);
  EXPECT_EQ(value, 3);
}

TEST_F(XmlPersistence, ColorSavesAsSigned32AndReadsTheOlderForm) {
  TPugiXmlNode saved = Empty();
  int index = -1;
  TColor32 white = 0xFFFFFFFFu, black = 0xFF000000u;
  XMLReadWriteColor32(false, saved, index, white, "Color", 0);
  XMLReadWriteColor32(false, saved, index, black, "Back", 0);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(Text(), "<E><Color32>-1</Color32><Back32>-16777216</Back32></E>");

  index = -1;
  TColor32 v = 0;
  XMLReadWriteColor32(true, saved, index, v, "Back", 0x12345678u);
  EXPECT_EQ(v, 0xFF000000u);
  EXPECT_EQ(index, 0);
}

TEST_F(XmlPersistence, OlderColorForm) {
  TPugiXmlNode node = Parse(
      "<E><Color><R>1</R><G>0,5</G><B>x</B></Color>"
      "<Odd><R>-0,5</R><G>1E20</G></Odd><Both><R>0</R></Both><Both32>255</Both32>"
      "<Empty><R/><G>1</G><B><!--no text--></B></Empty></E>");
  struct Case { const char* Name; TColor32 Want; };
  const Case cases[] = {
      {"Color", 0xFFFF8001u},  // R 255, G RoundSingle(127.5) = 128, B unreadable = 1
      {"Odd", 0xFF800001u},    // -128 modulo 256; 1E20 is out of range (0); B missing (1)
      {"Empty", 0xFF01FF01u},  // a component without text (Null) reads as "", not a number: 1
      {"Both", 0x000000FFu},   // the "N32" form wins
      {"None", 0xABCDEF01u},   // neither form: default
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    int index = 3;
    TColor32 v = 0;
    XMLReadWriteColor32(true, node, index, v, c.Name, 0xABCDEF01u);
    EXPECT_EQ(v, c.Want);
    EXPECT_EQ(index, 4);
  }
}
