#pragma once
// TXmlNode over a pugixml element (or document) node. The pugixml document
// must outlive every node object made from it.

#include <pugixml.hpp>

#include "foundation/xml_node.h"

class TPugiXmlNode final : public TXmlNode {
 public:
  explicit TPugiXmlNode(pugi::xml_node node) : FNode(node) {}

  int ChildCount() const override;
  std::unique_ptr<TXmlNode> Child(int index) const override;
  std::string Name() const override;
  std::unique_ptr<TXmlNode> FindChild(std::string_view name) const override;
  std::optional<std::string> Value() const override;
  void SetValue(std::string_view text) override;
  std::unique_ptr<TXmlNode> AddChild(std::string_view name) override;

  pugi::xml_node Node() const { return FNode; }

 private:
  pugi::xml_node FNode;
};
