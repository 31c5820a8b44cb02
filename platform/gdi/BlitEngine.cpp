#include "platform/gdi/BlitEngine.h"

#include <cmath>
#include <cstring>

#include "platform/gdi/StretchFilters.h"
#include "platform/system/LastError.h"

namespace {

TRect OffsetRect(const TRect& R, Integer Dx, Integer Dy) {
  return {R.Left + Dx, R.Top + Dy, R.Right + Dx, R.Bottom + Dy};
}

// Pattern, source and destination rows through the raster operations, stored to the
// destination. Every operand buffer holds MaxN readable values, also those a table ignores.
class TRowCombiner {
 public:
  TRowCombiner(const TBlitRequest& R, const TSurface& D, const TPatternRows* Pattern, Integer MaxN)
      : FD(D), FFore(Rop3Row(R.Rop)), FBack(Rop3Row(R.BackRop)), FMask(R.Mask), FPattern(Pattern) {
    const auto Size = static_cast<std::size_t>(MaxN);
    FMaskDelta = {R.MaskOrg.X - R.DstRect.Left, R.MaskOrg.Y - R.DstRect.Top};
    FNeedD = Rop3UsesDest(R.Rop) || (FMask && Rop3UsesDest(R.BackRop));
    FP.assign(Size, 0);
    FDBuf.assign(Size, 0);
    FR.resize(Size);
    if (FPattern) {
      if (FPattern->IsSolid())
        std::fill(FP.begin(), FP.end(), FPattern->SolidPixel());
      else
        FPatternRows = true;
      if (FPattern->AnySkip()) {
        FSkip.assign(Size, 0);
        FNeedD = true;
      }
    }
    if (FMask) {
      FRb.resize(Size);
      FM.resize(Size);
    }
    FCopy = R.Rop == 0xCC && !FMask;
    FPure = !FNeedD && !FMask && !FPatternRows;
  }

  // The result depends on the source row alone: equal source rows give equal results.
  bool PureSource() const { return FPure; }

  void Store(Integer Y, Integer X0, Integer N, const DWORD* S) {
    Byte* Row = FD.Row(Y);
    if (FCopy) {
      PackRow(FD, Row, X0, N, S);
      return;
    }
    if (FPatternRows) FPattern->Fill(Y, X0, N, FP.data(), FSkip.empty() ? nullptr : FSkip.data());
    if (FNeedD) UnpackRow(FD, Row, X0, N, FDBuf.data());
    FFore(FR.data(), FP.data(), S, FDBuf.data(), N);
    if (FMask) {
      FBack(FRb.data(), FP.data(), S, FDBuf.data(), N);
      UnpackRow(*FMask, FMask->Row(Y + FMaskDelta.Y), X0 + FMaskDelta.X, N, FM.data());
      for (Integer I = 0; I < N; ++I)
        if (!FM[I]) FR[I] = FRb[I];
    }
    if (!FSkip.empty())
      for (Integer I = 0; I < N; ++I)
        if (FSkip[I]) FR[I] = FDBuf[I];
    PackRow(FD, Row, X0, N, FR.data());
  }

 private:
  const TSurface& FD;
  TRop3Row FFore, FBack;
  const TSurface* FMask;
  TPoint FMaskDelta;
  const TPatternRows* FPattern;
  bool FNeedD = false, FPatternRows = false, FCopy = false, FPure = false;
  std::vector<DWORD> FP, FDBuf, FR, FRb, FM;
  std::vector<Byte> FSkip;
};

// Nearest-neighbour rows of COLORONCOLOR (and of the other modes when nothing is eliminated).
struct TNearestRows {
  const TSurface& S;
  const Integer* XMap;  // indexed from MapOrg
  const Integer* YMap;
  TPoint MapOrg;
  TPixelConverter& Conv;
  void BeginRect(Integer, Integer) {}
  void Row(Integer Y, Integer X0, Integer N, DWORD* Out) {
    GatherRow(S, S.Row(YMap[Y - MapOrg.Y]), XMap + (X0 - MapOrg.X), N, Out);
    Conv.Convert(Out, Out, N);
  }
};

// Rows of a producer through the combiner, clip rectangle by clip rectangle. With YMap, a row
// whose source row repeats the previous one is a copy of the row above when the result is a
// function of the source alone.
template <class TProducer>
void RunProducer(const TBlitRequest& R, const TSurface& D, const TRect& Area, const TPatternRows* Pattern,
                 TProducer& P, const Integer* YMap, Integer MapTop) {
  TRowCombiner Comb(R, D, Pattern, Area.Width());
  std::vector<DWORD> S(static_cast<std::size_t>(Area.Width()));
  const bool Dup = YMap && Comb.PureSource() && D.Bpp >= 8;
  const NativeInt Bytes = D.Bpp / 8;
  ForEachClipRect(R.Dst, Area, [&](const TRect& C) {
    const Integer N = C.Width();
    P.BeginRect(C.Left, C.Right);
    for (Integer Y = C.Top; Y < C.Bottom; ++Y) {
      if (Dup && Y > C.Top && YMap[Y - MapTop] == YMap[Y - 1 - MapTop]) {
        std::memcpy(D.Row(Y) + C.Left * Bytes, D.Row(Y - 1) + C.Left * Bytes,
                    static_cast<std::size_t>(N * Bytes));
        continue;
      }
      P.Row(Y, C.Left, N, S.data());
      Comb.Store(Y, C.Left, N, S.data());
    }
  });
}

template <Integer B>
void GatherBytes(Byte* Dst, const Byte* Src, const NativeInt* Offsets, Integer N) {
  for (Integer I = 0; I < N; ++I) std::memcpy(Dst + static_cast<NativeInt>(I) * B, Src + Offsets[I], B);
}

// The first and last + 1 positions of Map (monotonic) whose values lie in [0, Limit).
void ValidRange(const std::vector<Integer>& Map, Integer Limit, Integer& Lo, Integer& Hi) {
  Lo = 0;
  Hi = static_cast<Integer>(Map.size());
  while (Lo < Hi && (Map[static_cast<std::size_t>(Lo)] < 0 || Map[static_cast<std::size_t>(Lo)] >= Limit))
    ++Lo;
  while (Hi > Lo &&
         (Map[static_cast<std::size_t>(Hi - 1)] < 0 || Map[static_cast<std::size_t>(Hi - 1)] >= Limit))
    --Hi;
}

bool RunUnscaled(const TBlitRequest& R, const TSurface& D, const TRect& Vis, const TPatternRows* Pattern) {
  TRect Area = Vis;
  TPoint Delta{R.SrcRect.Left - R.DstRect.Left, R.SrcRect.Top - R.DstRect.Top};
  const TSurface* S = R.Src;
  if (S) Area = IntersectRects(Area, OffsetRect(S->Bounds(), -Delta.X, -Delta.Y));
  if (R.Mask)
    Area = IntersectRects(
        Area, OffsetRect(R.Mask->Bounds(), R.DstRect.Left - R.MaskOrg.X, R.DstRect.Top - R.MaskOrg.Y));
  if (IsEmptyRect(Area)) return true;

  // A surface copied onto itself: rows run away from the overlap (bottom-up when moving down);
  // inside a row the source is read before it is written. A complex clip copies the source.
  bool BottomUp = false;
  std::optional<TSurfaceCopy> Copy;
  if (S && SameSurface(*S, D)) {
    const TRect From = OffsetRect(Area, Delta.X, Delta.Y);
    if (!IsEmptyRect(IntersectRects(From, Area))) {
      if (R.Dst->ClipIsRect()) {
        BottomUp = Delta.Y < 0;
      } else {
        Copy.emplace(*S, From.Top, From.Bottom);
        S = &Copy->S;
        Delta.Y -= From.Top;
      }
    }
  }

  std::optional<TPixelConverter> Conv;
  if (S) {
    TColorSide SrcSide = R.SrcSide;
    SrcSide.S = S;
    Conv.emplace(SrcSide, ColorSideOf(R.Dst));
    if (R.Rop == 0xCC && !R.Mask && Conv->Identity() && S->Bpp == D.Bpp && D.Bpp >= 8) {
      const NativeInt Bytes = D.Bpp / 8;
      const NativeInt RowBytes = DibRowBytes(D.Width, D.Bpp);
      // Whole rows of two surfaces laid out alike are one block of memory.
      const bool Blocks =
          S->Width == D.Width && S->Stride == D.Stride && (D.Stride == RowBytes || D.Stride == -RowBytes);
      ForEachClipRect(R.Dst, Area, [&](const TRect& C) {
        if (Blocks && C.Left == 0 && C.Right == D.Width && Delta.X == 0) {
          const Integer Low = D.Stride > 0 ? C.Top : C.Bottom - 1;  // the row at the lowest address
          std::memmove(D.Row(Low), S->Row(Low + Delta.Y), static_cast<std::size_t>(C.Height() * RowBytes));
          return;
        }
        const auto Count = static_cast<std::size_t>(C.Width() * Bytes);
        for (Integer I = 0; I < C.Height(); ++I) {
          const Integer Y = BottomUp ? C.Bottom - 1 - I : C.Top + I;
          std::memmove(D.Row(Y) + C.Left * Bytes, S->Row(Y + Delta.Y) + (C.Left + Delta.X) * Bytes, Count);
        }
      });
      return true;
    }
  }

  TRowCombiner Comb(R, D, Pattern, Area.Width());
  std::vector<DWORD> SBuf(static_cast<std::size_t>(Area.Width()), 0);  // zeros without a source
  ForEachClipRect(R.Dst, Area, [&](const TRect& C) {
    const Integer N = C.Width();
    for (Integer I = 0; I < C.Height(); ++I) {
      const Integer Y = BottomUp ? C.Bottom - 1 - I : C.Top + I;
      if (S) {
        UnpackRow(*S, S->Row(Y + Delta.Y), C.Left + Delta.X, N, SBuf.data());
        Conv->Convert(SBuf.data(), SBuf.data(), N);
      }
      Comb.Store(Y, C.Left, N, SBuf.data());
    }
  });
  return true;
}

bool RunStretched(const TBlitRequest& R, const TSurface& D, const TRect& Vis, const TPatternRows* Pattern) {
  if (R.Mask) return false;
  // Destination pixels whose nearest source pixel lies outside the source stay as they are.
  const TNearestSampler Sampler(*R.Src, D, R.DstRect, R.SrcRect, Vis, R.FlipX, R.FlipY);
  const TRect& Area = Sampler.Area();
  if (IsEmptyRect(Area)) return true;
  const TSurface* S = &Sampler.Source();
  const std::vector<Integer>& XMap = Sampler.XMap();
  const std::vector<Integer>& YMap = Sampler.YMap();

  TColorSide SrcSide = R.SrcSide;
  SrcSide.S = S;
  const TColorSide DstSide = ColorSideOf(R.Dst);
  const TStretchGeometry G{R.DstRect, Sampler.SourceRect(), R.FlipX, R.FlipY, Vis};
  const bool Shrinks = R.SrcRect.Width() > R.DstRect.Width() || R.SrcRect.Height() > R.DstRect.Height();
  if (R.StretchMode == HALFTONE) {
    THalftoneRows P(*S, SrcSide, DstSide, G);
    RunProducer(R, D, Area, Pattern, P, nullptr, 0);
    return true;
  }
  if ((R.StretchMode == BLACKONWHITE || R.StretchMode == WHITEONBLACK) && Shrinks) {
    TScanCombineRows P(*S, SrcSide, DstSide, G, R.StretchMode == BLACKONWHITE);
    RunProducer(R, D, Area, Pattern, P, nullptr, 0);
    return true;
  }

  TPixelConverter Conv(SrcSide, DstSide);
  if (R.Rop == 0xCC && Conv.Identity() && S->Bpp == D.Bpp && D.Bpp >= 8) {
    const NativeInt Bytes = D.Bpp / 8;
    std::vector<NativeInt> Offsets(XMap.size());
    for (std::size_t I = 0; I < XMap.size(); ++I) Offsets[I] = XMap[I] * Bytes;
    void (*Gather)(Byte*, const Byte*, const NativeInt*, Integer) = Bytes == 4   ? GatherBytes<4>
                                                                    : Bytes == 3 ? GatherBytes<3>
                                                                    : Bytes == 2 ? GatherBytes<2>
                                                                                 : GatherBytes<1>;
    ForEachClipRect(R.Dst, Area, [&](const TRect& C) {
      const Integer N = C.Width();
      const NativeInt* Off = Offsets.data() + (C.Left - Vis.Left);
      for (Integer Y = C.Top; Y < C.Bottom; ++Y) {
        Byte* Out = D.Row(Y) + C.Left * Bytes;
        const Integer SrcRow = YMap[static_cast<std::size_t>(Y - Vis.Top)];
        if (Y > C.Top && SrcRow == YMap[static_cast<std::size_t>(Y - 1 - Vis.Top)])
          std::memcpy(Out, D.Row(Y - 1) + C.Left * Bytes, static_cast<std::size_t>(N * Bytes));
        else
          Gather(Out, S->Row(SrcRow), Off, N);
      }
    });
    return true;
  }
  TNearestRows P{*S, XMap.data(), YMap.data(), Vis.TopLeft(), Conv};
  RunProducer(R, D, Area, Pattern, P, YMap.data(), Vis.Top);
  return true;
}

}  // namespace

BOOL BlitFailed() {
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

bool MapBlitRect(HDC DC, Integer X, Integer Y, Integer W, Integer H, TRect& Out, bool& FlipX, bool& FlipY) {
  double X0, Y0, X1, Y1;
  if (!DC->HasTransform()) {
    const TPoint O = DC->Offset();
    X0 = static_cast<double>(X) + O.X, Y0 = static_cast<double>(Y) + O.Y;
    X1 = X0 + W, Y1 = Y0 + H;
  } else {
    const XFORM& F = DC->State.World;
    if (F.eM12 != 0 || F.eM21 != 0) return false;
    DC->ToSurfaceF(X, Y, X0, Y0);
    DC->ToSurfaceF(static_cast<double>(X) + W, static_cast<double>(Y) + H, X1, Y1);
    X0 = std::floor(X0 + 0.5), Y0 = std::floor(Y0 + 0.5), X1 = std::floor(X1 + 0.5),
    Y1 = std::floor(Y1 + 0.5);
  }
  for (const double V : {X0, Y0, X1, Y1})
    if (!(std::fabs(V) <= ShapeCoordLimit)) return false;
  FlipX = X1 < X0;
  FlipY = Y1 < Y0;
  Out = {static_cast<Integer>(std::min(X0, X1)), static_cast<Integer>(std::min(Y0, Y1)),
         static_cast<Integer>(std::max(X0, X1)), static_cast<Integer>(std::max(Y0, Y1))};
  return true;
}

bool MapPlainRect(HDC DC, Integer X, Integer Y, Integer W, Integer H, TRect& Out) {
  bool FlipX, FlipY;
  return W >= 0 && H >= 0 && MapBlitRect(DC, X, Y, W, H, Out, FlipX, FlipY) && !FlipX && !FlipY;
}

bool ExecuteBlit(TBlitRequest R) {
  const TSurface& D = R.Dst->Surface();
  const bool UsesS = Rop3UsesSource(R.Rop) || (R.Mask && Rop3UsesSource(R.BackRop));
  const bool UsesP = Rop3UsesPattern(R.Rop) || (R.Mask && Rop3UsesPattern(R.BackRop));
  if (!UsesS) R.Src = nullptr;
  if (IsEmptyRect(R.DstRect)) return true;
  if (R.Src && IsEmptyRect(R.SrcRect)) return false;

  if (!R.Src && !R.Mask) {
    PatBltClipped(R.Dst, R.DstRect, R.Rop);
    return true;
  }

  const TRect Vis = IntersectRects(R.DstRect, R.Dst->ClipBox());
  if (IsEmptyRect(Vis)) return true;
  std::optional<TPatternRows> Pattern;
  if (UsesP) {
    Pattern.emplace(R.Dst);
    if (Pattern->IsNull()) return true;  // a null brush draws nothing
  }
  const TPatternRows* P = Pattern ? &*Pattern : nullptr;
  const bool Stretch = R.Src && (R.DstRect.Width() != R.SrcRect.Width() ||
                                 R.DstRect.Height() != R.SrcRect.Height() || R.FlipX || R.FlipY);
  return Stretch ? RunStretched(R, D, Vis, P) : RunUnscaled(R, D, Vis, P);
}

TNearestSampler::TNearestSampler(const TSurface& Src, const TSurface& Dst, const TRect& DstRect,
                                 const TRect& SrcRect, const TRect& Vis, bool FlipX, bool FlipY)
    : FS(&Src), FVis(Vis), FSrcRect(SrcRect) {
  TRect& SR = FSrcRect;
  if (SameSurface(Src, Dst)) {
    const TRect From = IntersectRects(SR, Src.Bounds());
    if (!IsEmptyRect(IntersectRects(From, Vis))) {
      FCopy.emplace(Src, From.Top, From.Bottom);
      FS = &FCopy->S;
      SR.Top -= From.Top;
      SR.Bottom -= From.Top;
    }
  }
  if (IsEmptyRect(Vis) || IsEmptyRect(SR)) return;
  FXMap.resize(static_cast<std::size_t>(Vis.Width()));
  FYMap.resize(static_cast<std::size_t>(Vis.Height()));
  StretchMap(DstRect.Width(), SR.Left, SR.Width(), FlipX, Vis.Left - DstRect.Left, Vis.Width(), FXMap.data());
  StretchMap(DstRect.Height(), SR.Top, SR.Height(), FlipY, Vis.Top - DstRect.Top, Vis.Height(), FYMap.data());
  Integer X0, X1, Y0, Y1;
  ValidRange(FXMap, FS->Width, X0, X1);
  ValidRange(FYMap, FS->Height, Y0, Y1);
  FArea = {Vis.Left + X0, Vis.Top + Y0, Vis.Left + X1, Vis.Top + Y1};
  if (IsEmptyRect(FArea)) FArea = {};
  FUnscaledX = !FlipX && DstRect.Width() == SR.Width();
}

void TNearestSampler::Row(Integer Y, Integer X0, Integer N, DWORD* Out) const {
  const Byte* Row = FS->Row(FYMap[static_cast<std::size_t>(Y - FVis.Top)]);
  const Integer* Columns = FXMap.data() + (X0 - FVis.Left);
  if (FUnscaledX)
    UnpackRow(*FS, Row, Columns[0], N, Out);
  else
    GatherRow(*FS, Row, Columns, N, Out);
}
