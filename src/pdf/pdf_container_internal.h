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
#include "pdf/pdf_tree_internal.h"

namespace pdf_internal {

// A placeholder resolved through `owner` (nullptr without one); any other
// object unchanged.
inline TVPdfObject* Resolve(TVPdfObject* item, const TVPdfObjectOwner* owner) {
  if (item == nullptr || item->Kind() != kPdfPlaceholder) return item;
  return owner != nullptr ? owner->GetObject(item->ID()) : nullptr;
}

inline void CheckIndex(int index, int count) {
  if (index < 0 || index >= count)
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}

// A new placeholder standing for `indirect`, which must carry a number.
inline std::unique_ptr<TVPdfObject> MakeReference(const TVPdfObject& indirect) {
  PdfRequire(indirect.IsIndirect(), "A direct object must be added with its ownership.");
  return TVPdfEmptyObject::CreateRef(indirect.ID());
}

// True when `target` is `obj` or lies inside it, through the direct objects
// that arrays, dictionaries and stream dictionaries own. Placeholders end the
// walk: they only name an object. `target` is a container (the one about to
// take `obj`).
//
// Two walks answer it: up from `target` through its holders (is `obj` among
// them?) and down through the containers inside `obj` (is `target` there?).
// They take turns a step at a time and the first to finish answers, so the
// cost is the smaller of the depth of `target` and the number of containers
// in `obj`: adding a new item to the deepest level of a tree and adding a
// whole tree to a new root both take a step or two, and building a deep tree
// either way stays linear. Neither walk recurses.
inline bool Holds(const TVPdfObject& obj, const TVPdfObject& target) {
  if (&obj == &target) return true;
  if (!IsContainer(obj)) return false;  // the common case walks nothing
  const TVPdfObject* up = target.Holder();
  const TVPdfObject* down = &obj;
  // Containers found inside `obj` and not yet looked into; nothing is
  // allocated until one holds another.
  std::vector<const TVPdfObject*> pending;
  const auto visit = [&](const TVPdfObject* child) {
    if (child == &target) return true;
    if (IsContainer(*child)) pending.push_back(child);
    return false;
  };
  while (true) {
    if (up == nullptr) return false;  // `target` lies in a tree whose root is not `obj`
    if (up == &obj) return true;
    up = up->Holder();
    if (const auto* array = dynamic_cast<const TVPdfArray*>(down)) {
      for (int i = 0; i < array->Count(); ++i)
        if (visit(array->RawItem(i))) return true;
    } else if (const auto* dict = dynamic_cast<const TVPDFDictionary*>(down)) {
      for (int i = 0; i < dict->Count(); ++i)
        if (visit(dict->GetAtom(i).Value())) return true;
    } else if (const auto* stream = dynamic_cast<const TVPdfStream*>(down)) {
      if (visit(&stream->Dict())) return true;
    }
    if (pending.empty()) return false;  // everything inside `obj` was seen
    down = pending.back();
    pending.pop_back();
  }
}

// Checks that `container` may take ownership of `obj`: a direct object or a
// placeholder (other indirect objects belong to the document layer), not one
// that a container owns already, and not one that holds the container.
// Raises on a refusal; `obj` is only looked at.
inline void CheckInsertion(const TVPdfObject& obj, const TVPdfObject& container) {
  PdfRequire(obj.Kind() == kPdfDirect || obj.Kind() == kPdfPlaceholder,
             "An indirect object must be added by reference.");
  PdfRequire(obj.Holder() != &container, "The object is already held by this container.");
  PdfRequire(obj.Holder() == nullptr, "The object is already held by another container.");
  if (Holds(obj, container)) throw EPdfError("A container cannot hold itself.");
}

// Makes room for one more element, so that the push_back that follows cannot
// throw; growth stays geometric.
template <class T>
void ReserveOneMore(std::vector<T>& list) {
  if (list.size() == list.capacity()) list.reserve(list.empty() ? 4 : 2 * list.size());
}

}  // namespace pdf_internal
