#pragma once
// A pugixml document with one element to save into or parse, for tests.

#include <sstream>
#include <string>

#include <pugixml.hpp>

#include "foundation/pugi_xml_node.h"

class TXmlFixture {
 public:
  TPugiXmlNode Empty() { return TPugiXmlNode(FDoc.append_child("E")); }
  TPugiXmlNode Parse(const char* xml) {
    FDoc.load_string(xml);
    return TPugiXmlNode(FDoc.document_element());
  }
  std::string Text() const {
    std::ostringstream out;
    FDoc.document_element().print(out, "", pugi::format_raw);
    return out.str();
  }

 private:
  pugi::xml_document FDoc;
};
