// TVPDFDocJpegImage: a JPEG file embedded as its own bytes under DCTDecode.
#include "pdf/pdf_image.h"

#include <iterator>
#include <string>

#include "pdf/jpeg_image.h"
#include "pdf/pdf_error.h"
#include "pdf/pdf_image_internal.h"

using namespace pdf_image_internal;

namespace {

// The device colour space by component count; nullptr for counts a PDF
// reader cannot show.
constexpr const char* kColorSpaces[] = {nullptr, "DeviceGray", nullptr, "DeviceRGB", "DeviceCMYK"};

constexpr const char* ColorSpaceFor(int components) {
  return components >= 0 && components < static_cast<int>(std::size(kColorSpaces)) ? kColorSpaces[components]
                                                                                    : nullptr;
}

// [1 0 1 0 1 0 1 0]: each of the four components mapped from 1 down to 0.
std::unique_ptr<TVPdfArray> InvertedCmykDecode() {
  auto decode = std::make_unique<TVPdfArray>();
  for (int i = 0; i < 4; ++i) {
    decode->Add(std::make_unique<TVPdfNum>(1));
    decode->Add(std::make_unique<TVPdfNum>(0));
  }
  return decode;
}

}  // namespace

std::unique_ptr<TVPDFImage> TVPDFDocJpegImage::CreateImage(const TPdfGraphic& graphic, bool isMask,
                                                           int maskIndex,
                                                           std::unique_ptr<TVPdfObject>&& mask) const {
  const auto* jpeg = dynamic_cast<const TJpegImage*>(&graphic);
  if (jpeg == nullptr) throw EPdfError("Unsupported jpeg image format.");
  // An image mask has one bit per sample; DCT data always has eight.
  if (isMask) throw EPdfError("A JPEG image cannot be an image mask.");
  CheckImageSize(*jpeg);
  const char* colorSpace = ColorSpaceFor(jpeg->Components());
  if (colorSpace == nullptr)
    throw EPdfError("Unsupported number of JPEG colour components: " + std::to_string(jpeg->Components()) +
                    ".");

  auto image = std::make_unique<TVPDFImage>(nullptr, false);
  jpeg->SaveToStream(image->Data());
  TVPDFDictionary& dict = image->Dict();
  AddImageType(dict);
  dict.AddName("ColorSpace", colorSpace);
  dict.AddNumber("Width", jpeg->Width());
  dict.AddNumber("Height", jpeg->Height());
  dict.AddNumber("BitsPerComponent", 8);
  // A four-component file with the Adobe marker holds inverted CMYK (0 is
  // full ink), as Photoshop and the writers that follow it store it; DCTDecode
  // passes the samples through as they are, so without the inverting Decode
  // array every reader would show the negative. Without the marker the
  // samples are plain CMYK.
  if (jpeg->Components() == 4 && jpeg->HasAdobeMarker()) dict.Add("Decode", InvertedCmykDecode());
  dict.FindArray("Filter")->Add(std::make_unique<TVPdfName>("DCTDecode"));
  AddMask(dict, isMask, maskIndex, std::move(mask));
  return image;
}
