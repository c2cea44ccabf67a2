#pragma once
// A test-only document layer: numbers indirect objects, resolves references
// and writes a complete PDF file around them (header, objects, xref table,
// trailer with /ID), optionally encrypted with the standard security handler
// (revision 2 with 40-bit keys or revision 3 with 128-bit keys, empty user
// password). The file has one page; images can be placed on it.
//
// Objects 1..4 are the catalog, the page tree, the page and its content
// stream; 5 is the encryption dictionary when encrypting. Added objects get
// the following numbers. Output is deterministic: the /ID comes from a seed.
//
// Also: a temporary directory and a command runner for the qpdf checks.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pdf/pdf_bytes.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_object.h"
#include "pdf/pdf_stream.h"

enum class TTestEncryption { None, RC4_40, RC4_128 };

class TTestPdfDocument : public TVPdfObjectOwner, public TVPdfDocument {
 public:
  explicit TTestPdfDocument(TTestEncryption encryption = TTestEncryption::None,
                            std::string_view idSeed = "test document");
  ~TTestPdfDocument() override;

  // Takes `obj`, makes it indirect with the next number (streams also get
  // this document) and returns the number.
  std::int32_t AddObject(std::unique_ptr<TVPdfObject> obj);
  template <class T>
  T* Add(std::unique_ptr<T> obj) {
    T* raw = obj.get();
    AddObject(std::move(obj));
    return raw;
  }

  // The catalog written as /Root; by default the one-page catalog (object 1).
  void SetRoot(std::int32_t number);
  std::int32_t Root() const { return FRoot; }

  // Media box [0 0 width height], in points.
  void SetPageSize(int width, int height);
  // Replaces the page's content stream operators.
  void SetPageContent(std::string_view operators);
  // Adds `image` as an indirect object, lists it in the page's XObject
  // resources and draws it at (x, y) scaled to width x height. Returns the
  // image's object number.
  std::int32_t AddImageToPage(std::unique_ptr<TVPdfStream> image, int x, int y, int width,
                              int height);
  // The same for an image already added with AddObject.
  void PlaceImage(std::int32_t imageNumber, int x, int y, int width, int height);

  TVPDFDictionary& PageDict() const;
  TVPdfStream& ContentStream() const;

  // The complete file.
  TPdfBytes Write() const;
  void WriteToFile(const std::filesystem::path& path) const;

  // TVPdfObjectOwner
  TVPdfObject* GetObject(std::int32_t number) const override;
  // TVPdfDocument
  const TPdfFileKey& FileKey() const override { return FFileKey; }
  TVPdfSecuritySettings SecuritySettings() const override { return FSettings; }

  // The encryption dictionary's /O and /U values and the first /ID string.
  const std::vector<std::uint8_t>& OwnerKey() const { return FOwnerKey; }
  const std::vector<std::uint8_t>& UserKey() const { return FUserKey; }
  const std::vector<std::uint8_t>& FileID() const { return FFileID; }

  // The file's permission flags /P.
  static constexpr std::int32_t kPermissions = -4;
  static constexpr std::string_view kOwnerPassword = "owner";

 private:
  void SetUpEncryption();

  std::vector<std::unique_ptr<TVPdfObject>> FObjects;  // object n at n - 1
  std::int32_t FRoot = 1;
  std::int32_t FEncryptNumber = 0;
  TTestEncryption FEncryption;
  TVPdfSecuritySettings FSettings;
  TPdfFileKey FFileKey{};
  std::vector<std::uint8_t> FOwnerKey, FUserKey, FFileID;
  std::string FContent;
  int FImageCount = 0;
};

// A fresh directory removed with its contents on destruction.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::filesystem::path& Path() const { return FPath; }

 private:
  std::filesystem::path FPath;
};

struct TCommandResult {
  int ExitCode = -1;
  std::string Output;  // stdout and stderr together
};

// Runs a shell command and collects its output.
TCommandResult RunCommand(const std::string& command);

// Runs qpdf with `arguments` (already quoted as needed).
TCommandResult RunQpdf(const std::string& arguments);

// Quotes a path for the shell.
std::string ShellQuote(const std::string& text);
