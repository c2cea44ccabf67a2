#include "pdf/ccitt_fax.h"

#include "pdf/pdf_bitmap.h"
#include "pdf/pdf_error.h"

// Kept apart from the encoder so that it can be used without the bitmap layer.
void TVCCITTCompression::Compress(const TPdfBitmap& bitmap) {
  TVCCITTBitmap view;
  view.Width = bitmap.Width();
  view.Height = bitmap.Height();
  view.BitsPerPixel = BitsPerPixel(bitmap.PixelFormat());
  view.Stride = static_cast<std::ptrdiff_t>(bitmap.RowBytes());
  if (view.Width > 0 && view.Height > 0) view.Bits = bitmap.ScanLine(0);
  Compress(view);
}
