#include "pdf/test_pdf_document.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "pdf/md5.h"
#include "pdf/rc4.h"

namespace {

// Object 1 is the catalog and 2 the page tree (numbered by creation order).
constexpr std::int32_t kPage = 3;
constexpr std::int32_t kContent = 4;

// The password padding of the standard security handler.
constexpr std::array<std::uint8_t, 32> kPadding = {
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
    0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

using TBytes = std::vector<std::uint8_t>;

TBytes PadPassword(std::string_view password) {
  TBytes padded(password.begin(), password.begin() + std::min<std::size_t>(password.size(), 32));
  padded.insert(padded.end(), kPadding.begin(), kPadding.begin() + (32 - padded.size()));
  return padded;
}

TBytes Md5(const TBytes& data) {
  TMD5Digest digest;
  MD5Buffer(data.data(), data.size(), digest);
  return TBytes(digest.begin(), digest.end());
}

void Rc4InPlace(const TBytes& key, TBytes& data) {
  TRC4State state;
  RC4Init(state, key.data(), key.size());
  RC4Crypt(state, data.data(), data.data(), data.size());
}

// Revision 3 runs RC4 19 more times with the key XORed with 1..19.
void Rc4Rounds(const TBytes& key, TBytes& data) {
  for (std::uint8_t round = 1; round <= 19; ++round) {
    TBytes roundKey = key;
    for (auto& b : roundKey) b ^= round;
    Rc4InPlace(roundKey, data);
  }
}

std::string Hex(const TBytes& bytes) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "<";
  for (const std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text + ">";
}

std::unique_ptr<TVPdfArray> NumberArray(std::initializer_list<int> values) {
  auto array = std::make_unique<TVPdfArray>();
  for (const int v : values) array->Add(std::make_unique<TVPdfNum>(v));
  return array;
}

}  // namespace

TTestPdfDocument::TTestPdfDocument(TTestEncryption encryption, std::string_view idSeed)
    : FEncryption(encryption) {
  FFileID = Md5(TBytes(idSeed.begin(), idSeed.end()));

  auto catalog = std::make_unique<TVPDFDictionary>(this);
  catalog->AddName("Type", "Catalog");
  TVPDFDictionary* catalogRaw = Add(std::move(catalog));

  auto pages = std::make_unique<TVPDFDictionary>(this);
  pages->AddName("Type", "Pages");
  TVPDFDictionary* pagesRaw = Add(std::move(pages));
  catalogRaw->AddValue("Pages", *pagesRaw);

  auto page = std::make_unique<TVPDFDictionary>(this);
  page->AddName("Type", "Page");
  page->AddValue("Parent", *pagesRaw);
  page->Add("MediaBox", NumberArray({0, 0, 612, 792}));
  auto resources = std::make_unique<TVPDFDictionary>(this);
  resources->Add("XObject", std::make_unique<TVPDFDictionary>(this));
  page->Add("Resources", std::move(resources));
  TVPDFDictionary* pageRaw = Add(std::move(page));

  auto kids = std::make_unique<TVPdfArray>(this);
  kids->AddItem(*pageRaw);
  pagesRaw->Add("Kids", std::move(kids));
  pagesRaw->AddNumber("Count", 1);

  TVPdfStream* content = Add(std::make_unique<TVPdfStream>(this));
  pageRaw->AddValue("Contents", *content);

  if (FEncryption != TTestEncryption::None) SetUpEncryption();
}

TTestPdfDocument::~TTestPdfDocument() = default;

void TTestPdfDocument::SetUpEncryption() {
  const bool rev3 = FEncryption == TTestEncryption::RC4_128;
  const std::size_t keyLength = rev3 ? 16 : 5;

  // /O from the owner password.
  TBytes ownerHash = Md5(PadPassword(kOwnerPassword));
  if (rev3)
    for (int i = 0; i < 50; ++i) ownerHash = Md5(ownerHash);
  const TBytes ownerKey(ownerHash.begin(), ownerHash.begin() + keyLength);
  FOwnerKey = PadPassword("");
  Rc4InPlace(ownerKey, FOwnerKey);
  if (rev3) Rc4Rounds(ownerKey, FOwnerKey);

  // The file key from the empty user password.
  TBytes input = PadPassword("");
  input.insert(input.end(), FOwnerKey.begin(), FOwnerKey.end());
  const auto p = static_cast<std::uint32_t>(kPermissions);
  for (int i = 0; i < 4; ++i) input.push_back(static_cast<std::uint8_t>(p >> (8 * i)));
  input.insert(input.end(), FFileID.begin(), FFileID.end());
  TBytes key = Md5(input);
  if (rev3)
    for (int i = 0; i < 50; ++i) key = Md5(TBytes(key.begin(), key.begin() + keyLength));
  key.resize(keyLength);
  std::copy(key.begin(), key.end(), FFileKey.begin());

  // /U, by which readers recognise the empty user password.
  if (rev3) {
    TBytes hashInput(kPadding.begin(), kPadding.end());
    hashInput.insert(hashInput.end(), FFileID.begin(), FFileID.end());
    FUserKey = Md5(hashInput);
    Rc4InPlace(key, FUserKey);
    Rc4Rounds(key, FUserKey);
    FUserKey.resize(32, 0);
  } else {
    FUserKey.assign(kPadding.begin(), kPadding.end());
    Rc4InPlace(key, FUserKey);
  }

  FSettings.EncryptStreams = true;
  FSettings.Use128 = rev3;

  auto encrypt = std::make_unique<TVPDFDictionary>(this);
  encrypt->AddName("Filter", "Standard");
  encrypt->AddNumber("V", rev3 ? 2 : 1);
  encrypt->AddNumber("R", rev3 ? 3 : 2);
  encrypt->AddNumber("Length", rev3 ? 128 : 40);
  encrypt->Add("O", std::make_unique<TVPdfBinary>(Hex(FOwnerKey)));
  encrypt->Add("U", std::make_unique<TVPdfBinary>(Hex(FUserKey)));
  encrypt->AddNumber("P", kPermissions);
  FEncryptNumber = AddObject(std::move(encrypt));
}

std::int32_t TTestPdfDocument::AddObject(std::unique_ptr<TVPdfObject> obj) {
  if (obj == nullptr) throw std::invalid_argument("TTestPdfDocument::AddObject: null object");
  TVPdfNumbering::MakeIndirect(*obj, static_cast<std::int32_t>(FObjects.size() + 1));
  if (auto* stream = dynamic_cast<TVPdfStream*>(obj.get())) stream->SetDocument(this);
  FObjects.push_back(std::move(obj));
  return FObjects.back()->ID();
}

TVPdfObject* TTestPdfDocument::GetObject(std::int32_t number) const {
  if (number < 1 || number > static_cast<std::int32_t>(FObjects.size())) return nullptr;
  return FObjects[static_cast<std::size_t>(number - 1)].get();
}

void TTestPdfDocument::SetRoot(std::int32_t number) {
  if (GetObject(number) == nullptr) throw std::invalid_argument("SetRoot: no such object");
  FRoot = number;
}

TVPDFDictionary& TTestPdfDocument::PageDict() const {
  return dynamic_cast<TVPDFDictionary&>(*GetObject(kPage));
}

TVPdfStream& TTestPdfDocument::ContentStream() const {
  return dynamic_cast<TVPdfStream&>(*GetObject(kContent));
}

void TTestPdfDocument::SetPageSize(int width, int height) {
  PageDict().Add("MediaBox", NumberArray({0, 0, width, height}));
}

void TTestPdfDocument::SetPageContent(std::string_view operators) {
  FContent = operators;
  TPdfBytes& data = ContentStream().Data();
  data.assign(FContent.begin(), FContent.end());
}

std::int32_t TTestPdfDocument::AddImageToPage(std::unique_ptr<TVPdfStream> image, int x, int y,
                                              int width, int height) {
  const std::int32_t number = AddObject(std::move(image));
  PlaceImage(number, x, y, width, height);
  return number;
}

void TTestPdfDocument::PlaceImage(std::int32_t imageNumber, int x, int y, int width, int height) {
  TVPdfObject* image = GetObject(imageNumber);
  if (image == nullptr) throw std::invalid_argument("PlaceImage: no such object");
  const std::string name = "Im" + std::to_string(++FImageCount);
  PageDict().FindDictionary("Resources")->FindDictionary("XObject")->AddValue(name, *image);
  SetPageContent(FContent + "q " + std::to_string(width) + " 0 0 " + std::to_string(height) + " " +
                 std::to_string(x) + " " + std::to_string(y) + " cm /" + name + " Do Q\n");
}

TPdfBytes TTestPdfDocument::Write() const {
  TPdfBytes out;
  PdfWriteString("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n", out);
  std::vector<std::size_t> offsets;
  for (const auto& obj : FObjects) {
    offsets.push_back(out.size());
    PdfWriteInteger(obj->ID(), out);
    PdfWriteString(" 0 obj\r\n", out);
    obj->WriteValue(out);
    PdfWriteString("\r\nendobj\r\n", out);
  }

  const std::size_t xref = out.size();
  PdfWriteString("xref\n0 " + std::to_string(FObjects.size() + 1) + "\n", out);
  PdfWriteString("0000000000 65535 f\r\n", out);
  for (const std::size_t offset : offsets) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", offset);
    PdfWriteString(entry, out);
  }

  TVPDFDictionary trailer(this);
  trailer.AddNumber("Size", static_cast<std::int32_t>(FObjects.size() + 1));
  trailer.AddValue("Root", *GetObject(FRoot));
  if (FEncryptNumber != 0) trailer.AddValue("Encrypt", *GetObject(FEncryptNumber));
  auto id = std::make_unique<TVPdfArray>();
  id->Add(std::make_unique<TVPdfBinary>(Hex(FFileID)));
  id->Add(std::make_unique<TVPdfBinary>(Hex(FFileID)));
  trailer.Add("ID", std::move(id));
  PdfWriteString("trailer\n", out);
  trailer.SaveToStream(out);
  PdfWriteString("\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n", out);
  return out;
}

void TTestPdfDocument::WriteToFile(const std::filesystem::path& path) const {
  const TPdfBytes bytes = Write();
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot write " + path.string());
}

TTempDir::TTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "pdftest-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  FPath = pattern;
}

TTempDir::~TTempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}

TCommandResult RunCommand(const std::string& command) {
  TCommandResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.Output.append(buffer, n);
  const int status = pclose(pipe);
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TCommandResult RunQpdf(const std::string& arguments) { return RunCommand("qpdf " + arguments); }

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  return quoted + "'";
}
