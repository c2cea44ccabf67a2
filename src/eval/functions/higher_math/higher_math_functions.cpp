#include "eval/functions/higher_math/higher_math_functions.h"

#include "eval/values/scalar_vars.h"
#include "eval/functions/higher_math/higher_math.h"

template <class Base, int N>
void TJUXSpecialFunc<Base, N>::Prepare(TTreeMapNode* scope) {
  Base::Prepare(scope);
  this->UnifyParamTypes(0, &TJUXVar_Double::Class());
}

template <class Base, int N>
void TJUXSpecialFunc<Base, N>::Evaluate(TTreeMapNode* scope, bool first) {
  for (int i = 0; i < N; ++i) this->Param(i)->EvaluateEx(scope, first);
  std::array<long double, N> args{};
  for (int i = 0; i < N; ++i) args[static_cast<size_t>(i)] = this->ParamValue(i).AsDouble(this);
  if (!this->HasError()) this->Result()->SetDouble(static_cast<double>(Compute(args)), this);
  if constexpr (N == 1)
    this->SetSetState(this->Param(0)->SetState());
  else
    this->CombineAllSetStates();
}

template class TJUXSpecialFunc<TJUXFunction, 1>;
template class TJUXSpecialFunc<TJUXTwoParamFunc, 2>;
template class TJUXSpecialFunc<TJUXThreeParamFunc, 3>;

long double TJUXFunc_Gamma::Compute(const std::array<long double, 1>& args) const {
  return GammaFunction(static_cast<double>(args[0]));
}

long double TJUXFunc_GammaLn::Compute(const std::array<long double, 1>& args) const { return LnGamma(args[0]); }

long double TJUXFunc_ErrorFcn::Compute(const std::array<long double, 1>& args) const { return ErfCore(0, args[0]); }

long double TJUXFunc_CompErrorFcn::Compute(const std::array<long double, 1>& args) const {
  return ErfCore(1, args[0]);
}

long double TJUXFunc_GammaInc::Compute(const std::array<long double, 2>& args) const {
  return IncGammaP(args[1], args[0]);  // gammainc(X; A) is P(A, X)
}

long double TJUXFunc_ChiDist::Compute(const std::array<long double, 2>& args) const {
  return ChiSquareDensity(args[0], args[1]);
}

long double TJUXFunc_CumChiDist::Compute(const std::array<long double, 2>& args) const {
  return ChiSquareDistribution(args[0], args[1]);
}

long double TJUXFunc_GammaDist::Compute(const std::array<long double, 3>& args) const {
  return GammaDensity(args[0], args[1], args[2]);
}

long double TJUXFunc_NormalDist::Compute(const std::array<long double, 3>& args) const {
  return NormalDensity(args[0], args[1], args[2]);
}

long double TJUXFunc_CumNormalDist::Compute(const std::array<long double, 3>& args) const {
  return NormalUpperTail(args[0], args[1], args[2]);
}
