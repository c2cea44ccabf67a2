#include "pdf/pdf_object.h"

#include "pdf/pdf_container_internal.h"
#include "pdf/pdf_tree_internal.h"

namespace {
constexpr std::string_view kAtomError = "Atom object creating error.";
}  // namespace

TVPDFDictionaryAtom::TVPDFDictionaryAtom(std::string_view key) : FKey(key) {}

void TVPDFDictionaryAtom::RequireValue(const TVPdfObject* value) {
  if (value == nullptr) throw EPdfError(std::string(kAtomError));
}

TVPDFDictionaryAtom::~TVPDFDictionaryAtom() = default;

TVPDFDictionary::TVPDFDictionary(const TVPdfObjectOwner* owner) : FOwner(owner) {}

TVPDFDictionary::~TVPDFDictionary() { pdf_internal::FreeNested(*this); }

TVPDFDictionaryAtom& TVPDFDictionary::GetAtom(int index) const {
  pdf_internal::CheckIndex(index, Count());
  return *FAtoms[static_cast<std::size_t>(index)];
}

int TVPDFDictionary::IndexOf(std::string_view key) const {
  for (std::size_t i = 0; i < FAtoms.size(); ++i)
    if (FAtoms[i]->Key().Name() == key) return static_cast<int>(i);
  return -1;
}

TVPdfObject* TVPDFDictionary::FindValue(std::string_view key) const {
  const int index = IndexOf(key);
  if (index < 0) return nullptr;
  return pdf_internal::Resolve(FAtoms[static_cast<std::size_t>(index)]->Value(), FOwner);
}

TVPdfNum* TVPDFDictionary::FindNumber(std::string_view key) const {
  return dynamic_cast<TVPdfNum*>(FindValue(key));
}

TVPdfArray* TVPDFDictionary::FindArray(std::string_view key) const {
  return dynamic_cast<TVPdfArray*>(FindValue(key));
}

TVPDFDictionary* TVPDFDictionary::FindDictionary(std::string_view key) const {
  return dynamic_cast<TVPDFDictionary*>(FindValue(key));
}

std::unique_ptr<TVPDFDictionaryAtom> TVPDFDictionary::Admit(std::string_view key, const TVPdfObject* value) {
  TVPDFDictionaryAtom::RequireValue(value);
  pdf_internal::CheckInsertion(*value, *this);
  std::unique_ptr<TVPDFDictionaryAtom> atom(new TVPDFDictionaryAtom(key));  // checks the key
  // A key set again takes the old entry's place in the list; a new one needs
  // room, made now so that Store cannot fail.
  if (IndexOf(key) < 0) pdf_internal::ReserveOneMore(FAtoms);
  return atom;
}

void TVPDFDictionary::Store(std::unique_ptr<TVPDFDictionaryAtom> atom, TVPdfObject* value) noexcept {
  const int old = IndexOf(atom->Key().Name());
  if (old >= 0) FAtoms.erase(FAtoms.begin() + old);
  value->FHolder = this;
  atom->FValue.reset(value);
  FAtoms.push_back(std::move(atom));
}

void TVPDFDictionary::AddValue(std::string_view key, const TVPdfObject& indirect) {
  auto atom = std::make_unique<TVPDFDictionaryAtom>(key, pdf_internal::MakeReference(indirect));
  atom->Value()->FHolder = this;
  // Room first: once the old entry is gone, nothing below can fail.
  if (IndexOf(key) < 0) pdf_internal::ReserveOneMore(FAtoms);
  RemoveKey(key);
  FAtoms.push_back(std::move(atom));
}

TVPdfNum* TVPDFDictionary::AddNumber(std::string_view key, std::int32_t value) {
  return Add(key, std::make_unique<TVPdfNum>(value));
}

TVPdfName* TVPDFDictionary::AddName(std::string_view key, std::string_view name) {
  return Add(key, std::make_unique<TVPdfName>(name));
}

TVPdfBoolean* TVPDFDictionary::AddBoolean(std::string_view key, bool value) {
  return Add(key, std::make_unique<TVPdfBoolean>(value));
}

void TVPDFDictionary::RemoveKey(std::string_view key) {
  const int index = IndexOf(key);
  if (index >= 0) FAtoms.erase(FAtoms.begin() + index);
}

void TVPDFDictionary::WriteValue(TPdfBytes& out) const { pdf_internal::WriteTree(*this, out); }
