// Cosmetic lines, pens and the line calls.
#include <cstdlib>
#include <cstring>

#include "platform/gdi/EnhMetaFileRecord.h"
#include "platform/gdi/Painting.h"
#include "platform/gdi/RasterInternals.h"

namespace {

Int64 CeilDiv(Int64 A, Int64 B) {  // B > 0
  const Int64 Q = A / B;
  return (A % B != 0 && A > 0) ? Q + 1 : Q;
}

void SetPattern(TDash& D, std::initializer_list<DWORD> Runs) {
  for (std::size_t I = 0; I < Runs.size(); ++I) D.On.insert(D.On.end(), Runs.begin()[I], (I & 1) == 0);
}

// Logical points to surface points.
std::vector<TPoint> ToSurface(HDC DC, const POINT* P, std::size_t N) {
  std::vector<TPoint> Out(N);
  if (!DC->HasTransform()) {
    const TPoint O = DC->Offset();
    for (std::size_t I = 0; I < N; ++I) Out[I] = {P[I].X + O.X, P[I].Y + O.Y};
  } else {
    for (std::size_t I = 0; I < N; ++I) Out[I] = DC->ToSurface(P[I]);
  }
  return Out;
}

// Flattens one cubic Bezier (surface coordinates) into points after P0, ending exactly at P3.
void FlattenBezier(TPointF P0, TPointF P1, TPointF P2, TPointF P3, std::vector<TPoint>& Out) {
  const double Len = std::hypot(P1.X - P0.X, P1.Y - P0.Y) + std::hypot(P2.X - P1.X, P2.Y - P1.Y) +
                     std::hypot(P3.X - P2.X, P3.Y - P2.Y);
  const Integer Steps = std::clamp(static_cast<Integer>(Len / 2), 1, 4096);
  for (Integer I = 1; I <= Steps; ++I) {
    const double T = static_cast<double>(I) / Steps, U = 1 - T;
    const double X = U * U * U * P0.X + 3 * U * U * T * P1.X + 3 * U * T * T * P2.X + T * T * T * P3.X;
    const double Y = U * U * U * P0.Y + 3 * U * U * T * P1.Y + 3 * U * T * T * P2.Y + T * T * T * P3.Y;
    const TPoint Q{static_cast<Integer>(std::floor(X + 0.5)), static_cast<Integer>(std::floor(Y + 0.5))};
    if (Out.empty() || !(Out.back() == Q)) Out.push_back(Q);
  }
}

// The points of a *To call: the current position, then Points; the last one becomes the
// current position.
std::vector<POINT> FromCurrentPosition(HDC DC, const POINT* Points, DWORD Count) {
  std::vector<POINT> All(Count + 1);
  All[0] = DC->State.CurPos;
  std::copy_n(Points, Count, All.begin() + 1);
  DC->State.CurPos = Points[Count - 1];
  return All;
}

// An open polyline in surface coordinates with the DC's pen.
BOOL StrokeOpen(HDC DC, const std::vector<TPoint>& P) {
  TPenSetup Pen = MakePenSetup(DC);
  StrokePolyline(DC, Pen, P.data(), P.size(), false);
  return TRUE;
}

// Surface points of a Bezier chain (1 + 3n logical points).
std::vector<TPoint> BezierPoints(HDC DC, const POINT* P, DWORD Count) {
  std::vector<TPoint> Out;
  auto F = [&](const POINT& Q) {
    double X, Y;
    DC->ToSurfaceF(Q.X, Q.Y, X, Y);
    return TPointF{X, Y};
  };
  Out.push_back(DC->ToSurface(P[0]));
  for (DWORD I = 1; I + 2 < Count; I += 3) FlattenBezier(F(P[I - 1]), F(P[I]), F(P[I + 1]), F(P[I + 2]), Out);
  return Out;
}

// A solid cosmetic line inside R: the row pointer steps along, the pixel format chosen once.
void SolidLineIn(const TLineSteps& L, const TRect& R, const TPixelOp& Ink) {
  const TSurface& S = *Ink.S;
  if (S.Bpp != 32 && S.Bpp != 24) {
    WalkLine(L, R, [&](Integer X, Integer Y, Int64) { Ink.Pixel(X, Y); });
    return;
  }
  Int64 Lo, Hi;
  L.RangeIn(R, Lo, Hi);
  if (Lo >= Hi) return;
  const Integer Bytes = S.Bpp / 8;
  const TPoint P = L.PixelAt(Lo);
  Byte* Ptr = S.Row(P.Y) + static_cast<NativeInt>(P.X) * Bytes;
  const NativeInt MajStep = L.XMajor ? L.SMaj * Bytes : L.SMaj * S.Stride;
  const NativeInt MinStep = L.XMajor ? L.SMin * S.Stride : L.SMin * Bytes;
  const Int64 Den = 2 * L.DMaj, Add = 2 * L.DMin;
  Int64 Rem = L.DMin == 0 ? 0 : (Add * Lo + L.C) % Den;
  const DWORD And = Ink.And, Xor = Ink.Xor;
  for (Int64 I = Lo; I < Hi; ++I) {
    if (Bytes == 4) {
      DWORD V = Xor;
      if (And) {
        std::memcpy(&V, Ptr, 4);
        V = (V & And) ^ Xor;
      }
      std::memcpy(Ptr, &V, 4);
    } else {
      Store24(Ptr, And ? ((Load24(Ptr) & And) ^ Xor) : Xor);
    }
    if (I + 1 == Hi) break;  // the pointer never leaves the surface
    Ptr += MajStep;
    Rem += Add;
    if (Rem >= Den) {
      Rem -= Den;
      Ptr += MinStep;
    }
  }
}

}  // namespace

TLineSteps::TLineSteps(TPoint A, TPoint B) : X0(A.X), Y0(A.Y) {
  if (!InShapeRange(A) || !InShapeRange(B)) return;
  const Int64 DX = static_cast<Int64>(B.X) - A.X, DY = static_cast<Int64>(B.Y) - A.Y;
  const Int64 AX = DX < 0 ? -DX : DX, AY = DY < 0 ? -DY : DY;
  XMajor = AX > AY;
  DMaj = XMajor ? AX : AY;
  DMin = XMajor ? AY : AX;
  SMaj = (XMajor ? DX : DY) < 0 ? -1 : 1;
  SMin = (XMajor ? DY : DX) < 0 ? -1 : 1;
  Length = static_cast<Integer>(DMaj);
  C = DMaj - 1 + (SMin < 0 ? 1 : 0);
}

TPoint TLineSteps::PixelAt(Int64 I) const {
  const Int64 Maj = (XMajor ? X0 : Y0) + SMaj * I;
  const Int64 Min = (XMajor ? Y0 : X0) + SMin * MinorAt(I);
  return XMajor ? TPoint{static_cast<Integer>(Maj), static_cast<Integer>(Min)}
                : TPoint{static_cast<Integer>(Min), static_cast<Integer>(Maj)};
}

void TLineSteps::RangeIn(const TRect& R, Int64& Lo, Int64& Hi) const {
  Lo = 0;
  Hi = Length;
  if (Length == 0) return;
  const Int64 Maj0 = XMajor ? X0 : Y0, Min0 = XMajor ? Y0 : X0;
  const Int64 MajLo = XMajor ? R.Left : R.Top, MajHi = XMajor ? R.Right : R.Bottom;
  const Int64 MinLo = XMajor ? R.Top : R.Left, MinHi = XMajor ? R.Bottom : R.Right;
  if (SMaj > 0) {
    Lo = std::max(Lo, MajLo - Maj0);
    Hi = std::min(Hi, MajHi - Maj0);
  } else {
    Lo = std::max(Lo, Maj0 - MajHi + 1);
    Hi = std::min(Hi, Maj0 - MajLo + 1);
  }
  // The minor offsets k allowed by R, then the pixel indices whose k lies in [KLo, KHi).
  const Int64 KLo = SMin > 0 ? MinLo - Min0 : Min0 - MinHi + 1;
  const Int64 KHi = SMin > 0 ? MinHi - Min0 : Min0 - MinLo + 1;
  if (DMin == 0) {
    if (!(KLo <= 0 && 0 < KHi)) Hi = Lo;
    return;
  }
  Lo = std::max(Lo, CeilDiv(KLo * 2 * DMaj - C, 2 * DMin));
  Hi = std::min(Hi, CeilDiv(KHi * 2 * DMaj - C, 2 * DMin));
}

TRect TLineSteps::Box() const {
  if (Length == 0) return {};
  const TPoint A = PixelAt(0), B = PixelAt(Length - 1);
  return {std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X) + 1, std::max(A.Y, B.Y) + 1};
}

TPenSetup MakePenSetup(HDC DC) {
  TPenSetup P;
  HPEN Pen = DC->State.Pen;
  const UINT Style = Pen->DashStyle();
  if (Style == PS_NULL || (Pen->ObjType == OBJ_EXTPEN && Pen->Brush.lbStyle == BS_NULL)) return P;
  P.Null = false;
  P.Width = Pen->Width < 1 ? 1 : Pen->Width;
  P.Wide = P.Width > 1;
  P.EndCap = Pen->Style & PS_ENDCAP_MASK;
  P.Join = Pen->Style & PS_JOIN_MASK;
  P.InsideFrame = Style == PS_INSIDEFRAME;
  const TSurface& S = DC->Surface();
  P.Ink = MakePixelOp(S, PenColor(DC, Pen), DC->State.Rop2);
  if (!P.Wide) {
    switch (Style) {
      case PS_DASH:
        SetPattern(P.Dash, {18, 6});
        break;
      case PS_DOT:
        SetPattern(P.Dash, {3, 3});
        break;
      case PS_DASHDOT:
        SetPattern(P.Dash, {9, 6, 3, 6});
        break;
      case PS_DASHDOTDOT:
        SetPattern(P.Dash, {9, 3, 3, 3, 3, 3});
        break;
      case PS_ALTERNATE:
        SetPattern(P.Dash, {1, 1});
        break;
      case PS_USERSTYLE: {
        Int64 Total = 0;
        for (DWORD V : Pen->UserStyle) Total += V;
        if (Total > 0 && Total <= (1 << 20)) {
          for (std::size_t I = 0; I < Pen->UserStyle.size(); ++I)
            P.Dash.On.insert(P.Dash.On.end(), Pen->UserStyle[I], (I & 1) == 0);
        }
        break;
      }
      default:
        break;
    }
    if (P.Dash.Active() && DC->State.BkMode == OPAQUE) {
      P.HasGap = true;
      P.Gap = MakePixelOp(S, ResolveColor(DC, DC->State.BkColor), DC->State.Rop2);
    }
  }
  return P;
}

void DrawCosmeticLineClipped(HDC DC, TPoint A, TPoint B, TPenSetup& Pen) {
  const TLineSteps L(A, B);
  if (L.Length == 0) return;
  const TPixelOp& Ink = Pen.Ink;
  if (!Pen.Dash.Active()) {
    if (L.XMajor && L.DMin == 0) {
      const Integer X0 = L.SMaj > 0 ? L.X0 : L.X0 - L.Length + 1;
      ForEachClipSpan(DC, L.Y0, X0, X0 + L.Length, [&](Integer A, Integer B) { Ink.Span(L.Y0, A, B); });
    } else {
      ForEachClipRect(DC, L.Box(), [&](const TRect& R) { SolidLineIn(L, R, Ink); });
    }
  } else {
    const TDash& D = Pen.Dash;
    ForEachClipRect(DC, L.Box(), [&](const TRect& R) {
      WalkLine(L, R, [&](Integer X, Integer Y, Int64 I) {
        if (D.IsOn(I))
          Ink.Pixel(X, Y);
        else if (Pen.HasGap)
          Pen.Gap.Pixel(X, Y);
      });
    });
  }
  Pen.Dash.Advance(L.Length);
}

void StrokePolyline(HDC DC, TPenSetup& Pen, const TPoint* P, std::size_t N, bool Closed) {
  if (Pen.Null || N < 2) return;
  if (Pen.Wide) {
    std::vector<TPointF> F(N);
    for (std::size_t I = 0; I < N; ++I) F[I] = {static_cast<double>(P[I].X), static_cast<double>(P[I].Y)};
    TShapeFiller Filler;
    AddWideStroke(Filler, F.data(), N, Closed, Pen.Width, Pen.EndCap, Pen.Join);
    FillShapeClipped(DC, Filler, WINDING, Pen.Ink);
    return;
  }
  for (std::size_t I = 0; I + 1 < N; ++I) DrawCosmeticLineClipped(DC, P[I], P[I + 1], Pen);
  if (Closed) DrawCosmeticLineClipped(DC, P[N - 1], P[0], Pen);
}

void StrokePieces(HDC DC, TPenSetup& Pen, const std::vector<TPoint>& P) {
  std::size_t Start = 0;
  for (std::size_t I = 1; I <= P.size(); ++I) {
    if (I < P.size() && std::abs(P[I].X - P[I - 1].X) <= 1 && std::abs(P[I].Y - P[I - 1].Y) <= 1) continue;
    if (I - Start == 1) {
      // A lone pixel: a cosmetic pen lights it, a wide one puts its dot there.
      const TPoint Dot[2] = {P[Start], {P[Start].X + 1, P[Start].Y}};
      if (Pen.Wide)
        StrokePolyline(DC, Pen, &P[Start], 1, false);
      else
        StrokePolyline(DC, Pen, Dot, 2, false);
    } else {
      StrokePolyline(DC, Pen, P.data() + Start, I - Start, false);
      // The last pixel of a piece is lit too: it is outline, not a line's end.
      const TPoint Last[2] = {P[I - 1], {P[I - 1].X + 1, P[I - 1].Y}};
      if (!Pen.Wide) StrokePolyline(DC, Pen, Last, 2, false);
    }
    Start = I;
  }
}

BOOL LineTo(HDC DC, Integer X, Integer Y) {
  if (!IsDeviceContext(DC)) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordLineTo(DC, X, Y);
  const TPoint A = DC->ToSurface(DC->State.CurPos), B = DC->ToSurface({X, Y});
  DC->State.CurPos = {X, Y};
  TPenSetup Pen = MakePenSetup(DC);
  const TPoint Pts[2] = {A, B};
  StrokePolyline(DC, Pen, Pts, 2, false);
  return TRUE;
}

BOOL Polyline(HDC DC, const POINT* Points, Integer Count) {
  if (!IsDeviceContext(DC) || !Points || Count < 2) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordPoints(DC, EMR_POLYLINE, Points, static_cast<DWORD>(Count));
  return StrokeOpen(DC, ToSurface(DC, Points, static_cast<std::size_t>(Count)));
}

BOOL PolylineTo(HDC DC, const POINT* Points, DWORD Count) {
  if (!IsDeviceContext(DC) || !Points || Count == 0) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordPoints(DC, EMR_POLYLINETO, Points, Count);
  const std::vector<POINT> All = FromCurrentPosition(DC, Points, Count);
  return StrokeOpen(DC, ToSurface(DC, All.data(), All.size()));
}

BOOL PolyPolyline(HDC DC, const POINT* Points, const DWORD* Counts, DWORD PolyCount) {
  if (!IsDeviceContext(DC) || !Points || !Counts) return FALSE;
  for (DWORD I = 0; I < PolyCount; ++I)
    if (Counts[I] < 2) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordPolyPoints(DC, EMR_POLYPOLYLINE, Points, Counts, PolyCount);
  TPenSetup Pen = MakePenSetup(DC);
  for (DWORD I = 0; I < PolyCount; ++I) {
    const std::vector<TPoint> P = ToSurface(DC, Points, Counts[I]);
    Pen.Dash.Pos = 0;
    StrokePolyline(DC, Pen, P.data(), P.size(), false);
    Points += Counts[I];
  }
  return TRUE;
}

BOOL PolyBezier(HDC DC, const POINT* Points, DWORD Count) {
  if (!IsDeviceContext(DC) || !Points || Count < 4 || (Count - 1) % 3 != 0) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordPoints(DC, EMR_POLYBEZIER, Points, Count);
  return StrokeOpen(DC, BezierPoints(DC, Points, Count));
}

BOOL PolyBezierTo(HDC DC, const POINT* Points, DWORD Count) {
  if (!IsDeviceContext(DC) || !Points || Count < 3 || Count % 3 != 0) return FALSE;
  if (IsRecordingDC(DC)) EmfRecordPoints(DC, EMR_POLYBEZIERTO, Points, Count);
  const std::vector<POINT> All = FromCurrentPosition(DC, Points, Count);
  return StrokeOpen(DC, BezierPoints(DC, All.data(), Count + 1));
}

BOOL LineDDA(Integer X1, Integer Y1, Integer X2, Integer Y2, LINEDDAPROC Proc, LPARAM Data) {
  if (!Proc) return FALSE;
  const TLineSteps L({X1, Y1}, {X2, Y2});
  WalkLine(L, L.Box(), [&](Integer X, Integer Y, Int64) { Proc(X, Y, Data); });
  return TRUE;
}
