#pragma once
// TCluster: a named category of attribute values with a colour, a
// visibility and an optional icon. Derived classes say which values belong
// to the category (TStringsTypeCluster in "treemap/strings_type_cluster.h").

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "graphics/color_types.h"
#include "treemap/cluster_icon.h"

class TAttributeDescriptor;
class TXmlNode;

class TCluster {
 public:
  // Owner: the object that creates the cluster; an identity only, not owned.
  explicit TCluster(void* owner);
  virtual ~TCluster() = default;
  TCluster(const TCluster&) = delete;
  TCluster& operator=(const TCluster&) = delete;

  // Copies ID, Name, Visible, Color, HostFlag, Owner and the icon (as a copy
  // of its own).
  virtual void Assign(const TCluster& source);
  // Stores or loads, as children of Node: "ID" (default 1), "Name" (""),
  // "Visible" (true), "Color" (FFFFFFFF), "Icon" (false) and, with an icon,
  // its "Bitmap". Attribute: the attribute whose values the cluster describes.
  virtual void LoadSave(bool load, TXmlNode& node, TAttributeDescriptor* attribute);
  virtual bool ContainsRecordValue(int32_t recordIndex, TAttributeDescriptor& attribute) const = 0;
  virtual bool ContainsIndexValue(int32_t index, TAttributeDescriptor& attribute) const = 0;
  virtual bool ContainsText(std::string_view text) const = 0;
  virtual void SetColor(TColor32 color) { FColor = color; }
  // Drops the icon, then loads the file as the new icon when it is an
  // existing file. A file that cannot be decoded raises EBitmapIOError and
  // leaves the cluster without an icon.
  virtual void SetIconFile(const std::string& fileName);
  // Writes the icon's image as a bitmap file; nothing without an icon.
  // Raises EBitmapIOError when the file cannot be written.
  virtual void SaveIconToFile(const std::string& fileName) const;
  virtual bool QueryFlag() const = 0;
  virtual std::string TypeName() const = 0;
  virtual std::string ValueText(int index) const = 0;
  // Whether the number belongs to the category; the base raises
  // EAssertionFailed ("Assertion failure").
  virtual bool ContainsNumber(double value) const;

  const std::string& Name() const { return FName; }
  void SetName(std::string name) { FName = std::move(name); }
  bool HasIcon() const { return FIcon != nullptr; }
  TIcon* Icon() const { return FIcon.get(); }
  TColor32 Color() const { return FColor; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible) { FVisible = visible; }
  int32_t ID() const { return FID; }
  void SetID(int32_t id) { FID = id; }
  void* Owner() const { return FOwner; }
  // A flag kept for the host (false at creation, copied by Assign).
  bool HostFlag() const { return FHostFlag; }
  void SetHostFlag(bool flag) { FHostFlag = flag; }

  // Values kept for the host, cleared at creation; not copied by Assign.
  int32_t HostInt1 = 0;
  int64_t HostInt64 = 0;
  int32_t HostInt2 = 0;
  std::array<uint8_t, 5> HostBytes{};

 private:
  std::string FName;
  std::unique_ptr<TIcon> FIcon;
  TColor32 FColor = 0;
  bool FVisible = true;
  int32_t FID = 0;
  void* FOwner = nullptr;
  bool FHostFlag = false;
};
