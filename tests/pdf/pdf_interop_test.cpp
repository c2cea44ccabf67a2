// Files written around our objects must satisfy a real PDF reader: qpdf
// checks the structure and decodes (and decrypts) the streams.

#include <gtest/gtest.h>

#include <string>

#include "pdf/pdf_stream.h"
#include "pdf/test_pdf_document.h"

namespace {

std::string Text(const TPdfBytes& bytes) { return std::string(PdfBytesView(bytes)); }

TPdfBytes SampleData(int size) {
  TPdfBytes data;
  for (int i = 0; i < size; ++i) data.push_back(static_cast<std::uint8_t>((i * 31) ^ (i >> 5)));
  return data;
}

// A 2 x 2 RGB image with Flate-compressed samples.
std::unique_ptr<TVPDFImage> SmallImage() {
  auto image = std::make_unique<TVPDFImage>(nullptr, true);
  TVPDFDictionary& dict = image->Dict();
  dict.AddName("Type", "XObject");
  dict.AddName("Subtype", "Image");
  dict.AddName("ColorSpace", "DeviceRGB");
  dict.AddNumber("Width", 2);
  dict.AddNumber("Height", 2);
  dict.AddNumber("BitsPerComponent", 8);
  dict.FindArray("Filter")->Add(std::make_unique<TVPdfName>("FlateDecode"));
  image->Data() = {0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  return image;
}

struct TCase {
  const char* Label;
  TTestEncryption Encryption;
  const char* EncryptionLine;  // expected in qpdf --show-encryption
};
constexpr TCase kCases[] = {
    {"plain", TTestEncryption::None, "File is not encrypted"},
    {"RC4 40-bit, revision 2", TTestEncryption::RC4_40, "R = 2"},
    {"RC4 128-bit, revision 3", TTestEncryption::RC4_128, "R = 3"},
};

TEST(PdfInteropTest, QpdfChecksAndDecodesWrittenFiles) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Label);
    TTempDir dir;
    const std::string file = ShellQuote((dir.Path() / "out.pdf").string());

    TTestPdfDocument doc(c.Encryption);
    auto flate = std::make_unique<TVPdfStream>(&doc);
    flate->Data() = SampleData(20000);
    flate->Dict().FindArray("Filter")->Add(std::make_unique<TVPdfName>("FlateDecode"));
    const TPdfBytes flateData = flate->Data();
    const std::int32_t flateNumber = doc.AddObject(std::move(flate));

    auto plain = std::make_unique<TVPdfStream>(&doc);
    plain->Data() = SampleData(777);
    const TPdfBytes plainData = plain->Data();
    const std::int32_t plainNumber = doc.AddObject(std::move(plain));

    auto empty = std::make_unique<TVPdfStream>(&doc);
    empty->Dict().FindArray("Filter")->Add(std::make_unique<TVPdfName>("FlateDecode"));
    const std::int32_t emptyNumber = doc.AddObject(std::move(empty));

    const std::int32_t imageNumber = doc.AddImageToPage(SmallImage(), 100, 100, 200, 200);
    const TPdfBytes imageData = dynamic_cast<TVPdfStream&>(*doc.GetObject(imageNumber)).Data();

    doc.WriteToFile(dir.Path() / "out.pdf");
    EXPECT_EQ(doc.Write(), doc.Write()) << "writing twice must give the same file";

    const TCommandResult check = RunQpdf("--check " + file);
    EXPECT_EQ(check.ExitCode, 0) << check.Output;
    EXPECT_NE(check.Output.find("No syntax or stream encoding errors found"), std::string::npos)
        << check.Output;
    EXPECT_EQ(check.Output.find("WARNING"), std::string::npos) << check.Output;

    const TCommandResult encryption = RunQpdf("--show-encryption " + file);
    EXPECT_NE(encryption.Output.find(c.EncryptionLine), std::string::npos) << encryption.Output;

    const std::pair<std::int32_t, const TPdfBytes*> streams[] = {
        {flateNumber, &flateData}, {plainNumber, &plainData}, {imageNumber, &imageData}};
    for (const auto& [number, data] : streams) {
      SCOPED_TRACE(number);
      const TCommandResult shown =
          RunQpdf("--show-object=" + std::to_string(number) + " --filtered-stream-data " + file);
      EXPECT_EQ(shown.ExitCode, 0) << shown.Output;
      EXPECT_EQ(shown.Output, Text(*data));
    }
    const TCommandResult shownEmpty =
        RunQpdf("--show-object=" + std::to_string(emptyNumber) + " --filtered-stream-data " + file);
    EXPECT_EQ(shownEmpty.ExitCode, 0) << shownEmpty.Output;
    EXPECT_EQ(shownEmpty.Output, "");
  }
}

// The document's own encryption dictionary must open with the empty user
// password: qpdf reports it and decrypts the page content.
TEST(PdfInteropTest, EncryptedPageContentIsReadable) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.Label);
    TTempDir dir;
    const std::string file = ShellQuote((dir.Path() / "page.pdf").string());
    TTestPdfDocument doc(c.Encryption, c.Label);
    doc.SetPageContent("0 0 1 rg 10 10 50 50 re f\n");
    doc.WriteToFile(dir.Path() / "page.pdf");
    const TCommandResult shown = RunQpdf(
        "--show-object=" + std::to_string(doc.ContentStream().ID()) + " --filtered-stream-data " + file);
    EXPECT_EQ(shown.ExitCode, 0) << shown.Output;
    EXPECT_EQ(shown.Output, "0 0 1 rg 10 10 50 50 re f\n");
    if (c.Encryption != TTestEncryption::None) {
      const TCommandResult info = RunQpdf("--show-encryption " + file);
      EXPECT_NE(info.Output.find("User password = \n"), std::string::npos) << info.Output;
      const TCommandResult owner = RunQpdf("--password=" + std::string(TTestPdfDocument::kOwnerPassword) +
                                           " --show-encryption " + file);
      EXPECT_NE(owner.Output.find("Supplied password is owner password"), std::string::npos)
          << owner.Output;
    }
  }
}

}  // namespace
