#include "foundation/pugi_xml_node.h"

#include "foundation/assertion.h"

int TPugiXmlNode::ChildCount() const {
  int count = 0;
  for (pugi::xml_node c = FNode.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element) ++count;
  return count;
}

std::unique_ptr<TXmlNode> TPugiXmlNode::Child(int index) const {
  Require(index >= 0, "XML child index out of range");
  int i = 0;
  for (pugi::xml_node c = FNode.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    if (i++ == index) return std::make_unique<TPugiXmlNode>(c);
  }
  Require(false, "XML child index out of range");
  return nullptr;
}

std::string TPugiXmlNode::Name() const { return FNode.name(); }

std::unique_ptr<TXmlNode> TPugiXmlNode::FindChild(std::string_view name) const {
  for (pugi::xml_node c = FNode.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && name == c.name()) return std::make_unique<TPugiXmlNode>(c);
  return nullptr;
}

std::optional<std::string> TPugiXmlNode::Value() const {
  // The element's first text or CDATA child; none means Null.
  for (pugi::xml_node c = FNode.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) return std::string(c.value());
  return std::nullopt;
}

void TPugiXmlNode::SetValue(std::string_view text) {
  FNode.text().set(std::string(text).c_str());
}

std::unique_ptr<TXmlNode> TPugiXmlNode::AddChild(std::string_view name) {
  pugi::xml_node child = FNode.append_child(std::string(name).c_str());
  Require(static_cast<bool>(child), "XML node cannot hold a child element");
  return std::make_unique<TPugiXmlNode>(child);
}
