// The HLS levels of a whole row at one lightness.
#include "colour/hsv_hls_rows.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "foundation/assertion.h"

namespace colour_rows {

void HLSLevelsRow(double L, std::span<const double> S, std::span<double> m1, std::span<double> m2) {
  Require(m1.size() == S.size() && m2.size() == S.size(), "HLS level rows differ in length");
  const size_t n = S.size();
  size_t x = 0;
#ifdef __SSE2__
  // HLSLevels two at a time: every operation is the scalar one (IEEE,
  // correctly rounded) in the same order.
  const __m128d k255 = _mm_set1_pd(255.0), l = _mm_set1_pd(L), twoL = _mm_mul_pd(_mm_set1_pd(2.0), l);
  const bool upper = L >= 127.5;
  for (; x + 1 < n; x += 2) {
    const __m128d s = _mm_loadu_pd(&S[x]);
    const __m128d hi = upper ? _mm_sub_pd(_mm_add_pd(l, s), _mm_div_pd(_mm_mul_pd(l, s), k255))
                             : _mm_div_pd(_mm_mul_pd(l, _mm_add_pd(k255, s)), k255);
    _mm_storeu_pd(&m2[x], hi);
    _mm_storeu_pd(&m1[x], _mm_sub_pd(twoL, hi));
  }
#endif
  for (; x < n; ++x) HLSLevels(L, S[x], m1[x], m2[x]);
}

}  // namespace colour_rows
