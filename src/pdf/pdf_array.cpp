#include "pdf/pdf_object.h"

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

void TVPdfArray::Admit(const TVPdfObject* obj) {
  if (obj == nullptr) throw EPdfError("Array item creating error.");
  pdf_internal::CheckInsertion(*obj, *this);
  pdf_internal::ReserveOneMore(FItems);
}

void TVPdfArray::Store(TVPdfObject* obj) noexcept {
  obj->FHolder = this;
  FItems.emplace_back(obj);
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
