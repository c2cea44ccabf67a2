#pragma once
// A JPEG image as the PDF writer embeds it: the file's bytes and the size and
// component count read from its header. The whole file is decoded once when
// the image is made, row by row into a scratch row (no image is kept), so
// that damaged data is refused here rather than in the reader of the PDF.
//
// The bytes are kept unchanged, except that an arithmetic-coded file is
// recoded with Huffman coding, which every PDF reader's DCT filter takes
// (several show arithmetic-coded data wrongly or not at all): the DCT
// coefficients, quantization tables and markers stay as they are, so the
// pixels decode exactly as from the original. JPEGs that no DCT filter takes
// are refused: lossless and hierarchical coding, and samples of other than
// 8 bits.

#include <cstdint>
#include <span>
#include <string>

#include "pdf/pdf_bytes.h"
#include "pdf/pdf_graphic.h"

class TJpegImage final : public TPdfGraphic {
 public:
  // Takes the bytes of a JPEG file and decodes it. Lossless or hierarchical
  // coding and samples of other than 8 bits raise EPdfError "Unsupported JPEG
  // image: " and the reason ("lossless coding", "hierarchical coding", "12-bit
  // samples") before anything is decoded. Bytes that are not a
  // readable JPEG raise EPdfError "Invalid JPEG image: " and the decoder's
  // reason; so do truncated or corrupt data (libjpeg's warnings of a
  // premature end, a marker inside the data, bad Huffman or arithmetic codes
  // and lost restart markers) and a header declaring more rows than the data
  // holds. Harmless warnings (extraneous bytes, a bad ICC profile, unknown
  // JFIF or Adobe versions) do not refuse the image. The check may take up to
  // 1 GiB: progressive and other multi-scan files need about 2 bytes per
  // sample of the whole image, so one of more than about 350 megapixels
  // (180 without chroma subsampling) is refused as too large to check. The
  // recoding of an arithmetic-coded file takes as much again; it reads the
  // original whole (the check of the original), and its result is checked.
  explicit TJpegImage(TPdfBytes bytes);
  static TJpegImage FromBytes(std::span<const uint8_t> bytes);
  // Reads a JPEG file; a file that cannot be opened or read (a directory
  // included) raises EPdfError.
  static TJpegImage LoadFromFile(const std::string& path);

  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  // Colour components per pixel: 1 (grey), 3 (YCbCr or RGB), 4 (CMYK or YCCK).
  int Components() const { return FComponents; }
  // True when the file carries an Adobe APP14 marker (which CMYK files written
  // by common encoders do).
  bool HasAdobeMarker() const { return FAdobeMarker; }

  // The file bytes, exactly as given unless Recoded().
  const TPdfBytes& Bytes() const { return FBytes; }
  // True when the file was arithmetic-coded and Bytes() holds its recoding.
  bool Recoded() const { return FRecoded; }
  // Appends the file bytes to `out`.
  void SaveToStream(TPdfBytes& out) const;

 private:
  TPdfBytes FBytes;
  int FWidth = 0;
  int FHeight = 0;
  int FComponents = 0;
  bool FAdobeMarker = false;
  bool FRecoded = false;
};
