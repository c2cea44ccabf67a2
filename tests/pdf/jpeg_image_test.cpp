#include "pdf/jpeg_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "graphics/bitmap32.h"
#include "graphics/bitmap32_io.h"
#include "jpeg_fixture.h"
#include "pdf/pdf_error.h"
#include "test_pdf_document.h"

namespace {

TEST(JpegImage, ReadsSizeAndComponentsAndKeepsTheBytes) {
  struct TCase {
    const char* Name;
    TJpegFixtureSpec Spec;
    int Components;
  };
  const TCase cases[] = {
      {"rgb", {640, 480, JCS_RGB, false, 90}, 3},
      {"grey", {17, 5, JCS_GRAYSCALE, false, 90}, 1},
      {"cmyk", {9, 30, JCS_CMYK, false, 90}, 4},
      {"progressive", {33, 21, JCS_RGB, true, 75}, 3},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TPdfBytes bytes = MakeJpegFixture(c.Spec);
    const TJpegImage jpeg(bytes);
    EXPECT_EQ(jpeg.Width(), c.Spec.Width);
    EXPECT_EQ(jpeg.Height(), c.Spec.Height);
    EXPECT_EQ(jpeg.Components(), c.Components);
    EXPECT_EQ(jpeg.HasAdobeMarker(), c.Spec.ColorSpace == JCS_CMYK);
    EXPECT_EQ(jpeg.Bytes(), bytes);
    EXPECT_FALSE(jpeg.Recoded());
    TPdfBytes saved{'x'};
    jpeg.SaveToStream(saved);
    ASSERT_EQ(saved.size(), bytes.size() + 1);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), saved.begin() + 1));
  }
}

struct TRefusal {
  const char* Name;
  TPdfBytes Bytes;
  const char* Reason;  // a part of the decoder's message
};

// Each case raises EPdfError "Invalid JPEG image: " followed by a reason.
void ExpectRefused(std::span<const TRefusal> cases) {
  for (const TRefusal& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      TJpegImage jpeg(c.Bytes);
      ADD_FAILURE() << "accepted";
    } catch (const EPdfError& e) {
      const std::string message = e.what();
      EXPECT_EQ(message.rfind("Invalid JPEG image: ", 0), 0u) << message;
      EXPECT_NE(message.find(c.Reason), std::string::npos) << message;
      EXPECT_GT(message.size(), std::string("Invalid JPEG image: ").size()) << message;
    }
  }
}

// libjpeg's default error handler ends the process; these must come back as
// exceptions carrying the decoder's reason.
TEST(JpegImage, RejectsBytesThatAreNotAJpegWithAClearError) {
  const TPdfBytes good = MakeJpegFixture({});
  const TRefusal cases[] = {
      {"empty", {}, "no data"},
      {"png signature", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, "Not a JPEG file"},
      {"only SOI", {0xFF, 0xD8}, ""},
      {"cut inside the header", TPdfBytes(good.begin(), good.begin() + 40), ""},
  };
  ExpectRefused(cases);
}

// Every cut and many corruptions of a real file: each is either read with the
// file's own size or refused with EPdfError, never a crash or an exit.
TEST(JpegImage, DamagedFilesAreReadOrRefusedNeverFatal) {
  const TJpegFixtureSpec spec{21, 13, JCS_RGB, true, 80};
  const TPdfBytes good = MakeJpegFixture(spec);
  int accepted = 0, refused = 0;
  auto tryRead = [&](const TPdfBytes& bytes) {
    try {
      const TJpegImage jpeg(bytes);
      ++accepted;
      EXPECT_GT(jpeg.Width(), 0);
      EXPECT_GT(jpeg.Height(), 0);
    } catch (const EPdfError&) {
      ++refused;
    }
  };
  for (std::size_t size = 0; size <= good.size(); ++size)
    tryRead(TPdfBytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)));
  for (std::size_t i = 0; i < std::min<std::size_t>(good.size(), 400); ++i) {
    TPdfBytes bytes = good;
    bytes[i] ^= 0xA5;
    tryRead(bytes);
  }
  EXPECT_GT(accepted, 0);
  EXPECT_GT(refused, 0);
}

// A copy of `jpeg` whose frame header (baseline or progressive) declares
// width x height.
TPdfBytes Declaring(TPdfBytes jpeg, int width, int height) {
  for (std::size_t i = 0; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] != 0xFF || (jpeg[i + 1] != 0xC0 && jpeg[i + 1] != 0xC2)) continue;
    jpeg[i + 5] = static_cast<uint8_t>(height >> 8);
    jpeg[i + 6] = static_cast<uint8_t>(height);
    jpeg[i + 7] = static_cast<uint8_t>(width >> 8);
    jpeg[i + 8] = static_cast<uint8_t>(width);
    return jpeg;
  }
  ADD_FAILURE() << "no frame header";
  return jpeg;
}

TPdfBytes Prefix(const TPdfBytes& bytes, double fraction) {
  return TPdfBytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(static_cast<double>(bytes.size()) * fraction));
}

// The whole file is decoded when the image is made. Data that a PDF reader
// would find cut or corrupt (and show grey, or refuse) is refused here.
TEST(JpegImage, RefusesTruncatedAndCorruptScanData) {
  const TPdfBytes good = MakeJpegFixture({64, 48, JCS_RGB, false, 90});
  const TPdfBytes progressive = MakeJpegFixture({64, 48, JCS_RGB, true, 90});
  // The second half of the entropy-coded data (after the SOS segment, up to
  // the end marker) overwritten with markers.
  TPdfBytes garbled = good;
  std::size_t scan = 0;
  while (scan + 3 < good.size() && !(good[scan] == 0xFF && good[scan + 1] == 0xDA)) ++scan;
  scan += 2 + (good[scan + 2] << 8 | good[scan + 3]);
  for (std::size_t i = (scan + good.size()) / 2; i + 3 < good.size(); i += 2) garbled[i] = 0xFF, garbled[i + 1] = 0x01;
  const TRefusal cases[] = {
      {"cut at 60%", Prefix(good, 0.6), "Premature end of JPEG file"},
      {"progressive cut at 60%", Prefix(progressive, 0.6), "Premature end of JPEG file"},
      {"end marker missing", TPdfBytes(good.begin(), good.end() - 2), "Premature end of JPEG file"},
      {"64 x 48 declaring 65500 x 65500", Declaring(good, 65500, 65500), "Corrupt JPEG data"},
      {"garbled entropy data", garbled, "Corrupt JPEG data"},
      // Found by fuzzing: a progressive file keeps every coefficient until
      // its last scan, and a short one declaring 65496 x 65496 had libjpeg
      // allocate 8 GB. The decoder's memory is capped.
      {"progressive 64 x 48 declaring 30000 x 30000", Declaring(progressive, 30000, 30000),
       "decoding it needs more than 1024 MB of memory"},
  };
  ExpectRefused(cases);
}

// libjpeg's other warnings leave the image whole: such files are embedded as
// before, bytes unchanged.
TEST(JpegImage, AcceptsFilesWithHarmlessWarnings) {
  const TPdfBytes rgb = MakeJpegFixture({64, 48, JCS_RGB, false, 90});
  // libjpeg writes SOI and a 16-byte JFIF APP0 segment, then the next marker.
  ASSERT_EQ(rgb[20], 0xFF);
  TPdfBytes extraneous = rgb;  // "extraneous bytes before marker"
  extraneous.insert(extraneous.begin() + 20, {'x', 'y', 'z'});
  TPdfBytes jfifMajor = rgb;  // "unknown JFIF revision number 2.01"
  jfifMajor[11] = 2;
  TPdfBytes trailing = rgb;  // bytes after the end marker are never read
  trailing.insert(trailing.end(), {1, 2, 3});
  TPdfBytes adobe = MakeJpegFixture({24, 16, JCS_CMYK, false, 90});  // "Unknown Adobe color transform code 7"
  const auto app14 = std::search(adobe.begin(), adobe.end(), std::begin("Adobe"), std::end("Adobe") - 1);
  ASSERT_NE(app14, adobe.end());
  app14[11] = 7;  // after "Adobe", the version and two flag words

  for (const TPdfBytes& bytes : {extraneous, jfifMajor, trailing, adobe}) {
    const TJpegImage jpeg(bytes);
    EXPECT_EQ(jpeg.Bytes(), bytes);
    EXPECT_GT(jpeg.Width(), 0);
  }
}

// The marker segments of a JPEG file up to its frame header: code and
// payload of each, in order; the frame's own code last.
struct TSegment {
  uint8_t Marker;
  TPdfBytes Payload;
  bool operator==(const TSegment&) const = default;
};

std::vector<TSegment> SegmentsToFrame(const TPdfBytes& jpeg) {
  std::vector<TSegment> segments;
  std::size_t at = 2;
  while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
    const uint8_t marker = jpeg[at + 1];
    const std::size_t length = static_cast<std::size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3];
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xCC) {
      segments.push_back({marker, {}});
      break;
    }
    if (at + 2 + length > jpeg.size()) break;
    segments.push_back({marker, TPdfBytes(jpeg.begin() + static_cast<std::ptrdiff_t>(at + 4),
                                          jpeg.begin() + static_cast<std::ptrdiff_t>(at + 2 + length))});
    at += 2 + length;
  }
  return segments;
}

// Only the APPn and COM segments, which the recoding copies.
std::vector<TSegment> ApplicationSegments(const TPdfBytes& jpeg) {
  std::vector<TSegment> kept;
  for (const TSegment& segment : SegmentsToFrame(jpeg))
    if ((segment.Marker >= 0xE0 && segment.Marker <= 0xEF) || segment.Marker == 0xFE) kept.push_back(segment);
  return kept;
}

uint8_t FrameMarker(const TPdfBytes& jpeg) {
  const std::vector<TSegment> segments = SegmentsToFrame(jpeg);
  return segments.empty() ? 0 : segments.back().Marker;
}

bool SamePixels(const TBitmap32& a, const TBitmap32& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

TPdfBytes ReadTestFile(const std::string& name) {
  std::ifstream file(std::string(TEST_DATA_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Several PDF readers show arithmetic-coded data wrongly or not at all, so it
// is recoded with Huffman coding. The coefficients stay as they are: libjpeg
// decodes the recoding to the very pixels of the original, and the markers
// that say how to read the colours (JFIF, Adobe) come along unchanged.
TEST(JpegImage, ArithmeticCodingIsRecodedToHuffmanWithTheSamePixels) {
  const std::vector<uint8_t> ink(24 * 16 * 4, 90);
  struct TCase {
    const char* Name;
    TPdfBytes Bytes;
  };
  const TCase cases[] = {
      {"rgb", MakeJpegFixture({40, 24, JCS_RGB, false, 90, {}, true, false, {}, true})},
      {"progressive", MakeJpegFixture({40, 24, JCS_RGB, true, 75, {}, true, false, {}, true})},
      {"grey", MakeJpegFixture({17, 5, JCS_GRAYSCALE, false, 90, {}, true, false, {}, true})},
      {"Adobe CMYK", MakeJpegFixture({24, 16, JCS_CMYK, false, 90, {}, true, false, ink, true})},
      {"Adobe YCCK", MakeJpegFixture({24, 16, JCS_CMYK, false, 90, {}, true, true, ink, true})},
      {"CMYK without the Adobe marker", MakeJpegFixture({24, 16, JCS_CMYK, false, 90, {}, false, false, ink, true})},
      {"cjpeg -arithmetic", ReadTestFile("arithmetic.jpg")},
      {"cjpeg -arithmetic -progressive", ReadTestFile("arithmetic-progressive.jpg")},
      {"cjpeg -arithmetic -grayscale", ReadTestFile("arithmetic-grey.jpg")},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_TRUE(FrameMarker(c.Bytes) == 0xC9 || FrameMarker(c.Bytes) == 0xCA) << "not arithmetic-coded";
    const TJpegImage jpeg(c.Bytes);
    EXPECT_TRUE(jpeg.Recoded());
    // Sequential Huffman coding: baseline, or extended where a table needs it.
    EXPECT_TRUE(FrameMarker(jpeg.Bytes()) == 0xC0 || FrameMarker(jpeg.Bytes()) == 0xC1)
        << std::hex << int{FrameMarker(jpeg.Bytes())};
    EXPECT_EQ(ApplicationSegments(jpeg.Bytes()), ApplicationSegments(c.Bytes));
    EXPECT_TRUE(SamePixels(LoadBitmap32FromJpeg(jpeg.Bytes()), LoadBitmap32FromJpeg(c.Bytes)));
    // The recoding is an ordinary file: read again, it is kept as it is.
    const TJpegImage again(jpeg.Bytes());
    EXPECT_FALSE(again.Recoded());
    EXPECT_EQ(again.Bytes(), jpeg.Bytes());
    EXPECT_EQ(again.Width(), jpeg.Width());
    EXPECT_EQ(again.Height(), jpeg.Height());
    EXPECT_EQ(again.Components(), jpeg.Components());
    EXPECT_EQ(again.HasAdobeMarker(), jpeg.HasAdobeMarker());
  }
}

// Every cut and many corruptions of an arithmetic-coded file: each is either
// refused or recoded to a file that reads whole.
TEST(JpegImage, DamagedArithmeticFilesAreRefusedOrRecodedWhole) {
  const TPdfBytes good = MakeJpegFixture({21, 13, JCS_RGB, true, 80, {}, true, false, {}, true});
  int recoded = 0, refused = 0;
  auto tryRead = [&](const TPdfBytes& bytes) {
    try {
      const TJpegImage jpeg(bytes);
      const TJpegImage again(jpeg.Bytes());
      EXPECT_EQ(again.Bytes(), jpeg.Bytes());
      EXPECT_EQ(again.Width(), jpeg.Width());
      recoded += jpeg.Recoded() ? 1 : 0;
    } catch (const EPdfError&) {
      ++refused;
    }
  };
  for (std::size_t size = 0; size <= good.size(); ++size)
    tryRead(TPdfBytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)));
  for (std::size_t i = 0; i < good.size(); ++i) {
    TPdfBytes bytes = good;
    bytes[i] ^= 0xA5;
    tryRead(bytes);
  }
  EXPECT_GT(recoded, 0);
  EXPECT_GT(refused, 0);
  // Cut inside the entropy-coded data, the file is refused, not recoded
  // with the missing part filled in.
  const TRefusal cut[] = {{"cut at 70%", Prefix(good, 0.7), "Premature end of JPEG file"}};
  ExpectRefused(cut);
}

// Huffman coding of 8-bit data carries a DC difference of up to 2047, while
// an arithmetic-coded file may hold up to 32767. The recoding stops at such a
// coefficient once the markers have been written, however much output there
// is by then (libjpeg's own memory destination replaces its first 4096-byte
// buffer as the output grows): the image is refused with the encoder's
// message, and nothing is freed twice or leaked (AddressSanitizer and
// LeakSanitizer in the sanitizer build). The largest carried value is
// recoded, markers and all.
TEST(JpegImage, RecodingThatStopsPartWayIsRefusedWithNothingLost) {
  const TPdfBytes grey = MakeJpegFixture({8, 8, JCS_GRAYSCALE, false, 90, {}, true, false, {}, true});
  const std::vector<std::size_t> threeComments = {2000, 2000, 2000};
  struct TCase {
    const char* Name;
    TJpegRewriteSpec Spec;
    bool Recoded;
  };
  const TCase cases[] = {
      {"DC 30000, one comment", {30000, true, false, 0, {2000}}, false},
      {"DC 30000, three comments past the first buffer", {30000, true, false, 0, threeComments}, false},
      {"DC -2048, a 60000-byte comment", {-2048, true, false, 0, {60000}}, false},
      {"DC 2048, progressive with restarts", {2048, true, true, 1, threeComments}, false},
      {"DC 2047, three comments", {2047, true, false, 0, threeComments}, true},
      {"DC -2047, progressive with restarts", {-2047, true, true, 1, threeComments}, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TPdfBytes bytes = RewrittenJpegFixture(grey, c.Spec);
    ASSERT_TRUE(FrameMarker(bytes) == 0xC9 || FrameMarker(bytes) == 0xCA) << "not arithmetic-coded";
    try {
      const TJpegImage jpeg(bytes);
      EXPECT_TRUE(c.Recoded) << "accepted";
      EXPECT_TRUE(jpeg.Recoded());
      EXPECT_EQ(ApplicationSegments(jpeg.Bytes()), ApplicationSegments(bytes));
      EXPECT_TRUE(SamePixels(LoadBitmap32FromJpeg(jpeg.Bytes()), LoadBitmap32FromJpeg(bytes)));
    } catch (const EPdfError& e) {
      EXPECT_FALSE(c.Recoded) << e.what();
      EXPECT_STREQ(e.what(), "Invalid JPEG image: DCT coefficient out of range");
    }
  }
}

// `jpeg` with the frame header's marker code set to `marker` and its sample
// precision to `precision`.
TPdfBytes WithFrame(TPdfBytes jpeg, uint8_t marker, uint8_t precision) {
  for (std::size_t i = 0; i + 4 < jpeg.size(); ++i) {
    if (jpeg[i] != 0xFF || (jpeg[i + 1] != 0xC0 && jpeg[i + 1] != 0xC2 && jpeg[i + 1] != 0xC9)) continue;
    jpeg[i + 1] = marker;
    jpeg[i + 4] = precision;
    return jpeg;
  }
  ADD_FAILURE() << "no frame header";
  return jpeg;
}

// What no PDF reader's DCT filter takes is refused before it is decoded,
// naming the reason. No tool here writes such files, so the frame header of
// an ordinary file is changed: the refusal reads only the header.
TEST(JpegImage, RefusesLosslessHierarchicalAndOtherThan8BitSamples) {
  const TPdfBytes good = MakeJpegFixture({16, 8, JCS_RGB, false, 90});
  const TPdfBytes arithmetic = MakeJpegFixture({16, 8, JCS_RGB, false, 90, {}, true, false, {}, true});
  struct TCase {
    const char* Name;
    TPdfBytes Bytes;
    const char* Message;
  };
  const std::string lossless = "Unsupported JPEG image: lossless coding; PDF readers take DCT-coded data only.";
  const std::string hierarchical =
      "Unsupported JPEG image: hierarchical coding; PDF readers take DCT-coded data only.";
  const TCase cases[] = {
      {"12-bit extended", WithFrame(good, 0xC1, 12),
       "Unsupported JPEG image: 12-bit samples; PDF readers take 8-bit samples only."},
      {"12-bit progressive", WithFrame(good, 0xC2, 12),
       "Unsupported JPEG image: 12-bit samples; PDF readers take 8-bit samples only."},
      {"12-bit arithmetic", WithFrame(arithmetic, 0xC9, 12),
       "Unsupported JPEG image: 12-bit samples; PDF readers take 8-bit samples only."},
      {"lossless", WithFrame(good, 0xC3, 8), lossless.c_str()},
      {"16-bit lossless", WithFrame(good, 0xC3, 16), lossless.c_str()},
      {"lossless arithmetic", WithFrame(arithmetic, 0xCB, 8), lossless.c_str()},
      {"hierarchical", WithFrame(good, 0xC5, 8), hierarchical.c_str()},
      {"hierarchical arithmetic", WithFrame(arithmetic, 0xCD, 8), hierarchical.c_str()},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    try {
      TJpegImage jpeg(c.Bytes);
      ADD_FAILURE() << "accepted";
    } catch (const EPdfError& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
  }
}

// The frame header is found by walking the segments from the start, as
// libjpeg does: a frame code inside a comment's text, or after stray bytes,
// is not taken for the frame.
TEST(JpegImage, FindsTheFrameHeaderPastCommentsAndStrayBytes) {
  const TPdfBytes good = MakeJpegFixture({16, 8, JCS_RGB, false, 90});
  // After SOI: a comment holding the bytes of a lossless frame header.
  TPdfBytes comment = good;
  comment.insert(comment.begin() + 2, {0xFF, 0xFE, 0x00, 0x08, 0xFF, 0xC3, 0x00, 0x0B, 0x0C, 0x00});
  // Stray bytes (with a stuffed 0xFF 00) before the first marker after SOI.
  TPdfBytes stray = good;
  stray.insert(stray.begin() + 2, {'x', 0xFF, 0x00, 'y'});
  for (const TPdfBytes& bytes : {comment, stray}) {
    const TJpegImage jpeg(bytes);
    EXPECT_EQ(jpeg.Bytes(), bytes);
    EXPECT_EQ(jpeg.Width(), 16);
  }
  // A real frame after stray bytes, or after a comment whose length is given
  // as 0 (libjpeg reads it as empty), is still found: a 12-bit one is
  // refused for its samples (libjpeg would only say it cannot read it).
  const TPdfBytes twelveBit = WithFrame(good, 0xC1, 12);
  TPdfBytes strayThen12Bit = twelveBit;
  strayThen12Bit.insert(strayThen12Bit.begin() + 2, {'x', 0xFF, 0x00, 'y'});
  TPdfBytes emptyCommentThen12Bit = twelveBit;
  emptyCommentThen12Bit.insert(emptyCommentThen12Bit.begin() + 2, {0xFF, 0xFE, 0x00, 0x00});
  for (const TPdfBytes& bytes : {strayThen12Bit, emptyCommentThen12Bit}) {
    try {
      TJpegImage jpeg(bytes);
      ADD_FAILURE() << "accepted";
    } catch (const EPdfError& e) {
      EXPECT_STREQ(e.what(), "Unsupported JPEG image: 12-bit samples; PDF readers take 8-bit samples only.");
    }
  }
}

TEST(JpegImage, LoadsFromAFileAndReportsAMissingOne) {
  const TTempDir dir;
  const TPdfBytes bytes = MakeJpegFixture({});
  const auto path = dir.Path() / "fixture.jpg";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  EXPECT_EQ(TJpegImage::LoadFromFile(path.string()).Bytes(), bytes);
  EXPECT_THROW(TJpegImage::LoadFromFile((dir.Path() / "missing.jpg").string()), EPdfError);
  // A directory opens but cannot be read: a file error like the others.
  EXPECT_THROW(TJpegImage::LoadFromFile(dir.Path().string()), EPdfError);
}

}  // namespace
