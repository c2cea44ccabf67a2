#pragma once
// Helpers shared by the array and the dictionary.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "pdf/pdf_document.h"
#include "pdf/pdf_error.h"
#include "pdf/pdf_object.h"
#include "pdf/pdf_stream.h"

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

// True when `target` is `obj` or lies inside it, through the direct objects
// that arrays, dictionaries and stream dictionaries own. Placeholders end the
// walk: they only name an object. The walk keeps its own stack, so a deep
// tree cannot overflow the call stack here.
inline bool Holds(const TVPdfObject& obj, const TVPdfObject& target) {
  const bool container = dynamic_cast<const TVPdfArray*>(&obj) != nullptr ||
                         dynamic_cast<const TVPDFDictionary*>(&obj) != nullptr ||
                         dynamic_cast<const TVPdfStream*>(&obj) != nullptr;
  if (!container) return &obj == &target;  // the common case walks nothing
  std::vector<const TVPdfObject*> pending{&obj};
  while (!pending.empty()) {
    const TVPdfObject* next = pending.back();
    pending.pop_back();
    if (next == &target) return true;
    if (const auto* array = dynamic_cast<const TVPdfArray*>(next)) {
      for (int i = 0; i < array->Count(); ++i) pending.push_back(array->RawItem(i));
    } else if (const auto* dict = dynamic_cast<const TVPDFDictionary*>(next)) {
      for (int i = 0; i < dict->Count(); ++i) pending.push_back(dict->GetAtom(i).Value());
    } else if (const auto* stream = dynamic_cast<const TVPdfStream*>(next)) {
      pending.push_back(&stream->Dict());
    }
  }
  return false;
}

// Checks that `container` may take ownership of `obj`: a direct object or a
// numbered placeholder (other indirect objects belong to the document layer),
// and not one that holds the container. A refused object is released before
// the exception, never freed: whoever else holds it keeps it valid.
inline void CheckInsertion(std::unique_ptr<TVPdfObject>& obj, const TVPdfObject& container) {
  const bool indirect = obj->Kind != kPdfDirect && obj->Kind != kPdfPlaceholder;
  const bool unnumbered = obj->Kind == kPdfPlaceholder && obj->ID < 1;
  if (indirect || unnumbered) static_cast<void>(obj.release());
  PdfRequire(!indirect, "An indirect object must be added by reference.");
  PdfRequire(!unnumbered, "Indirect object has no object number.");
  if (Holds(*obj, container)) {
    static_cast<void>(obj.release());
    throw EPdfError("A container cannot hold itself.");
  }
}

}  // namespace pdf_internal
