#pragma once
// Loading and saving TBitmap32 images: PNG (libpng), JPEG (libjpeg) and
// Windows bitmap files.
//
// The decoders take the encoded bytes and give a new bitmap; the file
// functions are thin wrappers that read or write the whole file. Every
// failure (unreadable file, malformed or unsupported data, an image larger
// than kMaxBitmap32Pixels) raises EBitmapIOError; nothing is half-loaded.
// Truncated or corrupt data is such a failure: a BMP whose rows are shorter
// than its header declares or whose RLE codes run out before the
// end-of-bitmap code with rows left to paint, a PNG whose image data is missing,
// damaged (a CRC or zlib error in its IDAT chunks, a filter type above 4) or
// too short to inflate to the declared size or one with a chunk before IEND
// that declares more bytes than follow it, a JPEG whose data
// ends early or is corrupt (libjpeg's warnings of a premature end, a marker
// inside the data, bad Huffman or arithmetic codes and lost restart markers)
// or delivers fewer rows than declared. Harmless JPEG warnings (extraneous
// bytes, unknown JFIF or Adobe versions) do not refuse the image.
//
// Memory: no decoder allocates an image its data cannot fill. BMP and PNG
// check the declared size against the data before allocating (PNG also every
// chunk's declared length, before libpng reads any). Where a PNG's bitmap
// would exceed both 64 MiB and 64 times its image data bytes, the image data
// is first inflated once without keeping it, so damaged data is refused before
// the bitmap exists; any other PNG's damage is met while decoding, so it costs
// at most a bitmap of the larger of those sizes. A PNG decodes straight into
// its bitmap, so a valid file peaks at the bitmap plus a few rows (and a 64 KB
// table for 16-bit samples); a bitmap that cannot be allocated is refused
// naming its size. RLE codes can leave pixels unpainted, so a BMP's codes are
// walked to their end before the image is allocated, and they may stand for at
// most 1024 pixels per byte; a JPEG header bounds nothing, so its bitmap grows
// as rows arrive, its memory remapped rather than copied, and libjpeg decodes
// straight into it (a valid baseline file peaks at 1.01 times its bitmap); a
// progressive file is read whole into libjpeg's coefficients (1.5 times the
// bitmap at 4:4:4) before its bitmap is allocated at once, and peaks at 2.5
// times its bitmap.
//
// Pixels map to TColor32 as A<<24 | R<<16 | G<<8 | B, not premultiplied. PNG:
// 16-bit samples are rounded to the nearest 8-bit value; samples are converted
// from the file's gamma (gAMA, or the sRGB chunk's) to sRGB's (16-bit ones at
// full precision), alpha stays linear, and a file with neither counts as sRGB
// at every bit depth; colour profiles (iCCP, cHRM) are not applied; chunks
// after the image data are not read. JPEG images load opaque; JPEG files store
// no alpha.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "graphics/bitmap32.h"

class EBitmapIOError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TImageFileType : uint8_t { iftUnknown, iftPng, iftJpeg, iftBmp };

// The type named by the file's extension, letter case ignored (".png";
// ".jpg", ".jpeg", ".jpe", ".jfif"; ".bmp", ".dib").
TImageFileType ImageFileTypeFromName(const std::string& fileName);
// The type recognised from the first bytes of encoded data.
TImageFileType ImageFileTypeFromSignature(std::span<const uint8_t> bytes);

TBitmap32 LoadBitmap32FromPng(std::span<const uint8_t> bytes);
TBitmap32 LoadBitmap32FromJpeg(std::span<const uint8_t> bytes);
// Uncompressed 1, 4, 8, 16 (5-5-5), 24 and 32 bits per pixel, 16- and 32-bit
// bit fields, RLE8 and RLE4; the Windows info headers of 40 bytes and more,
// and the OS/2 headers of 12 bytes and of 64 (read as the 40-byte one, with
// 3-byte colour table entries). Refused: JPEG, PNG and alpha bit-field
// compression, the OS/2 Huffman 1D and RLE24 compressions, 2 bits per pixel,
// other header sizes. RLE runs past their row are clipped to it; pixels that
// no RLE code paints take colour table entry 0.
// An image with an alpha mask whose alpha is 0 everywhere (no alpha stored)
// loads opaque.
TBitmap32 LoadBitmap32FromBmp(std::span<const uint8_t> bytes);
// By the signature of the data.
TBitmap32 LoadBitmap32(std::span<const uint8_t> bytes);

// A save needs a non-empty bitmap.
std::vector<uint8_t> SaveBitmap32ToPng(const TBitmap32& bitmap);
// Quality 1..100; the alpha is dropped.
std::vector<uint8_t> SaveBitmap32ToJpeg(const TBitmap32& bitmap, int quality = 90);
// 32 bits per pixel with alpha, rows from the bottom.
std::vector<uint8_t> SaveBitmap32ToBmp(const TBitmap32& bitmap);

// By the file's extension; a file with another extension is decoded by its
// signature.
TBitmap32 LoadBitmap32FromFile(const std::string& fileName);
// By the file's extension; any other extension writes a bitmap file.
void SaveBitmap32ToFile(const TBitmap32& bitmap, const std::string& fileName);
// Always a bitmap file, whatever the extension.
void SaveBitmap32ToBmpFile(const TBitmap32& bitmap, const std::string& fileName);

std::vector<uint8_t> ReadImageFileBytes(const std::string& fileName);
void WriteImageFileBytes(const std::string& fileName, std::span<const uint8_t> bytes);
