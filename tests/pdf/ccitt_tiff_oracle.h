#pragma once
// libtiff as an independent fax codec for tests and benchmarks: a strip of
// fax code is wrapped raw into an in-memory TIFF and read back decoded, and
// libtiff's own Group 4 encoder codes the same rows for byte comparison.
// Rows are packed ink (1 = black), which is what a TIFF with
// PhotometricInterpretation MinIsWhite and FillOrder MSB2LSB holds.

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace ccitt_test {

enum class TTiffFax {
  Group3OneDim,  // T.4 modified Huffman, every row preceded by an EOL
  Group3TwoDim,  // T.4 with 2-D coding: EOL and tag bit before every row
  Group4,        // T.6
};

namespace tiff_detail {

// A growable file in memory behind libtiff's client I/O.
struct TMemoryFile {
  std::vector<uint8_t> Data;
  toff_t Position = 0;
};

inline tmsize_t Read(thandle_t h, void* buf, tmsize_t size) {
  auto* f = static_cast<TMemoryFile*>(h);
  if (f->Position >= f->Data.size()) return 0;
  const auto n = std::min<toff_t>(static_cast<toff_t>(size), f->Data.size() - f->Position);
  std::memcpy(buf, f->Data.data() + f->Position, n);
  f->Position += n;
  return static_cast<tmsize_t>(n);
}

inline tmsize_t Write(thandle_t h, void* buf, tmsize_t size) {
  auto* f = static_cast<TMemoryFile*>(h);
  const auto end = f->Position + static_cast<toff_t>(size);
  if (end > f->Data.size()) f->Data.resize(end);
  std::memcpy(f->Data.data() + f->Position, buf, static_cast<std::size_t>(size));
  f->Position = end;
  return size;
}

inline toff_t Seek(thandle_t h, toff_t offset, int whence) {
  auto* f = static_cast<TMemoryFile*>(h);
  if (whence == SEEK_CUR) offset += f->Position;
  if (whence == SEEK_END) offset += f->Data.size();
  f->Position = offset;
  return offset;
}

inline int Close(thandle_t) { return 0; }
inline toff_t Size(thandle_t h) { return static_cast<TMemoryFile*>(h)->Data.size(); }
inline int Map(thandle_t, void**, toff_t*) { return 0; }
inline void Unmap(thandle_t, void*, toff_t) {}

inline std::string& LastError() {
  static std::string message;  // test-only: the most recent libtiff complaint
  return message;
}

inline void RecordError(const char* module, const char* format, va_list args) {
  char text[512];
  std::vsnprintf(text, sizeof text, format, args);
  LastError() = std::string(module ? module : "") + ": " + text;
}

inline TIFF* Open(TMemoryFile& file, const char* mode) {
  TIFFSetErrorHandler(RecordError);
  TIFFSetWarningHandler(RecordError);  // bad code lengths are only warnings
  file.Position = 0;
  return TIFFClientOpen("memory", mode, &file, Read, Write, Seek, Close, Size, Map, Unmap);
}

inline void SetFields(TIFF* tif, int width, int height, TTiffFax kind) {
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(width));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(height));
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, static_cast<uint32_t>(height));
  TIFFSetField(tif, TIFFTAG_COMPRESSION,
               kind == TTiffFax::Group4 ? COMPRESSION_CCITTFAX4 : COMPRESSION_CCITTFAX3);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
  TIFFSetField(tif, TIFFTAG_FILLORDER, FILLORDER_MSB2LSB);
  if (kind == TTiffFax::Group3OneDim) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, 0u);
  if (kind == TTiffFax::Group3TwoDim) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_2DENCODING);
}

}  // namespace tiff_detail

// The rows libtiff decodes from `code` (one strip holding the whole image),
// padding bits zero; nothing when libtiff reports an error.
inline std::optional<std::vector<uint8_t>> TiffDecode(const std::vector<uint8_t>& code, int width,
                                                      int height, TTiffFax kind) {
  using namespace tiff_detail;
  TMemoryFile file;
  {
    TIFF* tif = Open(file, "w");
    if (tif == nullptr) return std::nullopt;
    SetFields(tif, width, height, kind);
    std::vector<uint8_t> copy = code;  // libtiff takes a non-const buffer
    if (copy.empty()) copy.push_back(0);
    const bool written = TIFFWriteRawStrip(tif, 0, copy.data(), static_cast<tmsize_t>(copy.size())) > 0;
    TIFFClose(tif);
    if (!written) return std::nullopt;
  }
  TIFF* tif = Open(file, "r");
  if (tif == nullptr) return std::nullopt;
  const std::size_t rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
  std::vector<uint8_t> rows(rowBytes * static_cast<std::size_t>(height));
  LastError().clear();
  const tmsize_t got = TIFFReadEncodedStrip(tif, 0, rows.data(), static_cast<tmsize_t>(rows.size()));
  TIFFClose(tif);
  if (got != static_cast<tmsize_t>(rows.size()) || !LastError().empty()) return std::nullopt;
  return rows;
}

// libtiff's own code of `ink` (Height rows of (width + 7) / 8 bytes) as one
// strip. Group 4 is comparable byte for byte with ours; libtiff's Group 3
// writes an EOL before each row and, in 2-D, codes every k-th row 1-D.
inline std::vector<uint8_t> TiffEncode(const std::vector<uint8_t>& ink, int width, int height,
                                       TTiffFax kind) {
  using namespace tiff_detail;
  TMemoryFile file;
  {
    TIFF* tif = Open(file, "w");
    if (tif == nullptr) return {};
    SetFields(tif, width, height, kind);
    // The fax encoders only read the rows; the API is not const-correct.
    TIFFWriteEncodedStrip(tif, 0, const_cast<uint8_t*>(ink.data()), static_cast<tmsize_t>(ink.size()));
    TIFFClose(tif);
  }
  TIFF* tif = Open(file, "r");
  if (tif == nullptr) return {};
  uint64_t* counts = nullptr;
  std::vector<uint8_t> code;
  if (TIFFGetField(tif, TIFFTAG_STRIPBYTECOUNTS, &counts) && counts != nullptr) {
    code.resize(static_cast<std::size_t>(counts[0]));
    TIFFReadRawStrip(tif, 0, code.data(), static_cast<tmsize_t>(code.size()));
  }
  TIFFClose(tif);
  return code;
}

inline std::vector<uint8_t> TiffEncodeGroup4(const std::vector<uint8_t>& ink, int width, int height) {
  return TiffEncode(ink, width, height, TTiffFax::Group4);
}

// The libtiff message (error or warning) behind the last failed TiffDecode.
inline std::string TiffLastError() { return tiff_detail::LastError(); }

}  // namespace ccitt_test
