#include "pdf/pdf_object.h"

#include <algorithm>

#include "pdf/pdf_container_internal.h"
#include "pdf/pdf_tree_internal.h"

namespace {
constexpr std::string_view kAtomError = "Atom object creating error.";
}  // namespace

TVPDFDictionaryAtom::TVPDFDictionaryAtom(std::string_view key, std::unique_ptr<TVPdfObject> value)
    : FKey(key), FValue(std::move(value)) {
  if (FValue == nullptr) throw EPdfError(std::string(kAtomError));
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

TVPdfObject* TVPDFDictionary::AddValue(std::string_view key, std::unique_ptr<TVPdfObject> value) {
  // Everything is checked before the old entry goes, so a failed call leaves
  // the dictionary as it was.
  if (value == nullptr) throw EPdfError(std::string(kAtomError));
  const int old = IndexOf(key);
  const auto held = std::find_if(FAtoms.begin(), FAtoms.end(),
                                 [&](const auto& atom) { return atom->Value() == value.get(); });
  if (held != FAtoms.end()) {
    // The object is ours already: never own it twice. Re-set under its own
    // key it just moves to the end, shown again as a new atom would be.
    static_cast<void>(value.release());
    PdfRequire(held - FAtoms.begin() == old, "The object is already held under another key.");
    std::rotate(held, held + 1, FAtoms.end());
    FAtoms.back()->Hidden = false;
    return FAtoms.back()->Value();
  }
  pdf_internal::CheckInsertion(value, *this);
  auto atom = std::make_unique<TVPDFDictionaryAtom>(key, std::move(value));
  atom->Value()->FHolder = this;
  if (old >= 0) FAtoms.erase(FAtoms.begin() + old);
  FAtoms.push_back(std::move(atom));
  return FAtoms.back()->Value();
}

void TVPDFDictionary::AddValue(std::string_view key, const TVPdfObject& indirect) {
  auto atom = std::make_unique<TVPDFDictionaryAtom>(key, pdf_internal::MakeReference(indirect));
  atom->Value()->FHolder = this;
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
