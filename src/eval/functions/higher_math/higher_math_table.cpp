#include "eval/functions/higher_math/higher_math_functions.h"

#include <array>

namespace {

constexpr std::array<TJUXFunctionInfo, 10> kSpecialFunctions = {{
    {"gamma", JUXFunctionClass<TJUXFunc_Gamma>(), "Returns the gamma function of a number",
     "(AValue [numeral]): [double]", {"gamma", "factorial"}, jfcArithmetic},
    {"gammaln", JUXFunctionClass<TJUXFunc_GammaLn>(),
     "Returns the natural logarithm of the absolute value of the gamma function", "(AValue [numeral]): [double]",
     {"gammaln", "gamma", "logarithm", "factorial"}, jfcArithmetic},
    {"gammainc", JUXFunctionClass<TJUXFunc_GammaInc>(),
     "Returns the regularized lower incomplete gamma function P(A, X)", "(X [numeral]; A [numeral]): [double]",
     {"gammainc", "gamma", "incomplete"}, jfcArithmetic},
    {"gammadist", JUXFunctionClass<TJUXFunc_GammaDist>(),
     "Returns the density of the gamma distribution with shape lambda and scale r at x",
     "(x [numeral]; lambda [numeral]; r [numeral]): [double]", {"gammadist", "gamma", "distribution", "density"},
     jfcStatistics},
    {"chidist", JUXFunctionClass<TJUXFunc_ChiDist>(),
     "Returns the density of the chi-square distribution with k degrees of freedom at x",
     "(x [numeral]; k [numeral]): [double]", {"chidist", "chi", "chi-square", "distribution", "density"},
     jfcStatistics},
    {"normaldist", JUXFunctionClass<TJUXFunc_NormalDist>(),
     "Returns the density of the normal distribution with the given mean and standard deviation at x",
     "(x [numeral]; Mean [numeral]; Std [numeral]): [double]", {"normaldist", "normal", "gauss", "distribution", "density"},
     jfcStatistics},
    {"cumchidist", JUXFunctionClass<TJUXFunc_CumChiDist>(),
     "Returns the probability that a chi-square distributed value with k degrees of freedom is at most X",
     "(X [numeral]; k [numeral]): [double]", {"cumchidist", "chi", "chi-square", "cumulative", "distribution"},
     jfcStatistics},
    {"cumnormaldist", JUXFunctionClass<TJUXFunc_CumNormalDist>(),
     "Returns the probability that a normally distributed value with the given mean and standard deviation is at "
     "least x",
     "(x [numeral]; Mean [numeral]; Std [numeral]): [double]",
     {"cumnormaldist", "normal", "gauss", "cumulative", "distribution", "tail"}, jfcStatistics},
    {"erf", JUXFunctionClass<TJUXFunc_ErrorFcn>(), "Returns the error function of x", "(x [numeral]): [double]",
     {"erf", "error function"}, jfcArithmetic},
    {"erfc", JUXFunctionClass<TJUXFunc_CompErrorFcn>(), "Returns the complementary error function 1 - erf(x)",
     "(x [numeral]): [double]", {"erfc", "error function", "complementary"}, jfcArithmetic},
}};

}  // namespace

std::span<const TJUXFunctionInfo> SpecialFunctionTable() { return kSpecialFunctions; }
