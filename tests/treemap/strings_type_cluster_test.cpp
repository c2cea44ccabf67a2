#include "treemap/strings_type_cluster.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "foundation/assertion.h"
#include "foundation/format_settings.h"
#include "graphics/bitmap32_io.h"
#include "test_attribute.h"
#include "treemap/cluster_types.h"
#include "xml_fixture.h"

namespace {

std::string TempPath(const std::string& name) {
  return (std::filesystem::path(testing::TempDir()) / ("treemap_cluster_" + name)).string();
}

TBitmap32 SmallImage() {
  TBitmap32 image(2, 2);
  image.SetPixel(0, 0, 0xFF102030u);
  image.SetPixel(1, 0, 0x80FFFFFFu);
  image.SetPixel(0, 1, 0x00000000u);
  image.SetPixel(1, 1, 0xFF00FF00u);
  return image;
}

TEST(StringsTypeCluster, Defaults) {
  int owner = 0;
  TStringsTypeCluster cluster(&owner);
  EXPECT_EQ(cluster.Name(), "New Value Category");
  EXPECT_EQ(cluster.Color(), 0xFFFFFF00u);
  EXPECT_TRUE(cluster.Visible());
  EXPECT_FALSE(cluster.HasIcon());
  EXPECT_EQ(cluster.ID(), 0);
  EXPECT_EQ(cluster.Owner(), &owner);
  EXPECT_EQ(cluster.TypeName(), "Values");
  EXPECT_FALSE(cluster.QueryFlag());
  EXPECT_EQ(DefaultCluster().ID(), -1);
  EXPECT_EQ(DefaultCluster().Owner(), nullptr);
}

TEST(StringsTypeCluster, Membership) {
  TStringsTypeCluster cluster(nullptr);
  cluster.SetName("Fruit");
  for (const char* v : {"abc", "2.5", "2", "North"}) cluster.Values().Add(v);
  EXPECT_TRUE(cluster.ContainsText("ABC"));
  EXPECT_FALSE(cluster.ContainsText("ab"));

  TTestAttribute region("Region", {"South", "north", "East"});
  EXPECT_FALSE(cluster.ContainsRecordValue(0, region));
  EXPECT_TRUE(cluster.ContainsRecordValue(1, region));
  EXPECT_TRUE(cluster.ContainsIndexValue(1, region));
  EXPECT_FALSE(cluster.ContainsIndexValue(2, region));

  if (UserFormatSettings().DecimalSeparator == '.') {
    EXPECT_TRUE(cluster.ContainsNumber(2.5));
  }
  EXPECT_TRUE(cluster.ContainsNumber(2.0));  // written "2", never "2.0"
  EXPECT_TRUE(cluster.ContainsNumber(2.0000001));
  EXPECT_FALSE(cluster.ContainsNumber(2.25));

  EXPECT_EQ(cluster.ValueText(3), "North");
  try {
    cluster.ValueText(4);
    FAIL() << "no precondition failure";
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(e.Message(), "Index out of Bounds Cluster Fruit");
  }
  EXPECT_THROW(cluster.ValueText(-1), EAssertionFailed);
}

class TOtherCluster : public TCluster {
 public:
  TOtherCluster() : TCluster(nullptr) {}
  bool ContainsRecordValue(int32_t, TAttributeDescriptor&) const override { return false; }
  bool ContainsIndexValue(int32_t, TAttributeDescriptor&) const override { return false; }
  bool ContainsText(std::string_view) const override { return false; }
  bool QueryFlag() const override { return true; }
  std::string TypeName() const override { return "Other"; }
  std::string ValueText(int) const override { return {}; }
};

TEST(StringsTypeCluster, AssignCopiesFieldsValuesAndIcon) {
  int owner = 0;
  TStringsTypeCluster source(&owner);
  source.SetID(7);
  source.SetName("S");
  source.SetVisible(false);
  source.SetColor(0x11223344u);
  source.SetHostFlag(true);
  source.HostInt1 = 5;
  source.Values().Add("x");
  const std::string path = TempPath("assign.png");
  WriteImageFileBytes(path, SaveBitmap32ToPng(SmallImage()));
  source.SetIconFile(path);
  ASSERT_TRUE(source.HasIcon());

  TStringsTypeCluster copy(nullptr);
  copy.Assign(source);
  EXPECT_EQ(copy.ID(), 7);
  EXPECT_EQ(copy.Name(), "S");
  EXPECT_FALSE(copy.Visible());
  EXPECT_EQ(copy.Color(), 0x11223344u);
  EXPECT_TRUE(copy.HostFlag());
  EXPECT_EQ(copy.HostInt1, 0);  // host values are not copied
  EXPECT_EQ(copy.Owner(), &owner);
  EXPECT_TRUE(copy.ContainsText("X"));
  ASSERT_TRUE(copy.HasIcon());
  EXPECT_NE(copy.Icon(), source.Icon());
  EXPECT_EQ(copy.Icon()->Image().Pixel(0, 0), 0xFF102030u);

  TOtherCluster other;
  EXPECT_THROW(copy.Assign(other), EAssertionFailed);
  EXPECT_EQ(copy.Name(), "S");  // unchanged by the refused copy
  EXPECT_THROW(other.ContainsNumber(1), EAssertionFailed);
}

TEST(StringsTypeCluster, SaveLayoutAndLoad) {
  TStringsTypeCluster cluster(nullptr);
  cluster.SetID(3);
  cluster.SetName("Two");
  cluster.Values().Add("a");
  cluster.Values().Add("b");
  TXmlFixture xml;
  auto node = xml.Empty();
  cluster.LoadSave(false, node, nullptr);
  EXPECT_EQ(xml.Text(),
            "<E><ID>3</ID><Name>Two</Name><Visible>true</Visible><Color32>-256</Color32><Icon>false</Icon>"
            "<Strings><String>a</String><String>b</String></Strings></E>");

  TStringsTypeCluster loaded(nullptr);
  loaded.LoadSave(true, node, nullptr);
  EXPECT_EQ(loaded.ID(), 3);
  EXPECT_EQ(loaded.Name(), "Two");
  EXPECT_EQ(loaded.Color(), 0xFFFFFF00u);
  EXPECT_EQ(loaded.Values().Strings(), cluster.Values().Strings());
  EXPECT_FALSE(loaded.HasIcon());
}

TEST(StringsTypeCluster, LoadOfAnEmptyElementGivesTheDefaults) {
  TXmlFixture xml;
  auto node = xml.Parse("<E/>");
  TStringsTypeCluster loaded(nullptr);
  loaded.Values().Add("kept");
  loaded.LoadSave(true, node, nullptr);
  EXPECT_EQ(loaded.ID(), 1);
  EXPECT_EQ(loaded.Name(), "");
  EXPECT_EQ(loaded.Color(), 0xFFFFFFFFu);
  EXPECT_TRUE(loaded.Visible());
  EXPECT_FALSE(loaded.HasIcon());
  EXPECT_EQ(loaded.Values().Count(), 1);  // without "Strings" the values stay
}

TEST(StringsTypeCluster, IconPersistsThroughXml) {
  TStringsTypeCluster cluster(nullptr);
  const std::string path = TempPath("persist.png");
  WriteImageFileBytes(path, SaveBitmap32ToPng(SmallImage()));
  cluster.SetIconFile(path);
  ASSERT_TRUE(cluster.HasIcon());
  cluster.Icon()->DrawState.Index = 9;
  TXmlFixture xml;
  auto node = xml.Empty();
  cluster.LoadSave(false, node, nullptr);

  TStringsTypeCluster loaded(nullptr);
  loaded.LoadSave(true, node, nullptr);
  ASSERT_TRUE(loaded.HasIcon());
  const TIcon& icon = *loaded.Icon();
  EXPECT_EQ(icon.Image().Width(), 2);
  EXPECT_EQ(icon.Image().Pixel(1, 0), 0x80FFFFFFu);
  EXPECT_EQ(icon.WorkingCopy().Pixel(1, 1), 0xFF00FF00u);
  EXPECT_EQ(icon.WorkingCopy().DrawMode(), TDrawMode::dmBlend);
  EXPECT_EQ(icon.WorkingStretchFilter(), TStretchFilter::sfDraft);
  EXPECT_EQ(icon.DrawState.Index, -1);
  EXPECT_EQ(icon.DrawState.Mode, 2);

  // A later load without an icon drops the one held.
  TXmlFixture plain;
  auto plainNode = plain.Parse("<E><Icon>false</Icon></E>");
  loaded.LoadSave(true, plainNode, nullptr);
  EXPECT_FALSE(loaded.HasIcon());
}

TEST(StringsTypeCluster, IconFiles) {
  TStringsTypeCluster cluster(nullptr);
  // The upper-case extension still selects the PNG decoder: JPEG data under
  // that name does not decode.
  const std::string png = TempPath("x.PNG");
  WriteImageFileBytes(png, SaveBitmap32ToPng(SmallImage()));
  cluster.SetIconFile(png);
  ASSERT_TRUE(cluster.HasIcon());
  EXPECT_EQ(cluster.Icon()->Image().Pixel(0, 0), 0xFF102030u);

  const std::string disguised = TempPath("y.PNG");
  WriteImageFileBytes(disguised, SaveBitmap32ToJpeg(SmallImage()));
  EXPECT_THROW(cluster.SetIconFile(disguised), EBitmapIOError);
  EXPECT_FALSE(cluster.HasIcon());

  const std::string jpeg = TempPath("z.jpg");
  WriteImageFileBytes(jpeg, SaveBitmap32ToJpeg(SmallImage()));
  cluster.SetIconFile(jpeg);
  EXPECT_TRUE(cluster.HasIcon());

  cluster.SetIconFile(TempPath("missing.png"));
  EXPECT_FALSE(cluster.HasIcon());
  cluster.SaveIconToFile(TempPath("none.bmp"));  // nothing without an icon
  EXPECT_FALSE(std::filesystem::exists(TempPath("none.bmp")));

  cluster.SetIconFile(png);
  const std::string saved = TempPath("saved.png");  // a bitmap file whatever the name
  cluster.SaveIconToFile(saved);
  const std::vector<uint8_t> bytes = ReadImageFileBytes(saved);
  EXPECT_EQ(ImageFileTypeFromSignature(bytes), TImageFileType::iftBmp);
  EXPECT_EQ(LoadBitmap32FromBmp(bytes).Pixel(1, 0), 0x80FFFFFFu);
}

}  // namespace
