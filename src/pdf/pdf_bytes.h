#pragma once
// The byte buffer that PDF objects are written to and that stream bodies are
// kept in (the writer's "memory stream"), and small helpers to append to it.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

using TPdfBytes = std::vector<std::uint8_t>;

// Appends the bytes of `text`, one byte per character, with no terminator.
void PdfWriteString(std::string_view text, TPdfBytes& out);

// Appends `size` raw bytes.
void PdfWriteBytes(const void* data, std::size_t size, TPdfBytes& out);

// Appends an integer in decimal: optional "-", no leading zeros, no "+".
void PdfWriteInteger(std::int64_t value, TPdfBytes& out);

// The bytes as a string (for comparisons and diagnostics).
inline std::string_view PdfBytesView(const TPdfBytes& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}
