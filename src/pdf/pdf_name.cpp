#include "pdf/pdf_object.h"

#include <array>

#include "pdf/pdf_error.h"

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// True for the bytes a name may hold unescaped.
constexpr std::array<bool, 256> MakeRegularTable() {
  std::array<bool, 256> table{};
  for (int c = 0x21; c <= 0x7E; ++c) table[c] = true;
  for (const char c : std::string_view("#%()/<>[]{}")) table[static_cast<unsigned char>(c)] = false;
  return table;
}
constexpr std::array<bool, 256> kRegular = MakeRegularTable();

void CheckName(std::string_view name) {
  if (name.find('\0') != std::string_view::npos)
    throw EPdfError("A PDF name cannot contain a NUL byte.");
}

}  // namespace

std::string PdfEscapeName(std::string_view name) {
  std::string result;
  result.reserve(name.size());
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (kRegular[c]) {
      result += ch;
    } else {
      result += '#';
      result += kHexDigits[c >> 4];
      result += kHexDigits[c & 0x0F];
    }
  }
  return result;
}

TVPdfName::TVPdfName(std::string_view name) {
  CheckName(name);
  FName = name;
}

void TVPdfName::SetName(std::string_view name) {
  CheckName(name);
  FName = name;
}

void TVPdfName::WriteValue(TPdfBytes& out) const {
  out.push_back('/');
  PdfWriteString(PdfEscapeName(FName), out);
}
