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

}  // namespace

std::unique_ptr<TVPDFImage> TVPDFDocJpegImage::CreateImage(const TPdfGraphic& graphic, bool isMask,
                                                           int maskIndex,
                                                           std::unique_ptr<TVPdfObject> mask) const {
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
  dict.FindArray("Filter")->Add(std::make_unique<TVPdfName>("DCTDecode"));
  AddMask(dict, isMask, maskIndex, std::move(mask));
  return image;
}
