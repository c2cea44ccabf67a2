#include "pdf/pdf_stream.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "pdf/md5.h"
#include "pdf/pdf_error.h"
#include "pdf/pdf_flate.h"
#include "pdf/rc4.h"

namespace {

std::string Text(const TPdfBytes& bytes) { return std::string(PdfBytesView(bytes)); }

TPdfBytes Bytes(std::string_view text) { return TPdfBytes(text.begin(), text.end()); }

std::string Written(const TVPdfObject& obj) {
  TPdfBytes out;
  obj.SaveToStream(out);
  return Text(out);
}

TPdfBytes Inflate(const TPdfBytes& data) {
  z_stream zs{};
  EXPECT_EQ(inflateInit(&zs), Z_OK);
  TPdfBytes out(data.size() * 4 + 1024);
  zs.next_in = const_cast<Bytef*>(data.data());
  zs.avail_in = static_cast<uInt>(data.size());
  int status = Z_OK;
  while (status == Z_OK) {
    if (zs.total_out == out.size()) out.resize(out.size() * 2);
    zs.next_out = out.data() + zs.total_out;
    zs.avail_out = static_cast<uInt>(out.size() - zs.total_out);
    status = inflate(&zs, Z_FINISH);
    if (status == Z_BUF_ERROR && zs.avail_out == 0) status = Z_OK;
  }
  EXPECT_EQ(status, Z_STREAM_END);
  EXPECT_EQ(zs.avail_in, 0u) << "trailing bytes after the zlib stream";
  out.resize(zs.total_out);
  inflateEnd(&zs);
  return out;
}

// Splits a written stream into its dictionary text and its body.
struct TParts {
  std::string Dict;
  TPdfBytes Body;
};
TParts Split(const std::string& written) {
  const std::string open = "\r\nstream\r\n", close = "\nendstream";
  const std::size_t start = written.find(open);
  EXPECT_NE(start, std::string::npos);
  EXPECT_TRUE(written.ends_with(close));
  const std::size_t bodyStart = start + open.size();
  return {written.substr(0, start),
          Bytes(std::string_view(written).substr(bodyStart, written.size() - close.size() - bodyStart))};
}

class TFakeDocument : public TVPdfDocument {
 public:
  TFakeDocument(bool encrypt, bool use128) : FSettings{encrypt, use128} {
    for (std::size_t i = 0; i < FKey.size(); ++i) FKey[i] = static_cast<std::uint8_t>(0xA0 + i);
  }
  const TPdfFileKey& FileKey() const override { return FKey; }
  TVPdfSecuritySettings SecuritySettings() const override { return FSettings; }

 private:
  TPdfFileKey FKey;
  TVPdfSecuritySettings FSettings;
};

TPdfBytes SampleData() {
  TPdfBytes data;
  for (int i = 0; i < 5000; ++i) data.push_back(static_cast<std::uint8_t>((i * 7) % 13 + (i / 100)));
  return data;
}

TEST(PdfStreamTest, NewStreamDictionaryAndPlainBody) {
  TVPdfStream plain;
  EXPECT_EQ(Written(plain.Dict()), "<<\r\n/Length 0\r\n/Filter []\r\n>>");
  EXPECT_EQ(plain.Document(), nullptr);
  TVPDFImage image(nullptr, true);
  EXPECT_EQ(Written(image.Dict()), "<<\r\n/Length 0\r\n/Filter []\r\n/DecodeParms []\r\n>>");

  plain.Data() = Bytes("abc");
  EXPECT_EQ(Written(plain), "<<\r\n/Length 3\r\n/Filter []\r\n>>\r\nstream\r\nabc\nendstream");
  EXPECT_EQ(Text(plain.Data()), "abc");

  TVPdfStream empty;
  EXPECT_EQ(Written(empty), "<<\r\n/Length 0\r\n/Filter []\r\n>>\r\nstream\r\n\nendstream");
}

TEST(PdfStreamTest, FlateRoundTripAndLength) {
  for (const TPdfBytes& data : {TPdfBytes{}, Bytes("x"), SampleData()}) {
    SCOPED_TRACE(data.size());
    TVPdfStream stream;
    stream.Data() = data;
    stream.Dict().FindArray("Filter")->Add(std::make_unique<TVPdfName>("FlateDecode"));
    const std::string first = Written(stream);
    const TParts parts = Split(first);
    EXPECT_EQ(stream.Dict().FindNumber("Length")->Value, static_cast<int>(parts.Body.size()));
    EXPECT_EQ(parts.Dict, "<<\r\n/Length " + std::to_string(parts.Body.size()) +
                              "\r\n/Filter [/FlateDecode ]\r\n>>");
    EXPECT_EQ(Inflate(parts.Body), data);
    // zlib header of a 32K window at the highest level.
    ASSERT_GE(parts.Body.size(), 2u);
    EXPECT_EQ(parts.Body[0], 0x78);
    EXPECT_EQ(parts.Body[1], 0xDA);
    EXPECT_EQ(stream.Data(), data);
    EXPECT_EQ(Written(stream), first);
  }
}

TEST(PdfStreamTest, OtherFiltersDoNotEncode) {
  TVPdfStream stream;
  stream.Data() = Bytes("jpegbytes");
  stream.Dict().FindArray("Filter")->Add(std::make_unique<TVPdfName>("DCTDecode"));
  EXPECT_EQ(Split(Written(stream)).Body, Bytes("jpegbytes"));
  // Flate ahead of another filter: deflated last, decoded first.
  TVPdfStream chained;
  chained.Data() = Bytes("faxbytes");
  auto* filters = chained.Dict().FindArray("Filter");
  filters->Add(std::make_unique<TVPdfName>("FlateDecode"));
  filters->Add(std::make_unique<TVPdfName>("CCITTFaxDecode"));
  EXPECT_EQ(Inflate(Split(Written(chained)).Body), Bytes("faxbytes"));
}

TEST(PdfStreamTest, FlateAfterAnotherFilterIsRefused) {
  TVPdfStream stream;
  stream.Data() = Bytes("data");
  auto* filters = stream.Dict().FindArray("Filter");
  filters->Add(std::make_unique<TVPdfName>("DCTDecode"));
  filters->Add(std::make_unique<TVPdfName>("FlateDecode"));
  TPdfBytes out;
  EXPECT_THROW(stream.WriteValue(out), EPdfError);
  EXPECT_TRUE(out.empty());

  TVPdfStream twice;
  twice.Dict().FindArray("Filter")->Add(std::make_unique<TVPdfName>("FlateDecode"));
  twice.Dict().FindArray("Filter")->Add(std::make_unique<TVPdfName>("FlateDecode"));
  EXPECT_THROW(twice.WriteValue(out), EPdfError);
}

TEST(PdfStreamTest, MissingOrRetypedLengthAndFilter) {
  struct TCase {
    const char* Label;
    void (*Change)(TVPDFDictionary&);
    std::string WantDict;
  };
  const TCase cases[] = {
      {"Length removed", [](TVPDFDictionary& d) { d.RemoveKey("Length"); },
       "<<\r\n/Filter []\r\n/Length 3\r\n>>"},
      {"Length is a name", [](TVPDFDictionary& d) { d.AddName("Length", "Oops"); },
       "<<\r\n/Filter []\r\n/Length 3\r\n>>"},
      {"Length hidden", [](TVPDFDictionary& d) { d.GetAtom(0).Hidden = true; },
       "<<\r\n/Filter []\r\n/Length 3\r\n>>"},
      {"Length is indirect",
       [](TVPDFDictionary& d) { d.AddValue("Length", *TVPdfEmptyObject::CreateRef(9)); },
       "<<\r\n/Filter []\r\n/Length 3\r\n>>"},
      {"Filter removed", [](TVPDFDictionary& d) { d.RemoveKey("Filter"); }, "<<\r\n/Length 3\r\n>>"},
      {"Filter is a number", [](TVPDFDictionary& d) { d.AddNumber("Filter", 5); },
       "<<\r\n/Length 3\r\n/Filter 5\r\n>>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Label);
    TVPdfStream stream;
    stream.Data() = Bytes("abc");
    c.Change(stream.Dict());
    const TParts parts = Split(Written(stream));
    EXPECT_EQ(parts.Dict, c.WantDict);
    EXPECT_EQ(parts.Body, Bytes("abc"));
  }
  // A single filter name is a one-entry list.
  TVPdfStream named;
  named.Data() = Bytes("abc");
  named.Dict().AddName("Filter", "FlateDecode");
  EXPECT_EQ(Inflate(Split(Written(named)).Body), Bytes("abc"));
}

TEST(PdfStreamTest, ObjectKeyFollowsTheStandardSecurityHandler) {
  TPdfFileKey fileKey;
  for (std::size_t i = 0; i < fileKey.size(); ++i) fileKey[i] = static_cast<std::uint8_t>(i + 1);
  struct TCase {
    bool Use128;
    std::int32_t Number;
    std::vector<std::uint8_t> Buffer;  // what MD5 must see
  };
  const TCase cases[] = {
      {false, 0x123456, {1, 2, 3, 4, 5, 0x56, 0x34, 0x12, 0, 0}},
      {false, 0x7F123456, {1, 2, 3, 4, 5, 0x56, 0x34, 0x12, 0, 0}},  // only the low three bytes
      {false, 1, {1, 2, 3, 4, 5, 1, 0, 0, 0, 0}},
      {true, 0x123456, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 0x56, 0x34, 0x12, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Number) + (c.Use128 ? " 128" : " 40"));
    TMD5Digest digest;
    MD5Buffer(c.Buffer.data(), c.Buffer.size(), digest);
    const TPdfBytes want(digest.begin(), digest.begin() + (c.Use128 ? 16 : 10));
    EXPECT_EQ(PdfObjectKey(fileKey, c.Use128, c.Number), want);
  }
  EXPECT_THROW(PdfObjectKey(fileKey, false, 0), EPdfAssertionFailed);
}

TEST(PdfStreamTest, EncryptedStreamDecryptsToCompressedData) {
  for (const bool use128 : {false, true}) {
    SCOPED_TRACE(use128 ? "128-bit" : "40-bit");
    const TFakeDocument document(true, use128);
    TVPdfStream stream;
    TVPdfNumbering::MakeIndirect(stream, 0x123456);
    stream.SetDocument(&document);
    stream.Data() = SampleData();
    stream.Dict().FindArray("Filter")->Add(std::make_unique<TVPdfName>("FlateDecode"));

    EXPECT_EQ(Written(stream), "1193046 0 R");  // where it is used
    TPdfBytes written;
    stream.WriteValue(written);
    const TParts parts = Split(Text(written));
    EXPECT_EQ(stream.Dict().FindNumber("Length")->Value, static_cast<int>(parts.Body.size()));

    TPdfBytes body = parts.Body;
    const TPdfBytes key = PdfObjectKey(document.FileKey(), use128, stream.ID());
    TRC4State state;
    RC4Init(state, key.data(), key.size());
    RC4Crypt(state, body.data(), body.data(), body.size());
    EXPECT_EQ(body, PdfFlateCompress(stream.Data()));
    EXPECT_EQ(Inflate(body), stream.Data());

    TPdfBytes again;
    stream.WriteValue(again);
    EXPECT_EQ(again, written) << "a second write must give the same bytes";
  }
}

TEST(PdfStreamTest, EncryptionOnlyWhenTheDocumentAsks) {
  const TFakeDocument off(false, true);
  TVPdfStream stream;
  TVPdfNumbering::MakeIndirect(stream, 4);
  stream.Data() = Bytes("abc");
  stream.SetDocument(&off);
  TPdfBytes written;
  stream.WriteValue(written);
  EXPECT_EQ(Split(Text(written)).Body, Bytes("abc"));

  TPdfBytes body = Bytes("abc");
  EncryptIfNeeded(nullptr, body, 4);
  EncryptIfNeeded(&off, body, 4);
  EXPECT_EQ(body, Bytes("abc"));
  const TFakeDocument on(true, false);
  EncryptIfNeeded(&on, body, 4);
  EXPECT_NE(body, Bytes("abc"));
  PdfEncryptStreamRC4(body, on.FileKey(), false, 4);  // RC4 is its own inverse
  EXPECT_EQ(body, Bytes("abc"));

  TPdfBytes empty;
  EncryptIfNeeded(&on, empty, 4);
  EXPECT_TRUE(empty.empty());
}

TEST(PdfStreamTest, EncryptingAStreamWithoutNumberIsRefused) {
  const TFakeDocument document(true, false);
  TVPdfStream stream;  // direct, ID -1
  stream.SetDocument(&document);
  stream.Data() = Bytes("abc");
  TPdfBytes out;
  EXPECT_THROW(stream.WriteValue(out), EPdfAssertionFailed);
  EXPECT_TRUE(out.empty());
}

}  // namespace
