#pragma once
// Image builders: each turns a picture into a PDF image XObject (a TVPDFImage
// stream with no owner, which the caller owns).
// - TVPDFBitmap: Flate-compressed samples, 24-bit RGB or 8-bit palette
//   indexes with an Indexed colour space;
// - TVPDFDocJpegImage: the JPEG file's own bytes under DCTDecode;
// - TVPDFCCITT31, TVPDFCCITT32, TVPDFCCITT4: a 1-bit bitmap coded as CCITT
//   Group 3 one-dimensional, Group 3 two-dimensional or Group 4 fax data.
//
// The builders hold no state. RegisterPdfImageBuilders enters them into the
// process-wide class registry under "VPDFBitmap", "VPDFJpeg", "VPDFCCITT31",
// "VPDFCCITT32" and "VPDFCCITT4".
//
// Common to all builders:
// - A picture with no pixels (width or height 0) raises EPdfError.
// - isMask asks for an image mask ("ImageMask" true, 1 bit per sample, no
//   colour space and no "Mask" entry): dark pixels are written as 0, which
//   paints. A JPEG image cannot be a mask.
// - maskIndex >= 0 sets the image's "Mask" entry to `mask`: a direct object
//   (such as a colour-key array) or a reference placeholder
//   (TVPdfEmptyObject::CreateRef of the mask image's number). A null mask
//   then raises "Atom object creating error.". With maskIndex < 0, or for an
//   image mask, the mask is not used.
// - The mask is taken by rvalue reference, in the caller's own pointer type,
//   and moved from only when the image is built with it as its "Mask" entry,
//   after every check. A refusal (any of the builders' errors, or the
//   dictionary's refusals of the mask itself, such as one that another
//   container holds) raises and leaves the mask with the caller, as does a
//   mask that is not used.

#include <concepts>
#include <memory>

#include "pdf/class_registry.h"
#include "pdf/pdf_bitmap.h"
#include "pdf/pdf_graphic.h"
#include "pdf/pdf_object.h"
#include "pdf/pdf_stream.h"

class TVCCITTCompression;

namespace pdf_image_detail {

// Calls `build` with `mask` as a std::unique_ptr<TVPdfObject>&& and puts back
// into `mask` whatever `build` did not take, on a return or a throw.
template <std::derived_from<TVPdfObject> T, class TBuild>
std::unique_ptr<TVPDFImage> WithTypedMask(std::unique_ptr<T>& mask, TBuild&& build) {
  struct TGiveBack {
    std::unique_ptr<T>& Mask;
    std::unique_ptr<TVPdfObject> Held;
    ~TGiveBack() {
      if (Held != nullptr) Mask.reset(static_cast<T*>(Held.release()));
    }
  } giveBack{mask, std::unique_ptr<TVPdfObject>(mask.release())};
  return build(std::move(giveBack.Held));
}

}  // namespace pdf_image_detail

class TVPDFImageBlock : public TVPersistent {
 public:
  static constexpr std::string_view ClassName() { return "TVPDFImageBlock"; }

  // The base class builds nothing and returns nullptr.
  virtual std::unique_ptr<TVPDFImage> CreateImage(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                                  std::unique_ptr<TVPdfObject>&& mask) const;
  // The same for a mask in a pointer to a derived type, where it stays
  // unless the image takes it (a converted temporary would free it).
  template <std::derived_from<TVPdfObject> T>
    requires(!std::same_as<T, TVPdfObject>)
  std::unique_ptr<TVPDFImage> CreateImage(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                          std::unique_ptr<T>&& mask) const {
    return pdf_image_detail::WithTypedMask(mask, [&](std::unique_ptr<TVPdfObject>&& held) {
      return CreateImage(graphic, isMask, maskIndex, std::move(held));
    });
  }
};

// Any bitmap. 1-, 4- and 8-bit bitmaps become 8-bit palette indexes under an
// Indexed colour space; 24- and 32-bit bitmaps become RGB (alpha dropped).
// A picture that is not a bitmap raises "Unsupported bitmap image format.".
class TVPDFBitmap final : public TVPDFImageBlock {
 public:
  static constexpr std::string_view ClassName() { return "TVPDFBitmap"; }
  using TVPDFImageBlock::CreateImage;
  std::unique_ptr<TVPDFImage> CreateImage(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                          std::unique_ptr<TVPdfObject>&& mask) const override;
};

// A TJpegImage, embedded unchanged. Its colour space follows its components:
// DeviceGray, DeviceRGB or DeviceCMYK. A CMYK file with the Adobe marker
// stores its samples inverted and also gets "Decode" [1 0 1 0 1 0 1 0 ], so
// that readers show it as the bitmap decoder does. Another picture raises
// "Unsupported jpeg image format.".
class TVPDFDocJpegImage final : public TVPDFImageBlock {
 public:
  static constexpr std::string_view ClassName() { return "TVPDFDocJpegImage"; }
  using TVPDFImageBlock::CreateImage;
  std::unique_ptr<TVPDFImage> CreateImage(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                          std::unique_ptr<TVPdfObject>&& mask) const override;
};

// 1-bit bitmaps as CCITT fax data: Group 3 one-dimensional (K 0). Group 3
// data ends after the last row with no end-of-block code, so both Group 3
// builders write "EndOfBlock" false in DecodeParms; Group 4 data ends with
// its code and leaves the key at its default.
class TVPDFCCITT31 final : public TVPDFImageBlock {
 public:
  static constexpr std::string_view ClassName() { return "TVPDFCCITT31"; }
  using TVPDFImageBlock::CreateImage;
  std::unique_ptr<TVPDFImage> CreateImage(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                          std::unique_ptr<TVPdfObject>&& mask) const override;
};

// Group 3 two-dimensional (K 1).
class TVPDFCCITT32 final : public TVPDFImageBlock {
 public:
  static constexpr std::string_view ClassName() { return "TVPDFCCITT32"; }
  using TVPDFImageBlock::CreateImage;
  std::unique_ptr<TVPDFImage> CreateImage(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                          std::unique_ptr<TVPdfObject>&& mask) const override;
};

// Group 4 (K -1).
class TVPDFCCITT4 final : public TVPDFImageBlock {
 public:
  static constexpr std::string_view ClassName() { return "TVPDFCCITT4"; }
  using TVPDFImageBlock::CreateImage;
  std::unique_ptr<TVPDFImage> CreateImage(const TPdfGraphic& graphic, bool isMask, int maskIndex,
                                          std::unique_ptr<TVPdfObject>&& mask) const override;
};

// The common body of the CCITT builders; kind is 31, 32 or 42 (Group 4).
// The picture must be a 1-bit bitmap, else "Incorrect image format.". The
// pixels are coded so that they render as the palette shows them, whichever
// of its two entries is the darker. The encoder's output is restored after use.
std::unique_ptr<TVPDFImage> CreateCCITTImage(TVCCITTCompression& encoder, const TPdfGraphic& graphic,
                                             bool isMask, int maskIndex, std::unique_ptr<TVPdfObject>&& mask,
                                             int kind);
template <std::derived_from<TVPdfObject> T>
  requires(!std::same_as<T, TVPdfObject>)
std::unique_ptr<TVPDFImage> CreateCCITTImage(TVCCITTCompression& encoder, const TPdfGraphic& graphic,
                                             bool isMask, int maskIndex, std::unique_ptr<T>&& mask, int kind) {
  return pdf_image_detail::WithTypedMask(mask, [&](std::unique_ptr<TVPdfObject>&& held) {
    return CreateCCITTImage(encoder, graphic, isMask, maskIndex, std::move(held), kind);
  });
}

// The colour space [/Indexed /DeviceRGB 255 <lookup> ] of an 8-bit bitmap
// (else "Not supported pixel format."; an empty palette raises "Palette
// error."). The lookup is a TVPdfBinary holding "<", then "RRGGBB " for each of
// the 256 entries (000000 beyond the bitmap's palette), then ">": 1794 bytes.
// When `image` is given and its document encrypts streams, the lookup is
// written encrypted with that image's object key, as every string of the
// image's object must be; otherwise it is written as held.
std::unique_ptr<TVPdfArray> IndexedColorSpace(const TPdfBitmap& bitmap, const TVPdfStream* image = nullptr);

// Enters the five builders into ClassRegistry() under their aliases; calling
// again is harmless. UnregisterPdfImageBuilders removes them.
void RegisterPdfImageBuilders();
void UnregisterPdfImageBuilders();
