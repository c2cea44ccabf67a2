#pragma once
// The XML element interface the persistence helpers work through. The host
// owns the document; a node object is a handle to one element of it.
//
// Children are counted and indexed over element children only (text,
// comments and processing instructions are not positions). A lookup that
// finds nothing returns nullptr; nothing here creates a node except AddChild.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

class TXmlNode {
 public:
  virtual ~TXmlNode() = default;

  virtual int ChildCount() const = 0;
  // The child element at 0 <= Index < ChildCount (raises EAssertionFailed otherwise).
  virtual std::unique_ptr<TXmlNode> Child(int index) const = 0;
  // The element name; names compare exactly (case-sensitive).
  virtual std::string Name() const = 0;
  // The first child element named Name, or nullptr.
  virtual std::unique_ptr<TXmlNode> FindChild(std::string_view name) const = 0;
  // The element's text; nullopt (Null) for an element without text.
  virtual std::optional<std::string> Value() const = 0;
  virtual void SetValue(std::string_view text) = 0;
  // Appends a new child element after the last child and returns it.
  virtual std::unique_ptr<TXmlNode> AddChild(std::string_view name) = 0;

  // The text of the first child named Name; Null when there is no such child
  // or it has no text.
  std::optional<std::string> ChildValue(std::string_view name) const {
    const auto child = FindChild(name);
    return child ? child->Value() : std::nullopt;
  }
};
