#pragma once
// Small readers for the image builders' tests: written text of an object, the
// key order of a dictionary, and zlib inflation of a stream body.
// Header-only, so that it is compiled only into the tests that include it.

#include <string>
#include <string_view>
#include <vector>

#include <zlib.h>

#include "pdf/pdf_bytes.h"
#include "pdf/pdf_object.h"
#include "pdf/pdf_stream.h"

// The object as a container writes it.
inline std::string WrittenText(const TVPdfObject& object) {
  TPdfBytes out;
  object.SaveToStream(out);
  return std::string(PdfBytesView(out));
}

inline std::vector<std::string> KeyOrder(const TVPDFDictionary& dict) {
  std::vector<std::string> keys;
  for (int i = 0; i < dict.Count(); ++i) keys.push_back(dict.GetAtom(i).Key().Name());
  return keys;
}

// The value stored under `key`, placeholders unresolved; nullptr when absent.
inline const TVPdfObject* StoredValue(const TVPDFDictionary& dict, std::string_view key) {
  for (int i = 0; i < dict.Count(); ++i)
    if (dict.GetAtom(i).Key().Name() == key) return dict.GetAtom(i).Value();
  return nullptr;
}

// The zlib-format data inflated; empty (and a test failure at the caller's
// comparison) when it does not inflate completely.
inline TPdfBytes Inflate(const TPdfBytes& compressed) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return {};
  TPdfBytes out;
  unsigned char chunk[4096];
  z.next_in = const_cast<Bytef*>(compressed.data());
  z.avail_in = static_cast<uInt>(compressed.size());
  int status = Z_OK;
  while (status == Z_OK) {
    z.next_out = chunk;
    z.avail_out = sizeof chunk;
    status = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), chunk, chunk + (sizeof chunk - z.avail_out));
  }
  inflateEnd(&z);
  return status == Z_STREAM_END ? out : TPdfBytes{};
}
