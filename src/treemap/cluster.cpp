#include "treemap/cluster.h"

#include <filesystem>
#include <system_error>

#include "foundation/assertion.h"
#include "foundation/xml_persistence.h"
#include "graphics/bitmap32_io.h"

TCluster::TCluster(void* owner) : FOwner(owner) {}

void TCluster::Assign(const TCluster& source) {
  if (&source == this) return;
  FID = source.FID;
  FName = source.FName;
  FVisible = source.FVisible;
  FColor = source.FColor;
  FHostFlag = source.FHostFlag;
  FOwner = source.FOwner;
  FIcon = source.FIcon ? std::make_unique<TIcon>(*source.FIcon) : nullptr;
}

void TCluster::LoadSave(bool load, TXmlNode& node, TAttributeDescriptor*) {
  int childIndex = -1;
  XMLReadWriteInteger(load, node, childIndex, FID, "ID", 1);
  XMLReadWriteString(load, node, childIndex, FName, "Name", "");
  XMLReadWriteBoolean(load, node, childIndex, FVisible, "Visible", true);
  XMLReadWriteColor32(load, node, childIndex, FColor, "Color", 0xFFFFFFFFu);
  bool hasIcon = HasIcon();
  XMLReadWriteBoolean(load, node, childIndex, hasIcon, "Icon", false);
  if (load) {
    FIcon = hasIcon ? std::make_unique<TIcon>(std::string()) : nullptr;
  }
  if (FIcon) FIcon->LoadSave(load, node);
}

void TCluster::SetIconFile(const std::string& fileName) {
  FIcon.reset();
  std::error_code error;
  if (!std::filesystem::is_regular_file(fileName, error)) return;
  FIcon = std::make_unique<TIcon>(fileName);
}

void TCluster::SaveIconToFile(const std::string& fileName) const {
  if (FIcon) SaveBitmap32ToBmpFile(FIcon->Image(), fileName);
}

bool TCluster::ContainsNumber(double) const {
  Require(false, "Assertion failure");
  return false;
}
