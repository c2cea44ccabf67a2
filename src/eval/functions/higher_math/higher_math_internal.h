#pragma once
// Constants shared by the special-function routines, as extended values.

inline constexpr long double kSpecialPi = 3.14159265358979323846264338327950288L;
// ln sqrt(2 pi)
inline constexpr long double kSpecialLnSqrt2Pi = 0.91893853320467274178032973640561764L;
