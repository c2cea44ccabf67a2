// Every image kind through five PDF readers, one table of images per
// reader: mutool (MuPDF), pdftoppm (poppler) and ghostscript render the page
// at one pixel per image pixel; pdfimages (poppler) and PDF.js (pdfjs-dist
// under node, tests/pdf/pdfjs) decode the image itself. qpdf checks every
// file's syntax and streams. Plain and both encryption strengths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/bitmap32.h"
#include "graphics/bitmap32_io.h"
#include "jpeg_fixture.h"
#include "pdf/jpeg_image.h"
#include "pdf/pdf_bitmap.h"
#include "pdf/pdf_image.h"
#include "test_pdf_document.h"

namespace {

namespace fs = std::filesystem;

using TRgb = TPdfPaletteEntry;

// A decoded PBM (P4), PGM (P5) or PPM (P6) file, as RGB pixels.
struct TPicture {
  int Width = 0;
  int Height = 0;
  std::vector<TRgb> Pixels;
  TRgb At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

// The next header field of a PNM file; comments (ghostscript writes one)
// run from '#' to the end of the line.
std::string PnmField(std::istream& file) {
  file >> std::ws;
  while (file.peek() == '#') {
    std::string comment;
    std::getline(file, comment);
    file >> std::ws;
  }
  std::string field;
  file >> field;
  return field;
}

TPicture ReadPnm(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string magic = PnmField(file);
  const int width = std::atoi(PnmField(file).c_str());
  const int height = std::atoi(PnmField(file).c_str());
  const int maxValue = magic == "P4" ? 1 : std::atoi(PnmField(file).c_str());
  file.get();  // the single white space before the samples
  TPicture picture;
  if (!file || maxValue != (magic == "P4" ? 1 : 255)) return picture;
  picture.Width = width;
  picture.Height = height;
  const std::vector<uint8_t> data{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const std::size_t rowBytes = magic == "P4"   ? (static_cast<std::size_t>(width) + 7) / 8
                               : magic == "P5" ? static_cast<std::size_t>(width)
                                               : static_cast<std::size_t>(width) * 3;
  if (data.size() < rowBytes * height) return {};
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = data.data() + rowBytes * y;
    for (int x = 0; x < width; ++x) {
      if (magic == "P4") {
        const uint8_t v = (row[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255;  // 1 is black
        picture.Pixels.push_back({v, v, v});
      } else if (magic == "P5") {
        picture.Pixels.push_back({row[x], row[x], row[x]});
      } else {
        picture.Pixels.push_back({row[3 * x], row[3 * x + 1], row[3 * x + 2]});
      }
    }
  }
  return picture;
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The first file in `dir` whose name starts with `prefix`.
fs::path FindOutput(const fs::path& dir, const std::string& prefix) {
  for (const auto& entry : fs::directory_iterator(dir))
    if (entry.path().filename().string().rfind(prefix, 0) == 0) return entry.path();
  return {};
}

int ChannelDistance(const TRgb& a, const TRgb& b) {
  return std::max({std::abs(a.Red - b.Red), std::abs(a.Green - b.Green), std::abs(a.Blue - b.Blue)});
}

std::string Describe(const TRgb& c) {
  return "(" + std::to_string(c.Red) + ", " + std::to_string(c.Green) + ", " + std::to_string(c.Blue) + ")";
}

// Every pixel of `picture` within `tolerance` of what `expected` says.
// Returns the number of pixels off (all of them when the size differs).
int ExpectPicture(const TPicture& picture, int width, int height,
                  const std::function<TRgb(int, int)>& expected, int tolerance) {
  EXPECT_EQ(picture.Width, width);
  EXPECT_EQ(picture.Height, height);
  if (picture.Width != width || picture.Height != height) return width * height;
  int mismatches = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (ChannelDistance(picture.At(x, y), expected(x, y)) > tolerance && ++mismatches <= 3)
        ADD_FAILURE() << "pixel " << x << "," << y << " is " << Describe(picture.At(x, y)) << ", expected "
                      << Describe(expected(x, y));
  EXPECT_EQ(mismatches, 0) << "pixels off";
  return mismatches;
}

bool Installed(const std::string& check) { return RunCommand(check).ExitCode == 0; }

// The PDF.js reader: a node script and the pdfjs-dist package that
// .ci/install-deps installs beside it with npm ci.
fs::path PdfjsDir() { return fs::path(TEST_DATA_DIR).parent_path() / "pdfjs"; }

std::string PdfjsCheck() {
  return "command -v node && test -f " +
         ShellQuote((PdfjsDir() / "node_modules/pdfjs-dist/package.json").string());
}

constexpr TTestEncryption kEncryptions[] = {TTestEncryption::None, TTestEncryption::RC4_40,
                                            TTestEncryption::RC4_128};

const char* Name(TTestEncryption e) {
  return e == TTestEncryption::None ? "plain" : e == TTestEncryption::RC4_40 ? "RC4 40" : "RC4 128";
}

// One image on a page of its size.
struct TRoundTrip {
  std::string Builder;  // alias in the class registry
  const TPdfGraphic* Graphic = nullptr;
  bool IsMask = false;
  // How each pixel looks on the page (a mask paints black over white).
  std::function<TRgb(int, int)> Looks;
  // The largest difference per channel allowed: DCT rounding for JPEGs,
  // which each reader decodes with its own inverse DCT and upsampling.
  int Tolerance = 0;
  // Poppler's renderer resamples even at one pixel per image pixel, so its
  // page is compared only for flat pictures; pdfimages checks its decoding.
  bool FlatPicture = false;
  std::string Name = "";
};

enum class TReaderKind { Mutool, Pdftoppm, Pdfimages, Ghostscript, Pdfjs };

struct TReader {
  const char* Name;
  TReaderKind Kind;
  std::string InstalledCheck;
};

std::string PrintReader(const testing::TestParamInfo<TReader>& info) { return info.param.Name; }
// Names the reader in test listings rather than dumping its bytes.
void PrintTo(const TReader& reader, std::ostream* out) { *out << reader.Name; }

// A written file and what the reader made of it.
struct TFile {
  const TRoundTrip* Trip;
  std::string Label;
  fs::path Pdf;
};

class PdfImageReaders : public testing::TestWithParam<TReader> {
 protected:
  void SetUp() override {
    // The set-up (.ci/install-deps) installs every reader, so a missing one
    // fails rather than skips, whoever runs the tests: a run cannot pass
    // without the readers it checks against. A fatal failure in SetUp skips
    // the test body.
    if (!Installed("command -v qpdf") || !Installed(GetParam().InstalledCheck))
      FAIL() << "qpdf or " << GetParam().Name << " not installed (bash .ci/install-deps installs them)";
    RegisterPdfImageBuilders();
  }

  // Writes every image of `trips` in every encryption, checks each file with
  // qpdf, has the reader show them and compares each with how it looks.
  void CheckTable(const std::vector<TRoundTrip>& trips) {
    std::vector<TFile> files;
    for (const TTestEncryption encryption : kEncryptions)
      for (const TRoundTrip& trip : trips) {
        const std::string stem = "image" + std::to_string(files.size());
        files.push_back({&trip, stem + " " + trip.Name + " " + trip.Builder + " " + Name(encryption),
                         Write(trip, encryption, stem)});
      }
    const std::vector<TPicture> pictures = Read(files);
    for (std::size_t i = 0; i < files.size(); ++i) {
      const TRoundTrip& trip = *files[i].Trip;
      SCOPED_TRACE(files[i].Label + " in " + GetParam().Name);
      if (GetParam().Kind == TReaderKind::Pdftoppm && !trip.FlatPicture) continue;
      const int off = ExpectPicture(pictures[i], trip.Graphic->Width(), trip.Graphic->Height(),
                                    ReaderLooks(trip), trip.Tolerance);
      // The figures go to the XML report (--gtest_output=xml).
      if (off != 0) RecordProperty(files[i].Pdf.stem().string() + "_pixels_off", off);
    }
  }

  fs::path Write(const TRoundTrip& trip, TTestEncryption encryption, const std::string& stem) {
    TTestPdfDocument document(encryption);
    const int w = trip.Graphic->Width(), h = trip.Graphic->Height();
    document.SetPageSize(w, h);
    document.AddImageToPage(ClassRegistry()
                                .Create<TVPDFImageBlock>(trip.Builder)
                                ->CreateImage(*trip.Graphic, trip.IsMask, -1, nullptr),
                            0, 0, w, h);
    const fs::path pdf = FDir.Path() / (stem + ".pdf");
    document.WriteToFile(pdf);
    const TCommandResult check = RunQpdf("--check " + ShellQuote(pdf.string()));
    EXPECT_EQ(check.ExitCode, 0) << stem << ": " << check.Output;
    EXPECT_NE(check.Output.find("No syntax or stream encoding errors found"), std::string::npos)
        << stem << ": " << check.Output;
    return pdf;
  }

  // pdfimages writes a stencil mask's samples as they are, and a PBM shows a
  // 1 as black: the painted (0) pixels come out white, the negative of how
  // the mask looks on the page.
  std::function<TRgb(int, int)> ReaderLooks(const TRoundTrip& trip) const {
    if (GetParam().Kind != TReaderKind::Pdfimages || !trip.IsMask) return trip.Looks;
    return [&trip](int x, int y) {
      const TRgb looks = trip.Looks(x, y);
      return TRgb{static_cast<uint8_t>(255 - looks.Red), static_cast<uint8_t>(255 - looks.Green),
                  static_cast<uint8_t>(255 - looks.Blue)};
    };
  }

  // The reader's picture of each file; an empty picture where it made none.
  // Each run must succeed without a word of warning.
  std::vector<TPicture> Read(const std::vector<TFile>& files) {
    std::vector<TPicture> pictures;
    if (GetParam().Kind == TReaderKind::Pdfjs) {
      // One node process for the whole table: starting PDF.js costs more
      // than decoding a small image.
      std::string command = "node " + ShellQuote((PdfjsDir() / "decode.mjs").string());
      for (const TFile& file : files) command += " " + ShellQuote(file.Pdf.string());
      const TCommandResult run = RunCommand(command);
      EXPECT_EQ(run.ExitCode, 0) << run.Output;
      EXPECT_EQ(run.Output, "") << "PDF.js warned";
      for (const TFile& file : files) pictures.push_back(ReadPnm(file.Pdf.string() + ".pdfjs.ppm"));
      return pictures;
    }
    for (const TFile& file : files) {
      const std::string pdf = ShellQuote(file.Pdf.string());
      const fs::path out = FDir.Path() / (file.Pdf.stem().string() + "-out");
      std::string command;
      switch (GetParam().Kind) {
        case TReaderKind::Mutool:
          command = "mutool draw -N -q -r 72 -c rgb -o " + ShellQuote(out.string() + ".pnm") + " " + pdf;
          break;
        case TReaderKind::Pdftoppm: command = "pdftoppm -r 72 " + pdf + " " + ShellQuote(out.string()); break;
        case TReaderKind::Pdfimages: command = "pdfimages " + pdf + " " + ShellQuote(out.string()); break;
        case TReaderKind::Ghostscript:
          command = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r72 -sOutputFile=" +
                    ShellQuote(out.string() + ".ppm") + " " + pdf;
          break;
        case TReaderKind::Pdfjs: break;
      }
      const TCommandResult run = RunCommand(command);
      EXPECT_EQ(run.ExitCode, 0) << file.Label << ": " << run.Output;
      EXPECT_EQ(run.Output, "") << file.Label << ": " << GetParam().Name << " warned";
      const fs::path made = FindOutput(FDir.Path(), out.filename().string());
      pictures.push_back(made.empty() ? TPicture{} : ReadPnm(made));
    }
    return pictures;
  }

  TTempDir FDir;
};

INSTANTIATE_TEST_SUITE_P(
    Readers, PdfImageReaders,
    testing::Values(TReader{"mutool", TReaderKind::Mutool, "command -v mutool"},
                    TReader{"pdftoppm", TReaderKind::Pdftoppm, "command -v pdftoppm"},
                    TReader{"pdfimages", TReaderKind::Pdfimages, "command -v pdfimages"},
                    TReader{"ghostscript", TReaderKind::Ghostscript, "command -v gs"},
                    TReader{"pdfjs", TReaderKind::Pdfjs, PdfjsCheck()}),
    PrintReader);

TPdfBitmap Colourful(int width, int height, TPdfPixelFormat format) {
  TPdfBitmap bitmap(width, height, format);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t rgb = static_cast<uint32_t>((x * 37 + y * 11) % 256) << 16 |
                           static_cast<uint32_t>((x * 5 + y * 71) % 256) << 8 |
                           static_cast<uint32_t>((x * y * 13 + 7) % 256);
      const uint32_t alpha =
          format == TPdfPixelFormat::pf32bit ? static_cast<uint32_t>(x * 40 % 256) << 24 : 0;
      bitmap.SetPixel(x, y, rgb | alpha);
    }
  return bitmap;
}

TPdfBitmap Indexed(int width, int height, TPdfPixelFormat format, int paletteSize) {
  TPdfBitmap bitmap(width, height, format);
  std::vector<TPdfPaletteEntry> palette;
  for (int i = 0; i < paletteSize; ++i)
    palette.push_back(
        {static_cast<uint8_t>(i * 53), static_cast<uint8_t>(255 - i * 17), static_cast<uint8_t>(i * 101)});
  bitmap.SetPalette(palette);
  const uint32_t entries = 1u << BitsPerPixel(format);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, static_cast<uint32_t>(x + 3 * y) % entries);
  return bitmap;
}

// A 1-bit picture: a frame, a diagonal and a few long runs, with the palette
// given (entry 0 first).
TPdfBitmap Fax(int width, int height, TRgb entry0, TRgb entry1) {
  TPdfBitmap bitmap(width, height, TPdfPixelFormat::pf1bit);
  bitmap.SetPalette({entry0, entry1});
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool mark =
          x == 0 || y == 0 || x == width - 1 || y == height - 1 || x == y || (y % 7 == 3 && x > width / 3);
      bitmap.SetPixel(x, y, mark ? 0 : 1);
    }
  return bitmap;
}

std::function<TRgb(int, int)> LooksLike(const TPdfBitmap& bitmap) {
  return [&bitmap](int x, int y) { return bitmap.PixelColor(x, y); };
}

std::function<TRgb(int, int)> LooksLike(const TBitmap32& bitmap) {
  return [&bitmap](int x, int y) {
    const TColor32 c = bitmap.Pixel(x, y);
    return TRgb{static_cast<uint8_t>(RedComponent(c)), static_cast<uint8_t>(GreenComponent(c)),
                static_cast<uint8_t>(BlueComponent(c))};
  };
}

// Dark pixels of a mask paint the default black; the rest shows white paper.
std::function<TRgb(int, int)> MaskLooks(const TPdfBitmap& bitmap) {
  return [&bitmap](int x, int y) {
    const TRgb c = bitmap.PixelColor(x, y);
    const bool dark = 299 * c.Red + 587 * c.Green + 114 * c.Blue < 128000;
    return dark ? TRgb{0, 0, 0} : TRgb{255, 255, 255};
  };
}

TEST_P(PdfImageReaders, BitmapsShowTheirPixels) {
  const TPdfBitmap rgb = Colourful(13, 7, TPdfPixelFormat::pf24bit);
  const TPdfBitmap rgba = Colourful(9, 4, TPdfPixelFormat::pf32bit);
  const TPdfBitmap nibbles = Indexed(11, 5, TPdfPixelFormat::pf4bit, 16);
  const TPdfBitmap bytes =
      Indexed(21, 6, TPdfPixelFormat::pf8bit, 200);  // indexes beyond the palette are black
  const TPdfBitmap bits = Fax(19, 9, {200, 30, 40}, {10, 250, 90});
  CheckTable({
      {"VPDFBitmap", &rgb, false, LooksLike(rgb), 0, false, "24 bits"},
      {"VPDFBitmap", &rgba, false, LooksLike(rgba), 0, false, "32 bits"},
      {"VPDFBitmap", &nibbles, false, LooksLike(nibbles), 0, false, "4 bits"},
      {"VPDFBitmap", &bytes, false, LooksLike(bytes), 0, false, "8 bits"},
      {"VPDFBitmap", &bits, false, LooksLike(bits), 0, false, "1 bit"},
  });
}

TEST_P(PdfImageReaders, FaxImagesShowAsTheyLook) {
  const TPdfBitmap blackFirst = Fax(61, 23, {0, 0, 0}, {255, 255, 255});
  const TPdfBitmap whiteFirst = Fax(61, 23, {255, 255, 255}, {0, 0, 0});
  // Wider than one white make-up code (1728) and the extended codes.
  const TPdfBitmap wide = Fax(2700, 3, {0, 0, 0}, {255, 255, 255});
  // A fax page width; a reader that waits for an end-of-block code after the
  // last row of Group 3 data shows that row wrongly.
  const TPdfBitmap page = Fax(1728, 40, {255, 255, 255}, {0, 0, 0});
  std::vector<TRoundTrip> trips;
  for (const char* builder : {"VPDFCCITT31", "VPDFCCITT32", "VPDFCCITT4"})
    for (const auto& [bitmap, name] : {std::pair{&blackFirst, "black first"}, std::pair{&whiteFirst, "white first"},
                                       std::pair{&wide, "2700 wide"}, std::pair{&page, "1728 x 40 white first"}})
      trips.push_back({builder, bitmap, false, LooksLike(*bitmap), 0, false, name});
  CheckTable(trips);
}

TEST_P(PdfImageReaders, MasksPaintTheirDarkPixels) {
  const TPdfBitmap rgb = Colourful(17, 6, TPdfPixelFormat::pf24bit);
  const TPdfBitmap whiteFirst = Fax(20, 11, {255, 255, 255}, {0, 0, 0});
  CheckTable({
      {"VPDFBitmap", &rgb, true, MaskLooks(rgb), 0, false, "24 bits"},
      {"VPDFBitmap", &whiteFirst, true, MaskLooks(whiteFirst), 0, false, "1 bit"},
      {"VPDFCCITT4", &whiteFirst, true, MaskLooks(whiteFirst), 0, false, "1 bit"},
      {"VPDFCCITT31", &whiteFirst, true, MaskLooks(whiteFirst), 0, false, "1 bit"},
  });
}

TPdfBytes ReadTestFile(const std::string& name) { return ReadFile(fs::path(TEST_DATA_DIR) / name); }

// The readers built on libjpeg (MuPDF, poppler, ghostscript) show the
// recoded arithmetic fixtures exactly as libjpeg decodes the originals;
// PDF.js's own decoder upsamples the 4:2:0 chroma its own way, within 4.
constexpr int kArithmeticTolerance = 4;

TEST_P(PdfImageReaders, JpegsShowInTheirColourSpace) {
  const auto flat = [](TRgb looks) { return [looks](int, int) { return looks; }; };
  const TJpegImage rgb(MakeJpegFixture({24, 16, JCS_RGB, false, 95, {200, 40, 90}}));
  const TJpegImage progressive(MakeJpegFixture({24, 16, JCS_RGB, true, 95, {30, 160, 220}}));
  const TJpegImage grey(MakeJpegFixture({24, 16, JCS_GRAYSCALE, false, 95, {77}}));
  // Pure cyan, stored inverted as the Adobe marker says (255 is no ink);
  // read as plain CMYK it would come out black.
  const TJpegImage cmyk(MakeJpegFixture({24, 16, JCS_CMYK, false, 95, {0, 255, 255, 255}}));
  // Arithmetic-coded files, as cjpeg -arithmetic writes them; each reader
  // must show what libjpeg decodes from the file.
  const TPdfBytes arithmeticBytes[] = {ReadTestFile("arithmetic.jpg"), ReadTestFile("arithmetic-progressive.jpg"),
                                       ReadTestFile("arithmetic-grey.jpg")};
  const TJpegImage arithmetic[] = {TJpegImage(arithmeticBytes[0]), TJpegImage(arithmeticBytes[1]),
                                   TJpegImage(arithmeticBytes[2])};
  const TBitmap32 decoded[] = {LoadBitmap32FromJpeg(arithmeticBytes[0]), LoadBitmap32FromJpeg(arithmeticBytes[1]),
                               LoadBitmap32FromJpeg(arithmeticBytes[2])};
  CheckTable({
      {"VPDFJpeg", &rgb, false, flat({200, 40, 90}), 4, true, "rgb"},
      {"VPDFJpeg", &progressive, false, flat({30, 160, 220}), 4, true, "progressive rgb"},
      {"VPDFJpeg", &grey, false, flat({77, 77, 77}), 4, true, "grey"},
      // The readers' conversions of CMYK to RGB differ: process cyan is
      // (0, 255, 255) in MuPDF without colour management and about
      // (0, 172, 239) in poppler.
      {"VPDFJpeg", &cmyk, false, flat({0, 255, 255}), 100, true, "cmyk"},
      {"VPDFJpeg", &arithmetic[0], false, LooksLike(decoded[0]), kArithmeticTolerance, false, "arithmetic"},
      {"VPDFJpeg", &arithmetic[1], false, LooksLike(decoded[1]), kArithmeticTolerance, false,
       "arithmetic progressive"},
      {"VPDFJpeg", &arithmetic[2], false, LooksLike(decoded[2]), kArithmeticTolerance, false, "arithmetic grey"},
  });
}

// pdfimages -j writes a JPEG image's data as embedded.
class PdfImageInterop : public testing::Test {
 protected:
  void SetUp() override {
    if (!Installed("command -v pdfimages"))
      FAIL() << "poppler-utils not installed (bash .ci/install-deps installs it)";
    RegisterPdfImageBuilders();
  }

  TTempDir FDir;
};

// The image data is the JPEG as TJpegImage holds it: the file as given, or
// the recoding of an arithmetic-coded one.
TEST_F(PdfImageInterop, JpegBytesAreExtractedAsEmbedded) {
  const TJpegImage jpegs[] = {
      TJpegImage(MakeJpegFixture({24, 16, JCS_RGB, false, 95, {200, 40, 90}})),
      TJpegImage(MakeJpegFixture({24, 16, JCS_RGB, true, 95, {30, 160, 220}})),
      TJpegImage(MakeJpegFixture({24, 16, JCS_GRAYSCALE, false, 95, {77}})),
      TJpegImage(MakeJpegFixture({24, 16, JCS_CMYK, false, 95, {0, 255, 255, 255}})),
      TJpegImage(ReadTestFile("arithmetic.jpg")),
  };
  int n = 0;
  for (const TTestEncryption encryption : kEncryptions)
    for (const TJpegImage& jpeg : jpegs) {
      const std::string stem = "jpeg" + std::to_string(n++);
      SCOPED_TRACE(stem + " " + Name(encryption));
      TTestPdfDocument document(encryption);
      document.SetPageSize(jpeg.Width(), jpeg.Height());
      document.AddImageToPage(TVPDFDocJpegImage().CreateImage(jpeg, false, -1, nullptr), 0, 0, jpeg.Width(),
                              jpeg.Height());
      const fs::path pdf = FDir.Path() / (stem + ".pdf");
      document.WriteToFile(pdf);
      const fs::path root = FDir.Path() / (stem + "-img");
      const TCommandResult run =
          RunCommand("pdfimages -j " + ShellQuote(pdf.string()) + " " + ShellQuote(root.string()));
      EXPECT_EQ(run.ExitCode, 0) << run.Output;
      EXPECT_EQ(run.Output, "") << "pdfimages warned";
      const fs::path extracted = FindOutput(FDir.Path(), stem + "-img");
      EXPECT_EQ(extracted.extension(), ".jpg");
      EXPECT_EQ(ReadFile(extracted), jpeg.Bytes());
    }
}

// Ink coverage of a CMYK test picture: cyan across, magenta down, yellow
// along the diagonal, and no black. Without black, MuPDF's conversion to RGB
// without colour management (red = 1 - min(1, C + K)) and the bitmap
// decoder's (red = (1 - C)(1 - K)) agree, so its rendering must match the
// decoder's picture to the sample.
std::vector<uint8_t> InkPattern(int width, int height) {
  std::vector<uint8_t> ink;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      ink.push_back(static_cast<uint8_t>(x * 255 / (width - 1)));
      ink.push_back(static_cast<uint8_t>(y * 255 / (height - 1)));
      ink.push_back(static_cast<uint8_t>((x + y) * 255 / (width + height - 2)));
      ink.push_back(0);
    }
  return ink;
}

// The mean difference per channel over every pixel between a rendering and
// the bitmap decoder's picture of the same file; a large number when the
// sizes differ.
double MeanChannelDifference(const TPicture& picture, const TBitmap32& bitmap) {
  if (picture.Width != bitmap.Width() || picture.Height != bitmap.Height() || picture.Pixels.empty())
    return 1e9;
  long total = 0;
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x) {
      const TRgb p = picture.At(x, y);
      const TColor32 c = bitmap.Pixel(x, y);
      total += std::abs(p.Red - static_cast<int>(RedComponent(c))) +
               std::abs(p.Green - static_cast<int>(GreenComponent(c))) +
               std::abs(p.Blue - static_cast<int>(BlueComponent(c)));
    }
  return static_cast<double>(total) / (3.0 * picture.Width * picture.Height);
}

// Four-component JPEGs: files with the Adobe marker hold inverted CMYK (what
// Photoshop, ImageMagick and Pillow write), files without it plain CMYK;
// arithmetic-coded ones are recoded. Every reader must show what the bitmap
// decoder reads from the same bytes, not its negative. The bound is the
// largest mean difference per channel: MuPDF decodes the same samples and
// converts them as the decoder does (see above); poppler, ghostscript and
// PDF.js convert CMYK with their own profiles (process cyan is about
// (0, 172, 239) in poppler), 17 to 22 levels off on average. A negative is
// more than 100 levels off in every reader.
TEST_P(PdfImageReaders, CmykJpegsShowAsTheBitmapDecoderReadsThem) {
  constexpr int kWidth = 48, kHeight = 32;
  const std::vector<uint8_t> ink = InkPattern(kWidth, kHeight);
  std::vector<uint8_t> inverted = ink;
  for (uint8_t& sample : inverted) sample = static_cast<uint8_t>(255 - sample);
  const TJpegFixtureSpec specs[] = {
      {kWidth, kHeight, JCS_CMYK, false, 95, {}, true, false, inverted},
      {kWidth, kHeight, JCS_CMYK, false, 95, {}, true, true, inverted},
      {kWidth, kHeight, JCS_CMYK, false, 95, {}, false, false, ink},
      {kWidth, kHeight, JCS_CMYK, false, 95, {}, true, false, inverted, true},
      {kWidth, kHeight, JCS_CMYK, true, 95, {}, true, true, inverted, true},
      {kWidth, kHeight, JCS_CMYK, false, 95, {}, false, false, ink, true},
  };
  std::vector<TJpegImage> jpegs;
  for (const TJpegFixtureSpec& spec : specs) jpegs.emplace_back(MakeJpegFixture(spec));
  std::vector<TFile> files;
  for (const TJpegImage& jpeg : jpegs) {
    const std::string stem = "cmyk" + std::to_string(files.size());
    const TRoundTrip trip{"VPDFJpeg", &jpeg, false, nullptr, 0, false, stem};
    files.push_back({nullptr, stem, Write(trip, TTestEncryption::None, stem)});
  }
  const std::vector<TPicture> pictures = Read(files);
  for (std::size_t i = 0; i < files.size(); ++i) {
    const double difference = MeanChannelDifference(pictures[i], LoadBitmap32FromJpeg(jpegs[i].Bytes()));
    RecordProperty(files[i].Label + "_mean_difference", std::to_string(difference));
    EXPECT_LT(difference, GetParam().Kind == TReaderKind::Mutool ? 2 : 40)
        << files[i].Label << (jpegs[i].Recoded() ? " recoded" : "");
  }
}

}  // namespace
