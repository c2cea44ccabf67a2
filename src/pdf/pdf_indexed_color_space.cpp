// IndexedColorSpace: the [/Indexed /DeviceRGB 255 <lookup> ] array of an
// 8-bit bitmap, with a lookup string that follows its image's encryption.
#include "pdf/pdf_image.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "pdf/pdf_error.h"

namespace {

constexpr int kLookupEntries = 256;
constexpr char kHexDigits[] = "0123456789ABCDEF";

using TLookupBytes = std::array<uint8_t, 3 * kLookupEntries>;

// "<", "RRGGBB " per entry, ">": 1 + 256 * 7 + 1 = 1794 bytes.
void WriteLookupText(const TLookupBytes& bytes, TPdfBytes& out) {
  out.reserve(out.size() + 2 + 7 * kLookupEntries);
  out.push_back('<');
  for (int entry = 0; entry < kLookupEntries; ++entry) {
    for (int i = 0; i < 3; ++i) {
      const uint8_t b = bytes[static_cast<std::size_t>(3 * entry + i)];
      out.push_back(static_cast<uint8_t>(kHexDigits[b >> 4]));
      out.push_back(static_cast<uint8_t>(kHexDigits[b & 0x0F]));
    }
    out.push_back(' ');
  }
  out.push_back('>');
}

// The lookup string. Data holds its plain text. A string inside an encrypted
// object must itself be encrypted with that object's key, or readers decrypt
// it into a garbled palette; so when the image it belongs to is written for a
// document that encrypts, the 768 table bytes are encrypted (a fresh RC4
// schedule under the image's object key) and written as hex in the same
// layout. The pointer back to the image stays valid while the colour space
// stays in that image's dictionary, which owns it.
class TIndexedLookup final : public TVPdfBinary {
 public:
  TIndexedLookup(const TLookupBytes& bytes, const TVPdfStream* image) : FBytes(bytes), FImage(image) {
    WriteLookupText(FBytes, Data);
  }

  void WriteValue(TPdfBytes& out) const override {
    const TVPdfDocument* document = FImage != nullptr ? FImage->Document() : nullptr;
    if (document == nullptr || !document->SecuritySettings().EncryptStreams) {
      TVPdfBinary::WriteValue(out);
      return;
    }
    TPdfBytes encrypted(FBytes.begin(), FBytes.end());
    EncryptIfNeeded(document, encrypted, FImage->ID());
    TLookupBytes bytes;
    std::copy(encrypted.begin(), encrypted.end(), bytes.begin());
    WriteLookupText(bytes, out);
  }

 private:
  TLookupBytes FBytes;
  const TVPdfStream* FImage;
};

}  // namespace

std::unique_ptr<TVPdfArray> IndexedColorSpace(const TPdfBitmap& bitmap, const TVPdfStream* image) {
  if (bitmap.PixelFormat() != TPdfPixelFormat::pf8bit) throw EPdfError("Not supported pixel format.");
  const std::vector<TPdfPaletteEntry>& palette = bitmap.Palette();
  if (palette.empty()) throw EPdfError("Palette error.");

  TLookupBytes bytes{};  // entries beyond the palette stay black
  for (std::size_t i = 0; i < palette.size() && i < kLookupEntries; ++i) {
    bytes[3 * i] = palette[i].Red;
    bytes[3 * i + 1] = palette[i].Green;
    bytes[3 * i + 2] = palette[i].Blue;
  }

  auto space = std::make_unique<TVPdfArray>();
  space->Add(std::make_unique<TVPdfName>("Indexed"));
  space->Add(std::make_unique<TVPdfName>("DeviceRGB"));
  space->Add(std::make_unique<TVPdfNum>(kLookupEntries - 1));
  space->Add(std::make_unique<TIndexedLookup>(bytes, image));
  return space;
}
