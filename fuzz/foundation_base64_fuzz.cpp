// Base64 decoding of arbitrary text into an output buffer of any size, and
// the encode/decode round trip of what was decoded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "foundation/base64.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the output size, so short and long outputs both occur.
  const size_t outSize = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<uint8_t> out(outSize);
  const size_t written = Base64Decode(text, out);
  if (written > outSize) abort();

  out.resize(written);
  const std::vector<uint8_t> again = Base64Decode(Base64Encode(out));
  if (again != out) abort();
  return 0;
}
