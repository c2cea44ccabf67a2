#include "eval/functions/strings/edit_distance.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

unsigned char FoldUpper(char c) {
  const auto code = static_cast<unsigned char>(c);
  return (code >= 'a' && code <= 'z') ? static_cast<unsigned char>(code - 'a' + 'A') : code;
}

}  // namespace

int32_t MinOfThree(int32_t a, int32_t b, int32_t c) { return std::min(std::min(a, b), c); }

int32_t LevenshteinDistance(std::string_view a, std::string_view b) {
  const size_t n = b.size();
  std::vector<int32_t> prev(n + 1), cur(n + 1);
  for (size_t j = 0; j <= n; ++j) prev[j] = static_cast<int32_t>(j);
  for (size_t i = 0; i < a.size(); ++i) {
    cur[0] = prev[0] + 1;
    for (size_t j = 1; j <= n; ++j) {
      const int32_t substitution = prev[j - 1] + (a[i] == b[j - 1] ? 0 : 1);
      cur[j] = MinOfThree(prev[j] + 1, cur[j - 1] + 1, substitution);
    }
    std::swap(prev, cur);
  }
  return prev[n];
}

int32_t CompareTextASCII(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t k = 0; k < common; ++k) {
    const int32_t diff = int32_t{FoldUpper(a[k])} - int32_t{FoldUpper(b[k])};
    if (diff != 0) return diff;
  }
  return static_cast<int32_t>(static_cast<int64_t>(a.size()) - static_cast<int64_t>(b.size()));
}
