#pragma once
// Special mathematical functions of the expression language: gamma, gammaln,
// gammainc, gammadist, chidist, cumchidist, normaldist, cumnormaldist, erf and
// erfc. Each reads its arguments as doubles, computes in extended precision
// (higher_math.h) and stores a double into a result unified from the
// double class (a currency argument gives a currency result). None records an
// error for a bad argument: outside its domain a function answers -infinity.

#include <array>
#include <span>

#include "eval/language/function.h"

// The common evaluation of the special functions, with N parameters on top of
// Base (TJUXFunction for one, TJUXTwoParamFunc or TJUXThreeParamFunc).
template <class Base, int N>
class TJUXSpecialFunc : public Base {
 public:
  using Base::Base;
  void Prepare(TTreeMapNode* scope) override;
  // Every parameter is evaluated, then each is read as a double; unless this
  // node has an error the function value is stored. One-parameter functions
  // take their parameter's set state, the others merge all parameters' states.
  void Evaluate(TTreeMapNode* scope, bool first) override;

 protected:
  virtual long double Compute(const std::array<long double, N>& args) const = 0;
};

extern template class TJUXSpecialFunc<TJUXFunction, 1>;
extern template class TJUXSpecialFunc<TJUXTwoParamFunc, 2>;
extern template class TJUXSpecialFunc<TJUXThreeParamFunc, 3>;

using TJUXSpecialFunc1 = TJUXSpecialFunc<TJUXFunction, 1>;
using TJUXSpecialFunc2 = TJUXSpecialFunc<TJUXTwoParamFunc, 2>;
using TJUXSpecialFunc3 = TJUXSpecialFunc<TJUXThreeParamFunc, 3>;

// gamma(x)
class TJUXFunc_Gamma : public TJUXSpecialFunc1 {
 public:
  using TJUXSpecialFunc1::TJUXSpecialFunc1;
 protected:
  long double Compute(const std::array<long double, 1>& args) const override;
};

// gammaln(x): ln |Gamma(x)|
class TJUXFunc_GammaLn : public TJUXSpecialFunc1 {
 public:
  using TJUXSpecialFunc1::TJUXSpecialFunc1;
 protected:
  long double Compute(const std::array<long double, 1>& args) const override;
};

// erf(x)
class TJUXFunc_ErrorFcn : public TJUXSpecialFunc1 {
 public:
  using TJUXSpecialFunc1::TJUXSpecialFunc1;
 protected:
  long double Compute(const std::array<long double, 1>& args) const override;
};

// erfc(x) = 1 - erf(x)
class TJUXFunc_CompErrorFcn : public TJUXSpecialFunc1 {
 public:
  using TJUXSpecialFunc1::TJUXSpecialFunc1;
 protected:
  long double Compute(const std::array<long double, 1>& args) const override;
};

// gammainc(X; A): the regularized lower incomplete gamma function P(A, X).
class TJUXFunc_GammaInc : public TJUXSpecialFunc2 {
 public:
  using TJUXSpecialFunc2::TJUXSpecialFunc2;
 protected:
  long double Compute(const std::array<long double, 2>& args) const override;
};

// chidist(x; k): the chi-square density.
class TJUXFunc_ChiDist : public TJUXSpecialFunc2 {
 public:
  using TJUXSpecialFunc2::TJUXSpecialFunc2;
 protected:
  long double Compute(const std::array<long double, 2>& args) const override;
};

// cumchidist(X; k): the chi-square distribution function (lower tail).
class TJUXFunc_CumChiDist : public TJUXSpecialFunc2 {
 public:
  using TJUXSpecialFunc2::TJUXSpecialFunc2;
 protected:
  long double Compute(const std::array<long double, 2>& args) const override;
};

// gammadist(x; lambda; r): the gamma density with shape lambda and scale r.
class TJUXFunc_GammaDist : public TJUXSpecialFunc3 {
 public:
  using TJUXSpecialFunc3::TJUXSpecialFunc3;
 protected:
  long double Compute(const std::array<long double, 3>& args) const override;
};

// normaldist(x; Mean; Std): the normal density.
class TJUXFunc_NormalDist : public TJUXSpecialFunc3 {
 public:
  using TJUXSpecialFunc3::TJUXSpecialFunc3;
 protected:
  long double Compute(const std::array<long double, 3>& args) const override;
};

// cumnormaldist(x; Mean; Std): the integral of normaldist from x on (sqrt(Std)
// times the upper-tail probability).
class TJUXFunc_CumNormalDist : public TJUXSpecialFunc3 {
 public:
  using TJUXSpecialFunc3::TJUXSpecialFunc3;
 protected:
  long double Compute(const std::array<long double, 3>& args) const override;
};

// The registry rows of this group.
std::span<const TJUXFunctionInfo> SpecialFunctionTable();
