#include "pdf/pdf_bytes.h"

#include <charconv>
#include <cstring>

void PdfWriteString(std::string_view text, TPdfBytes& out) {
  out.insert(out.end(), text.begin(), text.end());
}

void PdfWriteBytes(const void* data, std::size_t size, TPdfBytes& out) {
  if (size == 0) return;
  const std::size_t old = out.size();
  out.resize(old + size);
  std::memcpy(out.data() + old, data, size);
}

void PdfWriteInteger(std::int64_t value, TPdfBytes& out) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.insert(out.end(), digits, result.ptr);
}
