// The element and attribute names of a saved XML tree, for checking a fuzz
// dictionary against what the code writes.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include <pugixml.hpp>

namespace xml_names_detail {

// Name with each run of digits after an underscore (an index, as in
// "Key_12_R") written as one "0"; other digits ("Color32") stay.
inline std::string Shape(std::string_view name) {
  std::string shape;
  bool inIndex = false;
  for (size_t i = 0; i < name.size(); ++i) {
    const bool digit = name[i] >= '0' && name[i] <= '9';
    if (digit && inIndex) continue;
    inIndex = digit && i > 0 && name[i - 1] == '_';
    shape += inIndex ? '0' : name[i];
  }
  return shape;
}

inline void Collect(pugi::xml_node element, std::set<std::string>& names) {
  names.insert(Shape(element.name()));
  for (pugi::xml_attribute a : element.attributes()) names.insert(Shape(a.name()));
  for (pugi::xml_node child : element.children())
    if (child.type() == pugi::node_element) Collect(child, names);
}

}  // namespace xml_names_detail

// Every element and attribute name at and below Element, indexes written as
// "0" (so "Key_12_R" is listed as "Key_0_R").
inline std::set<std::string> XmlNames(pugi::xml_node Element) {
  std::set<std::string> names;
  xml_names_detail::Collect(Element, names);
  return names;
}
