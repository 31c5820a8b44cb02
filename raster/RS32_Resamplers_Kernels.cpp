// The resampling kernels. Evaluate works in extended precision and returns a single; where a
// value is held as single on its way, it is stored in a Single first.
#include <cmath>

#include "platform/system/Math.h"
#include "raster/RS32_Resamplers.h"

namespace {
// sin(pi X) / (pi X) with pi X held as single.
Extended Sinc(Extended X) {
  if (X == 0) return 1;
  const Single PX = static_cast<Single>(Pi * X);
  return std::sin(static_cast<Extended>(PX)) / PX;
}

// The platform's hyperbolic sine: 0 for an argument within its resolution of zero.
Extended PlatformSinh(Extended X) {
  if (std::fabs(X) <= 1e-16L) return 0;
  return (std::exp(X) - std::exp(-X)) / 2;
}

template <class K>
const TKernelClassRef& KernelRef(const char* Name) {
  static const TKernelClassRef Ref = {{Name}, []() -> TCustomKernel* { return new K(); }};
  return Ref;
}

TPropValue GetSingle(Single V) {
  return static_cast<Extended>(V);
}
Single ToSingle(const TPropValue& V) {
  return static_cast<Single>(PropValueToFloat(V));
}
}  // namespace

void TCustomKernel::AssignTo(TPersistent* Dest) {
  if (dynamic_cast<TCustomKernel*>(Dest) != nullptr)
    CopyPublishedProperties(this, Dest);
  else
    TPersistent::AssignTo(Dest);
}

const TKernelClassRef& TBoxKernel::ClassRef() {
  return KernelRef<TBoxKernel>("TBoxKernel");
}
const TKernelClassRef& TLinearKernel::ClassRef() {
  return KernelRef<TLinearKernel>("TLinearKernel");
}
const TKernelClassRef& TCosineKernel::ClassRef() {
  return KernelRef<TCosineKernel>("TCosineKernel");
}
const TKernelClassRef& TSplineKernel::ClassRef() {
  return KernelRef<TSplineKernel>("TSplineKernel");
}
const TKernelClassRef& TMitchellKernel::ClassRef() {
  return KernelRef<TMitchellKernel>("TMitchellKernel");
}
const TKernelClassRef& TCubicKernel::ClassRef() {
  return KernelRef<TCubicKernel>("TCubicKernel");
}
const TKernelClassRef& THermiteKernel::ClassRef() {
  return KernelRef<THermiteKernel>("THermiteKernel");
}
const TKernelClassRef& TLanczosKernel::ClassRef() {
  return KernelRef<TLanczosKernel>("TLanczosKernel");
}
const TKernelClassRef& TGaussianKernel::ClassRef() {
  return KernelRef<TGaussianKernel>("TGaussianKernel");
}
const TKernelClassRef& TBlackmanKernel::ClassRef() {
  return KernelRef<TBlackmanKernel>("TBlackmanKernel");
}
const TKernelClassRef& THannKernel::ClassRef() {
  return KernelRef<THannKernel>("THannKernel");
}
const TKernelClassRef& THammingKernel::ClassRef() {
  return KernelRef<THammingKernel>("THammingKernel");
}
const TKernelClassRef& TSinshKernel::ClassRef() {
  return KernelRef<TSinshKernel>("TSinshKernel");
}

Single TBoxKernel::Evaluate(Single X) {
  return (X >= -0.5f && X <= 0.5f) ? 1 : 0;
}

Single TLinearKernel::Evaluate(Single X) {
  if (X >= -1 && X < 1) return static_cast<Single>(1 - std::fabs(static_cast<Extended>(X)));
  return 0;
}

Single TCosineKernel::Evaluate(Single X) {
  if (std::fabs(X) < 1) return static_cast<Single>((std::cos(Pi * X) + 1) / 2);
  return 0;
}

Single TSplineKernel::Evaluate(Single X) {
  const Extended A = std::fabs(static_cast<Extended>(X));
  if (A < 1) return static_cast<Single>(A * A * A / 2 - A * A + 2.0L / 3);
  if (A < 2) return static_cast<Single>((2 - A) * (2 - A) * (2 - A) / 6);
  return 0;
}

Single TMitchellKernel::Evaluate(Single X) {
  const Extended A = std::fabs(static_cast<Extended>(X));
  if (A < 1) return static_cast<Single>((7 * A * A * A - 12 * A * A + 16.0L / 3) / 6);
  if (A < 2) return static_cast<Single>((-(7.0L / 3) * A * A * A + 12 * A * A - 20 * A + 32.0L / 3) / 6);
  return 0;
}

Single TCubicKernel::Evaluate(Single X) {
  const Extended A = std::fabs(static_cast<Extended>(X));
  const Extended C = FCoeff;
  if (A < 1) return static_cast<Single>((C + 2) * A * A * A - (C + 3) * A * A + 1);
  if (A < 2) return static_cast<Single>(C * (A * A * A - 5 * A * A + 8 * A - 4));
  return 0;
}

void TCubicKernel::GetPublishedProperties(std::vector<const TPropInfo*>& List) const {
  static const TPropInfo Coeff = {
      "Coeff", pkFloat,
      [](const TPersistent* O) { return GetSingle(static_cast<const TCubicKernel*>(O)->FCoeff); },
      [](TPersistent* O, const TPropValue& V) { static_cast<TCubicKernel*>(O)->SetCoeff(ToSingle(V)); },
      nullptr};
  List.push_back(&Coeff);
}

Single THermiteKernel::Evaluate(Single X) {
  const Extended T = (1 - static_cast<Extended>(FTension)) * 0.5L;
  const Extended TP = (1 + static_cast<Extended>(FBias)) * T;
  const Extended TN = (1 - static_cast<Extended>(FBias)) * T;
  const Integer Z = Floor(X);
  const Extended Tt = std::fabs(Z - static_cast<Extended>(X));
  const Extended T2 = Tt * Tt;
  const Extended T3 = T2 * Tt;
  const Extended M1 = T3 - 2 * T2 + Tt;
  const Extended M2 = T3 - T2;
  const Extended A0 = -2 * T3 + 3 * T2;
  const Extended A1 = 1 - A0;
  switch (Z) {
    case -2:
      return static_cast<Single>(M2 * TN);
    case -1:
      return static_cast<Single>(M1 * TN + A0 + (TP - TN) * M2);
    case 0:
      return static_cast<Single>((TP - TN) * M1 + A1 - M2 * TP);
    case 1:
      return static_cast<Single>(-M1 * TP);
    default:
      return 0;
  }
}

void THermiteKernel::GetPublishedProperties(std::vector<const TPropInfo*>& List) const {
  static const TPropInfo Bias = {
      "Bias", pkFloat,
      [](const TPersistent* O) { return GetSingle(static_cast<const THermiteKernel*>(O)->FBias); },
      [](TPersistent* O, const TPropValue& V) { static_cast<THermiteKernel*>(O)->SetBias(ToSingle(V)); },
      nullptr};
  static const TPropInfo Tension = {
      "Tension", pkFloat,
      [](const TPersistent* O) { return GetSingle(static_cast<const THermiteKernel*>(O)->FTension); },
      [](TPersistent* O, const TPropValue& V) { static_cast<THermiteKernel*>(O)->SetTension(ToSingle(V)); },
      nullptr};
  List.push_back(&Bias);
  List.push_back(&Tension);
}

Single TWindowedSincKernel::Evaluate(Single X) {
  const Single A = std::fabs(X);
  if (A >= FWidth) return 0;
  return static_cast<Single>(Sinc(A) * WindowValue(A));
}

void TWindowedSincKernel::SetWidth(Single Value) {
  FWidth = Value < 4 ? Value : 4;
}

void TWindowedSincKernel::GetPublishedProperties(std::vector<const TPropInfo*>& List) const {
  static const TPropInfo Width = {
      "Width", pkFloat,
      [](const TPersistent* O) { return GetSingle(static_cast<const TWindowedSincKernel*>(O)->FWidth); },
      [](TPersistent* O, const TPropValue& V) {
        static_cast<TWindowedSincKernel*>(O)->SetWidth(ToSingle(V));
      },
      nullptr};
  List.push_back(&Width);
}

Single TLanczosKernel::WindowValue(Single X) {
  return static_cast<Single>(Sinc(static_cast<Extended>(X) / GetWidth()));
}

Single TGaussianKernel::WindowValue(Single X) {
  return static_cast<Single>(std::pow(2.0L, -static_cast<Extended>(X) * X / FSigma));
}

void TGaussianKernel::SetSigma(Single Value) {
  if (Value != 0) FSigma = Value;
}

void TGaussianKernel::GetPublishedProperties(std::vector<const TPropInfo*>& List) const {
  TWindowedSincKernel::GetPublishedProperties(List);
  static const TPropInfo Sigma = {
      "Sigma", pkFloat,
      [](const TPersistent* O) { return GetSingle(static_cast<const TGaussianKernel*>(O)->FSigma); },
      [](TPersistent* O, const TPropValue& V) { static_cast<TGaussianKernel*>(O)->SetSigma(ToSingle(V)); },
      nullptr};
  List.push_back(&Sigma);
}

Single TBlackmanKernel::WindowValue(Single X) {
  const Single A = static_cast<Single>(Pi * X / GetWidth());
  return static_cast<Single>(0.42L + 0.5L * std::cos(static_cast<Extended>(A)) + 0.08L * std::cos(2.0L * A));
}

Single THannKernel::WindowValue(Single X) {
  return static_cast<Single>(0.5L + 0.5L * std::cos(Pi * X / GetWidth()));
}

Single THammingKernel::WindowValue(Single X) {
  return static_cast<Single>(0.54L + 0.46L * std::cos(Pi * X / GetWidth()));
}

// A sinh argument that the platform counts as zero gives the limit 1 instead of a division
// by zero.
Single TSinshKernel::Evaluate(Single X) {
  if (X == 0) return 1;
  const Extended S = PlatformSinh(Pi * FCoeff * X);
  if (S == 0) return 1;
  return static_cast<Single>(FCoeff * std::sin(Pi * X) / S);
}

void TSinshKernel::SetCoeff(Single Value) {
  if (Value != 0) FCoeff = Value;
}

void TSinshKernel::GetPublishedProperties(std::vector<const TPropInfo*>& List) const {
  static const TPropInfo Width = {
      "Width", pkFloat,
      [](const TPersistent* O) { return GetSingle(static_cast<const TSinshKernel*>(O)->FWidth); },
      [](TPersistent* O, const TPropValue& V) { static_cast<TSinshKernel*>(O)->SetWidth(ToSingle(V)); },
      nullptr};
  static const TPropInfo Coeff = {
      "Coeff", pkFloat,
      [](const TPersistent* O) { return GetSingle(static_cast<const TSinshKernel*>(O)->FCoeff); },
      [](TPersistent* O, const TPropValue& V) { static_cast<TSinshKernel*>(O)->SetCoeff(ToSingle(V)); },
      nullptr};
  List.push_back(&Width);
  List.push_back(&Coeff);
}
