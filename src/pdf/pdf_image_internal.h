#pragma once
// Helpers shared by the image builders' source files.

#include <memory>

#include "pdf/pdf_bitmap.h"
#include "pdf/pdf_graphic.h"
#include "pdf/pdf_object.h"
#include "pdf/pdf_stream.h"

namespace pdf_image_internal {

// Readers reject an image without pixels, so none is built.
void CheckImageSize(const TPdfGraphic& graphic);

// "Type" /XObject and "Subtype" /Image.
void AddImageType(TVPDFDictionary& dict);

// "Mask" := mask when maskIndex >= 0 and the image is not itself a mask (an
// image mask may carry no "Mask" entry). `mask` is moved from only when the
// dictionary keeps it; otherwise it stays the caller's.
void AddMask(TVPDFDictionary& dict, bool isMask, int maskIndex, std::unique_ptr<TVPdfObject>&& mask);

// Rec. 601 luma scaled by 1000 (0..255000).
constexpr int Luma1000(const TPdfPaletteEntry& c) { return 299 * c.Red + 587 * c.Green + 114 * c.Blue; }

// Dark pixels paint in an image mask; the threshold is mid grey.
constexpr bool IsDark(const TPdfPaletteEntry& c) { return Luma1000(c) < 128 * 1000; }

}  // namespace pdf_image_internal
