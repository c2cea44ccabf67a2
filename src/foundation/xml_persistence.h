#pragma once
// Typed helpers that read or write one value as a child element of an XML
// element, so that one LoadSave key list serves both directions.
//
// ChildIndex is the caller's running position hint, -1 at the start of each
// element. Every call advances it by 1 (the bitmap helper by 5). A load takes
// the child at position ChildIndex when its name is Name, else the first child
// named Name, else the default; a load never creates nodes. A save appends a
// child named Name holding the value as text (the default is not used).
//
// Real numbers use FixedFormatSettings ("0,75", "1E-5"); integers are plain
// decimal. A text that does not read as the value type gives the default.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "graphics/color_types.h"

class TBitmap32;
class TXmlNode;

void XMLReadWriteDouble(bool load, TXmlNode& node, int& childIndex, double& value, std::string_view name,
                        double defaultValue);
void XMLReadWriteInteger(bool load, TXmlNode& node, int& childIndex, int32_t& value, std::string_view name,
                         int32_t defaultValue);
// Saved as "true"/"false". Loads a number (in the user's locale; non-zero is
// true) or "True"/"False" in any letter case.
void XMLReadWriteBoolean(bool load, TXmlNode& node, int& childIndex, bool& value, std::string_view name,
                         bool defaultValue);
// An element without text loads as the empty string.
void XMLReadWriteString(bool load, TXmlNode& node, int& childIndex, std::string& value, std::string_view name,
                        std::string_view defaultValue);

// Saved as the integer child Name + "32" (the colour as a signed 32-bit
// integer). Also loads the older form: a child Name with children "R", "G"
// and "B" holding reals 0..1; each component is RoundSingle(255 x) modulo 256,
// or 1 when its text is not a number; alpha is 255.
void XMLReadWriteColor32(bool load, TXmlNode& node, int& childIndex, TColor32& value, std::string_view name,
                         TColor32 defaultValue);

// Bitmaps larger than this, or with a negative size, load as the default 1 x 1.
inline constexpr int32_t kMaxXmlBitmapSide = 65536;
inline constexpr int64_t kMaxXmlBitmapPixels = int64_t{1} << 24;  // 64 MiB of pixels

// The element Name with the children "Datas" (length of the Base64 text),
// "Height", "Width" and "Pixels" (Base64 of the pixels, 4 little-endian bytes
// B, G, R, A each, rows from the top). A load always stores a new bitmap in
// `value` (missing children give 1, 1, 1 and no pixel data); when Datas > 1,
// the first Datas characters of "Pixels" are decoded into the pixel memory,
// as far as both reach; pixels not covered stay 0. A save needs a bitmap.
void XMLReadWriteBitmap32(bool load, TXmlNode& node, int& childIndex, std::unique_ptr<TBitmap32>& value,
                          std::string_view name);
