#include "eval/functions/strings/string_functions.h"

#include <array>

namespace {

constexpr std::array<TJUXFunctionInfo, 14> kStringFunctions = {{
    {"sprintf", JUXFunctionClass<TJUXFunc_Sprintf>(),
     "Formats its parameters into a text by the directives of the format (%s, %d, %.2f, ...); \\n and \\t stand "
     "for a line break and a tab",
     "(AFormat [string]; Value1 [any]; Value2 [any]; ...): [string]", {"sprintf", "format", "text", "printf"},
     jfcString},
    {"ltrimstr", JUXFunctionClass<TJUXFunc_LTrimStr>(), "Removes blanks and control characters from the left end",
     "(AString [string]): [string]", {"trim", "left", "blank", "space"}, jfcString},
    {"rtrimstr", JUXFunctionClass<TJUXFunc_RTrimStr>(), "Removes blanks and control characters from the right end",
     "(AString [string]): [string]", {"trim", "right", "blank", "space"}, jfcString},
    {"trimstr", JUXFunctionClass<TJUXFunc_TrimStr>(), "Removes blanks and control characters from both ends",
     "(AString [string]): [string]", {"trim", "blank", "space"}, jfcString},
    {"lenstr", JUXFunctionClass<TJUXFunc_LenStr>(), "Returns the number of characters of a text",
     "(AString [string]): [integer]", {"length", "len", "size", "characters"}, jfcString},
    {"replacestr", JUXFunctionClass<TJUXFunc_ReplaceStr>(),
     "Replaces every occurrence of a text by another (case-sensitive)",
     "(AString [string]; AOld [string]; ANew [string]): [string]", {"replace", "substitute", "text"}, jfcString},
    {"pos", JUXFunctionClass<TJUXFunc_Pos>(),
     "Returns the position of the first occurrence of a text in another (from an optional offset), 0 if none",
     "(SearchString [string]; AString [string]; [AOffset [integer]]): [integer]",
     {"pos", "position", "find", "search", "index"}, jfcString},
    {"leftstr", JUXFunctionClass<TJUXFunc_LeftStr>(), "Returns the first characters of a text",
     "(AString [string]; ACount [integer]): [string]", {"left", "first", "substring"}, jfcString},
    {"rightstr", JUXFunctionClass<TJUXFunc_RightStr>(), "Returns the last characters of a text",
     "(AString [string]; ACount [integer]): [string]", {"right", "last", "substring"}, jfcString},
    {"midstr", JUXFunctionClass<TJUXFunc_MidStr>(), "Returns the characters of a text from a position on",
     "(AString [string]; AStart [integer]; ACount [integer]): [string]", {"mid", "substring", "copy"}, jfcString},
    {"uppercase", JUXFunctionClass<TJUXFunc_Uppercase>(), "Turns the letters a..z into upper case",
     "(AString [string]): [string]", {"upper", "uppercase", "case", "capital"}, jfcString},
    {"lowercase", JUXFunctionClass<TJUXFunc_Lowercase>(), "Turns the letters A..Z into lower case",
     "(AString [string]): [string]", {"lower", "lowercase", "case"}, jfcString},
    {"comparetext", JUXFunctionClass<TJUXFunc_CompareText>(),
     "Compares two texts ignoring the case of the letters a..z: negative, 0 or positive",
     "(AString1 [string]; AString2 [string]): [integer]", {"compare", "text", "case", "order", "sort"}, jfcString},
    {"editdist", JUXFunctionClass<TJUXFunc_EditDist>(),
     "Returns the edit (Levenshtein) distance of two texts: the fewest insertions, deletions and substitutions",
     "(AString1 [string]; AString2 [string]): [integer]", {"edit", "distance", "levenshtein", "similarity"},
     jfcString},
}};

}  // namespace

std::span<const TJUXFunctionInfo> StringFunctionTable() { return kStringFunctions; }
