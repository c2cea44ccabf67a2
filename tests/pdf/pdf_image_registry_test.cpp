#include <gtest/gtest.h>

#include <string>

#include "pdf/class_registry.h"
#include "pdf/pdf_error.h"
#include "pdf/pdf_image.h"

namespace {

class TOther final : public TVPersistent {
 public:
  static constexpr std::string_view ClassName() { return "TOther"; }
};

TEST(PdfImageRegistry, BuildersAreFoundByTheirAliases) {
  RegisterPdfImageBuilders();
  RegisterPdfImageBuilders();  // harmless when repeated
  struct TCase {
    const char* Alias;
    std::string_view ClassName;
  };
  const TCase cases[] = {
      {"VPDFBitmap", TVPDFBitmap::ClassName()},   {"VPDFJpeg", TVPDFDocJpegImage::ClassName()},
      {"VPDFCCITT31", TVPDFCCITT31::ClassName()}, {"VPDFCCITT32", TVPDFCCITT32::ClassName()},
      {"VPDFCCITT4", TVPDFCCITT4::ClassName()},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Alias);
    const auto cls = ClassRegistry().GetClass(c.Alias);
    ASSERT_TRUE(cls.has_value());
    EXPECT_EQ(cls->ClassName, c.ClassName);
    EXPECT_NE(ClassRegistry().Create<TVPDFImageBlock>(c.Alias), nullptr);
  }
  // A builder made by alias builds like one made directly.
  const TPdfBitmap bitmap(3, 3, TPdfPixelFormat::pf1bit);
  EXPECT_EQ(
      ClassRegistry().Create<TVPDFImageBlock>("vpdfccitt4")->CreateImage(bitmap, false, -1, nullptr)->Data(),
      TVPDFCCITT4().CreateImage(bitmap, false, -1, nullptr)->Data());

  UnregisterPdfImageBuilders();
  for (const TCase& c : cases) EXPECT_FALSE(ClassRegistry().GetClass(c.Alias).has_value()) << c.Alias;
  RegisterPdfImageBuilders();
  EXPECT_TRUE(ClassRegistry().GetClass("VPDFJpeg").has_value());
}

TEST(PdfImageRegistry, RefusesUnknownAliasesConflictsAndWrongKinds) {
  TClassRegistry registry;
  registry.RegisterClassAlias(ClassOf<TVPDFBitmap>(), "Builder");
  registry.RegisterClassAlias(ClassOf<TOther>(), "Other");
  try {
    registry.RegisterClassAlias(ClassOf<TVPDFCCITT4>(), "builder");
    ADD_FAILURE() << "an alias was taken twice";
  } catch (const EPdfError& e) {
    EXPECT_STREQ(e.what(), "A class named builder already exists");
  }
  EXPECT_EQ(registry.FindClass("BUILDER").ClassName, TVPDFBitmap::ClassName());
  try {
    registry.FindClass("Missing");
    ADD_FAILURE() << "an unknown alias was found";
  } catch (const EPdfError& e) {
    EXPECT_STREQ(e.what(), "Class Missing not found");
  }
  EXPECT_THROW(registry.Create<TVPDFImageBlock>("Other"), EPdfError);
  EXPECT_NE(registry.Create<TOther>("Other"), nullptr);
  registry.UnRegisterClassAlias("Builder");
  registry.UnRegisterClassAlias("Builder");
  EXPECT_FALSE(registry.GetClass("Builder").has_value());
  // The base class builds nothing.
  EXPECT_EQ(TVPDFImageBlock().CreateImage(TPdfBitmap(1, 1, TPdfPixelFormat::pf24bit), false, -1, nullptr),
            nullptr);
}

}  // namespace
