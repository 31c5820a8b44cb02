// Block and stretch transfer: copying, scaling and combining rectangles between bitmaps.
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/system/Math.h"
#include "raster/RS32_Blend.h"
#include "raster/RS32_LowLevel.h"
#include "raster/RS32_Math.h"
#include "raster/RS32_Resamplers.h"
#include "raster/RS32_System.h"

TAverageBlockProc AverageBlock = AverageBlockPlain;
TPackedBilinearMixProc PackedBilinearMix = PackedBilinearMixPlain;

namespace {
// A broken mapping invariant; Line 0 names no line.
[[noreturn]] void AssertionFailure(Integer Line) {
  if (Line == 0) throw EAssertionFailed("Assertion failure (RS32_Resamplers.pas)");
  throw EAssertionFailed("Assertion failure (RS32_Resamplers.pas, line " + std::to_string(Line) + ")");
}

// DstClip within Dst and within DstRect; False when nothing of it is left.
bool VisibleRect(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TRect& Clip) {
  RectIntersect(Clip, DstClip, Dst->BoundsRect());
  RectIntersect(Clip, Clip, DstRect);
  return !RectIsEmpty(Clip);
}

bool SrcRectInside(const TBitmap32* Src, const TRect& SrcRect) {
  return SrcRect.Left >= 0 && SrcRect.Top >= 0 && SrcRect.Right <= Src->GetWidth() &&
         SrcRect.Bottom <= Src->GetHeight();
}

// How one computed pixel joins the destination.
class TPixelWriter {
 public:
  TPixelWriter(TBitmap32* Src, TDrawMode Mode, const TPixelCombineEvent& Callback)
      : FMode(Mode),
        FBlend(BlendColorIntoMasterByMode[Src->GetCombineMode()]),
        FMaster(Src->GetMasterAlpha()),
        FKey(Src->GetOuterColor()),
        FCallback(Callback) {}

  void operator()(TColor32 C, TColor32& D) const {
    switch (FMode) {
      case dmOpaque:
        D = C;
        break;
      case dmBlend:
        FBlend(C, D, FMaster);
        break;
      case dmTransparent:
        if (C != FKey) D = C;
        break;
      case dmCustom:
        FCallback(C, D, FMaster);
        break;
    }
  }

 private:
  TDrawMode FMode;
  TBlendMemEx FBlend;
  TColor32 FMaster;
  TColor32 FKey;
  const TPixelCombineEvent& FCallback;
};

// A row of source pixels into a row of the destination by the mode's rule.
void ApplyRow(const TColor32* S, TColor32* D, Integer Count, TBitmap32* Src, TDrawMode Mode,
              const TPixelCombineEvent& Callback) {
  switch (Mode) {
    case dmOpaque:
      MoveDwords(S, D, Count);
      break;
    case dmBlend: {
      const TCombineMode CM = Src->GetCombineMode();
      if (Src->GetMasterAlpha() >= 255)
        BlendRowByMode[CM](S, D, Count);
      else
        BlendRowMasterByMode[CM](S, D, Count, Src->GetMasterAlpha());
      break;
    }
    case dmTransparent: {
      const TColor32 Key = Src->GetOuterColor();
      for (Integer I = 0; I < Count; ++I)
        if (S[I] != Key) D[I] = S[I];
      break;
    }
    case dmCustom: {
      const TColor32 M = Src->GetMasterAlpha();
      for (Integer I = 0; I < Count; ++I) Callback(S[I], D[I], M);
      break;
    }
  }
}

TDrawMode EffectiveMode(TDrawMode Mode, const TPixelCombineEvent& Callback) {
  return (Mode == dmCustom && !Callback) ? dmOpaque : Mode;
}
}  // namespace

void ScaledTransfer(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                    const TRect& SrcRect, TCustomResampler* Resampler, TDrawMode Mode,
                    const TPixelCombineEvent& Callback) {
  if (Dst == nullptr) throw EBitmapException("Destination bitmap is nil");
  if (Src == nullptr) throw EBitmapException("Source bitmap is nil");
  if (Src->Empty() || Dst->Empty() || (Mode == dmBlend && Src->GetMasterAlpha() == 0)) return;
  if (RectIsEmpty(SrcRect)) return;
  if (!SrcRectInside(Src, SrcRect)) throw ESrcInvalidException("Source rectangle is invalid");

  if (!Dst->GetMeasuring()) {
    TRect Clip;
    if (!VisibleRect(Dst, DstRect, DstClip, Clip)) return;
    Mode = EffectiveMode(Mode, Callback);
    if (SrcRect.Width() == DstRect.Width() && SrcRect.Height() == DstRect.Height()) {
      RowTransfer(Dst, Clip, Src, SrcRect.Left + Clip.Left - DstRect.Left,
                  SrcRect.Top + Clip.Top - DstRect.Top, Mode, Callback);
    } else {
      if (Resampler == nullptr) Resampler = Src->GetResampler();
      Resampler->Transfer(Dst, DstRect, Clip, Src, SrcRect, Mode, Callback);
    }
  }
  ClearMultimediaState();
  Dst->AreaChanged(DstRect, AreaInfoRect);
}

// Within one bitmap the rows are taken bottom-up when the copy moves down, so that no source
// row is overwritten before it is read.
void RowTransfer(TBitmap32* Dst, const TRect& DstRect, TBitmap32* Src, Integer SrcX, Integer SrcY,
                 TDrawMode Mode, const TPixelCombineEvent& Callback) {
  const Integer Width = DstRect.Width();
  const Integer Height = DstRect.Height();
  if (Width <= 0 || Height <= 0) return;
  Mode = EffectiveMode(Mode, Callback);
  const bool Upwards = Src == Dst && SrcY < DstRect.Top;
  for (Integer I = 0; I < Height; ++I) {
    const Integer J = Upwards ? Height - 1 - I : I;
    ApplyRow(Src->PixelAddress(SrcX, SrcY + J), Dst->PixelAddress(DstRect.Left, DstRect.Top + J), Width, Src,
             Mode, Callback);
  }
}

void NearestScale(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                  const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback) {
  if (!SrcRectInside(Src, SrcRect)) throw Exception("Invalid SrcRect");
  if (RectIsEmpty(SrcRect)) return;
  TRect Clip;
  if (!VisibleRect(Dst, DstRect, DstClip, Clip)) return;
  Mode = EffectiveMode(Mode, Callback);
  if (SrcRect.Width() == DstRect.Width() && SrcRect.Height() == DstRect.Height()) {
    RowTransfer(Dst, Clip, Src, SrcRect.Left + Clip.Left - DstRect.Left, SrcRect.Top + Clip.Top - DstRect.Top,
                Mode, Callback);
    return;
  }

  const Integer ClipW = Clip.Width();
  const Integer ClipH = Clip.Height();
  std::vector<Integer> Columns(ClipW);
  if (DstRect.Width() <= 1) {
    for (Integer& C : Columns) C = (SrcRect.Left + SrcRect.Right - 1) / 2;
  } else {
    const Single ScaleX = static_cast<Single>(static_cast<Extended>(SrcRect.Width()) / DstRect.Width());
    for (Integer I = 0; I < ClipW; ++I)
      Columns[I] = static_cast<Integer>(
          Trunc(static_cast<Extended>(Clip.Left + I - DstRect.Left) * ScaleX + SrcRect.Left));
  }
  if (Columns.front() < SrcRect.Left) AssertionFailure(1236);
  if (Columns.back() >= SrcRect.Right) AssertionFailure(1237);

  std::vector<Integer> Rows(ClipH);
  if (DstRect.Height() <= 1) {
    for (Integer& R : Rows) R = (SrcRect.Top + SrcRect.Bottom - 1) / 2;
  } else {
    const Single ScaleY = static_cast<Single>(static_cast<Extended>(SrcRect.Height()) / DstRect.Height());
    for (Integer J = 0; J < ClipH; ++J)
      Rows[J] = static_cast<Integer>(
          Trunc(static_cast<Extended>(Clip.Top + J - DstRect.Top) * ScaleY + SrcRect.Top));
  }
  if (Rows.front() < SrcRect.Top || Rows.back() >= SrcRect.Bottom) AssertionFailure(0);

  const Integer* Map = Columns.data();
  if (Mode == dmOpaque) {
    const NativeInt Stride = Dst->GetWidth();
    for (Integer J = 0; J < ClipH; ++J) {
      TColor32* D = Dst->PixelAddress(Clip.Left, Clip.Top + J);
      if (J > 0 && Rows[J] == Rows[J - 1]) {
        MoveDwords(D - Stride, D, ClipW);
        continue;
      }
      const TColor32* S = Src->RowAddress(Rows[J]);
      for (Integer I = 0; I < ClipW; ++I) D[I] = S[Map[I]];
    }
  } else {
    std::vector<TColor32> Buffer(ClipW);
    for (Integer J = 0; J < ClipH; ++J) {
      if (J == 0 || Rows[J] != Rows[J - 1]) {
        const TColor32* S = Src->RowAddress(Rows[J]);
        for (Integer I = 0; I < ClipW; ++I) Buffer[I] = S[Map[I]];
      }
      ClearMultimediaState();
      ApplyRow(Buffer.data(), Dst->PixelAddress(Clip.Left, Clip.Top + J), ClipW, Src, Mode, Callback);
    }
  }
  ClearMultimediaState();
}

namespace {
struct TLinearEntry {
  Integer Pos;
  Cardinal Weight;  // the same weight in both 16-bit halves
};

// One axis of the bilinear enlargement.
std::vector<TLinearEntry> LinearMap(Integer DstLo, Integer DstHi, Integer ClipLo, Integer ClipHi,
                                    Integer SrcLo, Integer SrcHi, Integer Limit) {
  std::vector<TLinearEntry> Map(ClipHi - ClipLo);
  const Extended Scale = static_cast<Extended>(SrcHi - SrcLo) / (DstHi - DstLo);
  for (std::size_t I = 0; I < Map.size(); ++I) {
    Extended X = Scale * (static_cast<Extended>(I) + ClipLo - DstLo + 0.5L) + SrcLo - 0.5L;
    if (X < 0) X = 0;
    if (X > Limit) X = Limit;
    const Integer Pos = Floor(X);
    const Cardinal W = static_cast<Cardinal>(256 - Round(Frac(X) * 256));
    Map[I] = {Pos, W | (W << 16)};
  }
  for (std::size_t I = Map.size(); I-- > 0 && Map[I].Pos == SrcHi - 1;) Map[I] = {SrcHi - 2, 0};
  return Map;
}
}  // namespace

void LinearScale(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                 const TRect& SrcRect, TDrawMode Mode, const TPixelCombineEvent& Callback) {
  if (!SrcRectInside(Src, SrcRect)) throw Exception("Invalid SrcRect");
  if (RectIsEmpty(SrcRect)) return;
  // The four-pixel mix needs a right and a lower neighbour.
  if (SrcRect.Width() < 2 || SrcRect.Height() < 2) {
    TLinearKernel Kernel;
    KernelResample(Dst, DstRect, DstClip, Src, SrcRect, &Kernel, Mode, Callback);
    return;
  }
  TRect Clip;
  if (!VisibleRect(Dst, DstRect, DstClip, Clip)) return;
  Mode = EffectiveMode(Mode, Callback);
  const std::vector<TLinearEntry> Columns = LinearMap(DstRect.Left, DstRect.Right, Clip.Left, Clip.Right,
                                                      SrcRect.Left, SrcRect.Right, Src->GetWidth() - 1);
  const std::vector<TLinearEntry> Rows = LinearMap(DstRect.Top, DstRect.Bottom, Clip.Top, Clip.Bottom,
                                                   SrcRect.Top, SrcRect.Bottom, Src->GetHeight() - 1);
  const TPixelWriter Write(Src, Mode, Callback);
  const NativeInt SrcStride = Src->GetWidth();
  for (std::size_t J = 0; J < Rows.size(); ++J) {
    const TColor32* Upper = Src->RowAddress(Rows[J].Pos);
    TColor32* D = Dst->PixelAddress(Clip.Left, Clip.Top + static_cast<Integer>(J));
    for (std::size_t I = 0; I < Columns.size(); ++I) {
      const TColor32* P = Upper + Columns[I].Pos;
      Write(PackedBilinearMix(Columns[I].Weight, Rows[J].Weight, P, P + SrcStride), D[I]);
    }
  }
  ClearMultimediaState();
}

TColor32 PackedBilinearMixPlain(Cardinal WX, Cardinal WY, const TColor32* P1, const TColor32* P2) {
  TColor32 Wx = WX >> 16, Wy = WY >> 16;
  if (Wx > 255) Wx = 255;
  if (Wy > 255) Wy = 255;
  return MixColorsPlain(MixColorsPlain(P1[0], P1[1], Wx), MixColorsPlain(P2[0], P2[1], Wx), Wy);
}

// The lanes carry weights up to 256, where the mix gives the first colour exactly.
TColor32 PackedBilinearMixMmx(Cardinal WX, Cardinal WY, const TColor32* P1, const TColor32* P2) {
  const TColor32 Wx = WX & 0xFFFF, Wy = WY & 0xFFFF;
  auto Mix = [](TColor32 X, TColor32 Y, TColor32 W) { return W >= 256 ? X : MixColorsMmx(X, Y, W); };
  return Mix(Mix(P1[0], P1[1], Wx), Mix(P2[0], P2[1], Wx), Wy);
}

TMappingTable BuildWeightTable(Integer DstLo, Integer DstHi, Integer ClipLo, Integer ClipHi, Integer SrcLo,
                               Integer SrcHi, TCustomKernel* Kernel) {
  const Integer SrcW = SrcHi - SrcLo;
  const Integer DstW = DstHi - DstLo;
  const Integer ClipW = ClipHi - ClipLo;
  TMappingTable Result;
  if (SrcW <= 0 || ClipW <= 0) return Result;
  Result.resize(ClipW);
  if (SrcW == 1) {
    for (TCluster& C : Result) C.assign(1, {SrcLo, 256});
    return Result;
  }
  const Single Scale = static_cast<Single>(static_cast<Extended>(DstW) / SrcW);
  if (Scale == 0) {
    if (Result.size() != 1) AssertionFailure(1525);
    Result[0].assign(1, {(SrcLo + SrcHi) / 2, 256});
    return Result;
  }
  const Extended S = 1.0L / Scale;
  const Extended KernelWidth = Kernel->GetWidth();
  const bool Shrinking = Scale < 1;
  const Extended FilterWidth = Shrinking ? KernelWidth * S : KernelWidth;
  for (Integer I = 0; I < ClipW; ++I) {
    TCluster& Cluster = Result[I];
    const Extended Center = (static_cast<Extended>(I) - DstLo + ClipLo + 0.5L) * S + SrcLo - 0.5L;
    const Integer Lo = Floor(Center - FilterWidth);
    const Integer Hi = Ceil(Center + FilterWidth);
    Integer Sum = 0;
    for (Integer J = Lo; J <= Hi; ++J) {
      Integer Weight;
      if (Shrinking)
        Weight = static_cast<Integer>(
            Round(Kernel->Evaluate(static_cast<Single>((Center - J) * Scale)) * 256.0L * Scale));
      else
        Weight = static_cast<Integer>(Round(Kernel->Evaluate(static_cast<Single>(Center - J)) * 256.0L));
      if (Weight == 0) continue;
      Cluster.push_back({ClampToRange(J, SrcLo, SrcHi - 1), Weight});
      Sum += Weight;
    }
    if (Cluster.empty())
      Cluster.push_back({ClampToRange(Floor(Center), SrcLo, SrcHi - 1), 256});
    else
      Cluster[(Cluster.size() - 1) / 2].Weight += 256 - Sum;
  }
  return Result;
}

void KernelResample(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                    const TRect& SrcRect, TCustomKernel* Kernel, TDrawMode Mode,
                    const TPixelCombineEvent& Callback) {
  Mode = EffectiveMode(Mode, Callback);
  if (Mode == dmBlend && Src->GetMasterAlpha() == 0) return;
  if (!SrcRectInside(Src, SrcRect)) throw Exception("Invalid SrcRect");
  TRect Clip;
  if (!VisibleRect(Dst, DstRect, DstClip, Clip)) return;
  const TMappingTable MapX = BuildWeightTable(DstRect.Left, DstRect.Right, Clip.Left, Clip.Right,
                                              SrcRect.Left, SrcRect.Right, Kernel);
  const TMappingTable MapY = BuildWeightTable(DstRect.Top, DstRect.Bottom, Clip.Top, Clip.Bottom, SrcRect.Top,
                                              SrcRect.Bottom, Kernel);
  if (MapX.empty() || MapY.empty()) return;
  const bool Clamp = Kernel->NeedsClamping();

  // The column sums cover every source column that any cluster reads.
  Integer MinX = MapX.front().front().Pos, MaxX = MinX;
  for (const TCluster& C : MapX)
    for (const TClusterEntry& E : C) {
      MinX = Min(MinX, E.Pos);
      MaxX = Max(MaxX, E.Pos);
    }
  std::vector<Int64> Sums(static_cast<std::size_t>(MaxX - MinX + 1) * 4);
  const TPixelWriter Write(Src, Mode, Callback);

  for (std::size_t J = 0; J < MapY.size(); ++J) {
    std::fill(Sums.begin(), Sums.end(), 0);
    for (const TClusterEntry& Y : MapY[J]) {
      const TColor32* S = Src->RowAddress(Y.Pos);
      Int64* Sum = Sums.data();
      for (Integer X = MinX; X <= MaxX; ++X, Sum += 4) {
        const TColor32 C = S[X];
        Sum[0] += static_cast<Int64>(Y.Weight) * (C & 0xFF);
        Sum[1] += static_cast<Int64>(Y.Weight) * ((C >> 8) & 0xFF);
        Sum[2] += static_cast<Int64>(Y.Weight) * ((C >> 16) & 0xFF);
        Sum[3] += static_cast<Int64>(Y.Weight) * (C >> 24);
      }
    }
    TColor32* D = Dst->PixelAddress(Clip.Left, Clip.Top + static_cast<Integer>(J));
    for (std::size_t I = 0; I < MapX.size(); ++I) {
      Int64 Channel[4] = {0, 0, 0, 0};
      for (const TClusterEntry& X : MapX[I]) {
        const Int64* Sum = &Sums[static_cast<std::size_t>(X.Pos - MinX) * 4];
        for (int Ch = 0; Ch < 4; ++Ch) Channel[Ch] += X.Weight * Sum[Ch];
      }
      TColor32 Color = 0;
      for (int Ch = 0; Ch < 4; ++Ch) {
        Int64 V = Channel[Ch];
        if (Clamp) V = V < 0 ? 0 : (V > 0xFF0000 ? 0xFF0000 : V);
        Color |= static_cast<TColor32>((V >> 16) & 0xFF) << (8 * Ch);
      }
      Write(Color, D[I]);
    }
  }
  ClearMultimediaState();
}

void BoxResample(TBitmap32* Dst, const TRect& DstRect, const TRect& DstClip, TBitmap32* Src,
                 const TRect& SrcRect, TCustomKernel* Kernel, TDrawMode Mode,
                 const TPixelCombineEvent& Callback) {
  if (!SrcRectInside(Src, SrcRect)) throw Exception("Invalid SrcRect");
  if (RectIsEmpty(SrcRect)) return;
  const Integer SrcW = SrcRect.Width(), SrcH = SrcRect.Height();
  const Integer DstW = DstRect.Width(), DstH = DstRect.Height();
  if (DstW > SrcW || DstH > SrcH) {
    if (SrcW < 2 || SrcH < 2)
      KernelResample(Dst, DstRect, DstClip, Src, SrcRect, Kernel, Mode, Callback);
    else
      LinearScale(Dst, DstRect, DstClip, Src, SrcRect, Mode, Callback);
    return;
  }
  TRect Clip;
  if (!VisibleRect(Dst, DstRect, DstClip, Clip)) return;
  Mode = EffectiveMode(Mode, Callback);

  // Block boundaries: k x S in 16.16, counted from the block of the first visible pixel. The
  // products are 64-bit, so that large ratios do not wrap around.
  struct TAxis {
    Integer Start;
    Int64 F;
    Integer Boundary(Integer K) const { return Start + static_cast<Integer>((F * K) >> 16); }
  };
  auto MakeAxis = [](Integer SrcLo, Integer SrcLen, Integer DstLen, Integer Offset) {
    const Single S = static_cast<Single>(static_cast<Extended>(SrcLen) / DstLen);
    return TAxis{SrcLo + static_cast<Integer>(Trunc(static_cast<Extended>(Offset) * S)),
                 static_cast<Int64>(Trunc(static_cast<Extended>(S) * 65536))};
  };
  const TAxis AX = MakeAxis(SrcRect.Left, SrcW, DstW, Clip.Left - DstRect.Left);
  const TAxis AY = MakeAxis(SrcRect.Top, SrcH, DstH, Clip.Top - DstRect.Top);
  const Integer Stride = Src->GetWidth() * 4;
  const TPixelWriter Write(Src, Mode, Callback);
  for (Integer J = 0; J < Clip.Height(); ++J) {
    const Integer Y0 = AY.Boundary(J), Y1 = AY.Boundary(J + 1);
    TColor32* D = Dst->PixelAddress(Clip.Left, Clip.Top + J);
    for (Integer I = 0; I < Clip.Width(); ++I) {
      const Integer X0 = AX.Boundary(I), X1 = AX.Boundary(I + 1);
      Write(AverageBlock(X1 - X0, Y1 - Y0, Src->PixelAddress(X0, Y0), Stride), D[I]);
    }
  }
  ClearMultimediaState();
}

// The exact truncated average: a block of one colour keeps its colour (a reciprocal rounded
// down would turn 255 into 254).
TColor32 AverageBlockPlain(Integer Width, Integer Height, const TColor32* Src, Integer Stride) {
  if (Width <= 0 || Height <= 0) return 0;
  UInt64 Sum[4] = {0, 0, 0, 0};
  const Byte* Row = reinterpret_cast<const Byte*>(Src);
  for (Integer Y = 0; Y < Height; ++Y, Row += Stride) {
    const TColor32* P = reinterpret_cast<const TColor32*>(Row);
    for (Integer X = 0; X < Width; ++X) {
      const TColor32 C = P[X];
      Sum[0] += C & 0xFF;
      Sum[1] += (C >> 8) & 0xFF;
      Sum[2] += (C >> 16) & 0xFF;
      Sum[3] += C >> 24;
    }
  }
  const UInt64 N = static_cast<UInt64>(Width) * static_cast<UInt64>(Height);
  return static_cast<TColor32>(Sum[0] / N) | static_cast<TColor32>(Sum[1] / N) << 8 |
         static_cast<TColor32>(Sum[2] / N) << 16 | static_cast<TColor32>(Sum[3] / N) << 24;
}

// The multimedia and prefetching forms of the block average only read memory differently;
// one routine serves all three.
void SelectResamplingRoutines() {
  AverageBlock = AverageBlockPlain;
  PackedBilinearMix = (CpuHasMmx() || CpuHas3DNow()) ? PackedBilinearMixMmx : PackedBilinearMixPlain;
}
