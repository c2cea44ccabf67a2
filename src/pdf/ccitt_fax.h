#pragma once
// CCITT fax encoder for PDF's CCITTFaxDecode filter: Group 3 one-dimensional
// (modified Huffman), Group 3 two-dimensional (modified READ) and Group 4 (T.6),
// coded row by row with the code tables of T.4, bits packed from the high bit
// of each byte down.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "pdf/ccitt_fax_tables.h"

class TPdfBitmap;

// The coding scheme; the values are those of the encoder's mode byte.
enum class TVCCITTMode : uint8_t {
  Group3OneDim = 0,  // modified Huffman; no EOLs, no fill bits between rows (DecodeParms K 0)
  Group3TwoDim = 1,  // every row: EOL, tag bit 0, two-dimensional code (K 1)
  Group4 = 2,        // T.6, ending with the EOFB (two EOLs) (K -1)
};

// A read-only view of a bitmap's rows as the encoder reads them: 8 pixels to a
// byte, the leftmost in the most significant bit, a 0 bit standing for the
// palette's entry 0 (black in a fax image). Nothing is owned.
struct TVCCITTBitmap {
  const uint8_t* Bits = nullptr;  // first byte of the top row
  int Width = 0;                  // pixels per row
  int Height = 0;                 // rows
  std::ptrdiff_t Stride = 0;      // bytes from one row to the next, at least (Width + 7) / 8
  int BitsPerPixel = 1;           // anything but 1 is refused
};

// One encoder per image: set the output buffer and the mode, then Compress.
// The row primitives are public so that single rows can be coded; in their rows
// a 0 bit is white and a 1 bit black.
class TVCCITTCompression {
 public:
  // The buffer the code bytes are appended to; not owned, must outlive the calls.
  void SetOutput(std::vector<uint8_t>* output) { FOutput = output; }
  std::vector<uint8_t>* Output() const { return FOutput; }

  void SetMode(TVCCITTMode mode) { FMode = mode; }
  TVCCITTMode Mode() const { return FMode; }

  // Appends the code of every row, top to bottom, then in Group 4 the EOFB,
  // and pads the last byte with zero bits. Each row is inverted first, so the
  // palette's entry 0 is coded as black. Raises EPdfError "Output stream is
  // empty." without an output and "Incorrect image format." unless the bitmap
  // has 1 bit per pixel (nothing written); a bitmap without pixels writes
  // nothing. An inconsistent view (negative size, no bits, short stride)
  // raises EPdfAssertionFailed.
  void Compress(const TVCCITTBitmap& bitmap);
  // The same for the image builders' bitmap (defined in ccitt_fax_bitmap.cpp).
  void Compress(const TPdfBitmap& bitmap);

  // Modified Huffman code of the first `width` pixels of `row`: white and black
  // runs alternately, starting with white (a run of 0 when the row begins
  // black). Always true. `width` must fit in `row`.
  bool Encode1DRow(std::span<const uint8_t> row, int width);

  // Two-dimensional code (T.4 modified READ, T.6) of `row` against `reference`,
  // the previous row (all white before the first). Always true. `width` must
  // fit in both rows.
  bool Encode2DRow(std::span<const uint8_t> row, std::span<const uint8_t> reference, int width);

  // The make-up codes (2560 as often as needed, then one of 64..2560) and the
  // terminating code of a run of `span` >= 0 pixels, from `table`
  // (kFaxWhiteCodes or kFaxBlackCodes).
  void PutSpan(int span, const TFaxCodeTable& table);

  // Appends the low `length` bits of `bits`, high bit first; length 0..16 (the
  // longest fax code, a black make-up code of 512..1728, has 13 bits).
  void PutBits(uint32_t bits, int length);

  // Writes the partly filled pending byte, its unused low bits zero, and
  // empties it; nothing when no bits are pending.
  void FlushBits();

  // Bits waiting in the pending byte (0..7).
  int PendingBits() const { return FPendingCount; }

  // Consecutive white (0) or black (1) pixels from bit `start`, counting
  // neither at or beyond `end` nor beyond the row; 0 when start >= end.
  static int FindWhiteSpan(std::span<const uint8_t> row, int start, int end);
  static int FindBlackSpan(std::span<const uint8_t> row, int start, int end);

  // `start` plus the run of `colour` (0 white, 1 black) from `start`: the
  // position of the next pixel of the other colour, or `end`. FindDiff2 gives
  // `end` when start >= end.
  static int FindDiff(std::span<const uint8_t> row, int start, int colour, int end);
  static int FindDiff2(std::span<const uint8_t> row, int start, int colour, int end);

  // The pixel at `position`: bit 7 - position % 8 of byte position / 8;
  // positions outside the row are white (0).
  static int GetBit(std::span<const uint8_t> row, int position);

 private:
  void Emit(uint32_t bits, int length);  // PutBits without the checks
  void PutCode(TFaxBits code) { Emit(code.Bits, code.Length); }
  void EmitSpan(uint32_t span, const TFaxCodeTable& table);
  void EmitRow1D(const uint8_t* row, uint32_t width);
  void EmitRow2D(const uint8_t* row, const uint8_t* reference, uint32_t width);

  std::vector<uint8_t>* FOutput = nullptr;
  TVCCITTMode FMode = TVCCITTMode::Group3OneDim;
  uint32_t FPending = 0;  // pending bits, right-aligned
  int FPendingCount = 0;  // 0..7 between calls
};
