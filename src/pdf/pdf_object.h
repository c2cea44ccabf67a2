#pragma once
// The PDF object model: booleans, integers, names, arrays, dictionaries and raw
// byte objects, each written in PDF syntax by WriteValue/SaveToStream.
//
// Direct and indirect objects. An object with Kind 0 is direct and is written
// in place. Any other Kind makes it indirect: wherever it is used it is written
// as the reference "ID Generation R". The document layer (pdf_document.h) owns
// indirect objects, numbers them and writes their definitions; it alone sets
// Kind and ID, through TVPdfNumbering. Everything else only reads them.
//
// Ownership. A container owns its direct objects (std::unique_ptr). It never
// holds an indirect object itself: adding one stores a new placeholder
// (TVPdfEmptyObject with Kind 2) carrying the object's number at the time it
// was added; GetItem/FindValue resolve placeholders through the container's
// owner, and give nullptr when it has none.
//
// Handing over. AddItem, AddValue and their typed forms Add take the caller's
// std::unique_ptr by rvalue reference and move from it only once every check
// has passed. A refused object raises and stays with the caller, untouched, to
// be used, handed elsewhere or freed. Refusals: a null object ("... creating
// error.", EPdfError); a dictionary key with a NUL byte (EPdfError); an
// indirect object other than a placeholder, an object that a container holds
// already, the receiving one included (EPdfAssertionFailed); a container that
// would hold itself, directly or through the containers inside it (EPdfError
// "A container cannot hold itself."). Placeholders form no such loop: a
// reference to an ancestor is valid PDF.
//
// Writing never changes an object (a stream only refreshes its "Length").
//
// Depth. Writing and freeing walk nested arrays, dictionaries and stream
// dictionaries with a stack of their own, so a structure of any depth is
// written and freed without deep recursion (memory is the only bound). Their
// WriteValue is final: the walk writes nested containers itself and would
// pass an override by.

#include <concepts>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pdf/pdf_bytes.h"

class TVPdfObjectOwner;
class TVPdfNumbering;
class TVPdfArray;
class TVPDFDictionary;
class TVPdfStream;
namespace pdf_internal {
struct TTreeAccess;
}

// Values of TVPdfObject::Kind.
inline constexpr std::uint8_t kPdfDirect = 0;
inline constexpr std::uint8_t kPdfIndirect = 1;
inline constexpr std::uint8_t kPdfPlaceholder = 2;

class TVPdfObject {
 public:
  TVPdfObject() = default;
  virtual ~TVPdfObject() = default;
  TVPdfObject(const TVPdfObject&) = delete;
  TVPdfObject& operator=(const TVPdfObject&) = delete;

  // 0 = direct; any other value = indirect; 2 = reference placeholder.
  std::uint8_t Kind() const { return FKind; }
  // The object number; -1 until the document layer assigns one (numbers
  // start at 1).
  std::int32_t ID() const { return FID; }
  // Always 0: the writer keeps every object at generation 0, which the
  // per-object encryption keys rely on.
  std::int32_t Generation() const { return FGeneration; }

  bool IsIndirect() const { return FKind != kPdfDirect; }

  // Appends the object's direct syntax. The base object writes nothing.
  virtual void WriteValue(TPdfBytes& out) const;

  // Direct: WriteValue. Indirect: the reference "ID Generation R".
  // An indirect object without a number (ID < 1) raises EPdfAssertionFailed.
  void SaveToStream(TPdfBytes& out) const;

  // The array, dictionary or stream that owns this object; nullptr while
  // none does.
  const TVPdfObject* Holder() const { return FHolder; }

 private:
  friend class TVPdfArray;
  friend class TVPDFDictionary;
  friend class TVPdfStream;
  friend class TVPdfEmptyObject;
  friend class TVPdfNumbering;
  std::uint8_t FKind = kPdfDirect;
  std::int32_t FID = -1;
  std::int32_t FGeneration = 0;
  const TVPdfObject* FHolder = nullptr;
};

// A placeholder for a reference (CreateRef) or an empty direct object, which
// writes nothing. All fields start at 0.
class TVPdfEmptyObject : public TVPdfObject {
 public:
  TVPdfEmptyObject();
  // A placeholder for object `number` (Kind 2); number must be at least 1.
  static std::unique_ptr<TVPdfEmptyObject> CreateRef(std::int32_t number);
};

class TVPdfBoolean : public TVPdfObject {
 public:
  explicit TVPdfBoolean(bool value) : Value(value) {}
  bool Value;
  void WriteValue(TPdfBytes& out) const override;  // "true" / "false"
};

class TVPdfNum : public TVPdfObject {
 public:
  explicit TVPdfNum(std::int32_t value) : Value(value) {}
  // An integer object cannot take a floating value: NaN, infinities and
  // values out of range would be undefined, and 3.9 would silently become 3.
  template <std::floating_point F>
  explicit TVPdfNum(F) = delete;
  std::int32_t Value;
  void WriteValue(TPdfBytes& out) const override;  // decimal integer
};

// A name, held unescaped (without the "/"). A NUL byte cannot occur in a
// PDF name and is refused with EPdfError.
class TVPdfName : public TVPdfObject {
 public:
  explicit TVPdfName(std::string_view name);
  const std::string& Name() const { return FName; }
  void SetName(std::string_view name);
  void WriteValue(TPdfBytes& out) const override;  // "/" + PdfEscapeName

 private:
  std::string FName;
};

// Raw bytes, written unchanged (e.g. a hexadecimal string "<...>").
class TVPdfBinary : public TVPdfObject {
 public:
  TVPdfBinary() = default;
  explicit TVPdfBinary(std::string_view bytes);
  TPdfBytes Data;
  void WriteValue(TPdfBytes& out) const override;
};

class TVPdfArray : public TVPdfObject {
 public:
  // `owner` resolves placeholders; it is not owned and may be nullptr.
  explicit TVPdfArray(const TVPdfObjectOwner* owner = nullptr);
  ~TVPdfArray() override;

  const TVPdfObjectOwner* Owner() const { return FOwner; }
  int Count() const { return static_cast<int>(FItems.size()); }

  // The item at `index`, a placeholder resolved through the owner (nullptr
  // without one). An index outside 0..Count-1 raises std::out_of_range.
  TVPdfObject* GetItem(int index) const;
  // The item as stored (placeholders unresolved).
  TVPdfObject* RawItem(int index) const;

  // Adds a direct object, which the array then owns, or a placeholder
  // (Kind 2), which it owns as well, and returns it. `obj` is moved from only
  // when the array keeps it; on a refusal it stays the caller's. Refused: a
  // null object (EPdfError "Array item creating error."); any other indirect
  // object, which is added by reference, and an object some container holds
  // already, this array included (EPdfAssertionFailed); a container holding
  // this array (EPdfError "A container cannot hold itself.").
  template <std::derived_from<TVPdfObject> T>
  T* Add(std::unique_ptr<T>&& obj) {
    Admit(obj.get());
    T* stored = obj.release();
    Store(stored);  // cannot fail: Admit made room
    return stored;
  }
  template <std::derived_from<TVPdfObject> T>
  TVPdfObject* AddItem(std::unique_ptr<T>&& obj) {
    return Add(std::move(obj));
  }
  // Adds a reference to an indirect object (a new placeholder carrying its
  // current ID; added twice gives two placeholders). The object must be
  // indirect with an ID of at least 1, else EPdfAssertionFailed.
  void AddItem(const TVPdfObject& indirect);

  // The first item (resolved as by GetItem) that is a name equal to `name`
  // (case-sensitive), or nullptr.
  TVPdfName* FindName(std::string_view name) const;

  // "[", each item's SaveToStream followed by one space, "]".
  void WriteValue(TPdfBytes& out) const final;

 private:
  friend struct pdf_internal::TTreeAccess;
  // Every check of Add, then room for one more item; raises on a refusal.
  void Admit(const TVPdfObject* obj);
  // Takes `obj`, admitted just before.
  void Store(TVPdfObject* obj) noexcept;
  const TVPdfObjectOwner* FOwner;
  std::vector<std::unique_ptr<TVPdfObject>> FItems;
};

// One dictionary entry: it owns its key and its value. A hidden atom is kept
// but not written.
class TVPDFDictionaryAtom {
 public:
  // A key with a NUL byte or a null value raises EPdfError (the latter "Atom
  // object creating error."); `value` is moved from only when the atom is
  // built.
  template <std::derived_from<TVPdfObject> T>
  TVPDFDictionaryAtom(std::string_view key, std::unique_ptr<T>&& value) : TVPDFDictionaryAtom(key) {
    RequireValue(value.get());
    FValue = std::move(value);
  }
  ~TVPDFDictionaryAtom();
  TVPDFDictionaryAtom(const TVPDFDictionaryAtom&) = delete;
  TVPDFDictionaryAtom& operator=(const TVPDFDictionaryAtom&) = delete;

  const TVPdfName& Key() const { return FKey; }
  // The value as stored (a placeholder is not resolved).
  TVPdfObject* Value() const { return FValue.get(); }
  bool Hidden = false;

 private:
  friend struct pdf_internal::TTreeAccess;
  friend class TVPDFDictionary;
  // An atom whose value its dictionary sets once it may take it.
  explicit TVPDFDictionaryAtom(std::string_view key);
  static void RequireValue(const TVPdfObject* value);
  TVPdfName FKey;
  std::unique_ptr<TVPdfObject> FValue;
};

class TVPDFDictionary : public TVPdfObject {
 public:
  // `owner` resolves placeholders; it is not owned and may be nullptr.
  explicit TVPDFDictionary(const TVPdfObjectOwner* owner = nullptr);
  ~TVPDFDictionary() override;

  const TVPdfObjectOwner* Owner() const { return FOwner; }
  int Count() const { return static_cast<int>(FAtoms.size()); }
  // Raises std::out_of_range outside 0..Count-1.
  TVPDFDictionaryAtom& GetAtom(int index) const;

  // The value of the first atom with `key` (case-sensitive), a placeholder
  // resolved through the owner (nullptr without one); nullptr when absent.
  TVPdfObject* FindValue(std::string_view key) const;
  // FindValue as a number or an array; nullptr when absent or of another type.
  TVPdfNum* FindNumber(std::string_view key) const;
  TVPdfArray* FindArray(std::string_view key) const;
  TVPDFDictionary* FindDictionary(std::string_view key) const;

  // Sets `key` to a direct object (owned) or a placeholder, replacing and
  // freeing any earlier entry; the key moves to the end. Returns the stored
  // value. `value` is moved from only when the dictionary keeps it; on a
  // refusal it stays the caller's and the dictionary is unchanged. Refused: a
  // null value (EPdfError "Atom object creating error."), a key with a NUL
  // byte (EPdfError); any other indirect object, which is set by reference,
  // and an object some container holds already, this dictionary included
  // (EPdfAssertionFailed); a container holding this dictionary (EPdfError "A
  // container cannot hold itself.").
  template <std::derived_from<TVPdfObject> T>
  T* Add(std::string_view key, std::unique_ptr<T>&& value) {
    std::unique_ptr<TVPDFDictionaryAtom> atom = Admit(key, value.get());
    T* stored = value.release();
    Store(std::move(atom), stored);  // cannot fail: Admit made room
    return stored;
  }
  template <std::derived_from<TVPdfObject> T>
  TVPdfObject* AddValue(std::string_view key, std::unique_ptr<T>&& value) {
    return Add(key, std::move(value));
  }
  // Sets `key` to a reference to an indirect object (a new placeholder with
  // its current ID, which must be at least 1).
  void AddValue(std::string_view key, const TVPdfObject& indirect);
  TVPdfNum* AddNumber(std::string_view key, std::int32_t value);
  // No floating values, as for TVPdfNum.
  template <std::floating_point F>
  TVPdfNum* AddNumber(std::string_view key, F value) = delete;
  TVPdfName* AddName(std::string_view key, std::string_view name);
  TVPdfBoolean* AddBoolean(std::string_view key, bool value);

  // Removes and frees the first atom with `key`; nothing when absent.
  void RemoveKey(std::string_view key);

  // "<<" CR LF, then "key value" CR LF for every atom not hidden, then ">>".
  void WriteValue(TPdfBytes& out) const final;

 private:
  friend struct pdf_internal::TTreeAccess;
  int IndexOf(std::string_view key) const;
  // Every check of Add, then room for one more atom; returns the new atom,
  // still without its value. Raises on a refusal.
  std::unique_ptr<TVPDFDictionaryAtom> Admit(std::string_view key, const TVPdfObject* value);
  // Replaces any entry under the atom's key by `atom` holding `value`,
  // admitted just before.
  void Store(std::unique_ptr<TVPDFDictionaryAtom> atom, TVPdfObject* value) noexcept;
  const TVPdfObjectOwner* FOwner;
  std::vector<std::unique_ptr<TVPDFDictionaryAtom>> FAtoms;
};

// Escapes a name's bytes: 0x21..0x7E except the delimiters # % ( ) / < > [ ] { }
// are copied, every other byte becomes "#" and two upper-case hex digits.
std::string PdfEscapeName(std::string_view name);
