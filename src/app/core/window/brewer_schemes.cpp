#include "app/core/window/brewer_schemes.h"

#include <cstddef>
#include <fstream>
#include <istream>
#include <optional>
#include <string>
#include <sstream>
#include <stdexcept>
#include <streambuf>
#include <system_error>
#include <utility>

#include "app/core/window/num_colors_limit.h"
#include "app/core/window/typed_numbers.h"
#include "palette/custom_palette.h"

namespace {

constexpr std::string_view kHeader = "ColorName";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The type words of the scheme lines, the name prefix each gives and the type
// that prefix stands for.
struct TSchemeKind {
  std::string_view TypeWord;
  char Prefix;
  TPaletteType Type;
};
constexpr TSchemeKind kSchemeKinds[] = {{"seq", 's', ptSeq}, {"div", 'd', ptDiv}, {"qual", 'q', ptQual}};

// A format problem at a line of the table; it ends the reading.
class EBrewerFormat : public std::runtime_error {
 public:
  EBrewerFormat(int Line, const std::string& What) : std::runtime_error(What), FLine(Line) {}
  int Line() const noexcept { return FLine; }

 private:
  int FLine;
};

bool IsBlankOrControl(char c) noexcept { return static_cast<unsigned char>(c) < 33; }

std::string_view Trimmed(std::string_view s) noexcept {
  while (!s.empty() && IsBlankOrControl(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlankOrControl(s.back())) s.remove_suffix(1);
  return s;
}

// Fields of the table, read character by character. A line ends at LF, CR or
// CRLF; fields never include a line end.
class TFieldReader {
 public:
  explicit TFieldReader(std::streambuf& Buf) : FBuf(Buf) {}

  int Line() const noexcept { return FLine; }
  bool AtEnd() const { return Peek() == kEof; }

  // The whole current line (the line end consumed).
  std::string ReadLine() {
    std::string line;
    while (!AtLineEnd()) line.push_back(static_cast<char>(FBuf.sbumpc()));
    ConsumeLineEnd();
    return line;
  }

  // Skips tabs and spaces, then reads up to the next tab (consumed) or line
  // end (not consumed), trimmed. Nothing when the line or the file ends
  // before a field begins.
  std::optional<std::string> ReadField() {
    for (int c = Peek(); c == '\t' || c == ' '; c = Peek()) FBuf.sbumpc();
    if (AtLineEnd()) return std::nullopt;
    std::string field;
    for (int c = Peek(); c != '\t' && !AtLineEnd(); c = Peek())
      field.push_back(static_cast<char>(FBuf.sbumpc()));
    if (Peek() == '\t') FBuf.sbumpc();
    return std::string(Trimmed(field));
  }

  // A field that must be there; What names it in the problem.
  std::string RequireField(const char* What) {
    auto field = ReadField();
    if (!field) throw EBrewerFormat(FLine, std::string(What) + " missing");
    return std::move(*field);
  }

  int RequireInteger(const char* What) {
    const std::string field = RequireField(What);
    try {
      return StrToInt(field);
    } catch (const EConvertError& e) {
      throw EBrewerFormat(FLine, e.what());
    }
  }

  void SkipLine() {
    while (!AtLineEnd()) FBuf.sbumpc();
    ConsumeLineEnd();
  }

 private:
  static constexpr int kEof = std::char_traits<char>::eof();

  int Peek() const { return FBuf.sgetc(); }
  bool AtLineEnd() const {
    const int c = Peek();
    return c == '\n' || c == '\r' || c == kEof;
  }
  void ConsumeLineEnd() {
    const int c = Peek();
    if (c == kEof) return;
    FBuf.sbumpc();
    if (c == '\r' && Peek() == '\n') FBuf.sbumpc();
    ++FLine;
  }

  std::streambuf& FBuf;
  int FLine = 1;
};

std::string PrefixedName(const std::string& Name, std::string_view TypeWord) {
  for (const TSchemeKind& kind : kSchemeKinds)
    if (kind.TypeWord == TypeWord) return std::string{kind.Prefix, ' '} + Name;
  return Name;
}

// One scheme after its name field: the rest of the scheme line and its
// colour lines.
std::unique_ptr<TColorPalette> ReadScheme(TFieldReader& Reader, const std::string& Name,
                                          const TColorSettings* Settings) {
  const int count = Reader.RequireInteger("colour count");
  if (count < 0) throw EBrewerFormat(Reader.Line(), "negative colour count");
  if (count > kMaxNumColors)
    throw EBrewerFormat(Reader.Line(), "colour count " + std::to_string(count) + " above the largest the tool takes, " +
                                           std::to_string(kMaxNumColors));
  const std::string typeWord = Reader.RequireField("scheme type");
  Reader.SkipLine();

  auto scheme = std::make_unique<TColorPalette>();
  scheme->SetPaletteType(ptCustom);
  scheme->SetColorSettings(Settings);
  scheme->CustPal().SetInterpolationMethod(imCIELUV);
  scheme->SetNumColors(count);
  scheme->SetName(PrefixedName(Name, typeWord));
  for (int k = 0; k < count; ++k) {
    if (Reader.AtEnd())
      throw EBrewerFormat(Reader.Line(), "the file ends inside scheme \"" + Name + "\"");
    Reader.RequireField("colour number");
    Reader.RequireField("colour name");
    TRGB rgb;
    rgb.R = Reader.RequireInteger("red value");
    rgb.G = Reader.RequireInteger("green value");
    rgb.B = Reader.RequireInteger("blue value");
    scheme->CustPal().AddKey(rgb);
    Reader.SkipLine();
  }
  return scheme;
}

}  // namespace

TBrewerLoadResult ReadBrewerSchemes(std::istream& In, const TColorSettings* Settings,
                                    std::string_view SourceName) {
  TBrewerLoadResult result;
  std::streambuf* buf = In.rdbuf();
  if (buf == nullptr) return result;
  TFieldReader reader(*buf);

  const std::string line = reader.ReadLine();
  std::string_view header = line;
  if (header.starts_with(kByteOrderMark)) header.remove_prefix(kByteOrderMark.size());
  result.HeaderFound = header.starts_with(kHeader);
  if (!result.HeaderFound) return result;

  try {
    for (;;) {
      if (reader.AtEnd())
        throw EBrewerFormat(reader.Line(), std::string("the file ends without \"") +
                                               kBrewerEndMarker + "\"");
      const std::string name = reader.RequireField("scheme name");
      if (name == kBrewerEndMarker) break;
      result.Schemes.push_back(ReadScheme(reader, name, Settings));
    }
  } catch (const EBrewerFormat& e) {
    std::ostringstream text;
    text << SourceName << ", line " << e.Line() << ": " << e.what()
         << ". Schemes read before it: " << result.Schemes.size() << ".";
    result.Problem = text.str();
  }
  return result;
}

TBrewerLoadResult ReadBrewerSchemesText(std::string_view Text, const TColorSettings* Settings,
                                        std::string_view SourceName) {
  std::istringstream in{std::string(Text)};
  return ReadBrewerSchemes(in, Settings, SourceName);
}

TBrewerLoadResult LoadBrewerPalettes(const std::filesystem::path& Path,
                                     const TColorSettings* Settings) {
  std::error_code ec;
  if (!std::filesystem::exists(Path, ec)) return {};
  const std::string source = Path.string();
  std::ifstream in;
  if (!std::filesystem::is_directory(Path, ec)) in.open(Path, std::ios::binary);
  TBrewerLoadResult result;
  if (!in.is_open()) {
    result.Problem = "Cannot open " + source + " for reading.";
    return result;
  }
  // At most one byte past the limit is read, whatever the file is (a device
  // or a pipe has no size to ask for).
  std::string text(kMaxBrewerFileBytes + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (text.size() > kMaxBrewerFileBytes) {
    result.Problem = source + " is larger than " + std::to_string(kMaxBrewerFileBytes) + " bytes; no scheme was read.";
    return result;
  }
  return ReadBrewerSchemesText(text, Settings, source);
}

TPaletteType BrewerSchemeType(std::string_view Name) noexcept {
  if (Name.empty()) return 0;
  for (const TSchemeKind& kind : kSchemeKinds)
    if (kind.Prefix == Name.front()) return kind.Type;
  return 0;
}

std::string_view BrewerStrippedName(std::string_view Name) noexcept {
  return Name.size() <= 2 ? std::string_view() : Name.substr(2);
}
