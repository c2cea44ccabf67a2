#pragma once
// Test helper: the pieces of hand-made PNG files.

#include <cstdint>
#include <string>
#include <vector>

// Appends `v` as four bytes, the most significant first.
void PutBigEndian32(std::vector<uint8_t>& bytes, uint32_t v);

// A PNG chunk: length, type, data and CRC.
std::vector<uint8_t> PngChunk(const std::string& type, const std::vector<uint8_t>& data);
