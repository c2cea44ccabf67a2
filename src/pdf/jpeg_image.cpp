#include "pdf/jpeg_image.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <fstream>
#include <iterator>
#include <new>
#include <utility>

#include <jpeglib.h>
// jerror.h after jpeglib.h: it names the warnings checked below.
#include <jerror.h>

#include "pdf/pdf_error.h"

namespace {

// The most memory libjpeg may take for the check. Progressive and other
// multi-scan files keep every coefficient of the image until the last scan
// (about 2 bytes per sample: 36 MB for a 12-megapixel photo); a few bytes
// can declare 65500 x 65500, which would take 8 GB and more. libjpeg refuses
// a file that needs more.
constexpr long kMaxDecoderMemory = 1L << 30;

// libjpeg reports fatal errors through error_exit, which by default ends the
// process. Ours jumps back to the reader instead, which then throws; nothing
// with a destructor lives in the frames the jump crosses.
struct TJpegErrorManager {
  jpeg_error_mgr Public;  // first member: libjpeg sees a jpeg_error_mgr*
  std::jmp_buf Return;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegFail(j_common_ptr info) {
  auto* manager = reinterpret_cast<TJpegErrorManager*>(info->err);
  manager->Public.format_message(info, manager->Message);
  std::longjmp(manager->Return, 1);
}

void JpegErrorExit(j_common_ptr info) {
  // libjpeg asks for a temporary file when the memory cap is reached, and has
  // none; say what the file needs instead.
  if (info->err->msg_code == JERR_NO_BACKING_STORE) {
    auto* manager = reinterpret_cast<TJpegErrorManager*>(info->err);
    std::snprintf(manager->Message, sizeof manager->Message, "decoding it needs more than %ld MB of memory",
                  kMaxDecoderMemory >> 20);
    std::longjmp(manager->Return, 1);
  }
  JpegFail(info);
}

// libjpeg goes on past damaged data with a warning, filling what is missing
// with grey. Truncation and corruption are errors here: a reader would show
// the image damaged, or refuse it. Other warnings (extraneous bytes between
// markers, a bad ICC profile, unknown JFIF or Adobe versions) leave the image
// whole and are ignored; trace messages (level >= 0) are never printed.
void JpegEmitMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  switch (info->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_ARITH_BAD_CODE: JpegFail(info);
    default: break;
  }
}

// Readies `manager` for a decompressor or compressor: libjpeg's defaults with
// our exit and message handlers, and no message yet. Returns what the
// struct's `err` is set to; the caller still sets the jump target.
jpeg_error_mgr* InstallErrorManager(TJpegErrorManager& manager) {
  jpeg_error_mgr* error = jpeg_std_error(&manager.Public);
  error->error_exit = JpegErrorExit;
  error->emit_message = JpegEmitMessage;
  manager.Message[0] = '\0';
  return error;
}

// The frame header (SOFn) as the markers before it lead to it: its marker
// code and sample precision; Marker 0 when the bytes hold none that libjpeg
// would reach, which libjpeg then reports itself.
struct TJpegFrame {
  uint8_t Marker = 0;
  int Precision = 0;
};

constexpr bool IsFrameMarker(uint8_t marker) {
  // C0-CF are frame headers except C4 (DHT), C8 (reserved) and CC (DAC).
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the marker segments from SOI to the first frame header, skipping
// stray bytes between segments as libjpeg does. Touches only the headers.
TJpegFrame FindFrame(const uint8_t* data, std::size_t size) {
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return {};
  std::size_t at = 2;
  while (at < size) {
    // A marker is 0xFF, any number of 0xFF fill bytes, then its code; 0xFF 00
    // and other bytes are stray data.
    if (data[at] != 0xFF) {
      ++at;
      continue;
    }
    while (at < size && data[at] == 0xFF) ++at;
    if (at >= size) return {};
    const uint8_t marker = data[at++];
    if (marker == 0x00) continue;
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // TEM and RSTn stand alone
    if (marker == 0xD9 || marker == 0xDA) return {};                      // EOI or SOS before a frame
    if (at + 2 > size) return {};
    const std::size_t length = static_cast<std::size_t>(data[at]) << 8 | data[at + 1];
    if (IsFrameMarker(marker)) return at + 2 < size ? TJpegFrame{marker, data[at + 2]} : TJpegFrame{};
    // libjpeg reads a length below 2 as an empty segment.
    at += std::max<std::size_t>(length, 2);
  }
  return {};
}

// Why a PDF reader's DCT filter cannot take a frame of this kind (DCTDecode
// is 8-bit baseline or progressive DCT data, Huffman-coded or, in some
// readers only, arithmetic-coded), or nullptr when it can once arithmetic
// coding is recoded.
const char* UnsupportedFrame(const TJpegFrame& frame) {
  switch (frame.Marker) {
    case 0xC3:
    case 0xCB: return "lossless coding";
    case 0xC5:
    case 0xC6:
    case 0xC7:
    case 0xCD:
    case 0xCE:
    case 0xCF: return "hierarchical coding";
    default: return nullptr;
  }
}

struct TJpegHeader {
  int Width = 0;
  int Height = 0;
  int Components = 0;
  bool AdobeMarker = false;
  bool Arithmetic = false;
};

// The decompressor and its error manager, kept in the caller's frame so that
// nothing the jump crosses lives in registers of the function that called
// setjmp.
struct TJpegReader {
  jpeg_decompress_struct Info;
  TJpegErrorManager Error;
};

// Reads the header of `size` bytes at `data`, then decodes every row into a
// scratch row from libjpeg's own pool, so no image is kept and the check
// costs one row of memory beyond libjpeg's. The decode runs at one eighth of
// the size and in the file's own colour space: every coefficient is still
// read from the entropy-coded data (so damage shows), while the inverse DCT,
// upsampling and colour conversion, which check nothing, shrink to a fraction
// (half the time of a full decode). Returns false with the decoder's message
// in `reader.Error.Message` when libjpeg rejects the bytes or delivers fewer
// rows than the header declares.
bool ReadJpeg(const uint8_t* data, std::size_t size, TJpegReader& reader, TJpegHeader& header) {
  reader.Info.err = InstallErrorManager(reader.Error);
  reader.Info.mem = nullptr;
  if (setjmp(reader.Error.Return) != 0) {
    jpeg_destroy_decompress(&reader.Info);
    return false;
  }
  jpeg_create_decompress(&reader.Info);
  reader.Info.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(&reader.Info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&reader.Info, TRUE);
  header.Width = static_cast<int>(reader.Info.image_width);
  header.Height = static_cast<int>(reader.Info.image_height);
  header.Components = reader.Info.num_components;
  header.AdobeMarker = reader.Info.saw_Adobe_marker != 0;
  header.Arithmetic = reader.Info.arith_code != 0;

  reader.Info.out_color_space = reader.Info.jpeg_color_space;
  reader.Info.scale_num = 1;
  reader.Info.scale_denom = 8;
  jpeg_start_decompress(&reader.Info);
  JSAMPARRAY row = (*reader.Info.mem->alloc_sarray)(
      reinterpret_cast<j_common_ptr>(&reader.Info), JPOOL_IMAGE,
      reader.Info.output_width * static_cast<JDIMENSION>(reader.Info.output_components), 1);
  while (reader.Info.output_scanline < reader.Info.output_height) {
    if (jpeg_read_scanlines(&reader.Info, row, 1) != 1) {
      std::snprintf(reader.Error.Message, sizeof reader.Error.Message,
                    "the data ends after %u of %u rows", reader.Info.output_scanline,
                    reader.Info.output_height);
      jpeg_destroy_decompress(&reader.Info);
      return false;
    }
  }
  jpeg_finish_decompress(&reader.Info);
  jpeg_destroy_decompress(&reader.Info);
  return true;
}

// A compressor's destination that writes into bytes it owns. libjpeg's
// memory destination replaces its buffer as the output grows and hands the
// caller the new one only when compression finishes, so after an error the
// caller holds a freed buffer and the live one is lost. Here the bytes are
// the only owner on every path, a jump out of libjpeg included.
struct TJpegByteDestination {
  jpeg_destination_mgr Public;  // first member: libjpeg sees a jpeg_destination_mgr*
  TPdfBytes Bytes;
};

// libjpeg's own first buffer size; the buffer doubles when full.
constexpr std::size_t kFirstOutputSize = 4096;

TJpegByteDestination& ByteDestination(j_compress_ptr info) {
  return *reinterpret_cast<TJpegByteDestination*>(info->dest);
}

// Grows the bytes to `size`, or leaves them and returns false when memory
// runs out: libjpeg is told by a jump, which must not leave a catch block.
bool Resized(TPdfBytes& bytes, std::size_t size) noexcept {
  try {
    bytes.resize(size);
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Offers libjpeg the bytes from `used` to the end.
void OfferFrom(TJpegByteDestination& destination, std::size_t used) {
  destination.Public.next_output_byte = destination.Bytes.data() + used;
  destination.Public.free_in_buffer = destination.Bytes.size() - used;
}

void InitByteDestination(j_compress_ptr info) {
  TJpegByteDestination& destination = ByteDestination(info);
  if (!Resized(destination.Bytes, kFirstOutputSize)) ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
  OfferFrom(destination, 0);
}

// Called when libjpeg has filled every byte offered.
boolean GrowByteDestination(j_compress_ptr info) {
  TJpegByteDestination& destination = ByteDestination(info);
  const std::size_t used = destination.Bytes.size();
  if (!Resized(destination.Bytes, used * 2)) ERREXIT1(info, JERR_OUT_OF_MEMORY, 1);
  OfferFrom(destination, used);
  return TRUE;
}

void TermByteDestination(j_compress_ptr info) {
  TJpegByteDestination& destination = ByteDestination(info);
  destination.Bytes.resize(destination.Bytes.size() - destination.Public.free_in_buffer);
}

// Points the compressor at `destination`, which must outlive its use.
void SetByteDestination(jpeg_compress_struct& info, TJpegByteDestination& destination) {
  destination.Public.init_destination = InitByteDestination;
  destination.Public.empty_output_buffer = GrowByteDestination;
  destination.Public.term_destination = TermByteDestination;
  info.dest = &destination.Public;
}

// The decompressor and compressor of a recoding, with their shared error
// manager and the output, kept in the caller's frame like TJpegReader.
struct TJpegRecoder {
  jpeg_decompress_struct Source;
  jpeg_compress_struct Target;
  TJpegErrorManager Error;
  TJpegByteDestination Output{};
};

// Recodes the arithmetic-coded JPEG of `size` bytes at `data` with Huffman
// coding: the DCT coefficients, quantization tables, sampling and component
// IDs are copied as they are, so every decoder gets the same pixels as from
// the original. APPn and COM markers are copied unchanged (the JFIF and Adobe
// markers included, so the colour space reads the same); the output is
// sequential, with Huffman tables made for the data. Damage in the original
// stops the recoding as it stops the check (the same warnings are fatal),
// and so does a coefficient out of the range that Huffman coding of 8-bit
// data can carry (which only a made-up file has): the optimizing pass
// measures every coefficient before anything is coded. Returns false with
// the message in `recoder.Error.Message`; on success the recoding is in
// `recoder.Output.Bytes`.
bool RecodeWithHuffman(const uint8_t* data, std::size_t size, TJpegRecoder& recoder) {
  recoder.Source.err = recoder.Target.err = InstallErrorManager(recoder.Error);
  recoder.Source.mem = nullptr;
  recoder.Target.mem = nullptr;
  if (setjmp(recoder.Error.Return) != 0) {
    jpeg_destroy_compress(&recoder.Target);
    jpeg_destroy_decompress(&recoder.Source);
    return false;
  }
  jpeg_create_decompress(&recoder.Source);
  recoder.Source.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_create_compress(&recoder.Target);
  recoder.Target.mem->max_memory_to_use = kMaxDecoderMemory;
  jpeg_mem_src(&recoder.Source, data, static_cast<unsigned long>(size));
  jpeg_save_markers(&recoder.Source, JPEG_COM, 0xFFFF);
  for (int n = 0; n < 16; ++n) jpeg_save_markers(&recoder.Source, JPEG_APP0 + n, 0xFFFF);
  jpeg_read_header(&recoder.Source, TRUE);
  jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&recoder.Source);

  jpeg_copy_critical_parameters(&recoder.Source, &recoder.Target);
  recoder.Target.arith_code = FALSE;
  recoder.Target.optimize_coding = TRUE;
  // The original's own JFIF and Adobe markers follow below, unchanged.
  recoder.Target.write_JFIF_header = FALSE;
  recoder.Target.write_Adobe_marker = FALSE;
  SetByteDestination(recoder.Target, recoder.Output);
  jpeg_write_coefficients(&recoder.Target, coefficients);
  for (jpeg_saved_marker_ptr marker = recoder.Source.marker_list; marker != nullptr; marker = marker->next)
    jpeg_write_marker(&recoder.Target, marker->marker, marker->data, marker->data_length);
  jpeg_finish_compress(&recoder.Target);
  jpeg_destroy_compress(&recoder.Target);
  jpeg_finish_decompress(&recoder.Source);
  jpeg_destroy_decompress(&recoder.Source);
  return true;
}

// The Huffman-coded recoding of an arithmetic-coded file, else EPdfError.
TPdfBytes RecodedWithHuffman(const TPdfBytes& bytes) {
  TJpegRecoder recoder;
  if (!RecodeWithHuffman(bytes.data(), bytes.size(), recoder))
    throw EPdfError(std::string("Invalid JPEG image: ") + recoder.Error.Message);
  // The output grew by doubling: keep only what it holds, as the image keeps
  // these bytes for its life.
  recoder.Output.Bytes.shrink_to_fit();
  return std::move(recoder.Output.Bytes);
}

constexpr bool IsArithmeticFrame(uint8_t marker) { return marker == 0xC9 || marker == 0xCA; }

// The header of a JPEG file that decodes whole, else EPdfError.
TJpegHeader CheckedHeader(const TPdfBytes& bytes) {
  TJpegReader reader;
  TJpegHeader header;
  if (!ReadJpeg(bytes.data(), bytes.size(), reader, header))
    throw EPdfError(std::string("Invalid JPEG image: ") + reader.Error.Message);
  return header;
}

}  // namespace

TJpegImage::TJpegImage(TPdfBytes bytes) : FBytes(std::move(bytes)) {
  // libjpeg treats an empty buffer as a fatal error of its own; say so plainly.
  if (FBytes.empty()) throw EPdfError("Invalid JPEG image: no data.");
  const TJpegFrame frame = FindFrame(FBytes.data(), FBytes.size());
  if (const char* reason = UnsupportedFrame(frame))
    throw EPdfError(std::string("Unsupported JPEG image: ") + reason + "; PDF readers take DCT-coded data only.");
  if (frame.Marker != 0 && frame.Precision != 8)
    throw EPdfError("Unsupported JPEG image: " + std::to_string(frame.Precision) +
                    "-bit samples; PDF readers take 8-bit samples only.");
  // The recoding reads every coefficient with the check's warnings fatal, so
  // it checks the original too; the recoding is then checked like any file.
  if (IsArithmeticFrame(frame.Marker)) {
    FBytes = RecodedWithHuffman(FBytes);
    FRecoded = true;
  }
  TJpegHeader header = CheckedHeader(FBytes);
  // libjpeg has the last word on the coding, should the walk above not have
  // reached the frame header it read.
  if (header.Arithmetic && !FRecoded) {
    FBytes = RecodedWithHuffman(FBytes);
    FRecoded = true;
    header = CheckedHeader(FBytes);
  }
  PdfRequire(!header.Arithmetic, "recoded JPEG data must be Huffman-coded");
  FWidth = header.Width;
  FHeight = header.Height;
  FComponents = header.Components;
  FAdobeMarker = header.AdobeMarker;
}

TJpegImage TJpegImage::FromBytes(std::span<const uint8_t> bytes) {
  return TJpegImage(TPdfBytes(bytes.begin(), bytes.end()));
}

TJpegImage TJpegImage::LoadFromFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw EPdfError("Cannot open JPEG file \"" + path + "\".");
  TPdfBytes bytes;
  // A read error (a directory opens but cannot be read) surfaces as
  // std::ios_base::failure from the stream buffer; it is a file error like
  // any other here.
  try {
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    throw EPdfError("Cannot read JPEG file \"" + path + "\".");
  }
  if (file.bad()) throw EPdfError("Cannot read JPEG file \"" + path + "\".");
  return TJpegImage(std::move(bytes));
}

void TJpegImage::SaveToStream(TPdfBytes& out) const { out.insert(out.end(), FBytes.begin(), FBytes.end()); }
