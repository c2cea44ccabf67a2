#pragma once
// Text distances of the string functions.

#include <cstdint>
#include <string_view>

// The smallest of three: min(min(a, b), c).
int32_t MinOfThree(int32_t a, int32_t b, int32_t c);

// The minimum number of single-character insertions, deletions and
// substitutions turning a into b (exact, case-sensitive character equality).
// Uses two rows of b's length + 1.
int32_t LevenshteinDistance(std::string_view a, std::string_view b);

// a compared with b with "a".."z" folded to upper case: the code difference
// of the first differing pair, else the length difference.
int32_t CompareTextASCII(std::string_view a, std::string_view b);
