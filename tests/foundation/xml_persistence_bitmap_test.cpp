#include "foundation/xml_persistence.h"

#include <gtest/gtest.h>

#include "foundation/assertion.h"
#include "foundation/pugi_xml_node.h"
#include "graphics/bitmap32.h"

namespace {

class XmlBitmap : public ::testing::Test {
 protected:
  TPugiXmlNode Parse(const std::string& xml) {
    EXPECT_TRUE(FDoc.load_string(xml.c_str()));
    return TPugiXmlNode(FDoc.document_element());
  }
  std::unique_ptr<TBitmap32> Load(TPugiXmlNode node, int expectedIndex = 4) {
    int index = -1;
    std::unique_ptr<TBitmap32> bitmap;
    XMLReadWriteBitmap32(true, node, index, bitmap, "Bmp");
    EXPECT_EQ(index, expectedIndex);
    return bitmap;
  }
  static std::string Element(int datas, int height, int width, const std::string& pixels) {
    return "<E><Bmp><Datas>" + std::to_string(datas) + "</Datas><Height>" + std::to_string(height) +
           "</Height><Width>" + std::to_string(width) + "</Width><Pixels>" + pixels + "</Pixels></Bmp></E>";
  }
  pugi::xml_document FDoc;
};

}  // namespace

TEST_F(XmlBitmap, OnePixelRoundTrip) {
  TPugiXmlNode node(FDoc.append_child("E"));
  auto bitmap = std::make_unique<TBitmap32>(1, 1);
  bitmap->SetPixel(0, 0, 0x80FF4010u);
  int index = -1;
  XMLReadWriteBitmap32(false, node, index, bitmap, "Bmp");
  EXPECT_EQ(index, 4);
  const auto element = node.FindChild("Bmp");
  ASSERT_TRUE(element);
  EXPECT_EQ(element->ChildValue("Datas"), "8");
  EXPECT_EQ(element->ChildValue("Height"), "1");
  EXPECT_EQ(element->ChildValue("Width"), "1");
  EXPECT_EQ(element->ChildValue("Pixels"), "EED/gA==");  // bytes B, G, R, A

  const auto back = Load(node);
  ASSERT_EQ(back->Width(), 1);
  ASSERT_EQ(back->Height(), 1);
  EXPECT_EQ(back->Pixel(0, 0), 0x80FF4010u);
}

TEST_F(XmlBitmap, WiderBitmapRoundTripsRowsFromTheTop) {
  TPugiXmlNode node(FDoc.append_child("E"));
  auto bitmap = std::make_unique<TBitmap32>(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) bitmap->SetPixel(x, y, 0x01020304u * static_cast<TColor32>(1 + x + 3 * y));
  int index = 2;
  XMLReadWriteBitmap32(false, node, index, bitmap, "Bmp");
  EXPECT_EQ(index, 7);
  EXPECT_EQ(node.FindChild("Bmp")->ChildValue("Datas"), "32");
  const auto back = Load(node);
  ASSERT_EQ(back->Width(), 3);
  ASSERT_EQ(back->Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(back->Pixel(x, y), bitmap->Pixel(x, y));
}

TEST_F(XmlBitmap, MissingOrUndecodedDataGivesUnsetPixels) {
  // No element at all: the 1 x 1 default.
  auto none = Load(Parse("<E><Other/></E>"));
  EXPECT_EQ(none->Width(), 1);
  EXPECT_EQ(none->Height(), 1);
  EXPECT_EQ(none->Pixel(0, 0), 0u);
  // Datas 1 (or missing): the stored size, pixels not decoded.
  auto datas1 = Load(Parse(Element(1, 2, 2, "EED/gA==")));
  EXPECT_EQ(datas1->Width(), 2);
  EXPECT_EQ(datas1->Pixel(0, 0), 0u);
  auto noDatas = Load(Parse("<E><Bmp><Height>1</Height><Width>2</Width><Pixels>EED/gA==</Pixels></Bmp></E>"));
  EXPECT_EQ(noDatas->Width(), 2);
  EXPECT_EQ(noDatas->Pixel(0, 0), 0u);
}

TEST_F(XmlBitmap, PixelDataIsDecodedWithinBothBuffers) {
  // "EED/gA==" is one pixel 0x80FF4010; two of them is "EED/gBBA/4A=".
  struct Case { const char* Name; int Datas, Width; std::string Pixels; TColor32 First, Second; };
  const Case cases[] = {
      {"short text: the rest stays 0", 8, 2, "EED/gA==", 0x80FF4010u, 0},
      {"Datas shorter than the text", 4, 2, "EED/gBBA/4A=", 0x00FF4010u, 0},
      {"Datas longer than the text", 1000, 2, "EED/gBBA/4A=", 0x80FF4010u, 0x80FF4010u},
      {"more data than pixels", 12, 1, "EED/gBBA/4A=", 0x80FF4010u, 0},
      {"partial last pixel keeps its bytes", 100, 2, "EED/gBBA", 0x80FF4010u, 0x00004010u},
      {"garbage stops decoding", 100, 2, "EED/g!!!", 0x00FF4010u, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto b = Load(Parse(Element(c.Datas, 1, c.Width, c.Pixels)));
    ASSERT_EQ(b->Width(), c.Width);
    EXPECT_EQ(b->Pixel(0, 0), c.First);
    if (c.Width > 1) { EXPECT_EQ(b->Pixel(1, 0), c.Second); }
  }
}

TEST_F(XmlBitmap, SizesOutsideTheLimitGiveTheDefault) {
  struct Case { int64_t Height, Width; int WantW, WantH; };
  const Case cases[] = {
      {-1, 5, 1, 1},
      {5, -2147483647 - 1, 1, 1},
      {65537, 1, 1, 1},                  // one side too long
      {65536, 65536, 1, 1},              // product above 2^24 pixels
      {4096, 4096, 4096, 4096},          // exactly 2^24: allowed
      {0, 65536, 65536, 0},              // empty is fine
      {2147483648, 1, 1, 1},             // not a 32-bit integer: the default 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height));
    const auto b = Load(Parse(
        "<E><Bmp><Datas>8</Datas><Height>" + std::to_string(c.Height) + "</Height><Width>" +
        std::to_string(c.Width) + "</Width><Pixels>EED/gA==</Pixels></Bmp></E>"));
    EXPECT_EQ(b->Width(), c.WantW);
    EXPECT_EQ(b->Height(), c.WantH);
    if (!b->Empty()) { EXPECT_EQ(b->Pixel(0, 0), 0x80FF4010u); }
  }
}

TEST_F(XmlBitmap, SaveNeedsABitmap) {
  TPugiXmlNode node(FDoc.append_child("E"));
  int index = -1;
  std::unique_ptr<TBitmap32> none;
  EXPECT_THROW(XMLReadWriteBitmap32(false, node, index, none, "Bmp"), EAssertionFailed);
}
