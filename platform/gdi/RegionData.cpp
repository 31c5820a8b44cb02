#include "platform/gdi/RegionData.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/gdi/RegionBands.h"
#include "platform/system/Exceptions.h"

namespace {

constexpr Int64 NoMore = std::numeric_limits<Int64>::max();

// Mode as a truth table: bit (inA * 2 + inB) tells whether a pixel is in the result.
constexpr unsigned MaskAnd = 0b1000;
constexpr unsigned MaskOr = 0b1110;
constexpr unsigned MaskXor = 0b0110;
constexpr unsigned MaskDiff = 0b0100;

// The spans of one band where both operands have spans: one pass over the x edges of both.
template <unsigned Mask>
void CombineSpans(const TRect* A, const TRect* AEnd, const TRect* B, const TRect* BEnd, TBandWriter& W) {
  bool InA = false;
  bool InB = false;
  bool Out = false;
  Int64 Start = 0;
  for (;;) {
    const Int64 XA = A != AEnd ? (InA ? A->Right : A->Left) : NoMore;
    const Int64 XB = B != BEnd ? (InB ? B->Right : B->Left) : NoMore;
    const Int64 X = std::min(XA, XB);
    if (X == NoMore) break;
    if (XA == X) {
      if (InA) ++A;
      InA = !InA;
    }
    if (XB == X) {
      if (InB) ++B;
      InB = !InB;
    }
    const bool Now = ((Mask >> ((InA ? 2 : 0) | (InB ? 1 : 0))) & 1) != 0;
    if (Now == Out) continue;
    if (Now)
      Start = X;
    else
      W.Add(static_cast<Integer>(Start), static_cast<Integer>(X));
    Out = Now;
  }
}

void CopySpans(const TRect* P, const TRect* End, TBandWriter& W) {
  for (; P != End; ++P) W.Add(P->Left, P->Right);
}

const TRect* BandEndOf(const TRect* P, const TRect* End) {
  if (P == End) return End;
  const Integer Top = P->Top;
  while (P != End && P->Top == Top) ++P;
  return P;
}

// Sweeps both band lists top to bottom, cutting at every band edge of either operand.
template <unsigned Mask>
void CombineBands(const std::vector<TRect>& RA, const std::vector<TRect>& RB, std::vector<TRect>& Out) {
  constexpr bool KeepA = (Mask & 0b0100) != 0;  // pixels only in A stay
  constexpr bool KeepB = (Mask & 0b0010) != 0;
  TBandWriter W(Out);
  const TRect* A = RA.data();
  const TRect* AEnd = A + RA.size();
  const TRect* B = RB.data();
  const TRect* BEnd = B + RB.size();
  const TRect* ABand = BandEndOf(A, AEnd);
  const TRect* BBand = BandEndOf(B, BEnd);
  Int64 Y = std::numeric_limits<Int64>::min();
  for (;;) {
    if (A == AEnd && (B == BEnd || !KeepB)) break;
    if (B == BEnd && !KeepA) break;
    const Int64 ATop = A != AEnd ? std::max<Int64>(A->Top, Y) : NoMore;
    const Int64 BTop = B != BEnd ? std::max<Int64>(B->Top, Y) : NoMore;
    const Int64 Top = std::min(ATop, BTop);
    const bool InA = ATop == Top;
    const bool InB = BTop == Top;
    const Int64 Bottom = std::min(InA ? A->Bottom : ATop, InB ? B->Bottom : BTop);
    if (InA && InB) {
      W.Begin(static_cast<Integer>(Top), static_cast<Integer>(Bottom));
      CombineSpans<Mask>(A, ABand, B, BBand, W);
      W.End();
    } else if ((InA && KeepA) || (InB && KeepB)) {
      W.Begin(static_cast<Integer>(Top), static_cast<Integer>(Bottom));
      if (InA)
        CopySpans(A, ABand, W);
      else
        CopySpans(B, BBand, W);
      W.End();
    }
    Y = Bottom;
    if (InA && A->Bottom == Bottom) {
      A = ABand;
      ABand = BandEndOf(A, AEnd);
    }
    if (InB && B->Bottom == Bottom) {
      B = BBand;
      BBand = BandEndOf(B, BEnd);
    }
  }
}

bool Overlap(const TRect& A, const TRect& B) {
  return A.Left < B.Right && B.Left < A.Right && A.Top < B.Bottom && B.Top < A.Bottom;
}

bool Covers(const TRect& Outer, const TRect& Inner) {
  return Outer.Left <= Inner.Left && Outer.Top <= Inner.Top && Outer.Right >= Inner.Right &&
         Outer.Bottom >= Inner.Bottom;
}

void CheckShapeCoords(Integer Left, Integer Top, Integer Right, Integer Bottom) {
  for (Integer V : {Left, Top, Right, Bottom})
    if (!InShapeRange(V)) throw ERangeError("Region coordinate out of range");
}

Int64 FloorDiv2(Int64 N) {
  return N >= 0 ? N / 2 : -((-N + 1) / 2);
}

// Largest M with M * M <= N, N >= 0.
Int64 ISqrt(Int64 N) {
  auto M = static_cast<Int64>(std::sqrt(static_cast<long double>(N)));
  while (M > 0 && M * M > N) --M;
  while ((M + 1) * (M + 1) <= N) ++M;
  return M;
}

std::uint32_t GetLE32(const Byte* P) {
  return static_cast<std::uint32_t>(P[0]) | (static_cast<std::uint32_t>(P[1]) << 8) |
         (static_cast<std::uint32_t>(P[2]) << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
}

void PutLE32(Byte* P, std::uint32_t V) {
  P[0] = static_cast<Byte>(V);
  P[1] = static_cast<Byte>(V >> 8);
  P[2] = static_cast<Byte>(V >> 16);
  P[3] = static_cast<Byte>(V >> 24);
}

// Maps a coordinate through one axis of a scaling transform, rounding halves up as the
// platform's transforms do; false when the result leaves the int32 range.
bool MapCoord(Integer V, FLOAT Scale, FLOAT Offset, Integer& Out) {
  const double R = std::floor(static_cast<double>(V) * Scale + static_cast<double>(Offset) + 0.5);
  if (!(R >= std::numeric_limits<Integer>::min() && R <= std::numeric_limits<Integer>::max())) return false;
  Out = static_cast<Integer>(R);
  return true;
}

}  // namespace

TRegionData::TRegionData(const TRect& R) {
  TRect N{std::min(R.Left, R.Right), std::min(R.Top, R.Bottom), std::max(R.Left, R.Right),
          std::max(R.Top, R.Bottom)};
  if (N.Left == N.Right || N.Top == N.Bottom) return;
  FRects.push_back(N);
  FBox = N;
}

void TRegionData::SetEmpty() {
  FRects.clear();
  FBox = TRect{};
}

void TRegionData::UpdateBox() {
  if (FRects.empty()) {
    FBox = TRect{};
    return;
  }
  FBox = TRect{FRects.front().Left, FRects.front().Top, FRects.front().Right, FRects.back().Bottom};
  for (const TRect& R : FRects) {
    FBox.Left = std::min(FBox.Left, R.Left);
    FBox.Right = std::max(FBox.Right, R.Right);
  }
}

Integer TRegionData::Complexity() const {
  if (FRects.empty()) return NULLREGION;
  return FRects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

TRegionData TRegionData::FromEllipse(Integer Left, Integer Top, Integer Right, Integer Bottom) {
  CheckShapeCoords(Left, Top, Right, Bottom);
  return FromRoundRect(Left, Top, Right, Bottom, std::abs(Right - Left), std::abs(Bottom - Top));
}

TRegionData TRegionData::FromRoundRect(Integer Left, Integer Top, Integer Right, Integer Bottom,
                                       Integer EllipseWidth, Integer EllipseHeight) {
  CheckShapeCoords(Left, Top, Right, Bottom);
  const Integer L = std::min(Left, Right), R = std::max(Left, Right);
  const Integer T = std::min(Top, Bottom), B = std::max(Top, Bottom);
  TRegionData D;
  if (L == R || T == B) return D;
  // Doubled coordinates keep pixel centres (2x + 1) and half ellipse sizes integral.
  const Int64 W = std::min<Int64>(std::abs(static_cast<Int64>(EllipseWidth)), R - L);
  const Int64 H = std::min<Int64>(std::abs(static_cast<Int64>(EllipseHeight)), B - T);
  if (W == 0 || H == 0) return TRegionData(TRect{L, T, R, B});
  const Int64 InnerL = 2 * Int64{L} + W, InnerR = 2 * Int64{R} - W;  // the shrunk box, doubled
  const Int64 InnerT = 2 * Int64{T} + H, InnerB = 2 * Int64{B} - H;
  // Rows whose centre lies between InnerT and InnerB are full.
  const auto FullTop = static_cast<Integer>(-FloorDiv2(-(InnerT - 1)));
  const auto FullBottom = static_cast<Integer>(FloorDiv2(InnerB - 1) + 1);
  TBandWriter Wr(D.FRects);
  for (Integer Y = T; Y < B; ++Y) {
    if (Y == FullTop && FullTop < FullBottom) {
      Wr.Begin(FullTop, FullBottom);
      Wr.Add(L, R);
      Wr.End();
      Y = FullBottom - 1;
      continue;
    }
    const Int64 Q = 2 * Int64{Y} + 1;
    const Int64 DY = std::max<Int64>({0, InnerT - Q, Q - InnerB});
    // Centre (P, Q) is inside when DX^2 H^2 + DY^2 W^2 <= W^2 H^2, DX its doubled distance
    // beyond the shrunk box: DX^2 <= W^2 (H^2 - DY^2) / H^2.
    if (DY > H) continue;
    const auto Limit =
        static_cast<Int64>(static_cast<unsigned __int128>(W * W) * (H * H - DY * DY) / (H * H));
    const Int64 M = ISqrt(Limit);
    // Odd P in [InnerL - M, InnerR + M].
    const Int64 X0 = -FloorDiv2(-(InnerL - M - 1));
    const Int64 X1 = FloorDiv2(InnerR + M - 1) + 1;
    if (X0 >= X1) continue;
    Wr.Begin(Y, Y + 1);
    Wr.Add(static_cast<Integer>(X0), static_cast<Integer>(X1));
    Wr.End();
  }
  D.UpdateBox();
  return D;
}

TRegionData TRegionData::FromPolygon(const TPoint* Points, Integer Count, Integer FillMode) {
  return FromPolyPolygon(Points, &Count, 1, FillMode);
}

TRegionData TRegionData::FromPolyPolygon(const TPoint* Points, const Integer* Counts, Integer PolyCount,
                                         Integer FillMode) {
  TPolygonScanner S(Points, Counts, PolyCount, FillMode);
  TRegionData D;
  TBandWriter W(D.FRects);
  while (S.NextRow()) {
    W.Begin(S.Row(), S.Row() + 1);
    for (const TSpan& Sp : S.Spans()) W.Add(Sp.Left, Sp.Right);
    W.End();
  }
  D.UpdateBox();
  return D;
}

std::optional<TRegionData> TRegionData::FromRgnData(const void* Data, std::size_t Size, const XFORM* Xform) {
  const auto* P = static_cast<const Byte*>(Data);
  if (!P || Size < 32) return std::nullopt;
  const std::uint32_t HeaderSize = GetLE32(P);
  const std::uint32_t Type = GetLE32(P + 4);
  const std::uint64_t Count = GetLE32(P + 8);
  if (HeaderSize != 32 || Type != 1 || Size < 32 + 16 * Count) return std::nullopt;
  if (Xform && (Xform->eM12 != 0 || Xform->eM21 != 0)) return std::nullopt;
  const bool Maps = Xform && (Xform->eM11 != 1 || Xform->eM22 != 1 || Xform->eDx != 0 || Xform->eDy != 0);
  std::vector<TRect> Rects(static_cast<std::size_t>(Count));
  for (std::size_t I = 0; I < Rects.size(); ++I) {
    const Byte* Q = P + 32 + 16 * I;
    TRect R{static_cast<Integer>(GetLE32(Q)), static_cast<Integer>(GetLE32(Q + 4)),
            static_cast<Integer>(GetLE32(Q + 8)), static_cast<Integer>(GetLE32(Q + 12))};
    // Only rectangles holding pixels count; a mirroring transform then swaps their edges.
    if (Maps && R.Left < R.Right && R.Top < R.Bottom) {
      TRect M;
      if (!MapCoord(R.Left, Xform->eM11, Xform->eDx, M.Left) ||
          !MapCoord(R.Right, Xform->eM11, Xform->eDx, M.Right) ||
          !MapCoord(R.Top, Xform->eM22, Xform->eDy, M.Top) ||
          !MapCoord(R.Bottom, Xform->eM22, Xform->eDy, M.Bottom))
        return std::nullopt;
      R = TRect{std::min(M.Left, M.Right), std::min(M.Top, M.Bottom), std::max(M.Left, M.Right),
                std::max(M.Top, M.Bottom)};
    }
    Rects[I] = R;
  }
  return FromRects(std::move(Rects));
}

void TRegionData::WriteRgnData(void* Buffer) const {
  auto* P = static_cast<Byte*>(Buffer);
  const auto Count = static_cast<std::uint32_t>(FRects.size());
  PutLE32(P, 32);
  PutLE32(P + 4, 1);
  PutLE32(P + 8, Count);
  PutLE32(P + 12, Count * 16);
  const TRect* Box = &FBox;
  for (std::size_t I = 0; I <= FRects.size(); ++I) {
    const TRect& R = I == 0 ? *Box : FRects[I - 1];
    Byte* Q = P + 16 + 16 * I;
    PutLE32(Q, static_cast<std::uint32_t>(R.Left));
    PutLE32(Q + 4, static_cast<std::uint32_t>(R.Top));
    PutLE32(Q + 8, static_cast<std::uint32_t>(R.Right));
    PutLE32(Q + 12, static_cast<std::uint32_t>(R.Bottom));
  }
}

Integer TRegionData::Combine(const TRegionData& A, const TRegionData& B, Integer Mode) {
  if (Mode < RGN_AND || Mode > RGN_COPY) return ERROR;
  if (Mode == RGN_COPY) {
    if (this != &A) *this = A;
    return Complexity();
  }
  // Shortcuts that leave one operand unchanged.
  const TRegionData* Same = nullptr;
  switch (Mode) {
    case RGN_AND:
      if (A.IsEmpty() || B.IsEmpty() || !Overlap(A.FBox, B.FBox)) {
        SetEmpty();
        return NULLREGION;
      }
      if (B.FRects.size() == 1 && Covers(B.FBox, A.FBox)) Same = &A;
      if (A.FRects.size() == 1 && Covers(A.FBox, B.FBox)) Same = &B;
      break;
    case RGN_OR:
      if (B.IsEmpty())
        Same = &A;
      else if (A.IsEmpty())
        Same = &B;
      else if (A.FRects.size() == 1 && Covers(A.FBox, B.FBox))
        Same = &A;
      else if (B.FRects.size() == 1 && Covers(B.FBox, A.FBox))
        Same = &B;
      break;
    case RGN_XOR:
      if (B.IsEmpty())
        Same = &A;
      else if (A.IsEmpty())
        Same = &B;
      break;
    case RGN_DIFF:
      if (A.IsEmpty() || B.IsEmpty() || !Overlap(A.FBox, B.FBox)) Same = &A;
      break;
  }
  if (Same) {
    if (this != Same) *this = *Same;
    return Complexity();
  }
  if (Mode == RGN_AND && B.FRects.size() == 1) {
    const TRect R = B.FBox;  // B may be *this
    if (this != &A) *this = A;
    IntersectRect(R);
    return Complexity();
  }
  std::vector<TRect> Out;
  Out.reserve(A.FRects.size() + B.FRects.size());
  switch (Mode) {
    case RGN_AND:
      CombineBands<MaskAnd>(A.FRects, B.FRects, Out);
      break;
    case RGN_OR:
      CombineBands<MaskOr>(A.FRects, B.FRects, Out);
      break;
    case RGN_XOR:
      CombineBands<MaskXor>(A.FRects, B.FRects, Out);
      break;
    default:
      CombineBands<MaskDiff>(A.FRects, B.FRects, Out);
      break;
  }
  FRects.swap(Out);
  UpdateBox();
  return Complexity();
}

void TRegionData::IntersectRect(const TRect& R) {
  if (FRects.empty()) return;
  if (R.Left >= R.Right || R.Top >= R.Bottom || !Overlap(FBox, R)) {
    SetEmpty();
    return;
  }
  if (Covers(R, FBox)) return;
  std::vector<TRect> Out;
  Out.reserve(FRects.size());
  TBandWriter W(Out);
  Integer BandTop = 0;
  bool Open = false;
  WalkIn(R, [&](const TRect& C) {
    if (!Open || C.Top != BandTop) {
      if (Open) W.End();
      W.Begin(C.Top, C.Bottom);
      BandTop = C.Top;
      Open = true;
    }
    W.Add(C.Left, C.Right);
    return true;
  });
  if (Open) W.End();
  FRects.swap(Out);
  UpdateBox();
}

void TRegionData::ExcludeRect(const TRect& R) {
  if (FRects.empty() || R.Left >= R.Right || R.Top >= R.Bottom || !Overlap(FBox, R)) return;
  TRegionData Cut;
  Cut.FRects.push_back(R);
  Cut.FBox = R;
  Combine(*this, Cut, RGN_DIFF);
}

bool TRegionData::Offset(Integer Dx, Integer Dy) {
  if (FRects.empty() || (Dx == 0 && Dy == 0)) return true;
  constexpr Int64 Lo = std::numeric_limits<Integer>::min(), Hi = std::numeric_limits<Integer>::max();
  if (Int64{FBox.Left} + Dx < Lo || Int64{FBox.Right} + Dx > Hi || Int64{FBox.Top} + Dy < Lo ||
      Int64{FBox.Bottom} + Dy > Hi)
    return false;
  for (TRect& R : FRects) {
    R.Left += Dx;
    R.Right += Dx;
    R.Top += Dy;
    R.Bottom += Dy;
  }
  FBox = TRect{FBox.Left + Dx, FBox.Top + Dy, FBox.Right + Dx, FBox.Bottom + Dy};
  return true;
}

bool TRegionData::Contains(Integer X, Integer Y) const {
  // Inside the box X + 1 and Y + 1 cannot overflow.
  if (FRects.empty() || X < FBox.Left || X >= FBox.Right || Y < FBox.Top || Y >= FBox.Bottom) return false;
  return !WalkIn(TRect{X, Y, X + 1, Y + 1}, [](const TRect&) { return false; });
}

bool TRegionData::IntersectsRect(const TRect& R) const {
  return !WalkIn(R, [](const TRect&) { return false; });
}
