#include "graphics/bitmap32_io.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

std::string LowerExtension(const std::string& fileName) {
  const size_t slash = fileName.find_last_of("/\\");
  const size_t dot = fileName.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = fileName.substr(dot);
  std::ranges::transform(extension, extension.begin(),
                         [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return extension;
}

}  // namespace

TImageFileType ImageFileTypeFromName(const std::string& fileName) {
  const std::string extension = LowerExtension(fileName);
  if (extension == ".png") return TImageFileType::iftPng;
  if (extension == ".jpg" || extension == ".jpeg" || extension == ".jpe" || extension == ".jfif")
    return TImageFileType::iftJpeg;
  if (extension == ".bmp" || extension == ".dib") return TImageFileType::iftBmp;
  return TImageFileType::iftUnknown;
}

TImageFileType ImageFileTypeFromSignature(std::span<const uint8_t> bytes) {
  static constexpr uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() >= sizeof kPng && std::equal(std::begin(kPng), std::end(kPng), bytes.begin()))
    return TImageFileType::iftPng;
  if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return TImageFileType::iftJpeg;
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return TImageFileType::iftBmp;
  return TImageFileType::iftUnknown;
}

TBitmap32 LoadBitmap32(std::span<const uint8_t> bytes) {
  switch (ImageFileTypeFromSignature(bytes)) {
    case TImageFileType::iftPng: return LoadBitmap32FromPng(bytes);
    case TImageFileType::iftJpeg: return LoadBitmap32FromJpeg(bytes);
    case TImageFileType::iftBmp: return LoadBitmap32FromBmp(bytes);
    case TImageFileType::iftUnknown: break;
  }
  throw EBitmapIOError("Unknown image format");
}

std::vector<uint8_t> ReadImageFileBytes(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) throw EBitmapIOError("Cannot open image file \"" + fileName + "\"");
  std::vector<uint8_t> bytes;
  // A read error (a directory opens but cannot be read) surfaces as
  // std::ios_base::failure from the stream buffer.
  try {
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    throw EBitmapIOError("Cannot read image file \"" + fileName + "\"");
  }
  if (file.bad()) throw EBitmapIOError("Cannot read image file \"" + fileName + "\"");
  return bytes;
}

void WriteImageFileBytes(const std::string& fileName, std::span<const uint8_t> bytes) {
  std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
  if (!file) throw EBitmapIOError("Cannot create image file \"" + fileName + "\"");
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  file.close();
  if (!file) throw EBitmapIOError("Cannot write image file \"" + fileName + "\"");
}

TBitmap32 LoadBitmap32FromFile(const std::string& fileName) {
  const std::vector<uint8_t> bytes = ReadImageFileBytes(fileName);
  try {
    switch (ImageFileTypeFromName(fileName)) {
      case TImageFileType::iftPng: return LoadBitmap32FromPng(bytes);
      case TImageFileType::iftJpeg: return LoadBitmap32FromJpeg(bytes);
      case TImageFileType::iftBmp: return LoadBitmap32FromBmp(bytes);
      case TImageFileType::iftUnknown: return LoadBitmap32(bytes);
    }
  } catch (const EBitmapIOError& error) {
    throw EBitmapIOError(std::string(error.what()) + " in \"" + fileName + "\"");
  }
  return {};
}

void SaveBitmap32ToFile(const TBitmap32& bitmap, const std::string& fileName) {
  switch (ImageFileTypeFromName(fileName)) {
    case TImageFileType::iftPng: return WriteImageFileBytes(fileName, SaveBitmap32ToPng(bitmap));
    case TImageFileType::iftJpeg: return WriteImageFileBytes(fileName, SaveBitmap32ToJpeg(bitmap));
    case TImageFileType::iftBmp:
    case TImageFileType::iftUnknown: break;
  }
  SaveBitmap32ToBmpFile(bitmap, fileName);
}

void SaveBitmap32ToBmpFile(const TBitmap32& bitmap, const std::string& fileName) {
  WriteImageFileBytes(fileName, SaveBitmap32ToBmp(bitmap));
}
