// Kernel values, widths and property limits.
#include <gtest/gtest.h>

#include <memory>

#include "raster/RS32_Resamplers.h"

namespace {
struct TKernelCase {
  const TKernelClassRef& Ref;
  Single X;
  double Expected;
};
}  // namespace

TEST(RasterKernels, ValuesTable) {
  const TKernelCase Cases[] = {
      {TBoxKernel::ClassRef(), 0.5f, 1},
      {TBoxKernel::ClassRef(), 0.5001f, 0},
      {TBoxKernel::ClassRef(), -0.5f, 1},
      {TLinearKernel::ClassRef(), -1, 0},
      {TLinearKernel::ClassRef(), -0.5f, 0.5},
      {TLinearKernel::ClassRef(), 1, 0},
      {TCosineKernel::ClassRef(), 0.5f, 0.5},
      {TCosineKernel::ClassRef(), 1, 0},
      {TSplineKernel::ClassRef(), 0.5f, 0.47916666666666663},
      {TSplineKernel::ClassRef(), -1.5f, 0.020833333333333332},
      {TMitchellKernel::ClassRef(), 0.5f, 0.5347222222222222},
      {TMitchellKernel::ClassRef(), 1.5f, -0.03472222222222232},
      {TCubicKernel::ClassRef(), 0, 1},
      {TCubicKernel::ClassRef(), 1, 0},
      {TCubicKernel::ClassRef(), 1.5f, -0.0625},
      {TCubicKernel::ClassRef(), 2, 0},
      {THermiteKernel::ClassRef(), 0, 1},
      {THermiteKernel::ClassRef(), 1, 0},
      {THermiteKernel::ClassRef(), -1, 0},
      {THermiteKernel::ClassRef(), 0.5f, 0.5625},
      {THermiteKernel::ClassRef(), -0.5f, 0.5625},
      {THermiteKernel::ClassRef(), 2.5f, 0},
      {TLanczosKernel::ClassRef(), 0, 1},
      {TLanczosKernel::ClassRef(), 3, 0},
      {TLanczosKernel::ClassRef(), 0.5f, 0.6079271018540267},
      {TLanczosKernel::ClassRef(), -1.5f, -0.13509491152311703},
      {TGaussianKernel::ClassRef(), 0.5f, 0.5588503629438746},
      {TBlackmanKernel::ClassRef(), 0.5f, 0.5685095429999835},
      {THannKernel::ClassRef(), 0.5f, 0.5939743338946868},
      {THammingKernel::ClassRef(), 0.5f, 0.5973859689725184},
      {TSinshKernel::ClassRef(), 0, 1},
      {TSinshKernel::ClassRef(), 0.5f, 0.5755919354604244},
      {TSinshKernel::ClassRef(), 1e-30f,
       1},  // sinh of a zero-like argument: the limit, not a division by zero
  };
  for (const TKernelCase& C : Cases) {
    std::unique_ptr<TCustomKernel> K(C.Ref.Create());
    EXPECT_NEAR(K->Evaluate(C.X), C.Expected, 2e-7) << C.Ref.ClassName << "(" << C.X << ")";
  }
}

TEST(RasterKernels, WidthsAndClamping) {
  struct TCase {
    const TKernelClassRef& Ref;
    Single Width;
    bool Clamps;
  };
  const TCase Cases[] = {{TBoxKernel::ClassRef(), 1, false},     {TLinearKernel::ClassRef(), 1, false},
                         {TCosineKernel::ClassRef(), 1, false},  {TSplineKernel::ClassRef(), 2, true},
                         {TMitchellKernel::ClassRef(), 2, true}, {TCubicKernel::ClassRef(), 2, true},
                         {THermiteKernel::ClassRef(), 2, true},  {TLanczosKernel::ClassRef(), 3, true},
                         {TGaussianKernel::ClassRef(), 3, true}, {TSinshKernel::ClassRef(), 3, true}};
  for (const TCase& C : Cases) {
    std::unique_ptr<TCustomKernel> K(C.Ref.Create());
    EXPECT_EQ(K->GetWidth(), C.Width) << C.Ref.ClassName;
    EXPECT_EQ(K->NeedsClamping(), C.Clamps) << C.Ref.ClassName;
    EXPECT_EQ(K->ClassName(), C.Ref.ClassName);
  }
}

TEST(RasterKernels, PropertyLimits) {
  TLanczosKernel L;
  L.SetWidth(5);
  EXPECT_EQ(L.GetWidth(), 4);
  TGaussianKernel G;
  G.SetSigma(0);
  EXPECT_EQ(G.GetSigma(), 1.33f);
  TSinshKernel S;
  S.SetCoeff(0);
  EXPECT_EQ(S.GetCoeff(), 0.5f);
  S.SetWidth(7);
  EXPECT_EQ(S.GetWidth(), 7);
}
