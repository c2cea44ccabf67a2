#include "pdf/pdf_object.h"

#include <algorithm>

#include "pdf/pdf_container_internal.h"

TVPdfArray::TVPdfArray(const TVPdfObjectOwner* owner) : FOwner(owner) {}

TVPdfArray::~TVPdfArray() = default;

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
  FItems.push_back(std::move(obj));
  return FItems.back().get();
}

void TVPdfArray::AddItem(const TVPdfObject& indirect) {
  FItems.push_back(pdf_internal::MakeReference(indirect));
}

TVPdfName* TVPdfArray::FindName(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    auto* found = dynamic_cast<TVPdfName*>(GetItem(i));
    if (found != nullptr && found->Name() == name) return found;
  }
  return nullptr;
}

void TVPdfArray::WriteValue(TPdfBytes& out) const {
  out.push_back('[');
  for (const auto& item : FItems) {
    item->SaveToStream(out);
    out.push_back(' ');
  }
  out.push_back(']');
}
