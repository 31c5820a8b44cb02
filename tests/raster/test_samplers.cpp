// Samplers and resamplers: edge handling per access mode, kernel sampling, nesting and
// transformations, assignment and registries.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "raster/RS32.h"
#include "raster/RS32_Blend.h"
#include "raster/RS32_Resamplers.h"

namespace {
// Pixel (X, Y) = 0xFF000000 + Y * 256 + X.
void FillPositions(TBitmap32& B, Integer W, Integer H) {
  B.SetSize(W, H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) *B.PixelAddress(X, Y) = 0xFF000000u + Y * 256 + X;
}

class TIdentity : public TTransformation {
 public:
  void ReverseFloat(Single X, Single Y, Single& U, Single& V) override {
    U = X;
    V = Y;
  }
};

// Destination = 16 x source: a zoomed view.
class TZoom16 : public TTransformation {
 public:
  void ReverseFloat(Single X, Single Y, Single& U, Single& V) override {
    U = X / 16;
    V = Y / 16;
  }
};

// Overrides neither SampleFixed nor SampleFloat.
class TIncompleteSampler : public TCustomSampler {};

class TFloatOnlySampler : public TCustomSampler {
 public:
  TColor32 SampleFloat(Single X, Single Y) override { return static_cast<TColor32>(X * 10 + Y); }
};
}  // namespace

// Outside the anonymous namespace: the messages name the class.
class TBareTransformation : public TTransformation {};

TEST(RasterNearestResampler, AccessModes) {
  TBitmap32 B;
  FillPositions(B, 4, 3);
  B.SetOuterColor(0x99);
  B.SetWrapMode(wmRepeat);
  B.SetClipRect(MakeRect(1, 0, 4, 3));
  auto* R = static_cast<TNearestResampler*>(B.GetResampler());
  struct TCase {
    TPixelAccessMode Mode;
    Integer X, Y;
    TColor32 Expected;
  };
  const TCase Cases[] = {
      {pamSafe, 0, 0, 0x99},
      {pamSafe, 3, 2, 0xFF000203},
      {pamTransparentEdge, 0, 1, 0x00000101},  // one left of the clip: the edge colour, transparent
      {pamTransparentEdge, 2, 1, 0xFF000102},
      {pamTransparentEdge, 9, 9, 0x00000203},
      {pamWrap, 4, 0, 0xFF000001},
      {pamWrap, 0, 3, 0xFF000003},
      {pamUnsafe, 0, 0, 0xFF000000},
  };
  for (const TCase& C : Cases) {
    R->SetPixelAccessMode(C.Mode);
    R->BeginSampling();
    EXPECT_EQ(R->SampleInt(C.X, C.Y), C.Expected) << C.Mode << " " << C.X << "," << C.Y;
    EXPECT_EQ(R->SampleFixed(C.X << 16, C.Y << 16), C.Expected);
    EXPECT_EQ(R->SampleFloat(static_cast<Single>(C.X), static_cast<Single>(C.Y)), C.Expected);
    R->EndSampling();
  }
  R->SetPixelAccessMode(pamSafe);
  R->BeginSampling();
  EXPECT_EQ(R->SampleFixed(0x28000, 0), 0xFF000002u);  // exact halves round down
  EXPECT_EQ(R->SampleFloat(2.5f, 0), 0xFF000002u);     // halves to even
  EXPECT_EQ(R->SampleFloat(3.5f, 0), 0x99u);
  EXPECT_EQ(R->SampleBounds(), MakeRect(1, 0, 4, 3));
  R->SetPixelAccessMode(pamTransparentEdge);
  EXPECT_EQ(R->SampleBounds(), MakeRect(0, -1, 5, 4));
  EXPECT_TRUE(R->IsBounded());
  EXPECT_EQ(R->SamplingRadius(), 1);
}

TEST(RasterNearestResampler, EmptyClipHasNoEdge) {
  TBitmap32 B;
  FillPositions(B, 2, 2);
  B.SetClipRect(MakeRect(5, 5, 6, 6));
  auto* R = static_cast<TNearestResampler*>(B.GetResampler());
  R->SetPixelAccessMode(pamTransparentEdge);
  R->BeginSampling();
  EXPECT_EQ(R->SampleInt(0, 0), 0u);
  R->SetPixelAccessMode(pamWrap);
  R->BeginSampling();
  EXPECT_EQ(R->SampleInt(0, 0), B.GetOuterColor());
}

TEST(RasterLinearResampler, ReadsAndEdges) {
  TBitmap32 B;
  B.SetSize(2, 2);
  B.Clear(0xFF000000);
  *B.PixelAddress(1, 1) = 0xFFFFFFFF;
  B.SetOuterColor(0x33);
  B.SetResamplerClassName("TLinearResampler");
  auto* R = static_cast<TLinearResampler*>(B.GetResampler());
  R->BeginSampling();
  EXPECT_EQ(R->SampleFixed(0x8000, 0x8000), B.InterpolatedPixelFixedClipped(0x8000, 0x8000));
  EXPECT_EQ(R->SampleFloat(0.5f, 0.5f), B.InterpolatedPixelFixedClipped(0x8000, 0x8000));
  EXPECT_EQ(R->SampleFloat(-3, 0), 0x33u);
  R->SetPixelAccessMode(pamWrap);
  R->BeginSampling();
  EXPECT_EQ(R->SampleFixed(0x18000, 0), B.WrappedInterpolatedPixel(0x18000, 0));
  R->SetPixelAccessMode(pamTransparentEdge);
  R->BeginSampling();
  EXPECT_EQ(R->SampleFixed(-0x30000, 0), 0u);  // more than a pixel outside
  // Half a pixel left of the clip: mixed with the transparent copy of the edge.
  const TColor32 Edge = R->SampleFixed(-0x8000, 0x4000);
  EXPECT_EQ(Edge & 0x00FFFFFF, 0u);
  EXPECT_LT(Edge >> 24, 0xFFu);
  EXPECT_GT(Edge >> 24, 0u);
  EXPECT_EQ(R->SampleFixed(0x4000, 0x4000), B.InterpolatedPixel256(0x40, 0x40));
}

TEST(RasterKernelResampler, SafeAccessOutsideGivesOuterColourAtBeginSampling) {
  TBitmap32 B;
  FillPositions(B, 4, 4);
  B.SetOuterColor(0x44);
  B.SetResamplerClassName("TKernelResampler");
  auto* R = static_cast<TKernelResampler*>(B.GetResampler());
  R->BeginSampling();
  B.SetOuterColor(0x55);
  EXPECT_EQ(R->SampleFloat(100, 100), 0x44u);
  EXPECT_EQ(R->SampleFloat(2, 1), B.Pixel(2, 1));  // the box kernel at a whole pixel
  R->SetPixelAccessMode(pamTransparentEdge);
  R->BeginSampling();
  EXPECT_EQ(R->SampleFloat(-100, 0), 0u);
  R->EndSampling();
}

// A bright pixel under a negative lobe drives a channel's sum below zero; the arithmetic
// shift keeps it negative, so it clamps to 0 instead of turning into 255.
TEST(RasterKernelResampler, UndershootClampsToZero) {
  TBitmap32 B;
  B.SetSize(8, 3);
  B.Clear(0xFF000000);
  for (Integer Y = 0; Y < 3; ++Y) *B.PixelAddress(4, Y) = 0xFF0000FF;
  B.SetResamplerClassName("TKernelResampler");
  auto* R = static_cast<TKernelResampler*>(B.GetResampler());
  R->SetKernelClassName("TCubicKernel");
  ASSERT_EQ(R->GetKernelClassName(), "TCubicKernel");
  for (TKernelMode Mode : {kmDynamic, kmTableNearest, kmTableLinear}) {
    R->SetKernelMode(Mode);
    R->BeginSampling();
    EXPECT_EQ(R->SampleFloat(5.5f, 1), 0xFF000000u) << Mode;
    EXPECT_EQ(R->SampleFloat(4, 1), 0xFF0000FFu) << Mode;
    R->EndSampling();
  }
}

TEST(RasterKernelResampler, TableModesMatchDynamicWeightsOnTablePoints) {
  TBitmap32 B;
  FillPositions(B, 6, 6);
  B.SetResamplerClassName("TKernelResampler");
  auto* R = static_cast<TKernelResampler*>(B.GetResampler());
  R->SetKernelClassName("TLanczosKernel");
  R->SetTableSize(3);  // rows at offsets 0, 0.5, 1
  std::vector<TColor32> Results;
  for (TKernelMode Mode : {kmDynamic, kmTableNearest, kmTableLinear}) {
    R->SetKernelMode(Mode);
    R->BeginSampling();
    if (Mode != kmDynamic) {
      ASSERT_NE(R->GetKernelTable(), nullptr);
      EXPECT_EQ(R->GetKernelTable()->GetWidth(), 7);
      EXPECT_EQ(R->GetKernelTable()->GetHeight(), 4);
    }
    Results.push_back(R->SampleFloat(2.5f, 3.5f));
    R->EndSampling();
    EXPECT_EQ(R->GetKernelTable(), nullptr);
  }
  EXPECT_EQ(Results[1], Results[0]);
  EXPECT_EQ(Results[2], Results[0]);
}

TEST(RasterKernelResampler, WrapWithEmptyClipGivesOuterColour) {
  TBitmap32 B;
  FillPositions(B, 3, 3);
  B.SetOuterColor(0x66);
  B.SetResamplerClassName("TKernelResampler");
  B.SetClipRect(MakeRect(9, 9, 10, 10));
  auto* R = static_cast<TKernelResampler*>(B.GetResampler());
  R->SetPixelAccessMode(pamWrap);
  R->BeginSampling();
  EXPECT_EQ(R->SampleFloat(1, 1), 0x66u);
}

TEST(RasterKernelResampler, PropertiesAndAssign) {
  TBitmap32 A, B;
  A.SetResamplerClassName("TKernelResampler");
  B.SetResamplerClassName("TKernelResampler");
  auto* RA = static_cast<TKernelResampler*>(A.GetResampler());
  RA->SetTableSize(1);
  EXPECT_EQ(RA->GetTableSize(), 2);
  RA->SetTableSize(17);
  RA->SetKernelMode(kmTableLinear);
  RA->SetPixelAccessMode(pamWrap);
  RA->SetKernelClassName("THermiteKernel");
  static_cast<THermiteKernel*>(RA->GetKernel())->SetTension(0.25f);
  RA->SetKernelClassName("TNoSuchKernel");
  EXPECT_EQ(RA->GetKernelClassName(), "THermiteKernel");

  auto* RB = static_cast<TKernelResampler*>(B.GetResampler());
  RB->Assign(RA);
  EXPECT_EQ(RB->GetKernelClassName(), "THermiteKernel");
  EXPECT_EQ(RB->GetKernelMode(), kmTableLinear);
  EXPECT_EQ(RB->GetTableSize(), 17);
  EXPECT_EQ(RB->GetPixelAccessMode(), pamWrap);
  EXPECT_EQ(static_cast<THermiteKernel*>(RB->GetKernel())->GetTension(), 0.25f);
  EXPECT_EQ(RB->SamplingRadius(), 2);

  TNearestResampler Unbound;
  EXPECT_THROW(Unbound.BeginSampling(), EBitmapException);
  EXPECT_THROW(Unbound.SampleInt(0, 0), EBitmapException);
  EXPECT_THROW(Unbound.SampleBounds(), EBitmapException);
  EXPECT_THROW(Unbound.Assign(&A), EConvertError);
}

TEST(RasterSamplers, DefaultFormsNeedOneOverride) {
  TIncompleteSampler Incomplete;
  EXPECT_THROW(Incomplete.SampleInt(1, 2), ESamplerNotImplemented);
  EXPECT_THROW(Incomplete.SampleFloat(1, 2), ESamplerNotImplemented);
  TFloatOnlySampler FloatOnly;
  EXPECT_EQ(FloatOnly.SampleInt(3, 4), 34u);
  EXPECT_EQ(FloatOnly.SampleFixed(0x18000, 0), 15u);
  EXPECT_EQ(FloatOnly.SampleInt(40000, 1), 400001u);  // beyond the 16.16 range: float, not wrapped
  EXPECT_FALSE(FloatOnly.IsBounded());
  EXPECT_EQ(FloatOnly.SampleBounds().Left, -2147483647 - 1);
}

TEST(RasterSamplers, NestedWithoutSampler) {
  TNestedSampler Nested;
  try {
    Nested.BeginSampling();
    FAIL();
  } catch (const ENestedException& E) {
    EXPECT_EQ(E.GetMessage(), "Nested sampler is nil");
  }
  EXPECT_THROW(Nested.IsBounded(), ENestedException);
  EXPECT_THROW(Nested.SampleBounds(), ENestedException);
}

TEST(RasterTransformation, NotImplementedMessagesNameTheClass) {
  TBareTransformation T;
  try {
    T.ReversePoint(TPoint{1, 1});
    FAIL();
  } catch (const ETransformNotImplemented& E) {
    EXPECT_EQ(E.GetMessage(), "Reverse transformation is not implemented in TBareTransformation.");
  }
  try {
    T.ForwardPoint(TFloatPoint{1, 1});
    FAIL();
  } catch (const ETransformNotImplemented& E) {
    EXPECT_EQ(E.GetMessage(), "Forward transformation is not implemented in TBareTransformation.");
  }
  TBitmap32 B;
  FillPositions(B, 2, 2);
  TTransformer Transformer(B.GetResampler(), &T);
  EXPECT_THROW(Transformer.SampleInt(0, 0), ETransformNotImplemented);
  EXPECT_EQ(T.MappedBounds({0.4f, 0.6f, 2.5f, 3.5f}), MakeRect(0, 1, 2, 4));
}

// The nearest transformer floors its fixed-point coordinates: -0.5 is column -1, which the
// wrapping and edge readers treat as left of the bitmap, not as column 65535.
TEST(RasterTransformer, NearestTransformerFloorsNegativeCoordinates) {
  TBitmap32 B;
  FillPositions(B, 5, 1);
  auto* R = static_cast<TNearestResampler*>(B.GetResampler());
  TIdentity Identity;
  TNearestTransformer Transformer(R, &Identity);
  B.SetWrapMode(wmRepeat);
  R->SetPixelAccessMode(pamWrap);
  Transformer.BeginSampling();
  EXPECT_EQ(Transformer.SampleFixed(-0x8000, 0), 0xFF000004u);
  EXPECT_EQ(Transformer.SampleFixed(0x28000, 0), 0xFF000002u);
  R->SetPixelAccessMode(pamTransparentEdge);
  Transformer.BeginSampling();
  EXPECT_EQ(Transformer.SampleFixed(-0x8000, 0), 0x00000000u);
  EXPECT_EQ(Transformer.SampleFloat(-0.4f, 0), 0xFF000000u);  // rounds to column 0
  EXPECT_EQ(Transformer.SampleInt(4, 0), 0xFF000004u);
  EXPECT_TRUE(Transformer.IsBounded());
  EXPECT_EQ(Transformer.SampleBounds(), MakeRect(-1, -1, 6, 2));
}

// Destination coordinates of a zoomed view run past 32767; they are mapped without wrapping.
TEST(RasterTransformer, LargeCoordinatesAtZoom) {
  TBitmap32 B;
  FillPositions(B, 3000, 1);
  auto* R = static_cast<TNearestResampler*>(B.GetResampler());
  TZoom16 Zoom;
  TTransformer Transformer(R, &Zoom);
  TNearestTransformer Nearest(R, &Zoom);
  Transformer.BeginSampling();
  EXPECT_EQ(Transformer.SampleInt(40000, 0), 0xFF000000u + 2500);
  EXPECT_EQ(Nearest.SampleInt(40000, 0), 0xFF000000u + 2500);
  EXPECT_EQ(Nearest.SampleInt(1600, 0), 0xFF000000u + 100);
  EXPECT_EQ(Zoom.ReversePoint(TPoint{47999, 16}), (TPoint{3000, 1}));
}

TEST(RasterRegistries, ClassesInRegistrationOrder) {
  ASSERT_NE(ResamplerRegistry, nullptr);
  ASSERT_NE(KernelRegistry, nullptr);
  std::vector<std::string> Names;
  for (Integer I = 0; I < ResamplerRegistry->GetCount(); ++I)
    Names.push_back(ResamplerRegistry->GetItem(I)->ClassName);
  EXPECT_EQ(Names, (std::vector<std::string>{"TNearestResampler", "TLinearResampler", "TDraftResampler",
                                             "TKernelResampler"}));
  Names.clear();
  for (Integer I = 0; I < KernelRegistry->GetCount(); ++I) {
    const auto* Ref = static_cast<const TKernelClassRef*>(KernelRegistry->GetItem(I));
    std::unique_ptr<TCustomKernel> K(Ref->Create());
    EXPECT_EQ(K->ClassName(), Ref->ClassName);
    Names.push_back(Ref->ClassName);
  }
  EXPECT_EQ(Names, (std::vector<std::string>{"TBoxKernel", "TLinearKernel", "TCosineKernel", "TSplineKernel",
                                             "TCubicKernel", "TMitchellKernel", "TLanczosKernel",
                                             "TGaussianKernel", "TBlackmanKernel", "THannKernel",
                                             "THammingKernel", "TSinshKernel", "THermiteKernel"}));
  for (Integer I = 0; I < ResamplerRegistry->GetCount(); ++I) {
    TBitmap32 B;
    const auto* Ref = static_cast<const TResamplerClassRef*>(ResamplerRegistry->GetItem(I));
    TBitmap32Resampler* R = Ref->Create(&B);
    EXPECT_EQ(B.GetResampler(), R);
    EXPECT_EQ(R->ClassName(), Ref->ClassName);
  }
}
