// Rulers and angle measures: their drawing onto an anti-aliased canvas, for stored objects and
// for the object being drawn with the mouse.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "imaging/core/iegdiplus.h"
#include "imaging/core/iegeometry.h"
#include "imaging/view/ievect.h"
#include "platform/classes/Canvas.h"
#include "platform/classes/GraphicsObjects.h"
#include "platform/system/Strings.h"

namespace {

constexpr Double Pi = std::numbers::pi;
constexpr BYTE GreekCharset = 161;
// Rulers longer than this many ticks draw only their line: the ticks would merge anyway.
constexpr Integer MaxRulerTicks = 100000;

void Grow(TIEVObject* Record, Double X, Double Y, Integer Margin) {
  if (!Record) return;
  TRect& R = Record->DrawnExtent;
  R.Left = std::min(R.Left, static_cast<Integer>(std::floor(X)) - Margin);
  R.Top = std::min(R.Top, static_cast<Integer>(std::floor(Y)) - Margin);
  R.Right = std::max(R.Right, static_cast<Integer>(std::ceil(X)) + Margin);
  R.Bottom = std::max(R.Bottom, static_cast<Integer>(std::ceil(Y)) + Margin);
}

Integer RoundI(Double V) {
  return static_cast<Integer>(std::nearbyint(V));
}

}  // namespace

void TZezudIdVect::SetMeasureCanvas(TIECanvas* Canvas, Double Zoom, const LOGFONTA* Font, TColor Color,
                                    Integer PenWidth) {
  TIEPen* Pen = Canvas->GetPen();
  Pen->SetMode(pmCopy);
  Pen->SetWidth(static_cast<Single>(PenWidth));
  Pen->SetStyle(psSolid);
  Pen->SetColor(Color);
  TFont* F = Canvas->GetFont();
  F->SetName(Font && !Font->lfFaceName.empty() ? Font->lfFaceName : std::string("Arial"));
  const Integer Height = Font ? std::abs(Font->lfHeight) : 12;
  F->SetSize(std::max(3, static_cast<Integer>(Height * Zoom)));
  F->SetColor(Color);
  if (FLocaleCharset == GreekCharset) F->SetCharset(GreekCharset);
  Canvas->GetBrush()->SetStyle(bsClear);
}

void TZezudIdVect::DrawRuler(TIECanvas* Canvas, TPoint S, TPoint E, Double Zoom, const LOGFONTA* Font,
                             TColor Color, Integer PenWidth, TIEUnits Unit, Byte RulerType, Double Length,
                             TIEVObject* Record) {
  if (S == E) return;
  SetMeasureCanvas(Canvas, Zoom, Font, Color, PenWidth);
  Canvas->DrawLine(S.X, S.Y, E.X, E.Y);
  Grow(Record, S.X, S.Y, PenWidth);
  Grow(Record, E.X, E.Y, PenWidth);

  const Double DX = E.X - S.X;
  const Double DY = E.Y - S.Y;
  const Double L = std::hypot(DX, DY);
  const Double UX = DX / L, UY = DY / L;
  // The ticks cross the line at right angles on the screen.
  const Double NX = -UY, NY = UX;
  Double H = 1, V = 1;
  ComputeUnitsPerPixel(Unit, H, V);
  auto Cross = [&](Double PX, Double PY, Integer Half) {
    Canvas->DrawLine(RoundI(PX - Half * NX), RoundI(PY - Half * NY), RoundI(PX + Half * NX),
                     RoundI(PY + Half * NY));
  };

  if (RulerType == 0) {
    // A tick every tenth of a unit along the line.
    const Double Scale = std::hypot(UX * H, UY * V);
    const Double Step = Scale > 0 ? Zoom / (10 * Scale) : 0;
    if (!(Step > 0) || !std::isfinite(Step) || L / Step > MaxRulerTicks) return;
    const bool DownRight = (DX > 0 && DY > 0) || (DX < 0 && DY < 0);
    const Double R = std::atan2(NY, NX);
    for (Integer K = 0; K * Step < L; ++K) {
      const Double PX = S.X + K * Step * UX, PY = S.Y + K * Step * UY;
      const Integer Half = static_cast<Integer>(K % 10 == 0 ? 12 * Zoom : K % 5 == 0 ? 8 * Zoom : 6 * Zoom);
      Cross(PX, PY, Half);
      if (K % 10 != 0) continue;
      const std::string Text = IntToStr(K / 10);
      const Integer W2 = Canvas->TextWidth(Text) / 2;
      const Integer M = 2 * Canvas->TextHeight(Text) + 1;
      const Integer TX = RoundI(PX + Half * NX), TY = RoundI(PY + Half * NY);
      Integer CX, CY;
      if (DownRight) {
        CX = TX + static_cast<Integer>(M * std::cos(R) - 2 * W2 * std::cos(R) + W2 * std::sin(R));
        CY = TY + static_cast<Integer>(M * std::sin(R) - W2 * std::cos(R)) + 20;
      } else {
        CX = TX + static_cast<Integer>(M * std::cos(R) + W2 * std::sin(R));
        CY = TY + static_cast<Integer>(M * std::sin(R) + W2 * std::cos(R)) + 20;
      }
      Canvas->TextOut(CX, CY, Text);
      Grow(Record, CX, CY, 15);
    }
    return;
  }

  // A length label: a cross tick at both ends and the length along the line.
  const Integer Half = static_cast<Integer>(9 * Zoom);
  Cross(S.X, S.Y, Half);
  Cross(E.X, E.Y, Half);
  // The direction counter-clockwise on the screen, 0 .. 2 pi.
  Double Dir = std::atan2(-DY, DX);
  if (Dir < 0) Dir += 2 * Pi;
  Double A = 2 * Pi - Dir;
  if (UprightLabels && A > Pi / 2 && A <= 3 * Pi / 2) A -= Pi;
  const bool Turned = UprightLabels && Dir >= 1.5707953267948966 && Dir <= 3 * Pi / 2;
  const Double Measured =
      Length >= 0 ? Length : std::hypot(std::fabs(DX) * H / Zoom, std::fabs(DY) * V / Zoom);
  const std::string Text = FormatMeasure(Measured) + " " + IEUnitName(Unit);
  if (OnPresentMeasure) OnPresentMeasure(this, Text, ievtLENGTH, Measured);

  TFont* F = Canvas->GetFont();
  F->SetOrientation(static_cast<Integer>(-A * 180 / Pi * 10));
  const Double BX = std::cos(A), BY = std::sin(A);  // the text's baseline on the screen
  std::string Shown = Text;
  Double PX = S.X, PY = S.Y;
  switch (RulerType) {
    case 1:
      Shown = " " + Text;
      if (Turned) PX = E.X, PY = E.Y;
      break;
    case 2: {
      const Double W = Canvas->TextWidth(Text);
      const Double Along = Turned ? -(L + W) / 2 : (L - W) / 2;
      PX = S.X + Along * BX;
      PY = S.Y + Along * BY;
      break;
    }
    default: {
      Shown = Text + " ";
      const Double W = Canvas->TextWidth(Text);
      const TPoint From = Turned ? E : S;
      PX = From.X + (L - W) * BX;
      PY = From.Y + (L - W) * BY;
      break;
    }
  }
  Canvas->TextOut(static_cast<Integer>(PX), static_cast<Integer>(PY), Shown);
  const Double W = Canvas->TextWidth(Shown), TH = Canvas->TextHeight(Shown);
  Grow(Record, PX, PY, 15);
  Grow(Record, PX + W * BX, PY + W * BY, 15);
  Grow(Record, PX - TH * BY, PY + TH * BX, 15);
  Grow(Record, PX + W * BX - TH * BY, PY + W * BY + TH * BX, 15);
}

Double TZezudIdVect::AngleDegrees(const std::array<TPoint, 3>& Points, bool& Reflex) {
  const TPoint &P1 = Points[0], &P2 = Points[1], &P3 = Points[2];
  const Double Degrees = IEAngle3Points(P1.X, P1.Y, P2.X, P2.Y, P3.X, P3.Y) * 180 / Pi;
  Reflex = ReflexAnglesAsAcute && Degrees >= 180;
  return Reflex ? 360 - Degrees : Degrees;
}

std::string TZezudIdVect::AngleMeasureText(const std::array<TPoint, 3>& Points) {
  bool Reflex = false;
  return FormatMeasure(AngleDegrees(Points, Reflex)) + "\xB0";
}

Integer IEVAnglePointsSet(const std::array<TPoint, 3>& Points) {
  Integer Count = 0;
  while (Count < 3 && Points[Count].X != IEV_UNSETPOINT) ++Count;
  return Count;
}

void TZezudIdVect::DrawAngle(TIECanvas* Canvas, const std::array<TPoint, 3>& Points, Integer Count,
                             Double Zoom, const LOGFONTA* Font, TColor Color, Integer PenWidth,
                             TIEVObject* Record) {
  if (Count <= 0) return;
  SetMeasureCanvas(Canvas, Zoom, Font, Color, PenWidth);
  Canvas->Polyline(std::span<const TPoint>(Points.data(), static_cast<std::size_t>(std::min(Count, 3))));
  for (Integer I = 0; I < std::min(Count, 3); ++I) Grow(Record, Points[I].X, Points[I].Y, PenWidth);
  if (Count < 3) return;
  const TPoint &P1 = Points[0], &P2 = Points[1], &P3 = Points[2];
  bool Reflex = false;
  const std::string Text = FormatMeasure(AngleDegrees(Points, Reflex)) + "\xB0";
  Canvas->TextOut(P2.X, P2.Y, Text);
  Grow(Record, P2.X + Canvas->TextWidth(Text), P2.Y + Canvas->TextHeight(Text), 0);
  const Integer R = std::min(static_cast<Integer>(std::hypot(P2.X - P3.X, P2.Y - P3.Y)) / 4,
                             static_cast<Integer>(std::hypot(P2.X - P1.X, P2.Y - P1.Y)) / 4);
  if (R <= 0) return;
  if (Reflex)
    Canvas->Arc(P2.X - R, P2.Y - R, P2.X + R, P2.Y + R, P1.X, P1.Y, P3.X, P3.Y);
  else
    Canvas->Arc(P2.X - R, P2.Y - R, P2.X + R, P2.Y + R, P3.X, P3.Y, P1.X, P1.Y);
}

void TZezudIdVect::DrawRulerPreview() {
  if (!HandleAllocated()) return;
  TIECanvas Canvas(GetCanvas(), true, FObjAntialias);
  const TIEVObject& T = *FTemplate;
  DrawRuler(&Canvas, FPressPoint, FCurrentPoint, FZoomX / 100.0, T.LogFont.get(), ColorToRGB(T.PenColor),
            T.PenWidth, T.RulerUnit, T.RulerType, -1, nullptr);
}

void TZezudIdVect::DrawAnglePreview() {
  TIEVObject* Angle = FBuildingObject >= 0 ? ObjectRecord(FBuildingObject) : nullptr;
  if (!Angle || !HandleAllocated()) return;
  std::array<TPoint, 3> Points = Angle->AnglePoints;
  Integer Count = IEVAnglePointsSet(Points);
  if (Count < 3) Points[Count++] = TPoint{XScr2Bmp(FCurrentPoint.X), YScr2Bmp(FCurrentPoint.Y)};
  for (Integer I = 0; I < Count; ++I) Points[I] = TPoint{XBmp2Scr(Points[I].X), YBmp2Scr(Points[I].Y)};
  TIECanvas Canvas(GetCanvas(), true, FObjAntialias);
  DrawAngle(&Canvas, Points, Count, FZoomX / 100.0, Angle->LogFont.get(), ColorToRGB(Angle->PenColor),
            Angle->PenWidth, nullptr);
}
