#pragma once
// TXmlNode over a pugixml element (or document) node. The pugixml document
// must outlive every node object made from it.
//
// A node object lists its child elements on first use, so that counting,
// indexing and finding them by name do not walk the children each time and a
// load of thousands of keys stays fast. While the object is in use, its
// element's children must change only through it (AddChild).

#include <map>
#include <optional>
#include <string>
#include <vector>

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
  struct TChildIndex {
    std::vector<pugi::xml_node> Elements;                           // in document order
    std::map<std::string, pugi::xml_node, std::less<>> FirstByName;  // the first element of each name
    void Add(pugi::xml_node child) {
      Elements.push_back(child);
      FirstByName.try_emplace(child.name(), child);
    }
  };
  const TChildIndex& Children() const;

  pugi::xml_node FNode;
  mutable std::optional<TChildIndex> FChildren;  // listed on first use
};
