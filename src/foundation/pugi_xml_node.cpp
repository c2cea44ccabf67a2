#include "foundation/pugi_xml_node.h"

#include "foundation/assertion.h"

const TPugiXmlNode::TChildIndex& TPugiXmlNode::Children() const {
  if (!FChildren) {
    FChildren.emplace();
    for (pugi::xml_node c = FNode.first_child(); c; c = c.next_sibling())
      if (c.type() == pugi::node_element) FChildren->Add(c);
  }
  return *FChildren;
}

int TPugiXmlNode::ChildCount() const { return static_cast<int>(Children().Elements.size()); }

std::unique_ptr<TXmlNode> TPugiXmlNode::Child(int index) const {
  const std::vector<pugi::xml_node>& elements = Children().Elements;
  Require(index >= 0 && static_cast<size_t>(index) < elements.size(), "XML child index out of range");
  return std::make_unique<TPugiXmlNode>(elements[static_cast<size_t>(index)]);
}

std::string TPugiXmlNode::Name() const { return FNode.name(); }

std::unique_ptr<TXmlNode> TPugiXmlNode::FindChild(std::string_view name) const {
  const auto& byName = Children().FirstByName;
  const auto at = byName.find(name);
  if (at == byName.end()) return nullptr;
  return std::make_unique<TPugiXmlNode>(at->second);
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
  if (FChildren) FChildren->Add(child);
  return std::make_unique<TPugiXmlNode>(child);
}
