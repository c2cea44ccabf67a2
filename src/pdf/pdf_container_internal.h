#pragma once
// Helpers shared by the array and the dictionary.

#include <memory>
#include <stdexcept>
#include <string>

#include "pdf/pdf_document.h"
#include "pdf/pdf_error.h"
#include "pdf/pdf_object.h"

namespace pdf_internal {

// A placeholder resolved through `owner` (nullptr without one); any other
// object unchanged.
inline TVPdfObject* Resolve(TVPdfObject* item, const TVPdfObjectOwner* owner) {
  if (item == nullptr || item->Kind != kPdfPlaceholder) return item;
  return owner != nullptr ? owner->GetObject(item->ID) : nullptr;
}

inline void CheckIndex(int index, int count) {
  if (index < 0 || index >= count)
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

// A new placeholder standing for `indirect`, which must carry a number.
inline std::unique_ptr<TVPdfObject> MakeReference(const TVPdfObject& indirect) {
  PdfRequire(indirect.IsIndirect(), "A direct object must be added with its ownership.");
  return TVPdfEmptyObject::CreateRef(indirect.ID);
}

// A container may take ownership of direct objects and of placeholders only:
// other indirect objects belong to the document layer.
inline void CheckOwnable(const TVPdfObject& obj) {
  PdfRequire(obj.Kind == kPdfDirect || obj.Kind == kPdfPlaceholder,
             "An indirect object must be added by reference.");
  if (obj.Kind == kPdfPlaceholder)
    PdfRequire(obj.ID >= 1, "Indirect object has no object number.");
}

}  // namespace pdf_internal
