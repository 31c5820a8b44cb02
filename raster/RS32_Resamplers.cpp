// Samplers, resamplers and their registries.
#include "raster/RS32_Resamplers.h"

#include <cmath>

#include "platform/system/Format.h"
#include "platform/system/Math.h"
#include "raster/RS32_Blend.h"
#include "raster/RS32_LowLevel.h"
#include "raster/RS32_Math.h"

TClassList* ResamplerRegistry = nullptr;
TClassList* KernelRegistry = nullptr;

namespace {
constexpr Byte DefaultNone = 0;
constexpr Byte DefaultFixed = 1;
constexpr Byte DefaultFloat = 2;

// Marks a default sampling form as running on the object and refuses to enter the other one
// from it: the two defaults call each other, which without an override never ends.
class TDefaultSampling {
 public:
  TDefaultSampling(TCustomSampler* Sampler, Byte& State, Byte Form) : FState(State), FSaved(State) {
    if (State != DefaultNone)
      throw ESamplerNotImplemented(
          Format("%s implements neither SampleFixed nor SampleFloat", {Sampler->ClassName()}));
    State = Form;
  }
  ~TDefaultSampling() { FState = FSaved; }

 private:
  Byte& FState;
  Byte FSaved;
};

template <class R>
const TResamplerClassRef& ResamplerRef(const char* Name) {
  static const TResamplerClassRef Ref = {
      {Name}, [](TBitmap32* Bitmap) -> TBitmap32Resampler* { return NewResampler<R>(Bitmap); }};
  return Ref;
}

template <class T>
const TTransformerClassRef& TransformerRef(const char* Name) {
  static const TTransformerClassRef Ref = {
      {Name}, [](TCustomSampler* S, TTransformation* T2) -> TTransformer* { return new T(S, T2); }};
  return Ref;
}

TColor32 WithAlphaCleared(TColor32 C) {
  return C & 0x00FFFFFF;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// TCustomSampler

TColor32 TCustomSampler::SampleInt(Integer X, Integer Y) {
  if (FitsFixed(X) && FitsFixed(Y)) return SampleFixed(X << 16, Y << 16);
  return SampleFloat(static_cast<Single>(X), static_cast<Single>(Y));
}

TColor32 TCustomSampler::SampleFixed(TFixed16 X, TFixed16 Y) {
  TDefaultSampling Guard(this, FDefaultSampling, DefaultFixed);
  return SampleFloat(static_cast<Single>(X / 65536.0L), static_cast<Single>(Y / 65536.0L));
}

TColor32 TCustomSampler::SampleFloat(Single X, Single Y) {
  TDefaultSampling Guard(this, FDefaultSampling, DefaultFloat);
  return SampleFixed(FixedFromFloat(X), FixedFromFloat(Y));
}

TRect TCustomSampler::SampleBounds() {
  return {-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647};
}

// ---------------------------------------------------------------------------------------------
// TBitmap32Resampler

TBitmap32Resampler::TBitmap32Resampler() : FTransformerClassRef(&TTransformer::ClassRef()) {}

void TBitmap32Resampler::Bind(TBitmap32* Bitmap) {
  FBitmap = Bitmap;
  if (Bitmap != nullptr) Bitmap->SetResampler(this);
}

void TBitmap32Resampler::Changed() {
  if (FBitmap != nullptr) FBitmap->Changed();
}

TBitmap32* TBitmap32Resampler::Bitmap() const {
  if (FBitmap == nullptr) throw EBitmapException("Source bitmap is nil");
  return FBitmap;
}

void TBitmap32Resampler::BeginSampling() {
  FClipRect = Bitmap()->GetClipRect();
}

TRect TBitmap32Resampler::SampleBounds() {
  TRect R = Bitmap()->GetClipRect();
  if (FPixelAccessMode == pamTransparentEdge) RectInflate(R, 1, 1);
  return R;
}

void TBitmap32Resampler::SetPixelAccessMode(TPixelAccessMode Value) {
  if (Value == FPixelAccessMode) return;
  FPixelAccessMode = Value;
  Changed();
}

void TBitmap32Resampler::AssignTo(TPersistent* Dest) {
  if (dynamic_cast<TBitmap32Resampler*>(Dest) != nullptr)
    CopyPublishedProperties(this, Dest);
  else
    TCustomResampler::AssignTo(Dest);
}

void TBitmap32Resampler::GetPublishedProperties(std::vector<const TPropInfo*>& List) const {
  static const TPropInfo PixelAccessMode = {
      "PixelAccessMode", pkOrdinal,
      [](const TPersistent* O) -> TPropValue {
        return static_cast<Int64>(dynamic_cast<const TBitmap32Resampler*>(O)->FPixelAccessMode);
      },
      [](TPersistent* O, const TPropValue& V) {
        const Int64 Mode = PropValueToInt(V);
        if (Mode < pamUnsafe || Mode > pamTransparentEdge) throw ERangeError("Range check error");
        dynamic_cast<TBitmap32Resampler*>(O)->SetPixelAccessMode(static_cast<TPixelAccessMode>(Mode));
      },
      nullptr};
  List.push_back(&PixelAccessMode);
}

// ---------------------------------------------------------------------------------------------
// TNearestResampler

const TResamplerClassRef& TNearestResampler::ClassRef() {
  return ResamplerRef<TNearestResampler>("TNearestResampler");
}

TNearestResampler::TNearestResampler() {
  SetTransformerClassRef(&TNearestTransformer::ClassRef());
}

void TNearestResampler::BeginSampling() {
  TBitmap32Resampler::BeginSampling();
  FReader = GetPixelAccessMode();
}

// An empty clip rectangle has no edge pixel: every edge read is transparent black.
TColor32 TNearestResampler::ReadEdge(Integer X, Integer Y) const {
  if (!RectHasArea(FClipRect)) return 0;
  const Integer X1 = ClampToRange(X, FClipRect.Left, FClipRect.Right - 1);
  const Integer Y1 = ClampToRange(Y, FClipRect.Top, FClipRect.Bottom - 1);
  const TColor32 C = FBitmap->Pixel(X1, Y1);
  return (X1 == X && Y1 == Y) ? C : WithAlphaCleared(C);
}

TColor32 TNearestResampler::Read(Integer X, Integer Y) const {
  Bitmap();
  switch (FReader) {
    case pamUnsafe:
      return FBitmap->Pixel(X, Y);
    case pamSafe:
      return FBitmap->PixelClipped(X, Y);
    case pamWrap:
      return FBitmap->WrappedPixel(X, Y);
    case pamTransparentEdge:
      return ReadEdge(X, Y);
  }
  return FBitmap->PixelClipped(X, Y);
}

TColor32 TNearestResampler::SampleInt(Integer X, Integer Y) {
  return Read(X, Y);
}

TColor32 TNearestResampler::SampleFixed(TFixed16 X, TFixed16 Y) {
  return Read(FixedToIntRound(X), FixedToIntRound(Y));
}

TColor32 TNearestResampler::SampleFloat(Single X, Single Y) {
  return Read(RoundToInteger(X), RoundToInteger(Y));
}

void TNearestResampler::Transfer(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                                 const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback) {
  NearestScale(Dst, DstRect, DstClip, Src, SrcRect, Mode, Callback);
}

// ---------------------------------------------------------------------------------------------
// TLinearResampler, TDraftResampler

const TResamplerClassRef& TLinearResampler::ClassRef() {
  return ResamplerRef<TLinearResampler>("TLinearResampler");
}

TLinearResampler::TLinearResampler() : FStretchKernel(std::make_unique<TLinearKernel>()) {}

TLinearResampler::~TLinearResampler() = default;

void TLinearResampler::BeginSampling() {
  TBitmap32Resampler::BeginSampling();
  FReader = GetPixelAccessMode();
}

TColor32 TLinearResampler::Read(TFixed16 X, TFixed16 Y) const {
  Bitmap();
  switch (FReader) {
    case pamUnsafe:
      return FBitmap->InterpolatedPixelFixed(X, Y);
    case pamSafe:
      return FBitmap->InterpolatedPixelFixedClipped(X, Y);
    case pamWrap:
      return FBitmap->WrappedInterpolatedPixel(X, Y);
    case pamTransparentEdge:
      return ReadEdge(X, Y);
  }
  return FBitmap->InterpolatedPixelFixedClipped(X, Y);
}

TColor32 TLinearResampler::ReadEdge(TFixed16 X, TFixed16 Y) const {
  const TRect& C = FClipRect;
  if (!RectHasArea(C)) return 0;
  const Integer I = X >> 16;
  const Integer J = Y >> 16;
  if (I >= C.Left && I < C.Right - 1 && J >= C.Top && J < C.Bottom - 1)
    return FBitmap->InterpolatedPixel256(X / 256, Y / 256);
  if (I < C.Left - 1 || J < C.Top - 1 || I > C.Right - 1 || J > C.Bottom - 1) return 0;
  const Integer X1 = ClampToRange(I, 0, C.Right - 1);
  const Integer X2 = ClampToRange(I + Sign(X), 0, C.Right - 1);
  const Integer Y1 = ClampToRange(J, 0, C.Bottom - 1);
  const Integer Y2 = ClampToRange(J + Sign(Y), 0, C.Bottom - 1);
  TColor32 UL = FBitmap->Pixel(X1, Y1), UR = FBitmap->Pixel(X2, Y1);
  TColor32 LL = FBitmap->Pixel(X1, Y2), LR = FBitmap->Pixel(X2, Y2);
  if (static_cast<Int64>(X) <= static_cast<Int64>(C.Left) * 65536) {
    UL = WithAlphaCleared(UL);
    LL = WithAlphaCleared(LL);
  } else if (I == C.Right - 1) {
    UR = WithAlphaCleared(UR);
    LR = WithAlphaCleared(LR);
  }
  if (static_cast<Int64>(Y) <= static_cast<Int64>(C.Top) * 65536) {
    UL = WithAlphaCleared(UL);
    UR = WithAlphaCleared(UR);
  } else if (J == C.Bottom - 1) {
    LL = WithAlphaCleared(LL);
    LR = WithAlphaCleared(LR);
  }
  const TColor32 WX = GammaTable[255 - ((X >> 8) & 255)];
  const TColor32 WY = GammaTable[255 - ((Y >> 8) & 255)];
  const TColor32 Result = MixColors(MixColors(UL, UR, WX), MixColors(LL, LR, WX), WY);
  ClearMultimediaState();
  return Result;
}

TColor32 TLinearResampler::SampleFixed(TFixed16 X, TFixed16 Y) {
  return Read(X, Y);
}

TColor32 TLinearResampler::SampleFloat(Single X, Single Y) {
  return Read(FixedFromFloat(X), FixedFromFloat(Y));
}

void TLinearResampler::Transfer(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                                const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback) {
  if (DstRect.Width() > SrcRect.Width() && DstRect.Height() > SrcRect.Height() && SrcRect.Width() >= 2 &&
      SrcRect.Height() >= 2)
    LinearScale(Dst, DstRect, DstClip, Src, SrcRect, Mode, Callback);
  else
    KernelResample(Dst, DstRect, DstClip, Src, SrcRect, FStretchKernel.get(), Mode, Callback);
}

const TResamplerClassRef& TDraftResampler::ClassRef() {
  return ResamplerRef<TDraftResampler>("TDraftResampler");
}

void TDraftResampler::Transfer(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                               const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback) {
  BoxResample(Dst, DstRect, DstClip, Src, SrcRect, GetStretchKernel(), Mode, Callback);
}

// ---------------------------------------------------------------------------------------------
// TKernelResampler

const TResamplerClassRef& TKernelResampler::ClassRef() {
  return ResamplerRef<TKernelResampler>("TKernelResampler");
}

TKernelResampler::TKernelResampler() : FKernel(std::make_unique<TBoxKernel>()) {}

TKernelResampler::~TKernelResampler() = default;

void TKernelResampler::SetKernel(TCustomKernel* Value) {
  if (Value == nullptr || Value == FKernel.get()) return;
  FKernel.reset(Value);
  Changed();
}

std::string TKernelResampler::GetKernelClassName() const {
  return FKernel->ClassName();
}

void TKernelResampler::SetKernelClassName(const std::string& Value) {
  if (Value.empty() || Value == GetKernelClassName() || KernelRegistry == nullptr) return;
  const auto* Ref = static_cast<const TKernelClassRef*>(KernelRegistry->Find(Value));
  if (Ref == nullptr) return;
  FKernel.reset(Ref->Create());
  Changed();
}

void TKernelResampler::SetKernelMode(TKernelMode Value) {
  if (Value == FKernelMode) return;
  FKernelMode = Value;
  Changed();
}

void TKernelResampler::SetTableSize(Integer Value) {
  if (Value < 2) Value = 2;
  if (Value == FTableSize) return;
  FTableSize = Value;
  Changed();
}

Single TKernelResampler::SamplingRadius() {
  return FKernel->GetWidth();
}

void TKernelResampler::Transfer(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                                const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback) {
  KernelResample(Dst, DstRect, DstClip, Src, SrcRect, FKernel.get(), Mode, Callback);
}

namespace {
// Adds 256 minus the sum of the weights to the centre weight.
void CorrectCentre(std::vector<Integer>& W, Integer R) {
  Integer Sum = 0;
  for (Integer V : W) Sum += V;
  W[R] += 256 - Sum;
}
}  // namespace

void TKernelResampler::BeginSampling() {
  TBitmap32Resampler::BeginSampling();
  FOuterColor = FBitmap->GetOuterColor();
  if (FKernelMode != kmTableNearest && FKernelMode != kmTableLinear) return;
  const Integer R = Ceil(FKernel->GetWidth());
  FKernelTable.reset();
  auto Table = std::make_unique<TIntegerMap>();
  Table->SetSize(2 * R + 1, FTableSize + 1);
  std::vector<Integer> Row(2 * R + 1);
  for (Integer I = 0; I <= FTableSize; ++I) {
    const Extended Fraction = static_cast<Extended>(I) / (FTableSize - 1);
    for (Integer K = -R; K <= R; ++K)
      Row[K + R] = static_cast<Integer>(Round(FKernel->Evaluate(static_cast<Single>(K + Fraction)) * 256.0L));
    CorrectCentre(Row, R);
    for (Integer K = 0; K <= 2 * R; ++K) *Table->ValPtr(K, I) = Row[K];
  }
  FKernelTable = std::move(Table);
}

void TKernelResampler::EndSampling() {
  if (FKernelMode == kmTableNearest || FKernelMode == kmTableLinear) {
    FKernelTable.reset();
  }
}

// The 2R + 1 weights for a sample Offset (0 <= Offset < 1) left of the next whole pixel.
void TKernelResampler::Weights(Single Offset, Integer R, std::vector<Integer>& W) const {
  W.assign(2 * R + 1, 0);
  const TIntegerMap* Table = FKernelTable.get();
  const bool UseTable = Table != nullptr && Table->GetWidth() == 2 * R + 1;
  if (FKernelMode == kmTableNearest && UseTable) {
    const Integer Row = ClampToRange(
        static_cast<Integer>(Round(static_cast<Extended>(Offset) * (FTableSize - 1))), 0, FTableSize);
    for (Integer K = 0; K <= 2 * R; ++K) W[K] = Table->GetValue(K, Row);
    return;
  }
  if (FKernelMode == kmTableLinear && UseTable) {
    const Integer T = static_cast<Integer>(Round(static_cast<Extended>(Offset) * (FTableSize - 1) * 65536));
    const Integer Row0 = ClampToRange(T >> 16, 0, FTableSize - 1);
    const Integer Fraction = T & 0xFFFF;
    for (Integer K = 0; K <= 2 * R; ++K) {
      const Integer W0 = Table->GetValue(K, Row0);
      const Integer W1 = Table->GetValue(K, Row0 + 1);
      W[K] = W0 + ((W1 - W0) * Fraction + 0x7FFF) / 0x10000;
    }
    CorrectCentre(W, R);
    return;
  }
  for (Integer K = -R; K <= R; ++K)
    W[K + R] = static_cast<Integer>(
        Round(FKernel->Evaluate(static_cast<Single>(K + static_cast<Extended>(Offset))) * 256.0L));
  CorrectCentre(W, R);
}

TColor32 TKernelResampler::SampleFloat(Single X, Single Y) {
  Bitmap();
  const TPixelAccessMode Mode = GetPixelAccessMode();
  const Integer Cx = Ceil(X);
  const Integer Cy = Ceil(Y);
  const Integer R = Ceil(FKernel->GetWidth());
  const TRect& C = FClipRect;
  Integer X0 = -R, X1 = R, Y0 = -R, Y1 = R;
  bool Partial = false;
  if (Mode == pamSafe || Mode == pamTransparentEdge) {
    if (Cx < C.Left || Cx > C.Right || Cy < C.Top || Cy > C.Bottom) return Mode == pamSafe ? FOuterColor : 0;
    X0 = Max(-R, C.Left - Cx);
    X1 = Min(R, C.Right - Cx - 1);
    Y0 = Max(-R, C.Top - Cy);
    Y1 = Min(R, C.Bottom - Cy - 1);
    Partial = X0 != -R || X1 != R || Y0 != -R || Y1 != R;
  } else if (Mode == pamWrap && !RectHasArea(C)) {
    return FOuterColor;  // nothing to wrap into
  }

  std::vector<Integer> HW, VW;
  Weights(static_cast<Single>(static_cast<Extended>(Cx) - X), R, HW);
  Weights(static_cast<Single>(static_cast<Extended>(Cy) - Y), R, VW);

  Int64 Sum[4] = {0, 0, 0, 0};
  auto Add = [&Sum](Int64 Weight, TColor32 Color, int Channels) {
    for (int Ch = 0; Ch < Channels; ++Ch) Sum[Ch] += Weight * ((Color >> (8 * Ch)) & 0xFF);
  };
  const TWrapProc Wrap = GetWrapProc(FBitmap->GetWrapMode());
  for (Integer L = Y0; L <= Y1; ++L) {
    const Integer Vw = VW[L + R];
    if (Vw == 0) continue;
    Integer Row = Cy + L;
    if (Mode == pamWrap) Row = Wrap(Row, C.Top, C.Bottom - 1);
    for (Integer K = X0; K <= X1; ++K) {
      Integer Col = Cx + K;
      if (Mode == pamWrap) Col = Wrap(Col, C.Left, C.Right - 1);
      Add(static_cast<Int64>(HW[K + R]) * Vw, FBitmap->Pixel(Col, Row), 4);
    }
  }
  if (Partial) {
    const Integer MaxX = FBitmap->GetWidth() - 1;
    const Integer MaxY = FBitmap->GetHeight() - 1;
    for (Integer L = -R; L <= R; ++L)
      for (Integer K = -R; K <= R; ++K) {
        if (K >= X0 && K <= X1 && L >= Y0 && L <= Y1) continue;
        const Int64 Weight = static_cast<Int64>(HW[K + R]) * VW[L + R];
        if (Mode == pamSafe)
          Add(Weight, FOuterColor, 4);
        else
          Add(Weight, FBitmap->Pixel(ClampToMax(Cx + K, MaxX), ClampToMax(Cy + L, MaxY)), 3);
      }
  }
  // Arithmetic shifts: an undershoot of the kernel's negative lobes stays negative and clamps
  // to 0.
  const bool Clamp = FKernel->NeedsClamping();
  TColor32 Result = 0;
  for (int Ch = 0; Ch < 4; ++Ch) {
    const Int64 V = Sum[Ch] >> 16;
    const TColor32 Byte8 =
        Clamp ? static_cast<TColor32>(V < 0 ? 0 : (V > 255 ? 255 : V)) : static_cast<TColor32>(V & 0xFF);
    Result |= Byte8 << (8 * Ch);
  }
  return Result;
}

void TKernelResampler::GetPublishedProperties(std::vector<const TPropInfo*>& List) const {
  TBitmap32Resampler::GetPublishedProperties(List);
  static const TPropInfo KernelClassName = {
      "KernelClassName", pkString,
      [](const TPersistent* O) -> TPropValue {
        return static_cast<const TKernelResampler*>(O)->GetKernelClassName();
      },
      [](TPersistent* O, const TPropValue& V) {
        static_cast<TKernelResampler*>(O)->SetKernelClassName(PropValueToString(V));
      },
      nullptr};
  static const TPropInfo Kernel = {"Kernel", pkObject, nullptr, nullptr,
                                   [](const TPersistent* O) -> TPersistent* {
                                     return static_cast<const TKernelResampler*>(O)->FKernel.get();
                                   }};
  static const TPropInfo KernelMode = {
      "KernelMode", pkOrdinal,
      [](const TPersistent* O) -> TPropValue {
        return static_cast<Int64>(static_cast<const TKernelResampler*>(O)->FKernelMode);
      },
      [](TPersistent* O, const TPropValue& V) {
        const Int64 Mode = PropValueToInt(V);
        if (Mode < kmDynamic || Mode > kmTableLinear) throw ERangeError("Range check error");
        static_cast<TKernelResampler*>(O)->SetKernelMode(static_cast<TKernelMode>(Mode));
      },
      nullptr};
  static const TPropInfo TableSize = {
      "TableSize", pkOrdinal,
      [](const TPersistent* O) -> TPropValue {
        return static_cast<Int64>(static_cast<const TKernelResampler*>(O)->FTableSize);
      },
      [](TPersistent* O, const TPropValue& V) {
        static_cast<TKernelResampler*>(O)->SetTableSize(static_cast<Integer>(PropValueToInt(V)));
      },
      nullptr};
  List.push_back(&KernelClassName);
  List.push_back(&Kernel);
  List.push_back(&KernelMode);
  List.push_back(&TableSize);
}

// ---------------------------------------------------------------------------------------------
// TNestedSampler, TTransformer, TNearestTransformer

TNestedSampler::TNestedSampler(TCustomSampler* Sampler) {
  SetSampler(Sampler);
}

TCustomSampler* TNestedSampler::Nested() const {
  if (FSampler == nullptr) throw ENestedException("Nested sampler is nil");
  return FSampler;
}

void TNestedSampler::BeginSampling() {
  Nested()->BeginSampling();
}
void TNestedSampler::EndSampling() {
  Nested()->EndSampling();
}
bool TNestedSampler::IsBounded() {
  return Nested()->IsBounded();
}
TRect TNestedSampler::SampleBounds() {
  return Nested()->SampleBounds();
}

void TNestedSampler::AssignTo(TPersistent* Dest) {
  if (dynamic_cast<TNestedSampler*>(Dest) != nullptr)
    CopyPublishedProperties(this, Dest);
  else
    TCustomSampler::AssignTo(Dest);
}

void TNestedSampler::GetPublishedProperties(std::vector<const TPropInfo*>& List) const {
  static const TPropInfo Sampler = {
      "Sampler", pkObject, nullptr, nullptr,
      [](const TPersistent* O) -> TPersistent* { return dynamic_cast<const TNestedSampler*>(O)->FSampler; }};
  List.push_back(&Sampler);
}

const TTransformerClassRef& TTransformer::ClassRef() {
  return TransformerRef<TTransformer>("TTransformer");
}

TTransformer::TTransformer(TCustomSampler* Sampler, TTransformation* Transformation)
    : TNestedSampler(Sampler) {
  SetTransformation(Transformation);
}

TTransformation* TTransformer::Mapping() const {
  if (FTransformation == nullptr) throw ETransformNotImplemented("Transformation is nil");
  return FTransformation;
}

// Coordinates beyond the 16.16 range are mapped and sampled in float instead of wrapping.
TColor32 TTransformer::SampleInt(Integer X, Integer Y) {
  if (FitsFixed(X) && FitsFixed(Y)) {
    TFixed16 U, V;
    Mapping()->ReverseFixed(X << 16, Y << 16, U, V);
    return Nested()->SampleFixed(U, V);
  }
  Single U, V;
  Mapping()->ReverseFloat(static_cast<Single>(X), static_cast<Single>(Y), U, V);
  return Nested()->SampleFloat(U, V);
}

TColor32 TTransformer::SampleFixed(TFixed16 X, TFixed16 Y) {
  TFixed16 U, V;
  Mapping()->ReverseFixed(X, Y, U, V);
  return Nested()->SampleFixed(U, V);
}

TColor32 TTransformer::SampleFloat(Single X, Single Y) {
  Single U, V;
  Mapping()->ReverseFloat(X, Y, U, V);
  return Nested()->SampleFloat(U, V);
}

void TTransformer::BeginSampling() {
  TNestedSampler::BeginSampling();
  if (!Mapping()->GetPrepared()) Mapping()->PrepareMapping();
}

bool TTransformer::IsBounded() {
  return Mapping()->HasMappedBounds() && TNestedSampler::IsBounded();
}

TRect TTransformer::SampleBounds() {
  return Mapping()->MappedBounds(FloatRectFromRect(TNestedSampler::SampleBounds()));
}

void TTransformer::GetPublishedProperties(std::vector<const TPropInfo*>& List) const {
  TNestedSampler::GetPublishedProperties(List);
  static const TPropInfo Transformation = {"Transformation", pkObject, nullptr, nullptr,
                                           [](const TPersistent* O) -> TPersistent* {
                                             return static_cast<const TTransformer*>(O)->FTransformation;
                                           }};
  List.push_back(&Transformation);
}

const TTransformerClassRef& TNearestTransformer::ClassRef() {
  return TransformerRef<TNearestTransformer>("TNearestTransformer");
}

TColor32 TNearestTransformer::SampleInt(Integer X, Integer Y) {
  Integer U, V;
  Mapping()->ReverseInt(X, Y, U, V);
  return Nested()->SampleInt(U, V);
}

// Arithmetic shifts: a point left of or above the origin stays there, instead of landing
// 65536 pixels to the right or below.
TColor32 TNearestTransformer::SampleFixed(TFixed16 X, TFixed16 Y) {
  TFixed16 U, V;
  Mapping()->ReverseFixed(X, Y, U, V);
  return Nested()->SampleInt(FixedToIntFloor(U), FixedToIntFloor(V));
}

TColor32 TNearestTransformer::SampleFloat(Single X, Single Y) {
  Single U, V;
  Mapping()->ReverseFloat(X, Y, U, V);
  return Nested()->SampleInt(RoundToInteger(U), RoundToInteger(V));
}

// ---------------------------------------------------------------------------------------------
// Registries and start-up

void AddResamplerClass(const TResamplerClassRef& AClass) {
  if (ResamplerRegistry == nullptr) ResamplerRegistry = new TClassList();
  ResamplerRegistry->Add(&AClass);
}

void AddKernelClass(const TKernelClassRef& AClass) {
  if (KernelRegistry == nullptr) KernelRegistry = new TClassList();
  KernelRegistry->Add(&AClass);
}

void InitializeRS32_Resamplers() {
  SelectResamplingRoutines();
  AddResamplerClass(TNearestResampler::ClassRef());
  AddResamplerClass(TLinearResampler::ClassRef());
  AddResamplerClass(TDraftResampler::ClassRef());
  AddResamplerClass(TKernelResampler::ClassRef());
  AddKernelClass(TBoxKernel::ClassRef());
  AddKernelClass(TLinearKernel::ClassRef());
  AddKernelClass(TCosineKernel::ClassRef());
  AddKernelClass(TSplineKernel::ClassRef());
  AddKernelClass(TCubicKernel::ClassRef());
  AddKernelClass(TMitchellKernel::ClassRef());
  AddKernelClass(TLanczosKernel::ClassRef());
  AddKernelClass(TGaussianKernel::ClassRef());
  AddKernelClass(TBlackmanKernel::ClassRef());
  AddKernelClass(THannKernel::ClassRef());
  AddKernelClass(THammingKernel::ClassRef());
  AddKernelClass(TSinshKernel::ClassRef());
  AddKernelClass(THermiteKernel::ClassRef());
}

void FinalizeRS32_Resamplers() {
  FreeAndNil(ResamplerRegistry);
  FreeAndNil(KernelRegistry);
}
