#include "pdf/pdf_object.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <type_traits>
#include <utility>
#include <vector>

#include "pdf/pdf_document.h"
#include "pdf/pdf_error.h"
#include "pdf/pdf_stream.h"

namespace {

std::string Written(const TVPdfObject& obj) {
  TPdfBytes out;
  obj.SaveToStream(out);
  return std::string(PdfBytesView(out));
}

// An owner that resolves a fixed set of objects by number.
class TMapOwner : public TVPdfObjectOwner {
 public:
  TVPdfObject* GetObject(std::int32_t number) const override {
    const auto it = FObjects.find(number);
    return it == FObjects.end() ? nullptr : it->second;
  }
  void Put(TVPdfObject& obj, std::int32_t number) {
    obj.Kind = kPdfIndirect;
    obj.ID = number;
    FObjects[number] = &obj;
  }

 private:
  std::map<std::int32_t, TVPdfObject*> FObjects;
};

TEST(PdfObjectTest, ScalarsWriteExactBytes) {
  struct TCase {
    const char* Label;
    std::unique_ptr<TVPdfObject> Obj;
    std::string Want;
  };
  TCase cases[] = {
      {"true", std::make_unique<TVPdfBoolean>(true), "true"},
      {"false", std::make_unique<TVPdfBoolean>(false), "false"},
      {"zero", std::make_unique<TVPdfNum>(0), "0"},
      {"negative", std::make_unique<TVPdfNum>(-7), "-7"},
      {"positive", std::make_unique<TVPdfNum>(1200), "1200"},
      {"int max", std::make_unique<TVPdfNum>(INT32_MAX), "2147483647"},
      {"int min", std::make_unique<TVPdfNum>(INT32_MIN), "-2147483648"},
      {"name", std::make_unique<TVPdfName>("XObject"), "/XObject"},
      {"empty name", std::make_unique<TVPdfName>(""), "/"},
      {"name with space and #", std::make_unique<TVPdfName>("A B#"), "/A#20B#23"},
      {"binary", std::make_unique<TVPdfBinary>("<00FF>"), "<00FF>"},
      {"base object", std::make_unique<TVPdfObject>(), ""},
      {"empty object", std::make_unique<TVPdfEmptyObject>(), ""},
      {"placeholder", TVPdfEmptyObject::CreateRef(12), "12 0 R"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    EXPECT_EQ(Written(*c.Obj), c.Want);
    EXPECT_EQ(Written(*c.Obj), c.Want) << "a second write must give the same bytes";
  }
}

TEST(PdfObjectTest, IndirectObjectIsWrittenAsReference) {
  TVPdfNum num(-7);
  EXPECT_EQ(Written(num), "-7");
  num.Kind = kPdfIndirect;
  num.ID = 3;
  EXPECT_EQ(Written(num), "3 0 R");
  TPdfBytes out;
  num.WriteValue(out);  // the definition body, as the document layer writes it
  EXPECT_EQ(PdfBytesView(out), "-7");
}

TEST(PdfObjectTest, IndirectObjectWithoutNumberCannotBeReferenced) {
  TVPdfNum num(1);
  num.Kind = kPdfIndirect;  // ID still -1
  TPdfBytes out;
  EXPECT_THROW(num.SaveToStream(out), EPdfAssertionFailed);
  EXPECT_TRUE(out.empty());
  num.ID = 0;
  EXPECT_THROW(num.SaveToStream(out), EPdfAssertionFailed);
  EXPECT_THROW(TVPdfEmptyObject::CreateRef(0), EPdfAssertionFailed);

  TVPdfArray array;
  EXPECT_THROW(array.AddItem(num), EPdfAssertionFailed);
  TVPDFDictionary dict;
  EXPECT_THROW(dict.AddValue("Ref", num), EPdfAssertionFailed);
  EXPECT_EQ(array.Count(), 0);
  EXPECT_EQ(dict.Count(), 0);
}

TEST(PdfObjectTest, NameEscapes) {
  struct TCase {
    std::string Name, Want;
  };
  const TCase cases[] = {
      {"DeviceRGB", "DeviceRGB"},
      {"!~", "!~"},                                        // both ends of the regular range
      {"#%()/<>[]{}", "#23#25#28#29#2F#3C#3E#5B#5D#7B#7D"},  // the eleven delimiters
      {"a\tb\r\n", "a#09b#0D#0A"},
      {"\x7F\x80\xE9\xFF", "#7F#80#E9#FF"},  // above 0x7E, upper-case hex
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(PdfEscapeName(c.Name), c.Want);
  }
}

TEST(PdfObjectTest, NameWithNulIsRefused) {
  using namespace std::string_literals;
  EXPECT_THROW(TVPdfName("a\0b"s), EPdfError);
  TVPdfName name("ok");
  EXPECT_THROW(name.SetName("\0"s), EPdfError);
  EXPECT_EQ(name.Name(), "ok");
  TVPDFDictionary dict;
  EXPECT_THROW(dict.AddNumber("Bad\0Key"s, 1), EPdfError);
  EXPECT_EQ(dict.Count(), 0);
}

TEST(PdfArrayTest, WritesItemsEachFollowedBySpace) {
  TVPdfArray empty;
  EXPECT_EQ(Written(empty), "[]");

  TVPdfArray indexed;
  indexed.Add(std::make_unique<TVPdfName>("Indexed"));
  indexed.Add(std::make_unique<TVPdfName>("DeviceRGB"));
  indexed.Add(std::make_unique<TVPdfNum>(255));
  EXPECT_EQ(Written(indexed), "[/Indexed /DeviceRGB 255 ]");

  TVPdfArray nested;
  nested.Add(std::make_unique<TVPdfArray>());
  auto* inner = nested.Add(std::make_unique<TVPdfArray>());
  inner->Add(std::make_unique<TVPdfBoolean>(true));
  auto* dict = nested.Add(std::make_unique<TVPDFDictionary>());
  dict->AddNumber("K", -1);
  EXPECT_EQ(Written(nested), "[[] [true ] <<\r\n/K -1\r\n>> ]");
}

TEST(PdfArrayTest, SameDirectObjectIsKeptOnce) {
  TVPdfArray array;
  auto* num = array.Add(std::make_unique<TVPdfNum>(5));
  // Handing over the same object again must neither add it nor free it.
  EXPECT_EQ(array.Add(std::unique_ptr<TVPdfNum>(num)), num);
  EXPECT_EQ(array.Count(), 1);
  EXPECT_EQ(Written(array), "[5 ]");
  EXPECT_THROW(array.AddItem(std::unique_ptr<TVPdfObject>()), EPdfError);
}

TEST(PdfArrayTest, IndirectObjectsBecomePlaceholdersResolvedThroughOwner) {
  TMapOwner owner;
  TVPdfNum target(42);
  owner.Put(target, 7);

  TVPdfArray array(&owner);
  array.AddItem(target);
  array.AddItem(target);  // twice: two references
  EXPECT_EQ(array.Count(), 2);
  EXPECT_EQ(Written(array), "[7 0 R 7 0 R ]");
  EXPECT_EQ(array.GetItem(0), &target);
  EXPECT_NE(array.RawItem(0), &target);
  EXPECT_EQ(array.RawItem(0)->Kind, kPdfPlaceholder);

  // The placeholder keeps the number the object had when it was added.
  target.ID = 8;
  EXPECT_EQ(Written(array), "[7 0 R 7 0 R ]");
}

TEST(PdfArrayTest, ResolvingWithoutOwnerGivesNull) {
  TVPdfName name("Target");
  name.Kind = kPdfIndirect;
  name.ID = 3;
  TVPdfArray array;
  array.AddItem(name);
  EXPECT_EQ(array.GetItem(0), nullptr);
  EXPECT_EQ(array.FindName("Target"), nullptr);
  EXPECT_EQ(Written(array), "[3 0 R ]");
}

TEST(PdfArrayTest, FindNameAndIndexErrors) {
  TMapOwner owner;
  TVPdfName indirectName("DCTDecode");
  owner.Put(indirectName, 2);
  TVPdfArray array(&owner);
  array.Add(std::make_unique<TVPdfNum>(1));
  auto* flate = array.Add(std::make_unique<TVPdfName>("FlateDecode"));
  array.AddItem(indirectName);

  EXPECT_EQ(array.FindName("FlateDecode"), flate);
  EXPECT_EQ(array.FindName("DCTDecode"), &indirectName);
  EXPECT_EQ(array.FindName("flatedecode"), nullptr);  // case-sensitive
  EXPECT_THROW(array.GetItem(3), std::out_of_range);
  EXPECT_THROW(array.GetItem(-1), std::out_of_range);
}

TEST(PdfArrayTest, IndirectObjectCannotBeHandedOver) {
  TVPdfArray array;
  // A placeholder may be handed over: it stands for the reference itself.
  array.AddItem(TVPdfEmptyObject::CreateRef(4));
  EXPECT_EQ(Written(array), "[4 0 R ]");
  TVPdfNum direct(2);
  EXPECT_THROW(array.AddItem(direct), EPdfAssertionFailed);  // direct objects need ownership
}

// The document layer owns its indirect objects. Handing one over with
// ownership is refused, and the refusal must not free it: the document
// writes it afterwards (a use after free under the sanitizer otherwise).
TEST(PdfContainerTest, RefusedIndirectObjectStaysWithItsOwner) {
  auto indirect = std::make_unique<TVPdfNum>(1);  // held by the document layer
  indirect->Kind = kPdfIndirect;
  indirect->ID = 4;
  auto unnumbered = std::make_unique<TVPdfEmptyObject>();  // a placeholder without a number
  unnumbered->Kind = kPdfPlaceholder;

  for (TVPdfObject* obj : {static_cast<TVPdfObject*>(indirect.get()), static_cast<TVPdfObject*>(unnumbered.get())}) {
    SCOPED_TRACE(obj->ID);
    TVPdfArray array;
    EXPECT_THROW(array.AddItem(std::unique_ptr<TVPdfObject>(obj)), EPdfAssertionFailed);
    EXPECT_EQ(array.Count(), 0);
    TVPDFDictionary dict;
    dict.AddNumber("Keep", 1);
    EXPECT_THROW(dict.AddValue("Keep", std::unique_ptr<TVPdfObject>(obj)), EPdfAssertionFailed);
    EXPECT_EQ(Written(dict), "<<\r\n/Keep 1\r\n>>");
  }
  EXPECT_EQ(Written(*indirect), "4 0 R");
  TPdfBytes out;
  indirect->WriteValue(out);
  EXPECT_EQ(PdfBytesView(out), "1");
}

// An object that a container owns already would be freed twice by a second
// one. Handing it over again is refused, and it stays where it was.
TEST(PdfContainerTest, ObjectHeldByAnotherContainerStaysThere) {
  TVPdfArray first;
  TVPdfObject* item = first.Add(std::make_unique<TVPdfName>("N"));
  TVPdfStream stream;
  for (TVPdfObject* obj : {item, static_cast<TVPdfObject*>(&stream.Dict())}) {
    TVPdfArray array;
    EXPECT_THROW(array.AddItem(std::unique_ptr<TVPdfObject>(obj)), EPdfAssertionFailed);
    EXPECT_EQ(array.Count(), 0);
    TVPDFDictionary dict;
    EXPECT_THROW(dict.AddValue("N", std::unique_ptr<TVPdfObject>(obj)), EPdfAssertionFailed);
    EXPECT_EQ(dict.Count(), 0);
  }
  EXPECT_EQ(item->Holder(), &first);
  EXPECT_EQ(Written(first), "[/N ]");
  EXPECT_EQ(stream.Dict().Holder(), &stream);
}

// A container inside itself would be written without end. Each insertion that
// would close such a loop is refused; the object stays with its owner.
TEST(PdfContainerTest, ContainerCannotHoldItself) {
  struct TCase {
    const char* Name;
    // Builds the tree (owned by `root`) and returns the container that
    // receives the insertion and the object offered to it.
    std::pair<TVPdfObject*, TVPdfObject*> (*Build)(std::unique_ptr<TVPdfObject>& root);
  };
  const TCase cases[] = {
      {"array into itself",
       [](std::unique_ptr<TVPdfObject>& root) {
         root = std::make_unique<TVPdfArray>();
         return std::pair<TVPdfObject*, TVPdfObject*>{root.get(), root.get()};
       }},
      {"dictionary into itself",
       [](std::unique_ptr<TVPdfObject>& root) {
         root = std::make_unique<TVPDFDictionary>();
         return std::pair<TVPdfObject*, TVPdfObject*>{root.get(), root.get()};
       }},
      {"array into its grandchild",
       [](std::unique_ptr<TVPdfObject>& root) {
         auto array = std::make_unique<TVPdfArray>();
         auto* child = array->Add(std::make_unique<TVPDFDictionary>());
         auto* grandchild = child->Add("Kids", std::make_unique<TVPdfArray>());
         root = std::move(array);
         return std::pair<TVPdfObject*, TVPdfObject*>{grandchild, root.get()};
       }},
      {"dictionary into an array it holds",
       [](std::unique_ptr<TVPdfObject>& root) {
         auto dict = std::make_unique<TVPDFDictionary>();
         auto* child = dict->Add("A", std::make_unique<TVPdfArray>());
         root = std::move(dict);
         return std::pair<TVPdfObject*, TVPdfObject*>{child, root.get()};
       }},
      {"stream into its own dictionary",
       [](std::unique_ptr<TVPdfObject>& root) {
         auto stream = std::make_unique<TVPdfStream>();
         TVPdfObject* dict = &stream->Dict();
         root = std::move(stream);
         return std::pair<TVPdfObject*, TVPdfObject*>{dict, root.get()};
       }},
      {"array holding a stream into the stream's filter list",
       [](std::unique_ptr<TVPdfObject>& root) {
         auto array = std::make_unique<TVPdfArray>();
         auto* stream = array->Add(std::make_unique<TVPdfStream>());
         root = std::move(array);
         return std::pair<TVPdfObject*, TVPdfObject*>{stream->Dict().FindArray("Filter"), root.get()};
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TVPdfObject> root;
    const auto [container, offered] = c.Build(root);
    const std::string before = Written(*root);
    try {
      if (auto* array = dynamic_cast<TVPdfArray*>(container))
        array->AddItem(std::unique_ptr<TVPdfObject>(offered));
      else
        dynamic_cast<TVPDFDictionary&>(*container).AddValue("Loop", std::unique_ptr<TVPdfObject>(offered));
      ADD_FAILURE() << "accepted";
    } catch (const EPdfError& e) {
      EXPECT_STREQ(e.what(), "A container cannot hold itself.");
    }
    EXPECT_EQ(Written(*root), before);
  }

  // A reference to an ancestor is no loop: it is written as "n 0 R".
  TVPDFDictionary page;
  page.Kind = kPdfIndirect;
  page.ID = 3;
  auto* kids = page.Add("Kids", std::make_unique<TVPdfArray>());
  kids->AddItem(page);
  EXPECT_EQ(Written(*kids), "[3 0 R ]");
}

// A million levels of arrays and dictionaries, with a stream every thousand
// levels, built from the root down or from the innermost level up: writing
// and freeing them must not recurse on the depth (a recursive walk overflows
// the stack long before: at about 10^5 levels in a release build, 10^4 under
// AddressSanitizer), and building them must stay linear. The two ways of
// building are two tests, so that they can run side by side.
void CheckDeepNesting(bool topDown) {
  constexpr int kDepth = 1000000;
  enum TLevel { lvArray, lvDictionary, lvStream };
  const auto levelAt = [](int depth) {
    return depth % 1000 == 999 ? lvStream : depth % 2 == 0 ? lvArray : lvDictionary;
  };
  const auto make = [](TLevel level) -> std::unique_ptr<TVPdfObject> {
    if (level == lvArray) return std::make_unique<TVPdfArray>();
    if (level == lvDictionary) return std::make_unique<TVPDFDictionary>();
    return std::make_unique<TVPdfStream>();
  };
  // Hands `child` to `parent` (a stream keeps it in its dictionary).
  const auto attach = [](TVPdfObject& parent, TLevel level, std::unique_ptr<TVPdfObject> child) {
    if (level == lvArray) return static_cast<TVPdfArray&>(parent).AddItem(std::move(child));
    if (level == lvDictionary) return static_cast<TVPDFDictionary&>(parent).AddValue("K", std::move(child));
    return static_cast<TVPdfStream&>(parent).Dict().AddValue("K", std::move(child));
  };
  std::unique_ptr<TVPdfObject> root;
  if (topDown) {
    root = make(levelAt(0));
    TVPdfObject* tip = root.get();
    for (int depth = 1; depth < kDepth; ++depth) tip = attach(*tip, levelAt(depth - 1), make(levelAt(depth)));
  } else {
    root = make(levelAt(kDepth - 1));
    for (int depth = kDepth - 2; depth >= 0; --depth) {
      auto parent = make(levelAt(depth));
      attach(*parent, levelAt(depth), std::move(root));
      root = std::move(parent);
    }
  }

  // The text of each level around its child, and of the innermost level.
  struct TLevelText {
    std::string Before, After, Alone;
  };
  const std::string streamDict = "<<\r\n/Length 0\r\n/Filter []\r\n";
  const TLevelText texts[] = {
      {"[", " ]", "[]"},
      {"<<\r\n/K ", "\r\n>>", "<<\r\n>>"},
      {streamDict + "/K ", "\r\n>>\r\nstream\r\n\nendstream", streamDict + ">>\r\nstream\r\n\nendstream"},
  };
  std::string expected;
  for (int depth = 0; depth < kDepth - 1; ++depth) expected += texts[levelAt(depth)].Before;
  expected += texts[levelAt(kDepth - 1)].Alone;
  for (int depth = kDepth - 2; depth >= 0; --depth) expected += texts[levelAt(depth)].After;
  TPdfBytes out;
  root->WriteValue(out);
  // Not EXPECT_EQ: a failure would print megabytes.
  EXPECT_EQ(out.size(), expected.size());
  EXPECT_TRUE(PdfBytesView(out) == expected);
  root.reset();
}

TEST(PdfContainerTest, DeepNestingBuiltTopDownIsWrittenAndFreed) { CheckDeepNesting(true); }

TEST(PdfContainerTest, DeepNestingBuiltBottomUpIsWrittenAndFreed) { CheckDeepNesting(false); }

template <class T>
concept CanAddNumber = requires(TVPDFDictionary& dict, T value) { dict.AddNumber("N", value); };

// 3.9 would be written as 3, and NaN, infinity or 1e300 are undefined when
// converted: floating values must not compile.
TEST(PdfContainerTest, NumbersTakeNoFloatingValues) {
  static_assert(!std::is_constructible_v<TVPdfNum, double>);
  static_assert(!std::is_constructible_v<TVPdfNum, float>);
  static_assert(!std::is_constructible_v<TVPdfNum, long double>);
  static_assert(!CanAddNumber<double>);
  static_assert(!CanAddNumber<float>);
  // Every integer type still picks the one integer overload.
  static_assert(std::is_constructible_v<TVPdfNum, int>);
  static_assert(std::is_constructible_v<TVPdfNum, short>);
  static_assert(std::is_constructible_v<TVPdfNum, unsigned char>);
  static_assert(std::is_constructible_v<TVPdfNum, long long>);
  static_assert(CanAddNumber<long>);
  static_assert(CanAddNumber<std::size_t>);
  static_assert(CanAddNumber<bool>);
  TVPDFDictionary dict;
  EXPECT_EQ(dict.AddNumber("N", std::int16_t{-3})->Value, -3);
}

TEST(PdfDictionaryTest, WritesAtomsInOrderWithCrLf) {
  TVPDFDictionary empty;
  EXPECT_EQ(Written(empty), "<<\r\n>>");

  TVPDFDictionary dict;
  dict.AddName("Type", "XObject");
  dict.AddNumber("Width", 10);
  EXPECT_EQ(Written(dict), "<<\r\n/Type /XObject\r\n/Width 10\r\n>>");

  auto* inner = dict.Add("Inner", std::make_unique<TVPDFDictionary>());
  inner->Add("A", std::make_unique<TVPdfArray>());
  EXPECT_EQ(Written(dict), "<<\r\n/Type /XObject\r\n/Width 10\r\n/Inner <<\r\n/A []\r\n>>\r\n>>");
}

TEST(PdfDictionaryTest, ResetKeyMovesToEndAndHiddenAtomsAreSkipped) {
  TVPDFDictionary dict;
  dict.AddNumber("Length", 0);
  dict.AddName("Filter", "X");
  dict.AddNumber("Length", 12);
  EXPECT_EQ(dict.Count(), 2);
  EXPECT_EQ(Written(dict), "<<\r\n/Filter /X\r\n/Length 12\r\n>>");
  EXPECT_EQ(dict.FindNumber("Length")->Value, 12);
  EXPECT_EQ(dict.FindArray("Length"), nullptr);  // wrong type

  dict.GetAtom(0).Hidden = true;
  EXPECT_EQ(Written(dict), "<<\r\n/Length 12\r\n>>");
  EXPECT_NE(dict.FindValue("Filter"), nullptr);  // hidden, not removed

  dict.RemoveKey("Filter");
  dict.RemoveKey("Missing");
  EXPECT_EQ(dict.Count(), 1);
  EXPECT_EQ(dict.FindValue("Filter"), nullptr);
  EXPECT_EQ(dict.FindValue("length"), nullptr);  // case-sensitive
  EXPECT_THROW(dict.GetAtom(1), std::out_of_range);
}

TEST(PdfDictionaryTest, MissingValueLeavesExistingEntry) {
  TVPDFDictionary dict;
  dict.AddNumber("Width", 3);
  try {
    dict.AddValue("Width", std::unique_ptr<TVPdfObject>());
    FAIL() << "no exception";
  } catch (const EPdfError& e) {
    EXPECT_STREQ(e.what(), "Atom object creating error.");
  }
  ASSERT_NE(dict.FindNumber("Width"), nullptr);
  EXPECT_EQ(dict.FindNumber("Width")->Value, 3);
  EXPECT_THROW(TVPDFDictionaryAtom("Key", nullptr), EPdfError);
}

TEST(PdfDictionaryTest, StoringHeldObjectAgainDoesNotFreeIt) {
  TVPDFDictionary dict;
  auto* width = dict.AddNumber("Width", 3);
  dict.AddNumber("Height", 4);
  // Re-set under the same key: kept alive, moved to the end.
  EXPECT_EQ(dict.Add("Width", std::unique_ptr<TVPdfNum>(width)), width);
  EXPECT_EQ(Written(dict), "<<\r\n/Height 4\r\n/Width 3\r\n>>");
  // Under another key it would be owned twice.
  EXPECT_THROW(dict.Add("Other", std::unique_ptr<TVPdfNum>(width)), EPdfAssertionFailed);
  EXPECT_EQ(Written(dict), "<<\r\n/Height 4\r\n/Width 3\r\n>>");
}

TEST(PdfDictionaryTest, IndirectValuesAreReferences) {
  TMapOwner owner;
  TVPDFDictionary target;
  owner.Put(target, 9);
  TVPdfArray arrayTarget;
  owner.Put(arrayTarget, 10);

  TVPDFDictionary dict(&owner);
  dict.AddValue("Mask", target);
  dict.AddValue("Decode", arrayTarget);
  EXPECT_EQ(Written(dict), "<<\r\n/Mask 9 0 R\r\n/Decode 10 0 R\r\n>>");
  EXPECT_EQ(dict.FindValue("Mask"), &target);
  EXPECT_EQ(dict.FindDictionary("Mask"), &target);
  EXPECT_EQ(dict.FindArray("Decode"), &arrayTarget);
  EXPECT_EQ(dict.GetAtom(0).Value()->Kind, kPdfPlaceholder);

  TVPDFDictionary ownerless;
  ownerless.AddValue("Mask", target);
  EXPECT_EQ(ownerless.FindValue("Mask"), nullptr);
}

}  // namespace
