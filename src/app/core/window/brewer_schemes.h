#pragma once
// Reading the ColorBrewer scheme table "ColorBrewer_all_schemes.txt" into
// palettes. The file is tab-separated text:
//   line 1        begins with "ColorName" (the rest is ignored)
//   scheme line   name, colour count n, type word "qual", "div" or "seq"
//   n colour lines  two fields ignored, then red, green, blue (integers)
//   end line      "EndOfPalettes"; nothing after it is read
// Fields are separated by tabs; tabs and spaces before a field are skipped
// (so empty fields do not count) and each field is trimmed of characters
// below code 33. Lines may end in LF, CRLF or CR.

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "palette/colour_palette.h"

inline constexpr char kBrewerSchemeFileName[] = "ColorBrewer_all_schemes.txt";
inline constexpr char kBrewerEndMarker[] = "EndOfPalettes";
// The largest scheme file read, 1 MiB (the shipped table is under 40 KB). It
// holds a scheme of the largest colour count the tool takes; a larger file is
// refused unread, since every scheme costs a palette holder.
inline constexpr std::size_t kMaxBrewerFileBytes = std::size_t{1} << 20;

// Every scheme as its own holder, in file order.
using TBrewerSchemes = std::vector<std::unique_ptr<TColorPalette>>;

struct TBrewerLoadResult {
  // The complete schemes: each of type ptCustom with the given settings,
  // interpolation method CIELUV, the colour count from the file, the name
  // "s "/"d "/"q " + scheme name (the bare name for another type word) and
  // one key per colour line.
  TBrewerSchemes Schemes;
  // The first line begins with "ColorName" (a UTF-8 byte-order mark before it
  // is passed over).
  bool HeaderFound = false;
  // Empty when the table was read to its end marker, or when there is no
  // table at all (no file, or a header that does not match). Otherwise the
  // one format problem that stopped the reading, with its line number; the
  // scheme it interrupted is dropped and the ones before it are kept. A colour
  // count above kMaxNumColors is such a problem.
  std::string Problem;
};

// Reads a scheme table from a byte stream. SourceName names the source in
// Problem ("<SourceName>, line <n>: ...").
TBrewerLoadResult ReadBrewerSchemes(std::istream& In, const TColorSettings* Settings,
                                    std::string_view SourceName = kBrewerSchemeFileName);
TBrewerLoadResult ReadBrewerSchemesText(std::string_view Text, const TColorSettings* Settings,
                                        std::string_view SourceName = kBrewerSchemeFileName);

// Reads the table from Path when that file exists; without it the result is
// empty with no problem. A file that exists but cannot be opened, or holds
// more than kMaxBrewerFileBytes, is a problem and gives no schemes.
TBrewerLoadResult LoadBrewerPalettes(const std::filesystem::path& Path,
                                     const TColorSettings* Settings);

// The type a scheme's name prefix stands for: a name beginning with "s" is
// ptSeq, "d" ptDiv, "q" ptQual, anything else 0.
TPaletteType BrewerSchemeType(std::string_view Name) noexcept;
// The name without its first two characters (the type prefix).
std::string_view BrewerStrippedName(std::string_view Name) noexcept;
