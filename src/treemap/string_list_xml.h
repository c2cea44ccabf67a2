#pragma once
// A string list as the children of an XML element.

class TAttributeDescriptor;
class TDravolinHashedStringList;
class TXmlNode;

// Save: one child "String" per string, in order. For a non-text attribute the
// attribute writes each text (TAttributeDescriptor::XMLWriteValueText);
// otherwise it is written as plain text.
// Load: the list is cleared, then the text of every child of Node, whatever
// its name, is appended; for a non-text attribute the text is converted from
// its stored form to the user's locale (XMLValueTextToUserText).
void StringsToFromXML(TDravolinHashedStringList& strings, bool load, TXmlNode& node,
                      TAttributeDescriptor* attribute);
