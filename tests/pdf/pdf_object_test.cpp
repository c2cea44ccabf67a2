#include "pdf/pdf_object.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <type_traits>
#include <utility>
#include <vector>

#include "jpeg_fixture.h"
#include "pdf/ccitt_fax.h"
#include "pdf/jpeg_image.h"
#include "pdf/pdf_bitmap.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_error.h"
#include "pdf/pdf_image.h"
#include "pdf/pdf_stream.h"
#include "pdf_image_test_util.h"

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
    TVPdfNumbering::MakeIndirect(obj, number);
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
  TVPdfNumbering::MakeIndirect(num, 3);
  EXPECT_EQ(num.Kind(), kPdfIndirect);
  EXPECT_EQ(num.Generation(), 0);
  EXPECT_EQ(Written(num), "3 0 R");
  TPdfBytes out;
  num.WriteValue(out);  // the definition body, as the document layer writes it
  EXPECT_EQ(PdfBytesView(out), "-7");
}

template <class T>
concept CanSetKind = requires(T& obj) { obj.Kind = kPdfIndirect; };
template <class T>
concept CanSetID = requires(T& obj) { obj.ID = 3; };
template <class T>
concept CanSetGeneration = requires(T& obj) { obj.Generation = 1; };

// Only the document layer numbers objects, and only with numbers a reference
// can carry, on objects no container holds directly.
TEST(PdfObjectTest, NumberingIsTheDocumentLayers) {
  static_assert(!CanSetKind<TVPdfNum> && !CanSetID<TVPdfNum> && !CanSetGeneration<TVPdfNum>);
  static_assert(!CanSetKind<TVPdfArray> && !CanSetID<TVPDFDictionary> && !CanSetGeneration<TVPdfStream>);

  TVPdfNum num(1);
  EXPECT_THROW(TVPdfNumbering::MakeIndirect(num, 0), EPdfAssertionFailed);
  EXPECT_THROW(TVPdfNumbering::MakeIndirect(num, -1), EPdfAssertionFailed);
  EXPECT_EQ(num.Kind(), kPdfDirect);
  EXPECT_EQ(num.ID(), -1);
  EXPECT_EQ(Written(num), "1");
  EXPECT_THROW(TVPdfEmptyObject::CreateRef(0), EPdfAssertionFailed);

  // An object inside a container would turn into an indirect object held
  // directly; a stream's own dictionary is such an object.
  TVPdfArray array;
  TVPdfNum* held = array.Add(std::make_unique<TVPdfNum>(2));
  EXPECT_THROW(TVPdfNumbering::MakeIndirect(*held, 5), EPdfAssertionFailed);
  TVPdfStream stream;
  EXPECT_THROW(TVPdfNumbering::MakeIndirect(stream.Dict(), 5), EPdfAssertionFailed);
  EXPECT_EQ(Written(array), "[2 ]");

  // A placeholder stands for a reference; it is no object to number.
  auto ref = TVPdfEmptyObject::CreateRef(4);
  EXPECT_THROW(TVPdfNumbering::MakeIndirect(*ref, 5), EPdfAssertionFailed);
  EXPECT_EQ(Written(*ref), "4 0 R");

  // A direct object cannot be added by reference.
  TVPDFDictionary dict;
  EXPECT_THROW(array.AddItem(num), EPdfAssertionFailed);
  EXPECT_THROW(dict.AddValue("Ref", num), EPdfAssertionFailed);
  EXPECT_EQ(array.Count(), 1);
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

TEST(PdfArrayTest, NullItemIsRefused) {
  TVPdfArray array;
  try {
    array.AddItem(std::unique_ptr<TVPdfObject>());
    FAIL() << "no exception";
  } catch (const EPdfError& e) {
    EXPECT_STREQ(e.what(), "Array item creating error.");
  }
  EXPECT_EQ(array.Count(), 0);
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
  EXPECT_EQ(array.RawItem(0)->Kind(), kPdfPlaceholder);

  // The placeholder keeps the number the object had when it was added.
  TVPdfNumbering::MakeIndirect(target, 8);
  EXPECT_EQ(Written(array), "[7 0 R 7 0 R ]");
}

TEST(PdfArrayTest, ResolvingWithoutOwnerGivesNull) {
  TVPdfName name("Target");
  TVPdfNumbering::MakeIndirect(name, 3);
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

// A reference to an ancestor is no loop: it is written as "n 0 R".
TEST(PdfContainerTest, ReferenceToAncestorIsNoLoop) {
  TVPDFDictionary page;
  TVPdfNumbering::MakeIndirect(page, 3);
  auto* kids = page.Add("Kids", std::make_unique<TVPdfArray>());
  kids->AddItem(page);
  EXPECT_EQ(Written(*kids), "[3 0 R ]");
}

// The message of a refusal, without the location an assertion adds.
std::string RefusalMessage(const std::exception& e) {
  if (const auto* failed = dynamic_cast<const EPdfAssertionFailed*>(&e)) return failed->Message();
  return e.what();
}

// An object offered to a container that must refuse it.
struct TOffer {
  // The caller's object.
  std::unique_ptr<TVPdfObject> Object;
  // The tree that receives it, when the object does not hold it itself.
  std::unique_ptr<TVPdfObject> Receiver;
  // The hand-over that must be refused.
  std::function<void(std::unique_ptr<TVPdfObject>&&)> Give;
  // The object belongs to a container already: `Object` wraps a borrowed
  // pointer, the very mistake the refusal guards against, and gives it back.
  bool Borrowed = false;
};

TOffer Offering(std::unique_ptr<TVPdfObject> object, std::unique_ptr<TVPdfObject> receiver = nullptr) {
  TOffer offer;
  offer.Object = std::move(object);
  offer.Receiver = std::move(receiver);
  return offer;
}

// An offer of something inside `receiver`, set by the case. The add calls
// take std::unique_ptr&&, so the only way to offer an object some container
// already owns (a host's mistake) is to wrap that borrowed pointer in a
// unique_ptr and release() it unfreed after the call.
TOffer Borrowing(std::unique_ptr<TVPdfObject> receiver) {
  TOffer offer = Offering(nullptr, std::move(receiver));
  offer.Borrowed = true;
  return offer;
}

const std::string kSelf = "A container cannot hold itself.";
const std::string kIndirect = "An indirect object must be added by reference.";
const std::string kHeldElsewhere = "The object is already held by another container.";
const std::string kHeldHere = "The object is already held by this container.";
const std::string kNulName = "A PDF name cannot contain a NUL byte.";

TVPdfArray& AsArray(TVPdfObject* obj) { return dynamic_cast<TVPdfArray&>(*obj); }
TVPDFDictionary& AsDict(TVPdfObject* obj) { return dynamic_cast<TVPDFDictionary&>(*obj); }

// A number the caller owns and has numbered as the document layer does.
std::unique_ptr<TVPdfObject> IndirectNumber() {
  auto num = std::make_unique<TVPdfNum>(1);
  TVPdfNumbering::MakeIndirect(*num, 4);
  return num;
}

const std::string kNoPixels = "Image has no pixels: width and height must be at least 1.";

// A colour-key array, the direct object an image's "Mask" entry may hold.
std::unique_ptr<TVPdfObject> ColourKey() {
  auto key = std::make_unique<TVPdfArray>();
  key->Add(std::make_unique<TVPdfNum>(0));
  key->Add(std::make_unique<TVPdfNum>(16));
  return key;
}

const TPdfBitmap& RgbPicture() {
  static const TPdfBitmap picture(2, 2, TPdfPixelFormat::pf24bit);
  return picture;
}

const TPdfBitmap& OneBitPicture() {
  static const TPdfBitmap picture(2, 2, TPdfPixelFormat::pf1bit);
  return picture;
}

const TPdfBitmap& EmptyPicture(TPdfPixelFormat format) {
  static const TPdfBitmap rgb(0, 3, TPdfPixelFormat::pf24bit);
  static const TPdfBitmap oneBit(3, 0, TPdfPixelFormat::pf1bit);
  return format == TPdfPixelFormat::pf1bit ? oneBit : rgb;
}

const TJpegImage& JpegPicture() {
  static const TJpegImage picture(MakeJpegFixture({}));
  return picture;
}

// The mask handed to `builder` for an image of `graphic` with mask index 0.
template <class TBuilder>
std::function<void(std::unique_ptr<TVPdfObject>&&)> MaskOf(const TPdfGraphic& graphic, bool isMask = false) {
  return [&graphic, isMask](std::unique_ptr<TVPdfObject>&& mask) {
    TBuilder().CreateImage(graphic, isMask, 0, std::move(mask));
  };
}

// The mask handed to a builder refusing `graphic`, or refusing the mask
// itself, which a container other than the image already holds.
template <class TBuilder>
TOffer RefusedImageMask(const TPdfGraphic& graphic, bool isMask = false) {
  TOffer o = Offering(ColourKey());
  o.Give = MaskOf<TBuilder>(graphic, isMask);
  return o;
}

template <class TBuilder>
TOffer HeldImageMask(const TPdfGraphic& graphic) {
  TOffer o = Borrowing(std::make_unique<TVPdfArray>());
  o.Object.reset(AsArray(o.Receiver.get()).Add(ColourKey()));
  o.Give = MaskOf<TBuilder>(graphic);
  return o;
}

// Every refusal of an object handed over with its ownership. The caller must
// still own the object afterwards and be able to use it, the receiving tree
// must be unchanged, and nothing may leak (LeakSanitizer in the sanitizer
// build).
TEST(PdfContainerTest, RefusedObjectStaysWithTheCaller) {
  using namespace std::string_literals;
  struct TCase {
    const char* Name;
    std::string Message;
    TOffer (*Build)();
  };
  const TCase cases[] = {
      {"array into itself", kSelf,
       [] {
         TOffer o = Offering(std::make_unique<TVPdfArray>());
         AsArray(o.Object.get()).Add(std::make_unique<TVPdfNum>(1));
         TVPdfArray* self = &AsArray(o.Object.get());
         o.Give = [self](std::unique_ptr<TVPdfObject>&& obj) { self->AddItem(std::move(obj)); };
         return o;
       }},
      {"array into the array it holds", kSelf,
       [] {
         TOffer o = Offering(std::make_unique<TVPdfArray>());
         auto* child = AsArray(o.Object.get()).Add(std::make_unique<TVPdfArray>());
         child->Add(std::make_unique<TVPdfName>("Inner"));
         o.Give = [child](std::unique_ptr<TVPdfObject>&& obj) { child->AddItem(std::move(obj)); };
         return o;
       }},
      {"dictionary into itself", kSelf,
       [] {
         TOffer o = Offering(std::make_unique<TVPDFDictionary>());
         TVPDFDictionary* self = &AsDict(o.Object.get());
         self->AddNumber("N", 1);
         o.Give = [self](std::unique_ptr<TVPdfObject>&& obj) { self->AddValue("Loop", std::move(obj)); };
         return o;
       }},
      {"dictionary into the array it holds", kSelf,
       [] {
         TOffer o = Offering(std::make_unique<TVPDFDictionary>());
         auto* child = AsDict(o.Object.get()).Add("A", std::make_unique<TVPdfArray>());
         o.Give = [child](std::unique_ptr<TVPdfObject>&& obj) { child->AddItem(std::move(obj)); };
         return o;
       }},
      {"array into its grandchild", kSelf,
       [] {
         TOffer o = Offering(std::make_unique<TVPdfArray>());
         auto* child = AsArray(o.Object.get()).Add(std::make_unique<TVPDFDictionary>());
         auto* grandchild = child->Add("Kids", std::make_unique<TVPDFDictionary>());
         o.Give = [grandchild](std::unique_ptr<TVPdfObject>&& obj) { grandchild->AddValue("Up", std::move(obj)); };
         return o;
       }},
      {"stream into its own dictionary", kSelf,
       [] {
         TOffer o = Offering(std::make_unique<TVPdfStream>());
         TVPDFDictionary* dict = &dynamic_cast<TVPdfStream&>(*o.Object).Dict();
         o.Give = [dict](std::unique_ptr<TVPdfObject>&& obj) { dict->AddValue("Loop", std::move(obj)); };
         return o;
       }},
      {"array holding a stream into the stream's filter list", kSelf,
       [] {
         TOffer o = Offering(std::make_unique<TVPdfArray>());
         auto* stream = AsArray(o.Object.get()).Add(std::make_unique<TVPdfStream>());
         TVPdfArray* filters = stream->Dict().FindArray("Filter");
         o.Give = [filters](std::unique_ptr<TVPdfObject>&& obj) { filters->AddItem(std::move(obj)); };
         return o;
       }},
      {"indirect number into an array", kIndirect,
       [] {
         TOffer o = Offering(IndirectNumber(), std::make_unique<TVPdfArray>());
         TVPdfArray* array = &AsArray(o.Receiver.get());
         o.Give = [array](std::unique_ptr<TVPdfObject>&& obj) { array->AddItem(std::move(obj)); };
         return o;
       }},
      {"indirect number over a dictionary entry", kIndirect,
       [] {
         TOffer o = Offering(IndirectNumber(), std::make_unique<TVPDFDictionary>());
         TVPDFDictionary* dict = &AsDict(o.Receiver.get());
         dict->AddNumber("Keep", 1);
         o.Give = [dict](std::unique_ptr<TVPdfObject>&& obj) { dict->AddValue("Keep", std::move(obj)); };
         return o;
       }},
      {"value under a key with a NUL byte", kNulName,
       [] {
         TOffer o = Offering(std::make_unique<TVPdfNum>(5), std::make_unique<TVPDFDictionary>());
         TVPDFDictionary* dict = &AsDict(o.Receiver.get());
         o.Give = [dict](std::unique_ptr<TVPdfObject>&& obj) { dict->AddValue("Bad\0Key"s, std::move(obj)); };
         return o;
       }},
      {"atom under a key with a NUL byte", kNulName,
       [] {
         TOffer o = Offering(std::make_unique<TVPdfNum>(5));
         o.Give = [](std::unique_ptr<TVPdfObject>&& obj) { TVPDFDictionaryAtom atom("Bad\0Key"s, std::move(obj)); };
         return o;
       }},
      {"item of another array", kHeldElsewhere,
       [] {
         TOffer o = Borrowing(std::make_unique<TVPdfArray>());
         o.Object.reset(AsArray(o.Receiver.get()).Add(std::make_unique<TVPdfName>("N")));
         auto target = std::make_shared<TVPdfArray>();
         o.Give = [target](std::unique_ptr<TVPdfObject>&& obj) { target->AddItem(std::move(obj)); };
         return o;
       }},
      {"a stream's dictionary into a dictionary", kHeldElsewhere,
       [] {
         TOffer o = Borrowing(std::make_unique<TVPdfStream>());
         o.Object.reset(&dynamic_cast<TVPdfStream&>(*o.Receiver).Dict());
         auto target = std::make_shared<TVPDFDictionary>();
         o.Give = [target](std::unique_ptr<TVPdfObject>&& obj) { target->AddValue("D", std::move(obj)); };
         return o;
       }},
      {"item into its own array again", kHeldHere,
       [] {
         TOffer o = Borrowing(std::make_unique<TVPdfArray>());
         TVPdfArray* array = &AsArray(o.Receiver.get());
         o.Object.reset(array->Add(std::make_unique<TVPdfNum>(5)));
         o.Give = [array](std::unique_ptr<TVPdfObject>&& obj) { array->AddItem(std::move(obj)); };
         return o;
       }},
      {"value under its own key again", kHeldHere,
       [] {
         TOffer o = Borrowing(std::make_unique<TVPDFDictionary>());
         TVPDFDictionary* dict = &AsDict(o.Receiver.get());
         o.Object.reset(dict->AddNumber("Width", 3));
         dict->AddNumber("Height", 4);
         o.Give = [dict](std::unique_ptr<TVPdfObject>&& obj) { dict->AddValue("Width", std::move(obj)); };
         return o;
       }},
      {"mask of a bitmap image with no pixels", kNoPixels,
       [] { return RefusedImageMask<TVPDFBitmap>(EmptyPicture(TPdfPixelFormat::pf24bit)); }},
      {"mask of a bitmap image of a JPEG", "Unsupported bitmap image format.",
       [] { return RefusedImageMask<TVPDFBitmap>(JpegPicture()); }},
      {"indirect mask of a bitmap image", kIndirect,
       [] {
         TOffer o = Offering(IndirectNumber());
         o.Give = MaskOf<TVPDFBitmap>(RgbPicture());
         return o;
       }},
      {"mask of a bitmap image held by an array", kHeldElsewhere,
       [] { return HeldImageMask<TVPDFBitmap>(RgbPicture()); }},
      {"mask of a JPEG image of a bitmap", "Unsupported jpeg image format.",
       [] { return RefusedImageMask<TVPDFDocJpegImage>(RgbPicture()); }},
      {"mask of a JPEG image mask", "A JPEG image cannot be an image mask.",
       [] { return RefusedImageMask<TVPDFDocJpegImage>(JpegPicture(), true); }},
      {"mask of a JPEG image held by an array", kHeldElsewhere,
       [] { return HeldImageMask<TVPDFDocJpegImage>(JpegPicture()); }},
      {"mask of a Group 3 image of 24 bits", "Incorrect image format.",
       [] { return RefusedImageMask<TVPDFCCITT31>(RgbPicture()); }},
      {"mask of a Group 3 two-dimensional image with no pixels", kNoPixels,
       [] { return RefusedImageMask<TVPDFCCITT32>(EmptyPicture(TPdfPixelFormat::pf1bit)); }},
      {"mask of a Group 4 image with no pixels", kNoPixels,
       [] { return RefusedImageMask<TVPDFCCITT4>(EmptyPicture(TPdfPixelFormat::pf1bit)); }},
      {"mask of a Group 4 image held by an array", kHeldElsewhere,
       [] { return HeldImageMask<TVPDFCCITT4>(OneBitPicture()); }},
      {"mask of a fax image of an unknown kind", "CCITT kind must be 31, 32 or 42.",
       [] {
         TOffer o = Offering(ColourKey());
         o.Give = [](std::unique_ptr<TVPdfObject>&& mask) {
           TVCCITTCompression encoder;
           CreateCCITTImage(encoder, OneBitPicture(), false, 0, std::move(mask), 33);
         };
         return o;
       }},
      {"value under another key of its dictionary", kHeldHere,
       [] {
         TOffer o = Borrowing(std::make_unique<TVPDFDictionary>());
         TVPDFDictionary* dict = &AsDict(o.Receiver.get());
         o.Object.reset(dict->AddNumber("Width", 3));
         o.Give = [dict](std::unique_ptr<TVPdfObject>&& obj) { dict->AddValue("Other", std::move(obj)); };
         return o;
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TOffer offer = c.Build();
    TVPdfObject* const offered = offer.Object.get();
    const TVPdfObject* const holder = offered->Holder();
    const TVPdfObject& tree = offer.Receiver != nullptr ? *offer.Receiver : *offer.Object;
    const std::string objectBefore = Written(*offered);
    const std::string treeBefore = Written(tree);
    try {
      offer.Give(std::move(offer.Object));
      ADD_FAILURE() << "accepted";
    } catch (const std::exception& e) {
      EXPECT_EQ(RefusalMessage(e), c.Message);
    }
    if (offer.Borrowed) {
      // The real owner keeps it: the wrapper must still hold it, untouched.
      EXPECT_EQ(offer.Object.get(), offered);
      static_cast<void>(offer.Object.release());
      EXPECT_EQ(offered->Holder(), holder);
      EXPECT_EQ(Written(tree), treeBefore);
      continue;
    }
    if (offer.Object == nullptr) {
      ADD_FAILURE() << "the caller lost the object";
      continue;
    }
    EXPECT_EQ(offer.Object.get(), offered);
    EXPECT_EQ(offered->Holder(), holder);
    EXPECT_EQ(Written(*offered), objectBefore);
    EXPECT_EQ(Written(tree), treeBefore);
    // Still the caller's to hand on: a direct object goes into a new array.
    if (offered->IsIndirect()) continue;
    TVPdfArray fresh;
    EXPECT_EQ(fresh.AddItem(std::move(offer.Object)), offered);
    EXPECT_EQ(Written(fresh), "[" + objectBefore + " ]");
  }
}

// The typed hand-overs keep a refused object in the caller's own pointer
// too, rather than in a converted copy that would free it.
TEST(PdfContainerTest, RefusedTypedObjectStaysInTheCallersPointer) {
  auto num = std::make_unique<TVPdfNum>(7);
  TVPdfNumbering::MakeIndirect(*num, 4);
  TVPdfArray array;
  TVPDFDictionary dict;
  EXPECT_THROW(array.Add(std::move(num)), EPdfAssertionFailed);
  EXPECT_THROW(array.AddItem(std::move(num)), EPdfAssertionFailed);
  EXPECT_THROW(dict.Add("N", std::move(num)), EPdfAssertionFailed);
  EXPECT_THROW(dict.AddValue("N", std::move(num)), EPdfAssertionFailed);
  ASSERT_NE(num, nullptr);
  EXPECT_EQ(num->Value, 7);

  auto root = std::make_unique<TVPDFDictionary>();
  TVPdfArray* kids = root->Add("Kids", std::make_unique<TVPdfArray>());
  EXPECT_THROW(kids->Add(std::move(root)), EPdfError);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(array.Add(std::move(root))->FindArray("Kids"), kids);
  EXPECT_EQ(Written(array), "[<<\r\n/Kids []\r\n>> ]");
}

// The image builders too keep a mask in the caller's typed pointer when they
// refuse the image or do not use the mask, and take it only into an image.
TEST(PdfContainerTest, ImageBuildersKeepAMaskTheImageDoesNotTake) {
  TVCCITTCompression encoder;
  using TBuild = std::function<std::unique_ptr<TVPDFImage>(const TPdfGraphic&, int,
                                                           std::unique_ptr<TVPdfEmptyObject>&&)>;
  const auto builder = [](const TVPDFImageBlock& block) -> TBuild {
    return [&block](const TPdfGraphic& graphic, int maskIndex, std::unique_ptr<TVPdfEmptyObject>&& mask) {
      return block.CreateImage(graphic, false, maskIndex, std::move(mask));
    };
  };
  const TVPDFBitmap bitmap;
  const TVPDFDocJpegImage jpeg;
  const TVPDFCCITT31 group3;
  const TVPDFCCITT32 group3TwoDim;
  const TVPDFCCITT4 group4;
  struct TCase {
    const char* Name;
    TBuild Build;
    const TPdfGraphic& Good;
    const TPdfGraphic& Refused;
  };
  const TCase cases[] = {
      {"bitmap", builder(bitmap), RgbPicture(), EmptyPicture(TPdfPixelFormat::pf24bit)},
      {"JPEG", builder(jpeg), JpegPicture(), RgbPicture()},
      {"Group 3", builder(group3), OneBitPicture(), RgbPicture()},
      {"Group 3 two-dimensional", builder(group3TwoDim), OneBitPicture(), EmptyPicture(TPdfPixelFormat::pf1bit)},
      {"Group 4", builder(group4), OneBitPicture(), RgbPicture()},
      {"CreateCCITTImage",
       [&encoder](const TPdfGraphic& graphic, int maskIndex, std::unique_ptr<TVPdfEmptyObject>&& mask) {
         return CreateCCITTImage(encoder, graphic, false, maskIndex, std::move(mask), 42);
       },
       OneBitPicture(), RgbPicture()},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto mask = TVPdfEmptyObject::CreateRef(3);
    const TVPdfEmptyObject* const given = mask.get();
    EXPECT_THROW(c.Build(c.Refused, 0, std::move(mask)), EPdfError);
    EXPECT_EQ(mask.get(), given);
    EXPECT_EQ(StoredValue(c.Build(c.Good, -1, std::move(mask))->Dict(), "Mask"), nullptr);
    EXPECT_EQ(mask.get(), given);
    const auto image = c.Build(c.Good, 0, std::move(mask));
    EXPECT_EQ(mask, nullptr);
    EXPECT_EQ(Written(*StoredValue(image->Dict(), "Mask")), "3 0 R");
  }
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
  EXPECT_THROW(TVPDFDictionaryAtom("Key", std::unique_ptr<TVPdfObject>()), EPdfError);
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
  EXPECT_EQ(dict.GetAtom(0).Value()->Kind(), kPdfPlaceholder);

  TVPDFDictionary ownerless;
  ownerless.AddValue("Mask", target);
  EXPECT_EQ(ownerless.FindValue("Mask"), nullptr);
}

}  // namespace
