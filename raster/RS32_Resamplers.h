#pragma once
// Resampling: the transfer of one bitmap's rectangle into another's (copying, scaling and
// combining by draw mode), the resampling kernels, and the samplers and resamplers with
// their class registries.
//
// Every TBitmap32 owns one resampler; its Transfer scales when the two rectangles differ in
// size. Samplers answer which colour lies at a point; callers bracket a series of samples
// with BeginSampling and EndSampling. Samplers are not shared between threads.
#include <memory>
#include <string>
#include <vector>

#include "platform/system/Exceptions.h"
#include "raster/RS32.h"
#include "raster/RS32_Containers.h"
#include "raster/RS32_Transforms.h"

TV_DECLARE_EXCEPTION(EBitmapException, Exception)
TV_DECLARE_EXCEPTION(ESrcInvalidException, Exception)
TV_DECLARE_EXCEPTION(ENestedException, Exception)
// A sampler that provides neither SampleFixed nor SampleFloat.
TV_DECLARE_EXCEPTION(ESamplerNotImplemented, Exception)

class TCustomKernel;

// ---------------------------------------------------------------------------------------------
// Transfers

// One source coordinate and its weight in 1/256; the weights of a cluster sum to 256.
struct TClusterEntry {
  Integer Pos = 0;
  Integer Weight = 0;
  constexpr bool operator==(const TClusterEntry&) const = default;
};
using TCluster = std::vector<TClusterEntry>;
// One cluster per destination coordinate of the clipped range.
using TMappingTable = std::vector<TCluster>;

class TCustomResampler;

// The single entry point: validates, clips, then copies row by row (equal sizes) or lets the
// resampler scale. Reports Dst's AreaChanged(DstRect) unless nothing was to be drawn.
// Raises EBitmapException for a nil bitmap and ESrcInvalidException for a SrcRect outside Src.
void ScaledTransfer(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                    const TRect& SrcRect, TCustomResampler* Resampler, TDrawMode Mode,
                    const TPixelCombineEvent& Callback);
// Equal-sized rectangles; DstRect is already clipped.
void RowTransfer(TBitmap32* Dst, const TRect& DstRect, TBitmap32* Src, Integer SrcX, Integer SrcY,
                 TDrawMode Mode, const TPixelCombineEvent& Callback);
void NearestScale(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                  const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback);
void LinearScale(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                 const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback);
TMappingTable BuildWeightTable(Integer DstLo, Integer DstHi, Integer ClipLo, Integer ClipHi, Integer SrcLo,
                               Integer SrcHi, TCustomKernel* Kernel);
void KernelResample(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                    const TRect& SrcRect, TCustomKernel* Kernel, TDrawMode Mode,
                    const TPixelCombineEvent& Callback);
void BoxResample(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                 const TRect& SrcRect, TCustomKernel* Kernel, TDrawMode Mode,
                 const TPixelCombineEvent& Callback);

// The average colour of a block; Stride is in bytes. Each channel is its sum divided by the
// number of pixels, truncated, so that a block of one colour keeps that colour.
using TAverageBlockProc = TColor32 (*)(Integer Width, Integer Height, const TColor32* Src, Integer Stride);
extern TAverageBlockProc AverageBlock;
TColor32 AverageBlockPlain(Integer Width, Integer Height, const TColor32* Src, Integer Stride);

// The four-pixel mix of LinearScale. WX and WY hold a weight of 0..256 in both 16-bit halves;
// it belongs to the left column and the upper row. P1 is the upper row, P2 the lower one.
using TPackedBilinearMixProc = TColor32 (*)(Cardinal WX, Cardinal WY, const TColor32* P1, const TColor32* P2);
extern TPackedBilinearMixProc PackedBilinearMix;
TColor32 PackedBilinearMixPlain(Cardinal WX, Cardinal WY, const TColor32* P1, const TColor32* P2);
TColor32 PackedBilinearMixMmx(Cardinal WX, Cardinal WY, const TColor32* P1, const TColor32* P2);

// Chooses AverageBlock and PackedBilinearMix from the reported processor features.
void SelectResamplingRoutines();

// ---------------------------------------------------------------------------------------------
// Kernels

struct TKernelClassRef : TClassRef {
  TCustomKernel* (*Create)();
};

// A one-dimensional filter function with a radius (its width).
class TCustomKernel : public TPersistent, public IPublishedProperties {
 public:
  // Whether results outside 0..255 must be limited.
  virtual bool NeedsClamping() const { return false; }
  virtual Single Evaluate(Single X) = 0;
  virtual Single GetWidth() const = 0;
  void GetPublishedProperties(std::vector<const TPropInfo*>&) const override {}

 protected:
  void AssignTo(TPersistent* Dest) override;
};

#define TV_KERNEL_CLASS_REF \
 public:                    \
  static const TKernelClassRef& ClassRef();

class TBoxKernel : public TCustomKernel {
  TV_KERNEL_CLASS_REF
  Single Evaluate(Single X) override;
  Single GetWidth() const override { return 1; }
};

class TLinearKernel : public TCustomKernel {
  TV_KERNEL_CLASS_REF
  Single Evaluate(Single X) override;
  Single GetWidth() const override { return 1; }
};

class TCosineKernel : public TCustomKernel {
  TV_KERNEL_CLASS_REF
  Single Evaluate(Single X) override;
  Single GetWidth() const override { return 1; }
};

class TSplineKernel : public TCustomKernel {
  TV_KERNEL_CLASS_REF
  bool NeedsClamping() const override { return true; }
  Single Evaluate(Single X) override;
  Single GetWidth() const override { return 2; }
};

class TMitchellKernel : public TCustomKernel {
  TV_KERNEL_CLASS_REF
  bool NeedsClamping() const override { return true; }
  Single Evaluate(Single X) override;
  Single GetWidth() const override { return 2; }
};

class TCubicKernel : public TCustomKernel {
  TV_KERNEL_CLASS_REF
  bool NeedsClamping() const override { return true; }
  Single Evaluate(Single X) override;
  Single GetWidth() const override { return 2; }
  void GetPublishedProperties(std::vector<const TPropInfo*>& List) const override;
  Single GetCoeff() const { return FCoeff; }
  void SetCoeff(Single Value) { FCoeff = Value; }

 private:
  Single FCoeff = -0.5f;
};

class THermiteKernel : public TCustomKernel {
  TV_KERNEL_CLASS_REF
  bool NeedsClamping() const override { return true; }
  Single Evaluate(Single X) override;
  Single GetWidth() const override { return 2; }
  void GetPublishedProperties(std::vector<const TPropInfo*>& List) const override;
  Single GetBias() const { return FBias; }
  void SetBias(Single Value) { FBias = Value; }
  Single GetTension() const { return FTension; }
  void SetTension(Single Value) { FTension = Value; }

 private:
  Single FBias = 0;
  Single FTension = 0;
};

// sinc(|X|) x WindowValue(|X|) inside Width, 0 outside.
class TWindowedSincKernel : public TCustomKernel {
 public:
  bool NeedsClamping() const override { return true; }
  Single Evaluate(Single X) override;
  Single GetWidth() const override { return FWidth; }
  virtual Single WindowValue(Single X) = 0;
  void GetPublishedProperties(std::vector<const TPropInfo*>& List) const override;
  // At most 4.
  void SetWidth(Single Value);

 private:
  Single FWidth = 3;
};

class TLanczosKernel : public TWindowedSincKernel {
  TV_KERNEL_CLASS_REF
  Single WindowValue(Single X) override;
};

class TGaussianKernel : public TWindowedSincKernel {
  TV_KERNEL_CLASS_REF
  Single WindowValue(Single X) override;
  void GetPublishedProperties(std::vector<const TPropInfo*>& List) const override;
  Single GetSigma() const { return FSigma; }
  // 0 is ignored.
  void SetSigma(Single Value);

 private:
  Single FSigma = 1.33f;
};

class TBlackmanKernel : public TWindowedSincKernel {
  TV_KERNEL_CLASS_REF
  Single WindowValue(Single X) override;
};

class THannKernel : public TWindowedSincKernel {
  TV_KERNEL_CLASS_REF
  Single WindowValue(Single X) override;
};

class THammingKernel : public TWindowedSincKernel {
  TV_KERNEL_CLASS_REF
  Single WindowValue(Single X) override;
};

class TSinshKernel : public TCustomKernel {
  TV_KERNEL_CLASS_REF
  bool NeedsClamping() const override { return true; }
  Single Evaluate(Single X) override;
  Single GetWidth() const override { return FWidth; }
  void GetPublishedProperties(std::vector<const TPropInfo*>& List) const override;
  void SetWidth(Single Value) { FWidth = Value; }
  Single GetCoeff() const { return FCoeff; }
  // 0 is ignored.
  void SetCoeff(Single Value);

 private:
  Single FWidth = 3;
  Single FCoeff = 0.5f;
};

#undef TV_KERNEL_CLASS_REF

// ---------------------------------------------------------------------------------------------
// Samplers

enum TPixelAccessMode : Byte { pamUnsafe, pamSafe, pamWrap, pamTransparentEdge };
enum TKernelMode : Byte { kmDynamic, kmTableNearest, kmTableLinear };

// A sampler overrides at least one of SampleFixed and SampleFloat: by default each calls the
// other, and a sampler that overrides neither raises ESamplerNotImplemented instead of
// recursing without end.
class TCustomSampler : public TNotifiablePersistent {
 public:
  // SampleFixed of the shifted coordinates; SampleFloat where they have no 16.16 form.
  virtual TColor32 SampleInt(Integer X, Integer Y);
  virtual TColor32 SampleFixed(TFixed16 X, TFixed16 Y);
  virtual TColor32 SampleFloat(Single X, Single Y);
  virtual void BeginSampling() {}
  virtual void EndSampling() {}
  virtual bool IsBounded() { return false; }
  virtual TRect SampleBounds();

 private:
  Byte FDefaultSampling = 0;  // which default form is running on this object
};

class TCustomResampler : public TCustomSampler {
 public:
  virtual Single SamplingRadius() = 0;
  virtual void Transfer(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                        const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback) = 0;
};

class TBitmap32Resampler;
class TTransformer;
class TTransformation;

struct TResamplerClassRef : TClassRef {
  // The virtual constructor Create(Bitmap).
  TBitmap32Resampler* (*Create)(TBitmap32* Bitmap);
};
struct TTransformerClassRef : TClassRef {
  TTransformer* (*Create)(TCustomSampler* Sampler, TTransformation* Transformation);
};

// A resampler bound to one bitmap.
class TBitmap32Resampler : public TCustomResampler, public IPublishedProperties {
 public:
  TBitmap32Resampler();
  // Stores Bitmap and, when it is not nil, installs this resampler as the bitmap's (which
  // frees the previous one). The bitmap then owns this resampler.
  void Bind(TBitmap32* Bitmap);
  TBitmap32* GetBitmap() const { return FBitmap; }

  // The bound bitmap's Changed.
  void Changed() override;
  // Copies the bitmap's clip rectangle. Sampling without a bound bitmap raises
  // EBitmapException "Source bitmap is nil".
  void BeginSampling() override;
  bool IsBounded() override { return true; }
  TRect SampleBounds() override;

  TPixelAccessMode GetPixelAccessMode() const { return FPixelAccessMode; }
  void SetPixelAccessMode(TPixelAccessMode Value);
  const TTransformerClassRef* GetTransformerClassRef() const { return FTransformerClassRef; }

  void GetPublishedProperties(std::vector<const TPropInfo*>& List) const override;

 protected:
  void AssignTo(TPersistent* Dest) override;
  void SetTransformerClassRef(const TTransformerClassRef* Value) { FTransformerClassRef = Value; }
  // The bound bitmap; raises EBitmapException when there is none.
  TBitmap32* Bitmap() const;

  TBitmap32* FBitmap = nullptr;
  TRect FClipRect;

 private:
  const TTransformerClassRef* FTransformerClassRef;
  TPixelAccessMode FPixelAccessMode = pamSafe;
};

// Creates a resampler of class T bound to Bitmap (Create(Bitmap) of the class).
template <class T>
T* NewResampler(TBitmap32* Bitmap) {
  T* Result = new T();
  Result->Bind(Bitmap);
  return Result;
}

class TNearestResampler : public TBitmap32Resampler {
 public:
  static const TResamplerClassRef& ClassRef();
  TNearestResampler();
  void BeginSampling() override;
  TColor32 SampleInt(Integer X, Integer Y) override;
  TColor32 SampleFixed(TFixed16 X, TFixed16 Y) override;
  TColor32 SampleFloat(Single X, Single Y) override;
  Single SamplingRadius() override { return 1; }
  void Transfer(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback) override;

 private:
  TColor32 Read(Integer X, Integer Y) const;
  TColor32 ReadEdge(Integer X, Integer Y) const;
  TPixelAccessMode FReader = pamSafe;
};

class TLinearResampler : public TBitmap32Resampler {
 public:
  static const TResamplerClassRef& ClassRef();
  TLinearResampler();
  ~TLinearResampler() override;
  void BeginSampling() override;
  TColor32 SampleFixed(TFixed16 X, TFixed16 Y) override;
  TColor32 SampleFloat(Single X, Single Y) override;
  Single SamplingRadius() override { return 1; }
  void Transfer(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback) override;
  TCustomKernel* GetStretchKernel() const { return FStretchKernel.get(); }

 private:
  TColor32 Read(TFixed16 X, TFixed16 Y) const;
  TColor32 ReadEdge(TFixed16 X, TFixed16 Y) const;
  std::unique_ptr<TCustomKernel> FStretchKernel;
  TPixelAccessMode FReader = pamSafe;
};

// Draft quality: box averages when shrinking.
class TDraftResampler : public TLinearResampler {
 public:
  static const TResamplerClassRef& ClassRef();
  void Transfer(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback) override;
};

class TKernelResampler : public TBitmap32Resampler {
 public:
  static const TResamplerClassRef& ClassRef();
  TKernelResampler();
  ~TKernelResampler() override;
  void BeginSampling() override;
  void EndSampling() override;
  TColor32 SampleFloat(Single X, Single Y) override;
  Single SamplingRadius() override;
  void Transfer(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback) override;

  // Owned; never nil. Setting frees the previous kernel; nil or the current one is ignored.
  TCustomKernel* GetKernel() const { return FKernel.get(); }
  void SetKernel(TCustomKernel* Value);
  std::string GetKernelClassName() const;
  // A kernel of the registered class of that exact name; an unknown name changes nothing.
  void SetKernelClassName(const std::string& Value);
  TKernelMode GetKernelMode() const { return FKernelMode; }
  void SetKernelMode(TKernelMode Value);
  Integer GetTableSize() const { return FTableSize; }
  // Values below 2 become 2.
  void SetTableSize(Integer Value);
  // Between BeginSampling and EndSampling of the table modes, else nullptr.
  const TIntegerMap* GetKernelTable() const { return FKernelTable.get(); }

  void GetPublishedProperties(std::vector<const TPropInfo*>& List) const override;

 private:
  void Weights(Single Offset, Integer R, std::vector<Integer>& W) const;
  std::unique_ptr<TCustomKernel> FKernel;
  TKernelMode FKernelMode = kmDynamic;
  std::unique_ptr<TIntegerMap> FKernelTable;
  Integer FTableSize = 32;
  TColor32 FOuterColor = 0;
};

// A sampler that samples through another (not owned).
class TNestedSampler : public TCustomSampler, public IPublishedProperties {
 public:
  TNestedSampler() = default;
  // Sampler must not be nil.
  explicit TNestedSampler(TCustomSampler* Sampler);
  TCustomSampler* GetSampler() const { return FSampler; }
  virtual void SetSampler(TCustomSampler* Value) { FSampler = Value; }

  // These four raise ENestedException "Nested sampler is nil" without a nested sampler.
  void BeginSampling() override;
  void EndSampling() override;
  bool IsBounded() override;
  TRect SampleBounds() override;

  void GetPublishedProperties(std::vector<const TPropInfo*>& List) const override;

 protected:
  void AssignTo(TPersistent* Dest) override;
  TCustomSampler* Nested() const;

 private:
  TCustomSampler* FSampler = nullptr;
};

// Samples the nested sampler at the points a transformation maps back to (not owned).
class TTransformer : public TNestedSampler {
 public:
  static const TTransformerClassRef& ClassRef();
  TTransformer() = default;
  TTransformer(TCustomSampler* Sampler, TTransformation* Transformation);
  TTransformation* GetTransformation() const { return FTransformation; }
  void SetTransformation(TTransformation* Value) { FTransformation = Value; }

  TColor32 SampleInt(Integer X, Integer Y) override;
  TColor32 SampleFixed(TFixed16 X, TFixed16 Y) override;
  TColor32 SampleFloat(Single X, Single Y) override;
  void BeginSampling() override;
  bool IsBounded() override;
  TRect SampleBounds() override;

  void GetPublishedProperties(std::vector<const TPropInfo*>& List) const override;

 protected:
  // Raises ETransformNotImplemented when there is no transformation.
  TTransformation* Mapping() const;

 private:
  TTransformation* FTransformation = nullptr;
};

// Samples the nested sampler at whole pixels: coordinates are floored, never wrapped.
class TNearestTransformer : public TTransformer {
 public:
  static const TTransformerClassRef& ClassRef();
  using TTransformer::TTransformer;
  TColor32 SampleInt(Integer X, Integer Y) override;
  TColor32 SampleFixed(TFixed16 X, TFixed16 Y) override;
  TColor32 SampleFloat(Single X, Single Y) override;
};

// ---------------------------------------------------------------------------------------------
// Registries

// Created by the first registration, freed by FinalizeRS32_Resamplers.
extern TClassList* ResamplerRegistry;
extern TClassList* KernelRegistry;
void AddResamplerClass(const TResamplerClassRef& AClass);
void AddKernelClass(const TKernelClassRef& AClass);

// Chooses the procedure variables, then registers the four resamplers and thirteen kernels.
void InitializeRS32_Resamplers();
void FinalizeRS32_Resamplers();
