#include "pdf/jpeg_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
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

// libjpeg's default error handler ends the process; these must come back as
// exceptions carrying the decoder's reason.
TEST(JpegImage, RejectsBytesThatAreNotAJpegWithAClearError) {
  const TPdfBytes good = MakeJpegFixture({});
  struct TCase {
    const char* Name;
    TPdfBytes Bytes;
    const char* Reason;
  };
  const TCase cases[] = {
      {"empty", {}, "no data"},
      {"png signature", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, "Not a JPEG file"},
      {"only SOI", {0xFF, 0xD8}, ""},
      {"cut inside the header", TPdfBytes(good.begin(), good.begin() + 40), ""},
  };
  for (const TCase& c : cases) {
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

TEST(JpegImage, LoadsFromAFileAndReportsAMissingOne) {
  const TTempDir dir;
  const TPdfBytes bytes = MakeJpegFixture({});
  const auto path = dir.Path() / "fixture.jpg";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  EXPECT_EQ(TJpegImage::LoadFromFile(path.string()).Bytes(), bytes);
  EXPECT_THROW(TJpegImage::LoadFromFile((dir.Path() / "missing.jpg").string()), EPdfError);
}

}  // namespace
