#include "graphics/png_chunks.h"

#include <zlib.h>

void PutBigEndian32(std::vector<uint8_t>& bytes, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<uint8_t>(v >> shift));
}

std::vector<uint8_t> PngChunk(const std::string& type, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> chunk;
  PutBigEndian32(chunk, static_cast<uint32_t>(data.size()));
  chunk.insert(chunk.end(), type.begin(), type.end());
  chunk.insert(chunk.end(), data.begin(), data.end());
  PutBigEndian32(chunk, static_cast<uint32_t>(crc32(0, chunk.data() + 4, static_cast<uInt>(chunk.size() - 4))));
  return chunk;
}
