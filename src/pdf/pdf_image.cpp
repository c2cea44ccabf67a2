#include "pdf/pdf_image.h"

#include "pdf/pdf_error.h"
#include "pdf/pdf_image_internal.h"

namespace pdf_image_internal {

void CheckImageSize(const TPdfGraphic& graphic) {
  if (graphic.Width() <= 0 || graphic.Height() <= 0)
    throw EPdfError("Image has no pixels: width and height must be at least 1.");
}

void AddImageType(TVPDFDictionary& dict) {
  dict.AddName("Type", "XObject");
  dict.AddName("Subtype", "Image");
}

void AddMask(TVPDFDictionary& dict, bool isMask, int maskIndex, std::unique_ptr<TVPdfObject>&& mask) {
  if (maskIndex < 0 || isMask) return;
  dict.AddValue("Mask", std::move(mask));
}

}  // namespace pdf_image_internal

std::unique_ptr<TVPDFImage> TVPDFImageBlock::CreateImage(const TPdfGraphic&, bool, int,
                                                         std::unique_ptr<TVPdfObject>&&) const {
  return nullptr;
}

namespace {

struct TBuilderAlias {
  std::string_view Alias;
  TVPersistentClass (*Class)();
};

constexpr TBuilderAlias kBuilderAliases[] = {
    {"VPDFBitmap", &ClassOf<TVPDFBitmap>},   {"VPDFJpeg", &ClassOf<TVPDFDocJpegImage>},
    {"VPDFCCITT31", &ClassOf<TVPDFCCITT31>}, {"VPDFCCITT32", &ClassOf<TVPDFCCITT32>},
    {"VPDFCCITT4", &ClassOf<TVPDFCCITT4>},
};

}  // namespace

void RegisterPdfImageBuilders() {
  for (const TBuilderAlias& entry : kBuilderAliases)
    ClassRegistry().RegisterClassAlias(entry.Class(), entry.Alias);
}

void UnregisterPdfImageBuilders() {
  for (const TBuilderAlias& entry : kBuilderAliases) ClassRegistry().UnRegisterClassAlias(entry.Alias);
}
