#include "pdf/pdf_object.h"

#include <algorithm>

#include "pdf/pdf_container_internal.h"
#include "pdf/pdf_tree_internal.h"

TVPdfArray::TVPdfArray(const TVPdfObjectOwner* owner) : FOwner(owner) {}

TVPdfArray::~TVPdfArray() { pdf_internal::FreeNested(*this); }

TVPdfObject* TVPdfArray::RawItem(int index) const {
  pdf_internal::CheckIndex(index, Count());
  return FItems[static_cast<std::size_t>(index)].get();
}

TVPdfObject* TVPdfArray::GetItem(int index) const {
  return pdf_internal::Resolve(RawItem(index), FOwner);
}

TVPdfObject* TVPdfArray::AddItem(std::unique_ptr<TVPdfObject> obj) {
  if (obj == nullptr) throw EPdfError("Array item creating error.");
  const auto held = std::find(FItems.begin(), FItems.end(), obj);
  if (held != FItems.end()) {
    // Already ours: keep the one entry, and do not own it twice.
    return obj.release();
  }
  pdf_internal::CheckInsertion(obj, *this);
  obj->FHolder = this;
  FItems.push_back(std::move(obj));
  return FItems.back().get();
}

void TVPdfArray::AddItem(const TVPdfObject& indirect) {
  FItems.push_back(pdf_internal::MakeReference(indirect));
  FItems.back()->FHolder = this;
}

TVPdfName* TVPdfArray::FindName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    auto* found = dynamic_cast<TVPdfName*>(GetItem(i));
    if (found != nullptr && found->Name() == name) return found;
  }
  return nullptr;
}

void TVPdfArray::WriteValue(TPdfBytes& out) const { pdf_internal::WriteTree(*this, out); }
