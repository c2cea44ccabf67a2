#include "pdf/jpeg_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <span>
#include <string>

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
