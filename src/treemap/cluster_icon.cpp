#include "treemap/cluster_icon.h"

#include "foundation/xml_persistence.h"
#include "graphics/bitmap32_io.h"

namespace {

TBitmap32 LoadIconImage(const std::string& fileName) {
  if (fileName.empty()) return {};
  if (ImageFileTypeFromName(fileName) == TImageFileType::iftPng)
    return LoadBitmap32FromPng(ReadImageFileBytes(fileName));
  return LoadBitmap32FromFile(fileName);
}

}  // namespace

TIcon::TIcon(const std::string& fileName)
    : FImage(std::make_unique<TBitmap32>(LoadIconImage(fileName))), FWorkingCopy(std::make_unique<TBitmap32>()) {
  RenewWorkingCopy();
}

TIcon::TIcon(const TIcon& source)
    : DrawState(source.DrawState),
      FImage(std::make_unique<TBitmap32>(*source.FImage)),
      FWorkingCopy(std::make_unique<TBitmap32>(*source.FWorkingCopy)),
      FWorkingFilter(source.FWorkingFilter) {}

void TIcon::LoadSave(bool load, TXmlNode& node) {
  int childIndex = -1;
  XMLReadWriteBitmap32(load, node, childIndex, FImage, "Bitmap");
  if (!load) return;
  if (!FImage) FImage = std::make_unique<TBitmap32>();
  RenewWorkingCopy();
}

void TIcon::SetImage(const TBitmap32& image) {
  *FImage = image;
  RenewWorkingCopy();
}

void TIcon::RenewWorkingCopy() {
  *FWorkingCopy = *FImage;
  FWorkingCopy->SetDrawMode(TDrawMode::dmBlend);
  FWorkingFilter = TStretchFilter::sfDraft;
  DrawState.Reset();
}
