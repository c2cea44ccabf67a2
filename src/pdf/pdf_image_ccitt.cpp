// The CCITT builders: a 1-bit bitmap coded as Group 3 or Group 4 fax data.
#include "pdf/pdf_image.h"

#include "pdf/ccitt_fax.h"
#include "pdf/pdf_error.h"
#include "pdf/pdf_image_internal.h"

using namespace pdf_image_internal;

namespace {

struct TCCITTKind {
  int Kind;
  TVCCITTMode Mode;
  int K;  // the DecodeParms "K" value
  // Whether the data ends with an end-of-block code. Group 3 data ends after
  // the last row; a decoder told (by the default EndOfBlock true) to expect
  // the code there reads past the data and damages the last row.
  bool EndOfBlock;
};

constexpr TCCITTKind kCCITTKinds[] = {
    {31, TVCCITTMode::Group3OneDim, 0, false},
    {32, TVCCITTMode::Group3TwoDim, 1, false},
    {42, TVCCITTMode::Group4, -1, true},
};

const TCCITTKind& FindKind(int kind) {
  for (const TCCITTKind& entry : kCCITTKinds)
    if (entry.Kind == kind) return entry;
  PdfRequire(false, "CCITT kind must be 31, 32 or 42.");
  return kCCITTKinds[0];  // not reached
}

// The encoder codes 0 bits as black. When palette entry 0 is the brighter
// colour, the bits are flipped first so that the image renders as it looks.
TPdfBitmap DarkAsZeroCopy(const TPdfBitmap& bitmap) {
  TPdfBitmap copy = bitmap;
  if (Luma1000(bitmap.PaletteEntry(0)) <= Luma1000(bitmap.PaletteEntry(1))) return copy;
  for (int y = 0; y < copy.Height(); ++y) {
    uint8_t* row = copy.ScanLine(y);
    for (std::size_t i = 0; i < copy.RowBytes(); ++i) row[i] = static_cast<uint8_t>(~row[i]);
  }
  copy.SetPalette({bitmap.PaletteEntry(1), bitmap.PaletteEntry(0)});
  return copy;
}

// Points the encoder at a body for one call and restores its output after,
// so it never keeps a pointer into the image.
class TEncoderOutput {
 public:
  TEncoderOutput(TVCCITTCompression& encoder, TPdfBytes& body)
      : FEncoder(encoder), FPrevious(encoder.Output()) {
    FEncoder.SetOutput(&body);
  }
  ~TEncoderOutput() { FEncoder.SetOutput(FPrevious); }
  TEncoderOutput(const TEncoderOutput&) = delete;
  TEncoderOutput& operator=(const TEncoderOutput&) = delete;

 private:
  TVCCITTCompression& FEncoder;
  std::vector<uint8_t>* FPrevious;
};

std::unique_ptr<TVPDFImage> BuildWithNewEncoder(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                                std::unique_ptr<TVPdfObject>&& mask, int kind) {
  TVCCITTCompression encoder;
  return CreateCCITTImage(encoder, graphic, isMask, maskIndex, std::move(mask), kind);
}

}  // namespace

std::unique_ptr<TVPDFImage> CreateCCITTImage(TVCCITTCompression& encoder, const TPdfGraphic& graphic,
                                             bool isMask, int maskIndex, std::unique_ptr<TVPdfObject>&& mask,
                                             int kind) {
  const TCCITTKind& mode = FindKind(kind);
  const auto* bitmap = dynamic_cast<const TPdfBitmap*>(&graphic);
  if (bitmap == nullptr || bitmap->PixelFormat() != TPdfPixelFormat::pf1bit)
    throw EPdfError("Incorrect image format.");
  CheckImageSize(*bitmap);

  auto image = std::make_unique<TVPDFImage>(nullptr, true);
  const TPdfBitmap copy = DarkAsZeroCopy(*bitmap);
  {
    const TEncoderOutput output(encoder, image->Data());
    encoder.SetMode(mode.Mode);
    encoder.Compress(copy);
  }

  TVPDFDictionary& dict = image->Dict();
  AddImageType(dict);
  if (!isMask) dict.AddName("ColorSpace", "DeviceGray");
  dict.AddNumber("BitsPerComponent", 1);
  dict.AddNumber("Width", copy.Width());
  dict.AddNumber("Height", copy.Height());
  if (isMask) dict.AddBoolean("ImageMask", true);
  dict.FindArray("Filter")->Add(std::make_unique<TVPdfName>("CCITTFaxDecode"));

  auto parms = std::make_unique<TVPDFDictionary>(dict.Owner());
  parms->AddNumber("K", mode.K);
  parms->AddNumber("Columns", copy.Width());
  parms->AddNumber("Rows", copy.Height());
  if (!mode.EndOfBlock) parms->AddBoolean("EndOfBlock", false);
  dict.FindArray("DecodeParms")->Add(std::move(parms));
  // Last, so that nothing after it can fail with the mask taken.
  AddMask(dict, isMask, maskIndex, std::move(mask));
  return image;
}

std::unique_ptr<TVPDFImage> TVPDFCCITT31::CreateImage(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                                      std::unique_ptr<TVPdfObject>&& mask) const {
  return BuildWithNewEncoder(graphic, isMask, maskIndex, std::move(mask), 31);
}

std::unique_ptr<TVPDFImage> TVPDFCCITT32::CreateImage(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                                      std::unique_ptr<TVPdfObject>&& mask) const {
  return BuildWithNewEncoder(graphic, isMask, maskIndex, std::move(mask), 32);
}

std::unique_ptr<TVPDFImage> TVPDFCCITT4::CreateImage(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                                     std::unique_ptr<TVPdfObject>&& mask) const {
  return BuildWithNewEncoder(graphic, isMask, maskIndex, std::move(mask), 42);
}
