#pragma once
// Numerical routines behind the evaluator's special functions: the gamma
// function and its logarithm, the regularized incomplete gamma function, the
// error function and the densities and tails built on them.
//
// Everything but GammaFunction computes in 80-bit extended precision
// (long double). No routine raises or records an error: outside its domain a
// routine answers -infinity, and arithmetic that overflows or divides by zero
// gives an infinity or NaN as IEEE arithmetic does.

#include <span>

// Gamma(x), in double precision (W. J. Cody's rational approximation on
// [1, 2) and asymptotic series from 12 on). +infinity for |x| < 1e-16 and
// above about 171.6; at a negative integer -n, +infinity for odd n and
// -infinity for even n.
double GammaFunction(double x);

// c[0]*x^n + c[1]*x^(n-1) + ... + c[n]; `coefficients` holds at least n + 1
// values.
long double EvalPolynomial(std::span<const long double> coefficients, int n, long double x);

// ln |Gamma(x)| (Cephes' lgam). -infinity at the poles (0 and the negative
// integers) and above 2.556348e305.
long double LnGamma(long double x);

// Regularized lower incomplete gamma function P(a, x) = gamma(a, x) / Gamma(a);
// -infinity for x < 0 or a <= 0, or when the series does not converge.
long double IncGammaP(long double a, long double x);

// P(a, x) by its series (meant for x < a + 1); `lnGammaA` receives LnGamma(a).
void IncGammaSeries(long double a, long double x, long double& result, long double& lnGammaA);

// Q(a, x) = 1 - P(a, x) by its continued fraction (meant for x >= a + 1);
// `lnGammaA` receives LnGamma(a).
void IncGammaContFrac(long double a, long double x, long double& result, long double& lnGammaA);

// W. J. Cody's CALERF: erf(x) for kind 0, erfc(x) = 1 - erf(x) for kind 1.
long double ErfCore(int kind, long double x);

// x to the power y as the distribution functions take it: 1 for y = 0, 0 for
// x = 0 and y > 0, repeated squaring for a whole y of magnitude up to
// 2147483647 (so a negative base works), else e^(y ln x).
long double DistPower(long double x, long double y);

// Gamma density with shape `lambda` and scale `r`; -infinity for x < 0,
// lambda <= 0 or r <= 0.
long double GammaDensity(long double x, long double lambda, long double r);

// Chi-square density with k degrees of freedom; -infinity for x <= 0 or k <= 0.
long double ChiSquareDensity(long double x, long double k);

// Chi-square distribution function (lower tail) P(k/2, x/2).
long double ChiSquareDistribution(long double x, long double k);

// Normal density as the language defines it: exp(-(x-mean)^2/2/std^2) divided
// by sqrt(2 pi std) (a true density only for std = 1); -infinity for std <= 0.
long double NormalDensity(long double x, long double mean, long double std);

// The integral of NormalDensity from x to +infinity: sqrt(std) times the
// upper-tail probability of the normal distribution; NaN for std < 0.
long double NormalUpperTail(long double x, long double mean, long double std);
