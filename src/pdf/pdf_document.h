#pragma once
// What the writer needs from the document layer that owns and numbers the
// indirect objects. The layer itself (file layout, numbering policy, the
// encryption dictionary) lives outside this library.

#include <array>
#include <cstdint>

class TVPdfObject;

// The document layer's hold on the numbering of objects: Kind and ID change
// only here, so that no object inside a container turns indirect behind the
// container's back (a container holds indirect objects by reference only).
class TVPdfNumbering {
 public:
  // Makes `obj` indirect with object number `number`, or gives an indirect
  // object a new number (placeholders made earlier keep the old one); the
  // generation stays 0. Raises EPdfAssertionFailed for a number below 1, a
  // placeholder, or an object that a container holds.
  static void MakeIndirect(TVPdfObject& obj, std::int32_t number);
};

// Resolves reference placeholders: the object with `number`, or nullptr.
class TVPdfObjectOwner {
 public:
  virtual ~TVPdfObjectOwner() = default;
  virtual TVPdfObject* GetObject(std::int32_t number) const = 0;
};

// The file key of the standard security handler: 16 bytes, of which 40-bit
// encryption uses the first 5.
using TPdfFileKey = std::array<std::uint8_t, 16>;

struct TVPdfSecuritySettings {
  bool EncryptStreams = false;  // encrypt stream bodies with RC4
  bool Use128 = false;          // 128-bit object keys; false means 40-bit
};

// The document as seen by a stream when it is written.
class TVPdfDocument {
 public:
  virtual ~TVPdfDocument() = default;
  virtual const TPdfFileKey& FileKey() const = 0;
  virtual TVPdfSecuritySettings SecuritySettings() const = 0;
};
